#include "net/Backups.h"

#include "core/FileIO.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <exception>
#include <set>

namespace xantu {

namespace {

const QRegularExpression& FolderPattern() {
    static const QRegularExpression re(QStringLiteral("^\\d{8}-\\d{6}-\\d{3}-[a-z]+(-\\d+)?$"));
    return re;
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
    } catch (const std::exception& e) {
        QDir(folder).removeRecursively();
        return fail(QString::fromUtf8(e.what()));
    }
    Prune();
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

void TBackupStore::Prune() {
    QStringList folders = Folders();
    QDir root(root_);
    while (folders.size() > Limit && Limit > 0)
        QDir(root.filePath(folders.takeFirst())).removeRecursively();
}

} // namespace xantu
