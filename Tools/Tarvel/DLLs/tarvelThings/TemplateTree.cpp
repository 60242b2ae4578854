#include "TemplateTree.h"
#include <algorithm>
#include "../tarvelText.h"
#include "Compare.h"
#include "ThingsRecords.h"

const char* const TemplateRootText = "All Placeable Templates";
const char* const TemplateNoSubcategory = "[-[none]-]";

static const char* const categoryNames[] = {
    "Armor", "Armor, Magical", "Bosses", "Enemies", "Items, Blood", "Items, Holy Relics",
    "Items, Magical", "Items, Quest", "Items, Scrolls+Books", "Lights", "NPCs", "Particles",
    "Players", "Props", "Props, Large", "Regions", "Scripts", "Treasure", "Weapons, Melee",
    "Weapons, Range", "Weapons, Magical Melee", "Weapons, Magical Range", "Miscellaneous",
    "Reserved1", "Reserved2", "Reserved3", "Reserved4", "Reserved5",
};
static_assert(sizeof categoryNames / sizeof categoryNames[0] ==
              TEMPLATE_LAST_CATEGORY - TEMPLATE_FIRST_CATEGORY + 1);

const char* TemplateCategoryName(int category)
{
    if (category < TEMPLATE_FIRST_CATEGORY || category > TEMPLATE_LAST_CATEGORY)
        return nullptr;
    return categoryNames[category - TEMPLATE_FIRST_CATEGORY];
}

int TTemplateTree::AddNode(int parent, const std::string& text, int image)
{
    TTemplateNode node;
    node.text = text;
    node.image = image;
    node.parent = parent;
    node.level = parent >= 0 ? nodes[parent].level + 1 : 0;
    nodes.push_back(node);
    int index = (int)nodes.size() - 1;
    if (parent >= 0)
        nodes[parent].children.push_back(index);
    return index;
}

void TTemplateTree::RemoveNode(int node)
{
    // Children first, so that every removed leaf also leaves the name list.
    std::vector<int> children = nodes[node].children;
    for (int child : children)
        RemoveNode(child);
    nodes[node].alive = false;
    if (nodes[node].image == TEMPLATE_IMAGE_NONE)
        ForgetLeaf(node);
    int parent = nodes[node].parent;
    if (parent >= 0) {
        std::vector<int>& siblings = nodes[parent].children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    if (selected == node)
        selected = -1;
}

void TTemplateTree::AddName(const std::string& name, int leaf)
{
    auto at = std::lower_bound(names.begin(), names.end(), name,
                               [](const NameEntry& e, const std::string& n) {
                                   return CompareTextAscii(e.text, n) < 0;
                               });
    if (at != names.end() && CompareTextAscii(at->text, name) == 0)
        at->leaves.push_back(leaf);
    else
        names.insert(at, NameEntry{name, {leaf}});
}

void TTemplateTree::ForgetLeaf(int leaf)
{
    for (size_t i = 0; i < names.size(); i++) {
        std::vector<int>& leaves = names[i].leaves;
        auto it = std::find(leaves.begin(), leaves.end(), leaf);
        if (it == leaves.end())
            continue;
        leaves.erase(it);
        if (leaves.empty()) {
            names.erase(names.begin() + i);
            if (searchPos > (int)i)
                searchPos--;
            if (searchPos >= (int)names.size())
                searchPos = 0;
        }
        return;
    }
}

void TTemplateTree::SortChildren(int node)
{
    std::vector<int>& children = nodes[node].children;
    std::stable_sort(children.begin(), children.end(), [this](int a, int b) {
        return CompareTextStable(nodes[a].text, nodes[b].text) < 0;
    });
}

bool TTemplateTree::IsLeaf(int node) const
{
    return IsNode(node) && nodes[node].level > 2 && nodes[node].image == TEMPLATE_IMAGE_NONE;
}

void TTemplateTree::BeginAdd(const std::string& name)
{
    if (name == "...") {
        names.clear();
        searchPos = 0;
        searchText.clear();
        numZulFiles = 0;
        nodes.clear();
        selected = -1;
        currentFile = -1;
        building = true;
        root = AddNode(-1, TemplateRootText, TEMPLATE_IMAGE_FILE);
        return;
    }
    currentFile = -1;
    // A file outside a started tree, or beyond the 16 file slots, is refused with its templates.
    if (root < 0 || numZulFiles >= MAX_ZULFILES)
        return;
    currentFile = AddNode(root, name, TEMPLATE_IMAGE_FILE);
    for (int c = TEMPLATE_FIRST_CATEGORY; c <= TEMPLATE_LAST_CATEGORY; c++) {
        categoryNode[numZulFiles][c] = AddNode(currentFile, TemplateCategoryName(c), TEMPLATE_IMAGE_CATEGORY);
        subcategories[c].clear();
    }
}

void TTemplateTree::Add(const std::string& name, int category, const std::string& subcategory)
{
    if (currentFile < 0 || category < TEMPLATE_FIRST_CATEGORY)
        return;
    int parent = currentFile;
    if (category <= TEMPLATE_LAST_CATEGORY) {
        parent = categoryNode[numZulFiles][category];
        if (subcategory != TemplateNoSubcategory && subCategories) {
            std::vector<Subcategory>& subs = subcategories[category];
            auto it = std::find_if(subs.begin(), subs.end(), [&](const Subcategory& s) {
                return SameTextAscii(s.name, subcategory);
            });
            if (it == subs.end()) {
                subs.push_back(Subcategory{subcategory, AddNode(parent, subcategory, TEMPLATE_IMAGE_CATEGORY)});
                parent = subs.back().node;
            } else {
                parent = it->node;
            }
        }
    }
    AddName(name, AddNode(parent, name, TEMPLATE_IMAGE_NONE));
}

void TTemplateTree::EndAdd(const std::string& name)
{
    if (name == "...") {
        currentFile = -1;
        building = false;
        return;
    }
    if (currentFile < 0)
        return;
    for (std::vector<Subcategory>& subs : subcategories)
        subs.clear();
    std::vector<int> children = nodes[currentFile].children;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (nodes[*it].children.empty())
            RemoveNode(*it);
    for (int category : nodes[currentFile].children) {
        SortChildren(category);
        for (int child : nodes[category].children)
            SortChildren(child);
    }
    numZulFiles++;
    currentFile = -1;
}

int TTemplateTree::FindTemplate(const std::string& name) const
{
    for (const NameEntry& e : names)
        if (SameTextAscii(e.text, name))
            return e.leaves.back();
    return -1;
}

void TTemplateTree::Select(int node)
{
    selected = IsNode(node) ? node : -1;
    if (IsLeaf(selected))
        selectedTemplate = nodes[selected].text;
}

int TTemplateTree::Search(const std::string& text)
{
    if (text.empty() || names.empty())
        return -1;
    if (text != searchText) {
        searchText = text;
        searchPos = 0;
    }
    int count = (int)names.size();
    if (searchPos >= count)
        searchPos = 0;
    auto matches = [&](int i) { return names[i].text.compare(0, text.size(), text) == 0; };
    int found = -1;
    for (int i = searchPos; i < count && found < 0; i++)
        if (matches(i))
            found = i;
    for (int i = 0; i < searchPos && found < 0; i++)
        if (matches(i))
            found = i;
    if (found < 0)
        return -1;
    Select(NameLeaf(found));
    searchPos = found + 1 >= count ? 0 : found + 1;
    return NameLeaf(found);
}

// ---- template-file list ----

const char* const TemplateDefaultFiles[TEMPLATE_DEFAULT_FILES] = {"global.zul", "Umberfell.zul", "Brightwick.zul"};

void TTemplateFileList::Load(const TemplateFilesInfo& info)
{
    Clear();
    uint32_t count = info.count > TEMPLATE_FILES_MAX ? TEMPLATE_FILES_MAX : info.count;
    for (uint32_t i = 0; i < count; i++)
        names.push_back(tarvelField_Read(TemplateFilesInfo_Name(info, i), THINGS_NAME_LEN));
}

void TTemplateFileList::Store(TemplateFilesInfo& info) const
{
    for (size_t i = 0; i < names.size(); i++)
        tarvelField_Write(TemplateFilesInfo_Name(info, (uint32_t)i), THINGS_NAME_LEN, names[i]);
    info.count = (uint32_t)names.size();
}

bool TTemplateFileList::Add(const std::string& pickedPath)
{
    std::string name = tarvelPath_FileName(pickedPath);
    if (name.empty() || Count() >= TEMPLATE_FILES_USER_MAX)
        return false;
    for (const char* d : TemplateDefaultFiles)
        if (SameTextAscii(d, name))
            return false;
    for (const std::string& n : names)
        if (SameTextAscii(n, name))
            return false;
    names.push_back(name);
    selected = Count() - 1;
    return true;
}

bool TTemplateFileList::Remove()
{
    if (selected < 0)
        return false;
    names.erase(names.begin() + selected);
    selected = names.empty() ? -1 : 0;
    return true;
}

bool TTemplateFileList::MoveUp()
{
    if (selected <= 0)
        return false;
    std::swap(names[selected], names[selected - 1]);
    selected--;
    return true;
}

bool TTemplateFileList::MoveDown()
{
    if (selected < 0 || selected >= Count() - 1)
        return false;
    std::swap(names[selected], names[selected + 1]);
    selected++;
    return true;
}

TTemplateFileButtons TTemplateFileList::Buttons() const
{
    if (names.empty())
        return {true, false, false, false};
    return {Count() < TEMPLATE_FILES_USER_MAX, true, Count() > 1 && selected != 0,
            Count() >= 2 && selected != Count() - 1};
}
