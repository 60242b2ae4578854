#include "ThingsPanel.h"
#include <commctrl.h>
#include "../tarvelText.h"
#include "Hooks.h"

TThingsPanel* thingsPanel = nullptr;

namespace {

const char* const yawTexts[8] = {"0", "45", "90", "135", "180", "225", "270", "315"};

// The file dialogs that take only a file that is there.
const DWORD kExistingFile = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

bool FileExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void ClickToFocus(TEdit& edit)
{
    edit.OnClick = [](TControl* sender) { sender->SetFocus(); };
}

// A round mark of one colour for the image lists.
void PaintDot(HDC dc, int w, int h, COLORREF fill)
{
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ old = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Ellipse(dc, 3, 3, w - 3, h - 3);
    SelectObject(dc, old);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
}

void PaintFolder(HDC dc, int w, int h, COLORREF fill)
{
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ old = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, 1, 3, w / 2, 6);
    Rectangle(dc, 1, 5, w - 1, h - 2);
    SelectObject(dc, old);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
}

}  // namespace

TThingsPanel::TThingsPanel()
{
    // The multiple-selection question: through the form layer's message-box hook, without owner
    // and task-modal, so the host cannot change the selection under the question.
    editor.askProceed = [this](const char* text) {
        TBusy wait(*this);
        TMessageBoxRequest question;
        question.text = text;
        question.caption = ThingsConfirmCaption;
        question.buttons = MB_YESNO | MB_TASKMODAL;
        question.icon = MB_ICONQUESTION;
        question.owner = nullptr;
        return ModalHooks().ShowMessageBox(question) != IDNO;
    };
    editor.onApply = [this] { Fire(onApply); };
}

TThingsPanel::~TThingsPanel()
{
    MPSound.Close();
    DestroyForm();
}

bool TThingsPanel::Create(HWND parent)
{
    return CreateForm("Things & Templates", 0, 0, THINGS_PANEL_WIDTH, THINGS_PANEL_HEIGHT,
                      fkChildOfHost, parent);
}

void TThingsPanel::Retire()
{
    onClose = nullptr;
    onApply = nullptr;
    onPosition = nullptr;
    onTemplateDoubleClick = nullptr;
    onTemplateFiles = nullptr;
    Hide();
}

// ---------------------------------------------------------------- building the form

void TThingsPanel::CreateComponents()
{
    CreateImages();
    PCMain.Create(this, 0, 0, 100, 100);
    PCMain.SetAlign(alClient);
    TSThingEditor = PCMain.AddPage("Thing Editor");
    TSTemplateFiles = PCMain.AddPage("Templates Files");
    TSConfirm = PCMain.AddPage("Confirm");
    CreateThingEditor();
    CreateTemplateFilesTab();
    CBConfirm.Create(TSConfirm, "Confirm On Multiple Selection", 12, 12, 260, 22);
    CBConfirm.SetChecked(true);

    SetKeyPreview(true);
    OnKeyDown = [this](WORD& key) { FormKeyDown(key); };
    OnKeyUp = [this](WORD& key) { FormKeyUp(key); };
    OnKeyPress = [this](char& key) { FormKeyPress(key); };
    OnResize = [this] { FormResize(); };
    OnMove = [this] { FormMove(); };

    // Enter in these controls runs the action of their group's button.
    enterActions = {
        {&TVTemplates, &TThingsPanel::BNApplyTemplateClick}, {&EDOriginX, &TThingsPanel::BNApplyOriginClick},
        {&EDOriginY, &TThingsPanel::BNApplyOriginClick}, {&EDOriginZ, &TThingsPanel::BNApplyOriginClick},
        {&EDPitch, &TThingsPanel::BNApplyOrientClick}, {&EDYaw, &TThingsPanel::BNApplyOrientClick},
        {&EDRoll, &TThingsPanel::BNApplyOrientClick}, {&EDColorR, &TThingsPanel::BNApplyColorClick},
        {&EDColorG, &TThingsPanel::BNApplyColorClick}, {&EDColorB, &TThingsPanel::BNApplyColorClick},
        {&EDIntensity, &TThingsPanel::BNApplyLightClick}, {&CBStyle, &TThingsPanel::BNApplyStyleClick},
        {&EDFalloff, &TThingsPanel::BNApplyFalloffClick}, {&EDValue, &TThingsPanel::BNApplyKeyClick},
        {&EDScript, &TThingsPanel::BNApplyScriptClick}, {&EDFoley, &TThingsPanel::BNApplyFoleyClick},
        {&EDAIClass, &TThingsPanel::BNApplyAIClick}, {&EDDescriptionID, &TThingsPanel::BNApplyDIDClick},
        {&EDTreasureClass, &TThingsPanel::BNApplyTCClick}, {&EDMinDist, &TThingsPanel::BNApplyDistsClick},
        {&EDMaxDist, &TThingsPanel::BNApplyDistsClick},
    };

    // The buttons' clicks, one handler each. Enter on a focused button of the first group runs
    // its handler too.
    const std::pair<TButton*, TAction> enterButtons[] = {
        {&BNApplyTemplate, &TThingsPanel::BNApplyTemplateClick},
        {&BNApplyOrigin, &TThingsPanel::BNApplyOriginClick},
        {&BNApplyOrient, &TThingsPanel::BNApplyOrientClick},
        {&BNApplyScript, &TThingsPanel::BNApplyScriptClick}, {&BNApplyDID, &TThingsPanel::BNApplyDIDClick},
        {&BNApplyFoley, &TThingsPanel::BNApplyFoleyClick}, {&BNApplyAI, &TThingsPanel::BNApplyAIClick},
        {&BNApplyTC, &TThingsPanel::BNApplyTCClick}, {&BNApplyLight, &TThingsPanel::BNApplyLightClick},
        {&BNApplyColor, &TThingsPanel::BNApplyColorClick}, {&BNPickColor, &TThingsPanel::BNPickColorClick},
        {&BNApplyStyle, &TThingsPanel::BNApplyStyleClick}, {&BNApplyEO, &TThingsPanel::BNApplyEOClick},
        {&BNApplyAllLight, &TThingsPanel::BNApplyAllLightClick},
        {&BNPickSound, &TThingsPanel::BNPickSoundClick}, {&BNApplySound, &TThingsPanel::BNApplySoundClick},
        {&BNApplyDists, &TThingsPanel::BNApplyDistsClick}, {&BNApplyVolume, &TThingsPanel::BNApplyVolumeClick},
        {&BNApplyPan, &TThingsPanel::BNApplyPanClick}, {&BNApplyKey, &TThingsPanel::BNApplyKeyClick},
        {&BNDeleteKey, &TThingsPanel::BNDeleteKeyClick},
    };
    const std::pair<TButton*, TAction> clickOnlyButtons[] = {
        {&CBConfirm, &TThingsPanel::CBConfirmClick}, {&BNPickScript, &TThingsPanel::BNPickScriptClick},
        {&BNDeleteScripts, &TThingsPanel::BNDeleteScriptsClick},
        {&BNPickFoley, &TThingsPanel::BNPickFoleyClick}, {&BNPickAI, &TThingsPanel::BNPickAIClick},
        {&BNApplyFalloff, &TThingsPanel::BNApplyFalloffClick},
        {&BNApplyFlags, &TThingsPanel::BNApplyFlagsClick},
        {&BNDeleteSounds, &TThingsPanel::BNDeleteSoundsClick}, {&BNAddFile, &TThingsPanel::BNAddFileClick},
        {&BNRemoveFile, &TThingsPanel::BNRemoveFileClick}, {&BNUpFile, &TThingsPanel::BNUpFileClick},
        {&BNDownFile, &TThingsPanel::BNDownFileClick},
    };
    auto runOnClick = [this](TButton* button, TAction action) {
        button->OnClick = [this, action](TControl* sender) { (this->*action)(sender); };
    };
    for (const auto& [button, action] : enterButtons) {
        runOnClick(button, action);
        enterActions.push_back({button, action});
    }
    for (const auto& [button, action] : clickOnlyButtons)
        runOnClick(button, action);
    for (TButton& b : BNYaw)
        enterActions.push_back({&b, &TThingsPanel::BNYawClick});
    swallowing = {&EDValue, &CBKeys, &LVPairs, &TVTemplates, &EDOriginX, &EDOriginY, &EDOriginZ,
                  &EDPitch, &EDYaw, &EDRoll, &EDColorR, &EDColorG, &EDColorB, &EDIntensity,
                  &CBStyle, &EDMinDist, &EDMaxDist};
}

void TThingsPanel::CreateImages()
{
    // Pair list: 0 and 1 the host's two kinds of entry, 2 an entry added here.
    ILPairs.Create();
    ILPairs.AddDrawn([](HDC dc, int w, int h) { PaintDot(dc, w, h, RGB(160, 160, 160)); });
    ILPairs.AddDrawn([](HDC dc, int w, int h) { PaintDot(dc, w, h, RGB(60, 110, 220)); });
    ILPairs.AddDrawn([](HDC dc, int w, int h) { PaintDot(dc, w, h, RGB(40, 170, 60)); });
    // Tree: 1 a category, 2 a file or the root; 3 is blank for template leaves.
    ILTemplates.Create();
    ILTemplates.AddBlank();
    ILTemplates.AddDrawn([](HDC dc, int w, int h) { PaintFolder(dc, w, h, RGB(240, 200, 80)); });
    ILTemplates.AddDrawn([](HDC dc, int w, int h) { PaintFolder(dc, w, h, RGB(120, 150, 220)); });
    ILTemplates.AddBlank();
}

void TThingsPanel::CreateThingEditor()
{
    SBThings.Create(TSThingEditor);
    SBThings.SetAlign(alBottom);
    SBThings.SetPanels({120, -1});
    SBThings.SetPanelText(0, "Selected: 0");

    PNTop.Create(TSThingEditor, 0, 0, 100, 372);
    PNTop.SetAlign(alTop);
    PNTop.OnResize = [this] { LayOutTop(); };
    LBLSearch.Create(&PNTop, "Search", 6, 9, 44, 18);
    EDSearch.Create(&PNTop, 52, 6, 206, 22);
    ClickToFocus(EDSearch);
    TVTemplates.Create(&PNTop, 6, 32, 252, 300);
    SendMessageA(TVTemplates.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, (LPARAM)ILTemplates.Handle());
    TVTemplates.OnChange = [this](TTreeNode* n) { TVTemplatesChange(n); };
    TVTemplates.OnDblClick = [this] { TVTemplatesDblClick(); };
    TVTemplates.OnRightClick = [this] { TVTemplatesRightClick(); };
    BNApplyTemplate.Create(&PNTop, "Apply Template", 6, 338, 120, 26);

    MICollapseAll = PMTemplates.Add("Collapse All", [this](TMenuItem* s) { MICollapseAllClick(s); });
    MIExpandAll = PMTemplates.Add("Expand All", [this](TMenuItem* s) { MIExpandAllClick(s); });
    PMTemplates.AddSeparator();
    MISubCategories = PMTemplates.Add("SubCategories", [this](TMenuItem* s) { MISubCategoriesClick(s); });
    MISubCategories->SetChecked(true);

    PCPages.Create(&PNTop, 264, 4, 430, 362);
    TSMain = PCPages.AddPage("Main");
    TSOverrides = PCPages.AddPage("Overrides");
    TSLight = PCPages.AddPage("Light");
    TSSound = PCPages.AddPage("Sound");
    CreateMainPage();
    CreateOverridesPage();
    CreateLightPage();
    CreateSoundPage();
    CreatePairList();
}

// A text box with its click-to-focus; `text` is its start.
static void MakeEdit(TEdit& edit, TControl* parent, int left, int top, int width, const char* text)
{
    edit.Create(parent, left, top, width, 22);
    edit.SetText(text);
    ClickToFocus(edit);
}

static void MakeUpDown(TUpDown& ud, TControl* parent, TEdit& buddy, int lo, int hi, int step)
{
    ud.Create(parent, &buddy);
    ud.SetRange(lo, hi);
    ud.SetIncrement(step);
    ud.SetPosition(0);
}

void TThingsPanel::CreateMainPage()
{
    GBOrigin.Create(TSMain, "Origin (X, Y, Z)", 6, 6, 408, 58);
    MakeEdit(EDOriginX, &GBOrigin, 10, 24, 76, "0");
    MakeEdit(EDOriginY, &GBOrigin, 92, 24, 76, "0");
    MakeEdit(EDOriginZ, &GBOrigin, 174, 24, 76, "0");
    BNApplyOrigin.Create(&GBOrigin, "Apply Origin", 300, 22, 100, 26);

    GBOrientation.Create(TSMain, "Orientation (Pch, Yaw, Rol)", 6, 70, 408, 96);
    MakeEdit(EDPitch, &GBOrientation, 10, 24, 76, "0");
    MakeEdit(EDYaw, &GBOrientation, 92, 24, 76, "0");
    MakeEdit(EDRoll, &GBOrientation, 174, 24, 76, "0");
    MakeUpDown(UDPitch, &GBOrientation, EDPitch, -1790, 1800, 15);
    MakeUpDown(UDYaw, &GBOrientation, EDYaw, -3590, 3600, 15);
    MakeUpDown(UDRoll, &GBOrientation, EDRoll, -1790, 1800, 15);
    for (TUpDown* ud : {&UDPitch, &UDYaw, &UDRoll})
        ud->OnClick = [this](TControl* s) { UDOrientClick(s); };
    BNApplyOrient.Create(&GBOrientation, "Apply Orient.", 300, 22, 100, 26);
    for (int i = 0; i < 8; i++) {
        BNYaw[i].Create(&GBOrientation, yawTexts[i], 10 + i * 49, 58, 45, 26);
        BNYaw[i].OnClick = [this](TControl* s) { BNYawClick(s); };
    }
}

// A group with one text box, an apply button and optionally a pick button.
static void MakeTextGroup(TGroupBox& group, TControl* page, const char* caption, int top,
                          TEdit& edit, TButton& apply, const char* applyText, TButton* pick,
                          const char* pickText)
{
    group.Create(page, caption, 6, top, 408, 54);
    MakeEdit(edit, &group, 10, 22, 190, "");
    apply.Create(&group, applyText, 208, 20, 92, 26);
    if (pick)
        pick->Create(&group, pickText, 306, 20, 94, 26);
}

void TThingsPanel::CreateOverridesPage()
{
    MakeTextGroup(GBScript, TSOverrides, "*Script", 4, EDScript, BNApplyScript, "Apply Script",
                  &BNPickScript, "Pick Script...");
    BNDeleteScripts.Create(TSOverrides, "Delete all script key/value pairs", 6, 60, 230, 24);
    MakeTextGroup(GBDescriptionID, TSOverrides, "*DescriptionID", 88, EDDescriptionID, BNApplyDID,
                  "Apply DID", nullptr, nullptr);
    MakeTextGroup(GBFoley, TSOverrides, "*Foley", 144, EDFoley, BNApplyFoley, "Apply Foley",
                  &BNPickFoley, "Pick Foley...");
    MakeTextGroup(GBAIClass, TSOverrides, "*AIClass", 200, EDAIClass, BNApplyAI, "Apply AI",
                  &BNPickAI, "Pick AI...");
    MakeTextGroup(GBTreasureClass, TSOverrides, "*TreasureClass", 256, EDTreasureClass, BNApplyTC,
                  "Apply TC", nullptr, nullptr);
}

void TThingsPanel::CreateLightPage()
{
    GBIntensity.Create(TSLight, "Intensity", 6, 4, 202, 54);
    MakeEdit(EDIntensity, &GBIntensity, 10, 22, 86, "0");
    MakeUpDown(UDIntensity, &GBIntensity, EDIntensity, 0, 32767, 10);
    BNApplyLight.Create(&GBIntensity, "Apply Light", 102, 20, 92, 26);
    GBFalloff.Create(TSLight, "Falloff", 212, 4, 202, 54);
    MakeEdit(EDFalloff, &GBFalloff, 10, 22, 86, "");
    BNApplyFalloff.Create(&GBFalloff, "Apply Falloff", 102, 20, 92, 26);

    GBColor.Create(TSLight, "Color", 6, 62, 408, 54);
    MakeEdit(EDColorR, &GBColor, 10, 22, 60, "0");
    MakeEdit(EDColorG, &GBColor, 76, 22, 60, "0");
    MakeEdit(EDColorB, &GBColor, 142, 22, 60, "0");
    MakeUpDown(UDColorR, &GBColor, EDColorR, 0, 255, 1);
    MakeUpDown(UDColorG, &GBColor, EDColorG, 0, 255, 1);
    MakeUpDown(UDColorB, &GBColor, EDColorB, 0, 255, 1);
    BNApplyColor.Create(&GBColor, "Apply Color", 208, 20, 92, 26);
    BNPickColor.Create(&GBColor, "Pick Color...", 306, 20, 94, 26);

    GBStyle.Create(TSLight, "Style", 6, 120, 408, 54);
    CBStyle.Create(&GBStyle, 10, 22, 290, 300);
    for (const char* style : ThingsLightStyles)
        CBStyle.AddItem(style);
    BNApplyStyle.Create(&GBStyle, "Apply Style", 306, 20, 94, 26);

    GBEditorOnly.Create(TSLight, "Editor Only", 6, 178, 408, 54);
    CBEditorOnly.Create(&GBEditorOnly, "Editor Only", 10, 24, 150, 20);
    BNApplyEO.Create(&GBEditorOnly, "Apply EO", 306, 20, 94, 26);

    BNApplyAllLight.Create(TSLight, "Apply All Light Changes", 6, 240, 200, 28);

}

void TThingsPanel::CreateSoundPage()
{
    GBSound.Create(TSSound, "Sound", 6, 4, 408, 84);
    MakeEdit(EDSound, &GBSound, 10, 22, 190, "");
    BNPickSound.Create(&GBSound, "Pick Sound...", 208, 20, 94, 26);
    BNApplySound.Create(&GBSound, "Apply Sound", 308, 20, 92, 26);
    MPSound.Create(&GBSound, 10, 52);
    MPSound.SetPlayerEnabled(false);

    GBFlags.Create(TSSound, "Flags", 6, 92, 202, 70);
    CLBFlags.Create(&GBFlags, 10, 20, 96, 42);
    CLBFlags.AddItem("Stream");
    BNApplyFlags.Create(&GBFlags, "Apply Flags", 112, 20, 84, 26);
    GBDists.Create(TSSound, "Distances (min, max)", 212, 92, 202, 70);
    MakeEdit(EDMinDist, &GBDists, 10, 22, 52, "0");
    MakeEdit(EDMaxDist, &GBDists, 66, 22, 52, "0");
    BNApplyDists.Create(&GBDists, "Apply Dists", 122, 20, 74, 26);

    GBVolume.Create(TSSound, "Volume", 6, 166, 408, 56);
    TBVolume.Create(&GBVolume, 6, 18, 250, 30);
    TBVolume.SetRange(0, 100);
    TBVolume.SetFrequency(10);
    LBLVolume.Create(&GBVolume, "0", 262, 26, 40, 18);
    BNApplyVolume.Create(&GBVolume, "Apply Volume", 306, 20, 94, 26);
    GBPan.Create(TSSound, "Pan", 6, 226, 408, 56);
    TBPan.Create(&GBPan, 6, 18, 250, 30);
    TBPan.SetRange(-100, 100);
    TBPan.SetFrequency(10);
    TBPan.SetPosition(0);
    LBLPan.Create(&GBPan, "0", 262, 26, 40, 18);
    BNApplyPan.Create(&GBPan, "Apply Pan", 306, 20, 94, 26);

    BNDeleteSounds.Create(TSSound, "Delete all sound key/value pairs", 6, 290, 230, 24);

    MPSound.BNPlay.OnClick = [this](TControl*) { MPSound.Play(); };
    MPSound.BNStop.OnClick = [this](TControl*) { MPSound.Stop(); };
    TBVolume.OnChange = [this](TControl* s) { TBVolumeChange(s); };
    TBPan.OnChange = [this](TControl* s) { TBPanChange(s); };
}

void TThingsPanel::CreatePairList()
{
    PNPairs.Create(TSThingEditor, 0, 0, 100, 100);
    PNPairs.SetAlign(alClient);
    LBLPairs.Create(&PNPairs, "Key/Value Pairs", 0, 0, 200, 20);
    LBLPairs.SetAlign(alTop);
    PNPairEdit.Create(&PNPairs, 0, 0, 100, 34);
    PNPairEdit.SetAlign(alBottom);
    LVPairs.Create(&PNPairs, 0, 0, 100, 100);
    LVPairs.SetAlign(alClient);
    LVPairs.SetRowSelect(true);
    LVPairs.SetImages(&ILPairs);
    LVPairs.AddColumn("Keys", 180);
    LVPairs.AddColumn("Values", 230);
    LVPairs.AddColumn("Mods", 20);
    LVPairs.OnClick = [this](TControl* s) { LVPairsClick(s); };

    CBKeys.Create(&PNPairEdit, 6, 6, 170, 300);
    for (const char* key : ThingsKeyVocabulary)
        CBKeys.AddItem(key);
    MakeEdit(EDValue, &PNPairEdit, 182, 6, 300, "");
    BNApplyKey.Create(&PNPairEdit, "Apply Key", 488, 4, 90, 26);
    BNDeleteKey.Create(&PNPairEdit, "Delete Key", 584, 4, 90, 26);
}

void TThingsPanel::CreateTemplateFilesTab()
{
    LBLDefaultFiles.Create(TSTemplateFiles, "Default template files:", 12, 12, 200, 18);
    for (int i = 0; i < TEMPLATE_DEFAULT_FILES; i++)
        LBLDefaultFile[i].Create(TSTemplateFiles, TemplateDefaultFiles[i], 28, 34 + i * 20, 200, 18);
    LBLExtraFiles.Create(TSTemplateFiles, "Extra template files:", 12, 102, 200, 18);
    LBFiles.Create(TSTemplateFiles, 12, 122, 280, 280);
    BNAddFile.Create(TSTemplateFiles, "Add...", 300, 122, 90, 26);
    BNRemoveFile.Create(TSTemplateFiles, "Remove", 300, 154, 90, 26);
    BNUpFile.Create(TSTemplateFiles, "Up", 300, 194, 90, 26);
    BNDownFile.Create(TSTemplateFiles, "Down", 300, 226, 90, 26);
    // The arrow buttons and the rest start disabled until the host hands in the list.
    for (TButton* b : {&BNAddFile, &BNRemoveFile, &BNUpFile, &BNDownFile})
        b->SetEnabled(false);
    LBFiles.OnClick = [this](TControl* s) { LBFilesClick(s); };
}

// The tree keeps its width; the pages take the rest of the panel's width.
void TThingsPanel::LayOutTop()
{
    int width = PNTop.ClientWidth() - 268;
    if (width < 430)
        width = 430;
    PCPages.SetBounds(264, 4, width, 362);
}

// ---------------------------------------------------------------- exports

void TThingsPanel::SetBaseDir(const std::string& folder)
{
    baseDir = folder;
    codexDir = folder + "\\Codex";
    templatesDir = folder + "\\Templates";
    soundsDir = folder + "\\Sounds";
    foleyDir = folder + "\\Misc\\Foley";
    aiDir = folder + "\\Misc\\AI";
}

void TThingsPanel::SetThingsInfo(const ThingsInfo& info)
{
    editor.pairs.Load(info);
    SBThings.SetPanelText(0, "Selected: " + std::to_string(editor.pairs.SelectedCount()));
    ShowPairs();
    if (LVPairs.Count() > 0)
        LVPairs.SetSelected(0);
    TThingPages pages;
    tree.Select(-1);
    if (editor.pairs.SelectedCount() != 0) {
        std::string templateName, sound;
        bool soundRead = ThingsPages_Read(editor.pairs, pages, templateName, sound);
        if (!templateName.empty()) {
            int leaf = tree.FindTemplate(templateName);
            if (leaf >= 0)
                tree.Select(leaf);
        }
        if (soundRead)
            PreviewSound(sound);
    }
    {
        TProgramChange guard(*this);
        CBKeys.SetItemIndex(-1);
        EDValue.SetText("");
    }
    ShowPages(pages);
    ShowTreeSelection();
}

void TThingsPanel::GetThingsInfo(ThingsInfo& info)
{
    editor.pairs.Store(info, tree.SelectedNodeText());
}

void TThingsPanel::SetTemplateFilesInfo(const TemplateFilesInfo& info)
{
    files.Load(info);
    ShowFiles();
}

void TThingsPanel::BeginAddTemplates(const std::string& name)
{
    if (name == "..." && !treeUpdating) {
        TVTemplates.BeginUpdate();
        treeUpdating = true;
    }
    tree.BeginAdd(name);
}

void TThingsPanel::AddTemplate(const std::string& name, int category, const std::string& subcategory)
{
    tree.Add(name, category, subcategory);
}

void TThingsPanel::EndAddTemplates(const std::string& name)
{
    tree.EndAdd(name);
    if (name != "...")
        return;
    ShowTree();
    if (treeUpdating) {
        TVTemplates.EndUpdate();
        treeUpdating = false;
    }
}

void TThingsPanel::Position(int left, int top, int right, int bottom)
{
    int width = right - left, height = bottom - top;
    if (left != Left() || top != Top() || width != Width() || height != Height())
        SetBounds(left, top, width, height);
}

void TThingsPanel::ReportPosition()
{
    Fire(onPosition, Left(), Top(), Width(), Height());
}

void TThingsPanel::FormResize() { ReportPosition(); }

void TThingsPanel::FormMove()
{
    if (positioned)
        ReportPosition();
}

// ---------------------------------------------------------------- showing the model

void TThingsPanel::ShowPairs()
{
    std::string selectedKey;
    int sel = LVPairs.Selected();
    if (sel >= 0)
        selectedKey = LVPairs.ItemText(sel, 0);
    TProgramChange guard(*this);
    LVPairs.BeginUpdate();
    LVPairs.Clear();
    for (const TPairRow& row : editor.pairs.Rows()) {
        int i = LVPairs.AddItem(row.key, row.image);
        LVPairs.SetItemText(i, 1, row.value);
        LVPairs.SetItemText(i, 2, PairMarkText(row.mark));
    }
    LVPairs.EndUpdate();
    if (!selectedKey.empty()) {
        int again = editor.pairs.Find(selectedKey);
        if (again >= 0)
            LVPairs.SetSelected(again);
    }
}

TThingPages TThingsPanel::PagesFromControls() const
{
    TThingPages p;
    p.origin[0] = EDOriginX.Text();
    p.origin[1] = EDOriginY.Text();
    p.origin[2] = EDOriginZ.Text();
    p.angles[0] = EDPitch.Text();
    p.angles[1] = EDYaw.Text();
    p.angles[2] = EDRoll.Text();
    p.colour[0] = EDColorR.Text();
    p.colour[1] = EDColorG.Text();
    p.colour[2] = EDColorB.Text();
    p.intensity = EDIntensity.Text();
    p.style = CBStyle.ItemIndex();
    p.falloff = EDFalloff.Text();
    p.editorOnly = CBEditorOnly.Checked();
    p.script = EDScript.Text();
    p.foley = EDFoley.Text();
    p.aiClass = EDAIClass.Text();
    p.descriptionId = EDDescriptionID.Text();
    p.treasureClass = EDTreasureClass.Text();
    p.sound = EDSound.Text();
    p.volume = TBVolume.Position();
    p.pan = TBPan.Position();
    p.soundFlags = 0;
    for (int i = 0; i < CLBFlags.Count(); i++)
        if (CLBFlags.Checked(i))
            p.soundFlags |= 1u << i;
    p.minDist = EDMinDist.Text();
    p.maxDist = EDMaxDist.Text();
    return p;
}

void TThingsPanel::ShowPages(const TThingPages& p)
{
    TProgramChange guard(*this);
    EDOriginX.SetText(p.origin[0]);
    EDOriginY.SetText(p.origin[1]);
    EDOriginZ.SetText(p.origin[2]);
    EDPitch.SetText(p.angles[0]);
    EDYaw.SetText(p.angles[1]);
    EDRoll.SetText(p.angles[2]);
    EDColorR.SetText(p.colour[0]);
    EDColorG.SetText(p.colour[1]);
    EDColorB.SetText(p.colour[2]);
    EDIntensity.SetText(p.intensity);
    CBStyle.SetItemIndex(p.style);
    EDFalloff.SetText(p.falloff);
    CBEditorOnly.SetChecked(p.editorOnly);
    EDScript.SetText(p.script);
    EDFoley.SetText(p.foley);
    EDAIClass.SetText(p.aiClass);
    EDDescriptionID.SetText(p.descriptionId);
    EDTreasureClass.SetText(p.treasureClass);
    EDSound.SetText(p.sound);
    TBVolume.SetPosition(p.volume);
    TBPan.SetPosition(p.pan);
    LBLVolume.SetCaption(std::to_string(TBVolume.Position()));
    LBLPan.SetCaption(std::to_string(TBPan.Position()));
    for (int i = 0; i < CLBFlags.Count(); i++)
        CLBFlags.SetChecked(i, (p.soundFlags >> i) & 1);
    EDMinDist.SetText(p.minDist);
    EDMaxDist.SetText(p.maxDist);
}

void TThingsPanel::ShowTree()
{
    TProgramChange guard(*this);
    TVTemplates.Clear();
    viewNodes.clear();
    if (!tree.IsNode(tree.Root()))
        return;
    // Pre-order, so that every parent is in the view before its children.
    std::vector<int> stack = {tree.Root()};
    while (!stack.empty()) {
        int n = stack.back();
        stack.pop_back();
        const TTemplateNode& node = tree.Node(n);
        if ((int)viewNodes.size() <= n)
            viewNodes.resize(n + 1, nullptr);
        TTreeNode* parent = node.parent >= 0 ? viewNodes[node.parent] : nullptr;
        TTreeNode* view = TVTemplates.AddChild(parent, node.text, (void*)(intptr_t)n);
        int image = node.image == TEMPLATE_IMAGE_NONE ? 3 : node.image;
        view->SetImageIndex(image);
        view->SetSelectedIndex(image);
        viewNodes[n] = view;
        for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
            stack.push_back(*it);
    }
    viewNodes[tree.Root()]->Expand(false);
    ShowTreeSelection();
}

void TThingsPanel::ShowTreeSelection()
{
    TProgramChange guard(*this);
    int n = tree.SelectedNode();
    TTreeNode* view = (n >= 0 && n < (int)viewNodes.size()) ? viewNodes[n] : nullptr;
    TVTemplates.Select(view);
    if (view)
        view->MakeVisible();
}

void TThingsPanel::ShowFiles()
{
    TProgramChange guard(*this);
    LBFiles.Clear();
    for (int i = 0; i < files.Count(); i++)
        LBFiles.AddItem(files.Name(i));
    LBFiles.SetItemIndex(files.Selected());
    RefreshFileButtons();
}

void TThingsPanel::RefreshFileButtons()
{
    TTemplateFileButtons b = files.Buttons();
    BNAddFile.SetEnabled(b.add);
    BNRemoveFile.SetEnabled(b.remove);
    BNUpFile.SetEnabled(b.up);
    BNDownFile.SetEnabled(b.down);
}

void TThingsPanel::FilesChanged()
{
    ShowFiles();
    Fire(onTemplateFiles);
}

// The preview player gets the first sound file found for the value; without one it is closed
// and disabled. A file that MCI cannot open leaves the player disabled as well.
void TThingsPanel::PreviewSound(const std::string& value)
{
    soundPreview = ThingsSound_Find(soundsDir, value, FileExists);
    if (soundPreview.empty()) {
        MPSound.Close();
        MPSound.SetPlayerEnabled(false);
        return;
    }
    MPSound.FileName = soundPreview;
    MPSound.Open();
}

bool TThingsPanel::Pick(const char* title, const char* filter, const char* defaultExt,
                        const std::string& folder, DWORD options, std::string& path)
{
    ODPick.Title = title;
    ODPick.Filter = filter;
    ODPick.DefaultExt = defaultExt;
    ODPick.InitialDir = folder;
    ODPick.FileName.clear();
    ODPick.Options = options;
    TBusy wait(*this);
    if (!ODPick.Execute(Handle()))
        return false;
    path = ODPick.FileName;
    return true;
}

bool TThingsPanel::PickInto(TEdit& box, std::string (*shown)(const std::string&), const char* title,
                            const char* filter, const char* defaultExt, const std::string& folder, DWORD options)
{
    std::string path;
    if (!Pick(title, filter, defaultExt, folder, options, path))
        return false;
    box.SetText(shown(path));
    return true;
}

void TThingsPanel::ApplyPages(bool (TThingsEditor::*apply)(const TThingPages&))
{
    (editor.*apply)(PagesFromControls());
    ShowPairs();
}

void TThingsPanel::ApplyText(TThingsConfirm which, const char* key, const std::string& value)
{
    editor.Apply(which, key, value);
    ShowPairs();
}

// ---------------------------------------------------------------- template tree

void TThingsPanel::TVTemplatesChange(TTreeNode* node)
{
    if (ChangingByProgram() || !node)
        return;
    tree.Select((int)(intptr_t)node->Data());
}

void TThingsPanel::TVTemplatesDblClick()
{
    if (tree.IsLeaf(tree.SelectedNode()))
        Fire(onTemplateDoubleClick);
}

void TThingsPanel::TVTemplatesRightClick()
{
    POINT p;
    GetCursorPos(&p);
    PMTemplates.Popup(Handle(), p.x, p.y);
}

void TThingsPanel::MICollapseAllClick(TMenuItem*)
{
    TVTemplates.FullCollapse();
    if (TTreeNode* root = TVTemplates.GetFirstNode())
        root->Expand(false);
}

void TThingsPanel::MIExpandAllClick(TMenuItem*) { TVTemplates.FullExpand(); }

// Takes effect when the host builds the tree again, which the callback asks it to do.
void TThingsPanel::MISubCategoriesClick(TMenuItem*)
{
    tree.subCategories = !tree.subCategories;
    MISubCategories->SetChecked(tree.subCategories);
    Fire(onTemplateFiles);
}

void TThingsPanel::EDSearchEnter()
{
    if (tree.Search(EDSearch.Text()) >= 0)
        ShowTreeSelection();
}

void TThingsPanel::BNApplyTemplateClick(TControl*)
{
    editor.ApplyTemplate(tree);
    ShowPairs();
}

// ---------------------------------------------------------------- property pages

void TThingsPanel::BNApplyOriginClick(TControl*) { ApplyPages(&TThingsEditor::ApplyOrigin); }

void TThingsPanel::BNApplyOrientClick(TControl*) { ApplyPages(&TThingsEditor::ApplyOrientation); }

void TThingsPanel::BNYawClick(TControl* sender)
{
    EDYaw.SetText(sender->Text());
    if (editor.autoApply)
        BNApplyOrientClick(sender);
}

void TThingsPanel::UDOrientClick(TControl* sender)
{
    if (editor.autoApply)
        BNApplyOrientClick(sender);
}

void TThingsPanel::BNApplyColorClick(TControl*) { ApplyPages(&TThingsEditor::ApplyColour); }

void TThingsPanel::BNPickColorClick(TControl* sender)
{
    CDColor.Color = Things_ColourFromTexts(EDColorR.Text(), EDColorG.Text(), EDColorB.Text());
    bool picked;
    {
        TBusy wait(*this);
        picked = CDColor.Execute(Handle());
    }
    if (!picked)
        return;
    TThingPages p;
    Things_ColourToTexts(CDColor.Color, p);
    EDColorR.SetText(p.colour[0]);
    EDColorG.SetText(p.colour[1]);
    EDColorB.SetText(p.colour[2]);
    BNApplyColorClick(sender);
}

void TThingsPanel::BNApplyLightClick(TControl*) { ApplyPages(&TThingsEditor::ApplyLight); }

void TThingsPanel::BNApplyStyleClick(TControl*) { ApplyPages(&TThingsEditor::ApplyStyle); }

void TThingsPanel::BNApplyFalloffClick(TControl*) { ApplyPages(&TThingsEditor::ApplyFalloff); }

void TThingsPanel::BNApplyEOClick(TControl*) { ApplyPages(&TThingsEditor::ApplyEditorOnly); }

void TThingsPanel::BNApplyAllLightClick(TControl*) { ApplyPages(&TThingsEditor::ApplyAllLightChanges); }

void TThingsPanel::BNApplyScriptClick(TControl*) { ApplyText(tcScript, "*SCRIPT", EDScript.Text()); }

void TThingsPanel::BNPickScriptClick(TControl* sender)
{
    if (PickInto(EDScript, tarvelPath_Title, "Pick a Codex class", "Codex Files (*.class)|*.class", "*.class",
                 codexDir, kExistingFile))
        BNApplyScriptClick(sender);
}

void TThingsPanel::BNDeleteScriptsClick(TControl*)
{
    if (editor.DeleteAllScripts())
        EDScript.SetText("");
    ShowPairs();
}

void TThingsPanel::BNApplyDIDClick(TControl*) { ApplyText(tcDescriptionId, "*DESCRIPTIONID", EDDescriptionID.Text()); }

void TThingsPanel::BNApplyFoleyClick(TControl*) { ApplyText(tcFoley, "*FOLEY", EDFoley.Text()); }

void TThingsPanel::BNPickFoleyClick(TControl* sender)
{
    if (PickInto(EDFoley, tarvelPath_Title, "Pick a foley file", "Foley Files (*.wek)|*.wek", "",
                 foleyDir, 0))
        BNApplyFoleyClick(sender);
}

void TThingsPanel::BNApplyAIClick(TControl*) { ApplyText(tcAIClass, "*AICLASS", EDAIClass.Text()); }

void TThingsPanel::BNPickAIClick(TControl* sender)
{
    if (PickInto(EDAIClass, tarvelPath_Title, "Pick an AI class file", "AI Class Files (*.jop)|*.jop", "",
                 aiDir, 0))
        BNApplyAIClick(sender);
}

void TThingsPanel::BNApplyTCClick(TControl*) { ApplyText(tcTreasureClass, "*TREASURECLASS", EDTreasureClass.Text()); }

void TThingsPanel::BNPickSoundClick(TControl* sender)
{
    if (PickInto(EDSound, tarvelPath_FileName, "Pick a Sound", "Sound Files (*.wav)|*.wav", "*.wav", soundsDir,
                 kExistingFile))
        BNApplySoundClick(sender);
}

void TThingsPanel::BNApplySoundClick(TControl*) { ApplyText(tcNone, "SOUND", EDSound.Text()); }

void TThingsPanel::BNApplyFlagsClick(TControl*) { ApplyPages(&TThingsEditor::ApplyFlags); }

void TThingsPanel::TBVolumeChange(TControl*) { LBLVolume.SetCaption(std::to_string(TBVolume.Position())); }
void TThingsPanel::TBPanChange(TControl*) { LBLPan.SetCaption(std::to_string(TBPan.Position())); }

void TThingsPanel::BNApplyVolumeClick(TControl*) { ApplyText(tcVolume, "SOUNDVOLUME", std::to_string(TBVolume.Position())); }

void TThingsPanel::BNApplyPanClick(TControl*) { ApplyText(tcPan, "SOUNDPAN", std::to_string(TBPan.Position())); }

void TThingsPanel::BNApplyDistsClick(TControl*)
{
    // The corrected distances show in their boxes before the question, and stay on No.
    TThingPages p = PagesFromControls();
    ThingsPages_CorrectDists(p);
    EDMinDist.SetText(p.minDist);
    EDMaxDist.SetText(p.maxDist);
    editor.ApplyDists(p);
    ShowPairs();
}

void TThingsPanel::BNDeleteSoundsClick(TControl*)
{
    if (editor.DeleteAllSounds()) {
        TThingPages p = PagesFromControls();
        ThingsPages_ResetSound(p);
        ShowPages(p);
    }
    ShowPairs();
}

// ---------------------------------------------------------------- pair list

void TThingsPanel::LVPairsClick(TControl*)
{
    int row = LVPairs.Selected();
    if (row < 0 || row >= editor.pairs.Count())
        return;
    std::string key, value;
    Things_RowChoice(editor.pairs.Row(row), key, value);
    CBKeys.SetItemIndex(key.empty() ? -1 : CBKeys.IndexOf(key));
    EDValue.SetText(value);
}

void TThingsPanel::BNApplyKeyClick(TControl*)
{
    int chosen = CBKeys.ItemIndex();
    editor.ApplyKey(chosen >= 0 ? CBKeys.Item(chosen) : "", EDValue.Text());
    ShowPairs();
}

void TThingsPanel::BNDeleteKeyClick(TControl*)
{
    int row = LVPairs.Selected();
    if (row < 0)
        return;
    editor.DeleteKey(row);
    ShowPairs();
}

// ---------------------------------------------------------------- template files

void TThingsPanel::LBFilesClick(TControl*)
{
    files.Select(LBFiles.ItemIndex());
    RefreshFileButtons();
}

void TThingsPanel::BNAddFileClick(TControl*)
{
    std::string path;
    if (!Pick("Pick a Template File", "Template Files (*.zul)|*.zul", "*.zul", templatesDir,
              kExistingFile, path))
        return;
    if (files.Add(path))
        FilesChanged();
}

void TThingsPanel::BNRemoveFileClick(TControl*)
{
    files.Select(LBFiles.ItemIndex());
    if (files.Remove())
        FilesChanged();
}

void TThingsPanel::BNUpFileClick(TControl*)
{
    files.Select(LBFiles.ItemIndex());
    if (files.MoveUp())
        FilesChanged();
}

void TThingsPanel::BNDownFileClick(TControl*)
{
    files.Select(LBFiles.ItemIndex());
    if (files.MoveDown())
        FilesChanged();
}

void TThingsPanel::CBConfirmClick(TControl*) { editor.confirmMultiple = CBConfirm.Checked(); }

// ---------------------------------------------------------------- keyboard

const TThingsPanel::TEnterAction* TThingsPanel::EnterActionOf(HWND focus) const
{
    for (const TEnterAction& a : enterActions)
        if (a.control->Handle() == focus)
            return &a;
    return nullptr;
}

bool TThingsPanel::Swallows(HWND focus) const
{
    for (const TControl* c : swallowing)
        if (c->Handle() == focus || (focus && GetParent(focus) == c->Handle()))
            return true;
    return false;
}

// Tab moves the focus on release, so its press is kept from the controls (and from the form's
// own Tab handling). Enter acts on release, and only after the panel saw the press: the release
// of an Enter that closed a message box or a dialog must not run the action a second time.
void TThingsPanel::FormKeyDown(WORD& key)
{
    HWND focus = KeyWindow();
    if (key == VK_TAB) {
        tabPressed = true;
        key = 0;
    } else if (key == VK_RETURN) {
        enterPressed = true;
        if (focus == EDSearch.Handle()) {
            EDSearchEnter();
            key = 0;
        } else if (Swallows(focus)) {
            key = 0;
        }
    }
}

void TThingsPanel::FormKeyUp(WORD& key)
{
    HWND focus = KeyWindow();
    if (key == VK_TAB) {
        bool pressed = tabPressed;
        tabPressed = false;
        key = 0;
        if (!pressed)
            return;
        bool back = GetKeyState(VK_SHIFT) < 0;
        HWND next = GetNextDlgTabItem(Handle(), focus, back);
        if (next)
            ::SetFocus(next);
    } else if (key == VK_RETURN) {
        bool pressed = enterPressed;
        enterPressed = false;
        if (!pressed)
            return;
        const TEnterAction* a = EnterActionOf(focus);
        if (!a && focus)
            a = EnterActionOf(GetParent(focus));  // the edit inside a drop-down list
        if (a) {
            key = 0;
            (this->*a->action)(const_cast<TControl*>(a->control));
        }
    }
}

void TThingsPanel::FormKeyPress(char& key)
{
    HWND focus = KeyWindow();
    if (key == '\t' || ((key == '\r' || key == '\n') && (Swallows(focus) || focus == EDSearch.Handle())))
        key = 0;
}
