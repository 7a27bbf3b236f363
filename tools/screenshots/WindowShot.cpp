// Shows the main window with a list pair loaded, for looking at it:
//   xantu_window_shot <folder with the pair> [bouquets|services|folded|backups] [out.png]
// "folded": the whole structure shown, an entry selected, then only the
// bouquets again, with a long status text. "backups" saves the pair locally
// twice and opens "Sicherung öffnen ...". With an output file it saves a
// picture of the window after a second and ends; otherwise it runs until the
// window is closed.
#include "mainwindow/Main.h"
#include "mainwindow/MainBox.h"

#include <QAction>
#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

using namespace xantu;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool services = argc > 2 && QByteArray(argv[2]) == "services";
    const bool folded = argc > 2 && QByteArray(argv[2]) == "folded";
    const QString out = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    QTemporaryDir dir;
    TScriptedDialogs dialogs;
    TMainOptions options;
    options.IniFileName = dir.filePath("Settings.ini");
    TMain win(dialogs, options);
    win.resize(760, 560);
    win.show();
    dialogs.Files.push_back(folder + QStringLiteral("/bouquets.xml"));
    win.findChild<QAction*>("MenuOpen")->trigger();
    auto* vtb = win.findChild<TBouquetView*>("VTB");
    auto* vts = win.findChild<TListTreeView*>("VTS");
    auto* bouquets = static_cast<TBouquetModel*>(vtb->model());
    auto* servicesModel = static_cast<TServicesModel*>(vts->model());
    if (services) {
        win.findChild<QTabWidget*>("Pages")->setCurrentWidget(win.findChild<QWidget*>("SheetServices"));
        PSNode root = win.Doc().VTS.GetFirst();
        if (root && root->ChildCount() > 0 && root->Child(0)->ChildCount() > 0) {
            PSNode tr = root->Child(0)->Child(0);
            vts->expand(servicesModel->IndexOf(root->Child(0)));
            vts->expand(servicesModel->IndexOf(tr));
            if (tr->ChildCount() > 1)
                vts->setCurrentIndex(servicesModel->IndexOf(tr->Child(1)));
        }
    } else if (folded) {
        PBNode root = win.Doc().VTB.GetFirst();
        win.findChild<QAction*>("MenuExpandBouquets")->trigger();
        if (root && root->ChildCount() > 0 && root->Child(0)->ChildCount() > 1)
            win.SelectBouquetNode(root->Child(0)->Child(1));
        win.findChild<QAction*>("MenuShowOnlyBouquets")->trigger();
        win.SetStatus("FTP zur Box fehlgeschlagen! - Sicherungskopie fehlgeschlagen");
    } else {
        PBNode root = win.Doc().VTB.GetFirst();
        if (root && root->ChildCount() > 0) {
            PBNode first = root->Child(0);
            vtb->expand(bouquets->IndexOf(first));
            vtb->expand(bouquets->IndexOf(root->Child(root->ChildCount() - 1)));
            win.SelectBouquetNode(first->ChildCount() > 0 ? first->Child(0) : first);
        }
    }
    if (argc > 2 && QByteArray(argv[2]) == "backups") {
        qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
        win.Box().Backups = TBackupStore(dir.filePath("backups"));
        for (int i = 0; i < 2; ++i) {
            dialogs.Files.push_back(dir.filePath(QStringLiteral("bouquets.xml")));
            win.findChild<QAction*>("MenuSaveAs")->trigger();
        }
        TQtDialogs real;
        const std::vector<TBackupStore::TInfo> kept = win.Box().Backups.List();
        QList<TBackupRow> rows;
        for (const TBackupStore::TInfo& b : kept)
            rows.append({b.When.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")), b.Kind,
                         QString::number(b.Bouquets), QString::number(b.Services)});
        TBackupDlg dlg(rows, &win);
        dlg.show();
        if (!out.isEmpty())
            QTimer::singleShot(1000, &app, [&] {
                dlg.grab().save(out);
                app.quit();
            });
        return app.exec();
    }
    if (!out.isEmpty())
        QTimer::singleShot(1000, &app, [&] {
            win.grab().save(out);
            app.quit();
        });
    return app.exec();
}
