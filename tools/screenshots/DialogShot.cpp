// Pictures of what sits in front of the main window, for looking at them on
// a real X server (Xvfb):
//   xantu_dialog_shot open <folder> out.png   the open dialog, preset in <folder>
//   xantu_dialog_shot pool <folder> out.png   the pair loaded, the service pool
//                                             shown and the about box in front
// The whole screen is taken while the dialog runs, then the tool ends.
#include "about/AboutBox.h"
#include "mainwindow/Main.h"
#include "mainwindow/TreeImages.h"
#include "pool/ServicePool.h"
#include "settings/FormStore.h"
#include "ui/Application.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

using namespace xantu;

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(TMain::kAppTitle));
    if (argc < 4)
        return 2;
    const QByteArray mode = argv[1];
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString out = QString::fromLocal8Bit(argv[3]);
    QTemporaryDir dir;
    TScriptedDialogs scripted;
    TQtDialogs real;
    TMainOptions options;
    options.IniFileName = dir.filePath("Settings.ini");
    TMain win(scripted, options);
    win.move(20, 20);
    win.resize(760, 560);
    TServicePool pool(win.Doc(), win.FStore()->IniFileName(), scripted, TreeImage, &win);
    win.AttachServicePool(pool);
    win.show();
    // Taken from inside the dialog's own loop, then the dialog is closed.
    auto shootThenClose = [&] {
        QTimer::singleShot(1500, &app, [&] {
            QApplication::primaryScreen()->grabWindow(0).save(out);
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
    };
    if (mode == "open") {
        TFileDialogSetup setup;
        setup.Title = QStringLiteral("Bouquet und Services öffnen ...");
        setup.Filter = QStringLiteral("XML Dateien (*.xml)");
        setup.Folder = folder;
        setup.FileName = QStringLiteral("bouquets");
        setup.DefaultSuffix = QStringLiteral("xml");
        setup.MustExist = true;
        std::unique_ptr<QFileDialog> dlg(MakeFileDialog(&win, setup, false));
        dlg->resize(620, 400);
        shootThenClose();
        dlg->exec();
        return 0;
    }
    scripted.Files.push_back(folder + QStringLiteral("/bouquets.xml"));
    win.findChild<QAction*>("MenuOpen")->trigger();
    win.findChild<QAction*>("MenuServicepool")->trigger();
    pool.move(300, 200);
    shootThenClose();
    // The version block of the editor itself, built beside this tool.
    TAboutBox::Execute(&win, real, QCoreApplication::applicationDirPath() + QStringLiteral("/XantuEditor"));
    return 0;
}
