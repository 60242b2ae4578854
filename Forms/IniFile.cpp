#include "IniFile.h"
#include "Compare.h"
#include <cstdio>

namespace {
std::string Trim(const std::string& s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n'))
        --e;
    return s.substr(b, e - b);
}

std::string KeyOf(const std::string& line)
{
    const size_t eq = line.find('=');
    return eq == std::string::npos ? line : Trim(line.substr(0, eq));
}
}  // namespace

TIniFile::TIniFile(const std::string& fileName) : fileName_(fileName)
{
    FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f)
        return;
    exists_ = true;
    std::string content;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        content.append(buffer, n);
    std::fclose(f);

    Section* current = nullptr;
    size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a UTF-8 mark is no text
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        const std::string line = Trim(content.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            const std::string name = Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            current = const_cast<Section*>(FindSection(name));
            if (!current) {
                sections_.push_back({name, {}});
                current = &sections_.back();
            }
            continue;
        }
        if (!current)
            continue;  // lines before the first section belong to none
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            current->lines.push_back(line);
        else
            current->lines.push_back(Trim(line.substr(0, eq)) + "=" + Trim(line.substr(eq + 1)));
    }
}

const TIniFile::Section* TIniFile::FindSection(const std::string& name) const
{
    for (const Section& s : sections_)
        if (SameTextAscii(s.name, name))
            return &s;
    return nullptr;
}

void TIniFile::ReadSections(TStringList& names) const
{
    names.Clear();
    for (const Section& s : sections_)
        names.Add(s.name);
}

void TIniFile::ReadSectionValues(const std::string& section, TStringList& lines) const
{
    lines.Clear();
    if (const Section* s = FindSection(section))
        for (const std::string& line : s->lines)
            lines.Add(line);
}

bool TIniFile::SectionExists(const std::string& section) const
{
    return FindSection(section) != nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const
{
    const Section* s = FindSection(section);
    if (!s)
        return defaultValue;
    for (const std::string& line : s->lines) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos && SameTextAscii(KeyOf(line), key))
            return line.substr(eq + 1);
    }
    return defaultValue;
}
