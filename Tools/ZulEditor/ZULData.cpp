#include "ZULData.h"
#include "Application.h"
#include "Hooks.h"
#include "TreeView.h"
#include "ZULModel.h"
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

const char kNewFileName[] = "unnamed.zul";

namespace {
const char kSaveCaption[] = "Cannot save...";

std::string FieldText(const char* field, size_t size)
{
    size_t n = 0;
    while (n < size && field[n] != '\0')
        ++n;
    return std::string(field, n);
}

// Description bytes: the text up to the first NUL (or all of it), split at CR LF.
void SetDescription(TStringList& lines, const char* bytes, size_t size)
{
    const std::string text = FieldText(bytes, size);
    lines.Clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t crlf = text.find("\r\n", start);
        if (crlf == std::string::npos) {
            lines.Add(text.substr(start));
            break;
        }
        lines.Add(text.substr(start, crlf - start));
        start = crlf + 2;
    }
}

int64_t StreamSize(FILE* f)
{
    if (std::fseek(f, 0, SEEK_END) != 0)
        return -1;
    const long size = std::ftell(f);
    return size < 0 ? -1 : static_cast<int64_t>(size);
}

// The templates of a file in tree pre-order, its root excluded.
void CollectPreOrder(TTreeNode* node, std::vector<TTreeNode*>& out)
{
    for (TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling()) {
        out.push_back(c);
        CollectPreOrder(c, out);
    }
}

TZULTemplate* TemplateOf(TTreeNode* node)
{
    return static_cast<TZULTemplate*>(node->Data());
}
}  // namespace

TZULFile::TZULFile(TTemplateModel& model, const std::string& path, int slot, TTreeNode* rootNode,
                   bool readOnlyWanted)
    : model_(model), rootNode_(rootNode), slot_(slot)
{
    std::memcpy(header_.magic, kZULMagic, 4);
    header_.version = ZUL_VERSION;
    header_.count = 0;
    std::memset(&entry_, 0, sizeof entry_);
    templateList_.SetSorted(true);
    templateList_.SetDuplicates(dupIgnore);
    model_.RegisterZULFile(slot, this);

    if (path == kNewFileName) {
        modified_ = true;
        path_ = kNewFileName;
        readOnly_ = false;
        opened_ = true;
        return;
    }
    switch (CheckZULHeader(path, ZUL_VERSION)) {
    case 0:
        break;
    case -1:
        openError_ = "The file \"" + path + "\" has a template file version other than 1.";
        return;
    case -2:
        openError_ = "The file \"" + path + "\" is not a template file.";
        return;
    default:
        openError_ = "The file \"" + path + "\" cannot be read.";
        return;
    }
    if (!readOnlyWanted)
        stream_ = std::fopen(path.c_str(), "r+b");
    if (!stream_) {
        stream_ = std::fopen(path.c_str(), "rb");
        if (!stream_) {
            openError_ = "The file \"" + path + "\" cannot be opened.";
            return;
        }
        readOnly_ = true;
    }
    modified_ = false;
    path_ = path;
    if (!ReadAll()) {
        openError_ = "The file \"" + path + "\" " + (outOfMemory_ ? "cannot be opened: " : "is damaged: ") +
                     openError_;
        path_.clear();
        return;
    }
    opened_ = true;
}

TZULFile::~TZULFile()
{
    model_.UnregisterZULFile(slot_, this);
    if (opened_ && rootNode_)
        model_.DeleteTemplateNodes(rootNode_);
    templateList_.Clear();
    if (rootNode_)
        model_.TemplatesTree().Delete(rootNode_);
    if (stream_)
        std::fclose(stream_);
}

bool TZULFile::Fail(const std::string& why)
{
    openError_ = why;
    return false;
}

bool TZULFile::MeasureBody(const std::string& name, int32_t offset, TZULBody& body)
{
    const int64_t directoryEnd = 12 + 36 * static_cast<int64_t>(header_.count);
    if (offset < directoryEnd || offset + int64_t{4} > fileSize_)
        return Fail("the body of \"" + name + "\" lies outside the file.");
    body.offset = offset;
    if (std::fseek(stream_, offset, SEEK_SET) != 0 || !ZULReadInt(stream_, body.numTags))
        return Fail("the body of \"" + name + "\" cannot be read.");
    if (body.numTags < 1)
        return Fail("the template \"" + name + "\" has a tag count of " + std::to_string(body.numTags) +
                    "; at least 1 is needed.");
    // The description length follows the records: seeking there would pass the end unseen.
    if (offset + ZULBodySize(body.numTags, 0) > fileSize_)
        return Fail("the " + std::to_string(body.numTags) + " tags of \"" + name +
                    "\" run past the end of the file.");
    if (std::fseek(stream_, offset + 4 + 36 * static_cast<long>(body.numTags), SEEK_SET) != 0 ||
        !ZULReadInt(stream_, body.descLength))
        return Fail("the body of \"" + name + "\" cannot be read.");
    if (body.descLength < 1)
        return Fail("the description of \"" + name + "\" has a length of " +
                    std::to_string(body.descLength) + "; at least 1 is needed.");
    if (offset + body.Size() > fileSize_)
        return Fail("the description of \"" + name + "\" runs past the end of the file.");
    return true;
}

TZULTemplate* TZULFile::ReadBody(const std::string& name, const TZULBody& body)
{
    if (std::fseek(stream_, body.offset + 4, SEEK_SET) != 0) {
        Fail("the body of \"" + name + "\" cannot be read.");
        return nullptr;
    }
    auto tpl = std::make_unique<TZULTemplate>(name);
    tpl->parentName.clear();
    tpl->tagValues.reserve(static_cast<size_t>(body.numTags));
    for (int32_t i = 0; i < body.numTags; ++i) {
        TZULTagRecord record;
        if (!ZULReadTagRecord(stream_, record)) {
            Fail("the tags of \"" + name + "\" cannot be read.");
            return nullptr;
        }
        TZULTagValue value;
        value.id = record.id;
        std::memcpy(value.value.data(), record.value, 32);
        if (record.id == 0)
            tpl->parentName = TagBytesText(value.value);
        tpl->tagValues.push_back(value);
    }
    // The whole description is kept, however long: its length was checked against the file, and
    // cutting it here would lose the rest at the next save.
    std::string description(static_cast<size_t>(body.descLength), '\0');
    if (std::fseek(stream_, body.offset + 8 + 36 * static_cast<long>(body.numTags), SEEK_SET) != 0 ||
        std::fread(description.data(), 1, description.size(), stream_) != description.size()) {
        Fail("the description of \"" + name + "\" cannot be read.");
        return nullptr;
    }
    SetDescription(tpl->description, description.data(), description.size());
    return tpl.release();
}

TZULTemplate* TZULFile::ReadTemplate(const std::string& name, int32_t offset)
{
    TZULBody body;
    return MeasureBody(name, offset, body) ? ReadBody(name, body) : nullptr;
}

bool TZULFile::ReadAll()
{
    fileSize_ = StreamSize(stream_);
    if (fileSize_ < 12 || std::fseek(stream_, 0, SEEK_SET) != 0 || !ZULReadHeader(stream_, header_))
        return Fail("its header cannot be read.");
    if (header_.count < 0 || 12 + 36 * static_cast<int64_t>(header_.count) > fileSize_)
        return Fail("its template count " + std::to_string(header_.count) + " does not fit the file.");

    // Everything is measured, read and checked before a single node is placed. Bodies that share
    // bytes are refused before any is read: a directory pointing many names at one large body
    // would otherwise make a small file fill the memory.
    std::vector<TZULTemplate*> read;
    size_t placed = 0;
    try {
        std::vector<std::string> names;
        std::vector<TZULBody> bodies;
        names.reserve(static_cast<size_t>(header_.count));
        bodies.reserve(static_cast<size_t>(header_.count));
        for (int32_t i = 0; i < header_.count; ++i) {
            if (std::fseek(stream_, 12 + 36 * static_cast<long>(i), SEEK_SET) != 0 ||
                !ZULReadDirEntry(stream_, entry_))
                return Fail("its directory cannot be read.");
            if (std::memchr(entry_.name, '\0', sizeof entry_.name) == nullptr)
                return Fail("directory entry " + std::to_string(i) + " has a name without end.");
            names.push_back(FieldText(entry_.name, sizeof entry_.name));
            if (names.back().empty())
                return Fail("directory entry " + std::to_string(i) + " has an empty name.");
            bodies.emplace_back();
            if (!MeasureBody(names.back(), entry_.offset, bodies.back()))
                return false;
        }
        if (!CheckBodiesApart(names, bodies))
            return false;
        read.reserve(bodies.size());
        for (size_t i = 0; i < bodies.size(); ++i) {
            TZULTemplate* tpl = ReadBody(names[i], bodies[i]);
            if (!tpl)
                break;
            read.push_back(tpl);
        }
        if (read.size() == bodies.size()) {
            for (; placed < read.size(); ++placed)
                read[placed]->parentInFile = PlaceTemplate(read[placed], rootNode_, this);
            return true;
        }
    } catch (const std::bad_alloc&) {
        outOfMemory_ = true;
        openError_ = "there is not enough memory to read it.";
    }
    // Placed templates belong to their nodes; the rest are still ours.
    for (size_t i = placed; i < read.size(); ++i)
        delete read[i];
    model_.DeleteTemplateNodes(rootNode_);
    templateList_.Clear();
    return false;
}

bool TZULFile::CheckBodiesApart(const std::vector<std::string>& names, const std::vector<TZULBody>& bodies)
{
    std::vector<size_t> order(bodies.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&bodies](size_t a, size_t b) { return bodies[a].offset < bodies[b].offset; });
    for (size_t k = 1; k < order.size(); ++k) {
        const TZULBody& before = bodies[order[k - 1]];
        if (before.offset + before.Size() > bodies[order[k]].offset)
            return Fail("the bodies of \"" + names[order[k - 1]] + "\" and \"" + names[order[k]] +
                        "\" overlap.");
    }
    return true;
}

bool PlaceTemplate(TZULTemplate* tpl, TTreeNode* rootNode, TZULFile* file)
{
    TTreeNode* parent = rootNode;
    bool found = true;
    if (!tpl->parentName.empty()) {
        const int index = file->GetTemplateList().IndexOf(tpl->parentName);
        if (index >= 0)
            parent = static_cast<TTreeNode*>(file->GetTemplateList().Objects(index));
        else
            found = false;
    }
    // The node takes the template last: until then a failure leaves the template to the caller.
    TTreeNode* node = rootNode->TreeView()->AddChild(parent, tpl->name);
    node->SetImageIndex(IMAGE_TEMPLATE);
    node->SetSelectedIndex(IMAGE_TEMPLATE);
    file->GetTemplateList().AddObject(tpl->name, node);
    node->SetData(tpl);
    return found;
}

void TZULFile::RemoveTemplateName(const std::string& name, TTreeNode* node)
{
    const int index = templateList_.IndexOf(name);
    if (index >= 0 && templateList_.Objects(index) == node)
        templateList_.Delete(index);
}

bool TZULFile::ValidateForSave(const std::vector<TTreeNode*>& nodes)
{
    for (TTreeNode* node : nodes) {
        const TZULTemplate* tpl = TemplateOf(node);
        std::string why;
        if (!tpl)
            why = "The tree node \"" + node->Text() + "\" holds no template.";
        else if (tpl->name.empty())
            why = "A template has an empty name.";
        else if (tpl->name.size() > static_cast<size_t>(ZUL_MAX_NAME))
            why = "The template name \"" + tpl->name + "\" is longer than 31 characters.";
        else if (tpl->tagValues.empty())
            why = "The template \"" + tpl->name + "\" has no tag value; give it at least one.";
        else if (tpl->tagValues.size() > static_cast<size_t>(ZUL_MAX_TAGS))
            why = "The template \"" + tpl->name + "\" has more than 128 tag values.";
        if (!why.empty()) {
            MessageDlg(why + "\nThe file was not saved.", kSaveCaption);
            return false;
        }
    }
    return true;
}

bool TZULFile::WriteTo(const std::string& tempPath, const std::vector<TTreeNode*>& nodes)
{
    FILE* f = std::fopen(tempPath.c_str(), "wb");
    if (!f)
        return false;
    const int32_t n = static_cast<int32_t>(nodes.size());
    TZULHeader header = header_;
    header.count = n;
    bool ok = ZULWriteHeader(f, header);

    int64_t offset = 12 + 36 * static_cast<int64_t>(n);
    std::vector<std::string> descriptions;
    descriptions.reserve(nodes.size());
    for (TTreeNode* node : nodes) {
        const TZULTemplate* tpl = TemplateOf(node);
        descriptions.push_back(tpl->description.Text());
        std::memset(&entry_, 0, sizeof entry_);
        std::memcpy(entry_.name, tpl->name.data(), tpl->name.size());
        entry_.offset = static_cast<int32_t>(offset);
        ok = ok && ZULWriteDirEntry(f, entry_);
        offset += ZULBodySize(static_cast<int64_t>(tpl->tagValues.size()),
                              static_cast<int64_t>(descriptions.back().size()) + 1);
        if (offset > INT32_MAX)
            ok = false;  // offsets are signed 32-bit
    }

    // One write per body from a fixed buffer; a template it cannot hold is refused right here.
    TZULTagRecord records[ZUL_MAX_TAGS];
    for (size_t k = 0; ok && k < nodes.size(); ++k) {
        const TZULTemplate* tpl = TemplateOf(nodes[k]);
        if (tpl->tagValues.empty() || tpl->tagValues.size() > static_cast<size_t>(ZUL_MAX_TAGS)) {
            ok = false;
            break;
        }
        const int32_t t = static_cast<int32_t>(tpl->tagValues.size());
        for (int32_t i = 0; i < t; ++i) {
            records[i].id = tpl->tagValues[i].id;
            std::memcpy(records[i].value, tpl->tagValues[i].value.data(), 32);
        }
        const std::string& text = descriptions[k];
        ok = ZULWriteInt(f, t) && std::fwrite(records, sizeof records[0] * t, 1, f) == 1 &&
             ZULWriteInt(f, static_cast<int32_t>(text.size() + 1)) &&
             std::fwrite(text.c_str(), text.size() + 1, 1, f) == 1;
        model_.SetStatusText("Saving " + std::to_string((k + 1) * 100 / nodes.size()) + "%");
    }
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

bool TZULFile::OpenStream(const std::string& path)
{
    stream_ = std::fopen(path.c_str(), "r+b");
    readOnly_ = false;
    if (!stream_) {
        stream_ = std::fopen(path.c_str(), "rb");
        readOnly_ = stream_ != nullptr;
    }
    return stream_ != nullptr;
}

bool TZULFile::Save()
{
    if (readOnly_ || IsNew() || !rootNode_)
        return false;
    std::vector<TTreeNode*> nodes;
    CollectPreOrder(rootNode_, nodes);
    if (!ValidateForSave(nodes))
        return false;

    Application().SetWaitCursor(true);
    const std::string tempPath = path_ + ".saving";
    bool ok = WriteTo(tempPath, nodes);
    if (ok) {
        // Windows does not replace a file that is open: let go of ours for the moment.
        if (stream_)
            std::fclose(stream_);
        stream_ = nullptr;
        ok = MoveFileExA(tempPath.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        OpenStream(path_);
    }
    Application().SetWaitCursor(false);
    if (!ok) {
        DeleteFileA(tempPath.c_str());
        model_.SetStatusText(path_);
        MessageDlg("The file \"" + path_ + "\" could not be written; the file on disk is unchanged.",
                   kSaveCaption);
        return false;
    }
    header_.count = static_cast<int32_t>(nodes.size());
    model_.SetStatusText(path_);
    modified_ = false;
    return true;
}

bool TZULFile::OpenForWrite(const std::string& path)
{
    // An existing file is only opened, not emptied: Save replaces it once the new one is whole.
    FILE* f = std::fopen(path.c_str(), "r+b");
    if (!f)
        f = std::fopen(path.c_str(), "w+b");
    // A failure leaves the file as it was, opened flag included: cleared, it would keep the
    // destructor from freeing the templates that are still read in.
    if (!f)
        return false;
    if (stream_)
        std::fclose(stream_);
    stream_ = f;
    readOnly_ = false;
    path_ = path;
    opened_ = true;
    return true;
}
