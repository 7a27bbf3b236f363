#include "settings/IniFile.h"

#include <QFile>
#include <QSaveFile>

namespace xantu {

namespace {
bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

QString EncodeIniValue(const QString& value) {
    bool quote = !value.isEmpty() &&
                 (value.front().isSpace() || value.back().isSpace() || value.front() == QLatin1Char('"'));
    for (QChar c : value)
        quote = quote || c.unicode() < 0x20 || c.unicode() == 0x7F;
    if (!quote)
        return value;
    QString out = QStringLiteral("\"");
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString DecodeIniValue(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() < 2 || t.front() != QLatin1Char('"') || t.back() != QLatin1Char('"'))
        return t;
    QString out;
    const QString inner = t.mid(1, t.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const QChar c = inner[i];
        if (c != QLatin1Char('\\') || i + 1 >= inner.size()) {
            out += c;
            continue;
        }
        const QChar e = inner[i + 1];
        if (e == QLatin1Char('\\') || e == QLatin1Char('"')) {
            out += e;
            ++i;
        } else if (e == QLatin1Char('n')) {
            out += QLatin1Char('\n');
            ++i;
        } else if (e == QLatin1Char('r')) {
            out += QLatin1Char('\r');
            ++i;
        } else if (e == QLatin1Char('t')) {
            out += QLatin1Char('\t');
            ++i;
        } else if (e == QLatin1Char('x') && i + 3 < inner.size()) {
            bool ok = false;
            const int code = inner.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 3;
            } else {
                out += c;
            }
        } else {
            out += c; // not an escape: the backslash is part of the value
        }
    }
    return out;
}

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
        const QString value = DecodeIniValue(line.mid(eq + 1));
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
            out += e.first.toUtf8() + '=' + EncodeIniValue(e.second).toUtf8() + '\n';
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
