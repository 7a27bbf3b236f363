// Keeps a window's placement and named values in one section of the
// settings file. It restores on the window's first showing while Active and
// saves (placement, then the window's own save handler) when the window's
// close is allowed or at its destruction, only while Active and only after
// it restored in this run. A settings file that cannot be read or written
// never stops the program.
#pragma once

#include "settings/IniFile.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <climits>
#include <functional>
#include <memory>

namespace xantu {

class TFormStore : public QObject {
    Q_OBJECT
  public:
    TFormStore(QWidget* form, QString section);
    ~TFormStore() override;

    // The settings file; before it is set the store neither reads nor writes.
    void SetIniFileName(const QString& path);
    QString IniFileName() const { return path_; }

    bool Active = true;
    bool Restored() const { return restored_; }

    // Called after the placement was restored / saved.
    std::function<void()> OnRestorePlacement;
    std::function<void()> OnSavePlacement;

    // Named integer properties kept beside the placement (e.g. a panel's
    // width), read after and written together with the placement.
    void AddStoredInt(const QString& key, std::function<int()> get, std::function<void(int)> set);

    // Typed access to the section; usable inside the two handlers.
    int ReadInt(const QString& key, int def) const;
    QString ReadString(const QString& key, const QString& def) const;
    void WriteInt(const QString& key, int value);
    void WriteString(const QString& key, const QString& value);

    // Restores when this is the window's first showing (call from showEvent).
    void RestoreOnFirstShow();
    // Saves when allowed by the gating (call when a close is accepted; the
    // destructor calls it too).
    void SaveIfAllowed();

    // Where the settings are written: Settings.ini beside the program when
    // that folder can be written, else the one in $XDG_CONFIG_HOME/XantuEditor.
    static QString DefaultIniFileName();
    // Where a settings file that does not exist yet takes its values from:
    // for the configuration folder's file, the one beside the program (a
    // shipped default); otherwise none.
    static QString FallbackSourceFor(const QString& path);

    // Called once per settings file when it cannot be written (the window
    // shows a box); the values are then lost for the next run.
    std::function<void(const QString& path)> OnWriteFailed;

  private:
    void Sync();
    QPointer<QWidget> form_;
    QString section_;
    QString path_;
    // This window's section as read at start and changed since; the other
    // sections of the file are taken from disk when writing, so two windows
    // sharing the file never undo each other's values.
    TIniFile ini_;
    bool hasFile_ = false;
    bool restored_ = false;
    bool shownOnce_ = false;
    struct Stored {
        QString key;
        std::function<int()> get;
        std::function<void(int)> set;
    };
    QList<Stored> stored_;
};

} // namespace xantu
