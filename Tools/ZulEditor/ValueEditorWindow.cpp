#include "ValueEditorWindow.h"
#include "Hooks.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "ZULData.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

namespace {
const char kCannotApply[] = "Cannot apply value...";
const char kSelectInList[] = "You must select a value in the listbox.";
const int kFlagBits = 32;
const int kPageWidth = 356;
const int kPageHeight = 276;
const int kBottomRows = 4;
const int kRowHeight = 24;

struct TColourPreset {
    const char* caption;
    int red, green, blue;
};
const TColourPreset kPresets[8] = {
    {"Red", 255, 0, 0},     {"Green", 0, 255, 0},     {"Blue", 0, 0, 255},   {"Cyan", 0, 255, 255},
    {"Magenta", 255, 0, 255}, {"Yellow", 255, 255, 0}, {"Black", 0, 0, 0},   {"White", 255, 255, 255},
};

// The definition of the row's tag, found by its id: two tags may share a name.
const TTagInfo* RowTagInfo(const TEdit& tagId)
{
    return FindTagInfoById(static_cast<int>(ReadLeadingInt(tagId.Text())));
}

// Replaces the items of a list; nothing is selected afterwards.
void SetItems(TListBox& list, const std::vector<std::string>& items)
{
    list.BeginUpdate();
    list.Clear();
    for (const std::string& item : items)
        list.AddItem(item);
    list.SetItemIndex(-1);
    list.EndUpdate();
}

std::string IntText(int value)
{
    return std::to_string(value);
}

// The lines a string-list button loads.
const char kGameKez[] = "Strings\\game.kez";
const char kSystemKez[] = "Strings\\system.kez";
const char kEffectsGux[] = "Misc\\effects.gux";
const char kGamePif[] = "Misc\\game.pif";
}  // namespace

// ---------------------------------------------------------------- logic without windows

namespace valueEditor {

std::vector<std::string> ReadListSection(const TIniFile* dataFile, const std::string& section)
{
    std::vector<std::string> items;
    if (!dataFile)
        return items;
    TStringList lines;
    dataFile->ReadSectionValues(section, lines);
    for (int i = 0; i < lines.Count(); ++i)
        items.push_back(dataFile->ReadString(section, std::to_string(i), ""));
    return items;
}

int TruncateToInt(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0f)
        return 2147483647;
    if (value <= -2147483648.0f)
        return -2147483647 - 1;
    return static_cast<int>(value);
}

COLORREF ColourWord(int red, int green, int blue)
{
    auto byte = [](int v) { return static_cast<COLORREF>(v < 0 ? 0 : v > 255 ? 255 : v); };
    return byte(red) | byte(green) << 8 | byte(blue) << 16;
}

std::string WithoutExtension(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    const size_t folder = name.find_last_of("\\/:");
    if (dot == std::string::npos || (folder != std::string::npos && dot < folder))
        return name;
    return name.substr(0, dot);
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines)
{
    lines.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return true;
}

std::string IdentifierOfLine(const std::string& line)
{
    const size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    const size_t last = line.find_last_not_of(" \t\r\n");
    const std::string text = line.substr(first, last - first + 1);
    if (text[0] == '#' || text.compare(0, 2, "//") == 0)
        return "";
    const std::string head = text.substr(0, kMaxValueText);
    return head.substr(0, head.find(' '));
}

}  // namespace valueEditor

using namespace valueEditor;

// ---------------------------------------------------------------- the form

TValueEditorWindow::TValueEditorWindow(TMainWindow& mainWindow) : main_(mainWindow)
{
    OnShow = [this] { FormShow(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
}

TValueEditorWindow::~TValueEditorWindow()
{
    if (main_.OnEditValue)
        main_.OnEditValue = nullptr;
    main_.SetValueEditorForm(nullptr);
    DestroyForm();
}

bool TValueEditorWindow::Create()
{
    if (!CreateForm("Value Editor", 120, 120, 480, 330, fkDialog))
        return false;
    main_.OnEditValue = [this] { EditSelectedRow(); };
    main_.SetValueEditorForm(this);
    return true;
}

void TValueEditorWindow::CreateComponents()
{
    Pages.Create(this, 8, 8, kPageWidth, kPageHeight);
    Pages.SetTabsVisible(false);
    BuildNumberPages();
    BuildVectorAndColourPages();
    BuildTextPages();
    BuildListPages();

    const int x = kPageWidth + 16;
    BNOk.Create(this, "OK", x, 8, 88, 26);
    BNOk.OnClick = [this](TControl*) { BNOkClick(); };
    BNCancel.Create(this, "Cancel", x, 40, 88, 26);
    BNCancel.OnClick = [this](TControl*) { BNCancelClick(); };
    SBMore.Create(this, "More Info...", x, 72, 88, 26);
    SBMore.OnClick = [this](TControl*) { SBMoreClick(); };
    SetDefaultButton(&BNOk);
    BNOk.SetDefaultLook(true);
    SetCancelButton(&BNCancel);

    BuildBottomPanel();

    ColorDialog.Color = 0;
    OpenDialog.Options = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
}

void TValueEditorWindow::AddLabel(TControl* parent, const std::string& caption, int left, int top, int width,
                                  int height)
{
    labels_.push_back(std::make_unique<TLabel>());
    labels_.back()->Create(parent, caption, left, top, width, height);
}

TTabSheet* TValueEditorWindow::MakePage(const std::string& label)
{
    TTabSheet* page = Pages.AddPage(label);
    AddLabel(page, label, 8, 8, kPageWidth - 16, 16);
    return page;
}

void TValueEditorWindow::BuildNumberPages()
{
    TabSINT = MakePage("Signed Integer");
    EDSINT.Create(TabSINT, 8, 30, 200, 22);
    TabUINT = MakePage("Unsigned Integer");
    EDUINT.Create(TabUINT, 8, 30, 200, 22);
    TabFLAGS = MakePage("Flags");
    CLBFlags.Create(TabFLAGS, 8, 28, kPageWidth - 24, kPageHeight - 44);
    TabFLOAT = MakePage("Floating point");
    EDFLOAT.Create(TabFLOAT, 8, 30, 200, 22);
    TabUFLOAT = MakePage("Unsigned (positive) float");
    EDUFLOAT.Create(TabUFLOAT, 8, 30, 200, 22);
}

void TValueEditorWindow::BuildVectorAndColourPages()
{
    TabVECTOR = MakePage("Vector (3 floating point values)");
    EDVECTOR1.Create(TabVECTOR, 8, 30, 150, 22);
    EDVECTOR2.Create(TabVECTOR, 8, 58, 150, 22);
    EDVECTOR3.Create(TabVECTOR, 8, 86, 150, 22);
    // Kept for a later version: shown disabled, they do nothing.
    BNVectorNormalize.Create(TabVECTOR, "Normalize", 176, 30, 90, 24);
    BNVectorScale.Create(TabVECTOR, "Scale by", 176, 58, 90, 24);
    EDVectorScaleBy.Create(TabVECTOR, 272, 59, 60, 22);
    BNVectorNormalize.SetEnabled(false);
    BNVectorScale.SetEnabled(false);
    EDVectorScaleBy.SetEnabled(false);

    TabRGB = MakePage("RGB Value (3 integers between 0 and 255)");
    TEdit* const fields[3] = {&EDRGB1, &EDRGB2, &EDRGB3};
    const char* const names[3] = {"R", "G", "B"};
    for (int i = 0; i < 3; ++i) {
        AddLabel(TabRGB, names[i], 8, 33 + 28 * i, 16, 16);
        fields[i]->Create(TabRGB, 26, 30 + 28 * i, 60, 22);
    }
    TButton* const presets[8] = {&BNRGBRed,  &BNRGBGreen,   &BNRGBBlue,   &BNRGBCyan,
                                 &BNRGBMagenta, &BNRGBYellow, &BNRGBBlack, &BNRGBWhite};
    for (int i = 0; i < 8; ++i) {
        presets[i]->Create(TabRGB, kPresets[i].caption, 8 + 84 * (i % 4), 122 + 30 * (i / 4), 78, 24);
        presets[i]->OnClick = [this](TControl* sender) { BNRGBRedClick(sender); };
    }
    BNPickColor.Create(TabRGB, "Pick...", 8, 190, 78, 24);
    BNPickColor.OnClick = [this](TControl*) { BNPickColorClick(); };
}

void TValueEditorWindow::BuildTextPages()
{
    TabSTRING = MakePage("String");
    EDSTRING.Create(TabSTRING, 8, 30, kPageWidth - 24, 22);
    EDSTRING.SetMaxLength(kMaxValueText);
    TButton* const fills[4] = {&BNFillKEZ, &BNFillSysKEZ, &BNFillGUX, &BNFillPIF};
    const char* const captions[4] = {"game.kez", "system.kez", "effects.gux", "game.pif"};
    for (int i = 0; i < 4; ++i)
        fills[i]->Create(TabSTRING, captions[i], 8 + 84 * i, 58, 78, 24);
    BNFillKEZ.OnClick = [this](TControl*) { BNFillKEZClick(); };
    BNFillSysKEZ.OnClick = [this](TControl*) { BNFillSysKEZClick(); };
    BNFillGUX.OnClick = [this](TControl*) { BNFillGUXClick(); };
    BNFillPIF.OnClick = [this](TControl*) { BNFillPIFClick(); };
    LBKEZ.Create(TabSTRING, 8, 88, kPageWidth - 24, kPageHeight - 104, false, true);
    LBKEZ.UseFixedPitchFont();
    LBKEZ.OnDblClick = [this](TControl*) { LBKEZDblClick(); };

    TabFILENAME = MakePage("Filename");
    EDFILENAME.Create(TabFILENAME, 8, 30, kPageWidth - 64, 22);
    EDFILENAME.SetMaxLength(kMaxValueText);
    BNPickFiIename.Create(TabFILENAME, "...", kPageWidth - 50, 29, 30, 24);
    BNPickFiIename.OnClick = [this](TControl*) { BNPickFiIenameClick(); };
}

void TValueEditorWindow::BuildListPages()
{
    TabSTRINGLIST = MakePage("Stringlist");
    LBSTRINGLIST.Create(TabSTRINGLIST, 8, 28, kPageWidth - 24, kPageHeight - 44);
    TabENUM = MakePage("Enum");
    LBENUM.Create(TabENUM, 8, 28, kPageWidth - 24, kPageHeight - 44);

    TabTEMPLATE = MakePage("Template");
    LBTEMPLATE.Create(TabTEMPLATE, 8, 28, kPageWidth - 24, kPageHeight - 76, true);
    LBTEMPLATE.SetSorted(true);
    LBTEMPLATE.SetColumns(3);
    const int y = kPageHeight - 40;
    UDColumns.Create(TabTEMPLATE, nullptr);
    UDColumns.SetBounds(8, y, 16, 22);
    UDColumns.SetRange(1, 20);
    UDColumns.SetPosition(3);
    UDColumns.OnClick = [this](TControl*) { UDColumnsClick(); };
    LabelNumColumns.Create(TabTEMPLATE, "3", 30, y + 3, 24, 16, SS_RIGHT);
    AddLabel(TabTEMPLATE, "Column(s)", 60, y + 3, 80, 16);
}

void TValueEditorWindow::BuildBottomPanel()
{
    bottomHeight_ = kBottomRows * kRowHeight + 12;
    PanelBottom.Create(this, 0, kPageHeight + 16, ClientWidth(), bottomHeight_, true);
    struct Field {
        TEdit* edit;
        const char* label;
    };
    const Field fields[7] = {{&EDInitialValue, "Initial Value"}, {&EDInherited, "Inherited Value"},
                             {&EDParent, "Parent"},              {&EDParentZUL, "ParentZUL"},
                             {&EDTag, "Tag"},                    {&EDType, "Data Type"},
                             {&EDTagID, "TagID"}};
    for (int i = 0; i < 7; ++i) {
        const int column = i / kBottomRows, row = i % kBottomRows;
        const int x = 6 + column * 232, y = 6 + row * kRowHeight;
        AddLabel(&PanelBottom, fields[i].label, x, y + 3, 90, 16);
        fields[i].edit->Create(&PanelBottom, x + 92, y, 128, 21);
        fields[i].edit->SetReadOnly(true);
    }
    PanelBottom.Hide();
}

// ---------------------------------------------------------------- opening

TTabSheet* TValueEditorWindow::PageOfType(TDataType type) const
{
    switch (type) {
    case dtSINT: return TabSINT;
    case dtUINT: return TabUINT;
    case dtFLAGS: return TabFLAGS;
    case dtFLOAT: return TabFLOAT;
    case dtUFLOAT: return TabUFLOAT;
    case dtVECTOR: return TabVECTOR;
    case dtRGB: return TabRGB;
    case dtSTRING: return TabSTRING;
    case dtFILENAME:
    case dtFILENAMENOEXT: return TabFILENAME;
    case dtSTRINGLIST: return TabSTRINGLIST;
    case dtENUM: return TabENUM;
    case dtTEMPLATE: return TabTEMPLATE;
    default: return nullptr;
    }
}

void TValueEditorWindow::EditSelectedRow()
{
    const int row = main_.LVData.Selected();
    if (row < 0)
        return;
    const TListView& list = main_.LVData;
    EDInitialValue.SetText(list.ItemText(row, colValue));
    EDInherited.SetText(list.ItemText(row, colInherited));
    EDParent.SetText(list.ItemText(row, colParent));
    EDParentZUL.SetText(list.ItemText(row, colParentZUL));
    EDTagID.SetText(list.ItemText(row, colTagID));
    EDTag.SetText(list.ItemText(row, colTag));
    EDType.SetText(list.ItemText(row, colType));

    const std::string value = list.ItemText(row, colValue);
    const std::string current = value.empty() ? list.ItemText(row, colInherited) : value;
    const TDataType type = DataTypeFromName(EDType.Text());
    if (TTabSheet* page = PageOfType(type)) {
        Pages.SetActivePage(page);
        SetUpPage(type, current);
    }
    SetModalResult(mrNone);
    ShowModal();
}

void TValueEditorWindow::SetUpPage(TDataType type, const std::string& current)
{
    TProgramChange change(*this);
    switch (type) {
    case dtSINT: EDSINT.SetText(current); break;
    case dtUINT: EDUINT.SetText(current); break;
    case dtFLOAT: EDFLOAT.SetText(current); break;
    case dtUFLOAT: EDUFLOAT.SetText(current); break;
    case dtSTRING: EDSTRING.SetText(current); break;
    case dtFLAGS: FillFlags(current); break;
    case dtVECTOR: {
        TEdit* const fields[3] = {&EDVECTOR1, &EDVECTOR2, &EDVECTOR3};
        FillThreeFields(current, fields, false);
        break;
    }
    case dtRGB: {
        TEdit* const fields[3] = {&EDRGB1, &EDRGB2, &EDRGB3};
        FillThreeFields(current, fields, true);
        break;
    }
    case dtFILENAME:
    case dtFILENAMENOEXT:
        EDFILENAME.SetText(current);
        SetUpFileDialog();
        break;
    case dtSTRINGLIST: FillStringList(); break;
    case dtENUM: FillEnum(current); break;
    case dtTEMPLATE:
        FillTemplateList();
        // Only the row's own value is looked up: an unset tag opens with no selection.
        LBTEMPLATE.SetItemIndex(LBTEMPLATE.FindExact(EDInitialValue.Text()));
        break;
    default: break;
    }
}

void TValueEditorWindow::FillFlags(const std::string& current)
{
    CLBFlags.BeginUpdate();
    CLBFlags.Clear();
    if (const TTagInfo* info = RowTagInfo(EDTagID)) {
        for (const std::string& item : ReadListSection(main_.DataFile(), info->ref))
            CLBFlags.AddItem(item);
        while (CLBFlags.Count() < kFlagBits)
            CLBFlags.AddItem(" ");
        const uint32_t bits = ReadLeadingInt(current);
        for (int k = 0; k < kFlagBits; ++k)
            CLBFlags.SetChecked(k, (bits >> k) & 1u);
    }
    CLBFlags.EndUpdate();
}

void TValueEditorWindow::FillEnum(const std::string& current)
{
    const TTagInfo* info = RowTagInfo(EDTagID);
    SetItems(LBENUM, info ? ReadListSection(main_.DataFile(), info->ref) : std::vector<std::string>());
    const int n = static_cast<int32_t>(ReadLeadingInt(current));
    if (info && n >= 0 && n < LBENUM.Count())
        LBENUM.SetItemIndex(n);
}

void TValueEditorWindow::FillStringList()
{
    SetItems(LBSTRINGLIST, ReadListSection(main_.DataFile(), EDTag.Text()));
    const std::string wanted = EDInitialValue.Text().empty() ? EDInherited.Text() : EDInitialValue.Text();
    for (int i = 0; i < LBSTRINGLIST.Count(); ++i)
        if (LBSTRINGLIST.Item(i) == wanted) {
            LBSTRINGLIST.SetItemIndex(i);
            break;
        }
}

void TValueEditorWindow::SetUpFileDialog()
{
    const TIniFile* data = main_.DataFile();
    const std::string tag = EDTag.Text();
    auto read = [data, &tag](const char* section) { return data ? data->ReadString(section, tag, "") : ""; };
    OpenDialog.DefaultExt = read("_FILE_EXTENSIONS");
    OpenDialog.Filter = read("_FILE_FILTERS");
    OpenDialog.InitialDir = main_.ProgramFolder() + read("_FILE_PATHS");
    OpenDialog.FileName.clear();
}

void TValueEditorWindow::FillThreeFields(const std::string& current, TEdit* const fields[3], bool asIntegers)
{
    // Components the text does not hold read as 0: a new tag has no text yet.
    const char* p = current.c_str();
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        float v = std::strtof(p, &end);
        if (end == p)
            v = 0.0f;
        else
            p = end;
        char text[64];
        if (asIntegers)
            std::snprintf(text, sizeof text, "%d", TruncateToInt(v));
        else
            std::snprintf(text, sizeof text, "%f", static_cast<double>(v));
        fields[i]->SetText(text);
    }
}

void TValueEditorWindow::FillTemplateList()
{
    LBTEMPLATE.BeginUpdate();
    LBTEMPLATE.SetSorted(false);
    LBTEMPLATE.Clear();
    for (int slot = 0; slot < MAX_ZULFILES; ++slot)
        if (TZULFile* file = main_.GetZULFile(slot)) {
            const TStringList& names = file->GetTemplateList();
            for (int i = 0; i < names.Count(); ++i)
                LBTEMPLATE.AddItem(names.Strings(i));
        }
    LBTEMPLATE.SetSorted(true);
    LBTEMPLATE.EndUpdate();
}

void TValueEditorWindow::FormShow()
{
    TControl* const focus[] = {&EDSINT,   &EDUINT,     &CLBFlags,     &EDFLOAT, &EDUFLOAT,   &EDVECTOR1,
                               &EDRGB1,   &EDSTRING,   &EDFILENAME,   &LBSTRINGLIST, &LBENUM, &LBTEMPLATE};
    TTabSheet* const pages[] = {TabSINT, TabUINT, TabFLAGS, TabFLOAT,      TabUFLOAT, TabVECTOR,
                                TabRGB,  TabSTRING, TabFILENAME, TabSTRINGLIST, TabENUM, TabTEMPLATE};
    for (size_t i = 0; i < std::size(pages); ++i)
        if (Pages.ActivePage() == pages[i])
            focus[i]->SetFocus();
}

// ---------------------------------------------------------------- OK and Cancel

namespace {
// The line chosen in a list page; none chosen is refused with the caption given.
bool ChosenLine(const TListBox& list, const char* caption, int& chosen)
{
    chosen = list.ItemIndex();
    if (chosen >= 0)
        return true;
    MessageDlg(kSelectInList, caption);
    return false;
}
}  // namespace

bool TValueEditorWindow::BuildValue(std::string& value, std::string& suffix)
{
    char text[64];
    int chosen = -1;
    switch (DataTypeFromName(EDType.Text())) {
    case dtSINT: value = EDSINT.Text(); break;
    case dtUINT: value = EDUINT.Text(); break;
    case dtFLOAT: value = EDFLOAT.Text(); break;
    case dtUFLOAT: value = EDUFLOAT.Text(); break;
    case dtSTRING: value = EDSTRING.Text(); break;
    case dtFILENAME: value = EDFILENAME.Text(); break;
    case dtFILENAMENOEXT: value = WithoutExtension(EDFILENAME.Text()); break;
    case dtFLAGS: {
        uint32_t bits = 0;
        for (int k = 0; k < kFlagBits && k < CLBFlags.Count(); ++k)
            if (CLBFlags.Checked(k))
                bits |= 1u << k;
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(bits));
        value = text;
        std::snprintf(text, sizeof text, "  [0x%x]", static_cast<unsigned>(bits));
        suffix = text;
        break;
    }
    case dtVECTOR: value = EDVECTOR1.Text() + " " + EDVECTOR2.Text() + " " + EDVECTOR3.Text(); break;
    case dtRGB: value = EDRGB1.Text() + " " + EDRGB2.Text() + " " + EDRGB3.Text(); break;
    case dtSTRINGLIST:
        if (!ChosenLine(LBSTRINGLIST, "StringList error...", chosen))
            return false;
        value = LBSTRINGLIST.Item(chosen);
        break;
    case dtENUM:
        if (!ChosenLine(LBENUM, "Enum error...", chosen))
            return false;
        value = IntText(chosen);
        suffix = "  [" + LBENUM.Item(chosen) + "]";
        break;
    case dtTEMPLATE:
        if (!ChosenLine(LBTEMPLATE, "Template error...", chosen))
            return false;
        value = LBTEMPLATE.Item(chosen);
        break;
    default: break;
    }
    // A text value is stored in 32 bytes: a longer one would be cut on save without a word.
    if (IsTextType(DataTypeFromName(EDType.Text())) && static_cast<int>(value.size()) > kMaxValueText) {
        MessageDlg("The value \"" + value + "\" is longer than " + IntText(kMaxValueText) + " characters!",
                   kCannotApply);
        return false;
    }
    return true;
}

void TValueEditorWindow::BNOkClick()
{
    std::string value, suffix;
    if (!BuildValue(value, suffix))
        return;
    const bool inherited = !EDInherited.Text().empty();
    if (value.empty() && !inherited) {
        MessageDlg("The value (or inherited value) must exist!", kCannotApply);
        return;
    }
    const bool isOverride = !value.empty() && inherited;
    if (isOverride && MessageDlg("Confirm override of inherited value ?", "Warning:", MB_YESNO, MB_ICONQUESTION) != IDYES)
        return;
    if (!main_.RunPostchecks(value, EDType.Text()))
        return;

    const int row = main_.LVData.Selected();
    if (isOverride && row >= 0) {
        main_.LVData.SetItemText(row, colInherited, "");
        main_.LVData.SetItemText(row, colParent, "");
        main_.LVData.SetItemText(row, colParentZUL, "");
    }
    if (value != EDInitialValue.Text())
        main_.SetCurrentTagValue(value + suffix);
    main_.LVData.SetHint("");
    CloseWith(mrOk);
}

void TValueEditorWindow::BNCancelClick()
{
    CloseWith(mrCancel);
}

void TValueEditorWindow::FormCloseQuery(bool&)
{
    // Cancel, the Escape key and the window frame all end here: a row that the Add Tag command
    // has just made and that got no value goes again.
    if (ModalResult() == mrOk)
        return;
    if (EDInitialValue.Text().empty() && EDInherited.Text().empty()) {
        const int row = main_.LVData.Selected();
        if (row >= 0)
            main_.DeleteCurrentTagRow();
    }
    SetModalResult(mrCancel);
}

void TValueEditorWindow::CloseWith(int result)
{
    SetModalResult(result);
    Close();
}

void TValueEditorWindow::SBMoreClick()
{
    ShowMoreInfo(SBMore.Down());
}

void TValueEditorWindow::ShowMoreInfo(bool show)
{
    SBMore.SetDown(show);
    SBMore.SetCaption(show ? "Less Info..." : "More Info...");
    if (show == PanelBottom.Visible())
        return;
    PanelBottom.SetVisible(show);
    SetBounds(Left(), Top(), Width(), Height() + (show ? bottomHeight_ : -bottomHeight_));
}

// ---------------------------------------------------------------- colours and files

void TValueEditorWindow::BNRGBRedClick(TControl* sender)
{
    TButton* const presets[8] = {&BNRGBRed,  &BNRGBGreen,   &BNRGBBlue,   &BNRGBCyan,
                                 &BNRGBMagenta, &BNRGBYellow, &BNRGBBlack, &BNRGBWhite};
    for (int i = 0; i < 8; ++i)
        if (sender == presets[i]) {
            EDRGB1.SetText(IntText(kPresets[i].red));
            EDRGB2.SetText(IntText(kPresets[i].green));
            EDRGB3.SetText(IntText(kPresets[i].blue));
        }
}

void TValueEditorWindow::BNPickColorClick()
{
    auto component = [](const TEdit& edit) { return static_cast<int>(ReadLeadingInt(edit.Text())); };
    ColorDialog.Color = ColourWord(component(EDRGB1), component(EDRGB2), component(EDRGB3));
    if (!ColorDialog.Execute(Handle()))
        return;
    EDRGB1.SetText(IntText(GetRValue(ColorDialog.Color)));
    EDRGB2.SetText(IntText(GetGValue(ColorDialog.Color)));
    EDRGB3.SetText(IntText(GetBValue(ColorDialog.Color)));
}

void TValueEditorWindow::BNPickFiIenameClick()
{
    if (OpenDialog.Execute(Handle()))
        EDFILENAME.SetText(ExtractFileName(OpenDialog.FileName));
}

// ---------------------------------------------------------------- lists

void TValueEditorWindow::UDColumnsClick()
{
    LBTEMPLATE.SetColumns(UDColumns.Position());
    LabelNumColumns.SetCaption(IntText(UDColumns.Position()));
}

void TValueEditorWindow::LoadStringList(const char* path)
{
    std::vector<std::string> lines;
    const bool read = ReadLines(path, lines);
    SetItems(LBKEZ, lines);
    if (!read)
        MessageDlg("Cannot open file \"" + std::string(path) + "\".", "Cannot load string list...");
}

void TValueEditorWindow::BNFillKEZClick() { LoadStringList(kGameKez); }
void TValueEditorWindow::BNFillSysKEZClick() { LoadStringList(kSystemKez); }
void TValueEditorWindow::BNFillGUXClick() { LoadStringList(kEffectsGux); }
void TValueEditorWindow::BNFillPIFClick() { LoadStringList(kGamePif); }

void TValueEditorWindow::LBKEZDblClick()
{
    const int index = LBKEZ.ItemIndex();
    if (index < 0)
        return;
    const std::string word = IdentifierOfLine(LBKEZ.Item(index));
    if (!word.empty())
        EDSTRING.SetText(word);
}
