#include "SceneEditorForm.h"
#include <commctrl.h>
#include "Dialogs.h"
#include "SceneEditor.h"
#include "ScenePickerForm.h"

namespace {
constexpr UINT WM_SELECT_PENDING = WM_APP + 1;  // takes up a scene the user clicked
constexpr int kRow = 24;                         // height of one row of controls on a page
constexpr int kLabelWidth = 100;

const std::vector<std::string> soundEffectNames = {"Echo"};
const std::vector<std::string> atmEffectNames = {"Rain", "Lighning", "Snow"};

// A check list of items at the page's left edge; every tick is a change of the scene.
void MakeTickList(TCheckListBox& list, TControl* page, int top, int width, int height,
                  const std::vector<std::string>& items, const std::function<void()>& changed)
{
    list.Create(page, 8, top, width, height);
    for (const std::string& item : items)
        list.AddItem(item);
    list.OnClickCheck = [changed](int) { changed(); };
}

// The sum of 2 to the power i over the ticked items i.
uint32_t Ticks(const TCheckListBox& list)
{
    uint32_t ticks = 0;
    for (int i = 0; i < list.Count() && i < 32; i++)
        if (list.Checked(i))
            ticks |= 1u << i;
    return ticks;
}

void ShowTicks(TCheckListBox& list, uint32_t ticks)
{
    for (int i = 0; i < list.Count() && i < 32; i++)
        list.SetChecked(i, (ticks >> i) & 1);
}
}  // namespace

TSceneEditorForm::TSceneEditorForm(TSceneEditor& editor, const std::string& baseDir,
                                   std::function<TSceneListReader()> sceneList)
    : editor_(editor), baseDir_(baseDir), sceneList_(std::move(sceneList))
{
}

TSceneEditorForm::~TSceneEditorForm()
{
    DestroyForm();
}

bool TSceneEditorForm::Create()
{
    // A top-level window without owner and without border icons.
    // Left of the centre, so that the picker, centred on the screen, stands out beside it.
    const int width = 660, height = 500;
    return CreateForm("Scene Editor", (GetSystemMetrics(SM_CXSCREEN) - width) / 8,
                      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, fkPlainTopLevel);
}

void TSceneEditorForm::CreateComponents()
{
    TBMain.Create(this, 0, 0, 100, 28);
    TBMain.SetAlign(alTop);
    TBMain.UseStandardImages();
    auto click = [this](void (TSceneEditorForm::*handler)(TToolButton*)) {
        return [this, handler](TToolButton* sender) { (this->*handler)(sender); };
    };
    TBNew = TBMain.AddButton(STD_FILENEW, "Pick a new scene from the Chronicle file...",
                             click(&TSceneEditorForm::TBNewClick));
    TBSave = TBMain.AddButton(STD_FILESAVE, "Save the Scene changes", click(&TSceneEditorForm::TBSaveClick));
    TBMain.AddSeparator();
    TBSceneList = TBMain.AddButton(STD_FILEOPEN, "Select the current scene list",
                                   click(&TSceneEditorForm::TBSceneListClick));
    TBDelete = TBMain.AddButton(STD_DELETE, "Delete the currently selected scene",
                                click(&TSceneEditorForm::TBDeleteClick));
    TBMain.AddSeparator();
    TBQuit = TBMain.AddButton(STD_UNDO, "Exit the Scene Editor", click(&TSceneEditorForm::TBQuitClick));

    SBMain.Create(this);
    SBMain.SetAlign(alBottom);
    SBMain.SetPanels({50, 40, 70, 140, -1});
    SBMain.SetPanelText(0, "Scenes");
    SBMain.SetPanelText(2, "Scene List");
    SBMain.OnDblClick = [this](TControl* sender) { SBMainDblClick(sender); };

    PNScenes.Create(this, 0, 0, 150, 100);
    PNScenes.SetAlign(alLeft);
    LVScenes.Create(&PNScenes, 0, 0, 150, 100);
    LVScenes.SetAlign(alClient);
    LVScenes.SetRowSelect(true);
    LVScenes.AddColumn("Scenes", 146);
    LVScenes.SetSortColumn(0);
    LVScenes.OnChange = [this](int item) { LVScenesChange(item); };

    SPScenes.Create(this, &PNScenes);
    SPScenes.SetAlign(alLeft);
    SPScenes.SetMinSize(120);
    SPScenes.SetMaxSize(300);
    SPScenes.OnMoved = [this] { SPScenesMoved(); };

    PCPages.Create(this, 0, 0, 400, 300);
    PCPages.SetAlign(alClient);
    PCPages.OnChange = [this] { PCPagesChange(); };
    CreateDescriptionPage();
    CreateLayersPage();
    CreateFlagsPage();
    CreateSoundPage();
    CreateRenderPage();
    CreateSkyPage();
    AlignControls();
    ShowStatus();
    // Each run of the editor starts in the scene list.
    OnActivate = [this] {
        if (focusList_)
            LVScenes.SetFocus();
        focusList_ = false;
    };
}

void TSceneEditorForm::CreateDescriptionPage()
{
    TSDescription = PCPages.AddPage("Description");
    LAShortDesc.Create(TSDescription, "Short Description", 8, 8, 200, 16);
    EDShortDesc.Create(TSDescription, 8, 26, 440, 22);
    EDShortDesc.SetReadOnly(true);
    LALongDesc.Create(TSDescription, "Long Description", 8, 58, 200, 16);
    MMLongDesc.Create(TSDescription, 8, 76, 440, 200);
    MMLongDesc.SetReadOnly(true);
}

void TSceneEditorForm::CreateLayersPage()
{
    TSLayers = PCPages.AddPage("Layers");
    MakeTickList(CLBLayers, TSLayers, 8, 240, 350, std::vector<std::string>(SCENES_LAYERS),
                 [this] { Changed(); });
    CLBLayers.OnClick = [this](TControl* sender) { CLBLayersClick(sender); };
    LALayerName.Create(TSLayers, "Layer Name", 260, 8, 180, 16);
    EDLayerName.Create(TSLayers, 260, 26, 180, 22);
    // The typed name is kept with the controls, but naming a layer is no change of the scene.
    EDLayerName.OnChange = [this] {
        if (!ChangingByProgram())
            editor_.controls.layerName = EDLayerName.Text();
    };
    BNRename.Create(TSLayers, "Rename", 260, 56, 80, 25);
    BNRename.OnClick = [this](TControl* sender) { BNRenameClick(sender); };
}

void TSceneEditorForm::CreateFlagsPage()
{
    TSFlags = PCPages.AddPage("Flags");
    std::vector<std::string> flags(32, "-");
    flags[0] = "EXTERIOR";
    MakeTickList(CLBFlags, TSFlags, 8, 240, 350, flags, [this] { Changed(); });
}

void TSceneEditorForm::CreateSoundPage()
{
    TSSound = PCPages.AddPage("Sound");
    auto onChange = [this] { Changed(); };
    auto onPick = [this](TControl* sender) { EDPickDblClick(sender); };
    auto volume = [&](TLabel& caption, const char* text, TTrackBar& bar, TLabel& value, int top) {
        caption.Create(TSSound, text, 8, top + 6, kLabelWidth, 16);
        bar.Create(TSSound, 8 + kLabelWidth, top, 240, 30);
        bar.SetRange(0, 100);
        bar.SetPageSize(10);
        bar.SetFrequency(10);
        bar.OnChange = [this](TControl* sender) { TRVolumeChange(sender); };
        value.Create(TSSound, "0", 8 + kLabelWidth + 248, top + 6, 40, 16);
    };
    LAMusic.Create(TSSound, "Music Track", 8, 12, kLabelWidth, 16);
    EDMusic.Create(TSSound, 8 + kLabelWidth, 8, 240, 22);
    EDMusic.OnChange = onChange;
    EDMusic.OnDblClick = onPick;
    volume(LAMusicVolume, "Music Volume", TRMusicVolume, LAMusicVolumeValue, 8 + kRow + 4);
    LAAmbient.Create(TSSound, "Ambient Track", 8, 12 + 3 * kRow, kLabelWidth, 16);
    EDAmbient.Create(TSSound, 8 + kLabelWidth, 8 + 3 * kRow, 240, 22);
    EDAmbient.OnChange = onChange;
    EDAmbient.OnDblClick = onPick;
    volume(LAAmbientVolume, "Ambient Volume", TRAmbientVolume, LAAmbientVolumeValue, 8 + 4 * kRow + 4);
    LAEAX.Create(TSSound, "EAX", 8, 12 + 6 * kRow, kLabelWidth, 16);
    CBEAX.Create(TSSound, 8 + kLabelWidth, 8 + 6 * kRow, 240, 300);
    for (const char* preset : SceneEaxPresets)
        CBEAX.AddItem(preset);
    CBEAX.OnChange = [this](TControl*) { Changed(); };
    // Sound effects are kept with the scene but not offered on the page.
    MakeTickList(CLBSoundEffects, TSSound, 8 + 8 * kRow, 160, 60, soundEffectNames, onChange);
    CLBSoundEffects.Hide();
}

void TSceneEditorForm::CreateRenderPage()
{
    TSRender = PCPages.AddPage("Render");
    auto onChange = [this] { Changed(); };
    auto onClick = [this](TControl* sender) { UDClick(sender); };
    RGFog.Create(TSRender, " Z-Fog ", 8, 8, 140, 104);
    for (const char* mode : SceneFogModes)
        RGFog.AddItem(mode);
    RGFog.OnClick = [this](TControl*) { Changed(); };

    const int left = 164;
    LAZClip.Create(TSRender, "ZClip Distance", left, 14, kLabelWidth, 16);
    EDZClip.Create(TSRender, left + kLabelWidth, 10, 80, 22);
    UDZClip.Create(TSRender, &EDZClip);
    UDZClip.SetRange(0, 32767);
    UDZClip.SetIncrement(50);
    EDZClip.OnChange = onChange;
    UDZClip.OnClick = onClick;

    LAColor.Create(TSRender, "Color", left, 14 + kRow + 4, kLabelWidth, 16);
    TEdit* colours[3] = {&EDFogR, &EDFogG, &EDFogB};
    TUpDown* ups[3] = {&UDFogR, &UDFogG, &UDFogB};
    for (int i = 0; i < 3; i++) {
        colours[i]->Create(TSRender, left + kLabelWidth + i * 60, 10 + kRow + 4, 52, 22);
        ups[i]->Create(TSRender, colours[i]);
        ups[i]->SetRange(0, 255);
        colours[i]->OnChange = onChange;
        ups[i]->OnClick = onClick;
    }

    LAFogDist1.Create(TSRender, "Distance 1", left, 14 + 2 * (kRow + 4), kLabelWidth, 16);
    EDFogDist1.Create(TSRender, left + kLabelWidth, 10 + 2 * (kRow + 4), 100, 22);
    EDFogDist1.OnChange = onChange;
    LAFogDist2.Create(TSRender, "Distance 2", left, 14 + 3 * (kRow + 4), kLabelWidth, 16);
    EDFogDist2.Create(TSRender, left + kLabelWidth, 10 + 3 * (kRow + 4), 100, 22);
    EDFogDist2.OnChange = onChange;

    // Atmospheric effects are kept with the scene but not offered on the page.
    MakeTickList(CLBAtmEffects, TSRender, 130, 160, 80, atmEffectNames, onChange);
    CLBAtmEffects.Hide();
}

void TSceneEditorForm::CreateSkyPage()
{
    TSSky = PCPages.AddPage("Sky");
    auto onChange = [this] { Changed(); };
    auto onPick = [this](TControl* sender) { EDPickDblClick(sender); };
    LASkyModel.Create(TSSky, "QEV", 8, 12, 40, 16);
    EDSkyModel.Create(TSSky, 52, 8, 200, 22);
    LASkyAnim.Create(TSSky, "JUP", 8, 12 + kRow + 4, 40, 16);
    EDSkyAnim.Create(TSSky, 52, 8 + kRow + 4, 200, 22);
    for (TEdit* box : {&EDSkyModel, &EDSkyAnim}) {
        box->SetMaxLength(SCENES_NAME_LEN - 1);
        box->OnChange = onChange;
        box->OnDblClick = onPick;
    }
    {
        TProgramChange guard(*this);
        EDSkyModel.SetText(editor_.controls.skyModel);
        EDSkyAnim.SetText(editor_.controls.skyAnim);
    }
    BNSetDefaultSkies.Create(TSSky, "Set Default Skies", 52, 8 + 2 * (kRow + 4) + 4, 120, 25);
    BNSetDefaultSkies.OnClick = [this](TControl* sender) { BNSetDefaultSkiesClick(sender); };
}

// ---- model to controls ----

int TSceneEditorForm::Run()
{
    focusList_ = true;
    return ShowModal();
}

void TSceneEditorForm::ShowLayers()
{
    TProgramChange guard(*this);
    for (int i = 0; i < SCENES_LAYERS; i++)
        CLBLayers.SetItem(i, editor_.Layer(i));
    ShowTicks(CLBLayers, editor_.controls.layerTicks);
}

void TSceneEditorForm::ShowScenes()
{
    ShowAll();
}

void TSceneEditorForm::ShowEntries()
{
    TProgramChange guard(*this);
    const std::vector<std::string>& entries = editor_.Entries();
    bool same = LVScenes.Count() == (int)entries.size();
    for (int i = 0; same && i < LVScenes.Count(); i++)
        same = LVScenes.ItemText(i, 0) == entries[i];
    if (!same) {
        LVScenes.BeginUpdate();
        LVScenes.Clear();
        for (const std::string& name : entries)
            LVScenes.AddItem(name);
        LVScenes.EndUpdate();
    }
    int row = editor_.Selected() >= 0 ? LVScenes.FindText(0, entries[editor_.Selected()]) : -1;
    if (row >= 0) {
        LVScenes.SetSelected(row);
        LVScenes.SetItemFocused(row);
        LVScenes.MakeVisible(row);
    } else {
        LVScenes.ClearSelection();
    }
}

void TSceneEditorForm::ShowControls()
{
    TProgramChange guard(*this);
    TSceneControls& c = editor_.controls;
    EDShortDesc.SetText(c.shortDesc);
    MMLongDesc.SetLines({c.longDesc});
    EDLayerName.SetText(c.layerName);
    ShowTicks(CLBLayers, c.layerTicks);
    ShowTicks(CLBFlags, c.flagTicks);
    EDMusic.SetText(c.music);
    EDAmbient.SetText(c.ambient);
    TRMusicVolume.SetPosition(c.musicVolume);
    TRAmbientVolume.SetPosition(c.ambientVolume);
    LAMusicVolumeValue.SetCaption(std::to_string(TRMusicVolume.Position()));
    LAAmbientVolumeValue.SetCaption(std::to_string(TRAmbientVolume.Position()));
    ShowTicks(CLBSoundEffects, c.soundEffectTicks);
    CBEAX.SetItemIndex(c.eaxRow);
    RGFog.SetItemIndex(c.fogMode);
    UDFogR.SetPosition(c.fogColour[0]);
    UDFogG.SetPosition(c.fogColour[1]);
    UDFogB.SetPosition(c.fogColour[2]);
    EDFogDist1.SetText(c.fogDist1);
    EDFogDist2.SetText(c.fogDist2);
    UDZClip.SetPosition(c.zClip);
    ShowTicks(CLBAtmEffects, c.atmTicks);
    EDSkyModel.SetText(c.skyModel);
    EDSkyAnim.SetText(c.skyAnim);
    // The lists offer fewer items than the record has bits: what is saved is what they show.
    c.soundEffectTicks = Ticks(CLBSoundEffects);
    c.atmTicks = Ticks(CLBAtmEffects);
}

void TSceneEditorForm::ShowStatus()
{
    SBMain.SetPanelText(1, std::to_string(editor_.SceneCount() + 1));
    SBMain.SetPanelText(3, editor_.SceneListName());
    SBMain.SetSimpleText(editor_.StatusText());
}

void TSceneEditorForm::ShowAll()
{
    ShowEntries();
    ShowControls();
    ShowStatus();
    if (editor_.StaticSelected() && PCPages.ActivePage() == TSLayers)
        PCPages.SetActivePage(TSDescription);
}

// ---- controls to model ----

void TSceneEditorForm::Changed()
{
    if (ChangingByProgram())
        return;
    TSceneControls& c = editor_.controls;
    c.layerTicks = Ticks(CLBLayers);
    c.flagTicks = Ticks(CLBFlags);
    c.soundEffectTicks = Ticks(CLBSoundEffects);
    c.atmTicks = Ticks(CLBAtmEffects);
    c.music = EDMusic.Text();
    c.ambient = EDAmbient.Text();
    c.musicVolume = TRMusicVolume.Position();
    c.ambientVolume = TRAmbientVolume.Position();
    c.eaxRow = CBEAX.ItemIndex();
    c.fogMode = RGFog.ItemIndex();
    c.fogColour[0] = UDFogR.Position();
    c.fogColour[1] = UDFogG.Position();
    c.fogColour[2] = UDFogB.Position();
    c.fogDist1 = EDFogDist1.Text();
    c.fogDist2 = EDFogDist2.Text();
    c.zClip = UDZClip.Position();
    c.skyModel = EDSkyModel.Text();
    c.skyAnim = EDSkyAnim.Text();
    editor_.MarkModified();
}

// ---- handlers ----

void TSceneEditorForm::TBNewClick(TToolButton*)
{
    bool goOn = editor_.BeforeNewScene();
    ShowAll();
    if (!goOn)
        return;
    TScenePickerForm picker;
    if (!picker.Create(sceneList_()))
        return;
    picker.picker.picked.clear();
    if (picker.ShowModal() != mrOk)
        return;
    std::string picked = picker.picker.picked;
    picker.DestroyForm();
    if (!editor_.AddNewScene(picked))
        return;
    PCPages.SetActivePage(TSDescription);
    ShowAll();
}

void TSceneEditorForm::TBSaveClick(TToolButton*)
{
    editor_.Save();
    ShowAll();
}

void TSceneEditorForm::TBSceneListClick(TToolButton*)
{
    bool goOn = editor_.BeforeChooseSceneList();
    ShowAll();
    if (!goOn)
        return;
    TOpenDialog dialog;
    dialog.Title = "Chose an Tarvel Chronicle";
    dialog.Filter = "Tarvel Scene Lists (*.rix)|*.rix";
    dialog.DefaultExt = "qob";
    dialog.InitialDir = baseDir_ + "\\Chronicles";
    if (!dialog.Execute(Handle()))
        return;
    editor_.ChooseSceneList(dialog.FileName);
    ShowStatus();
}

void TSceneEditorForm::TBDeleteClick(TToolButton*)
{
    editor_.Delete();
    ShowAll();
}

// Quit asks nothing; what was not saved is dropped, and the panel calls CloseCallback once the
// modal run has ended.
void TSceneEditorForm::TBQuitClick(TToolButton*)
{
    editor_.DropUnsaved();
    ShowAll();
    SetModalResult(mrCancel);
    if (!InModalLoop())
        Hide();
}

// The user picked a scene: the modified prompt and the loading run once the list view has
// finished the click, as they may take entries off the list.
void TSceneEditorForm::LVScenesChange(int item)
{
    if (ChangingByProgram() || !LVScenes.IsSelected(item))
        return;
    std::string name = LVScenes.ItemText(item, 0);
    int current = editor_.Selected();
    if (current >= 0 && editor_.Entries()[current] == name)
        return;
    pendingSelect_ = name;
    PostMessageA(Handle(), WM_SELECT_PENDING, 0, 0);
}

LRESULT TSceneEditorForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SELECT_PENDING) {
        std::string name;
        name.swap(pendingSelect_);
        const std::vector<std::string>& entries = editor_.Entries();
        for (size_t i = 0; i < entries.size(); i++)
            if (!name.empty() && entries[i] == name) {
                editor_.Select((int)i);
                break;
            }
        ShowAll();
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

void TSceneEditorForm::SBMainDblClick(TControl*)
{
    TBSceneListClick(TBSceneList);
}

void TSceneEditorForm::SPScenesMoved()
{
    LVScenes.SetColumnWidth(0, PNScenes.Width() - 4);
}

// The static scene has no layers of its own to tick.
void TSceneEditorForm::PCPagesChange()
{
    if (editor_.StaticSelected() && PCPages.ActivePage() == TSLayers)
        PCPages.SetActivePage(TSDescription);
}

void TSceneEditorForm::CLBLayersClick(TControl*)
{
    int i = CLBLayers.ItemIndex();
    if (i >= 0)
        EDLayerName.SetText(editor_.Layer(i));  // OnChange keeps it with the controls
}

void TSceneEditorForm::BNRenameClick(TControl*)
{
    int i = CLBLayers.ItemIndex();
    if (i < 0)
        return;
    TProgramChange guard(*this);
    if (editor_.RenameLayer(i, EDLayerName.Text()))
        CLBLayers.SetItem(i, editor_.Layer(i));
}

void TSceneEditorForm::TRVolumeChange(TControl* sender)
{
    TTrackBar* bar = static_cast<TTrackBar*>(sender);
    TLabel& value = bar == &TRMusicVolume ? LAMusicVolumeValue : LAAmbientVolumeValue;
    value.SetCaption(std::to_string(bar->Position()));
    Changed();
}

void TSceneEditorForm::UDClick(TControl*)
{
    Changed();
}

// A double-click on a file box picks the file; the box takes its name without folder.
void TSceneEditorForm::EDPickDblClick(TControl* sender)
{
    TOpenDialog dialog;
    const std::string& base = baseDir_;
    const char* musicFilter = "Music Files (*.WAV)|*.WAV|MP3 Music Files (*.MP3)|*.MP3";
    const DWORD mustExist = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (sender == &EDMusic) {
        dialog.Title = "Select Music Track";
        dialog.Filter = musicFilter;
        dialog.FilterIndex = 2;
        dialog.InitialDir = base + "\\Sounds";
    } else if (sender == &EDAmbient) {
        dialog.Title = "Select Ambient";
        dialog.Filter = musicFilter;
        dialog.FilterIndex = 1;
        dialog.InitialDir = base + "\\Sounds";
    } else if (sender == &EDSkyModel) {
        dialog.Title = "Pick Sky Model";
        dialog.Filter = "Models (*.qev)|*.qev";
        dialog.InitialDir = base + "\\Models";
        dialog.Options = mustExist;
    } else if (sender == &EDSkyAnim) {
        dialog.Title = "Pick Sky Animation";
        dialog.Filter = "Animations (*.jup)|*.jup";
        dialog.InitialDir = base + "\\Anims";
        dialog.Options = mustExist;
    } else {
        return;
    }
    if (dialog.Execute(Handle()))
        static_cast<TEdit*>(sender)->SetText(ExtractFileName(dialog.FileName));
}

void TSceneEditorForm::BNSetDefaultSkiesClick(TControl*)
{
    EDSkyModel.SetText("sky.qev");
    EDSkyAnim.SetText("sky.jup");
    Changed();
}
