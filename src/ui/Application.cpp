#include "ui/Application.h"

#include "ui/Dialogs.h"
#include "ui/Texts.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <QWidget>
#include <cstdio>
#include <exception>
#include <new>

namespace xantu {

using namespace ui_texts;

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    InstallGermanQtTexts();
}

bool TApplication::InstallGermanQtTexts() {
    static QPointer<QTranslator> installed; // goes with the application object
    if (installed)
        return true;
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    // Dates and numbers in Qt's dialogs follow the same language.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    installed = translator;
    return true;
}

void TApplication::ReportError(TDialogs* dialogs, const QString& text) {
    if (dialogs)
        dialogs->Message(QApplication::activeWindow(), TMsgKind::Error, text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        ReportError(reporting_ ? nullptr : dialogs_, QString::fromUtf8(kOutOfMemory));
    } catch (const std::exception& e) {
        // A second error while the first box is open goes to the console.
        const bool nested = reporting_;
        reporting_ = true;
        ReportError(nested ? nullptr : dialogs_, QString::fromUtf8(e.what()));
        reporting_ = nested;
    } catch (...) {
        ReportError(reporting_ ? nullptr : dialogs_, QString::fromUtf8(kUnknownError));
    }
    return false;
}

} // namespace xantu
