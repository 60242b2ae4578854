// The editor's loaders fed about 2,000 seeded mutants each (fixtureLoaderMutations.h): template
// files and tag-definition files. Each mutant must load within a heap bound derived from its
// size and leave nothing behind (no open file slot, no tree node, no tag); the good file loads
// the same after a refused one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZulFixture.h"
#include "fixtureLoaderMutations.h"
#include "tagUtil.h"

using fixtures::LoaderUnderMutation;
using fixtures::MutationDigest;
using namespace zultest;

namespace {

// What a load leaves in the fixture's own records (status lines, messages) is given back
// before the heap is looked at.
template <class T>
void Release(std::vector<T>& records)
{
    std::vector<T>().swap(records);
}

class ZulMutations : public ZulFixture {};

class TagFileMutations : public ZulFixture {
protected:
    void SetUp() override
    {
        ZulFixture::SetUp();
        InitChecks();
    }
    void TearDown() override
    {
        FreeTagDefinitions();
        FreeChecks();
    }
};

}  // namespace

TEST_F(ZulMutations, TemplateFiles)
{
    const std::vector<Template> templates = {
        Tpl("root", "", {IntTag(3, 9), FloatTag(5, 1.5f, -2, 3)}, "first line\r\nsecond\r\n"),
        Tpl("child", "root", {TextTag(4, "a value")}, "x\r\n"),
        Tpl("grandchild", "child", {IntTag(3, 0xFFFFFFFF)})};
    LoaderUnderMutation loader;
    loader.format = "zul";
    loader.good = BuildZul(templates);
    fixtures::AddField(loader.fields, 4, 4);  // version
    fixtures::AddField(loader.fields, 8, 4);  // template count
    size_t body = EntryAt((int)templates.size());
    for (size_t i = 0; i < templates.size(); i++) {
        fixtures::AddField(loader.fields, EntryOffsetAt((int)i), 4);
        fixtures::AddField(loader.fields, body, 4);  // the body's tag count
        for (size_t t = 0; t < templates[i].tags.size(); t++)
            fixtures::AddField(loader.fields, body + 4 + 36 * t, 4);  // a tag's id
        const size_t description = body + 4 + 36 * templates[i].tags.size();
        fixtures::AddField(loader.fields, description, 4);  // the description's length
        body = description + 4 + templates[i].description.size() + 1;
    }
    // A template's records and description (each tag record of 36 bytes kept in 36), its name
    // and the tree's node: a few times the file, and a vector's doubling.
    loader.bound = [](size_t bytes) { return 4 * bytes + 4096; };
    loader.write = [](const Bytes& b) { return WriteBytes("m.zul", b); };
    loader.load = [this] {
        TZULFile* file = model.OpenZULFile("m.zul", false);
        MutationDigest digest;
        if (file) {
            for (const std::string& line : Shape(file)) digest.AddText(line.c_str());
            for (TTreeNode* n = file->GetRootNode()->GetNext(); n && n->HasAsParent(file->GetRootNode());
                 n = n->GetNext()) {
                const auto* t = static_cast<const TZULTemplate*>(n->Data());
                if (!t) return std::string("!a node without its template");
                digest.AddText(t->name.c_str()).AddText(t->parentName.c_str()).Add(t->parentInFile);
                for (const TZULTagValue& v : t->tagValues) digest.Add(v.id).Add(v.value);
                digest.AddText(t->description.Text().c_str());
            }
            model.CloseZULFile(file);
        }
        const bool oneMessage = hooks.messages.size() == 1;
        Release(hooks.messages);
        Release(model.status);
        if (!file && !oneMessage) return std::string("!a refusal without its one message");
        return file ? digest.Text() : std::string();
    };
    loader.leftBehind = [this] {
        if (UsedSlots()) return std::string("a file slot");
        if (tree.Count()) return std::string("tree nodes");
        return std::string();
    };
    fixtures::RunLoaderMutations(loader);
}

TEST_F(TagFileMutations, TagDefinitionFiles)
{
    const std::string text =
        "[Header]\nVERSION=3\n[1]\nNAME=Kind\nCAT=10\nTYPE=int\nCHECKS=2\nCHECK0=KEYEXISTS(2)\n"
        "CHECK1=VALUEINLIST(\"a b\",1,22)\n[2]\nNAME=Other\nREF=Kind\nCAT=3\nPRECHECKS=1\n"
        "PRECHECK0=VALUEINLIST(7)\n[17]\nNAME=Third\nCAT=0\n";
    LoaderUnderMutation loader;
    loader.format = "tag definitions";
    loader.good.assign(text.begin(), text.end());
    loader.fields = fixtures::MutationNumbersOf(text);
    // A line is at most the file; the tables grow by doubling.
    loader.bound = [](size_t bytes) { return 4 * bytes + 4096; };
    loader.write = [](const Bytes& b) { return WriteBytes("tags.txt", b); };
    loader.load = [this] {
        LoadTagDefinitions("tags.txt", tree, nullptr);
        MutationDigest digest;
        const int count = TagCount();
        for (int i = 0; i < count; i++) {
            const TTagInfo* tag = TagAt(i);
            if (!tag || tag->name.empty() || tag->tagNode->Data() != tag) return std::string("!a broken tag");
            digest.Add(tag->tagId).Add(tag->sort).AddText(tag->name.c_str()).AddText(tag->dataType.c_str());
            digest.AddText(tag->ref.c_str()).Add(tag->PreCheckCount()).Add(tag->PostCheckCount());
            for (const auto* checks : {&tag->preChecks, &tag->postChecks}) {
                for (const TParsedCheck& c : *checks) {
                    for (const std::string& item : c.items) digest.AddText(item.c_str());
                }
            }
        }
        FreeTagDefinitions();
        tree.Clear();
        Release(hooks.messages);
        return count ? digest.Text() : std::string();
    };
    loader.leftBehind = [this] {
        if (TagCount()) return std::string("a tag");
        if (tree.Count()) return std::string("tree nodes");
        return std::string();
    };
    // The tag table keeps its storage between loads: a larger file grows it and frees the old.
    loader.freesOnlyItsOwn = false;
    fixtures::RunLoaderMutations(loader);
}
