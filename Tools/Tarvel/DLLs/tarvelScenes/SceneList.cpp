#include "SceneList.h"
#include <algorithm>
#include "Compare.h"
#include "IniFile.h"
#include "StringList.h"

std::string TSceneListReader::FileName() const
{
    return baseDir + "\\Chronicles\\" + sceneListName + ".rix";
}

std::vector<std::string> TSceneListReader::SceneNames() const
{
    TIniFile ini(FileName());
    TStringList sections;
    ini.ReadSections(sections);
    std::vector<std::string> names;
    for (int i = 0; i < sections.Count(); i++)
        names.push_back(sections.Strings(i));
    return names;
}

// The text is copied at once: a host may hand the same buffer back for every identifier.
std::string TSceneListReader::Translate(const std::string& id) const
{
    if (!translate)
        return id;
    const char* text = translate(id.c_str());
    return text ? std::string(text) : std::string();
}

void TSceneListReader::Descriptions(const std::string& scene, std::string& shortText,
                                    std::string& longText) const
{
    TIniFile ini(FileName());
    shortText = Translate(ini.ReadString(scene, "SHORTDESC", "SCENE_ERROR_NOSHORTDESC"));
    longText = Translate(ini.ReadString(scene, "LONGDESC", "SCENE_ERROR_NOLONGDESC"));
}

void TScenePicker::Fill(const TSceneListReader& reader)
{
    entries.clear();
    selected = -1;
    for (const std::string& name : reader.SceneNames()) {
        Entry e{name, ""};
        std::string longText;
        reader.Descriptions(name, e.shortDesc, longText);
        entries.push_back(e);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return CompareTextStable(a.name, b.name) < 0;
    });
}

void TScenePicker::Select(int index)
{
    selected = (index >= 0 && index < (int)entries.size()) ? index : -1;
    picked = selected >= 0 ? entries[selected].name : std::string();
}
