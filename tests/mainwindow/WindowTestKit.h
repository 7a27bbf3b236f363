// What the window tests share: a window of their own on a settings file of
// their own, with both item models checked by QAbstractItemModelTester; a
// pair opened through the open command; nodes found by position or
// caption; and the window's controls found by object name, as the user
// would find them by their place on screen.
#pragma once

#include "editui/PanelCopyMove.h"
#include "editui/SuchenDlg.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

// Readable failures.
void PrintTo(const QString& s, std::ostream* os);
void PrintTo(const QByteArray& s, std::ostream* os);

namespace xantu {

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

// The child of `parent` named `name`; a test fails when there is none.
template <class T = QWidget> T* Find(const QObject* parent, const char* name) {
    T* found = parent ? parent->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    EXPECT_NE(found, nullptr) << "no " << name;
    return found;
}

// The window's controls by their object names.
QAction* Action(const TMain& win, const char* name);
TBouquetView* VTB(const TMain& win);
TListTreeView* VTS(const TMain& win);
TBouquetModel* VTBModel(const TMain& win);
TServicesModel* VTSModel(const TMain& win);
QTabWidget* Pages(const TMain& win);
QWidget* Sheet(const TMain& win, const char* name);
QLabel* StatPanel(const TMain& win, int i);
TPanelCopyMove* PanelCopyMove(const TMain& win);
TBouquetInfo* BouquetRPanel(const TMain& win);
TServicesInfo* ServicesRPanel(const TMain& win);
// Points the window at another box address (a scripted box on loopback).
void SetBoxIP(TMain& win, const QString& ip);

class TWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { Start(); }
    void TearDown() override;

    // A new window on this test's settings file, shown.
    void Start();
    // Opens a pair through "Öffnen ...".
    void Open(const QString& bouquetsFile);
    // The example pair of the kind ("sat" or "cable").
    static QString Example(const char* kind);

    PBNode Root() const { return win->Doc().VTB.GetFirst(); }
    PSNode SRoot() const { return win->Doc().VTS.GetFirst(); }
    // The node reached from the root by child positions.
    PBNode BouquetNode(std::initializer_list<int> path) const;
    // The top-level bouquet of that caption, or nullptr.
    PBNode Bouquet(const char* caption) const;
    // The captions below `node`, in order.
    static QStringList Captions(PBNode node);
    QString Status(int i = 0) const { return StatPanel(*win, i)->text(); }
    QStringList MessageTexts() const;

    QTemporaryDir dir;
    TScriptedDialogs dialogs;
    std::unique_ptr<TMain> win;

  private:
    void StopTesters();
    std::unique_ptr<QAbstractItemModelTester> bouquetsTester_, servicesTester_;
};

// What the search dialog is to be answered with: the target clicked, the
// text typed, the options ticked, then OK (or Cancel).
struct TSearchAnswer {
    int Target = SearchNames;
    QString Text;
    bool CaseSensitive = false;
    bool FullMatch = false;
    bool Cancel = false;
};

// The editing tests' window: the sat example open, boxes cleared, and the
// search dialog answered from `searchAnswers` (none left: cancelled), each
// shown dialog's target and text noted in `shownDialogs`.
class TEditingWindowTest : public TWindowTest {
  protected:
    void SetUp() override {
        TWindowTest::SetUp();
        editing = &win->Editing();
        editing->ExecSearchDialog = [this](TSuchenDlg& dlg) {
            shownDialogs.append(QStringList{dlg.CBTargetItem[dlg.Target()]->text(), dlg.EText->text()});
            if (searchAnswers.empty())
                return int(QDialog::Rejected);
            const TSearchAnswer a = searchAnswers.front();
            searchAnswers.pop_front();
            if (a.Cancel)
                return int(QDialog::Rejected);
            dlg.CBTargetItem[a.Target]->click();
            dlg.EText->setText(a.Text);
            dlg.CBCase->setChecked(a.CaseSensitive);
            dlg.CBFullEqual->setChecked(a.FullMatch);
            dlg.BttnOk->click();
            return dlg.result();
        };
        Open(Example("sat"));
        ASSERT_NE(Root(), nullptr);
        dialogs.Messages.clear();
    }

    PBNode Entry(const char* bouquet, std::size_t i) const { return Bouquet(bouquet)->Child(i); }

    void Select(std::initializer_list<PBNode> nodes) {
        QItemSelectionModel* sel = VTB(*win)->selectionModel();
        bool first = true;
        for (PBNode n : nodes) {
            const QModelIndex i = VTBModel(*win)->IndexOf(n);
            VTB(*win)->scrollTo(i); // the user opens the bouquet to click the entry
            sel->setCurrentIndex(i,
                                 first ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select);
            first = false;
        }
    }

    // A drop as the bouquet view reports it. Returns whether the view would
    // have let it land there at all.
    bool Drop(PBNode target, TDropPosition pos, bool ctrl = false) {
        const QModelIndex index = VTBModel(*win)->IndexOf(target);
        const bool accepted = !VTB(*win)->MayDropOn || VTB(*win)->MayDropOn(index);
        emit VTB(*win)->NodesDropped(index, pos, ctrl);
        return accepted;
    }

    QByteArray Save() {
        const QString path = dir.filePath(QStringLiteral("out%1/bouquets.xml").arg(++saves));
        QDir().mkpath(QFileInfo(path).path());
        dialogs.Files.push_back(path);
        Action(*win, "MenuSaveAs")->trigger();
        return ReadAll(path);
    }

    TMainEditing* editing = nullptr;
    std::deque<TSearchAnswer> searchAnswers;
    QList<QStringList> shownDialogs;
    int saves = 0;
};

} // namespace xantu
