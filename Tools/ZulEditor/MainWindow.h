// The template editor's main window: the templates tree of the open files (left), the header,
// the tag list with the values inherited along the parent chain and the console (middle), the
// tags tree (right); the file and template commands; layout and recent files in the registry.
#pragma once
#include "Button.h"
#include "Edit.h"
#include "Form.h"
#include "ImageList.h"
#include "IniFile.h"
#include "Label.h"
#include "ListView.h"
#include "Menu.h"
#include "Panel.h"
#include "Splitter.h"
#include "StatusBar.h"
#include "Timer.h"
#include "ToolBar.h"
#include "TreeView.h"
#include "ZULModel.h"
#include "tagTypes.h"
#include "tagUtil.h"
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

class TZULFile;
struct TZULTemplate;

extern const char kEditorRegistryKey[];  // "Software\Korbalt\ZulEditor"

// Tag-list columns.
enum TTagColumn { colSort, colTagID, colTag, colType, colValue, colInherited, colParent, colParentZUL };

// What the window keeps of a tag-list row beside its texts: the 32 bytes the row was filled
// from and whether its Value text was set since. A row that was not edited saves its bytes as
// they were, so floats keep their exact bits and tags without a definition are not lost.
struct TTagRow {
    TTagBytes raw{};
    bool edited = false;
};

class TMainWindow : public TForm, public TTemplateModel, public TCheckContext {
public:
    TMainWindow();
    ~TMainWindow() override;

    // Both are set before Create(). The folder of the tag and data files (default: the
    // program's folder), with its trailing backslash; the registry key of layout and recent files.
    void SetProgramFolder(const std::string& folder);
    const std::string& ProgramFolder() const { return programFolder_; }
    void SetRegistryKey(const std::string& key) { registryKey_ = key; }
    const std::string& RegistryKey() const { return registryKey_; }
    // Makes the window (hidden) at its design place and size; FormCreate runs.
    bool Create();

    // The value editor: LVDataDblClick hands the selected row over to it. Its form, when set,
    // takes the position and size kept in the registry.
    std::function<void()> OnEditValue;
    void SetValueEditorForm(TForm* form) { valueEditorForm_ = form; }
    RECT ValueEditorBounds() const;
    // Runs modally by HelpAboutClick.
    void SetAboutBox(TForm* form) { aboutBox_ = form; }

    // ---- components ----
    TMainMenu MainMenu;
    TMenuItem* FileNew = nullptr;
    TMenuItem* FileOpen = nullptr;
    TMenuItem* FileReopen = nullptr;
    TMenuItem* FileSave = nullptr;
    TMenuItem* FileSaveAs = nullptr;
    TMenuItem* FileClose = nullptr;
    TMenuItem* FileInfo = nullptr;
    TMenuItem* FileSaveAll = nullptr;
    TMenuItem* FileExit = nullptr;
    TMenuItem* MenuEdit = nullptr;
    TMenuItem* MenuOptions = nullptr;
    TMenuItem* TemplateNewChild = nullptr;
    TMenuItem* TemplateNewSibbling = nullptr;
    TMenuItem* TemplateSave = nullptr;
    TMenuItem* TemplateDelete = nullptr;
    TMenuItem* TemplateDeleteTag = nullptr;
    TMenuItem* TemplateAddTag = nullptr;
    TMenuItem* TemplateRevert = nullptr;
    TMenuItem* HelpAbout = nullptr;
    TPopupMenu ListViewPopup;
    TMenuItem* ListViewPopup_AutoTracking = nullptr;

    TStatusBar StatusBar;
    TPanel PanelLeft;
    TToolBar ToolBarZUL;
    TToolButton* TBZULNew = nullptr;
    TToolButton* TBZULOpen = nullptr;
    TToolButton* TBZULSave = nullptr;
    TToolButton* TBZULSaveAs = nullptr;
    TToolButton* TBZULClose = nullptr;
    TToolButton* TBZULInfo = nullptr;
    TPanel PanelSearch;
    TEdit EDSearch;
    TButton SBSearch;
    TTreeView TVTemplates;
    TSplitter TemplatesSplitter;
    TPanel PanelRight;
    TTreeView TVTags;
    TSplitter TagsSplitter;
    TPanel PanelMiddle;
    TToolBar ToolBarTemplate;
    TToolButton* TBListNewTemplateChild = nullptr;
    TToolButton* TBListNewTemplateSibbling = nullptr;
    TToolButton* TBListSaveTemplate = nullptr;
    TToolButton* TBDeleteTemplate = nullptr;
    TToolButton* TBListDeleteCurrentItem = nullptr;
    TToolButton* TBListAddNewItem = nullptr;
    TToolButton* TBListRevertToSaved = nullptr;
    TPanel PanelMiddleTop2;  // the header
    TLabel LabelName;
    TEdit EDTemplateName;
    TLabel LabelIn;
    TEdit EDFileName;
    TLabel LabelDesc;
    TMemo Description;
    TSplitter HeaderSplitter;
    TPanel PanelBottom;  // the console pane
    TMemo Console;
    TSplitter ConsoleSplitter;
    TListView LVData;
    TTimer TimerTags;
    TImageList TemplateImages;

    // ---- life ----
    void FormCreate();
    void FormActivate();
    void FormCloseQuery(bool& canClose);
    void FormDestroy();
    void ApplicationHint();

    // ---- console ----
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void PrintEmptyLine();

    // ---- file commands ----
    void TBZULNewClick();
    void TBZULOpenClick();
    void FileReopenClick(TMenuItem* sender);
    void TBZULSaveClick();
    void TBZULSaveAsClick();
    void TBZULCloseClick();
    void TBZULInfoClick();
    void FileExitClick();
    void HelpAboutClick();
    TZULFile* OpenZULFile(const std::string& path, bool readOnly);
    void AddRecentFile(const std::string& path);
    std::vector<std::string> RecentFiles() const;
    bool SaveFilePrompt(TZULFile* file);

    // ---- splitters ----
    void TemplatesSplitterCanResize(int& newSize, bool& accept);
    void TagsSplitterCanResize(int& newSize, bool& accept);
    void HeaderSplitterCanResize(int& newSize, bool& accept);
    void PanelMiddleTop2Resize();

    // ---- templates tree and template commands ----
    void TVTemplatesChanging(TTreeNode* node, bool& allow);
    void TVTemplatesChange(TTreeNode* node);
    void ShowTemplate(TTreeNode* node);
    bool SaveTemplatePrompt();
    void TBListNewTemplateChildClick();
    void TBListNewTemplateSibblingClick();
    void TBListSaveTemplateClick();
    void TBDeleteTemplateClick();
    void TVTemplatesDragOver(TControl* source, int x, int y, bool& accept);
    void TVTemplatesDragDrop(TControl* source, int x, int y);
    void SBSearchClick();
    void EDTemplateNameChange();
    void DescriptionChange();

    // ---- tag list and tags tree ----
    void FillTagList(TTreeNode* node);
    void FillTagRows(TTreeNode* node, bool inherited);
    // Adds the values of node and of the templates above it as inherited rows; a template met
    // before (start included) ends the walk, so cycles of parent names end.
    void WalkParents(TTreeNode* node, TTreeNode* start = nullptr);
    void TVTagsDblClick();
    void TVTagsClick();
    void TimerTagsTimer();
    void TVTagsExpanding(TTreeNode* node, bool& allow);
    void TVTagsCollapsing(TTreeNode* node, bool& allow);
    void LVDataDragOver(TControl* source, int x, int y, bool& accept);
    void LVDataDragDrop(TControl* source, int x, int y);
    void LVDataChange(int item);
    void LVDataClick();
    void LVDataKeyPress(char& key);
    void LVDataDblClick();
    void ListViewPopup_AutoTrackingClick();
    void TBListDeleteCurrentItemClick();

    // ---- what the value editor uses ----
    bool RunPostchecks(const std::string& value, const std::string& type);
    void SetCurrentTagValue(const std::string& text);
    // Drops the selected row (a Cancel on a row that never got a value).
    void DeleteCurrentTagRow();
    const TIniFile* DataFile() const { return dataFile_.get(); }
    // The raw record of a row (nullptr for none) and the bytes a saved row becomes.
    TTagRow* RowRecord(int row) const;
    TTagBytes TagValueForSave(int row) const;
    // Removes a row with its record (the value editor's Cancel on a row just added).
    void DeleteTagRow(int row);

    // ---- checks see the tag list ----
    int FindTagRow(int tagId) const override;
    std::string RowValue(int row) const override;
    std::string RowInherited(int row) const override;
    bool TemplateExists(const std::string& name) const override;

    // ---- state ----
    bool TreeUpdating() const { return treeUpdating_ > 0; }
    bool Filling() const { return filling_; }
    bool FoldBlock() const { return foldBlock_; }
    bool AutoTracking() const { return autoTracking_; }
    bool FirstActivationDone() const { return activated_; }
    TZULTemplate* TemplateOfNode(TTreeNode* node) const;
    void SetStatusText(const std::string& text) override;
    void ShowSaveProgress(const std::string& text) override;

protected:
    void CreateComponents() override;

private:
    void BuildMenus();
    void BuildLeftPane();
    void BuildRightPane();
    void BuildMiddlePane();
    void BuildImages();
    TToolButtonEvent ToolClick(void (TMainWindow::*handler)());

    // Tag-list rows with their records.
    int AddTagRow(const std::string& sortText, uint32_t tagId, const std::string& tag,
                  const std::string& type, const std::string& value, const std::string& inherited,
                  const std::string& parent, const std::string& parentZUL, const TTagBytes& raw);
    void ClearTagList();
    // The definition of a row's tag, by its id: two tags may share a name.
    const TTagInfo* RowTagInfo(int row);
    void AddInheritedFromAbove(TTreeNode* node);
    TTreeNode* TemplateAbove(TTreeNode* node) const;
    void AddTag(TTreeNode* tagNode);
    TTreeNode* SelectedTagNode() const;

    bool SaveTemplate();
    bool NewChild();
    void RemoveNewTemplate();
    bool SaveFile(TZULFile* file);
    // TZULFile::Save, its progress shown once it has run for a while (ShowSaveProgress).
    bool SaveWithProgress(TZULFile* file);
    bool SaveFileAs(TZULFile* file);
    TZULFile* SelectedFile(const char* refusalCaption);
    void SetNameBox(const std::string& text);
    void SetDescriptionLines(const std::vector<std::string>& lines);
    void SetHeaderReadOnly(bool readOnly);

    void RestoreLayout();
    void SaveLayout();

    // Sets the tree updating flag for a scope: the templates tree's selection handlers do nothing.
    class TTreeUpdate {
    public:
        explicit TTreeUpdate(TMainWindow& w) : w_(w) { ++w_.treeUpdating_; }
        ~TTreeUpdate() { --w_.treeUpdating_; }
        TTreeUpdate(const TTreeUpdate&) = delete;
        TTreeUpdate& operator=(const TTreeUpdate&) = delete;

    private:
        TMainWindow& w_;
    };

    // Where each file command's dialog starts: the folder that command last chose a file in,
    // else the templates folder (TemplatesFolder).
    std::string TemplatesFolder() const;
    std::string DialogFolder(const std::string& lastChosen) const;

    std::string programFolder_;
    std::string registryKey_;
    std::string startFolder_;         // the current folder when the editor started
    std::string openDialogFolder_;    // where Open last chose a file
    std::string saveAsDialogFolder_;  // where Save As last chose a file
    std::unique_ptr<TIniFile> dataFile_;
    std::list<TTagRow> rowRecords_;
    TForm* valueEditorForm_ = nullptr;
    TForm* aboutBox_ = nullptr;
    RECT valueEditorBounds_{};
    int treeUpdating_ = 0;
    bool filling_ = false;
    bool foldBlock_ = false;
    bool autoTracking_ = true;
    bool created_ = false;
    bool activated_ = false;
    bool nameSetByProgram_ = false;
    bool descriptionSetByProgram_ = false;
    bool promptRemovedNew_ = false;
    static constexpr DWORD kProgressInterval = 50;  // ms between two repaints of a save's progress
    DWORD progressShownAt_ = 0;  // the last repaint of a save's progress, or its start
    int consoleLines_ = 0;  // lines that Print has put into the console and not taken out
};

// The about box: caption, program name, version and build stamp, OK.
class TAboutBoxWindow : public TForm {
public:
    bool Create();
    TLabel LabelTitle;
    TLabel LabelVersion;
    TLabel LabelBuild;
    TButton BNOk;
    static std::string BuildText();

protected:
    void CreateComponents() override;
};
