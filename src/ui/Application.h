// The application object. Whatever a command lets escape reaches the general
// error report here: a box with the error's text, after which the program
// runs on.
#pragma once

#include <QApplication>

namespace xantu {

class TDialogs;

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    // The boxes of the error report go through these dialogs.
    void SetDialogs(TDialogs* dialogs) { dialogs_ = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the report for one error text.
    static void ReportError(TDialogs* dialogs, const QString& text);
    // Qt's own texts (file dialogs, standard buttons, the edit fields'
    // context menu) in German, whatever the desktop's language. False when
    // the translation is not installed; the program then runs on in English.
    static bool InstallGermanQtTexts();

  private:
    TDialogs* dialogs_ = nullptr;
    bool reporting_ = false;
};

} // namespace xantu
