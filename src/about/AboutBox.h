// The about box: program title, file version and copyright line, the last
// two read from the program's own version block.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace xantu {

class TDialogs;
class TVersionInfo;

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    // `versionFile`: where the version block is read from; empty means the
    // running program. Throws xantu::Exception when the block exists but
    // cannot be read.
    explicit TAboutBox(QWidget* parent = nullptr, const QString& versionFile = QString());

    // Creates the box, shows it modally and destroys it again. A version
    // block that cannot be read is reported in an error box instead.
    static int Execute(QWidget* parent, TDialogs& dialogs, const QString& versionFile = QString());

    QLabel* ProgramIcon = nullptr;
    QLabel* LProgrammName = nullptr;
    QLabel* LVersion = nullptr;
    QLabel* LCopyrigth = nullptr;
    QLabel* LMailTo = nullptr;
    QPushButton* BttnOk = nullptr;
    TVersionInfo* VersionInfo = nullptr;

    static constexpr const char* MailTo = "xantueditor@users.example.org";

  protected:
    void showEvent(QShowEvent* event) override;
    // Esc closes the box with the same result as OK.
    void reject() override { accept(); }
};

} // namespace xantu
