#include "mainwindow/PairPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace xantu {

namespace fs = std::filesystem;

namespace {

fs::path Native(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

bool SameExisting(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

// The name with the case of each letter turned over; equal to `name` when it
// holds no cased letter.
QString OtherCase(const QString& name) {
    QString out = name;
    for (QChar& c : out)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return out;
}

// Whether the folder looks names up without regard to case: an entry in it,
// spelt the other way round, finds that same entry. -1 when the folder holds
// no entry with a cased letter.
int FolderIgnoresCase(const QString& folder) {
    const QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QString flipped = OtherCase(name);
        if (flipped == name)
            continue;
        const fs::path entry = Native(folder + QLatin1Char('/') + name);
        const fs::path probe = Native(folder + QLatin1Char('/') + flipped);
        if (names.contains(flipped))
            return 0; // both spellings live side by side
        return SameExisting(entry, probe) ? 1 : 0;
    }
    return -1;
}

} // namespace

bool NamesOneFile(const QString& a, const QString& b) {
    const QString pa = QDir::cleanPath(QFileInfo(a).absoluteFilePath());
    const QString pb = QDir::cleanPath(QFileInfo(b).absoluteFilePath());
    if (pa == pb)
        return true;
    const fs::path na = Native(pa), nb = Native(pb);
    std::error_code ec;
    const bool ea = fs::exists(na, ec);
    const bool eb = fs::exists(nb, ec);
    if (ea && eb)
        return SameExisting(na, nb);
    if (pa.compare(pb, Qt::CaseInsensitive) != 0)
        return false;
    // The names differ only in case. One of them existing without the other
    // means the folder tells them apart.
    if (ea || eb)
        return false;
    return FolderIgnoresCase(QFileInfo(pa).absolutePath()) != 0;
}

} // namespace xantu
