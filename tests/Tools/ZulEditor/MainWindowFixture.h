// The main window created hidden with its tag and data files in a work folder of the test case,
// its registry key moved below a key of the test, and scripted message boxes and dialogs.
#pragma once
#include "Forms/ScriptedHooks.h"
#include "MainWindow.h"
#include "ZULData.h"
#include "ZulBuilder.h"
#include "fixtureTestFolder.h"
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace zultest {

inline const char kTestTags[] =
    "[Header]\nVersion=1\n"
    "[0]\nNAME=PARENT\nDATATYPE=STRING\nSORT=0\nCAT=0\n"
    "[1]\nNAME=Class\nDATATYPE=STRINGLIST\nSORT=1\nCAT=0\n"
    "[2]\nNAME=Flags\nDATATYPE=FLAGS\nREF=ObjectFlags\nSORT=2\nCAT=0\n"
    "[3]\nNAME=Health\nDATATYPE=SINT\nSORT=10\nCAT=10\n"
    "[4]\nNAME=Team\nDATATYPE=ENUM\nREF=Teams\nSORT=11\nCAT=10\n"
    "[5]\nNAME=Speed\nDATATYPE=FLOAT\nSORT=12\nCAT=10\n"
    "[6]\nNAME=Damage\nDATATYPE=SINT\nSORT=40\nCAT=40\nCHECKS=1\nCHECK0=KEYEXISTS(3)\n"
    "[7]\nNAME=Drops\nDATATYPE=TEMPLATE\nSORT=80\nCAT=80\nCHECKS=1\nCHECK0=TEMPLATEEXISTS()\n";

inline const char kTestData[] =
    "[ObjectFlags]\n0=a\n1=b\n2=c\n"
    "[Teams]\n0=Neutral\n1=Player\n2=Monsters\n";

}  // namespace zultest

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(zultest::WriteText(Path("zuleditortags.txt"), zultest::kTestTags));
        ASSERT_TRUE(zultest::WriteText(Path("zuleditordata.txt"), zultest::kTestData));
        DeleteRegistryKey();
        window = MakeWindow();
        ASSERT_TRUE(window);
    }

    void TearDown() override
    {
        window.reset();
        DeleteRegistryKey();
    }

    std::unique_ptr<TMainWindow> MakeWindow()
    {
        auto w = std::make_unique<TMainWindow>();
        w->SetProgramFolder(work.Path());
        w->SetRegistryKey(registryKey);
        if (!w->Create())
            return nullptr;
        return w;
    }

    // Ends the window as the program does (FormDestroy writes the registry) and makes a new one.
    void Restart()
    {
        window.reset();
        window = MakeWindow();
        ASSERT_TRUE(window);
        window->FormActivate();
    }

    void DeleteRegistryKey()
    {
        for (const char* sub : {"\\MainWindow", "\\ListView", "\\ValueEditorWindow", "\\MRU"})
            RegDeleteKeyA(HKEY_CURRENT_USER, (registryKey + sub).c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, registryKey.c_str());
    }

    std::string Path(const std::string& name) const { return work.Path() + "\\" + name; }

    TZULFile* OpenZul(const std::string& name, const std::vector<zultest::Template>& templates)
    {
        zultest::WriteBytes(Path(name), zultest::BuildZul(templates));
        return window->OpenZULFile(Path(name), false);
    }

    TTreeNode* Node(const std::string& name) const { return window->FindTemplate(name, nullptr); }
    static TZULTemplate* TemplateOf(TTreeNode* node)
    {
        return node ? static_cast<TZULTemplate*>(node->Data()) : nullptr;
    }

    // Selects a node as a click would: through the control, so the guard and the change run.
    bool Select(TTreeNode* node)
    {
        window->TVTemplates.Select(node);
        return window->TVTemplates.Selected() == node;
    }
    bool Select(const std::string& name) { return Select(Node(name)); }

    // "Sort|tagID|Tag|Type|Value|Inherited|Parent|Parent ZUL" per row, top to bottom.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        const TListView& list = window->LVData;
        for (int r = 0; r < list.Count(); ++r) {
            std::string row;
            for (int c = 0; c < 8; ++c)
                row += (c ? "|" : "") + list.ItemText(r, c);
            rows.push_back(row);
        }
        return rows;
    }

    int RowOfTag(const std::string& tag) const { return window->LVData.FindText(colTag, tag); }

    // The centre of a node in the tree's client area.
    POINT NodePoint(TTreeNode* node) const
    {
        RECT r{};
        HTREEITEM item = node->ItemId();
        std::memcpy(&r, &item, sizeof item);  // the message takes the item in the rectangle
        SendMessageA(node->TreeView()->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    TTreeNode* TagNode(const std::string& name) const
    {
        const TTagInfo* info = FindTagInfo(name);
        return info ? info->tagNode : nullptr;
    }

    std::vector<std::string> ConsoleLines() const { return window->Console.Lines(); }

    fixtures::WorkFolder work{fixtures::TestFolderName()};  // first made, last gone
    ScriptedHooks hooks;
    std::string registryKey = "Software\\Korbalt\\ZulEditorTests\\" + fixtures::TestFolderName();
    std::unique_ptr<TMainWindow> window;
};
