// The "Scene Editor" window: the scene list, the pages of one scene, tool bar, status bar and
// splitter. The scene editor model (SceneEditor.h) holds the data and does every action; this
// form shows the model's state in its controls, writes what the user changes into the model's
// TSceneControls and calls the model's actions from its handlers.
#pragma once
#include "Button.h"
#include "CheckListBox.h"
#include "ComboBox.h"
#include "Edit.h"
#include "Form.h"
#include "GroupBox.h"
#include "Label.h"
#include "ListView.h"
#include "PageControl.h"
#include "Panel.h"
#include "Splitter.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "TrackBar.h"
#include "UpDown.h"
#include <functional>
#include <string>
#include "SceneList.h"

class TSceneEditor;

class TSceneEditorForm : public TForm {
public:
    // What the form needs of the panel that holds it: the model it shows and drives, the game
    // folder its file dialogs start in, and the reader of the current scene list for the picker.
    TSceneEditorForm(TSceneEditor& editor, const std::string& baseDir, std::function<TSceneListReader()> sceneList);
    ~TSceneEditorForm() override;

    bool Create();
    // The modal run, starting in the scene list.
    int Run();
    // Shows what the model holds: the layer names; the scene list, its selection, the scene's
    // controls and the status bar.
    void ShowLayers();
    void ShowScenes();

    // Components, named by kind: tool bar and its buttons, the scene list on its panel, the
    // splitter, the pages and their controls, the status bar.
    TToolBar TBMain;
    TToolButton* TBNew = nullptr;
    TToolButton* TBSave = nullptr;
    TToolButton* TBSceneList = nullptr;
    TToolButton* TBDelete = nullptr;
    TToolButton* TBQuit = nullptr;
    TStatusBar SBMain;
    TPanel PNScenes;
    TListView LVScenes;
    TSplitter SPScenes;
    TPageControl PCPages;
    TTabSheet* TSDescription = nullptr;
    TTabSheet* TSLayers = nullptr;
    TTabSheet* TSFlags = nullptr;
    TTabSheet* TSSound = nullptr;
    TTabSheet* TSRender = nullptr;
    TTabSheet* TSSky = nullptr;
    // Description
    TLabel LAShortDesc, LALongDesc;
    TEdit EDShortDesc;
    TMemo MMLongDesc;
    // Layers
    TCheckListBox CLBLayers;
    TLabel LALayerName;
    TEdit EDLayerName;
    TButton BNRename;
    // Flags
    TCheckListBox CLBFlags;
    // Sound
    TLabel LAMusic, LAMusicVolume, LAMusicVolumeValue, LAAmbient, LAAmbientVolume,
        LAAmbientVolumeValue, LAEAX;
    TEdit EDMusic, EDAmbient;
    TTrackBar TRMusicVolume, TRAmbientVolume;
    TComboBox CBEAX;
    TCheckListBox CLBSoundEffects;
    // Render
    TRadioGroup RGFog;
    TLabel LAZClip, LAColor, LAFogDist1, LAFogDist2;
    TEdit EDZClip, EDFogR, EDFogG, EDFogB, EDFogDist1, EDFogDist2;
    TUpDown UDZClip, UDFogR, UDFogG, UDFogB;
    TCheckListBox CLBAtmEffects;
    // Sky
    TLabel LASkyModel, LASkyAnim;
    TEdit EDSkyModel, EDSkyAnim;
    TButton BNSetDefaultSkies;

protected:
    void CreateComponents() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateDescriptionPage();
    void CreateLayersPage();
    void CreateFlagsPage();
    void CreateSoundPage();
    void CreateRenderPage();
    void CreateSkyPage();

    // Model to controls.
    void ShowEntries();
    void ShowControls();
    void ShowStatus();
    void ShowAll();

    // A user's change of a control: into the model's controls, and the scene is modified.
    void Changed();

    // Handlers.
    void TBNewClick(TToolButton* sender);
    void TBSaveClick(TToolButton* sender);
    void TBSceneListClick(TToolButton* sender);
    void TBDeleteClick(TToolButton* sender);
    void TBQuitClick(TToolButton* sender);
    void LVScenesChange(int item);
    void SBMainDblClick(TControl* sender);
    void SPScenesMoved();
    void PCPagesChange();
    void CLBLayersClick(TControl* sender);
    void BNRenameClick(TControl* sender);
    void TRVolumeChange(TControl* sender);
    void EDPickDblClick(TControl* sender);
    void UDClick(TControl* sender);
    void BNSetDefaultSkiesClick(TControl* sender);

    TSceneEditor& editor_;
    const std::string& baseDir_;
    std::function<TSceneListReader()> sceneList_;
    std::string pendingSelect_;
    bool focusList_ = false;  // the entry the user clicked, taken up after the click
};
