// A read-only INI file: "[section]" headers and "key=value" lines, read once when opened.
// Section names and keys compare without regard to letter case; blanks around names, keys and
// values are dropped; empty lines and lines starting with ";" are skipped. A missing file reads
// as a file without sections.
#pragma once
#include "StringList.h"
#include <string>
#include <vector>

class TIniFile {
public:
    explicit TIniFile(const std::string& fileName);

    const std::string& FileName() const { return fileName_; }
    bool Exists() const { return exists_; }

    // Section names in file order (a repeated section adds its lines to the first one).
    void ReadSections(TStringList& names) const;
    // The lines of one section in file order, each "key=value" as written (trimmed).
    void ReadSectionValues(const std::string& section, TStringList& lines) const;
    bool SectionExists(const std::string& section) const;
    // The value of the first line of that key in the section, or the default.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;
    };
    const Section* FindSection(const std::string& name) const;

    std::string fileName_;
    bool exists_ = false;
    std::vector<Section> sections_;
};
