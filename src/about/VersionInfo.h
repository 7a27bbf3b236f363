// Reads the version block that the build embeds in the program file (a
// section ".xantu_version" of the ELF file, see VersionBlock.cpp.in) and
// shows its entries in linked controls, like a label showing the file
// version.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace xantu {

// Name of the section that holds the block.
inline constexpr const char* VersionSectionName = ".xantu_version";

// The raw bytes of the version section of `fileName`. No value when the file
// is missing, is not an ELF file or has no such section; throws
// xantu::Exception when the section is there but cannot be read.
std::optional<QByteArray> ReadVersionSection(const QString& fileName);

struct TTranslation {
    uint16_t Language = 0;
    uint16_t CodePage = 0;
};

// A parsed version block: entries addressed by paths such as
// "\VarFileInfo\Translation" or "\StringFileInfo\040704e4\FileVersion";
// paths are matched without regard to case.
class TVersionBlock {
  public:
    // Parses the text of a block; false when it is not one.
    bool Parse(const QByteArray& bytes);
    std::optional<QByteArray> Query(const QString& path) const;
    std::vector<TTranslation> Translations() const;
    static QString Decode(const QByteArray& bytes, uint16_t codePage);

  private:
    std::map<QString, QByteArray> entries_; // keyed by lower-case path
};

class TVersionInfo : public QObject {
    Q_OBJECT
  public:
    // The keys shown by the eight links, in link order.
    static constexpr int LinkCount = 8;
    static const std::array<const char*, LinkCount> Keys;
    enum Link {
        CtlCompanyName,
        CtlFileDescription,
        CtlFileVersion,
        CtlInternalName,
        CtlLegalCopyRight,
        CtlOriginalFileName,
        CtlProductName,
        CtlProductVersion
    };

    // Reads the version information of `fileName` (empty: the running
    // program's own file). Throws xantu::Exception with "Cannot retrieve
    // Version Information for <file>" when the block exists but cannot be read.
    explicit TVersionInfo(const QString& fileName = QString(), QObject* parent = nullptr);

    QString FileName() const { return fileName_; }
    // Size of the block read; 0 when the file has none.
    int InfoSize() const { return static_cast<int>(raw_.size()); }
    int TranslationCount() const { return static_cast<int>(translations_.size()); }
    TTranslation Translation(int i) const { return translations_.at(static_cast<std::size_t>(i)); }

    // The entry `key` of the first translation; empty without a block, a
    // translation or the entry.
    QString Value(const QString& key) const;

    // Links a control (nullptr unlinks) and refreshes every link. A control
    // shows the value through its "caption" property, else its "text"
    // property; one with neither stays as it is. A destroyed control unlinks
    // itself.
    void SetLink(Link link, QObject* control);
    QObject* LinkedControl(Link link) const { return links_[link]; }
    void RefreshLinks();

  private:
    QString fileName_;
    QByteArray raw_;
    TVersionBlock block_;
    std::vector<TTranslation> translations_;
    std::array<QPointer<QObject>, LinkCount> links_;
};

} // namespace xantu
