#include "tagUtil.h"
#include "Compare.h"
#include "Hooks.h"
#include "IniFile.h"
#include "TreeView.h"
#include <algorithm>
#include <cstdlib>
#include <memory>

const char* const kCategoryNames[10] = {"General", "Actor",   "Item",       "Prop",      "Projectile",
                                        "Region",  "Physics", "Explosion", "Containers", "Tarvel only"};
const char kCheckParseCaption[] = "Cannot parse check in tags.txt...";

namespace {
const int kCategoryCodes[10] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 99};

std::vector<TCheck> g_preChecks;
std::vector<TCheck> g_postChecks;
std::vector<std::unique_ptr<TTagInfo>> g_tags;  // file order: the name and the id index at once

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// ENUM and FLAGS values are shown with their name or hexadecimal form after a blank.
std::string CutForType(const std::string& text, const std::string& dataType)
{
    const TDataType type = DataTypeFromName(dataType);
    if (type != dtENUM && type != dtFLAGS)
        return text;
    const size_t blank = text.find(' ');
    return blank == std::string::npos ? text : text.substr(0, blank);
}

std::string DataTypeOfTag(int tagId)
{
    const TTagInfo* info = FindTagInfoById(tagId);
    return info ? info->dataType : "";
}

bool CheckKeyExists(const TParsedCheck& check, const TTagInfo*, const std::string&, const std::string&,
                    const TCheckContext& context)
{
    return context.FindTagRow(static_cast<int>(ReadLeadingInt(check.items[1]))) >= 0;
}

bool CheckKeyValueInList(const TParsedCheck& check, const TTagInfo*, const std::string&,
                         const std::string&, const TCheckContext& context)
{
    const int tagId = static_cast<int>(ReadLeadingInt(check.items[1]));
    const int row = context.FindTagRow(tagId);
    if (row < 0)
        return false;
    const std::string type = DataTypeOfTag(tagId);
    const std::string value = CutForType(context.RowValue(row), type);
    const std::string inherited = CutForType(context.RowInherited(row), type);
    for (size_t i = 2; i < check.items.size(); ++i)
        if (value == check.items[i] || inherited == check.items[i])
            return true;
    return false;
}

bool CheckValueInList(const TParsedCheck& check, const TTagInfo*, const std::string& value,
                      const std::string& dataType, const TCheckContext&)
{
    const std::string shown = CutForType(value, dataType);
    for (size_t i = 1; i < check.items.size(); ++i)
        if (shown == check.items[i])
            return true;
    return false;
}

bool ReadNumber(const std::string& text, double& number)
{
    const char* start = text.c_str();
    char* end = nullptr;
    number = std::strtod(start, &end);
    return end != start;
}

// Numbers (and each component of vectors and colours) must lie within the two bounds, both
// inclusive. Text types have no range; bounds that are no numbers make the check pass, since
// the definition, not the value, is at fault.
bool CheckValueInRange(const TParsedCheck& check, const TTagInfo*, const std::string& value,
                       const std::string& dataType, const TCheckContext&)
{
    double low = 0.0, high = 0.0;
    if (!ReadNumber(check.items[1], low) || !ReadNumber(check.items[2], high))
        return true;
    const TDataType type = DataTypeFromName(dataType);
    if (type == dtUnknown || IsTextType(type))
        return true;
    const int components = (type == dtVECTOR || type == dtRGB) ? 3 : 1;
    std::string rest = CutForType(value, dataType);
    for (int i = 0; i < components; ++i) {
        const char* start = rest.c_str();
        char* end = nullptr;
        const double x = std::strtod(start, &end);
        if (end == start || !(x >= low && x <= high))
            return false;
        rest = end;
    }
    return true;
}

bool CheckTemplateExists(const TParsedCheck&, const TTagInfo*, const std::string& value,
                         const std::string&, const TCheckContext& context)
{
    return context.TemplateExists(value);
}

const TCheck* FindCheck(const std::vector<TCheck>& table, const std::string& name)
{
    for (const TCheck& c : table)
        if (c.name == name)
            return &c;
    return nullptr;
}

void ShowParseError(const char* text, const std::string& expression)
{
    MessageDlg(std::string(text) + "\n" + expression, kCheckParseCaption);
}

int CategoryIndex(const std::string& catText, int previous)
{
    if (catText.empty())
        return 0;
    int32_t code = 0;
    if (!ReadWholeInt(catText, code))
        return previous;
    for (int i = 0; i < 10; ++i)
        if (kCategoryCodes[i] == code)
            return i;
    return previous;
}

// The k of the section's CHECKk keys, ascending and each once: only keys that are there are read,
// so that neither a huge CHECKS count nor a huge k costs anything.
std::vector<int> CheckKeys(const TStringList& lines)
{
    std::vector<int> keys;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string& line = lines.Strings(i);
        const size_t eq = line.find('=');
        if (eq == std::string::npos || eq <= 5 || CompareTextAscii(line.substr(0, 5), "CHECK") != 0)
            continue;
        int32_t k = 0;
        if (ReadWholeInt(line.substr(5, eq - 5), k) && k >= 0)
            keys.push_back(k);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}
}  // namespace

void InitChecks()
{
    g_preChecks = {{"KEYEXISTS", 1, CheckKeyExists}, {"KEYVALUEINLIST", -2, CheckKeyValueInList}};
    g_postChecks = {{"VALUEINLIST", -1, CheckValueInList},
                    {"VALUEINRANGE", 2, CheckValueInRange},
                    {"TEMPLATEEXISTS", 0, CheckTemplateExists}};
}

void FreeChecks()
{
    g_preChecks.clear();
    g_postChecks.clear();
}

const std::vector<TCheck>& PreCheckTable()
{
    return g_preChecks;
}

const std::vector<TCheck>& PostCheckTable()
{
    return g_postChecks;
}

bool ParseCheck(const std::string& text, TParsedCheck& check)
{
    const size_t open = text.find('(');
    if (open == std::string::npos) {
        ShowParseError("Invalid check syntax, no '(' found!", text);
        return false;
    }
    const std::string name = text.substr(0, open);
    bool isPre = true;
    const TCheck* def = FindCheck(g_preChecks, name);
    if (!def) {
        isPre = false;
        def = FindCheck(g_postChecks, name);
    }
    if (!def) {
        ShowParseError("This check is not defined!", text);
        return false;
    }
    TParsedCheck parsed;
    parsed.items.push_back(name);
    parsed.func = def->func;
    parsed.isPreCheck = isPre;
    std::string arg;
    bool quoted = false;
    for (size_t i = open + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ' ') {
            if (quoted)
                arg += c;
        } else if ((c == ',' || c == ')') && !quoted && !arg.empty()) {
            parsed.items.push_back(arg);
            arg.clear();
        } else {
            arg += c;
        }
    }
    const int count = parsed.ArgCount();
    if (def->paramCount >= 0 && count != def->paramCount) {
        ShowParseError("Wrong number of parameters to check function!", text);
        return false;
    }
    if (def->paramCount < 0 && count < -def->paramCount) {
        ShowParseError("Not enough parameters to check function!", text);
        return false;
    }
    check = parsed;
    return true;
}

void LoadTagDefinitions(const std::string& path, TTreeView& tagsTree, const TPrintFunc& print)
{
    FreeTagDefinitions();
    TIniFile ini(path);
    tagsTree.BeginUpdate();
    tagsTree.Clear();
    TTreeNode* categories[10];
    for (int i = 0; i < 10; ++i)
        categories[i] = tagsTree.Add(kCategoryNames[i]);

    TStringList sections;
    ini.ReadSections(sections);
    int category = 0;  // a first tag with an unknown CAT goes to "General"
    for (int s = 0; s < sections.Count(); ++s) {
        const std::string section = sections.Strings(s);
        if (SameTextAscii(section, "Header"))
            continue;
        int32_t tagId = 0;
        if (!ReadWholeInt(section, tagId) || tagId < 0) {
            if (print)
                print("Skipped tag section [" + section + "]: its name is not a tag id");
            continue;
        }
        TStringList lines;
        ini.ReadSectionValues(section, lines);
        category = CategoryIndex(ini.ReadString(section, "CAT", ""), category);

        auto info = std::make_unique<TTagInfo>();
        std::string name = ini.ReadString(section, "NAME", "");
        if (name.empty())
            name = section;
        info->name = name;
        info->tagId = tagId;
        info->tagNode = tagsTree.AddChild(categories[category], name, info.get());
        tagsTree.AddChild(info->tagNode, "TAGID=" + section);

        for (int i = 0; i < lines.Count(); ++i) {
            const std::string& line = lines.Strings(i);
            if (StartsWith(line, "NAME=") || StartsWith(line, "CHECK") || StartsWith(line, "CAT"))
                continue;
            tagsTree.AddChild(info->tagNode, StartsWith(line, "DESC=") ? line.substr(5) : line);
            if (StartsWith(line, "DATATYPE="))
                info->dataType = line.substr(9);
            else if (StartsWith(line, "REF="))
                info->ref = line.substr(4);
            else if (StartsWith(line, "SORT="))
                info->sort = static_cast<int>(ReadLeadingInt(line.substr(5)));
        }

        const std::string checksText = ini.ReadString(section, "CHECKS", "");
        const int checks = static_cast<int>(ReadLeadingInt(checksText));
        if (!checksText.empty() && checks != 0) {
            TTreeNode* checksNode = tagsTree.AddChild(info->tagNode, "CHECKS");
            // Keys from CHECK0 to CHECKn-1 in order; a missing one reads empty and is skipped.
            for (const int k : CheckKeys(lines)) {
                if (k >= checks)
                    break;
                const std::string expression = ini.ReadString(section, "CHECK" + std::to_string(k), "");
                if (expression.empty())
                    continue;
                tagsTree.AddChild(checksNode, expression);
                TParsedCheck parsed;
                if (!ParseCheck(expression, parsed))
                    continue;
                auto& list = parsed.isPreCheck ? info->preChecks : info->postChecks;
                if (static_cast<int>(list.size()) >= MAX_CHECKS)
                    MessageDlg(parsed.isPreCheck ? "Out of prechecks!" : "Out of postchecks!",
                               kCheckParseCaption);
                else
                    list.push_back(parsed);
            }
        }
        g_tags.push_back(std::move(info));
    }
    tagsTree.EndUpdate();
    if (print)
        print("Opened tags file " + path);
}

void FreeTagDefinitions()
{
    g_tags.clear();
}

TTagInfo* FindTagInfo(const std::string& name)
{
    for (auto& tag : g_tags)
        if (SameTextAscii(tag->name, name))
            return tag.get();
    return nullptr;
}

TTagInfo* FindTagInfoById(int tagId)
{
    for (auto& tag : g_tags)
        if (tag->tagId == tagId)
            return tag.get();
    return nullptr;
}

std::string GetTagName(int tagId)
{
    const TTagInfo* info = FindTagInfoById(tagId);
    return info ? info->name : "";
}

int TagCount()
{
    return static_cast<int>(g_tags.size());
}

TTagInfo* TagAt(int index)
{
    return index >= 0 && index < TagCount() ? g_tags[index].get() : nullptr;
}
