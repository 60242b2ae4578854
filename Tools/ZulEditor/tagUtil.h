// Tag definitions (zuleditortags.txt), the tags tree built from them, and the checks that guard
// adding a tag (pre-checks) and setting a value (post-checks).
#pragma once
#include "tagTypes.h"
#include <functional>
#include <string>
#include <vector>

class TTreeView;
class TTreeNode;
class TIniFile;
struct TTagInfo;
struct TParsedCheck;

const int MAX_CHECKS = 10;  // pre-checks and post-checks of one tag, each
extern const char* const kCategoryNames[10];
extern const char kCheckParseCaption[];  // "Cannot parse check in tags.txt..."

// What a check sees of the editor: the tag list rows of the edited template (own rows first,
// then inherited ones) and the open files. The main window provides it.
class TCheckContext {
public:
    virtual ~TCheckContext() = default;
    virtual int FindTagRow(int tagId) const = 0;  // row index or -1
    virtual std::string RowValue(int row) const = 0;
    virtual std::string RowInherited(int row) const = 0;
    virtual bool TemplateExists(const std::string& name) const = 0;
};

using TCheckFunc = bool (*)(const TParsedCheck& check, const TTagInfo* tag, const std::string& value,
                            const std::string& dataType, const TCheckContext& context);

struct TCheck {
    std::string name;
    int paramCount;  // n >= 0: exactly n arguments; n < 0: at least -n
    TCheckFunc func;
};

// items[0] is the check's name, items[1..] its arguments as parsed.
struct TParsedCheck {
    std::vector<std::string> items;
    TCheckFunc func = nullptr;
    bool isPreCheck = false;

    const std::string& Name() const { return items[0]; }
    int ArgCount() const { return static_cast<int>(items.size()) - 1; }
    bool Run(const TTagInfo* tag, const std::string& value, const std::string& dataType,
             const TCheckContext& context) const
    {
        return func(*this, tag, value, dataType, context);
    }
};

struct TTagInfo {
    TTreeNode* tagNode = nullptr;
    int sort = -1;
    int tagId = -1;
    std::string name;
    std::string dataType;
    std::string ref;
    std::vector<TParsedCheck> preChecks;   // at most MAX_CHECKS
    std::vector<TParsedCheck> postChecks;  // at most MAX_CHECKS
    int PreCheckCount() const { return static_cast<int>(preChecks.size()); }
    int PostCheckCount() const { return static_cast<int>(postChecks.size()); }
};

using TPrintFunc = std::function<void(const std::string& line)>;

// Check tables: InitChecks runs before LoadTagDefinitions.
void InitChecks();
void FreeChecks();
const std::vector<TCheck>& PreCheckTable();
const std::vector<TCheck>& PostCheckTable();

// Parses "NAME(arg, "quoted arg", ...)". On a fault shows its message (caption
// kCheckParseCaption) and answers false.
bool ParseCheck(const std::string& text, TParsedCheck& check);

// Reads the definitions, fills the tag tables and rebuilds the tags tree (ten category nodes,
// one node per tag below its category). Prints "Opened tags file <path>".
void LoadTagDefinitions(const std::string& path, TTreeView& tagsTree, const TPrintFunc& print);
void FreeTagDefinitions();

// Lookups without regard to letter case; the first of equal names wins.
TTagInfo* FindTagInfo(const std::string& name);
TTagInfo* FindTagInfoById(int tagId);
std::string GetTagName(int tagId);
int TagCount();
TTagInfo* TagAt(int index);  // in file order
