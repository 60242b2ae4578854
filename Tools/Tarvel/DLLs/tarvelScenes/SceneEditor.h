// The scene editor apart from its window: the editor's copy of the scenes block, the layer
// names, the scene list, what the controls show, and every action of the tool bar and pages.
// The "Scene Editor" form mirrors its controls into TSceneControls and calls these actions.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "ScenesRecords.h"

constexpr int SCENES_EAX_PRESETS = 26;
extern const char* const SceneEaxPresets[SCENES_EAX_PRESETS];
extern const char* const SceneFogModes[4];

// What the editor's controls show for the scene in hand.
struct TSceneControls {
    std::string shortDesc, longDesc;
    std::string layerName;  // the "Layer Name" box of the Layers page
    uint32_t layerTicks = 0, flagTicks = 0, soundEffectTicks = 0, atmTicks = 0;
    std::string music, ambient;
    int musicVolume = 0, ambientVolume = 0;  // 0..100
    int eaxRow = 0;                          // -1 none
    int fogMode = 0;                         // -1 none
    int fogColour[3] = {0, 0, 0};            // 0..255
    std::string fogDist1 = "0", fogDist2 = "0";
    int zClip = 0;  // 0..32767
    std::string skyModel = "sky.qev", skyAnim = "sky.jup";
};
// Empties every control but the sky names.
void SceneControls_Reset(TSceneControls& c);

enum TSceneAnswer { saYes, saNo, saCancel };

class TSceneEditor {
public:
    // Host callbacks and the editor's questions; every one may be left empty.
    std::function<void()> onSave, onRename;
    std::function<TSceneAnswer(const char* text, const char* caption)> ask;  // Yes/No/Cancel
    std::function<void(const char* text, const char* caption)> refuse;      // exclamation box
    // The short and long description of a scene from the scene-list file.
    std::function<void(const std::string& scene, std::string& shortDesc, std::string& longDesc)> describe;

    void SetLayers(const LayersInfo& info);
    void GetLayers(LayersInfo& info) const;
    void SetScenes(const ScenesInfo& info);
    void GetScenes(ScenesInfo& info) const;
    void SetChronicle(const std::string& name) { sceneListName = name; }

    // The user selects entry `index` of the scene list; false when the modified prompt was
    // cancelled and the old selection stays.
    bool Select(int index);
    void MarkModified() { modified = true; }

    bool Save();    // the Save button; true when the scene was written
    void Delete();  // the Delete button
    // New scene: the prompt before the picker opens; then the picker's name after OK.
    bool BeforeNewScene() { return ModifiedPrompt(); }
    bool AddNewScene(const std::string& picked);
    // Scene list: the prompt before the dialog opens; then the chosen file after OK.
    bool BeforeChooseSceneList() { return ModifiedPrompt(); }
    void ChooseSceneList(const std::string& path);
    // Quit: a new scene that was never saved leaves the list, a modified stored scene shows
    // its stored values again. Nothing is asked and the block is not touched.
    void DropUnsaved();
    // "Rename" on the Layers page: at most 31 characters are kept.
    bool RenameLayer(int index, const std::string& name);

    TSceneControls controls;
    const std::vector<std::string>& Entries() const { return entries; }
    int Selected() const { return selected; }
    const std::string& Layer(int i) const { return layers[i]; }
    const std::string& SceneListName() const { return sceneListName; }
    const std::string& StatusText() const { return statusText; }
    uint32_t SceneCount() const { return block.sceneCount; }
    bool Modified() const { return modified; }
    bool NewUnsaved() const { return newUnsaved; }
    bool StaticSelected() const { return staticSelected; }
    int FindScene(const std::string& name) const;  // stored scene of exactly that name, or -1

private:
    enum TStore { stNothing, stSaved, stRefused };
    TStore Store();
    void Remove();
    bool Load(const std::string& name);
    bool ModifiedPrompt();
    int InsertEntry(const std::string& name);
    void RemoveEntry(int index);
    void Refuse(const char* text, const char* caption);

    ScenesInfo block = {};
    std::string layers[SCENES_LAYERS];
    std::string sceneListName;
    std::vector<std::string> entries;  // sorted by name
    int selected = -1;
    std::string statusText;
    bool modified = false, newUnsaved = false, updating = false, staticSelected = false;
};
