#include "ui/Dialogs.h"

#include "text/ListText.h"
#include "ui/Texts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

namespace xantu {

using namespace ui_texts;

namespace {
QString BoxText(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}
} // namespace

TAnswer TQtDialogs::Message(QWidget* parent, TMsgKind kind, const QString& text) {
    return Show(parent, kind, text, TButtons::OfKind);
}

void TQtDialogs::MessageOk(QWidget* parent, TMsgKind kind, const QString& text) {
    Show(parent, kind, text, TButtons::OkOnly);
}

TAnswer TQtDialogs::Show(QWidget* parent, TMsgKind kind, const QString& text, TButtons buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromUtf8(MsgKindCaption(kind)));
    // Names from the lists are shown as they read, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(BoxText(text));
    switch (kind) {
    case TMsgKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case TMsgKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case TMsgKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case TMsgKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (kind == TMsgKind::Confirmation && buttons == TButtons::OfKind) {
        QPushButton* yes = box.addButton(QString::fromUtf8(kYes), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QString::fromUtf8(kNo), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? TAnswer::Yes : TAnswer::No;
    }
    QPushButton* ok = box.addButton(QString::fromUtf8(kOk), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return TAnswer::Ok;
}

QFileDialog* MakeFileDialog(QWidget* parent, const TFileDialogSetup& setup, bool save) {
    auto* dlg = new QFileDialog(parent, setup.Title, setup.Folder, setup.Filter);
    // Qt's own dialog speaks the program's German; a desktop's native one
    // would not, and could not be driven by the tests.
    dlg->setOption(QFileDialog::DontUseNativeDialog, true);
    dlg->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg->setFileMode(!save && setup.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The save command asks about existing files itself, once for both.
    if (save)
        dlg->setOption(QFileDialog::DontConfirmOverwrite, true);
    // A name typed without extension means the .xml file (the open dialog's
    // preset "bouquets" finds bouquets.xml).
    if (!setup.DefaultSuffix.isEmpty())
        dlg->setDefaultSuffix(setup.DefaultSuffix);
    if (!setup.FileName.isEmpty())
        dlg->selectFile(setup.FileName);
    return dlg;
}

namespace {
QString RunFileDialog(QWidget* parent, const TFileDialogSetup& setup, bool save) {
    std::unique_ptr<QFileDialog> dlg(MakeFileDialog(parent, setup, save));
    if (dlg->exec() != QDialog::Accepted || dlg->selectedFiles().isEmpty())
        return {};
    return dlg->selectedFiles().first();
}
} // namespace

QString TQtDialogs::OpenFile(QWidget* parent, const TFileDialogSetup& setup) {
    return RunFileDialog(parent, setup, false);
}

QString TQtDialogs::SaveFile(QWidget* parent, const TFileDialogSetup& setup) {
    return RunFileDialog(parent, setup, true);
}

int TQtDialogs::ChooseBackup(QWidget* parent, const QList<TBackupRow>& rows) {
    TBackupDlg dlg(rows, parent);
    return dlg.exec() == QDialog::Accepted ? dlg.Chosen() : -1;
}

TAnswer TScriptedDialogs::Message(QWidget*, TMsgKind kind, const QString& text) {
    Messages.append({kind, text});
    if (Answers.empty())
        return kind == TMsgKind::Confirmation ? TAnswer::Yes : TAnswer::Ok;
    TAnswer a = Answers.front();
    Answers.pop_front();
    return a;
}

void TScriptedDialogs::MessageOk(QWidget*, TMsgKind kind, const QString& text) {
    Messages.append({kind, text, TButtons::OkOnly});
}

QString TScriptedDialogs::OpenFile(QWidget*, const TFileDialogSetup& setup) {
    FileDialogs.append(setup);
    if (Files.empty())
        return {};
    QString f = Files.front();
    Files.pop_front();
    return f;
}

QString TScriptedDialogs::SaveFile(QWidget* parent, const TFileDialogSetup& setup) {
    return OpenFile(parent, setup);
}

int TScriptedDialogs::ChooseBackup(QWidget*, const QList<TBackupRow>& rows) {
    BackupLists.append(rows);
    if (BackupChoices.empty())
        return -1;
    const int choice = BackupChoices.front();
    BackupChoices.pop_front();
    return choice;
}

QString ToDisplay(const std::string& bytes) {
    return QString::fromStdString(DisplayText(bytes));
}

} // namespace xantu
