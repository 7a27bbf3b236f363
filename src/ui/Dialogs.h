// Every modal question, message box and file dialog of the program goes
// through TDialogs, so that tests can answer them without showing anything.
#pragma once

#include "core/ListHost.h"
#include "ui/BackupDlg.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class QFileDialog;
class QWidget;

namespace xantu {

enum class TAnswer { Ok, Yes, No, Cancel };

// The buttons of a message box: the kind's own ("&Ja" and "&Nein" for a
// confirmation, "OK" for the others), or "OK" alone whatever the kind.
enum class TButtons { OfKind, OkOnly };

struct TFileDialogSetup {
    QString Title;
    QString Filter;        // Qt filter text, e.g. "XML Dateien (*.xml)"
    QString Folder;        // initial folder; empty: the platform's default
    QString FileName;      // preset file name
    QString DefaultSuffix; // appended when the user types a name without one
    bool MustExist = false;
};

class TDialogs {
  public:
    virtual ~TDialogs() = default;
    // A box of the given kind with its caption ("Warnung", "Fehler",
    // "Information", "Bestätigung"). Confirmation boxes offer "&Ja" and
    // "&Nein"; the others "OK". `text` uses "\r" or "\n" as line break.
    virtual TAnswer Message(QWidget* parent, TMsgKind kind, const QString& text) = 0;
    // A box of the given kind with the single button "OK" (a confirmation
    // that only acknowledges, such as a refused input).
    virtual void MessageOk(QWidget* parent, TMsgKind kind, const QString& text) = 0;
    // The chosen file, or an empty text when cancelled.
    virtual QString OpenFile(QWidget* parent, const TFileDialogSetup& setup) = 0;
    virtual QString SaveFile(QWidget* parent, const TFileDialogSetup& setup) = 0;
    // "Sicherung öffnen": the index of the chosen row, -1 when cancelled.
    virtual int ChooseBackup(QWidget* parent, const QList<TBackupRow>& rows) = 0;
    bool Confirm(QWidget* parent, const QString& text) {
        return Message(parent, TMsgKind::Confirmation, text) == TAnswer::Yes;
    }
};

// The real boxes and dialogs.
class TQtDialogs : public TDialogs {
  public:
    TAnswer Message(QWidget* parent, TMsgKind kind, const QString& text) override;
    void MessageOk(QWidget* parent, TMsgKind kind, const QString& text) override;
    QString OpenFile(QWidget* parent, const TFileDialogSetup& setup) override;
    QString SaveFile(QWidget* parent, const TFileDialogSetup& setup) override;
    int ChooseBackup(QWidget* parent, const QList<TBackupRow>& rows) override;

  private:
    static TAnswer Show(QWidget* parent, TMsgKind kind, const QString& text, TButtons buttons);
};

// The file dialog TQtDialogs shows, set up but not yet run (tests drive it
// without a modal loop).
::QFileDialog* MakeFileDialog(QWidget* parent, const TFileDialogSetup& setup, bool save);

// For tests: records every box and answers from queues. An empty queue
// answers Yes/Ok for boxes and cancels file dialogs; OK-only boxes take no
// answer from the queue.
class TScriptedDialogs : public TDialogs {
  public:
    struct Shown {
        TMsgKind Kind;
        QString Text;
        TButtons Buttons = TButtons::OfKind;
    };
    TAnswer Message(QWidget* parent, TMsgKind kind, const QString& text) override;
    void MessageOk(QWidget* parent, TMsgKind kind, const QString& text) override;
    QString OpenFile(QWidget* parent, const TFileDialogSetup& setup) override;
    QString SaveFile(QWidget* parent, const TFileDialogSetup& setup) override;
    // Answers from BackupChoices; an empty queue cancels.
    int ChooseBackup(QWidget* parent, const QList<TBackupRow>& rows) override;

    std::deque<TAnswer> Answers;
    std::deque<int> BackupChoices;
    QList<QList<TBackupRow>> BackupLists; // the rows of every dialog shown
    std::deque<QString> Files;
    QList<Shown> Messages;
    QList<TFileDialogSetup> FileDialogs;
};

// List bytes <-> what a person reads: UTF-8 where the bytes are valid UTF-8,
// else Windows-1252.
QString ToDisplay(const std::string& bytes);

} // namespace xantu
