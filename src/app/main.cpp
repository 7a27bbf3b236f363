// XantuEditor: the editor for the channel lists of the box.
#include "mainwindow/Main.h"
#include "mainwindow/TreeImages.h"
#include "pool/ServicePool.h"
#include "settings/FormStore.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

#include <QIcon>

int main(int argc, char** argv) {
    xantu::TApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(xantu::TMain::kAppTitle));
    QApplication::setDesktopFileName(QStringLiteral("xantueditor"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("xantueditor"), xantu::TreeImage(xantu::ImgTV)));

    xantu::TQtDialogs dialogs;
    app.SetDialogs(&dialogs);
    int rc = 0;
    {
        xantu::TMain main(dialogs);
        // The service pool: created hidden right after the main window and
        // destroyed before it (it shows the main window's lists).
        xantu::TServicePool pool(main.Doc(), main.FStore()->IniFileName(), dialogs, xantu::TreeImage, &main);
        main.AttachServicePool(pool);
        main.show();
        rc = app.exec();
    }
    app.SetDialogs(nullptr);
    return rc;
}
