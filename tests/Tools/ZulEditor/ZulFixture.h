// A templates tree on a hidden form, the model over it, and scripted message boxes.
#pragma once
#include "Form.h"
#include "Forms/ScriptedHooks.h"
#include "TreeView.h"
#include "ZULData.h"
#include "ZULModel.h"
#include "ZulBuilder.h"
#include "fixtureTestFolder.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

class RecordingModel : public TTemplateModel {
public:
    using TTemplateModel::TTemplateModel;
    std::vector<std::string> status;
    void SetStatusText(const std::string& text) override { status.push_back(text); }
};

class ZulFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.CreateForm("templates", 0, 0, 300, 400));
        ASSERT_TRUE(tree.Create(&form, 0, 0, 300, 400));
    }

    TZULFile* Open(const std::string& path, const zultest::Bytes& bytes, bool readOnly = false)
    {
        zultest::WriteBytes(path, bytes);
        return model.OpenZULFile(path, readOnly);
    }

    // "name" per template, indented one dot per level below the file root.
    std::vector<std::string> Shape(TZULFile* file)
    {
        std::vector<std::string> out;
        TTreeNode* root = file->GetRootNode();
        for (TTreeNode* n = root->GetNext(); n && n->HasAsParent(root); n = n->GetNext())
            out.push_back(std::string(n->Level() - 1, '.') + n->Text());
        return out;
    }

    TZULTemplate* TemplateOf(TZULFile* file, const std::string& name)
    {
        TTreeNode* node = model.FindTemplateInFile(file->GetRootNode(), name, nullptr);
        return node ? static_cast<TZULTemplate*>(node->Data()) : nullptr;
    }

    int UsedSlots()
    {
        int used = 0;
        for (int i = 0; i < MAX_ZULFILES; ++i)
            used += model.GetZULFile(i) != nullptr;
        return used;
    }

    fixtures::WorkFolder work{fixtures::TestFolderName()};  // first made, last gone
    ScriptedHooks hooks;
    TForm form;
    TTreeView tree;
    RecordingModel model{tree};
};
