// Drags through the bouquet view with the toolkit's own drag machinery, on a
// real X server (Xvfb): the drag starts from mouse events on the view, runs
// the toolkit's drag loop, and lands through its drag-move and drop events,
// with every check the toolkit makes on the way.
#include "WindowTestKit.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/NodeTreeModel.h"

#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

} // namespace
