// A small INI file that keeps sections and keys in the order they were
// first written, so a section reads the same way every time it is saved.
// Keys and section names match without regard to case, as the settings
// file always did.
#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace xantu {

class TIniFile {
  public:
    using Entry = std::pair<QString, QString>;
    struct Section {
        QString Name;
        std::vector<Entry> Entries;
    };

    // Replaces the contents with the file's; false when it cannot be read
    // (the contents are then empty).
    bool Load(const QString& path);
    // Writes the whole file atomically (temporary file, then rename),
    // readable by its owner only. False when it cannot be written.
    bool Save(const QString& path) const;

    void Parse(const QByteArray& text);
    QByteArray Text() const;

    bool Has(const QString& section, const QString& key) const;
    QString Value(const QString& section, const QString& key, const QString& def = {}) const;
    // Updates the key in place, or appends it to the (possibly new) section.
    void SetValue(const QString& section, const QString& key, const QString& value);

    const Section* Find(const QString& section) const;
    // Puts `section` in place of the one of the same name (or appends it).
    void ReplaceSection(const Section& section);
    const std::vector<Section>& Sections() const { return sections_; }

  private:
    Section* FindMutable(const QString& section);
    std::vector<Section> sections_;
};

} // namespace xantu
