// Copies of list pairs kept in the user's data folder, so that every state a
// local folder or the box held before the editor changed it can be put back
// by hand. One folder per time stamp and kind, the newest ones kept.
#pragma once

#include <QDateTime>
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
    static constexpr const char* Box = "box";         // what the box held before a send

    explicit TBackupStore(QString root = DefaultRoot());

    // $XDG_DATA_HOME/XantuEditor/backups (~/.local/share/... by default).
    static QString DefaultRoot();
    const QString& Root() const { return root_; }

    using TFiles = std::vector<std::pair<QString, std::string>>; // file name, bytes

    // Writes the files, bytes unchanged, into a new folder of that kind and
    // drops the oldest folders of that kind beyond Limit, so that a run of
    // one kind (refused sends, say) never pushes out the others. False with
    // a reason on failure;
    // a failed backup leaves no half-written folder behind.
    bool Keep(const char* kind, const TFiles& files, QString* error = nullptr);
    // Copies those of the given files that exist. True (and no folder) when
    // none exists.
    bool KeepExisting(const char* kind, const QStringList& paths, QString* error = nullptr);

    // Backup folders, oldest first.
    QStringList Folders() const;

    // One backup as the restore shows it.
    struct TInfo {
        QString Folder; // full path
        QDateTime When;
        QString Kind;
        QString BouquetsFile; // full paths; empty when the file is missing
        QString ServicesFile;
        int Bouquets = -1; // counted in the files; -1 when missing
        int Services = -1;
        bool Complete() const { return !BouquetsFile.isEmpty() && !ServicesFile.isEmpty(); }
    };
    // Every backup, newest first.
    std::vector<TInfo> List() const;

    // Newest folders kept per kind.
    int Limit = 20;

  private:
    void Prune(const QString& kind);
    QString root_;
};

// Bouquets and services in list texts, counted by their opening tags without
// a full load (a backup need not be loadable to be listed).
int CountBouquets(const std::string& bouquetsText);
int CountServices(const std::string& servicesText);

} // namespace xantu
