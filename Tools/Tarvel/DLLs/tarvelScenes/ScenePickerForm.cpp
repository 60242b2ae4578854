#include "ScenePickerForm.h"

TScenePickerForm::~TScenePickerForm()
{
    DestroyForm();
}

bool TScenePickerForm::Create(const TSceneListReader& reader)
{
    // Centred on the screen.
    const int width = 440, height = 340;
    if (!CreateForm("ScenePicker", (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                    (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, fkPlainTopLevel))
        return false;
    Fill(reader);
    return true;
}

void TScenePickerForm::CreateComponents()
{
    const int width = ClientWidth(), height = ClientHeight();
    LVScenes.Create(this, 8, 8, width - 16, height - 52);
    LVScenes.SetRowSelect(true);
    LVScenes.SetGridLines(true);
    LVScenes.AddColumn("Scene Name", 140);
    LVScenes.AddColumn("Scene Description", 260);
    LVScenes.OnChange = [this](int item) { LVScenesChange(item); };
    LVScenes.OnDblClick = [this](TControl* sender) { LVScenesDblClick(sender); };
    BNOk.Create(this, "OK", width - 176, height - 36, 80, 26);
    BNOk.OnClick = [this](TControl* sender) { BNOkClick(sender); };
    BNCancel.Create(this, "Cancel", width - 88, height - 36, 80, 26);
    BNCancel.OnClick = [this](TControl* sender) { BNCancelClick(sender); };
    SetDefaultButton(&BNOk);
    SetCancelButton(&BNCancel);
}

// The rows follow the picker's entries one to one (already sorted by name).
void TScenePickerForm::Fill(const TSceneListReader& reader)
{
    TProgramChange guard(*this);
    picker.Fill(reader);
    LVScenes.Clear();
    for (const TScenePicker::Entry& e : picker.Entries()) {
        int row = LVScenes.AddItem(e.name);
        LVScenes.SetItemText(row, 1, e.shortDesc);
    }
}

void TScenePickerForm::LVScenesChange(int)
{
    if (!ChangingByProgram())
        picker.Select(LVScenes.Selected());
}

// A double-click ends as OK with or without a row: the editor refuses an empty name.
void TScenePickerForm::LVScenesDblClick(TControl*)
{
    picker.Select(LVScenes.Selected());
    SetModalResult(mrOk);
}

void TScenePickerForm::BNOkClick(TControl*)
{
    picker.Select(LVScenes.Selected());
    SetModalResult(picker.OkAccepted() ? mrOk : mrCancel);
}

void TScenePickerForm::BNCancelClick(TControl*)
{
    SetModalResult(mrCancel);
}
