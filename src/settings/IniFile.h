// A small INI file that keeps sections and keys in the order they were
// first written, so a section reads the same way every time it is saved.
// Keys and section names match without regard to case, as the settings
// file always did.
#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace xantu {

// A value as the file holds it. Blanks around a value are not part of it.
// A value that begins or ends with a blank, begins with a double quote or
// holds a control character (a line break above all, which would otherwise
// start a key of its own) is written in double quotes with \\, \", \n, \r,
// \t and \xHH escapes; everything else is written as it is.
QString EncodeIniValue(const QString& value);
// The value back from the text after "=".
QString DecodeIniValue(const QString& text);

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
