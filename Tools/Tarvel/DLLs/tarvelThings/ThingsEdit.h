// The editing side of the things panel, apart from any window: the values the property pages
// show, how the known keys fill them, and every action that ends in set pair. The panel form
// copies its controls into these calls and shows what they return.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include "PairList.h"
#include "TemplateTree.h"

constexpr int THINGS_LIGHT_STYLES = 24;
constexpr int THINGS_KEY_VOCABULARY = 52;

extern const char* const ThingsKeyVocabulary[THINGS_KEY_VOCABULARY];
extern const char* const ThingsLightStyles[THINGS_LIGHT_STYLES];

// What the property pages show; every text box as its text.
struct TThingPages {
    std::string origin[3] = {"0", "0", "0"};
    std::string angles[3] = {"0", "0", "0"};  // pitch, yaw, roll
    std::string colour[3] = {"0", "0", "0"};  // R, G, B
    std::string intensity = "0";
    int style = -1;  // row of the style list, -1 none
    std::string falloff;
    bool editorOnly = false;
    std::string script, foley, aiClass, descriptionId, treasureClass;
    std::string sound;
    int volume = 0;  // 0..100
    int pan = 0;     // -100..100
    uint32_t soundFlags = 0;
    std::string minDist, maxDist;
};

// Fills the pages from the rows whose keys are known, in list order; a later key overrides an
// earlier one. `templateName` gets the TEMPLATE value, `soundValue` the SOUND value (empty when
// absent) for the tree look-up and the sound search. True when a SOUND key was read, even one
// with an empty value: the preview player then follows it.
bool ThingsPages_Read(const TPairList& pairs, TThingPages& pages, std::string& templateName,
                      std::string& soundValue);
// Apply Dists' correction of the distance texts: min >= 0, max > min, both as 32-bit floats.
void ThingsPages_CorrectDists(TThingPages& pages);
// Clears the sound part of the pages, as "Delete all sound key/value pairs" does.
void ThingsPages_ResetSound(TThingPages& pages);

// "%d %d %d" as the pages read it: reading stops at the first missing or unreadable number,
// which and all after it count as 0.
void Things_ReadThreeInts(const std::string& text, int out[3]);
// A whole text as a decimal integer; `fallback` when it is not one.
int Things_ReadInt(const std::string& text, int fallback);
// A decimal number in general format with up to 15 significant digits.
std::string Things_FormatNumber(double value);
// The colour dialog's start colour R + 256 G + 65536 B, each component held to 0..255.
uint32_t Things_ColourFromTexts(const std::string& r, const std::string& g, const std::string& b);
// The colour dialog's answer written into the R, G and B boxes in decimal.
void Things_ColourToTexts(uint32_t colour, TThingPages& pages);
bool Things_IsKnownKey(const std::string& key);
// A click on a pair row: a known key is chosen in the key chooser (as the vocabulary writes it)
// with the row's value; any other key clears both. False when the key is not known.
bool Things_RowChoice(const TPairRow& row, std::string& chosenKey, std::string& valueText);

// The sound file that previews a SOUND value: the first existing one of the sounds folder joined
// with "\Actors\", "\Environment\", "\Objects\", "\Music\", "\" and "\Placeholder\"; "" when none.
std::string ThingsSound_Find(const std::string& soundsFolder, const std::string& value,
                             const std::function<bool(const std::string&)>& exists);

enum TThingsConfirm {
    tcOrigin, tcOrientation, tcColor, tcTemplate, tcKey, tcLight, tcStyle, tcFalloff,
    tcEditorOnly, tcAllLight, tcScript, tcFoley, tcAIClass, tcDescriptionId, tcTreasureClass,
    tcVolume, tcPan, tcDists, tcDeleteScripts, tcDeleteSounds, tcNone
};
const char* ThingsConfirmText(TThingsConfirm which);
extern const char* const ThingsConfirmCaption;

class TThingsEditor {
public:
    TPairList pairs;
    bool autoApply = true;
    bool confirmMultiple = true;
    std::function<void()> onApply;                     // the host's ApplyCallback
    std::function<bool(const char* text)> askProceed;  // the question; true goes on

    // Set pair, then ApplyCallback while auto-apply is on.
    void SetPair(const std::string& key, const std::string& value);
    // Asks when more than one thing is selected and the option is on; false means cancelled.
    bool Confirm(TThingsConfirm which);

    // One button that writes one key: asks, then sets the pair. False when cancelled.
    bool Apply(TThingsConfirm which, const std::string& key, const std::string& value);
    // "Apply Template": only with a template leaf selected in the tree; otherwise no question.
    bool ApplyTemplate(const TTemplateTree& tree);
    // "Apply Key": only with a key chosen; otherwise no question.
    bool ApplyKey(const std::string& chosenKey, const std::string& value);
    bool ApplyOrigin(const TThingPages& p);
    bool ApplyOrientation(const TThingPages& p);
    bool ApplyColour(const TThingPages& p);
    bool ApplyLight(const TThingPages& p);
    bool ApplyStyle(const TThingPages& p);
    bool ApplyFalloff(const TThingPages& p);
    bool ApplyEditorOnly(const TThingPages& p);
    bool ApplyAllLightChanges(const TThingPages& p);
    bool ApplyFlags(const TThingPages& p);
    // Corrects the distance texts in place (min >= 0, max > min), then asks and sets both.
    bool ApplyDists(TThingPages& p);
    bool DeleteKey(int row);
    bool DeleteAllScripts();
    bool DeleteAllSounds();

private:
    void Announce();
    // Counts the changes of an action and, while auto-apply is on, tells the host once. True.
    bool Changed(int count);
    int changes = 0;
};
