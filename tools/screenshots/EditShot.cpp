// Shows the editing parts of the main window, for looking at them:
//   xantu_edit_shot <folder with the pair> <what> [out.png]
// what: move, copy (the copy/move panel in its modes), search0, search1,
// search2 (the search dialog opened on that target). With an output file the
// screen is saved after a second and the program ends; otherwise it runs
// until the window is closed. A drag needs a real pointer: under Xvfb,
// xpointer.py beside this file presses, moves and releases it through XTest.
#include "editui/SuchenDlg.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainEditing.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

using namespace xantu;

namespace {

void SaveScreen(const QString& out, QWidget& win) {
    QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap shot = screen ? screen->grabWindow(0) : QPixmap();
    if (shot.isNull())
        shot = win.grab();
    shot.save(out);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString what = QString::fromLocal8Bit(argv[2]);
    const QString out = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    QTemporaryDir dir;
    TScriptedDialogs dialogs;
    TMainOptions options;
    options.IniFileName = dir.filePath("Settings.ini");
    TMain win(dialogs, options);
    win.resize(760, 560);
    win.move(20, 20);
    win.show();
    dialogs.Files.push_back(folder + QStringLiteral("/bouquets.xml"));
    win.findChild<QAction*>("MenuOpen")->trigger();
    PBNode root = win.Doc().VTB.GetFirst();
    if (!root || root->ChildCount() < 2)
        return 1;
    auto* vtb = win.findChild<TBouquetView*>("VTB");
    auto* model = static_cast<TBouquetModel*>(vtb->model());
    for (std::size_t i = 0; i < root->ChildCount(); ++i)
        vtb->expand(model->IndexOf(root->Child(i)));
    PBNode first = root->Child(0);
    win.SelectBouquetNode(first->ChildCount() > 0 ? first->Child(0) : first);
    TMainEditing* editing = &win.Editing();

    if (what == QLatin1String("copy"))
        win.findChild<QAction*>("MenuCopyMove")->trigger();
    if (what.startsWith(QLatin1String("search")) && editing) {
        const int target = what.right(1).toInt();
        editing->ExecSearchDialog = [target](TSuchenDlg& dlg) {
            dlg.CBTargetItem[target]->click();
            dlg.EText->setText(target == 0 ? QStringLiteral("Radio") : QStringLiteral("6d66"));
            return dlg.exec();
        };
        QTimer::singleShot(100, &win, [&win] { win.findChild<QAction*>("MenuSuchen")->trigger(); });
    }
    if (!out.isEmpty())
        QTimer::singleShot(1500, &app, [&] {
            SaveScreen(out, win);
            QCoreApplication::exit(0);
        });
    return app.exec();
}
