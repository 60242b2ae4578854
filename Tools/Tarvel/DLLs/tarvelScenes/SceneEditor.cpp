#include "SceneEditor.h"
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "../tarvelText.h"
#include "Compare.h"

const char* const StaticSceneName = "__STATIC SCENE__";

const char* const SceneEaxPresets[SCENES_EAX_PRESETS] = {
    "GENERIC", "PADDEDCELL", "ROOM", "BATHROOM", "LIVINGROOM", "STONEROOM", "AUDITORIUM",
    "CONCERT HALL", "CAVE", "ARENA", "HANGAR", "CARPETED HALLWAY", "HALLWAY", "STONE CORRIDOR",
    "ALLEY", "FOREST", "CITY", "MOUNTAINS", "QUARRY", "PLAIN", "PARKING LOT", "SEWER PIPE",
    "UNDERWATER", "DRUGGED", "DIZZY", "PSYCHOTIC",
};
const char* const SceneFogModes[4] = {"None", "Linear", "Exponential 1", "Exponential 2"};

static const char* const notFoundText = "Couldn't find scene index!";
static const char* const staticDescription = "STATIC SCENE";

void SceneControls_Reset(TSceneControls& c)
{
    TSceneControls empty;
    empty.skyModel = c.skyModel;
    empty.skyAnim = c.skyAnim;
    c = empty;
}

// A float from the host shown in a control of range lo..hi, its fraction dropped.
static int HeldInt(float v, int lo, int hi)
{
    if (!(v >= (float)lo))  // also NaN
        return lo;
    if (v > (float)hi)
        return hi;
    return (int)v;
}

static int HeldInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

static std::string NumberText(float v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", (double)v);
    return text;
}

static float ReadNumber(const std::string& text)
{
    const char* p = text.c_str();
    char* end = nullptr;
    double v = std::strtod(p, &end);
    if (end == p)
        return 0;
    while (*end == ' ')
        end++;
    // A number no float holds (or none at all: nan, inf) would reach the host's renderer.
    if (*end != '\0' || !std::isfinite(v) || std::fabs(v) > FLT_MAX)
        return 0.0f;
    return (float)v;
}

// ---- layers ----

void TSceneEditor::SetLayers(const LayersInfo& info)
{
    for (int i = 0; i < SCENES_LAYERS; i++)
        layers[i] = tarvelField_Read(info.layerName[i], SCENES_NAME_LEN);
    controls.layerTicks = 0;
}

void TSceneEditor::GetLayers(LayersInfo& info) const
{
    for (int i = 0; i < SCENES_LAYERS; i++)
        tarvelField_WriteTerminated(info.layerName[i], SCENES_NAME_LEN, layers[i]);
}

bool TSceneEditor::RenameLayer(int index, const std::string& name)
{
    if (index < 0 || index >= SCENES_LAYERS)
        return false;
    layers[index] = name.substr(0, SCENES_NAME_LEN - 1);
    if (onRename)
        onRename();
    return true;
}

// ---- the block and the scene list ----

void TSceneEditor::SetScenes(const ScenesInfo& info)
{
    std::memcpy(&block, &info, sizeof block);
    if (block.sceneCount > SCENES_MAX)
        block.sceneCount = SCENES_MAX;
    SceneControls_Reset(controls);
    updating = true;
    entries.clear();
    selected = -1;
    InsertEntry(tarvelField_Read(block.staticScene.name, SCENES_NAME_LEN));
    for (uint32_t i = 0; i < block.sceneCount; i++)
        InsertEntry(tarvelField_Read(block.scene[i].name, SCENES_NAME_LEN));
    updating = false;
    modified = false;
    newUnsaved = false;
    Select(0);
    sceneListName = tarvelField_Read(block.sceneListName, SCENES_NAME_LEN);
    modified = false;
}

void TSceneEditor::GetScenes(ScenesInfo& info) const
{
    std::memcpy(&info, &block, sizeof block);
}

int TSceneEditor::InsertEntry(const std::string& name)
{
    size_t at = entries.size();
    while (at > 0 && CompareTextStable(entries[at - 1], name) > 0)
        at--;
    entries.insert(entries.begin() + at, name);
    if (selected >= (int)at)
        selected++;
    return (int)at;
}

void TSceneEditor::RemoveEntry(int index)
{
    bool was = updating;
    updating = true;
    entries.erase(entries.begin() + index);
    if (selected == index)
        selected = -1;
    else if (selected > index)
        selected--;
    updating = was;
}

int TSceneEditor::FindScene(const std::string& name) const
{
    for (uint32_t i = 0; i < block.sceneCount; i++)
        if (tarvelField_Read(block.scene[i].name, SCENES_NAME_LEN) == name)
            return (int)i;
    return -1;
}

bool TSceneEditor::Select(int index)
{
    if (index < 0 || index >= (int)entries.size())
        return false;
    if (index == selected)
        return true;
    std::string name = entries[index];
    if (!updating) {
        if (!ModifiedPrompt())
            return false;
        // The prompt may have taken a new scene off the list; find the entry again.
        index = -1;
        for (size_t i = 0; i < entries.size(); i++)
            if (entries[i] == name)
                index = (int)i;
        if (index < 0)
            return false;
    }
    selected = index;
    staticSelected = (name == StaticSceneName);
    if (!updating)
        Load(name);
    return true;
}

bool TSceneEditor::Load(const std::string& name)
{
    const SceneInfo* s = nullptr;
    if (staticSelected)
        s = &block.staticScene;
    else {
        int i = FindScene(name);
        if (i >= 0)
            s = &block.scene[i];
    }
    if (!s) {
        statusText = notFoundText;
        return false;
    }
    SceneControls_Reset(controls);
    if (staticSelected) {
        controls.shortDesc = controls.longDesc = staticDescription;
    } else if (describe) {
        describe(name, controls.shortDesc, controls.longDesc);
    }
    controls.layerTicks = s->layerMask;
    controls.flagTicks = s->flags;
    controls.music = tarvelField_Read(s->music, SCENES_NAME_LEN);
    controls.ambient = tarvelField_Read(s->ambient, SCENES_NAME_LEN);
    controls.musicVolume = HeldInt(s->musicVolume, 0, 100);
    controls.ambientVolume = HeldInt(s->ambientVolume, 0, 100);
    controls.soundEffectTicks = s->soundEffects;
    controls.eaxRow = (s->eaxPreset >= 0 && s->eaxPreset < SCENES_EAX_PRESETS) ? s->eaxPreset : -1;
    controls.fogMode = (s->fogMode >= 0 && s->fogMode < 4) ? s->fogMode : -1;
    controls.fogColour[0] = HeldInt(s->fogR, 0, 255);
    controls.fogColour[1] = HeldInt(s->fogG, 0, 255);
    controls.fogColour[2] = HeldInt(s->fogB, 0, 255);
    controls.fogDist1 = NumberText(s->fogDist1);
    controls.fogDist2 = NumberText(s->fogDist2);
    controls.zClip = HeldInt(s->zClipDist, 0, 32767);
    controls.atmTicks = s->atmEffects;
    controls.skyModel = tarvelField_Read(s->skyModel, SCENES_NAME_LEN);
    controls.skyAnim = tarvelField_Read(s->skyAnim, SCENES_NAME_LEN);
    modified = false;
    // A loaded scene is a stored one: a later Delete takes it out of the block too.
    newUnsaved = false;
    return true;
}

// ---- actions ----

void TSceneEditor::Refuse(const char* text, const char* caption)
{
    if (refuse)
        refuse(text, caption);
}

TSceneEditor::TStore TSceneEditor::Store()
{
    if (selected < 0 || !modified)
        return stNothing;
    const std::string& name = entries[selected];
    SceneInfo* s;
    if (staticSelected) {
        s = &block.staticScene;
    } else {
        int i = FindScene(name);
        if (i < 0) {
            if (block.sceneCount >= SCENES_MAX) {
                Refuse("The chronicle holds 16 scenes, no more can be stored.", "Cannot save Scene...");
                return stRefused;
            }
            i = (int)block.sceneCount++;
            std::memset(&block.scene[i], 0, sizeof(SceneInfo));
            tarvelField_Write(block.scene[i].name, SCENES_NAME_LEN, name);
        }
        s = &block.scene[i];
        s->layerMask = controls.layerTicks;
    }
    s->flags = controls.flagTicks;
    s->soundEffects = controls.soundEffectTicks;
    s->atmEffects = controls.atmTicks;
    tarvelField_Write(s->music, SCENES_NAME_LEN, controls.music);
    tarvelField_Write(s->ambient, SCENES_NAME_LEN, controls.ambient);
    s->musicVolume = controls.musicVolume;
    s->ambientVolume = controls.ambientVolume;
    s->eaxPreset = controls.eaxRow;
    s->fogMode = controls.fogMode;
    s->fogR = (float)controls.fogColour[0];
    s->fogG = (float)controls.fogColour[1];
    s->fogB = (float)controls.fogColour[2];
    s->fogDist1 = ReadNumber(controls.fogDist1);
    s->fogDist2 = ReadNumber(controls.fogDist2);
    s->zClipDist = (float)controls.zClip;
    tarvelField_Write(s->skyModel, SCENES_NAME_LEN, controls.skyModel);
    tarvelField_Write(s->skyAnim, SCENES_NAME_LEN, controls.skyAnim);
    modified = false;
    newUnsaved = false;
    return stSaved;
}

bool TSceneEditor::Save()
{
    bool saved = Store() == stSaved;
    if (onSave)
        onSave();
    return saved;
}

void TSceneEditor::Remove()
{
    if (selected < 0 || staticSelected)
        return;
    if (!newUnsaved) {
        int i = FindScene(entries[selected]);
        if (i < 0) {
            statusText = notFoundText;
            return;
        }
        for (uint32_t j = (uint32_t)i; j + 1 < block.sceneCount; j++)
            block.scene[j] = block.scene[j + 1];
        block.sceneCount--;
        // The freed place carries no scene any more.
        std::memset(&block.scene[block.sceneCount], 0, sizeof(SceneInfo));
    }
    RemoveEntry(selected);
    // No entry is selected now: the pages show nothing rather than the scene that went.
    controls = TSceneControls();
    modified = false;
    newUnsaved = false;
}

void TSceneEditor::Delete()
{
    Remove();
    if (onSave)
        onSave();
}

// Yes saves as Save does and No drops a new scene as Delete does, both without telling the host:
// it hears of the block at the next Save or Delete. A save that is refused stops the action, so
// nothing typed is lost.
bool TSceneEditor::ModifiedPrompt()
{
    if (!modified)
        return true;
    TSceneAnswer answer = ask ? ask("The current scene has been modified, do you want to save it ?", "Warning:")
                              : saCancel;
    switch (answer) {
    case saYes:
        return Store() != stRefused;
    case saNo:
        if (newUnsaved)
            Remove();
        modified = false;
        return true;
    default:
        return false;
    }
}

void TSceneEditor::DropUnsaved()
{
    if (newUnsaved)
        Remove();
    else if (modified && selected >= 0)
        Load(entries[selected]);
    modified = false;
}

bool TSceneEditor::AddNewScene(const std::string& picked)
{
    const char* caption = "Cannot create New Scene...";
    if (picked.empty()) {
        Refuse("Null scene name!", caption);
        return false;
    }
    for (const std::string& e : entries)
        if (SameTextAscii(e, picked)) {
            Refuse("A scene with this name already exists!", caption);
            return false;
        }
    // A cut name would no longer match its entry and would be stored a second time.
    if (picked.size() > SCENES_NAME_LEN) {
        Refuse("The scene name is longer than 32 characters!", caption);
        return false;
    }
    SceneControls_Reset(controls);
    if (describe)
        describe(picked, controls.shortDesc, controls.longDesc);
    updating = true;
    selected = InsertEntry(picked);
    updating = false;
    staticSelected = false;
    modified = true;
    newUnsaved = true;
    return true;
}

void TSceneEditor::ChooseSceneList(const std::string& path)
{
    std::string name = tarvelPath_Title(path);
    sceneListName = name;
    tarvelField_Write(block.sceneListName, SCENES_NAME_LEN, name);
}
