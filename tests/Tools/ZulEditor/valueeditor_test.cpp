#include "ValueEditorFixture.h"
#include "Registry.h"

using namespace valueeditortest;
using namespace valueEditor;

// ---------------------------------------------------------------- opening

TEST_F(ValueEditorFixture, NoTemplateRefusesAndShowsNothing)
{
    main.FreeTPL();
    main.LVData.SetSelected(0);
    bool ran = false;
    hooks.modalAnswer = [&](TForm&) { ran = true; return mrCancel; };
    main.LVDataDblClick();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(hooks.LastIs("You must select a template first!", "Cannot edit tag..."));
    EXPECT_EQ(hooks.Last().icon, static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST_F(ValueEditorFixture, OpeningCopiesTheRowAndPicksThePageByType)
{
    const struct {
        int id;
        TTabSheet* page;
    } cases[] = {{idHealth, dialog.TabSINT},   {idGold, dialog.TabUINT},     {idFlags, dialog.TabFLAGS},
                 {idTeam, dialog.TabENUM},      {idMass, dialog.TabFLOAT},    {idSpeed, dialog.TabUFLOAT},
                 {idOffset, dialog.TabVECTOR},  {idColour, dialog.TabRGB},    {idLabel, dialog.TabSTRING},
                 {idModel, dialog.TabFILENAME}, {idAnim, dialog.TabFILENAME}, {idClass, dialog.TabSTRINGLIST},
                 {idAmmo, dialog.TabTEMPLATE}};
    for (const auto& c : cases) {
        OpenOn(c.id, [&] {
            EXPECT_EQ(dialog.Pages.ActivePage(), c.page) << c.id;
            EXPECT_EQ(dialog.EDInitialValue.Text(), Value(c.id));
            EXPECT_EQ(dialog.EDInherited.Text(), Cell(c.id, colInherited));
            EXPECT_EQ(dialog.EDParent.Text(), Cell(c.id, colParent));
            EXPECT_EQ(dialog.EDParentZUL.Text(), Cell(c.id, colParentZUL));
            EXPECT_EQ(dialog.EDTag.Text(), Cell(c.id, colTag));
            EXPECT_EQ(dialog.EDType.Text(), Cell(c.id, colType));
            EXPECT_EQ(dialog.EDTagID.Text(), std::to_string(c.id));
            dialog.BNCancelClick();
        });
        EXPECT_TRUE(shown);
    }
    EXPECT_EQ(Cell(idLabel, colParent), "Object");
    EXPECT_EQ(Cell(idLabel, colParentZUL), "base.zul");
    EXPECT_FALSE(Modified());
}

namespace {
// The last window of this thread that received the focus. GetFocus alone cannot tell: a test
// running in parallel that brings its own window to the front takes the activation, and with
// it the focus, from this thread's windows at any moment.
HWND lastFocused = nullptr;

LRESULT CALLBACK RecordFocus(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETFOCUS)
        lastFocused = call->hwnd;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

TEST_F(ValueEditorFixture, ShowingFocusesTheMainControlOfThePage)
{
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordFocus, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const struct {
        int id;
        TControl* control;
    } cases[] = {{idHealth, &dialog.EDSINT}, {idFlags, &dialog.CLBFlags}, {idOffset, &dialog.EDVECTOR1},
                 {idModel, &dialog.EDFILENAME}, {idAmmo, &dialog.LBTEMPLATE}};
    for (const auto& c : cases)
        OpenOn(c.id, [&] {
            lastFocused = nullptr;
            dialog.Show();
            EXPECT_EQ(lastFocused, c.control->Handle()) << c.id;
            dialog.BNCancelClick();
        });
    UnhookWindowsHookEx(hook);
}

TEST_F(ValueEditorFixture, UnknownTypeKeepsTheLastPageAndCountsAsEmpty)
{
    OpenOn(idMass, [&] { dialog.BNCancelClick(); });
    const int result = OkOn(idOdd, [&] { EXPECT_EQ(dialog.Pages.ActivePage(), dialog.TabFLOAT); });
    EXPECT_EQ(result, mrNone);
    EXPECT_TRUE(hooks.LastIs("The value (or inherited value) must exist!", "Cannot apply value..."));
    EXPECT_EQ(SavedWord(idOdd), 77u);
}

// ---------------------------------------------------------------- numbers

TEST_F(ValueEditorFixture, SignedAndUnsignedIntegersAreWrittenAsTyped)
{
    EXPECT_EQ(OkOn(idHealth, [&] {
                  EXPECT_EQ(dialog.EDSINT.Text(), "5");
                  dialog.EDSINT.SetText("-3");
              }),
              mrOk);
    EXPECT_EQ(Value(idHealth), "-3");
    EXPECT_EQ(SavedWord(idHealth), 0xFFFFFFFDu);
    EXPECT_TRUE(Modified());

    OkOn(idGold, [&] { dialog.EDUINT.SetText("4294967295"); });
    EXPECT_EQ(Value(idGold), "4294967295");
    EXPECT_EQ(SavedWord(idGold), 0xFFFFFFFFu);
}

TEST_F(ValueEditorFixture, UnchangedValueDoesNotMarkTheTemplate)
{
    EXPECT_EQ(OkOn(idGold), mrOk);
    EXPECT_EQ(Value(idGold), "7");
    EXPECT_FALSE(Modified());
}

TEST_F(ValueEditorFixture, FailedPostcheckKeepsTheDialogAndTheRow)
{
    const int result = OpenOn(idHealth, [&] {
        dialog.EDSINT.SetText("7");
        dialog.BNOkClick();
        EXPECT_EQ(dialog.ModalResult(), mrNone);
        EXPECT_TRUE(hooks.LastIs("Postcheck \"VALUEINLIST\" failed!", "Cannot change the value..."));
        EXPECT_EQ(hooks.Last().icon, static_cast<UINT>(MB_ICONEXCLAMATION));
        dialog.EDSINT.SetText("42");
        dialog.BNOkClick();
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Value(idHealth), "42");
}

TEST_F(ValueEditorFixture, TagsSharingANameKeepTheirOwnListsAndChecks)
{
    OpenOn(idFlagsTwin, [&] {
        ASSERT_EQ(dialog.CLBFlags.Count(), 32);
        EXPECT_EQ(Items(dialog.CLBFlags, 3), (std::vector<std::string>{"Red team", "Blue team", " "}));
        EXPECT_TRUE(dialog.CLBFlags.Checked(1));
        dialog.BNCancelClick();
    });
    // The twin "Health" has no post-check: 7 passes although the first "Health" lists 5, 42, -3.
    EXPECT_EQ(OkOn(idHealthTwin, [&] { dialog.EDSINT.SetText("7"); }), mrOk);
    EXPECT_EQ(Value(idHealthTwin), "7");
    EXPECT_TRUE(main.RunPostchecks("7", "SINT"));
}

TEST_F(ValueEditorFixture, RowHintOfATwinNamesItsOwnFlags)
{
    main.LVData.SetSelected(Row(idFlagsTwin));
    main.LVDataClick();
    EXPECT_EQ(main.LVData.Hint(), "Blue team");
}

TEST_F(ValueEditorFixture, FloatsAreWrittenAsTyped)
{
    OkOn(idMass, [&] {
        EXPECT_EQ(dialog.EDFLOAT.Text(), "1.500000");
        dialog.EDFLOAT.SetText("-3.25");
    });
    EXPECT_EQ(Value(idMass), "-3.25");
    EXPECT_EQ(SavedFloat(idMass), -3.25f);

    OkOn(idSpeed, [&] {
        EXPECT_EQ(dialog.EDUFLOAT.Text(), "2.000000");
        dialog.EDUFLOAT.SetText("0.5");
    });
    EXPECT_EQ(SavedFloat(idSpeed), 0.5f);
}

TEST_F(ValueEditorFixture, VectorOpensInFixedNotationAndJoinsItsFields)
{
    OkOn(idOffset, [&] {
        EXPECT_EQ(dialog.EDVECTOR1.Text(), "1.000000");
        EXPECT_EQ(dialog.EDVECTOR2.Text(), "2.000000");
        EXPECT_EQ(dialog.EDVECTOR3.Text(), "3.000000");
        EXPECT_FALSE(dialog.BNVectorNormalize.Enabled());
        EXPECT_FALSE(dialog.BNVectorScale.Enabled());
        dialog.EDVECTOR1.SetText("0.5");
        dialog.EDVECTOR2.SetText("-1");
    });
    EXPECT_EQ(Value(idOffset), "0.5 -1 3.000000");
    EXPECT_EQ(SavedFloat(idOffset, 0), 0.5f);
    EXPECT_EQ(SavedFloat(idOffset, 1), -1.0f);
    EXPECT_EQ(SavedFloat(idOffset, 2), 3.0f);
}

// ---------------------------------------------------------------- flags and enumerations

TEST_F(ValueEditorFixture, FiveFlagsArePaddedToThirtyTwoAndSummed)
{
    const int result = OkOn(idFlags, [&] {
        ASSERT_EQ(dialog.CLBFlags.Count(), 32);
        EXPECT_EQ(dialog.CLBFlags.Item(0), "Solid");
        EXPECT_EQ(dialog.CLBFlags.Item(4), "Floats");
        for (int k = 5; k < 32; ++k)
            EXPECT_EQ(dialog.CLBFlags.Item(k), " ");
        for (int k = 0; k < 32; ++k)
            EXPECT_EQ(dialog.CLBFlags.Checked(k), k == 0 || k == 2) << k;
        dialog.CLBFlags.SetChecked(2, false);
        dialog.CLBFlags.SetChecked(3, true);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Value(idFlags), "9  [0x9]");
    EXPECT_EQ(SavedWord(idFlags), 9u);

    OkOn(idFlags, [&] {
        for (int k = 0; k < 32; ++k)
            dialog.CLBFlags.SetChecked(k, false);
    });
    EXPECT_EQ(Value(idFlags), "0  [0x0]");
}

TEST_F(ValueEditorFixture, FlagsOverThirtyTwoNamesUseBitsOfTheFirstThirtyTwoOnly)
{
    OkOn(idManyFlags, [&] {
        ASSERT_EQ(dialog.CLBFlags.Count(), 40);
        EXPECT_EQ(dialog.CLBFlags.Item(39), "bit39");
        EXPECT_TRUE(dialog.CLBFlags.Checked(0));
        EXPECT_TRUE(dialog.CLBFlags.Checked(31));
        EXPECT_FALSE(dialog.CLBFlags.Checked(32));
        dialog.CLBFlags.SetChecked(35, true);  // no bit of its own
        dialog.CLBFlags.SetChecked(30, true);
    });
    // The top bit stays an unsigned 32-bit sum.
    EXPECT_EQ(Value(idManyFlags), "3221225473  [0xc0000001]");
    EXPECT_EQ(SavedWord(idManyFlags), 0xC0000001u);
}

TEST_F(ValueEditorFixture, OkOnUnchangedFlagsStillRewritesTheRow)
{
    OkOn(idFlags);
    EXPECT_EQ(Value(idFlags), "5  [0x5]");
    EXPECT_TRUE(Modified());
}

TEST_F(ValueEditorFixture, EnumWithGapsListsItsLinesAndWritesTheIndex)
{
    OkOn(idTeam, [&] {
        EXPECT_EQ(Items(dialog.LBENUM), (std::vector<std::string>{"Neutral", "Player", ""}));
        EXPECT_EQ(dialog.LBENUM.ItemIndex(), 1);
        dialog.LBENUM.SetItemIndex(2);
    });
    EXPECT_EQ(Value(idTeam), "2  []");
    EXPECT_EQ(SavedWord(idTeam), 2u);
}

TEST_F(ValueEditorFixture, EnumOutOfRangeOpensWithoutSelectionAndRefusesOk)
{
    main.LVData.SetItemText(Row(idTeam), colValue, "7");
    const int result = OkOn(idTeam, [&] { EXPECT_EQ(dialog.LBENUM.ItemIndex(), -1); });
    EXPECT_EQ(result, mrNone);
    EXPECT_TRUE(hooks.LastIs("You must select a value in the listbox.", "Enum error..."));
    EXPECT_EQ(Value(idTeam), "7");
}

// ---------------------------------------------------------------- colours

TEST_F(ValueEditorFixture, ColourOpensCutTowardZeroAndSaturated)
{
    const struct {
        const char* value;
        std::vector<std::string> shown;
    } cases[] = {
        {"12.9 255 -0.5", {"12", "255", "0"}},
        {"1e20 nan -1e20", {"2147483647", "0", "-2147483648"}},
    };
    for (const auto& c : cases) {
        main.LVData.SetItemText(Row(idColour), colValue, c.value);
        OpenOn(idColour, [&] {
            EXPECT_EQ((std::vector<std::string>{dialog.EDRGB1.Text(), dialog.EDRGB2.Text(), dialog.EDRGB3.Text()}),
                      c.shown)
                << c.value;
            dialog.BNCancelClick();
        });
    }
}

TEST_F(ValueEditorFixture, ColourPresetsSetTheThreeFields)
{
    const struct {
        TButton* button;
        const char* rgb;
    } presets[] = {{&dialog.BNRGBRed, "255 0 0"},       {&dialog.BNRGBGreen, "0 255 0"},
                   {&dialog.BNRGBBlue, "0 0 255"},      {&dialog.BNRGBCyan, "0 255 255"},
                   {&dialog.BNRGBMagenta, "255 0 255"}, {&dialog.BNRGBYellow, "255 255 0"},
                   {&dialog.BNRGBBlack, "0 0 0"},       {&dialog.BNRGBWhite, "255 255 255"}};
    for (const auto& p : presets) {
        OkOn(idColour, [&] { p.button->Click(); });
        EXPECT_EQ(Value(idColour), p.rgb) << p.button->Caption();
    }
    EXPECT_EQ(SavedFloat(idColour, 0), 255.0f);
    EXPECT_EQ(SavedFloat(idColour, 2), 255.0f);
}

// Records the colour the dialog is opened with.
class ColourHooks : public ScriptedHooks {
public:
    std::vector<COLORREF> asked;
    bool ColorDialog(TColorDialogRequest& request) override
    {
        asked.push_back(request.color);
        return ScriptedHooks::ColorDialog(request);
    }
};

TEST_F(ValueEditorFixture, PickOpensOnClampedComponentsAndWritesThePickedBytes)
{
    ColourHooks colours;
    main.LVData.SetSelected(Row(idColour));
    colours.modalAnswer = [&](TForm&) {
        dialog.EDRGB1.SetText("300");
        dialog.EDRGB2.SetText("-5");
        dialog.EDRGB3.SetText("70000");
        dialog.BNPickColorClick();  // cancelled: nothing changes
        EXPECT_EQ(dialog.EDRGB1.Text(), "300");
        colours.colorAnswers.push_back(RGB(1, 128, 254));
        dialog.BNPickColorClick();
        dialog.BNOkClick();
        return dialog.ModalResult();
    };
    main.LVDataDblClick();
    ASSERT_EQ(colours.asked.size(), 2u);
    EXPECT_EQ(colours.asked[0], RGB(255, 0, 255));
    EXPECT_EQ(Value(idColour), "1 128 254");
}

// ---------------------------------------------------------------- strings and string lists

TEST_F(ValueEditorFixture, InheritedValueAsksForTheOverride)
{
    hooks.messageAnswers = {IDNO};
    int result = OkOn(idLabel, [&] { EXPECT_EQ(dialog.EDSTRING.Text(), "OBJ_NAME"); });
    EXPECT_EQ(result, mrNone);
    EXPECT_TRUE(hooks.LastIs("Confirm override of inherited value ?", "Warning:"));
    EXPECT_EQ(hooks.Last().buttons, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(hooks.Last().icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(Value(idLabel), "");

    hooks.messageAnswers = {IDYES};
    result = OkOn(idLabel);
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Value(idLabel), "OBJ_NAME");
    EXPECT_EQ(Cell(idLabel, colInherited), "");
    EXPECT_EQ(Cell(idLabel, colParent), "");
    EXPECT_EQ(Cell(idLabel, colParentZUL), "");
    EXPECT_TRUE(Modified());
}

TEST_F(ValueEditorFixture, FailedPostcheckAfterYesKeepsTheInheritedColumns)
{
    hooks.messageAnswers = {IDYES};
    const int result = OkOn(idLabel, [&] { dialog.EDSTRING.SetText("GOBLIN"); });
    EXPECT_EQ(result, mrNone);
    EXPECT_EQ(LastText(), "Postcheck \"VALUEINLIST\" failed!");
    EXPECT_EQ(Cell(idLabel, colInherited), "OBJ_NAME");
    EXPECT_EQ(Cell(idLabel, colParent), "Object");
    EXPECT_EQ(Cell(idLabel, colParentZUL), "base.zul");
    EXPECT_FALSE(Modified());
}

TEST_F(ValueEditorFixture, EmptyValueWithInheritedOneIsAccepted)
{
    EXPECT_EQ(OkOn(idNote, [&] { dialog.EDSTRING.SetText(""); }), mrOk);
    EXPECT_EQ(Value(idNote), "");
    EXPECT_EQ(Cell(idNote, colInherited), "hello");
    EXPECT_TRUE(hooks.messages.empty());
}

TEST_F(ValueEditorFixture, StringListSelectsTheInheritedChoiceAndWritesTheChosenOne)
{
    hooks.messageAnswers = {IDYES};
    OkOn(idClass, [&] {
        ASSERT_EQ(dialog.LBSTRINGLIST.Count(), 4);
        EXPECT_EQ(dialog.LBSTRINGLIST.ItemIndex(), 1);
        dialog.LBSTRINGLIST.SetItemIndex(2);
    });
    EXPECT_EQ(Value(idClass), "Weapon");
    EXPECT_EQ(TagBytesText(Saved(idClass)), "Weapon");
    OpenOn(idClass, [&] {
        EXPECT_EQ(dialog.LBSTRINGLIST.ItemIndex(), 2);  // the own value now
        dialog.LBSTRINGLIST.SetItemIndex(-1);
        dialog.BNOkClick();
        EXPECT_TRUE(hooks.LastIs("You must select a value in the listbox.", "StringList error..."));
        dialog.LBSTRINGLIST.SetItemIndex(3);
        dialog.BNOkClick();
        EXPECT_TRUE(hooks.LastIs("The value \"AVeryLongChoiceNameOfMoreThan31Chars\" is longer than 31 characters!",
                                    "Cannot apply value..."));
        EXPECT_EQ(dialog.ModalResult(), mrNone);
        dialog.BNCancelClick();
    });
    EXPECT_EQ(Value(idClass), "Weapon");
}

// Writes the string-list files of the game folder: comments, "//" lines, long identifiers,
// tabs, LF and CR LF ends; Misc\game.pif is missing.
static void WriteStringLists()
{
    fixtures::MakeFolders("Strings");
    fixtures::MakeFolders("Misc");
    fixtures::WriteText("Strings\\game.kez",
                        "# game strings\nOBJ_NAME  Object\n   // old line\nTHIS_IDENTIFIER_IS_FAR_TOO_LONG_FOR_A_TAG  x\n"
                        "\tTAB_NAME\tTabbed text\n\nORC_NAME  Orc");
    fixtures::WriteText("Strings\\system.kez", "// system\r\nSYS_OK  OK\r\n#SYS_HIDDEN\r\nSYS_CANCEL Cancel\r\n");
    fixtures::WriteText("Misc\\effects.gux", "fx_smoke\nfx_sparks\n");
}

static std::vector<std::string> Items(const TListBox& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Item(i));
    return items;
}

TEST_F(ValueEditorFixture, StringListFilesLoadAsStoredAndGiveTheirFirstWord)
{
    WriteStringLists();
    hooks.messageAnswers = {IDOK, IDYES};
    OkOn(idLabel, [&] {
        dialog.BNFillKEZClick();
        EXPECT_EQ(Items(dialog.LBKEZ),
                  (std::vector<std::string>{"# game strings", "OBJ_NAME  Object", "   // old line",
                                            "THIS_IDENTIFIER_IS_FAR_TOO_LONG_FOR_A_TAG  x", "\tTAB_NAME\tTabbed text",
                                            "", "ORC_NAME  Orc"}));
        auto pick = [&](int index) {
            dialog.EDSTRING.SetText("unchanged");
            dialog.LBKEZ.SetItemIndex(index);
            dialog.LBKEZDblClick();
            return dialog.EDSTRING.Text();
        };
        EXPECT_EQ(pick(0), "unchanged");
        EXPECT_EQ(pick(2), "unchanged");
        EXPECT_EQ(pick(5), "unchanged");
        EXPECT_EQ(pick(3), "THIS_IDENTIFIER_IS_FAR_TOO_LONG");
        EXPECT_EQ(pick(4), "TAB_NAME\tTabbed");  // only a blank ends the word
        EXPECT_EQ(pick(1), "OBJ_NAME");

        dialog.BNFillSysKEZClick();
        EXPECT_EQ(Items(dialog.LBKEZ), (std::vector<std::string>{"// system", "SYS_OK  OK", "#SYS_HIDDEN",
                                                                 "SYS_CANCEL Cancel"}));
        dialog.BNFillGUXClick();
        EXPECT_EQ(Items(dialog.LBKEZ), (std::vector<std::string>{"fx_smoke", "fx_sparks"}));

        dialog.BNFillPIFClick();
        EXPECT_EQ(dialog.LBKEZ.Count(), 0);
        EXPECT_TRUE(hooks.LastIs("Cannot open file \"Misc\\game.pif\".", "Cannot load string list..."));

        dialog.BNFillSysKEZClick();
        dialog.LBKEZ.SetItemIndex(3);
        dialog.LBKEZDblClick();
    });
    EXPECT_EQ(LastText(), "Postcheck \"VALUEINLIST\" failed!");
    EXPECT_EQ(Cell(idLabel, colInherited), "OBJ_NAME");
    // The list stays loaded for the next opening.
    OpenOn(idLabel, [&] {
        EXPECT_EQ(dialog.LBKEZ.Count(), 4);
        dialog.BNCancelClick();
    });
}

TEST_F(ValueEditorFixture, StringFieldTakesAtMostThirtyOneTypedCharacters)
{
    EXPECT_EQ(dialog.EDSTRING.MaxLength(), 31);
    EXPECT_EQ(dialog.EDFILENAME.MaxLength(), 31);
}

// ---------------------------------------------------------------- file names

TEST_F(ValueEditorFixture, FilePickUsesTheDataFileSettingsAndKeepsTheNameOnly)
{
    hooks.openAnswers = {"", "C:\\game\\Models\\orc_chief.qev"};
    OkOn(idModel, [&] {
        EXPECT_EQ(dialog.EDFILENAME.Text(), "orc.qev");
        dialog.BNPickFiIenameClick();  // cancelled
        EXPECT_EQ(dialog.EDFILENAME.Text(), "orc.qev");
        dialog.BNPickFiIenameClick();
    });
    ASSERT_EQ(hooks.fileDialogs.size(), 2u);
    const TFileDialogRequest& request = hooks.fileDialogs.back();
    EXPECT_EQ(request.defaultExt, "qev");
    EXPECT_EQ(request.filter, "Models (*.qev)|*.qev");
    EXPECT_EQ(request.initialDir, main.ProgramFolder() + "Models");
    EXPECT_TRUE(request.flags & OFN_FILEMUSTEXIST);
    EXPECT_TRUE(request.flags & OFN_HIDEREADONLY);
    EXPECT_EQ(Value(idModel), "orc_chief.qev");
    EXPECT_EQ(TagBytesText(Saved(idModel)), "orc_chief.qev");
}

// The value editor and the about box are dialogs: a close box, and neither a minimize nor a
// maximize box, which the main window has.
TEST_F(ValueEditorFixture, ValueEditorAndAboutBoxHaveNoMinimizeOrMaximizeBox)
{
    TAboutBoxWindow about;
    ASSERT_TRUE(about.Create());
    for (TForm* form : {static_cast<TForm*>(&dialog), static_cast<TForm*>(&about)}) {
        const LONG style = GetWindowLongA(form->Handle(), GWL_STYLE);
        EXPECT_TRUE(style & WS_SYSMENU) << form->Caption();
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << form->Caption();
        EXPECT_FALSE(style & WS_THICKFRAME) << form->Caption();
    }
    const LONG mainStyle = GetWindowLongA(main.Handle(), GWL_STYLE);
    EXPECT_EQ(mainStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), (LONG)(WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

// A model picked in the value editor does not move where the file commands' dialogs start: each
// starts where it last chose a file, else in the folder of the template file opened last. No
// dialog moves the program's current folder.
TEST_F(ValueEditorFixture, FileCommandsDialogsStartWhereTheyLastWere)
{
    const std::string other = work.Path() + "\\other", saved = work.Path() + "\\saved";
    ASSERT_TRUE(fixtures::MakeFolders(other));
    ASSERT_TRUE(fixtures::MakeFolders(saved));
    zultest::WriteBytes(other + "\\c.zul", zultest::BuildZul({zultest::Tpl("Crate", "")}));
    auto lastDialog = [this] { return hooks.fileDialogs.back(); };

    hooks.openAnswers = {work.Path() + "\\Models\\orc_chief.qev"};
    OkOn(idModel, [&] { dialog.BNPickFiIenameClick(); });
    EXPECT_EQ(lastDialog().initialDir, main.ProgramFolder() + "Models");
    hooks.messageAnswers = {IDNO};  // the edited template is not saved
    main.TBZULOpenClick();
    EXPECT_EQ(lastDialog().title, "Open Object Templates file");
    EXPECT_EQ(lastDialog().initialDir, work.Path());

    hooks.openAnswers = {other + "\\c.zul"};
    main.TBZULOpenClick();
    ASSERT_EQ(main.RecentFiles().front(), other + "\\c.zul");
    main.TBZULOpenClick();
    EXPECT_EQ(lastDialog().initialDir, other);

    // Save As of a new file: the templates folder first, then where Save As chose.
    main.TBZULNewClick();
    hooks.saveAnswers = {saved + "\\new.zul"};
    main.TBZULSaveAsClick();
    EXPECT_EQ(lastDialog().title, "Save Object Templates file");
    EXPECT_EQ(lastDialog().initialDir, other);
    main.TBZULNewClick();
    main.TBZULSaveAsClick();
    EXPECT_EQ(lastDialog().initialDir, saved);
    main.TBZULOpenClick();
    EXPECT_EQ(lastDialog().initialDir, other);

    for (const TFileDialogRequest& request : hooks.fileDialogs)
        EXPECT_TRUE(request.flags & OFN_NOCHANGEDIR) << request.title;
}

TEST_F(ValueEditorFixture, PickedNameOverThirtyOneCharactersIsRefused)
{
    const std::string longName = "a_model_file_name_of_forty_chars_xx.qev";
    hooks.openAnswers = {"C:\\game\\Models\\" + longName};
    const int result = OkOn(idModel, [&] { dialog.BNPickFiIenameClick(); });
    EXPECT_EQ(result, mrNone);
    EXPECT_TRUE(hooks.LastIs("The value \"" + longName + "\" is longer than 31 characters!", "Cannot apply value..."));
    EXPECT_EQ(Value(idModel), "orc.qev");
}

TEST_F(ValueEditorFixture, FileNameWithoutExtensionDropsTheLastDotPart)
{
    hooks.openAnswers = {"C:\\my.anims\\run.fast.jup"};
    OkOn(idAnim, [&] { dialog.BNPickFiIenameClick(); });
    EXPECT_EQ(hooks.fileDialogs.back().defaultExt, "jup");
    EXPECT_EQ(hooks.fileDialogs.back().initialDir, main.ProgramFolder() + "Anims");
    EXPECT_EQ(Value(idAnim), "run.fast");

    hooks.openAnswers = {"C:\\my.anims\\noext"};
    OkOn(idAnim, [&] { dialog.BNPickFiIenameClick(); });
    EXPECT_EQ(Value(idAnim), "noext");
}

// ---------------------------------------------------------------- templates

TEST_F(ValueEditorFixture, TemplateListHoldsEveryOpenFileSortedTogether)
{
    OkOn(idAmmo, [&] {
        EXPECT_EQ(Items(dialog.LBTEMPLATE),
                  (std::vector<std::string>{"Arrow", "Arrow", "Axe", "Bow", "Object", "Orc"}));
        EXPECT_TRUE(dialog.LBTEMPLATE.Sorted());
        EXPECT_EQ(dialog.LBTEMPLATE.ItemIndex(), 0);  // "arrow" found without regard to case
        dialog.LBTEMPLATE.SetItemIndex(3);
    });
    EXPECT_EQ(Value(idAmmo), "Bow");
    EXPECT_EQ(TagBytesText(Saved(idAmmo)), "Bow");
}

TEST_F(ValueEditorFixture, TemplateWithoutOwnValueOpensWithoutSelection)
{
    main.LVData.SetItemText(Row(idAmmo), colValue, "");
    main.LVData.SetItemText(Row(idAmmo), colInherited, "Bow");
    hooks.messageAnswers = {IDOK};
    const int result = OkOn(idAmmo, [&] { EXPECT_EQ(dialog.LBTEMPLATE.ItemIndex(), -1); });
    EXPECT_EQ(result, mrNone);
    EXPECT_TRUE(hooks.LastIs("You must select a value in the listbox.", "Template error..."));
}

TEST_F(ValueEditorFixture, ColumnUpDownSetsTheTemplateListColumns)
{
    EXPECT_EQ(dialog.UDColumns.Position(), 3);
    EXPECT_EQ(dialog.UDColumns.Min(), 1);
    EXPECT_EQ(dialog.UDColumns.Max(), 20);
    EXPECT_EQ(dialog.LBTEMPLATE.Columns(), 3);
    EXPECT_EQ(dialog.LabelNumColumns.Caption(), "3");
    dialog.UDColumns.SetPosition(7);
    dialog.UDColumnsClick();
    EXPECT_EQ(dialog.LBTEMPLATE.Columns(), 7);
    EXPECT_EQ(dialog.LabelNumColumns.Caption(), "7");
}

// ---------------------------------------------------------------- Cancel, frame and new rows

TEST_F(ValueEditorFixture, CancelOnANewRowDeletesItAndFrameCloseToo)
{
    EditTemplate("Bow");
    TTagInfo* info = FindTagInfoById(idNote);
    ASSERT_NE(info, nullptr);
    main.TVTags.Select(info->tagNode);
    int runs = 0;
    hooks.modalAnswer = [&](TForm&) {
        ++runs;
        EXPECT_EQ(dialog.Pages.ActivePage(), dialog.TabSTRING);
        dialog.EDSTRING.SetText("");
        dialog.BNOkClick();
        EXPECT_TRUE(hooks.LastIs("The value (or inherited value) must exist!", "Cannot apply value..."));
        dialog.BNCancelClick();
        return dialog.ModalResult();
    };
    main.TVTagsDblClick();
    EXPECT_EQ(Row(idNote), -1);
    EXPECT_FALSE(Modified());

    hooks.modalAnswer = [&](TForm&) {
        ++runs;
        SendMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
        return dialog.ModalResult();
    };
    main.TVTagsDblClick();
    EXPECT_EQ(Row(idNote), -1);

    hooks.modalAnswer = [&](TForm&) {
        dialog.EDSTRING.SetText("A note");
        dialog.BNOkClick();
        return dialog.ModalResult();
    };
    main.TVTagsDblClick();
    EXPECT_EQ(runs, 2);
    ASSERT_GE(Row(idNote), 0);
    EXPECT_EQ(Value(idNote), "A note");
    EXPECT_TRUE(Modified());
}

TEST_F(ValueEditorFixture, CancelAndFrameCloseLeaveAnExistingRowAlone)
{
    OpenOn(idHealth, [&] {
        dialog.EDSINT.SetText("42");
        dialog.BNCancelClick();
    });
    EXPECT_EQ(Value(idHealth), "5");
    OpenOn(idHealth, [&] {
        dialog.EDSINT.SetText("42");
        SendMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
        EXPECT_EQ(dialog.ModalResult(), mrCancel);
    });
    EXPECT_EQ(Value(idHealth), "5");
    EXPECT_FALSE(Modified());
}

TEST_F(ValueEditorFixture, OkAndCancelAreTheDefaultAndCancelButtons)
{
    OpenOn(idHealth, [&] {
        dialog.Show();
        dialog.EDSINT.SetFocus();
        dialog.EDSINT.SetText("42");
        MSG msg{dialog.EDSINT.Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        EXPECT_TRUE(dialog.PreviewKey(msg));
    });
    EXPECT_EQ(Value(idHealth), "42");
    OpenOn(idHealth, [&] {
        dialog.Show();
        dialog.EDSINT.SetText("5");
        MSG msg{dialog.EDSINT.Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
        EXPECT_TRUE(dialog.PreviewKey(msg));
        EXPECT_EQ(dialog.ModalResult(), mrCancel);
    });
    EXPECT_EQ(Value(idHealth), "42");
}

// ---------------------------------------------------------------- more information, place

TEST_F(ValueEditorFixture, MoreInfoShowsTheBottomPanelAndKeepsItsState)
{
    EXPECT_FALSE(dialog.PanelBottom.Visible());
    EXPECT_EQ(dialog.SBMore.Caption(), "More Info...");
    const int height = dialog.Height();
    dialog.SBMore.Click();
    EXPECT_TRUE(dialog.SBMore.Down());
    EXPECT_EQ(dialog.SBMore.Caption(), "Less Info...");
    EXPECT_TRUE(IsWindowVisible(dialog.PanelBottom.Handle()) || !dialog.Visible());
    EXPECT_GT(dialog.Height(), height);
    OpenOn(idHealth, [&] {
        EXPECT_TRUE(dialog.SBMore.Down());
        EXPECT_EQ(dialog.SBMore.Caption(), "Less Info...");
        dialog.BNCancelClick();
    });
    dialog.SBMore.Click();
    EXPECT_EQ(dialog.SBMore.Caption(), "More Info...");
    EXPECT_EQ(dialog.Height(), height);
    dialog.ShowMoreInfo(true);
    EXPECT_TRUE(dialog.SBMore.Down());
    dialog.ShowMoreInfo(false);
    dialog.ShowMoreInfo(false);
    EXPECT_FALSE(dialog.SBMore.Down());
    EXPECT_FALSE(dialog.PanelBottom.Visible());
    EXPECT_EQ(dialog.Height(), height);
}

TEST_F(ValueEditorFixture, PlaceIsKeptInTheRegistry)
{
    TRegistry reg;
    for (const char* sub : {"\\MainWindow", "\\ListView"})
        ASSERT_TRUE(reg.OpenKey(main.RegistryKey() + sub, true));
    ASSERT_TRUE(reg.OpenKey(main.RegistryKey() + "\\ValueEditorWindow", true));
    reg.WriteInteger("Left", 210);
    reg.WriteInteger("Top", 160);
    reg.WriteInteger("Width", 500);
    reg.WriteInteger("Height", 360);
    reg.CloseKey();
    main.FormActivate();
    EXPECT_EQ(dialog.Left(), 210);
    EXPECT_EQ(dialog.Top(), 160);
    EXPECT_EQ(dialog.Width(), 500);
    EXPECT_EQ(dialog.Height(), 360);
    const RECT kept = main.ValueEditorBounds();
    EXPECT_EQ(kept.left, 210);
    EXPECT_EQ(kept.bottom, 520);

    // The main window keeps the dialog's place when it goes.
    dialog.SetBounds(33, 44, 470, 340);
    main.DestroyForm();
    ASSERT_TRUE(reg.OpenKey(main.RegistryKey() + "\\ValueEditorWindow", false));
    EXPECT_EQ(reg.ReadInteger("Left", 0), 33);
    EXPECT_EQ(reg.ReadInteger("Top", 0), 44);
    EXPECT_EQ(reg.ReadInteger("Width", 0), 470);
    EXPECT_EQ(reg.ReadInteger("Height", 0), 340);
}

// ---------------------------------------------------------------- pieces without windows

namespace {
// Each input, mapped by `f`, gives its expected text.
void ExpectMapped(std::string (*f)(const std::string&), const std::vector<std::pair<std::string, std::string>>& cases)
{
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(f(input), expected) << "input: \"" << input << "\"";
}
}  // namespace

TEST(ValueEditorLogic, IdentifierOfAStringListLine)
{
    ExpectMapped(IdentifierOfLine, {{"", ""}, {" \t ", ""}, {"  # comment", ""}, {"\t// comment", ""},
                                    {"/single", "/single"}, {"  NAME  text", "NAME"},
                                    {std::string(40, 'X'), std::string(31, 'X')},
                                    {std::string(31, 'Y') + "Z more", std::string(31, 'Y')}});
}

TEST(ValueEditorLogic, ExtensionIsCutOnlyInTheFileNamePart)
{
    ExpectMapped(WithoutExtension, {{"orc.qev", "orc"}, {"a.b.c", "a.b"}, {"noext", "noext"},
                                    {"dir.x\\noext", "dir.x\\noext"}, {"", ""}});
}

TEST(ValueEditorLogic, ColourConversionsSaturateAndClamp)
{
    EXPECT_EQ(TruncateToInt(12.9f), 12);
    EXPECT_EQ(TruncateToInt(-12.9f), -12);
    EXPECT_EQ(TruncateToInt(-0.5f), 0);
    EXPECT_EQ(TruncateToInt(std::nanf("")), 0);
    EXPECT_EQ(TruncateToInt(3e9f), 2147483647);
    EXPECT_EQ(TruncateToInt(-3e9f), -2147483647 - 1);
    EXPECT_EQ(TruncateToInt(INFINITY), 2147483647);
    EXPECT_EQ(ColourWord(1, 2, 3), static_cast<COLORREF>(RGB(1, 2, 3)));
    EXPECT_EQ(ColourWord(256, -1, 1000), static_cast<COLORREF>(RGB(255, 0, 255)));
}

TEST(ValueEditorLogic, LinesReadWithEitherEndAndMissingFileFails)
{
    fixtures::WorkFolder work(fixtures::TestFolderName());
    fixtures::WriteText("mixed.txt", "a\r\nb\nc\r\n\r\nlast");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadLines("mixed.txt", lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "", "last"}));
    EXPECT_FALSE(ReadLines("missing.txt", lines));
    EXPECT_TRUE(lines.empty());
}

TEST_F(ValueEditorFixture, RealModalRunEndsOnOkAndOnTheFrame)
{
    main.LVData.SetSelected(Row(idHealth));
    hooks.modalAnswer = [&](TForm& form) {
        form.Show();
        dialog.EDSINT.SetText("42");
        PostMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                     reinterpret_cast<LPARAM>(dialog.BNOk.Handle()));
        return form.RunModalLoop();
    };
    main.LVDataDblClick();
    EXPECT_EQ(dialog.ModalResult(), mrOk);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(Value(idHealth), "42");

    hooks.modalAnswer = [&](TForm& form) {
        form.Show();
        dialog.EDSINT.SetText("5");
        PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
        return form.RunModalLoop();
    };
    main.LVDataDblClick();
    EXPECT_EQ(dialog.ModalResult(), mrCancel);
    EXPECT_EQ(Value(idHealth), "42");
}
