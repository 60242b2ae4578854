// A template file open in the editor and the records it is read into.
#pragma once
#include "StringList.h"
#include "ZULUtil.h"
#include "tagTypes.h"
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class TTreeNode;

// Tree images of the templates tree.
const int IMAGE_FILE = 0;
const int IMAGE_FILE_READONLY = 1;
const int IMAGE_TEMPLATE = 2;

extern const char kNewFileName[];  // "unnamed.zul"

struct TZULTagValue {
    uint32_t id = 0;
    TTagBytes value{};
};

// Where a file's save reports: the first status-bar panel, and the save's progress. The window
// that shows the files answers; by default nothing is shown.
class TZULStatus {
public:
    virtual ~TZULStatus() = default;
    virtual void SetStatusText(const std::string& text);
    // "Saving k%" while a file is written, once per percentage; shown as status text.
    virtual void ShowSaveProgress(const std::string& text) { SetStatusText(text); }
};

struct TZULTemplate {
    std::string name;
    std::string parentName;   // empty for a root template
    bool parentInFile = true;  // false when the parent was not found in the file at reading
    std::vector<TZULTagValue> tagValues;  // file order
    TStringList description;               // lines

    explicit TZULTemplate(const std::string& templateName = "") : name(templateName) {}
};

class TZULFile {
public:
    // Opens or creates the file, to be shown below rootNode and kept in the open-file table at
    // slot; the table is the caller's, who enters the file once it is open. Read IsOpen()
    // afterwards; OpenError() says why a file was refused. A save reports to status.
    TZULFile(TZULStatus& status, const std::string& path, int slot, TTreeNode* rootNode, bool readOnlyWanted);
    // Frees the file's templates and deletes its root node with every node below it.
    ~TZULFile();
    TZULFile(const TZULFile&) = delete;
    TZULFile& operator=(const TZULFile&) = delete;

    const std::string& GetFileName() const { return path_; }
    void SetFileName(const std::string& path) { path_ = path; }
    bool IsOpen() const { return opened_; }
    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool IsNew() const { return path_ == kNewFileName; }
    TTreeNode* GetRootNode() const { return rootNode_; }
    void SetRootNode(TTreeNode* node) { rootNode_ = node; }
    int GetSlot() const { return slot_; }
    void SetSlot(int slot) { slot_ = slot; }
    TStringList& GetTemplateList() { return templateList_; }
    const std::string& OpenError() const { return openError_; }

    uint8_t GetMagicByte(int i) const { return i >= 0 && i < 4 ? header_.magic[i] : ' '; }
    int GetVersion() const { return header_.version; }
    int GetEntryCount() const { return header_.count; }

    // Reads the directory and every template into the tree. The whole file is checked against
    // its size first: on any fault nothing is placed and OpenError() says what is wrong.
    bool ReadAll();
    // Reads one body; nullptr (and OpenError()) when it does not fit the file.
    TZULTemplate* ReadTemplate(const std::string& name, int32_t offset);

    // Writes the whole file from the tree, in pre-order. Every template is checked first; the
    // new file is written beside the old one and replaces it only when complete. A refusal or
    // failure is shown (caption "Cannot save...") and keeps the modified mark.
    bool Save();
    // The file step of Save As: makes path the file's place without emptying what is there.
    // On failure nothing changes and false is answered.
    bool OpenForWrite(const std::string& path);

    // Name list upkeep: removes the entry only when it maps to that node.
    void RemoveTemplateName(const std::string& name, TTreeNode* node);

private:
    // Where a body lies and its two counts, checked against the file before it is read.
    struct TZULBody {
        int64_t offset = 0;
        int32_t numTags = 0;
        int32_t descLength = 0;
        int64_t TagAt(int64_t i) const { return ZULTagAt(offset, i); }
        int64_t DescriptionAt() const { return ZULDescriptionAt(offset, numTags); }
        int64_t Size() const { return ZULBodySize(numTags, descLength); }
    };
    bool Fail(const std::string& why);
    // The file's bytes, read whole while the file is read in.
    bool ReadFileImage();
    bool ImageBytes(int64_t offset, void* out, size_t size) const;
    bool ImageInt(int64_t offset, int32_t& value) const;
    bool ReadAllFromImage(std::vector<TZULTemplate*>& read, size_t& owned);
    bool MeasureBody(const std::string& name, int32_t offset, TZULBody& body);
    TZULTemplate* ReadBody(const std::string& name, const TZULBody& body, std::string parentName);
    std::string BodyParentName(const TZULBody& body) const;
    bool CheckBodiesApart(const std::vector<std::string>& names, const std::vector<TZULBody>& bodies);
    bool ValidateForSave(const std::vector<TTreeNode*>& nodes);
    // The whole file, written to an open empty file; false for a template the format cannot
    // hold or a write that fell short.
    bool WriteImage(void* file, const std::vector<TTreeNode*>& nodes);
    bool OpenStream(const std::string& path);

    TZULStatus& status_;
    bool opened_ = false;
    bool modified_ = false;
    bool readOnly_ = false;
    std::string path_;
    FILE* stream_ = nullptr;
    TTreeNode* rootNode_ = nullptr;
    int slot_ = -1;
    TZULHeader header_;
    TStringList templateList_;
    TZULDirEntry entry_;
    int64_t fileSize_ = 0;
    std::vector<uint8_t> image_;
    std::string openError_;
    bool outOfMemory_ = false;
};

// Where a file's templates, in directory order, go when they are placed one by one: each below
// the template its parent name names when one of that name (letter case ignored, the first of
// equal names) came before it in the directory, else below the root; every level sorted as the
// tree sorts it.
struct TZULPlacing {
    std::vector<size_t> parentOf;    // directory index of the parent; the count for the root
    std::vector<bool> parentInFile;  // the parent was found, or the template is a root template
    std::vector<size_t> shownOrder;  // directory indexes in the order the tree shows them
};
TZULPlacing PlanPlacing(const std::vector<std::string>& names, const std::vector<std::string>& parentNames);

// Hangs a file's templates, read in directory order, into the tree below its root node and its
// name list as the placing says, with their parent-in-file flags. The nodes go into the control
// already in the order shown, one message each. False when the control refused a node: the
// templates that have no node then are freed (as on an exception, which passes on).
bool PlaceTemplates(const std::vector<TZULTemplate*>& templates, const TZULPlacing& placing, TTreeNode* rootNode,
                    TZULFile* file);

// Frees the templates of the node and of every node below it; a file's root carries its file.
void FreeTemplates(TTreeNode* node);
// Deletes the template nodes of the node's subtree, children with their parents, after freeing
// their templates; a file's root node itself stays.
void DeleteTemplateNodes(TTreeNode* node);
