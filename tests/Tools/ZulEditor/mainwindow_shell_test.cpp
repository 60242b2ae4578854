// The editor shell: creation, file commands, the close questions, the console, Info, the
// splitters, the about box and the layout and recent files in the registry.
#include "MainWindowFixture.h"
#include "Application.h"
#include "Registry.h"
#include <fstream>
#include <functional>
#include <sstream>

using zultest::IntTag;
using zultest::Tpl;

namespace {
std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string FileQuestion(const std::string& path)
{
    return "The file \"" + path + "\" has been modified, do you want to save it ?";
}
}  // namespace

TEST_F(MainWindowFixture, CreationLoadsTagsAndDataFileAndLaysOutTheDesign)
{
    EXPECT_EQ(window->Caption(), "Template Editor");
    EXPECT_EQ(window->Width(), 977);
    EXPECT_EQ(window->Height(), 730);
    EXPECT_EQ(window->PanelLeft.Width(), 282);
    EXPECT_EQ(window->PanelRight.Width(), 207);
    EXPECT_EQ(window->PanelMiddleTop2.Height(), 84);
    EXPECT_EQ(window->PanelBottom.Height(), 107);
    EXPECT_EQ(window->StatusBar.PanelCount(), 1);
    EXPECT_TRUE(window->Console.ReadOnly());
    EXPECT_TRUE(TagNode("Health"));
    const std::vector<std::string> lines = ConsoleLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Opened tags file " + Path("zuleditortags.txt"));
    EXPECT_EQ(lines[1], "Opened data file " + Path("zuleditordata.txt"));
    EXPECT_EQ(window->ToolBarZUL.Button(window->TBZULInfo->Command())->Hint(), "Info on Template File");
    EXPECT_FALSE(window->MenuEdit->Enabled());
    EXPECT_TRUE(window->FileSaveAll->Enabled());
}

TEST_F(MainWindowFixture, ApplicationHintGoesToTheStatusBar)
{
    Application().SetHint("Open|Open Template File");
    EXPECT_EQ(window->StatusBar.SimpleText(), "Open Template File");
}

TEST_F(MainWindowFixture, OpenAsksForAFileAndShowsIt)
{
    zultest::WriteBytes(Path("a.zul"), zultest::BuildZul({Tpl("door", "", {IntTag(3, 1)})}));
    hooks.openAnswers = {Path("a.zul")};
    window->TBZULOpenClick();
    ASSERT_EQ(hooks.fileDialogs.size(), 1u);
    EXPECT_EQ(hooks.fileDialogs[0].title, "Open Object Templates file");
    EXPECT_EQ(hooks.fileDialogs[0].filter, "Korbalt Object Templates (*.ZUL)|*.ZUL");
    EXPECT_EQ(hooks.fileDialogs[0].defaultExt, "zul");
    EXPECT_TRUE(hooks.fileDialogs[0].flags & OFN_FILEMUSTEXIST);
    TTreeNode* root = window->TVTemplates.GetFirstNode();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Text(), "a.zul");
    EXPECT_EQ(window->TVTemplates.Selected(), root);
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(window->StatusBar.PanelText(0), Path("a.zul"));
    EXPECT_EQ(ConsoleLines().back(), "Opened template file " + Path("a.zul"));
    EXPECT_EQ(window->RecentFiles(), (std::vector<std::string>{Path("a.zul")}));
    EXPECT_TRUE(window->EDTemplateName.ReadOnly());

    window->OpenZULFile(Path("a.zul"), false);
    EXPECT_TRUE(hooks.LastIs("This ZUL file is already open!", "Cannot Open ZUL..."));
}

TEST_F(MainWindowFixture, FileWithWrongMagicLeavesNoNodeAndNoSlot)
{
    zultest::Bytes bad = zultest::BuildZul({Tpl("door", "", {IntTag(3, 1)})});
    bad[0] = 'X';
    zultest::WriteBytes(Path("bad.zul"), bad);
    EXPECT_FALSE(window->OpenZULFile(Path("bad.zul"), false));
    EXPECT_EQ(hooks.Last().caption, "Cannot Open ZUL...");
    EXPECT_EQ(window->TVTemplates.Count(), 0);
    EXPECT_EQ(window->FindFreeZULSlot(), 0);
    EXPECT_TRUE(window->RecentFiles().empty());
}

TEST_F(MainWindowFixture, ReopenMovesAFileToTheTopAndDropsMissingOnes)
{
    for (const char* name : {"a.zul", "b.zul", "c.zul"})
        zultest::WriteBytes(Path(name), zultest::BuildZul({Tpl(std::string("t") + name[0], "", {IntTag(3, 1)})}));
    for (const char* name : {"a.zul", "b.zul", "c.zul"})
        ASSERT_TRUE(window->OpenZULFile(Path(name), false));
    EXPECT_EQ(window->RecentFiles(), (std::vector<std::string>{Path("c.zul"), Path("b.zul"), Path("a.zul")}));
    window->TVTemplates.Select(window->TVTemplates.GetFirstNode());
    window->TBZULCloseClick();  // a.zul
    window->FileReopenClick(window->FileReopen);  // the submenu itself does nothing
    window->FileReopen->Item(2)->Click();
    EXPECT_EQ(window->RecentFiles(), (std::vector<std::string>{Path("a.zul"), Path("c.zul"), Path("b.zul")}));
    EXPECT_GE(window->FindZULFile(Path("a.zul")), 0);

    window->AddRecentFile(Path("gone.zul"));
    window->FileReopen->Item(0)->Click();
    EXPECT_EQ(window->RecentFiles(), (std::vector<std::string>{Path("a.zul"), Path("c.zul"), Path("b.zul")}));
    EXPECT_TRUE(hooks.messages.empty());
}

TEST_F(MainWindowFixture, ReopenAsksForTheEditedTemplateFirst)
{
    OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)})});
    zultest::WriteBytes(Path("b.zul"), zultest::BuildZul({Tpl("gate", "", {IntTag(3, 2)})}));
    window->AddRecentFile(Path("b.zul"));
    ASSERT_TRUE(Select("door"));
    window->Description.AddLine("unsaved");
    ASSERT_TRUE(window->GetTPL()->IsModified());

    hooks.messageAnswers = {IDCANCEL};
    window->FileReopen->Item(0)->Click();
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_TRUE(hooks.LastIs("The current template has been modified, do you want to save it ?", "Warning:"));
    EXPECT_LT(window->FindZULFile(Path("b.zul")), 0);
    EXPECT_EQ(window->LVData.Count(), 1);  // the edits are still there

    hooks.messageAnswers = {IDYES};
    window->FileReopen->Item(0)->Click();
    EXPECT_GE(window->FindZULFile(Path("b.zul")), 0);
    EXPECT_EQ(TemplateOf(Node("door"))->description.Strings(0), "unsaved");
}

TEST_F(MainWindowFixture, NewFileIsSavedThroughSaveAs)
{
    window->TBZULNewClick();
    TTreeNode* root = window->TVTemplates.GetFirstNode();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Text(), "unnamed.zul");
    EXPECT_EQ(window->StatusBar.PanelText(0), "unnamed.zul");
    EXPECT_EQ(ConsoleLines().back(), "Created new template file");
    window->TBListNewTemplateChildClick();
    window->EDTemplateName.SetText("door");
    window->TVTags.Select(TagNode("Health"));
    window->TVTagsDblClick();
    window->SetCurrentTagValue("12");
    window->TBListSaveTemplateClick();
    ASSERT_TRUE(hooks.messages.empty());

    hooks.saveAnswers = {Path("new.zul")};
    window->TBZULSaveClick();
    ASSERT_EQ(hooks.fileDialogs.size(), 1u);
    EXPECT_EQ(hooks.fileDialogs[0].title, "Save Object Templates file");
    EXPECT_TRUE(hooks.fileDialogs[0].flags & OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(hooks.fileDialogs[0].fileName.empty());
    EXPECT_EQ(root->Text(), "new.zul");
    EXPECT_EQ(ConsoleLines().back(), "Saved " + Path("new.zul"));
    EXPECT_EQ(zultest::ReadBytes(Path("new.zul")), zultest::BuildZul({Tpl("door", "", {IntTag(3, 12)})}));
}

TEST_F(MainWindowFixture, SaveAsOntoAnotherOpenFileIsRefused)
{
    OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)})});
    OpenZul("b.zul", {Tpl("gate", "", {IntTag(3, 2)})});
    const zultest::Bytes before = zultest::ReadBytes(Path("a.zul"));
    ASSERT_TRUE(Select("gate"));
    hooks.saveAnswers = {Path("a.zul")};
    window->TBZULSaveAsClick();
    EXPECT_TRUE(hooks.LastIs("This ZUL file is already open!", "Cannot Save As..."));
    EXPECT_EQ(zultest::ReadBytes(Path("a.zul")), before);
    EXPECT_EQ(window->GetZULFile(window->FindZULFile(Path("b.zul")))->GetFileName(), Path("b.zul"));
}

TEST_F(MainWindowFixture, SaveAsOfAReadOnlyFileMakesItWritable)
{
    zultest::WriteBytes(Path("r.zul"), zultest::BuildZul({Tpl("door", "", {IntTag(3, 1)})}));
    TZULFile* file = window->OpenZULFile(Path("r.zul"), true);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->GetRootNode()->ImageIndex(), IMAGE_FILE_READONLY);
    window->TBZULSaveClick();
    EXPECT_TRUE(hooks.LastIs("File is Read Only!", "Cannot Save..."));
    ASSERT_TRUE(Select("door"));
    EXPECT_EQ(window->EDTemplateName.Text(), "door");
    EXPECT_EQ(window->EDFileName.Text(), "r.zul");
    hooks.saveAnswers = {Path("w.zul")};
    window->TBZULSaveAsClick();
    EXPECT_FALSE(file->IsReadOnly());
    EXPECT_EQ(file->GetFileName(), Path("w.zul"));
    EXPECT_EQ(file->GetRootNode()->Text(), "w.zul");
    EXPECT_EQ(window->EDFileName.Text(), "w.zul");  // the shown template's file box follows
    EXPECT_EQ(window->StatusBar.PanelText(0), Path("w.zul"));
    EXPECT_EQ(file->GetRootNode()->ImageIndex(), IMAGE_FILE);
    EXPECT_EQ(zultest::ReadBytes(Path("w.zul")), zultest::ReadBytes(Path("r.zul")));
    EXPECT_EQ(window->RecentFiles(), (std::vector<std::string>{Path("r.zul")}));
}

TEST_F(MainWindowFixture, ClosingAsksForTheFileClearsTheListAndShowsTheNextSelection)
{
    TZULFile* a = OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)})});
    OpenZul("b.zul", {Tpl("gate", "", {IntTag(3, 2)})});
    a->SetModified(true);
    ASSERT_TRUE(Select("door"));
    hooks.messageAnswers = {IDCANCEL};
    window->TBZULCloseClick();
    EXPECT_TRUE(hooks.LastIs(FileQuestion(Path("a.zul")), "Warning:"));
    EXPECT_GE(window->FindZULFile(Path("a.zul")), 0);

    hooks.messageAnswers = {IDNO};
    window->TBZULCloseClick();
    EXPECT_EQ(window->FindZULFile(Path("a.zul")), -1);
    EXPECT_EQ(Node("door"), nullptr);
    TTreeNode* selected = window->TVTemplates.Selected();
    ASSERT_TRUE(selected);
    EXPECT_TRUE(selected == Node("gate") || selected->Level() == 0);
    for (const std::string& row : Rows())
        EXPECT_EQ(row.find("door"), std::string::npos);

    window->TVTemplates.Select(nullptr);
    window->TBZULInfoClick();
    EXPECT_TRUE(hooks.LastIs("No selected tree item!", "Cannot show Info..."));
}

TEST_F(MainWindowFixture, ClosingTheProgramAsksForEachModifiedFile)
{
    TZULFile* a = OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)})});
    TZULFile* b = OpenZul("b.zul", {Tpl("gate", "", {IntTag(3, 2)})});
    a->SetModified(true);
    b->SetModified(true);
    hooks.messageAnswers = {IDNO, IDYES};
    bool canClose = false;
    window->FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    ASSERT_EQ(hooks.messages.size(), 2u);
    EXPECT_EQ(hooks.messages[0].text, FileQuestion(Path("a.zul")));
    EXPECT_EQ(hooks.messages[1].text, FileQuestion(Path("b.zul")));
    EXPECT_FALSE(b->IsModified());
    EXPECT_TRUE(a->IsModified());
}

TEST_F(MainWindowFixture, CloseQueryKeepsTheWindowWhenASaveDoesNotHappen)
{
    zultest::WriteBytes(Path("r.zul"), zultest::BuildZul({Tpl("door", "", {IntTag(3, 1)})}));
    TZULFile* file = window->OpenZULFile(Path("r.zul"), true);
    file->SetModified(true);
    hooks.messageAnswers = {IDYES};  // Save As is offered and cancelled
    bool canClose = true;
    window->FormCloseQuery(canClose);
    EXPECT_FALSE(canClose);
    EXPECT_EQ(hooks.fileDialogs.size(), 1u);

    window->TBZULNewClick();
    window->TBListNewTemplateChildClick();  // an unnamed template: its save is refused
    hooks.messageAnswers = {IDYES};
    canClose = true;
    window->FormCloseQuery(canClose);
    EXPECT_FALSE(canClose);
    EXPECT_EQ(hooks.Last().text, "You must name the template first!");
}

TEST_F(MainWindowFixture, InfoPrintsTheHeaderAndDumpsTheTree)
{
    OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)}), Tpl("knob", "door", {IntTag(2, 1)})});
    window->TBZULInfoClick();
    const std::vector<std::string> lines = ConsoleLines();
    const std::vector<std::string> tail(lines.end() - 10, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"", "INFO FOR : " + Path("a.zul"), "READONLY : NO", "MAGIC    : ZUL 0x10",
                                              "VERSION  : 1", "ENTRIES  : 2", "", "           door",
                                              "              knob", ""}));
    EXPECT_EQ(ReadFile("ZULINFO.TXT"), "        a.zul\n           door\n              knob\n");
}

TEST_F(MainWindowFixture, ConsoleKeepsAtMost301LinesOfAtMost2047Characters)
{
    for (int i = 0; i < 320; ++i)
        window->Print("line %d", i);
    const std::vector<std::string> lines = ConsoleLines();
    EXPECT_EQ(lines.size(), 301u);
    EXPECT_EQ(lines.back(), "line 319");
    const std::string longText(3000, 'x');
    window->Print("%s", longText.c_str());
    EXPECT_EQ(ConsoleLines().back().size(), 2047u);
    window->PrintEmptyLine();
    EXPECT_EQ(ConsoleLines().back(), "");
}

TEST_F(MainWindowFixture, SplittersKeepThePanesWithinTheirLimits)
{
    struct {
        void (TMainWindow::*canResize)(int& newSize, bool& accept);
        int asked, kept;
    } const limits[] = {{&TMainWindow::TemplatesSplitterCanResize, 100, 282},
                        {&TMainWindow::TemplatesSplitterCanResize, 400, 400},
                        {&TMainWindow::TagsSplitterCanResize, 100, 160},
                        {&TMainWindow::TagsSplitterCanResize, 500, 320},
                        {&TMainWindow::HeaderSplitterCanResize, 20, 84}};
    bool accept = true;
    for (const auto& limit : limits) {
        int size = limit.asked;
        ((*window).*limit.canResize)(size, accept);
        EXPECT_EQ(size, limit.kept) << limit.asked;
    }
    EXPECT_TRUE(accept);

    window->TagsSplitter.MoveTo(250);
    EXPECT_EQ(window->PanelRight.Width(), 250);
    window->TagsSplitter.MoveTo(600);
    EXPECT_EQ(window->PanelRight.Width(), 320);
    window->HeaderSplitter.MoveTo(150);
    EXPECT_EQ(window->PanelMiddleTop2.Height(), 150);
    EXPECT_EQ(window->Description.Width(), window->PanelMiddleTop2.Width() - 48);
    EXPECT_EQ(window->Description.Height(), 150 - 35);
}

TEST_F(MainWindowFixture, AboutBoxShowsNameVersionAndBuild)
{
    TAboutBoxWindow about;
    ASSERT_TRUE(about.Create());
    window->SetAboutBox(&about);
    std::string caption;
    hooks.modalAnswer = [&](TForm& form) {
        caption = form.Caption();
        return static_cast<int>(mrOk);
    };
    window->HelpAboutClick();
    EXPECT_EQ(caption, "About Template Editor");
    EXPECT_EQ(about.LabelTitle.Caption(), "Template Editor");
    EXPECT_EQ(about.LabelVersion.Caption(), "0.50 (beta)");
    EXPECT_EQ(about.LabelBuild.Caption().rfind("Build: ", 0), 0u);
    EXPECT_EQ(about.BNOk.Caption(), "OK");
}

TEST_F(MainWindowFixture, FirstStartKeepsTheDesignAndExitWritesTheKeys)
{
    window->FormActivate();
    EXPECT_TRUE(window->FirstActivationDone());
    EXPECT_EQ(window->PanelLeft.Width(), 282);
    EXPECT_TRUE(window->RecentFiles().empty());
    window.reset();
    TRegistry reg;
    for (const char* key : {"\\MainWindow", "\\ListView", "\\ValueEditorWindow", "\\MRU"})
        EXPECT_TRUE(reg.OpenKey(registryKey + key, false)) << key;
    ASSERT_TRUE(reg.OpenKey(registryKey + "\\MRU", false));
    EXPECT_EQ(reg.ReadInteger("numMRUFiles", -1), 0);
    ASSERT_TRUE(reg.OpenKey(registryKey + "\\ListView", false));
    EXPECT_TRUE(reg.ValueExists("Column 6"));
    EXPECT_FALSE(reg.ValueExists("Column 7"));
    window = MakeWindow();
}

TEST_F(MainWindowFixture, LayoutAndRecentFilesSurviveARestart)
{
    for (const char* name : {"a.zul", "b.zul"})
        OpenZul(name, {Tpl(std::string("t") + name[0], "", {IntTag(3, 1)})});
    window->SetBounds(40, 50, 900, 700);
    window->TemplatesSplitter.MoveTo(300);
    window->TagsSplitter.MoveTo(180);
    window->ConsoleSplitter.MoveTo(150);
    window->LVData.SetColumnWidth(2, 123);
    Restart();
    EXPECT_EQ(window->Left(), 40);
    EXPECT_EQ(window->Top(), 50);
    EXPECT_EQ(window->Width(), 900);
    EXPECT_EQ(window->Height(), 700);
    EXPECT_EQ(window->PanelLeft.Width(), 300);
    EXPECT_EQ(window->PanelRight.Width(), 180);
    EXPECT_EQ(window->PanelBottom.Height(), 150);
    EXPECT_EQ(window->LVData.ColumnWidth(2), 123);
    EXPECT_EQ(window->RecentFiles(), (std::vector<std::string>{Path("b.zul"), Path("a.zul")}));

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(registryKey + "\\MRU", false));
    EXPECT_EQ(reg.ReadString("File0", ""), Path("b.zul"));
    EXPECT_EQ(reg.ReadString("File1", ""), Path("a.zul"));
}

TEST_F(MainWindowFixture, RestoringStopsAtTheFirstMissingKey)
{
    window.reset();  // writes all four keys
    RegDeleteKeyA(HKEY_CURRENT_USER, (registryKey + "\\ListView").c_str());
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(registryKey + "\\MRU", false));
    reg.WriteInteger("numMRUFiles", 1);
    reg.WriteString("File0", "C:\\x.zul");
    ASSERT_TRUE(reg.OpenKey(registryKey + "\\MainWindow", false));
    reg.WriteInteger("PanelLeftWidth", 310);
    reg.CloseKey();
    window = MakeWindow();
    window->FormActivate();
    EXPECT_EQ(window->PanelLeft.Width(), 310);
    EXPECT_TRUE(window->RecentFiles().empty());
}

TEST_F(MainWindowFixture, CommandsWithoutSelectionOrEditStateRefuseOrDoNothing)
{
    struct Refusal {
        std::function<void()> command;
        std::string text;
        std::string caption;
    };
    const std::vector<Refusal> refusals = {
        {[&] { window->TBZULSaveClick(); }, "No selected tree item!", "Cannot save..."},
        {[&] { window->TBZULSaveAsClick(); }, "No selected tree item!", "Cannot Save As..."},
        {[&] { window->TBZULCloseClick(); }, "No selected tree item!", "Cannot Close..."},
        {[&] { window->TBZULInfoClick(); }, "No selected tree item!", "Cannot show Info..."},
        {[&] { window->TBListNewTemplateChildClick(); }, "No selected tree item!", "Cannot create new template..."},
        {[&] { window->TBListNewTemplateSibblingClick(); }, "No selected tree item!",
         "Cannot create new template sibbling..."},
        {[&] { window->TBListSaveTemplateClick(); }, "Template name cannot be empty !", "Cannot save..."},
        {[&] { window->TBDeleteTemplateClick(); }, "You must select a template!", "Cannot delete template..."},
    };
    for (const Refusal& r : refusals) {
        hooks.messages.clear();
        r.command();
        ASSERT_EQ(hooks.messages.size(), 1u) << r.text;
        EXPECT_TRUE(hooks.LastIs(r.text, r.caption));
        EXPECT_EQ(hooks.Last().icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    }

    hooks.messages.clear();
    bool accept = true;
    window->TBListDeleteCurrentItemClick();
    window->LVDataClick();
    window->LVDataChange(0);
    window->EDTemplateNameChange();
    window->DescriptionChange();
    window->SBSearchClick();
    window->SetCurrentTagValue("1");
    window->TVTemplatesDragOver(&window->TVTemplates, 5, 5, accept);
    EXPECT_FALSE(accept);
    window->TVTemplatesDragDrop(&window->TVTemplates, 5, 5);
    window->LVDataDragDrop(&window->TVTags, 5, 5);
    window->TVTagsDblClick();
    EXPECT_TRUE(window->RunPostchecks("x", "STRING"));
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(window->LVData.Count(), 0);
}

TEST_F(MainWindowFixture, KeysThatCannotBeWrittenAreReportedAndEndTheSaving)
{
    // A key name longer than the registry allows cannot be created.
    window->SetRegistryKey(registryKey + "\\" + std::string(300, 'k'));
    window.reset();
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_TRUE(hooks.LastIs("Cannot open MainWindow key!", "Registry error!"));
    window = MakeWindow();
}

TEST_F(MainWindowFixture, NewFilesUpToTheTableSizeThenARefusal)
{
    for (int i = 0; i < MAX_ZULFILES; ++i)
        window->TBZULNewClick();
    EXPECT_EQ(window->TVTemplates.Count(), MAX_ZULFILES);
    EXPECT_TRUE(hooks.messages.empty());
    window->TBZULNewClick();
    EXPECT_TRUE(hooks.LastIs("MAX_ZULFILES reached, ask Orvel to bump that value up!", "Cannot Open ZUL..."));
    EXPECT_EQ(window->TVTemplates.Count(), MAX_ZULFILES);
    for (TTreeNode* n = window->TVTemplates.GetFirstNode(); n; n = n->GetNextSibling())
        EXPECT_EQ(n->Text(), "unnamed.zul");
}
