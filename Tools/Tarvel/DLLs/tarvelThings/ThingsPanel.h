// The things panel "Things & Templates": the form that the host gets as a child of one of its
// windows. The logic modules (TThingsEditor with its TPairList, TTemplateTree,
// TTemplateFileList) are the model; the form copies its controls into their calls and shows what
// they hold. One panel per loaded library; it exists from _CreateAsChild to _Destroy.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "Button.h"
#include "CheckListBox.h"
#include "ComboBox.h"
#include "Dialogs.h"
#include "Edit.h"
#include "Form.h"
#include "GroupBox.h"
#include "ImageList.h"
#include "Label.h"
#include "ListBox.h"
#include "ListView.h"
#include "MediaPlayer.h"
#include "Menu.h"
#include "PageControl.h"
#include "Panel.h"
#include "StatusBar.h"
#include "TemplateTree.h"
#include "ThingsEdit.h"
#include "ThingsRecords.h"
#include "TrackBar.h"
#include "TreeView.h"
#include "UpDown.h"
#include "../tarvelPanel.h"

constexpr int THINGS_PANEL_WIDTH = 700;
constexpr int THINGS_PANEL_HEIGHT = 740;

class TThingsPanel : public TForm, public TTarvelPanel {
public:
    TThingsPanel();
    ~TThingsPanel() override;

    bool Create(HWND parent);

    // ---- what the exports do ----
    void SetBaseDir(const std::string& folder);
    void SetThingsInfo(const ThingsInfo& info);
    void GetThingsInfo(ThingsInfo& info);
    void SetTemplateFilesInfo(const TemplateFilesInfo& info);
    void BeginAddTemplates(const std::string& name);
    void AddTemplate(const std::string& name, int category, const std::string& subcategory);
    void EndAddTemplates(const std::string& name);
    void Position(int left, int top, int right, int bottom);
    void ReportPosition();

    TThingsEditor editor;
    TTemplateTree tree;
    TTemplateFileList files;
    std::string soundPreview;  // the file the preview player was given, "" when none

    std::string baseDir, codexDir, templatesDir, soundsDir, foleyDir, aiDir;
    bool positioned = false;

    ThingsCloseCallback onClose = nullptr;
    ThingsApplyCallback onApply = nullptr;
    ThingsPositionCallback onPosition = nullptr;
    ThingsTemplateDoubleClickCallback onTemplateDoubleClick = nullptr;
    ThingsTemplateFilesCallback onTemplateFiles = nullptr;

    // ---- components ----
    TPageControl PCMain;
    TTabSheet* TSThingEditor = nullptr;
    TTabSheet* TSTemplateFiles = nullptr;
    TTabSheet* TSConfirm = nullptr;

    // "Thing Editor": tree and pages on top, the pair list below, the status bar last.
    TStatusBar SBThings;
    TPanel PNTop;
    TLabel LBLSearch;
    TEdit EDSearch;
    TTreeView TVTemplates;
    TButton BNApplyTemplate;
    TPopupMenu PMTemplates;
    TMenuItem* MICollapseAll = nullptr;
    TMenuItem* MIExpandAll = nullptr;
    TMenuItem* MISubCategories = nullptr;
    TImageList ILTemplates;

    TPageControl PCPages;
    TTabSheet* TSMain = nullptr;
    TTabSheet* TSOverrides = nullptr;
    TTabSheet* TSLight = nullptr;
    TTabSheet* TSSound = nullptr;

    TGroupBox GBOrigin;
    TEdit EDOriginX, EDOriginY, EDOriginZ;
    TButton BNApplyOrigin;
    TGroupBox GBOrientation;
    TEdit EDPitch, EDYaw, EDRoll;
    TUpDown UDPitch, UDYaw, UDRoll;
    TButton BNApplyOrient;
    TButton BNYaw[8];

    TGroupBox GBScript, GBDescriptionID, GBFoley, GBAIClass, GBTreasureClass;
    TEdit EDScript, EDDescriptionID, EDFoley, EDAIClass, EDTreasureClass;
    TButton BNApplyScript, BNPickScript, BNDeleteScripts, BNApplyDID, BNApplyFoley, BNPickFoley,
        BNApplyAI, BNPickAI, BNApplyTC;

    TGroupBox GBIntensity, GBFalloff, GBColor, GBStyle, GBEditorOnly;
    TEdit EDIntensity, EDFalloff, EDColorR, EDColorG, EDColorB;
    TUpDown UDIntensity, UDColorR, UDColorG, UDColorB;
    TButton BNApplyLight, BNApplyFalloff, BNApplyColor, BNPickColor, BNApplyStyle, BNApplyEO,
        BNApplyAllLight;
    TComboBox CBStyle;
    TCheckBox CBEditorOnly;

    TGroupBox GBSound, GBFlags, GBDists, GBVolume, GBPan;
    TEdit EDSound, EDMinDist, EDMaxDist;
    TButton BNPickSound, BNApplySound, BNApplyFlags, BNApplyDists, BNApplyVolume, BNApplyPan,
        BNDeleteSounds;
    TMediaPlayer MPSound;
    TCheckListBox CLBFlags;
    TTrackBar TBVolume, TBPan;
    TLabel LBLVolume, LBLPan;

    TPanel PNPairs;
    TLabel LBLPairs;
    TListView LVPairs;
    TImageList ILPairs;
    TPanel PNPairEdit;
    TComboBox CBKeys;
    TEdit EDValue;
    TButton BNApplyKey, BNDeleteKey;

    // "Templates Files"
    TLabel LBLDefaultFiles, LBLDefaultFile[TEMPLATE_DEFAULT_FILES], LBLExtraFiles;
    TListBox LBFiles;
    TButton BNAddFile, BNRemoveFile, BNUpFile, BNDownFile;

    // "Confirm"
    TCheckBox CBConfirm;

    TOpenDialog ODPick;
    TColorDialog CDColor;

    // ---- handlers ----
    void TVTemplatesChange(TTreeNode* node);
    void TVTemplatesDblClick();
    void TVTemplatesRightClick();
    void MICollapseAllClick(TMenuItem* sender);
    void MIExpandAllClick(TMenuItem* sender);
    void MISubCategoriesClick(TMenuItem* sender);
    void EDSearchEnter();
    void BNApplyTemplateClick(TControl* sender);

    void BNApplyOriginClick(TControl* sender);
    void BNApplyOrientClick(TControl* sender);
    void BNYawClick(TControl* sender);
    void UDOrientClick(TControl* sender);
    void BNApplyColorClick(TControl* sender);
    void BNPickColorClick(TControl* sender);
    void BNApplyLightClick(TControl* sender);
    void BNApplyStyleClick(TControl* sender);
    void BNApplyFalloffClick(TControl* sender);
    void BNApplyEOClick(TControl* sender);
    void BNApplyAllLightClick(TControl* sender);
    void BNApplyScriptClick(TControl* sender);
    void BNPickScriptClick(TControl* sender);
    void BNDeleteScriptsClick(TControl* sender);
    void BNApplyDIDClick(TControl* sender);
    void BNApplyFoleyClick(TControl* sender);
    void BNPickFoleyClick(TControl* sender);
    void BNApplyAIClick(TControl* sender);
    void BNPickAIClick(TControl* sender);
    void BNApplyTCClick(TControl* sender);
    void BNPickSoundClick(TControl* sender);
    void BNApplySoundClick(TControl* sender);
    void BNApplyFlagsClick(TControl* sender);
    void TBVolumeChange(TControl* sender);
    void TBPanChange(TControl* sender);
    void BNApplyVolumeClick(TControl* sender);
    void BNApplyPanClick(TControl* sender);
    void BNApplyDistsClick(TControl* sender);
    void BNDeleteSoundsClick(TControl* sender);

    void LVPairsClick(TControl* sender);
    void BNApplyKeyClick(TControl* sender);
    void BNDeleteKeyClick(TControl* sender);

    void LBFilesClick(TControl* sender);
    void BNAddFileClick(TControl* sender);
    void BNRemoveFileClick(TControl* sender);
    void BNUpFileClick(TControl* sender);
    void BNDownFileClick(TControl* sender);
    void CBConfirmClick(TControl* sender);

    void FormKeyDown(WORD& key);
    void FormKeyUp(WORD& key);
    void FormKeyPress(char& key);
    void FormResize();
    void FormMove();

    // The pages as the controls show them, and back.
    TThingPages PagesFromControls() const;
    void ShowPages(const TThingPages& pages);

protected:
    void CreateComponents() override;
    // Hidden, and no callback any more.
    void Retire() override;

private:
    void CreateThingEditor();
    void CreateMainPage();
    void CreateOverridesPage();
    void CreateLightPage();
    void CreateSoundPage();
    void CreatePairList();
    void CreateTemplateFilesTab();
    void CreateImages();
    void LayOutTop();

    void ShowPairs();
    void ShowTree();
    void ShowTreeSelection();
    void ShowFiles();
    void RefreshFileButtons();
    void FilesChanged();
    void PreviewSound(const std::string& value);
    bool Pick(const char* title, const char* filter, const char* defaultExt,
              const std::string& folder, DWORD options, std::string& path);
    // A file picked into the box, shown as the box wants it (false: the dialog was cancelled).
    bool PickInto(TEdit& box, std::string (*shown)(const std::string&), const char* title, const char* filter,
                  const char* defaultExt, const std::string& folder, DWORD options);
    // An action on the pages as the controls show them, or on one key; the pair list then
    // shows what it changed.
    void ApplyPages(bool (TThingsEditor::*apply)(const TThingPages&));
    void ApplyText(TThingsConfirm which, const char* key, const std::string& value);

    // Keyboard: the control whose action Enter runs, and the controls that keep Tab and Enter.
    using TAction = void (TThingsPanel::*)(TControl*);
    struct TEnterAction {
        const TControl* control;
        TAction action;
    };
    std::vector<TEnterAction> enterActions;
    std::vector<const TControl*> swallowing;
    const TEnterAction* EnterActionOf(HWND focus) const;
    bool Swallows(HWND focus) const;
    bool enterPressed = false;
    bool tabPressed = false;

    std::vector<TTreeNode*> viewNodes;  // the tree view's node of each model node
    bool treeUpdating = false;
};

// The live panel, or null before _CreateAsChild and after _Destroy.
extern TThingsPanel* thingsPanel;
