// The main window on a tag-definition file with every data type, a data file with flag, enum,
// string-list and file-dialog sections, and two template files; the value editor on top of it.
// Modal runs, message boxes and common dialogs are answered by a script.
#pragma once
#include "Forms/ScriptedHooks.h"
#include "MainWindow.h"
#include "ValueEditorWindow.h"
#include "ZULData.h"
#include "ZulBuilder.h"
#include "fixtureTestFolder.h"
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace valueeditortest {

// The texts of a list's first `count` items (all of them for -1).
template <class List> std::vector<std::string> Items(const List& list, int count = -1)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.Count() && (count < 0 || i < count); ++i)
        items.push_back(list.Item(i));
    return items;
}

// Tag ids of the fixture.
enum {
    idParent = 0, idHealth = 10, idGold = 11, idFlags = 12, idManyFlags = 13, idTeam = 14, idMass = 15,
    idSpeed = 16, idOffset = 17, idColour = 18, idLabel = 19, idModel = 20, idAnim = 21, idClass = 22,
    idAmmo = 23, idOdd = 24, idFlagsTwin = 25, idHealthTwin = 26, idNote = 27
};

inline std::string TagSection(int id, const std::string& name, const std::string& type,
                              const std::string& extra = "")
{
    return "[" + std::to_string(id) + "]\nNAME=" + name + "\nDATATYPE=" + type + "\nSORT=" +
           std::to_string(id) + "\nCAT=0\n" + extra + "\n";
}

inline std::string TagsText()
{
    return "[Header]\nVersion=1\n\n" + TagSection(idParent, "PARENT", "STRING") +
           TagSection(idHealth, "Health", "SINT", "CHECKS=1\nCHECK0=VALUEINLIST(5, 42, -3)\n") +
           TagSection(idGold, "Gold", "UINT") + TagSection(idFlags, "Flags", "FLAGS", "REF=FiveFlags\n") +
           TagSection(idManyFlags, "ManyFlags", "FLAGS", "REF=FortyFlags\n") +
           TagSection(idTeam, "Team", "ENUM", "REF=GappyTeams\n") + TagSection(idMass, "Mass", "FLOAT") +
           TagSection(idSpeed, "Speed", "UFLOAT") + TagSection(idOffset, "Offset", "VECTOR") +
           TagSection(idColour, "Colour", "RGB") +
           TagSection(idLabel, "Label", "STRING", "CHECKS=1\nCHECK0=VALUEINLIST(OBJ_NAME, ORC_NAME)\n") +
           TagSection(idModel, "Model", "FILENAME") + TagSection(idAnim, "Anim", "FILENAMENOEXT") +
           TagSection(idClass, "Class", "STRINGLIST") + TagSection(idAmmo, "Ammo", "TEMPLATE") +
           TagSection(idOdd, "Odd", "WEIRD") +
           // Two tags that share a name with earlier ones: their lists and checks are their own.
           TagSection(idFlagsTwin, "Flags", "FLAGS", "REF=TwinFlags\n") +
           TagSection(idHealthTwin, "Health", "SINT") + TagSection(idNote, "Note", "STRING");
}

inline std::string DataText()
{
    std::string forty = "[FortyFlags]\n";
    for (int i = 0; i < 40; ++i)
        forty += std::to_string(i) + "=bit" + std::to_string(i) + "\n";
    return "[FiveFlags]\r\n0=Solid\r\n1=Visible\r\n2=Pickable\r\n3=Burnable\r\n4=Floats\r\n\r\n" + forty +
           "\n[GappyTeams]\n0=Neutral\n1=Player\n5=Monsters\n\n"
           "[TwinFlags]\n0=Red team\n1=Blue team\n\n"
           "[Class]\n0=Actor\n1=Item\n2=Weapon\n3=AVeryLongChoiceNameOfMoreThan31Chars\n\n"
           "[_FILE_EXTENSIONS]\nModel=qev\nAnim=jup\n\n"
           "[_FILE_FILTERS]\nModel=Models (*.qev)|*.qev\nAnim=Animations (*.jup)|*.jup\n\n"
           "[_FILE_PATHS]\nModel=Models\nAnim=Anims\n";
}

inline zultest::Tag RawTag(uint32_t id, uint32_t word)
{
    return zultest::IntTag(id, word);
}

class ValueEditorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        using namespace zultest;
        WriteText("zuleditortags.txt", TagsText());
        WriteText("zuleditordata.txt", DataText());
        main.SetProgramFolder(work.Path());
        main.SetRegistryKey(std::string("Software\\Korbalt\\ZulEditorTests\\") + fixtures::TestFolderName());
        ASSERT_TRUE(main.Create());
        ASSERT_TRUE(dialog.Create());
        WriteBytes("base.zul",
                   BuildZul({Tpl("Object", "",
                                 {TextTag(idLabel, "OBJ_NAME"), TextTag(idClass, "Item"), TextTag(idNote, "hello")}),
                             Tpl("Orc", "Object",
                                 {IntTag(idHealth, 5), IntTag(idGold, 7), IntTag(idFlags, 5),
                                  IntTag(idManyFlags, 0x80000001u), IntTag(idTeam, 1), FloatTag(idMass, 1.5f),
                                  FloatTag(idSpeed, 2.0f), FloatTag(idOffset, 1, 2, 3),
                                  FloatTag(idColour, 12.9f, 255, -0.5f), TextTag(idModel, "orc.qev"),
                                  TextTag(idAnim, "walk"), TextTag(idAmmo, "arrow"), RawTag(idOdd, 77),
                                  IntTag(idFlagsTwin, 2), IntTag(idHealthTwin, 50)}),
                             Tpl("Arrow", "")}));
        WriteBytes("more.zul", BuildZul({Tpl("Bow", ""), Tpl("Arrow", ""), Tpl("Axe", "")}));
        ASSERT_NE(main.OpenZULFile(work.Path() + "\\base.zul", false), nullptr);
        ASSERT_NE(main.OpenZULFile(work.Path() + "\\more.zul", false), nullptr);
        hooks.messages.clear();
        EditTemplate("Orc");
    }

    void EditTemplate(const std::string& name)
    {
        TTreeNode* node = main.FindTemplate(name, nullptr);
        ASSERT_NE(node, nullptr);
        main.TVTemplates.Select(node);
        ASSERT_NE(main.GetTPL(), nullptr);
        ASSERT_EQ(main.GetTPL()->GetNode(), node);
    }

    int Row(int tagId) const { return main.FindTagRow(tagId); }
    std::string Cell(int tagId, int column) const { return main.LVData.ItemText(Row(tagId), column); }
    std::string Value(int tagId) const { return Cell(tagId, colValue); }
    TTagBytes Saved(int tagId) const { return main.TagValueForSave(Row(tagId)); }
    uint32_t SavedWord(int tagId, int index = 0) const
    {
        const TTagBytes bytes = Saved(tagId);
        uint32_t word;
        std::memcpy(&word, bytes.data() + 4 * index, 4);
        return word;
    }
    float SavedFloat(int tagId, int index = 0) const
    {
        const TTagBytes bytes = Saved(tagId);
        float value;
        std::memcpy(&value, bytes.data() + 4 * index, 4);
        return value;
    }
    bool Modified() const { return main.GetTPL() && main.GetTPL()->IsModified(); }

    // Double-clicks the row of the tag; act runs while the dialog is shown modally. Answers the
    // dialog's modal result (mrNone: still open after the last action).
    int OpenOn(int tagId, const std::function<void()>& act)
    {
        const int row = Row(tagId);
        EXPECT_GE(row, 0) << "no row for tag " << tagId;
        main.LVData.SetSelected(row);
        shown = false;
        int result = -1;
        hooks.modalAnswer = [&](TForm& form) {
            shown = &form == &dialog;
            act();
            result = dialog.ModalResult();
            return result == mrNone ? mrCancel : result;
        };
        main.LVDataDblClick();
        EXPECT_TRUE(shown) << "the dialog did not run for tag " << tagId;
        return result;
    }

    // OK on the row with the controls as act leaves them.
    int OkOn(int tagId, const std::function<void()>& act = [] {})
    {
        return OpenOn(tagId, [&] {
            act();
            dialog.BNOkClick();
        });
    }

    std::string LastText() const { return hooks.messages.empty() ? "" : hooks.messages.back().text; }

    fixtures::WorkFolder work{fixtures::TestFolderName()};  // first made, last gone
    ScriptedHooks hooks;
    TMainWindow main;
    TValueEditorWindow dialog{main};
    bool shown = false;
};

}  // namespace valueeditortest
