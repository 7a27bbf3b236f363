#include "about/VersionInfo.h"

#include "model/XantuModel.h"
#include "text/ListText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMetaProperty>
#include <cstring>

namespace xantu {

namespace {

constexpr char kMagic[] = "XANTU-VERSION 1\n";
// Upper bounds for what a sane program file holds; anything beyond is not
// read into memory.
constexpr quint64 kMaxSectionHeaders = 1u << 20;
constexpr quint64 kMaxNamesSize = 16u << 20;
constexpr quint64 kMaxBlockSize = 1u << 20;

class ElfReader {
  public:
    explicit ElfReader(QFile& f) : f_(f) {}

    // Reads `size` bytes at `offset`; false when the file is too short.
    bool Read(quint64 offset, quint64 size, QByteArray& out) {
        if (offset > static_cast<quint64>(f_.size()) || size > static_cast<quint64>(f_.size()) - offset)
            return false;
        if (!f_.seek(static_cast<qint64>(offset)))
            return false;
        out = f_.read(static_cast<qint64>(size));
        return static_cast<quint64>(out.size()) == size;
    }

    quint64 Get(const QByteArray& b, int at, int width) const {
        quint64 v = 0;
        for (int i = 0; i < width; ++i) {
            const quint64 byte = static_cast<unsigned char>(b[at + i]);
            v |= bigEndian_ ? byte << (8 * (width - 1 - i)) : byte << (8 * i);
        }
        return v;
    }

    bool bigEndian_ = false;

  private:
    QFile& f_;
};

struct SectionPlace {
    quint64 Offset = 0;
    quint64 Size = 0;
    bool NoBits = false;
};

// Finds the named section in an ELF file; no value when the file is not ELF
// or lacks the section.
std::optional<SectionPlace> FindSection(QFile& f, const char* name) {
    ElfReader r(f);
    QByteArray h;
    if (!r.Read(0, 64, h) && !r.Read(0, 52, h))
        return std::nullopt;
    if (h.size() < 52 || std::memcmp(h.constData(),
                                     "\x7f"
                                     "ELF",
                                     4) != 0)
        return std::nullopt;
    const int cls = static_cast<unsigned char>(h[4]);
    const int data = static_cast<unsigned char>(h[5]);
    if ((cls != 1 && cls != 2) || (data != 1 && data != 2))
        return std::nullopt;
    const bool is64 = cls == 2;
    if (is64 && h.size() < 64)
        return std::nullopt;
    r.bigEndian_ = data == 2;

    const quint64 shoff = is64 ? r.Get(h, 40, 8) : r.Get(h, 32, 4);
    const quint64 shentsize = r.Get(h, is64 ? 58 : 46, 2);
    quint64 shnum = r.Get(h, is64 ? 60 : 48, 2);
    quint64 shstrndx = r.Get(h, is64 ? 62 : 50, 2);
    const quint64 minEntry = is64 ? 64 : 40;
    if (shoff == 0 || shentsize < minEntry)
        return std::nullopt;

    auto sectionHeader = [&](quint64 i, QByteArray& out) {
        return r.Read(shoff + i * shentsize, minEntry, out);
    };
    QByteArray sh;
    if (shnum == 0 || shstrndx == 0xFFFF) {
        // Extended numbering: the real values live in section 0.
        if (!sectionHeader(0, sh))
            return std::nullopt;
        if (shnum == 0)
            shnum = is64 ? r.Get(sh, 32, 8) : r.Get(sh, 20, 4);
        if (shstrndx == 0xFFFF)
            shstrndx = r.Get(sh, is64 ? 40 : 24, 4);
    }
    if (shnum == 0 || shnum > kMaxSectionHeaders || shstrndx >= shnum)
        return std::nullopt;

    auto place = [&](const QByteArray& s) {
        SectionPlace p;
        p.NoBits = r.Get(s, 4, 4) == 8; // SHT_NOBITS
        p.Offset = is64 ? r.Get(s, 24, 8) : r.Get(s, 16, 4);
        p.Size = is64 ? r.Get(s, 32, 8) : r.Get(s, 20, 4);
        return p;
    };
    if (!sectionHeader(shstrndx, sh))
        return std::nullopt;
    const SectionPlace namesPlace = place(sh);
    QByteArray names;
    if (namesPlace.Size > kMaxNamesSize || !r.Read(namesPlace.Offset, namesPlace.Size, names))
        return std::nullopt;

    const std::size_t nameLen = std::strlen(name);
    for (quint64 i = 0; i < shnum; ++i) {
        if (!sectionHeader(i, sh))
            return std::nullopt;
        const quint64 nameAt = r.Get(sh, 0, 4);
        if (nameAt + nameLen + 1 > static_cast<quint64>(names.size()))
            continue;
        if (std::memcmp(names.constData() + nameAt, name, nameLen + 1) == 0)
            return place(sh);
    }
    return std::nullopt;
}

QString ProgramFile() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

} // namespace

std::optional<QByteArray> ReadVersionSection(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<SectionPlace> p = FindSection(f, VersionSectionName);
    if (!p || p->Size == 0)
        return std::nullopt;
    ElfReader r(f);
    QByteArray bytes;
    if (p->NoBits || p->Size > kMaxBlockSize || !r.Read(p->Offset, p->Size, bytes))
        throw Exception("Cannot retrieve Version Information for " + fileName.toStdString());
    return bytes;
}

bool TVersionBlock::Parse(const QByteArray& bytes) {
    entries_.clear();
    const qsizetype magicLen = static_cast<qsizetype>(sizeof(kMagic) - 1);
    if (!bytes.startsWith(QByteArray(kMagic, magicLen)))
        return false;
    qsizetype pos = magicLen;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        const qsizetype nul = bytes.indexOf('\0', pos);
        if (nul >= 0 && (end < 0 || nul < end))
            end = nul;
        if (end < 0)
            end = bytes.size();
        const QByteArray line = bytes.mid(pos, end - pos);
        if (line == "END")
            break;
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            entries_[QString::fromLatin1(line.left(eq)).toLower()] = line.mid(eq + 1);
        if (end < bytes.size() && bytes[end] == '\0')
            break;
        pos = end + 1;
    }
    return true;
}

std::optional<QByteArray> TVersionBlock::Query(const QString& path) const {
    auto it = entries_.find(path.toLower());
    if (it == entries_.end())
        return std::nullopt;
    return it->second;
}

std::vector<TTranslation> TVersionBlock::Translations() const {
    std::vector<TTranslation> out;
    const std::optional<QByteArray> v = Query(QStringLiteral("\\VarFileInfo\\Translation"));
    if (!v)
        return out;
    const QList<QByteArray> words = v->simplified().split(' ');
    for (qsizetype i = 0; i + 1 < words.size(); i += 2) {
        bool ok1 = false, ok2 = false;
        const uint lang = words[i].toUInt(&ok1, 16);
        const uint cp = words[i + 1].toUInt(&ok2, 16);
        if (!ok1 || !ok2 || lang > 0xFFFF || cp > 0xFFFF)
            break;
        out.push_back({static_cast<uint16_t>(lang), static_cast<uint16_t>(cp)});
    }
    return out;
}

QString TVersionBlock::Decode(const QByteArray& bytes, uint16_t codePage) {
    switch (codePage) {
    case 1252:
        return QString::fromStdString(Cp1252ToUtf8(std::string_view(bytes.constData(), bytes.size())));
    case 65001:
        return QString::fromUtf8(bytes);
    default:
        return QString::fromLatin1(bytes);
    }
}

const std::array<const char*, TVersionInfo::LinkCount> TVersionInfo::Keys = {
    "CompanyName",    "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyRight", "OriginalFileName", "ProductName", "ProductVersion"};

TVersionInfo::TVersionInfo(const QString& fileName, QObject* parent)
    : QObject(parent), fileName_(fileName.isEmpty() ? ProgramFile() : fileName) {
    if (std::optional<QByteArray> section = ReadVersionSection(fileName_)) {
        if (!block_.Parse(*section))
            throw Exception("Cannot retrieve Version Information for " + fileName_.toStdString());
        raw_ = *section;
        translations_ = block_.Translations();
    }
    RefreshLinks();
}

QString TVersionInfo::Value(const QString& key) const {
    if (raw_.isEmpty() || translations_.empty())
        return QString();
    const TTranslation& t = translations_.front();
    const QString path = QStringLiteral("\\StringFileInfo\\%1%2\\%3")
                             .arg(t.Language, 4, 16, QLatin1Char('0'))
                             .arg(t.CodePage, 4, 16, QLatin1Char('0'))
                             .arg(key);
    const std::optional<QByteArray> v = block_.Query(path);
    return v ? TVersionBlock::Decode(*v, t.CodePage) : QString();
}

void TVersionInfo::SetLink(Link link, QObject* control) {
    links_[link] = control;
    RefreshLinks();
}

void TVersionInfo::RefreshLinks() {
    for (int i = 0; i < LinkCount; ++i) {
        QObject* c = links_[i];
        if (!c)
            continue;
        const QString value = Value(QString::fromLatin1(Keys[i]));
        const QMetaObject* mo = c->metaObject();
        if (mo->indexOfProperty("caption") >= 0)
            c->setProperty("caption", value);
        else if (mo->indexOfProperty("text") >= 0)
            c->setProperty("text", value);
    }
}

} // namespace xantu
