#include "ThingsEdit.h"
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include "../tarvelText.h"
#include "Compare.h"

const char* const ThingsKeyVocabulary[THINGS_KEY_VOCABULARY] = {
    "*AICLASS", "*DESCRIPTIONID", "*FOLEY", "*SCRIPT", "*TREASURECLASS", "ANGLE", "ANGLES",
    "CLASSNAME", "COLOR", "EDITORONLY", "FALLOFF", "LAYERS", "LIGHT", "ORDER", "ORIGIN",
    "QAR_ANGLES", "SECTORNAME", "SOUND", "SOUNDVOLUME", "SOUNDPAN", "SOUNDFLAGS", "SOUNDMINDIST",
    "SOUNDMAXDIST", "STYLE", "TARGET", "TARGETNAME", "TEMPLATE", "UMBRA", "PENUMBRA",
    "DESTINATION", "CODEXCLASSNAME", "CODEXPARAMS",
    "CODEXPTYPE0", "CODEXPVALUE0", "CODEXPTYPE1", "CODEXPVALUE1", "CODEXPTYPE2", "CODEXPVALUE2",
    "CODEXPTYPE3", "CODEXPVALUE3", "CODEXPTYPE4", "CODEXPVALUE4", "CODEXPTYPE5", "CODEXPVALUE5",
    "CODEXPTYPE6", "CODEXPVALUE6", "CODEXPTYPE7", "CODEXPVALUE7", "CODEXPTYPE8", "CODEXPVALUE8",
    "CODEXPTYPE9", "CODEXPVALUE9",
};

const char* const ThingsLightStyles[THINGS_LIGHT_STYLES] = {
    "Always on, constant intensity", "Flickering torch, low turbulence",
    "Flickering torch, med turbulence", "Flickering torch, high turbulence", "Slow pulse",
    "Medium pulse, low val .2", "Fast pulse, low val .5", "Slow fluorescent flicker",
    "Med fluorescent flicker", "Fast fluorescent flicker", "(unused)", "(unused)", "(unused)",
    "(unused)", "(unused)", "(unused)", "Constant - User 0", "Constant - User 1",
    "Constant - User 2", "Constant - User 3", "Constant - User 4", "Constant - User 5",
    "Constant - User 6", "Constant - User 7",
};

const char* const ThingsConfirmCaption = "Multiple selection warning";

const char* ThingsConfirmText(TThingsConfirm which)
{
    switch (which) {
    case tcOrigin: return "You are about to apply this origin to more than one thing. Proceed ?";
    case tcOrientation: return "You are about to apply this orientation to more than one thing. Proceed ?";
    case tcColor: return "You are about to apply this color to more than one thing. Proceed ?";
    case tcTemplate: return "You are about to apply this template to more than one thing. Proceed ?";
    case tcKey: return "You are about to apply this value to more than one thing. Proceed ?";
    case tcLight: return "You are about to apply this light value to more than one thing. Proceed ?";
    case tcStyle: return "You are about to apply this light style to more than one thing. Proceed ?";
    case tcFalloff: return "You are about to apply this falloff to more than one thing. Proceed ?";
    case tcEditorOnly: return "You are about to apply this editor only setting to more than one thing. Proceed ?";
    case tcAllLight: return "You are about to apply all light changes to more than one thing. Proceed ?";
    case tcScript: return "You are about to apply this script to more than one thing. Proceed ?";
    case tcFoley: return "You are about to apply this foley to more than one thing. Proceed ?";
    case tcAIClass: return "You are about to apply this ai class to more than one thing. Proceed ?";
    case tcDescriptionId: return "You are about to apply this descriptionID to more than one thing. Proceed ?";
    case tcTreasureClass: return "You are about to apply this treasure class to more than one thing. Proceed ?";
    case tcVolume: return "You are about to apply this volume value to more than one thing. Proceed ?";
    case tcPan: return "You are about to apply this pan value to more than one thing. Proceed ?";
    case tcDists: return "You are about to apply these sound distance values to more than one thing. Proceed ?";
    case tcDeleteScripts: return "You are about to delete the codex values of more than one thing. Proceed ?";
    case tcDeleteSounds: return "You are about to delete the sound values of more than one thing. Proceed ?";
    default: return nullptr;
    }
}

// ---- reading numbers ----

static bool ReadLong(const char*& p, long& out)
{
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(p, &end, 10);
    if (end == p)
        return false;
    p = end;
    out = v;
    return true;
}

void Things_ReadThreeInts(const std::string& text, int out[3])
{
    out[0] = out[1] = out[2] = 0;
    const char* p = text.c_str();
    for (int i = 0; i < 3; i++) {
        long v;
        if (!ReadLong(p, v))
            return;
        out[i] = (int)v;
    }
}

int Things_ReadInt(const std::string& text, int fallback)
{
    const char* p = text.c_str();
    long v;
    if (!ReadLong(p, v) || errno == ERANGE)
        return fallback;
    while (*p == ' ')
        p++;
    return *p == '\0' ? (int)v : fallback;
}

static bool ReadDouble(const std::string& text, double& out)
{
    const char* p = text.c_str();
    char* end = nullptr;
    double v = std::strtod(p, &end);
    if (end == p)
        return false;
    while (*end == ' ')
        end++;
    if (*end != '\0')
        return false;
    out = v;
    return true;
}

std::string Things_FormatNumber(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

static int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

uint32_t Things_ColourFromTexts(const std::string& r, const std::string& g, const std::string& b)
{
    uint32_t cr = (uint32_t)Clamp(Things_ReadInt(r, 0), 0, 255);
    uint32_t cg = (uint32_t)Clamp(Things_ReadInt(g, 0), 0, 255);
    uint32_t cb = (uint32_t)Clamp(Things_ReadInt(b, 0), 0, 255);
    return cr + 256 * cg + 65536 * cb;
}

void Things_ColourToTexts(uint32_t colour, TThingPages& pages)
{
    for (int i = 0; i < 3; i++)
        pages.colour[i] = std::to_string((colour >> (8 * i)) & 0xFF);
}

static const char* VocabularyKey(const std::string& key)
{
    for (const char* k : ThingsKeyVocabulary)
        if (SameTextAscii(k, key))
            return k;
    return nullptr;
}

bool Things_IsKnownKey(const std::string& key) { return VocabularyKey(key) != nullptr; }

bool Things_RowChoice(const TPairRow& row, std::string& chosenKey, std::string& valueText)
{
    const char* known = VocabularyKey(row.key);
    chosenKey = known ? known : "";
    valueText = known ? row.value : "";
    return known != nullptr;
}

// ---- the pages ----

static void ThreeIntsToTexts(const std::string& value, std::string out[3])
{
    int v[3];
    Things_ReadThreeInts(value, v);
    for (int i = 0; i < 3; i++)
        out[i] = std::to_string(v[i]);
}

static std::string DistanceText(const std::string& value)
{
    double d = 0;
    ReadDouble(value, d);
    return Things_FormatNumber(d);
}

void ThingsPages_ResetSound(TThingPages& pages)
{
    TThingPages empty;
    pages.sound = empty.sound;
    pages.volume = empty.volume;
    pages.pan = empty.pan;
    pages.soundFlags = empty.soundFlags;
    pages.minDist = empty.minDist;
    pages.maxDist = empty.maxDist;
}

bool ThingsPages_Read(const TPairList& pairs, TThingPages& pages, std::string& templateName,
                      std::string& soundValue)
{
    bool soundRead = false;
    templateName.clear();
    soundValue.clear();
    for (const TPairRow& row : pairs.Rows()) {
        const std::string key = tarvelText_ToUpper(row.key);
        const std::string& v = row.value;
        if (key == "TEMPLATE")
            templateName = v;
        else if (key == "ORIGIN")
            ThreeIntsToTexts(v, pages.origin);
        else if (key == "ANGLE") {
            pages.angles[0] = "0";
            pages.angles[1] = std::to_string(Things_ReadInt(v, 0));
            pages.angles[2] = "0";
        } else if (key == "ANGLES")
            ThreeIntsToTexts(v, pages.angles);
        else if (key == "COLOR")
            ThreeIntsToTexts(v, pages.colour);
        else if (key == "LIGHT")
            pages.intensity = v;
        else if (key == "STYLE") {
            int n = Things_ReadInt(v, 0);
            pages.style = (n >= 0 && n < THINGS_LIGHT_STYLES) ? n : -1;
        } else if (key == "FALLOFF")
            pages.falloff = v;
        else if (key == "EDITORONLY")
            pages.editorOnly = (v == "1");
        else if (key == "*SCRIPT")
            pages.script = v;
        else if (key == "*FOLEY")
            pages.foley = v;
        else if (key == "*AICLASS")
            pages.aiClass = v;
        else if (key == "*DESCRIPTIONID")
            pages.descriptionId = v;
        else if (key == "*TREASURECLASS")
            pages.treasureClass = v;
        else if (key == "SOUND") {
            pages.sound = v;
            soundValue = v;
            soundRead = true;
        } else if (key == "SOUNDVOLUME")
            pages.volume = Clamp(Things_ReadInt(v, 0), 0, 100);
        else if (key == "SOUNDPAN")
            pages.pan = Clamp(Things_ReadInt(v, 0), -100, 100);
        else if (key == "SOUNDFLAGS")
            pages.soundFlags = (uint32_t)Things_ReadInt(v, 0);
        else if (key == "SOUNDMINDIST")
            pages.minDist = DistanceText(v);
        else if (key == "SOUNDMAXDIST")
            pages.maxDist = DistanceText(v);
    }
    return soundRead;
}

std::string ThingsSound_Find(const std::string& soundsFolder, const std::string& value,
                             const std::function<bool(const std::string&)>& exists)
{
    static const char* const subFolders[] = {"\\Actors\\", "\\Environment\\", "\\Objects\\",
                                             "\\Music\\", "\\", "\\Placeholder\\"};
    if (value.empty())
        return "";
    for (const char* sub : subFolders) {
        std::string path = soundsFolder + sub + value;
        if (exists(path))
            return path;
    }
    return "";
}

// ---- actions ----

void TThingsEditor::Announce()
{
    if (onApply)
        onApply();
}

bool TThingsEditor::Changed(int count)
{
    changes += count;
    if (autoApply)
        Announce();
    return true;
}

void TThingsEditor::SetPair(const std::string& key, const std::string& value)
{
    pairs.SetPair(key, value);
    Changed(1);
}

bool TThingsEditor::Confirm(TThingsConfirm which)
{
    const char* text = ThingsConfirmText(which);
    if (!text || pairs.SelectedCount() <= 1 || !confirmMultiple || !askProceed)
        return true;
    return askProceed(text);
}

bool TThingsEditor::Apply(TThingsConfirm which, const std::string& key, const std::string& value)
{
    if (!Confirm(which))
        return false;
    SetPair(key, value);
    return true;
}

bool TThingsEditor::ApplyTemplate(const TTemplateTree& tree)
{
    if (!tree.IsLeaf(tree.SelectedNode()))
        return false;
    return Apply(tcTemplate, "TEMPLATE", tree.Node(tree.SelectedNode()).text);
}

bool TThingsEditor::ApplyKey(const std::string& chosenKey, const std::string& value)
{
    if (chosenKey.empty())
        return false;
    return Apply(tcKey, chosenKey, value);
}

static std::string Join3(const std::string v[3]) { return v[0] + " " + v[1] + " " + v[2]; }

bool TThingsEditor::ApplyOrigin(const TThingPages& p) { return Apply(tcOrigin, "ORIGIN", Join3(p.origin)); }
bool TThingsEditor::ApplyColour(const TThingPages& p) { return Apply(tcColor, "COLOR", Join3(p.colour)); }
bool TThingsEditor::ApplyLight(const TThingPages& p) { return Apply(tcLight, "LIGHT", p.intensity); }
bool TThingsEditor::ApplyStyle(const TThingPages& p) { return Apply(tcStyle, "STYLE", std::to_string(p.style)); }
bool TThingsEditor::ApplyFalloff(const TThingPages& p) { return Apply(tcFalloff, "FALLOFF", p.falloff); }
bool TThingsEditor::ApplyEditorOnly(const TThingPages& p) { return Apply(tcEditorOnly, "EDITORONLY", p.editorOnly ? "1" : "0"); }
bool TThingsEditor::ApplyFlags(const TThingPages& p) { return Apply(tcNone, "SOUNDFLAGS", std::to_string(p.soundFlags)); }

// ANGLES replaces an older ANGLE key; both changes reach the host through one ApplyCallback,
// made after the removal, so the host never fetches a record that still holds ANGLE.
bool TThingsEditor::ApplyOrientation(const TThingPages& p)
{
    if (!Confirm(tcOrientation))
        return false;
    pairs.SetPair("ANGLES", Join3(p.angles));
    int angle = pairs.Find("ANGLE");
    if (angle >= 0)
        pairs.DeleteRow(angle);
    return Changed(1);
}

// Colour, light, falloff and editor-only are set quietly and the style's set pair announces the
// whole action. When the style is refused, the changes made before it are still announced once.
bool TThingsEditor::ApplyAllLightChanges(const TThingPages& p)
{
    if (!Confirm(tcAllLight))
        return false;
    bool savedAutoApply = autoApply;
    int changesBefore = changes;
    autoApply = false;
    ApplyColour(p);
    ApplyLight(p);
    ApplyFalloff(p);
    ApplyEditorOnly(p);
    autoApply = savedAutoApply;
    bool styled = ApplyStyle(p);
    if (!styled && changes != changesBefore && autoApply)
        Announce();
    return true;
}

// A distance no float holds, or no number at all (nan, inf), counts as unreadable: 0.
static float DistanceOf(const std::string& text)
{
    double d = 0;
    ReadDouble(text, d);
    return std::isfinite(d) && std::fabs(d) <= FLT_MAX ? (float)d : 0.0f;
}

void ThingsPages_CorrectDists(TThingPages& p)
{
    float fmin = DistanceOf(p.minDist), fmax = DistanceOf(p.maxDist);
    if (!(fmin >= 0))
        fmin = 0;
    if (!(fmax > fmin))
        fmax = fmin + 1;
    p.minDist = Things_FormatNumber(fmin);
    p.maxDist = Things_FormatNumber(fmax);
}

bool TThingsEditor::ApplyDists(TThingPages& p)
{
    ThingsPages_CorrectDists(p);
    if (!Confirm(tcDists))
        return false;
    SetPair("SOUNDMINDIST", p.minDist);
    SetPair("SOUNDMAXDIST", p.maxDist);
    return true;
}

bool TThingsEditor::DeleteKey(int row)
{
    return pairs.DeleteRow(row) && Changed(1);
}

static bool IsScriptKey(const std::string& key) { return key == "*SCRIPT" || key.compare(0, 5, "CODEX") == 0; }
static bool IsSoundKey(const std::string& key) { return key.compare(0, 5, "SOUND") == 0; }

bool TThingsEditor::DeleteAllScripts()
{
    return Confirm(tcDeleteScripts) && Changed(pairs.DeleteRowsWhere(IsScriptKey));
}

bool TThingsEditor::DeleteAllSounds()
{
    return Confirm(tcDeleteSounds) && Changed(pairs.DeleteRowsWhere(IsSoundKey));
}
