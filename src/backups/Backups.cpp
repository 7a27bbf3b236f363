#include "backups/Backups.h"

#include "core/FileIO.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cstdio>
#include <exception>
#include <set>
#include <string_view>

namespace xantu {

namespace {

const QRegularExpression& FolderPattern() {
    static const QRegularExpression re(QStringLiteral("^(\\d{8}-\\d{6}-\\d{3})-([a-z]+)(-\\d+)?$"));
    return re;
}

QString KindOf(const QString& folder) {
    return FolderPattern().match(folder).captured(2);
}

int CountTags(const std::string& text, std::string_view tag) {
    int n = 0;
    for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + tag.size())) {
        const std::size_t end = at + tag.size();
        const char next = end < text.size() ? text[end] : '\0';
        if (next == ' ' || next == '\t' || next == '\r' || next == '\n' || next == '/' || next == '>')
            ++n;
    }
    return n;
}

const char* const kCountsFile = ".counts";

// "bouquets services" as Keep wrote them; false when absent or not two
// numbers that fit the files present.
bool ReadCounts(const QString& path, TBackupStore::TInfo& info) {
    std::string text;
    if (!ReadWholeFile(path.toStdString(), text))
        return false;
    int b = 0, s = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d %d%c", &b, &s, &end) != 3 || end != '\n')
        return false;
    if ((b < 0) != info.BouquetsFile.isEmpty() || (s < 0) != info.ServicesFile.isEmpty())
        return false;
    info.Bouquets = b;
    info.Services = s;
    return true;
}

// -1 when the file is missing or unreadable.
int CountInFile(const QString& path, int (*count)(const std::string&)) {
    std::string bytes;
    if (path.isEmpty() || !ReadWholeFile(path.toStdString(), bytes))
        return -1;
    return count(bytes);
}

} // namespace

TBackupStore::TBackupStore(QString root) : root_(std::move(root)) {}

QString TBackupStore::DefaultRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/XantuEditor/backups");
}

QStringList TBackupStore::Folders() const {
    QStringList out;
    const QStringList names = QDir(root_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& n : names)
        if (FolderPattern().match(n).hasMatch())
            out << n;
    return out;
}

bool TBackupStore::Keep(const char* kind, const TFiles& files, QString* error) {
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (files.empty())
        return true;
    QDir root(root_);
    if (!root.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("Ordner %1 kann nicht angelegt werden").arg(root_));
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) + QLatin1String(kind);
    QString name = stamp;
    for (int n = 2; root.exists(name); ++n)
        name = stamp + QLatin1Char('-') + QString::number(n);
    if (!root.mkdir(name))
        return fail(QStringLiteral("Ordner %1 kann nicht angelegt werden").arg(root.filePath(name)));
    const QString folder = root.filePath(name);
    try {
        for (const auto& [file, bytes] : files)
            WriteWholeFile((folder + QLatin1Char('/') + file).toStdString(), bytes);
        // The counts the restore lists, so that listing never reads the
        // lists again. Missing or damaged, they are counted from the files.
        int bouquets = -1, services = -1;
        for (const auto& [file, bytes] : files) {
            if (file == QLatin1String("services.xml"))
                services = CountServices(bytes);
            else
                bouquets = CountBouquets(bytes);
        }
        WriteWholeFile((folder + QLatin1String("/") + QLatin1String(kCountsFile)).toStdString(),
                       std::to_string(bouquets) + ' ' + std::to_string(services) + '\n');
    } catch (const std::exception& e) {
        QDir(folder).removeRecursively();
        return fail(QString::fromUtf8(e.what()));
    }
    Prune(QLatin1String(kind));
    return true;
}

bool TBackupStore::KeepExisting(const char* kind, const QStringList& paths, QString* error) {
    TFiles files;
    std::set<QString> seen;
    for (const QString& path : paths) {
        const QString canonical = QFileInfo(path).absoluteFilePath();
        if (!seen.insert(canonical).second || !QFileInfo(path).isFile())
            continue;
        std::string bytes;
        if (!ReadWholeFile(path.toStdString(), bytes)) {
            if (error)
                *error = QStringLiteral("%1 kann nicht gelesen werden").arg(path);
            return false;
        }
        files.emplace_back(QFileInfo(path).fileName(), std::move(bytes));
    }
    return Keep(kind, files, error);
}

void TBackupStore::Prune(const QString& kind) {
    QStringList folders;
    for (const QString& f : Folders())
        if (KindOf(f) == kind)
            folders << f;
    QDir root(root_);
    while (folders.size() > Limit && Limit > 0)
        QDir(root.filePath(folders.takeFirst())).removeRecursively();
}

std::vector<TBackupStore::TInfo> TBackupStore::List() const {
    std::vector<TInfo> out;
    const QDir root(root_);
    const QStringList folders = Folders();
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        const QRegularExpressionMatch m = FolderPattern().match(*it);
        TInfo info;
        info.Folder = root.filePath(*it);
        info.When = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-HHmmss-zzz"));
        info.Kind = m.captured(2);
        const QDir dir(info.Folder);
        if (dir.exists(QStringLiteral("services.xml")))
            info.ServicesFile = dir.filePath(QStringLiteral("services.xml"));
        // A local backup keeps the bouquets file under the name it had.
        if (dir.exists(QStringLiteral("bouquets.xml"))) {
            info.BouquetsFile = dir.filePath(QStringLiteral("bouquets.xml"));
        } else {
            for (const QString& f : dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name))
                if (f != QLatin1String("services.xml")) {
                    info.BouquetsFile = dir.filePath(f);
                    break;
                }
        }
        if (!ReadCounts(dir.filePath(QLatin1String(kCountsFile)), info)) {
            info.Bouquets = CountInFile(info.BouquetsFile, CountBouquets);
            info.Services = CountInFile(info.ServicesFile, CountServices);
        }
        out.push_back(std::move(info));
    }
    return out;
}

int CountBouquets(const std::string& bouquetsText) {
    return CountTags(bouquetsText, "<Bouquet");
}

int CountServices(const std::string& servicesText) {
    return CountTags(servicesText, "<channel");
}

} // namespace xantu
