// Drags through the bouquet view with the toolkit's own drag machinery, on a
// real X server (Xvfb): the drag starts from mouse events on the view, runs
// the toolkit's drag loop, and lands through its drag-move and drop events,
// with every check the toolkit makes on the way.
#include "WindowTestKit.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/NodeTreeModel.h"
#include "mainwindow/TreeImages.h"
#include "pool/ServicePool.h"
#include "settings/FormStore.h"

#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace xantu;

namespace {

const QString kExamples = QStringLiteral(XANTU_EXAMPLES_DIR);

class DragWindowTest : public TWindowTest {
  protected:
    void SetUp() override {
        TWindowTest::SetUp();
        win->move(40, 40);
        win->resize(700, 600);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(win.get()));
        Open(Example("sat"));
        ASSERT_NE(Root(), nullptr);
        Action(*win, "MenuExpandBouquets")->trigger();
        QApplication::processEvents();
        dialogs.Messages.clear();
    }

    QPoint Center(PBNode node) const {
        const QModelIndex i = VTBModel(*win)->IndexOf(node);
        VTB(*win)->scrollTo(i);
        return VTB(*win)->visualRect(i).center();
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QWidget* vp = VTB(*win)->viewport();
        QMouseEvent e(type, QPointF(at), QPointF(vp->mapToGlobal(at)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    }
    // Presses on `from`, moves far enough to start the drag, then, inside
    // the toolkit's drag loop, moves over `to` and releases there.
    void DragFromTo(PBNode from, PBNode to) {
        Center(to);
        const QPoint start = Center(from);
        const QPoint end = Center(to);
        Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
        QTimer::singleShot(50, [this, end] {
            Mouse(QEvent::MouseMove, end + QPoint(0, -1), Qt::LeftButton);
            Mouse(QEvent::MouseMove, end, Qt::LeftButton);
            QTimer::singleShot(50, [this, end] { Mouse(QEvent::MouseButtonRelease, end, Qt::NoButton); });
        });
        const int far = QApplication::startDragDistance() + 4;
        // The view takes the first move as the start of a drag and the next
        // one beyond the drag distance as the drag; that one returns when
        // the drag loop ended.
        Mouse(QEvent::MouseMove, start + QPoint(1, 0), Qt::LeftButton);
        Mouse(QEvent::MouseMove, start + QPoint(far, 0), Qt::LeftButton);
        QApplication::processEvents();
    }

    // A drag that starts on `from` in the viewport `source` and passes the
    // global points `via` (each held for `hold` ms) before it is released at
    // the last of them.
    void DragAcross(QWidget* source, QPoint from, QList<QPoint> via, int hold = 50) {
        auto send = [](QWidget* w, QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
            const QPoint local = w->mapFromGlobal(global);
            QMouseEvent e(type, QPointF(local), QPointF(global), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(w, &e);
        };
        const QPoint start = source->mapToGlobal(from);
        send(source, QEvent::MouseButtonPress, start, Qt::LeftButton);
        auto steps = std::make_shared<QList<QPoint>>(via);
        auto next = std::make_shared<std::function<void()>>();
        *next = [=] {
            if (steps->isEmpty()) {
                send(source, QEvent::MouseButtonRelease, via.last(), Qt::NoButton);
                *next = nullptr; // the step holds itself: let go at the end
                return;
            }
            const QPoint p = steps->takeFirst();
            send(source, QEvent::MouseMove, p + QPoint(0, -1), Qt::LeftButton);
            send(source, QEvent::MouseMove, p, Qt::LeftButton);
            QTimer::singleShot(hold, *next);
        };
        QTimer::singleShot(50, *next);
        const int far = QApplication::startDragDistance() + 4;
        send(source, QEvent::MouseMove, start + QPoint(1, 0), Qt::LeftButton);
        send(source, QEvent::MouseMove, start + QPoint(far, 0), Qt::LeftButton);
        QApplication::processEvents();
    }
    QPoint GlobalCenter(PBNode node) const { return VTB(*win)->viewport()->mapToGlobal(Center(node)); }
    QPoint GlobalAbove(PBNode node) const {
        const QRect r = VTB(*win)->visualRect(VTBModel(*win)->IndexOf(node));
        return VTB(*win)->viewport()->mapToGlobal(QPoint(r.center().x(), r.top() + 1));
    }
};

TEST_F(DragWindowTest, ADropOnAnotherSelectedNodePutsTheSelectionNextToIt) {
    PBNode favoriten = Bouquet("Favoriten");
    ASSERT_EQ(Captions(favoriten), QStringList({"Erstes Programm", "Nachrichten Süd", "Canale Uno"}));
    PBNode erstes = favoriten->Child(0), nachrichten = favoriten->Child(1);
    QItemSelectionModel* sel = VTB(*win)->selectionModel();
    sel->setCurrentIndex(VTBModel(*win)->IndexOf(erstes), QItemSelectionModel::ClearAndSelect);
    sel->setCurrentIndex(VTBModel(*win)->IndexOf(nachrichten), QItemSelectionModel::Select);

    // Dragged from the first selected entry onto the second: both land
    // after it, in their order (the second stays, the first follows it).
    DragFromTo(erstes, nachrichten);
    EXPECT_EQ(Captions(favoriten), QStringList({"Nachrichten Süd", "Erstes Programm", "Canale Uno"}));
    EXPECT_TRUE(win->Modified());

    // Onto the first selected node itself: refused, nothing moves.
    sel->setCurrentIndex(VTBModel(*win)->IndexOf(erstes), QItemSelectionModel::ClearAndSelect);
    win->SetModified(false);
    DragFromTo(erstes, erstes);
    EXPECT_EQ(Captions(favoriten), QStringList({"Nachrichten Süd", "Erstes Programm", "Canale Uno"}));
    EXPECT_FALSE(win->Modified());

    // Two bouquets dragged onto the second of them: both after it, in order.
    sel->setCurrentIndex(VTBModel(*win)->IndexOf(Bouquet("Favoriten")), QItemSelectionModel::ClearAndSelect);
    sel->setCurrentIndex(VTBModel(*win)->IndexOf(Bouquet("Radio")), QItemSelectionModel::Select);
    DragFromTo(Bouquet("Favoriten"), Bouquet("Radio"));
    EXPECT_EQ(Captions(Root()), QStringList({"Radio", "Favoriten", "Kinder", "andere"}));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(DragWindowTest, DraggingEntriesAndereCannotKeepOntoItAsksFirst) {
    // A bouquet with a special service, an entry without a service and a
    // TV service.
    QFile::copy(kExamples + "/sat/services.xml", dir.filePath("services.xml"));
    QFile f(dir.filePath("bouquets.xml"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n"
            "\t<Bouquet name=\"Mix\" hidden=\"0\" locked=\"0\">\n"
            "\t\t<channel serviceID=\"2F1E\" name=\"Sport Live HD\" tsid=\"0451\" onid=\"0001\" "
            "sat_position=\"192\"/>\n"
            "\t\t<channel serviceID=\"7777\" name=\"Verschwunden\" tsid=\"0451\" onid=\"0001\" "
            "sat_position=\"192\"/>\n"
            "\t\t<channel serviceID=\"6D66\" name=\"Erstes Programm\" tsid=\"0401\" onid=\"0001\" "
            "sat_position=\"192\"/>\n"
            "\t</Bouquet>\n</XANTU>");
    f.close();
    win->Doc().ShowSpezial = true;
    dialogs.Files.push_back(dir.filePath("bouquets.xml"));
    Action(*win, "MenuOpen")->trigger();
    Action(*win, "MenuExpandBouquets")->trigger();
    QApplication::processEvents();
    dialogs.Messages.clear();
    PBNode mix = Bouquet("Mix"), andere = Bouquet("andere");
    ASSERT_EQ(mix->ChildCount(), 3u);
    const std::size_t andereBefore = andere->ChildCount();
    QItemSelectionModel* sel = VTB(*win)->selectionModel();
    auto selectAll = [&] {
        sel->setCurrentIndex(VTBModel(*win)->IndexOf(mix->Child(0)), QItemSelectionModel::ClearAndSelect);
        for (std::size_t i = 1; i < mix->ChildCount(); ++i)
            sel->setCurrentIndex(VTBModel(*win)->IndexOf(mix->Child(i)), QItemSelectionModel::Select);
    };

    selectAll();
    dialogs.Answers.push_back(TAnswer::No);
    DragFromTo(mix->Child(0), andere);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text,
              "2 Einträge haben keinen TV- oder Radio-Service und werden entfernt. Fortfahren?");
    EXPECT_EQ(mix->ChildCount(), 3u);
    EXPECT_FALSE(win->Modified());

    selectAll();
    dialogs.Answers.push_back(TAnswer::Yes);
    DragFromTo(mix->Child(0), andere);
    EXPECT_EQ(mix->ChildCount(), 0u);
    EXPECT_EQ(andere->ChildCount(), andereBefore + 1);
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Captions(mix), QStringList({"Sport Live HD", "Verschwunden", "Erstes Programm"}));
}

TEST_F(DragWindowTest, PoolRowsDroppedOnTheBouquetTreeBecomeEntriesInTheirOrder) {
    win->resize(560, 600);
    TServicePool pool(win->Doc(), win->FStore()->IniFileName(), dialogs, TreeImage, win.get());
    win->AttachServicePool(pool);
    pool.FillServicePool(); // the lists were read before the pool was there
    pool.SetServicePoolVisible(true);
    pool.setGeometry(620, 40, 390, 420);
    if (!pool.ShowRadio)
        pool.MenuRadioClick();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pool));
    QTreeView* view = pool.View();
    pool.VTSPHeaderClick(PoolColName);
    auto rowOf = [&](const QString& name) {
        for (int r = 0; r < pool.Model().rowCount(); ++r)
            if (pool.Model().index(r, PoolColName).data().toString() == name)
                return pool.Model().index(r, 0);
        return QModelIndex();
    };
    const QModelIndex musica = rowOf(QStringLiteral("Musica Classica"));
    const QModelIndex kinder = rowOf(QStringLiteral("Kinder & Familie"));
    ASSERT_TRUE(musica.isValid() && kinder.isValid());
    view->selectionModel()->select(musica, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->selectionModel()->select(kinder, QItemSelectionModel::Select | QItemSelectionModel::Rows);

    // Above "Nachrichten Süd": both before it, in the pool's order; Musica
    // Classica leaves "andere".
    PBNode fav = Bouquet("Favoriten");
    DragAcross(view->viewport(), view->visualRect(musica).center(), {GlobalAbove(fav->Child(1))});
    EXPECT_EQ(Captions(fav), QStringList({"Erstes Programm", "Kinder &amp; Familie", "Musica Classica",
                                          "Nachrichten Süd", "Canale Uno"}));
    EXPECT_EQ(Captions(Bouquet("andere")), QStringList());
    EXPECT_TRUE(win->Modified());
    // The new entries are selected; the radio one is filtered out of sight.
    EXPECT_EQ(win->FirstSelectedBouquetNode(), fav->Child(1));
    EXPECT_TRUE(VTB(*win)->isRowHidden(2, VTBModel(*win)->IndexOf(fav)));
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // Onto "andere" itself: refused.
    view->selectionModel()->select(rowOf(QStringLiteral("Welle Eins")),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const std::string before = win->Doc().SaveBouquets();
    DragAcross(view->viewport(), view->visualRect(rowOf(QStringLiteral("Welle Eins"))).center(),
               {GlobalCenter(Bouquet("andere"))});
    EXPECT_EQ(win->Doc().SaveBouquets(), before);
    EXPECT_EQ(Bouquet("andere")->ChildCount(), 0u);

    // Onto a bouquet where it stands already: asked once, No adds nothing.
    dialogs.Answers.push_back(TAnswer::No);
    DragAcross(view->viewport(), view->visualRect(rowOf(QStringLiteral("Welle Eins"))).center(),
               {GlobalCenter(Bouquet("Radio"))});
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text, "1 Services sind bereits im Bouquet. Trotzdem hinzufügen?");
    EXPECT_EQ(win->Doc().SaveBouquets(), before);

    // One undo takes the first drop back.
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Captions(fav), QStringList({"Erstes Programm", "Nachrichten Süd", "Canale Uno"}));
    EXPECT_EQ(Captions(Bouquet("andere")), QStringList({"Musica Classica"}));
}

TEST_F(DragWindowTest, AChannelOfTheServicesPageReachesTheBouquetTreeOverTheTab) {
    PBNode kinder = Bouquet("Kinder");
    const QPoint target = GlobalCenter(kinder);
    Pages(*win)->setCurrentWidget(Sheet(*win, "SheetServices"));
    Action(*win, "MenuExpandServices")->trigger();
    QApplication::processEvents();
    PSNode sport = nullptr;
    win->Doc().VTS.ForEach([&](PSNode n) {
        if (n->Data()->Caption == "Sport Live HD")
            sport = n;
    });
    ASSERT_NE(sport, nullptr);
    const QModelIndex i = VTSModel(*win)->IndexOf(sport);
    VTS(*win)->scrollTo(i);
    VTS(*win)->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    auto* tabs = Pages(*win)->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    const QPoint tab = tabs->mapToGlobal(tabs->tabRect(0).center());
    // Held over the tab, the bouquet page comes up; then onto "Kinder".
    DragAcross(VTS(*win)->viewport(), VTS(*win)->visualRect(i).center(), {tab, tab, target}, 600);
    EXPECT_EQ(Pages(*win)->currentWidget(), Sheet(*win, "SheetBouquets"));
    EXPECT_EQ(Captions(kinder), QStringList({"Sport Live HD", "Kinder &amp; Familie"}));
    EXPECT_TRUE(win->Modified());
}

} // namespace
