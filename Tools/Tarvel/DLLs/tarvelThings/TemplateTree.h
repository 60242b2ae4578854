// The tree of placeable templates that the host builds through _BeginAddTemplates,
// _AddTemplate and _EndAddTemplates, with the template-name list and the prefix search.
// Nodes live here by index; the panel's tree view shows them once the tree is finished.
#pragma once
#include <string>
#include <vector>

constexpr int MAX_ZULFILES = 16;
constexpr int TEMPLATE_FIRST_CATEGORY = 2;
constexpr int TEMPLATE_LAST_CATEGORY = 29;
constexpr int TEMPLATE_IMAGE_NONE = -1;
constexpr int TEMPLATE_IMAGE_CATEGORY = 1;
constexpr int TEMPLATE_IMAGE_FILE = 2;

extern const char* const TemplateRootText;    // "All Placeable Templates"
extern const char* const TemplateNoSubcategory;  // "[-[none]-]"
const char* TemplateCategoryName(int category);  // nullptr outside 2..29

struct TTemplateNode {
    std::string text;
    int image = TEMPLATE_IMAGE_NONE;
    int parent = -1;
    int level = 0;
    std::vector<int> children;
    bool alive = true;
};

class TTemplateTree {
public:
    void BeginAdd(const std::string& name);
    void Add(const std::string& name, int category, const std::string& subcategory);
    void EndAdd(const std::string& name);

    bool subCategories = true;  // the SubCategories option of the tree's menu

    int Root() const { return root; }
    int FileCount() const { return numZulFiles; }
    bool Building() const { return building; }
    bool IsNode(int node) const { return node >= 0 && node < (int)nodes.size() && nodes[node].alive; }
    const TTemplateNode& Node(int node) const { return nodes[node]; }
    bool IsLeaf(int node) const;

    // Template-name list: sorted without regard to case, one entry per name.
    int NameCount() const { return (int)names.size(); }
    const std::string& Name(int index) const { return names[index].text; }
    int NameLeaf(int index) const { return names[index].leaves.back(); }
    int FindTemplate(const std::string& name) const;  // the leaf of that name (any case) or -1

    // Selection: any node; a leaf's text becomes the selected template.
    void Select(int node);
    int SelectedNode() const { return selected; }
    const std::string& SelectedTemplate() const { return selectedTemplate; }
    std::string SelectedNodeText() const { return IsNode(selected) ? nodes[selected].text : ""; }

    // Enter in the search box: selects the next leaf whose name starts with the text (exact
    // case) and returns it; -1 when nothing matches.
    int Search(const std::string& text);

private:
    struct NameEntry {
        std::string text;         // as first added
        std::vector<int> leaves;  // every leaf of the name, newest last
    };
    struct Subcategory {
        std::string name;
        int node;
    };
    int AddNode(int parent, const std::string& text, int image);
    void RemoveNode(int node);
    void AddName(const std::string& name, int leaf);
    void ForgetLeaf(int leaf);
    void SortChildren(int node);

    std::vector<TTemplateNode> nodes;
    std::vector<NameEntry> names;
    int root = -1;
    int numZulFiles = 0;
    bool building = false;
    int currentFile = -1;  // file node being built, -1 outside a file or for a refused file
    int categoryNode[MAX_ZULFILES][TEMPLATE_LAST_CATEGORY + 1] = {};
    std::vector<Subcategory> subcategories[TEMPLATE_LAST_CATEGORY + 1];
    int selected = -1;
    std::string selectedTemplate;
    std::string searchText;
    int searchPos = 0;
};

// The extra template files that the user keeps on the "Templates Files" tab, beside the three
// default files that every tree holds.
constexpr int TEMPLATE_DEFAULT_FILES = 3;
extern const char* const TemplateDefaultFiles[TEMPLATE_DEFAULT_FILES];
constexpr int TEMPLATE_FILES_USER_MAX = 15;
constexpr int TEMPLATE_FILES_MAX = MAX_ZULFILES;  // names taken from or written to the host record

struct TTemplateFileButtons {
    bool add, remove, up, down;
};

class TTemplateFileList {
public:
    void Clear() { names.clear(); selected = -1; }
    void Load(const struct TemplateFilesInfo& info);
    void Store(struct TemplateFilesInfo& info) const;

    // Each returns true when the list changed (the host is then told).
    bool Add(const std::string& pickedPath);
    bool Remove();
    bool MoveUp();
    bool MoveDown();
    void Select(int index) { selected = (index >= 0 && index < Count()) ? index : -1; }

    TTemplateFileButtons Buttons() const;
    int Count() const { return (int)names.size(); }
    int Selected() const { return selected; }
    const std::string& Name(int index) const { return names[index]; }

private:
    std::vector<std::string> names;
    int selected = -1;
};
