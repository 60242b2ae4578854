// The chronicle's scene-list file (game folder + "\Chronicles\" + name + ".rix"), an INI file
// with one section per scene, and the scene picker's list built from it. The file is opened
// anew on every call and nothing stays open.
#pragma once
#include <functional>
#include <string>
#include <vector>

class TSceneListReader {
public:
    std::string baseDir;
    std::string sceneListName;
    // Turns a description identifier into the text to show (the host's GLSCallback); a null
    // result shows as empty text. Without it the identifier itself is shown.
    std::function<const char*(const char* id)> translate;

    std::string FileName() const;
    // Section names in file order; a missing file gives none.
    std::vector<std::string> SceneNames() const;
    // SHORTDESC and LONGDESC of the scene (defaults when missing), each through `translate`.
    void Descriptions(const std::string& scene, std::string& shortText, std::string& longText) const;

private:
    std::string Translate(const std::string& id) const;
};

// What the "ScenePicker" window lists and which name it hands back.
class TScenePicker {
public:
    struct Entry {
        std::string name;
        std::string shortDesc;
    };
    // Lists every scene of the file with its short description, sorted by name; the picked
    // name is not touched while filling.
    void Fill(const TSceneListReader& reader);
    // The user changes the selected entry (-1: none); the picked name follows, and is empty
    // when nothing is selected.
    void Select(int index);
    // "OK" ends as OK only with a selected entry; a double-click always ends as OK.
    bool OkAccepted() const { return selected >= 0; }

    const std::vector<Entry>& Entries() const { return entries; }
    int Selected() const { return selected; }
    std::string picked;  // shared with the editor, which empties it before the picker opens

private:
    std::vector<Entry> entries;
    int selected = -1;
};
