// The "ScenePicker" window: every scene of the chronicle's scene-list file with its short
// description; the user picks one for the scene editor's New scene. Made for one use.
#pragma once
#include "Button.h"
#include "Form.h"
#include "ListView.h"
#include "SceneList.h"

class TScenePickerForm : public TForm {
public:
    ~TScenePickerForm() override;
    // Makes the window, centred on the screen, and fills the list from the reader.
    bool Create(const TSceneListReader& reader);

    TScenePicker picker;  // the list's entries and the picked name
    TListView LVScenes;
    TButton BNOk;
    TButton BNCancel;

protected:
    void CreateComponents() override;

private:
    void Fill(const TSceneListReader& reader);
    void LVScenesChange(int item);
    void LVScenesDblClick(TControl* sender);
    void BNOkClick(TControl* sender);
    void BNCancelClick(TControl* sender);
};
