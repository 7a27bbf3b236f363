#include "ui/IniFile.h"

#include <QFile>
#include <QSaveFile>

namespace xantu {

namespace {
bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

bool TIniFile::Load(const QString& path) {
    sections_.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    Parse(f.readAll());
    return true;
}

void TIniFile::Parse(const QByteArray& text) {
    sections_.clear();
    Section* current = nullptr;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = FindMutable(name);
            if (!current) {
                sections_.push_back({name, {}});
                current = &sections_.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!current || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1);
        bool replaced = false;
        for (Entry& e : current->Entries)
            if (SameName(e.first, key)) {
                e.second = value;
                replaced = true;
                break;
            }
        if (!replaced)
            current->Entries.emplace_back(key, value);
    }
}

QByteArray TIniFile::Text() const {
    QByteArray out;
    bool first = true;
    for (const Section& s : sections_) {
        if (!first)
            out += '\n';
        first = false;
        out += '[' + s.Name.toUtf8() + "]\n";
        for (const Entry& e : s.Entries)
            out += e.first.toUtf8() + '=' + e.second.toUtf8() + '\n';
    }
    return out;
}

bool TIniFile::Save(const QString& path) const {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // The file holds the box password.
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray text = Text();
    if (f.write(text) != text.size()) {
        f.cancelWriting();
        return false;
    }
    if (!f.commit())
        return false;
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

const TIniFile::Section* TIniFile::Find(const QString& section) const {
    for (const Section& s : sections_)
        if (SameName(s.Name, section))
            return &s;
    return nullptr;
}

TIniFile::Section* TIniFile::FindMutable(const QString& section) {
    for (Section& s : sections_)
        if (SameName(s.Name, section))
            return &s;
    return nullptr;
}

bool TIniFile::Has(const QString& section, const QString& key) const {
    if (const Section* s = Find(section))
        for (const Entry& e : s->Entries)
            if (SameName(e.first, key))
                return true;
    return false;
}

QString TIniFile::Value(const QString& section, const QString& key, const QString& def) const {
    if (const Section* s = Find(section))
        for (const Entry& e : s->Entries)
            if (SameName(e.first, key))
                return e.second;
    return def;
}

void TIniFile::SetValue(const QString& section, const QString& key, const QString& value) {
    Section* s = FindMutable(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = &sections_.back();
    }
    for (Entry& e : s->Entries)
        if (SameName(e.first, key)) {
            e.second = value;
            return;
        }
    s->Entries.emplace_back(key, value);
}

void TIniFile::ReplaceSection(const Section& section) {
    if (Section* s = FindMutable(section.Name)) {
        *s = section;
        return;
    }
    sections_.push_back(section);
}

} // namespace xantu
