// Copies of list pairs kept in the user's data folder, so that every state a
// local folder or the box held before the editor changed it can be put back
// by hand. One folder per time stamp and kind, the newest ones kept.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <utility>
#include <vector>

namespace xantu {

class TBackupStore {
  public:
    // Kinds of backup, part of each folder name.
    static constexpr const char* Local = "local";     // before a local save overwrote the pair
    static constexpr const char* Fetched = "fetched"; // as fetched from the box
    static constexpr const char* Sent = "sent";       // as sent to the box

    explicit TBackupStore(QString root = DefaultRoot());

    // $XDG_DATA_HOME/XantuEditor/backups (~/.local/share/... by default).
    static QString DefaultRoot();
    const QString& Root() const { return root_; }

    using TFiles = std::vector<std::pair<QString, std::string>>; // file name, bytes

    // Writes the files, bytes unchanged, into a new folder of that kind and
    // drops the oldest folders beyond Limit. False with a reason on failure;
    // a failed backup leaves no half-written folder behind.
    bool Keep(const char* kind, const TFiles& files, QString* error = nullptr);
    // Copies those of the given files that exist. True (and no folder) when
    // none exists.
    bool KeepExisting(const char* kind, const QStringList& paths, QString* error = nullptr);

    // Backup folders, oldest first.
    QStringList Folders() const;

    int Limit = 20;

  private:
    void Prune();
    QString root_;
};

} // namespace xantu
