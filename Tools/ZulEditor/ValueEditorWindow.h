// The value editor: the modal dialog in which the user gives the selected tag-list row of the
// template being edited a new value. One page per data type (tabs hidden); OK checks the value
// and writes it into the row's Value column, Cancel drops a row that never got a value.
#pragma once
#include "Button.h"
#include "CheckListBox.h"
#include "Dialogs.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "ListBox.h"
#include "PageControl.h"
#include "Panel.h"
#include "UpDown.h"
#include "tagTypes.h"
#include <memory>
#include <string>
#include <vector>

class TMainWindow;
class TIniFile;

// Longest text a text-type value holds: 31 characters and the NUL in 32 bytes.
const int kMaxValueText = 31;

// Pieces of the dialog's logic that need no window.
namespace valueEditor {
// Items 0 to n - 1 of a data-file section of n lines: the value of key i, "" when missing.
std::vector<std::string> ReadListSection(const TIniFile* dataFile, const std::string& section);
// A float cut toward zero to an integer; NaN gives 0, values beyond the range saturate.
int TruncateToInt(float value);
// The colour word of three components, each clamped to 0..255 so none spills into the next.
COLORREF ColourWord(int red, int green, int blue);
// The name without its extension: the last dot and what follows, when the dot lies in the
// file-name part; a name without a dot stays whole.
std::string WithoutExtension(const std::string& name);
// The lines of a text file as stored (LF or CR LF ends). False when it cannot be opened.
bool ReadLines(const std::string& path, std::vector<std::string>& lines);
// The string identifier of a string-list line: "" for a comment or empty line, else the first
// 31 characters of the trimmed text, cut before the first blank among them.
std::string IdentifierOfLine(const std::string& line);
}  // namespace valueEditor

class TValueEditorWindow : public TForm {
public:
    explicit TValueEditorWindow(TMainWindow& mainWindow);
    ~TValueEditorWindow() override;

    // Makes the dialog (hidden), hands it to the main window: the main window opens it on its
    // selected row and keeps its place in the registry.
    bool Create();

    // Sets the dialog up for the main window's selected row and shows it modally.
    void EditSelectedRow();
    // The page of a data type; nullptr for a type outside the thirteen.
    TTabSheet* PageOfType(TDataType type) const;
    void FillTemplateList();
    // The information panel below the pages, and the dialog's height with it. The program hides
    // it before the layout is saved, so that the kept size is that of the dialog without it.
    void ShowMoreInfo(bool show);

    // ---- handlers ----
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void BNOkClick();
    void BNCancelClick();
    void SBMoreClick();
    void BNRGBRedClick(TControl* sender);
    void BNPickColorClick();
    void BNPickFiIenameClick();
    void UDColumnsClick();
    void BNFillKEZClick();
    void BNFillSysKEZClick();
    void BNFillGUXClick();
    void BNFillPIFClick();
    void LBKEZDblClick();

    // ---- components ----
    TPageControl Pages;
    TTabSheet* TabSINT = nullptr;
    TTabSheet* TabUINT = nullptr;
    TTabSheet* TabFLAGS = nullptr;
    TTabSheet* TabFLOAT = nullptr;
    TTabSheet* TabUFLOAT = nullptr;
    TTabSheet* TabVECTOR = nullptr;
    TTabSheet* TabRGB = nullptr;
    TTabSheet* TabSTRING = nullptr;
    TTabSheet* TabFILENAME = nullptr;
    TTabSheet* TabSTRINGLIST = nullptr;
    TTabSheet* TabENUM = nullptr;
    TTabSheet* TabTEMPLATE = nullptr;

    TEdit EDSINT;
    TEdit EDUINT;
    TCheckListBox CLBFlags;
    TEdit EDFLOAT;
    TEdit EDUFLOAT;
    TEdit EDVECTOR1, EDVECTOR2, EDVECTOR3;
    TButton BNVectorNormalize;
    TButton BNVectorScale;
    TEdit EDVectorScaleBy;
    TEdit EDRGB1, EDRGB2, EDRGB3;
    TButton BNRGBRed, BNRGBGreen, BNRGBBlue, BNRGBCyan, BNRGBMagenta, BNRGBYellow, BNRGBBlack, BNRGBWhite;
    TButton BNPickColor;
    TEdit EDSTRING;
    TButton BNFillKEZ, BNFillSysKEZ, BNFillGUX, BNFillPIF;
    TListBox LBKEZ;
    TEdit EDFILENAME;
    TButton BNPickFiIename;
    TListBox LBSTRINGLIST;
    TListBox LBENUM;
    TListBox LBTEMPLATE;
    TUpDown UDColumns;
    TLabel LabelNumColumns;

    TButton BNOk;
    TButton BNCancel;
    TSpeedButton SBMore;
    TPanel PanelBottom;
    TEdit EDInitialValue, EDInherited, EDParent, EDParentZUL, EDTag, EDType, EDTagID;

    TColorDialog ColorDialog;
    TOpenDialog OpenDialog;

protected:
    void CreateComponents() override;

private:
    void AddLabel(TControl* parent, const std::string& caption, int left, int top, int width, int height);
    TTabSheet* MakePage(const std::string& label);
    void BuildNumberPages();
    void BuildVectorAndColourPages();
    void BuildTextPages();
    void BuildListPages();
    void BuildBottomPanel();

    void SetUpPage(TDataType type, const std::string& current);
    void FillFlags(const std::string& current);
    void FillEnum(const std::string& current);
    void FillStringList();
    void SetUpFileDialog();
    void FillThreeFields(const std::string& current, TEdit* const fields[3], bool asIntegers);
    // The value and its suffix by the type in EDType; false after a refusal was shown.
    bool BuildValue(std::string& value, std::string& suffix);
    void LoadStringList(const char* path);
    void CloseWith(int result);

    TMainWindow& main_;
    int bottomHeight_ = 0;
    std::vector<std::unique_ptr<TLabel>> labels_;  // captions that no handler needs
};
