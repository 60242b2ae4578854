#include "MainWindow.h"
#include "Application.h"
#include "Dialogs.h"
#include "Hooks.h"
#include "Registry.h"
#include "ZULData.h"
#include <cstdarg>
#include <cstdio>

const char kEditorRegistryKey[] = "Software\\Korbalt\\ZulEditor";

namespace {
const char kTitle[] = "Template Editor";
const char kWarning[] = "Warning:";
const char kZulFilter[] = "Korbalt Object Templates (*.ZUL)|*.ZUL";
const char kNoSelection[] = "No selected tree item!";
const int kLeftMin = 282;
const int kRightMin = 160;
const int kRightMax = 320;
const int kHeaderMin = 84;
const int kConsoleMaxLines = 300;
const int kKeptColumns = 7;

std::string Format(const char* format, va_list args)
{
    char buffer[2048];  // a console line holds at most 2047 characters
    std::vsnprintf(buffer, sizeof buffer, format, args);
    return buffer;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FileIsReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

std::string CurrentFolder()
{
    char path[MAX_PATH] = {};
    return GetCurrentDirectoryA(MAX_PATH, path) ? path : "";
}

// The folder part of a path, without its last separator; empty for a bare name.
std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ProgramFolderOfModule()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

}  // namespace

TMainWindow::TMainWindow()
    : TTemplateModel(TVTemplates), programFolder_(ProgramFolderOfModule()), registryKey_(kEditorRegistryKey),
      startFolder_(CurrentFolder())
{
    OnCreate = [this] { FormCreate(); };
    OnActivate = [this] { FormActivate(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnDestroy = [this] { FormDestroy(); };
}

TMainWindow::~TMainWindow()
{
    // FormDestroy uses the components: run it while they exist.
    DestroyForm();
}

void TMainWindow::SetProgramFolder(const std::string& folder)
{
    programFolder_ = folder;
    if (!programFolder_.empty() && programFolder_.back() != '\\' && programFolder_.back() != '/')
        programFolder_ += '\\';
}

bool TMainWindow::Create()
{
    return CreateForm(kTitle, 27, 30, 977, 730);
}

// ---------------------------------------------------------------- components

void TMainWindow::CreateComponents()
{
    BuildImages();
    BuildMenus();
    StatusBar.Create(this);
    StatusBar.SetAlign(alBottom);
    StatusBar.SetPanels({300});
    BuildLeftPane();
    BuildRightPane();
    BuildMiddlePane();
    TimerTags.SetInterval(250);
    TimerTags.OnTimer = [this] { TimerTagsTimer(); };
    AlignControls();
}

void TMainWindow::BuildImages()
{
    TemplateImages.Create();
    auto book = [](COLORREF cover) {
        return [cover](HDC dc, int, int) {
            HBRUSH brush = CreateSolidBrush(cover);
            RECT r{2, 1, 14, 15};
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            HBRUSH page = CreateSolidBrush(RGB(255, 255, 255));
            RECT p{4, 3, 12, 6};
            FillRect(dc, &p, page);
            DeleteObject(page);
        };
    };
    TemplateImages.AddDrawn(book(RGB(40, 90, 180)));   // a writable file
    TemplateImages.AddDrawn(book(RGB(150, 150, 150)));  // a read-only file
    TemplateImages.AddDrawn([](HDC dc, int, int) {      // a template
        HBRUSH brush = CreateSolidBrush(RGB(60, 150, 60));
        RECT r{3, 3, 13, 13};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    });
}

void TMainWindow::BuildMenus()
{
    auto on = [this](void (TMainWindow::*handler)()) { return [this, handler](TMenuItem*) { (this->*handler)(); }; };
    auto disabled = [](TMenuItem* item) { item->SetEnabled(false); return item; };

    TMenuItem* file = MainMenu.Add("&File");
    FileNew = file->Add("&New", on(&TMainWindow::TBZULNewClick));
    FileOpen = file->Add("&Open...", on(&TMainWindow::TBZULOpenClick));
    FileReopen = file->Add("&Reopen");
    FileReopen->OnClick = [this](TMenuItem* sender) { FileReopenClick(sender); };
    FileSave = file->Add("&Save", on(&TMainWindow::TBZULSaveClick));
    FileSaveAs = file->Add("Save &As...", on(&TMainWindow::TBZULSaveAsClick));
    FileSaveAll = file->Add("Sa&ve All");
    FileClose = file->Add("&Close", on(&TMainWindow::TBZULCloseClick));
    disabled(file->Add("C&lose All"));
    file->AddSeparator();
    disabled(file->Add("New Project..."));
    disabled(file->Add("Open Project..."));
    disabled(file->Add("Save Project"));
    disabled(file->Add("Save Project As..."));
    file->AddSeparator();
    FileInfo = file->Add("&Info", on(&TMainWindow::TBZULInfoClick));
    file->AddSeparator();
    FileExit = file->Add("E&xit", on(&TMainWindow::FileExitClick));

    MenuEdit = disabled(MainMenu.Add("&Edit"));
    TMenuItem* tpl = MainMenu.Add("&Template");
    TemplateNewChild = tpl->Add("New &Child", on(&TMainWindow::TBListNewTemplateChildClick));
    TemplateNewSibbling = tpl->Add("New S&ibbling", on(&TMainWindow::TBListNewTemplateSibblingClick));
    TemplateSave = tpl->Add("&Save", on(&TMainWindow::TBListSaveTemplateClick));
    TemplateDelete = tpl->Add("&Delete", on(&TMainWindow::TBDeleteTemplateClick));
    tpl->AddSeparator();
    TemplateAddTag = disabled(tpl->Add("Add Tag..."));
    TemplateDeleteTag = tpl->Add("Delete &Tag", on(&TMainWindow::TBListDeleteCurrentItemClick));
    TemplateRevert = disabled(tpl->Add("Revert To Saved"));
    MenuOptions = disabled(MainMenu.Add("&Options"));
    TMenuItem* help = MainMenu.Add("&Help");
    HelpAbout = help->Add("&About...", on(&TMainWindow::HelpAboutClick));
    MainMenu.AttachTo(Handle());

    ListViewPopup_AutoTracking =
        ListViewPopup.Add("AutoTracking", on(&TMainWindow::ListViewPopup_AutoTrackingClick));
    ListViewPopup_AutoTracking->SetChecked(true);
}

TToolButtonEvent TMainWindow::ToolClick(void (TMainWindow::*handler)())
{
    return [this, handler](TToolButton*) { (this->*handler)(); };
}

void TMainWindow::BuildLeftPane()
{
    PanelLeft.Create(this, 0, 0, kLeftMin, 600);
    PanelLeft.SetAlign(alLeft);
    ToolBarZUL.Create(&PanelLeft, 0, 0, kLeftMin, 28);
    ToolBarZUL.SetAlign(alTop);
    ToolBarZUL.UseStandardImages();
    TBZULNew = ToolBarZUL.AddButton(STD_FILENEW, "New Template File", ToolClick(&TMainWindow::TBZULNewClick));
    TBZULOpen = ToolBarZUL.AddButton(STD_FILEOPEN, "Open Template File", ToolClick(&TMainWindow::TBZULOpenClick));
    TBZULSave = ToolBarZUL.AddButton(STD_FILESAVE, "Save Template File", ToolClick(&TMainWindow::TBZULSaveClick));
    TBZULSaveAs = ToolBarZUL.AddButton(STD_COPY, "Save Template File under another name",
                                       ToolClick(&TMainWindow::TBZULSaveAsClick));
    TBZULClose = ToolBarZUL.AddButton(STD_DELETE, "Close Template File", ToolClick(&TMainWindow::TBZULCloseClick));
    ToolBarZUL.AddSeparator();
    TBZULInfo = ToolBarZUL.AddButton(STD_PROPERTIES, "Info on Template File", ToolClick(&TMainWindow::TBZULInfoClick));

    PanelSearch.Create(&PanelLeft, 0, 0, kLeftMin, 26);
    PanelSearch.SetAlign(alBottom);
    SBSearch.Create(&PanelSearch, "Search", 0, 0, 60, 24);
    SBSearch.SetAlign(alRight);
    SBSearch.SetHint("Search for Template");
    SBSearch.OnClick = [this](TControl*) { SBSearchClick(); };
    EDSearch.Create(&PanelSearch, 0, 0, 200, 24);
    EDSearch.SetAlign(alClient);

    TVTemplates.Create(&PanelLeft, 0, 0, kLeftMin, 500);
    TVTemplates.SetAlign(alClient);
    TVTemplates.SetImages(&TemplateImages);
    TVTemplates.SetDragEnabled(true);
    TVTemplates.OnChanging = [this](TTreeNode* node, bool& allow) { TVTemplatesChanging(node, allow); };
    TVTemplates.OnChange = [this](TTreeNode* node) { TVTemplatesChange(node); };
    TVTemplates.OnDragOver = [this](TControl* s, int x, int y, bool& a) { TVTemplatesDragOver(s, x, y, a); };
    TVTemplates.OnDragDrop = [this](TControl* s, int x, int y) { TVTemplatesDragDrop(s, x, y); };

    TemplatesSplitter.Create(this, &PanelLeft);
    TemplatesSplitter.SetMinSize(kLeftMin);
    TemplatesSplitter.OnCanResize = [this](int& size, bool& accept) { TemplatesSplitterCanResize(size, accept); };
}

void TMainWindow::BuildRightPane()
{
    PanelRight.Create(this, 0, 0, 207, 600);
    PanelRight.SetAlign(alRight);
    TVTags.Create(&PanelRight, 0, 0, 207, 600);
    TVTags.SetAlign(alClient);
    TVTags.SetDragEnabled(true);
    TVTags.OnClick = [this] { TVTagsClick(); };
    TVTags.OnDblClick = [this] { TVTagsDblClick(); };
    TVTags.OnExpanding = [this](TTreeNode* node, bool& allow) { TVTagsExpanding(node, allow); };
    TVTags.OnCollapsing = [this](TTreeNode* node, bool& allow) { TVTagsCollapsing(node, allow); };

    TagsSplitter.Create(this, &PanelRight);
    TagsSplitter.SetMinSize(kRightMin);
    TagsSplitter.SetMaxSize(kRightMax);
    TagsSplitter.OnCanResize = [this](int& size, bool& accept) { TagsSplitterCanResize(size, accept); };
}

void TMainWindow::BuildMiddlePane()
{
    PanelMiddle.Create(this, 0, 0, 480, 600);
    PanelMiddle.SetAlign(alClient);
    ToolBarTemplate.Create(&PanelMiddle, 0, 0, 480, 28);
    ToolBarTemplate.SetAlign(alTop);
    ToolBarTemplate.UseStandardImages();
    TBListNewTemplateChild = ToolBarTemplate.AddButton(
        STD_FILENEW, "Create a new child of the current template, or a root template if a Template File root node is selected",
        ToolClick(&TMainWindow::TBListNewTemplateChildClick));
    TBListNewTemplateSibbling =
        ToolBarTemplate.AddButton(STD_COPY, "New Sibbling", ToolClick(&TMainWindow::TBListNewTemplateSibblingClick));
    TBListSaveTemplate =
        ToolBarTemplate.AddButton(STD_FILESAVE, "Save the current template", ToolClick(&TMainWindow::TBListSaveTemplateClick));
    TBDeleteTemplate =
        ToolBarTemplate.AddButton(STD_DELETE, "Delete the current template", ToolClick(&TMainWindow::TBDeleteTemplateClick));
    ToolBarTemplate.AddSeparator();
    TBListAddNewItem = ToolBarTemplate.AddButton(STD_PASTE, "TBListAddNewItem");
    TBListAddNewItem->SetEnabled(false);
    TBListDeleteCurrentItem = ToolBarTemplate.AddButton(STD_CUT, "Delete the current tag",
                                                        ToolClick(&TMainWindow::TBListDeleteCurrentItemClick));
    TBListRevertToSaved = ToolBarTemplate.AddButton(STD_UNDO, "TBListRevertToSaved");
    TBListRevertToSaved->SetEnabled(false);

    PanelMiddleTop2.Create(&PanelMiddle, 0, 0, 480, kHeaderMin);
    PanelMiddleTop2.SetAlign(alTop);
    PanelMiddleTop2.OnResize = [this] { PanelMiddleTop2Resize(); };
    LabelName.Create(&PanelMiddleTop2, "Name", 6, 6, 32, 16);
    EDTemplateName.Create(&PanelMiddleTop2, 40, 3, 190, 22);
    EDTemplateName.SetMaxLength(ZUL_MAX_NAME);
    EDTemplateName.SetReadOnly(true);
    EDTemplateName.OnChange = [this] { EDTemplateNameChange(); };
    LabelIn.Create(&PanelMiddleTop2, "in", 238, 6, 14, 16);
    EDFileName.Create(&PanelMiddleTop2, 256, 3, 190, 22);
    EDFileName.SetReadOnly(true);
    LabelDesc.Create(&PanelMiddleTop2, "Desc.", 6, 30, 32, 16);
    Description.Create(&PanelMiddleTop2, 40, 28, 480 - 48, kHeaderMin - 35);
    Description.SetMaxLength(4095);
    Description.SetReadOnly(true);
    Description.OnChange = [this] { DescriptionChange(); };
    HeaderSplitter.Create(&PanelMiddle, &PanelMiddleTop2);
    HeaderSplitter.SetMinSize(kHeaderMin);
    HeaderSplitter.OnCanResize = [this](int& size, bool& accept) { HeaderSplitterCanResize(size, accept); };

    PanelBottom.Create(&PanelMiddle, 0, 0, 480, 107);
    PanelBottom.SetAlign(alBottom);
    Console.Create(&PanelBottom, 0, 0, 480, 107);
    Console.SetAlign(alClient);
    Console.SetReadOnly(true);
    Console.UseFixedPitchFont();
    ConsoleSplitter.Create(&PanelMiddle, &PanelBottom);
    ConsoleSplitter.SetMinSize(0);

    LVData.Create(&PanelMiddle, 0, 0, 480, 300);
    LVData.SetAlign(alClient);
    LVData.SetGridLines(true);
    LVData.SetRowSelect(true);
    // Wide enough for every data type's name, a vector of three floats, a template's name and a
    // file name, so that common values show whole until the user sets widths of his own.
    LVData.AddColumn("Sort", 42);
    LVData.AddColumn("tagID", 48, LVCFMT_RIGHT);
    LVData.AddColumn("Tag", 90);
    LVData.AddColumn("Type", 100);
    LVData.AddColumn("Value", 180);
    LVData.AddColumn("Inherited", 180);
    LVData.AddColumn("Parent", 90);
    LVData.AddColumn("Parent ZUL", 90);
    LVData.SetSortColumn(colSort);
    LVData.PopupMenu = &ListViewPopup;
    LVData.OnChange = [this](int item) { LVDataChange(item); };
    LVData.OnClick = [this](TControl*) { LVDataClick(); };
    LVData.OnDblClick = [this](TControl*) { LVDataDblClick(); };
    LVData.OnKeyPress = [this](char& key) { LVDataKeyPress(key); };
    LVData.OnDragOver = [this](TControl* s, int x, int y, bool& a) { LVDataDragOver(s, x, y, a); };
    LVData.OnDragDrop = [this](TControl* s, int x, int y) { LVDataDragDrop(s, x, y); };
}

// ---------------------------------------------------------------- life

void TMainWindow::FormCreate()
{
    Application().SetWaitCursor(true);
    InitChecks();
    LoadTagDefinitions(programFolder_ + "zuleditortags.txt", TVTags,
                       [this](const std::string& line) { Print("%s", line.c_str()); });
    created_ = true;
    ClearZULFiles();
    dataFile_ = std::make_unique<TIniFile>(programFolder_ + "zuleditordata.txt");
    Application().SetWaitCursor(false);
    Print("Opened data file %s", dataFile_->FileName().c_str());
    Application().OnHint = [this] { ApplicationHint(); };
}

void TMainWindow::ApplicationHint()
{
    StatusBar.SetSimpleText(TApplication::GetLongHint(Application().Hint()));
}

void TMainWindow::FormActivate()
{
    if (activated_)
        return;
    activated_ = true;
    RestoreLayout();
}

void TMainWindow::RestoreLayout()
{
    TRegistry reg;
    if (!reg.OpenKey(registryKey_ + "\\MainWindow", false))
        return;
    SetBounds(reg.ReadInteger("Left", Left()), reg.ReadInteger("Top", Top()), reg.ReadInteger("Width", Width()),
              reg.ReadInteger("Height", Height()));
    PanelLeft.SetBounds(PanelLeft.Left(), PanelLeft.Top(),
                        std::max(kLeftMin, reg.ReadInteger("PanelLeftWidth", PanelLeft.Width())), PanelLeft.Height());
    PanelRight.SetBounds(PanelRight.Left(), PanelRight.Top(),
                         std::clamp(reg.ReadInteger("PanelRightWidth", PanelRight.Width()), kRightMin, kRightMax),
                         PanelRight.Height());
    PanelBottom.SetBounds(PanelBottom.Left(), PanelBottom.Top(), PanelBottom.Width(),
                          std::max(0, reg.ReadInteger("PanelBottomHeight", PanelBottom.Height())));
    AlignControls();
    PanelMiddle.AlignControls();

    if (!reg.OpenKey(registryKey_ + "\\ListView", false))
        return;
    for (int i = 0; i < kKeptColumns; ++i)
        LVData.SetColumnWidth(i, reg.ReadInteger("Column " + std::to_string(i), LVData.ColumnWidth(i)));

    if (!reg.OpenKey(registryKey_ + "\\ValueEditorWindow", false))
        return;
    const RECT old = ValueEditorBounds();
    const int left = reg.ReadInteger("Left", old.left);
    const int top = reg.ReadInteger("Top", old.top);
    valueEditorBounds_ = RECT{left, top, left + reg.ReadInteger("Width", old.right - old.left),
                              top + reg.ReadInteger("Height", old.bottom - old.top)};
    if (valueEditorForm_)
        valueEditorForm_->SetBounds(left, top, valueEditorBounds_.right - left, valueEditorBounds_.bottom - top);

    if (!reg.OpenKey(registryKey_ + "\\MRU", false))
        return;
    const int count = reg.ReadInteger("numMRUFiles", 0);
    for (int i = 0; i < count; ++i) {
        const std::string path = reg.ReadString("File" + std::to_string(i), "");
        if (!path.empty())
            FileReopen->Add(path, [this](TMenuItem* sender) { FileReopenClick(sender); });
    }
}

RECT TMainWindow::ValueEditorBounds() const
{
    if (valueEditorForm_ && valueEditorForm_->HandleAllocated()) {
        const int left = valueEditorForm_->Left();
        const int top = valueEditorForm_->Top();
        return RECT{left, top, left + valueEditorForm_->Width(), top + valueEditorForm_->Height()};
    }
    return valueEditorBounds_;
}

void TMainWindow::SaveLayout()
{
    TRegistry reg;
    if (!reg.OpenKey(registryKey_ + "\\MainWindow", true)) {
        MessageDlg("Cannot open MainWindow key!", "Registry error!");
        return;
    }
    reg.WriteInteger("Left", Left());
    reg.WriteInteger("Top", Top());
    reg.WriteInteger("Width", Width());
    reg.WriteInteger("Height", Height());
    reg.WriteInteger("PanelLeftWidth", PanelLeft.Width());
    reg.WriteInteger("PanelRightWidth", PanelRight.Width());
    reg.WriteInteger("PanelBottomHeight", PanelBottom.Height());

    if (!reg.OpenKey(registryKey_ + "\\ListView", true)) {
        MessageDlg("Cannot open ListView key!", "Registry error!");
        return;
    }
    for (int i = 0; i < kKeptColumns; ++i)
        reg.WriteInteger("Column " + std::to_string(i), LVData.ColumnWidth(i));

    if (!reg.OpenKey(registryKey_ + "\\ValueEditorWindow", true)) {
        MessageDlg("Cannot open ValueEditorWindow key!", "Registry error!");
        return;
    }
    const RECT r = ValueEditorBounds();
    reg.WriteInteger("Left", r.left);
    reg.WriteInteger("Top", r.top);
    reg.WriteInteger("Width", r.right - r.left);
    reg.WriteInteger("Height", r.bottom - r.top);

    if (!reg.OpenKey(registryKey_ + "\\MRU", true)) {
        MessageDlg("Cannot open MRU key!", "Registry error!");
        return;
    }
    const std::vector<std::string> files = RecentFiles();
    reg.WriteInteger("numMRUFiles", static_cast<int>(files.size()));
    for (size_t i = 0; i < files.size(); ++i)
        reg.WriteString("File" + std::to_string(i), files[i]);
}

void TMainWindow::FormCloseQuery(bool& canClose)
{
    canClose = false;
    if (!SaveTemplatePrompt())
        return;
    for (int slot = 0; slot < MAX_ZULFILES; ++slot) {
        TZULFile* file = GetZULFile(slot);
        if (file && file->IsModified() && !SaveFilePrompt(file))
            return;
    }
    canClose = true;
}

void TMainWindow::FormDestroy()
{
    if (!created_)
        return;
    created_ = false;
    {
        TTreeUpdate update(*this);
        ClearTagList();
        FreeTPL();
        dataFile_.reset();
        FreeZULFiles();
        FreeTagDefinitions();
        FreeChecks();
    }
    if (Application().OnHint)
        Application().OnHint = nullptr;
    SaveLayout();
}

// ---------------------------------------------------------------- console

void TMainWindow::Print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string line = Format(format, args);
    va_end(args);
    if (!Console.HandleAllocated())
        return;
    // Only Print writes the console, so its lines are counted here instead of read back. A full
    // console drops its first line and takes the new one in a single repaint; a plain append is
    // one change, which needs no switching of the painting off and on.
    const bool full = consoleLines_ > kConsoleMaxLines;
    if (full) {
        Console.BeginUpdate();
        Console.DeleteFirstLine();
        --consoleLines_;
    }
    Console.AppendAtEnd(line + "\r\n");
    for (size_t at = line.find("\r\n"); at != std::string::npos; at = line.find("\r\n", at + 2))
        ++consoleLines_;
    ++consoleLines_;
    if (full)
        Console.EndUpdate();
}

void TMainWindow::PrintEmptyLine()
{
    Print("%s", "");
}

void TMainWindow::SetStatusText(const std::string& text)
{
    // Painted with the window's next paint, as soon as the command returns to the message loop.
    StatusBar.SetPanelText(0, text);
}

void TMainWindow::ShowSaveProgress(const std::string& text)
{
    // A save runs without returning to the message loop, so its progress is painted at once. A
    // repaint costs wine round trips to its server: the bar follows the save twenty times a
    // second at most, which a person sees as every step, and a save that ends before the first
    // twentieth of a second has passed shows only its outcome.
    const DWORD now = GetTickCount();
    if (now - progressShownAt_ < kProgressInterval)
        return;
    progressShownAt_ = now;
    SetStatusText(text);
    if (StatusBar.HandleAllocated())
        UpdateWindow(StatusBar.Handle());
}

bool TMainWindow::SaveWithProgress(TZULFile* file)
{
    progressShownAt_ = GetTickCount();
    return file->Save();
}

// ---------------------------------------------------------------- file commands

void TMainWindow::TBZULNewClick()
{
    if (!SaveTemplatePrompt())
        return;
    if (FindFreeZULSlot() < 0) {
        MessageDlg("MAX_ZULFILES reached, ask Orvel to bump that value up!", "Cannot Open ZUL...");
        return;
    }
    TZULFile* file = nullptr;
    {
        TTreeUpdate update(*this);
        SetNameBox("");
        EDFileName.SetText("");
        for (int slot = 0; slot < MAX_ZULFILES; ++slot)
            if (TZULFile* open = GetZULFile(slot))
                open->GetRootNode()->Collapse(false);
        file = NewZULFile();
        if (!file)
            return;
        ClearTagList();
        TVTemplates.Select(file->GetRootNode());
    }
    SetHeaderReadOnly(true);
    TVTemplates.SetFocus();
    SetStatusText(file->GetFileName());
    Print("Created new template file");
}

void TMainWindow::TBZULOpenClick()
{
    if (!SaveTemplatePrompt())
        return;
    TOpenDialog dialog;
    dialog.Title = "Open Object Templates file";
    dialog.Filter = kZulFilter;
    dialog.DefaultExt = "zul";
    dialog.Options = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    dialog.InitialDir = DialogFolder(openDialogFolder_);
    if (!dialog.Execute(Handle()))
        return;
    openDialogFolder_ = FolderOf(dialog.FileName);
    OpenZULFile(dialog.FileName, dialog.ReadOnlyChecked);
}

// The folder of the template file opened last, which heads the recent files, else the folder
// the editor started in.
std::string TMainWindow::TemplatesFolder() const
{
    const std::vector<std::string> recent = RecentFiles();
    const std::string folder = recent.empty() ? std::string() : FolderOf(recent.front());
    return folder.empty() ? startFolder_ : folder;
}

std::string TMainWindow::DialogFolder(const std::string& lastChosen) const
{
    return lastChosen.empty() ? TemplatesFolder() : lastChosen;
}

TZULFile* TMainWindow::OpenZULFile(const std::string& path, bool readOnly)
{
    TZULFile* file = nullptr;
    {
        TTreeUpdate update(*this);
        Application().SetWaitCursor(true);
        file = TTemplateModel::OpenZULFile(path, readOnly);
        Application().SetWaitCursor(false);
        if (!file)
            return nullptr;
        ClearTagList();
        TVTemplates.Select(file->GetRootNode());
        file->GetRootNode()->Expand(false);
    }
    SetNameBox("");
    EDFileName.SetText("");
    SetHeaderReadOnly(true);
    SetStatusText(path);
    Print("Opened template file %s", path.c_str());
    AddRecentFile(path);
    return file;
}

void TMainWindow::AddRecentFile(const std::string& path)
{
    // Captions move down instead of items being deleted and inserted: the item that was clicked
    // to reopen a file stays alive while its handler runs.
    int index = -1;
    for (int i = 0; i < FileReopen->Count(); ++i)
        if (FileReopen->Item(i)->Caption() == path)
            index = i;
    if (index < 0) {
        FileReopen->Insert(0, path, [this](TMenuItem* sender) { FileReopenClick(sender); });
        return;
    }
    for (int i = index; i > 0; --i)
        FileReopen->Item(i)->SetCaption(FileReopen->Item(i - 1)->Caption());
    FileReopen->Item(0)->SetCaption(path);
}

std::vector<std::string> TMainWindow::RecentFiles() const
{
    std::vector<std::string> files;
    for (int i = 0; FileReopen && i < FileReopen->Count(); ++i)
        files.push_back(FileReopen->Item(i)->Caption());
    return files;
}

void TMainWindow::FileReopenClick(TMenuItem* sender)
{
    if (!sender || sender == FileReopen)
        return;
    const std::string path = sender->Caption();
    if (FileExists(path)) {
        // Opening selects the new file's root and clears the tag list: unsaved edits are asked for
        // first, as Open does.
        if (!SaveTemplatePrompt())
            return;
        OpenZULFile(path, FileIsReadOnly(path));
        return;
    }
    // The item goes: the captions below it move up and the last item is removed. Nothing of the
    // clicked item is touched after that.
    const int index = FileReopen->IndexOf(sender);
    if (index < 0)
        return;
    for (int i = index; i + 1 < FileReopen->Count(); ++i)
        FileReopen->Item(i)->SetCaption(FileReopen->Item(i + 1)->Caption());
    FileReopen->Delete(FileReopen->Count() - 1);
}

TZULFile* TMainWindow::SelectedFile(const char* refusalCaption)
{
    TTreeNode* selected = TVTemplates.Selected();
    TZULFile* file = selected ? FileOfNode(selected) : nullptr;
    if (!file)
        MessageDlg(kNoSelection, refusalCaption);
    return file;
}

bool TMainWindow::SaveFile(TZULFile* file)
{
    if (file->IsReadOnly()) {
        MessageDlg("File is Read Only!", "Cannot Save...");
        return false;
    }
    if (file->IsNew())
        return SaveFileAs(file);
    if (!SaveWithProgress(file))
        return false;
    Print("Saved %s", file->GetFileName().c_str());
    return true;
}

bool TMainWindow::SaveFileAs(TZULFile* file)
{
    TSaveDialog dialog;
    dialog.Title = "Save Object Templates file";
    dialog.Filter = kZulFilter;
    dialog.DefaultExt = "zul";
    dialog.Options = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!file->IsNew())
        dialog.FileName = file->GetFileName();
    dialog.InitialDir = DialogFolder(saveAsDialogFolder_);
    if (!dialog.Execute(Handle()))
        return false;
    saveAsDialogFolder_ = FolderOf(dialog.FileName);
    const int holder = FindZULFile(dialog.FileName);
    if (holder >= 0 && GetZULFile(holder) != file) {
        // Two open files on one path would overwrite each other's saves.
        MessageDlg("This ZUL file is already open!", "Cannot Save As...");
        return false;
    }
    // A failed save keeps the old path, so the file stays as it was known.
    const std::string oldPath = file->GetFileName();
    const bool oldReadOnly = file->IsReadOnly();
    if (!file->OpenForWrite(dialog.FileName)) {
        MessageDlg("Could not open file for output!", "Cannot Save As...");
        return false;
    }
    if (!SaveWithProgress(file)) {
        if (oldPath == kNewFileName || !file->OpenForWrite(oldPath))
            file->SetFileName(oldPath);
        file->SetReadOnly(oldReadOnly);
        return false;
    }
    file->GetRootNode()->SetText(ExtractFileName(file->GetFileName()));
    file->GetRootNode()->SetImageIndex(IMAGE_FILE);
    file->GetRootNode()->SetSelectedIndex(IMAGE_FILE);
    if (GetTPL() && GetTPL()->GetFile() == file)
        EDFileName.SetText(ExtractFileName(file->GetFileName()));
    SetStatusText(file->GetFileName());
    Print("Saved %s", file->GetFileName().c_str());
    return true;
}

void TMainWindow::TBZULSaveClick()
{
    if (!SaveTemplatePrompt())
        return;
    if (TZULFile* file = SelectedFile("Cannot save..."))
        SaveFile(file);
}

void TMainWindow::TBZULSaveAsClick()
{
    if (!SaveTemplatePrompt())
        return;
    if (TZULFile* file = SelectedFile("Cannot Save As..."))
        SaveFileAs(file);
}

bool TMainWindow::SaveFilePrompt(TZULFile* file)
{
    if (!file || !file->IsModified())
        return true;
    const int answer = MessageDlg("The file \"" + file->GetFileName() + "\" has been modified, do you want to save it ?",
                                  kWarning, MB_YESNOCANCEL, MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDNO)
        return true;
    // Saved only when the save went through; a read-only file is saved under another name.
    return file->IsReadOnly() ? SaveFileAs(file) : SaveFile(file);
}

void TMainWindow::TBZULCloseClick()
{
    if (!SaveTemplatePrompt())
        return;
    TZULFile* file = SelectedFile("Cannot Close...");
    if (!file || !SaveFilePrompt(file))
        return;
    const bool editedHere = GetTPL() && GetTPL()->GetFile() == file;
    {
        TTreeUpdate update(*this);
        TVTemplates.BeginUpdate();
        // The rows may belong to a template of this file: they go before anything is shown.
        ClearTagList();
        CloseZULFile(file);
        TVTemplates.EndUpdate();
    }
    if (editedHere) {
        SetNameBox("");
        EDFileName.SetText("");
        SetDescriptionLines({});
    }
    if (TTreeNode* selected = TVTemplates.Selected())
        TVTemplatesChange(selected);
    else {
        SetHeaderReadOnly(true);
        SetStatusText("");
    }
}

void TMainWindow::TBZULInfoClick()
{
    TZULFile* file = SelectedFile("Cannot show Info...");
    if (!file)
        return;
    PrintEmptyLine();
    Print("INFO FOR : %s", file->GetFileName().c_str());
    Print("READONLY : %s", file->IsReadOnly() ? "YES" : "NO");
    Print("MAGIC    : %c%c%c 0x%X", file->GetMagicByte(0), file->GetMagicByte(1), file->GetMagicByte(2),
          static_cast<unsigned>(file->GetMagicByte(3)));
    Print("VERSION  : %d", file->GetVersion());
    Print("ENTRIES  : %d", file->GetEntryCount());
    PrintEmptyLine();
    FILE* out = std::fopen("ZULINFO.TXT", "wb");
    TTreeNode* root = file->GetRootNode();
    for (TTreeNode* n = root; n && (n == root || n->HasAsParent(root)); n = n->GetNext()) {
        const std::string line = std::string(static_cast<size_t>(n->Level() * 3 + 8), ' ') + n->Text();
        if (out)
            std::fprintf(out, "%s\n", line.c_str());
        if (n != root)
            Print("%s", line.c_str());
    }
    PrintEmptyLine();
    if (out)
        std::fclose(out);
}

void TMainWindow::FileExitClick()
{
    Close();
}

void TMainWindow::HelpAboutClick()
{
    if (aboutBox_)
        aboutBox_->ShowModal();
}

// ---------------------------------------------------------------- splitters

void TMainWindow::TemplatesSplitterCanResize(int& newSize, bool&)
{
    newSize = std::max(newSize, kLeftMin);
}

void TMainWindow::TagsSplitterCanResize(int& newSize, bool&)
{
    newSize = std::clamp(newSize, kRightMin, kRightMax);
}

void TMainWindow::HeaderSplitterCanResize(int& newSize, bool&)
{
    newSize = std::max(newSize, kHeaderMin);
}

void TMainWindow::PanelMiddleTop2Resize()
{
    if (Description.HandleAllocated())
        Description.SetBounds(Description.Left(), Description.Top(), std::max(0, PanelMiddleTop2.Width() - 48),
                              std::max(0, PanelMiddleTop2.Height() - 35));
}

// ---------------------------------------------------------------- header helpers

void TMainWindow::SetNameBox(const std::string& text)
{
    nameSetByProgram_ = true;
    EDTemplateName.SetText(text);
    EDTemplateName.SetTextColor(RGB(0, 0, 0));
    nameSetByProgram_ = false;
}

void TMainWindow::SetDescriptionLines(const std::vector<std::string>& lines)
{
    descriptionSetByProgram_ = true;
    Description.SetLines(lines);
    descriptionSetByProgram_ = false;
}

void TMainWindow::SetHeaderReadOnly(bool readOnly)
{
    EDTemplateName.SetReadOnly(readOnly);
    Description.SetReadOnly(readOnly);
}

TZULTemplate* TMainWindow::TemplateOfNode(TTreeNode* node) const
{
    return node && node->Level() >= 1 ? static_cast<TZULTemplate*>(node->Data()) : nullptr;
}

// ---------------------------------------------------------------- about box

bool TAboutBoxWindow::Create()
{
    return CreateForm("About Template Editor", 300, 250, 300, 190, fkDialog);
}

std::string TAboutBoxWindow::BuildText()
{
    return std::string("Build: ") + __DATE__ + " " + __TIME__;
}

void TAboutBoxWindow::CreateComponents()
{
    LabelTitle.Create(this, "Template Editor", 20, 16, 250, 20);
    LabelVersion.Create(this, "0.50 (beta)", 20, 42, 250, 20);
    LabelBuild.Create(this, BuildText(), 20, 68, 250, 20);
    BNOk.Create(this, "OK", 105, 110, 80, 26);
    BNOk.OnClick = [this](TControl*) {
        SetModalResult(mrOk);
        Close();
    };
    SetDefaultButton(&BNOk);
    SetCancelButton(&BNOk);
}
