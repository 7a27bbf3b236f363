#include "tree/NodeTree.h"

#include <gtest/gtest.h>
#include <string>

using namespace xantu;

namespace {

struct Item {
    explicit Item(std::string n) : name(std::move(n)) { ++alive; }
    Item(const Item& o) : name(o.name + "'") { ++alive; }
    ~Item() { --alive; }
    std::string name;
    static int alive;
};
int Item::alive = 0;

using Tree = TNodeTree<Item>;
using Node = Tree::Node;

std::string Dump(const Tree& t) {
    std::string out;
    t.ForEach([&](Node* n) {
        out += std::string(static_cast<std::size_t>(n->Level()), '.') + n->Data()->name + " ";
    });
    return out;
}

// Builds  r(a(a1 a2) b c)
struct Fixture : ::testing::Test {
    Fixture() {
        r = t.AddChild(nullptr, std::make_unique<Item>("r"));
        a = t.AddChild(r, std::make_unique<Item>("a"));
        a1 = t.AddChild(a, std::make_unique<Item>("a1"));
        a2 = t.AddChild(a, std::make_unique<Item>("a2"));
        b = t.AddChild(r, std::make_unique<Item>("b"));
        c = t.AddChild(r, std::make_unique<Item>("c"));
    }
    Tree t;
    Node *r, *a, *a1, *a2, *b, *c;
};

struct Recorder : TTreeObserver<Item> {
    std::string log;
    void BeginInsert(Node* p, std::size_t row) override { log += "+" + Name(p) + std::to_string(row) + " "; }
    void EndInsert() override { log += "+. "; }
    void BeginRemove(Node* p, std::size_t row) override { log += "-" + Name(p) + std::to_string(row) + " "; }
    void EndRemove() override { log += "-. "; }
    void BeginMove(Node* sp, std::size_t sr, Node* dp, std::size_t dr) override {
        log += "m" + Name(sp) + std::to_string(sr) + ">" + Name(dp) + std::to_string(dr) + " ";
    }
    void EndMove() override { log += "m. "; }
    void BeginReset() override { log += "reset "; }
    void EndReset() override { log += "reset. "; }
    static std::string Name(Node* n) { return n ? n->Data()->name : "top"; }
};

} // namespace

TEST_F(Fixture, WalksParentsBeforeChildrenAndCounts) {
    EXPECT_EQ(Dump(t), "r .a ..a1 ..a2 .b .c ");
    EXPECT_EQ(t.TotalCount(), 6u);
    EXPECT_EQ(t.GetNext(a2), b);
    EXPECT_EQ(t.GetNext(c), nullptr);
    EXPECT_EQ(a2->Index(), 1u);
    EXPECT_TRUE(r->IsAncestorOf(a2));
    EXPECT_FALSE(b->IsAncestorOf(a2));
}

TEST_F(Fixture, InsertsBeforeAfterAndAsFirstChild) {
    t.Insert(std::make_unique<Item>("x"), b, TAttachMode::Before);
    t.Insert(std::make_unique<Item>("y"), b, TAttachMode::After);
    t.Insert(std::make_unique<Item>("z"), a, TAttachMode::FirstChild);
    EXPECT_EQ(Dump(t), "r .a ..z ..a1 ..a2 .x .b .y .c ");
    EXPECT_EQ(c->Index(), 4u);
    EXPECT_EQ(t.TotalCount(), 9u);
}

TEST_F(Fixture, MovesWithChildrenAndRefusesItsOwnSubtree) {
    EXPECT_TRUE(t.MoveTo(a, c, TAttachMode::After));
    EXPECT_EQ(Dump(t), "r .b .c .a ..a1 ..a2 ");
    EXPECT_TRUE(t.MoveTo(a2, b, TAttachMode::FirstChild));
    EXPECT_EQ(Dump(t), "r .b ..a2 .c .a ..a1 ");
    EXPECT_EQ(a2->Parent(), b);
    EXPECT_FALSE(t.MoveTo(r, a1, TAttachMode::After));
    EXPECT_FALSE(t.MoveTo(a, a, TAttachMode::Before));
    EXPECT_EQ(t.TotalCount(), 6u);
    // Indexes stay right on both sides of a move.
    for (Node* n = t.GetFirst(); n; n = t.GetNext(n))
        if (n->Parent()) {
            EXPECT_EQ(n->Parent()->Child(n->Index()), n);
        }
}

TEST_F(Fixture, CopiesDeepAndFreesEverythingOnce) {
    const int before = Item::alive;
    Node* copy = t.CopyTo(a, c, TAttachMode::After, [](const Item& i) { return std::make_unique<Item>(i); });
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Dump(t), "r .a ..a1 ..a2 .b .c .a' ..a1' ..a2' ");
    EXPECT_EQ(Item::alive, before + 3);
    EXPECT_EQ(t.TotalCount(), 9u);
    t.Delete(a);
    EXPECT_EQ(Item::alive, before);
    EXPECT_EQ(t.TotalCount(), 6u);
    EXPECT_EQ(Dump(t), "r .b .c .a' ..a1' ..a2' ");
    t.Clear();
    EXPECT_EQ(Item::alive, before - 6);
    EXPECT_TRUE(t.Empty());
}

TEST_F(Fixture, TellsItsObserverAroundEveryChange) {
    Recorder rec;
    t.AddObserver(&rec);
    t.AddChild(b, std::make_unique<Item>("b1"));
    t.MoveTo(c, a, TAttachMode::Before);                 // c from row 2 to before row 0 of r
    t.MoveTo(t.Top(0)->Child(0), b, TAttachMode::After); // c back behind b: dest row in old numbering
    t.Delete(a1);
    t.Clear();
    EXPECT_EQ(rec.log, "+b0 +. mr2>r0 m. mr0>r3 m. -a0 -. reset reset. ");
    t.RemoveObserver(&rec);
}

// Two listeners (a page's item model and the service pool) over one tree:
// each hears every change whoever came first, the tree is unchanged at
// every begin and changed at every end, and one that leaves hears nothing
// more while the other goes on.
struct SharedRecorder : Recorder {
    SharedRecorder(std::string tag, std::string& shared, const Tree& tree)
        : tag_(std::move(tag)), shared_(shared), tree_(tree) {}
    void BeginRemove(Node* p, std::size_t row) override {
        Recorder::BeginRemove(p, row);
        shared_ += tag_ + "<" + std::to_string(tree_.TotalCount()) + " ";
    }
    void EndRemove() override {
        Recorder::EndRemove();
        shared_ += tag_ + ">" + std::to_string(tree_.TotalCount()) + " ";
    }
    std::string tag_;
    std::string& shared_;
    const Tree& tree_;
};

TEST_F(Fixture, EveryListenerHearsEveryChangeUntilItLeaves) {
    std::string order;
    SharedRecorder page("page", order, t), pool("pool", order, t);
    t.AddObserver(&page);
    t.AddObserver(&pool);
    t.AddObserver(&page); // twice is once
    EXPECT_TRUE(t.HasObserver(&page));
    t.AddChild(b, std::make_unique<Item>("b1"));
    t.MoveTo(c, a, TAttachMode::Before);
    t.Delete(a);
    EXPECT_EQ(page.log, "+b0 +. mr2>r0 m. -r1 -. ");
    EXPECT_EQ(pool.log, page.log);
    EXPECT_EQ(order, "page<7 pool<7 page>4 pool>4 ");

    t.RemoveObserver(&page);
    EXPECT_FALSE(t.HasObserver(&page));
    t.Clear();
    EXPECT_EQ(page.log, "+b0 +. mr2>r0 m. -r1 -. ");
    EXPECT_EQ(pool.log, "+b0 +. mr2>r0 m. -r1 -. reset reset. ");
    t.RemoveObserver(&page); // not there: nothing happens
    t.RemoveObserver(&pool);
    t.AddChild(nullptr, std::make_unique<Item>("x"));
    EXPECT_EQ(pool.log, "+b0 +. mr2>r0 m. -r1 -. reset reset. ");
}

TEST(NodeTreeDepth, FreesAVeryDeepChainWithoutRecursing) {
    Tree t;
    Node* n = t.AddChild(nullptr, std::make_unique<Item>("0"));
    for (int i = 0; i < 200000; ++i)
        n = t.AddChild(n, nullptr);
    EXPECT_EQ(t.TotalCount(), 200001u);
    t.Delete(t.GetFirst());
    EXPECT_TRUE(t.Empty());
}
