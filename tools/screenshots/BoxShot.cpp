// Shows the window while a load from a (scripted, slow) box runs and saves a
// picture of it mid-transfer, to look at the status bar:
//   xantu_box_shot out.png [send]
// With "send": the lists are loaded first, an entry selected, and the
// picture is taken while the send waits on the box (editing disabled).
// With "ask": the lists are loaded and changed, and the picture is of the
// question before the send, with its summary of the changes.
#include "FakeBox.h"
#include "core/FileIO.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainBox.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

using namespace xantu;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool send = argc > 2 && QByteArray(argv[2]) == "send";
    const bool ask = argc > 2 && QByteArray(argv[2]) == "ask";
    test::TBoxBehaviour slow;
    slow.Blocks = 4;
    slow.BlockGapMs = send ? 0 : 600;
    slow.SilenceMs = send ? 1500 : 0;
    test::TFakeBox box(slow);
    for (const char* name : {"services.xml", "bouquets.xml"}) {
        std::string text;
        // The cable pair needs no position list beside the program.
        ReadWholeFile(std::string(XANTU_EXAMPLES_DIR) + (ask ? "/cable/" : "/sat/") + name, text);
        box.Put(std::string("/var/pelmar/config/xantu/") + name, QByteArray::fromStdString(text));
    }
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    TScriptedDialogs scripted;
    TQtDialogs real;
    TMainOptions options;
    options.IniFileName = dir.filePath("Settings.ini");
    TMain win(ask ? static_cast<TDialogs&>(real) : scripted, options);
    win.resize(760, 560);
    win.show();
    {
        TBoxSettings box = win.BoxSettings();
        box.BoxIP = QStringLiteral("127.0.0.1");
        win.SetBoxSettings(box);
    }
    win.Box().Transfer.Port = box.Port();
    if (ask) {
        // Real boxes here: no reports of entries without a service on the way.
        TBoxSettings quiet = win.BoxSettings();
        quiet.Info_ChannelWithoutService = false;
        win.SetBoxSettings(quiet);
        QTimer::singleShot(0, &win, [&] {
            win.findChild<QAction*>("MenuLoadBouquetFTP")->trigger();
            PBNode root = win.Doc().VTB.GetFirst();
            if (!root || root->ChildCount() < 2)
                return app.exit(1);
            // A bouquet out of the middle to the top, and a new one.
            win.Doc().VTB.MoveTo(root->Child(1), root->Child(0), TAttachMode::Before);
            win.Doc()
                .VTB
                .Insert(std::make_unique<TBasicBNode>("Neu", ImgStructure), root->Child(0),
                        TAttachMode::Before)
                ->Data()
                ->SetBouquet("Neu", false, false);
            QTimer::singleShot(500, &win, [&] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                        box->grab().save(out);
                        box->reject();
                    }
            });
            win.findChild<QAction*>("MenuSaveBouquetFTP")->trigger();
            app.quit();
        });
        return app.exec();
    }
    if (send) {
        QTimer::singleShot(0, &win, [&] {
            win.findChild<QAction*>("MenuLoadBouquetFTP")->trigger();
            PBNode root = win.Doc().VTB.GetFirst();
            if (root && root->ChildCount() > 0 && root->Child(0)->ChildCount() > 0)
                win.SelectBouquetNode(root->Child(0)->Child(0));
            QTimer::singleShot(1000, &win, [&] { win.grab().save(out); });
            win.findChild<QAction*>("MenuSaveBouquetFTP")->trigger();
            app.quit();
        });
        return app.exec();
    }
    QTimer::singleShot(1000, &win, [&] { win.grab().save(out); });
    QTimer::singleShot(0, &win, [&] { win.findChild<QAction*>("MenuLoadBouquetFTP")->trigger(); });
    QTimer::singleShot(6000, &app, &QApplication::quit);
    return app.exec();
}
