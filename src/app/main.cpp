// XantuEditor: the editor for the channel lists of the box.
#include "mainwindow/Main.h"
#include "mainwindow/TreeImages.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

#include <QIcon>

int main(int argc, char** argv) {
    xantu::TApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(xantu::TMain::kAppTitle));
    QApplication::setApplicationDisplayName(QString::fromLatin1(xantu::TMain::kAppTitle));
    QApplication::setDesktopFileName(QStringLiteral("xantueditor"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("xantueditor"), xantu::TreeImage(xantu::ImgTV)));

    xantu::TQtDialogs dialogs;
    app.SetDialogs(&dialogs);
    int rc = 0;
    {
        xantu::TMain main(dialogs);
        main.show();
        rc = app.exec();
    }
    app.SetDialogs(nullptr);
    return rc;
}
