#include "ZULData.h"
#include "Application.h"
#include "Hooks.h"
#include "TreeView.h"
#include "Compare.h"
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>

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
void CollectPreOrder(TTreeNode* root, std::vector<TTreeNode*>& out)
{
    for (TTreeNode* n = root->GetNext(), *end = root->GetNextAfterSubtree(); n != end; n = n->GetNext())
        out.push_back(n);
}


TZULTemplate* TemplateOf(TTreeNode* node)
{
    return static_cast<TZULTemplate*>(node->Data());
}
}  // namespace

void TZULStatus::SetStatusText(const std::string&)
{
}

TZULFile::TZULFile(TZULStatus& status, const std::string& path, int slot, TTreeNode* rootNode, bool readOnlyWanted)
    : status_(status), rootNode_(rootNode), slot_(slot)
{
    std::memcpy(header_.magic, kZULMagic, 4);
    header_.version = ZUL_VERSION;
    header_.count = 0;
    std::memset(&entry_, 0, sizeof entry_);
    templateList_.SetSorted(true);
    templateList_.SetDuplicates(dupIgnore);

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
    if (opened_ && rootNode_)
        FreeTemplates(rootNode_);
    templateList_.Clear();
    // The root goes with every template node below it, in one message.
    if (rootNode_)
        rootNode_->TreeView()->Delete(rootNode_);
    if (stream_)
        std::fclose(stream_);
}

bool TZULFile::Fail(const std::string& why)
{
    openError_ = why;
    return false;
}

bool TZULFile::ReadFileImage()
{
    fileSize_ = StreamSize(stream_);
    image_.clear();
    if (fileSize_ < 0 || std::fseek(stream_, 0, SEEK_SET) != 0)
        return false;
    image_.resize(static_cast<size_t>(fileSize_));
    return image_.empty() || std::fread(image_.data(), image_.size(), 1, stream_) == 1;
}

bool TZULFile::ImageBytes(int64_t offset, void* out, size_t size) const
{
    if (offset < 0 || offset + static_cast<int64_t>(size) > static_cast<int64_t>(image_.size()))
        return false;
    std::memcpy(out, image_.data() + offset, size);
    return true;
}

bool TZULFile::ImageInt(int64_t offset, int32_t& value) const
{
    return ImageBytes(offset, &value, sizeof value);
}

bool TZULFile::MeasureBody(const std::string& name, int32_t offset, TZULBody& body)
{
    if (offset < ZULEntryAt(header_.count) || offset + int64_t{4} > fileSize_)
        return Fail("the body of \"" + name + "\" lies outside the file.");
    body.offset = offset;
    if (!ImageInt(offset, body.numTags))
        return Fail("the body of \"" + name + "\" cannot be read.");
    if (body.numTags < 1)
        return Fail("the template \"" + name + "\" has a tag count of " + std::to_string(body.numTags) +
                    "; at least 1 is needed.");
    // The description length follows the records: seeking there would pass the end unseen.
    if (offset + ZULBodySize(body.numTags, 0) > fileSize_)
        return Fail("the " + std::to_string(body.numTags) + " tags of \"" + name +
                    "\" run past the end of the file.");
    if (!ImageInt(ZULDescLengthAt(offset, body.numTags), body.descLength))
        return Fail("the body of \"" + name + "\" cannot be read.");
    if (body.descLength < 1)
        return Fail("the description of \"" + name + "\" has a length of " +
                    std::to_string(body.descLength) + "; at least 1 is needed.");
    if (offset + body.Size() > fileSize_)
        return Fail("the description of \"" + name + "\" runs past the end of the file.");
    return true;
}

std::string TZULFile::BodyParentName(const TZULBody& body) const
{
    // The last tag of id 0 names the parent.
    for (int64_t i = body.numTags - 1; i >= 0; --i) {
        TZULTagRecord record;
        if (ImageBytes(body.TagAt(i), &record, sizeof record) && record.id == 0) {
            TTagBytes value;
            std::memcpy(value.data(), record.value, 32);
            return TagBytesText(value);
        }
    }
    return "";
}

TZULTemplate* TZULFile::ReadBody(const std::string& name, const TZULBody& body, std::string parentName)
{
    auto tpl = std::make_unique<TZULTemplate>(name);
    tpl->parentName = std::move(parentName);
    tpl->tagValues.reserve(static_cast<size_t>(body.numTags));
    for (int32_t i = 0; i < body.numTags; ++i) {
        TZULTagRecord record;
        if (!ImageBytes(body.TagAt(i), &record, sizeof record)) {
            Fail("the tags of \"" + name + "\" cannot be read.");
            return nullptr;
        }
        TZULTagValue value;
        value.id = record.id;
        std::memcpy(value.value.data(), record.value, 32);
        tpl->tagValues.push_back(value);
    }
    // The whole description is kept, however long: its length was checked against the file, and
    // cutting it here would lose the rest at the next save.
    std::string description(static_cast<size_t>(body.descLength), '\0');
    if (!ImageBytes(body.DescriptionAt(), description.data(), description.size())) {
        Fail("the description of \"" + name + "\" cannot be read.");
        return nullptr;
    }
    SetDescription(tpl->description, description.data(), description.size());
    return tpl.release();
}

TZULTemplate* TZULFile::ReadTemplate(const std::string& name, int32_t offset)
{
    const bool loaded = !image_.empty() || ReadFileImage();
    TZULBody body;
    TZULTemplate* tpl = loaded && MeasureBody(name, offset, body) ? ReadBody(name, body, BodyParentName(body)) : nullptr;
    std::vector<uint8_t>().swap(image_);
    return tpl;
}

bool TZULFile::ReadAll()
{
    // The whole file is read with one call and taken apart in memory: a read per field would
    // cost a seek and a refill of the stream's buffer each.
    std::vector<TZULTemplate*> read;
    size_t owned = 0;  // read[owned...] are still ours to free on failure
    try {
        const bool ok = ReadAllFromImage(read, owned);
        std::vector<uint8_t>().swap(image_);
        if (ok)
            return true;
    } catch (const std::bad_alloc&) {
        std::vector<uint8_t>().swap(image_);
        outOfMemory_ = true;
        openError_ = "there is not enough memory to read it.";
    }
    for (size_t i = owned; i < read.size(); ++i)
        delete read[i];
    DeleteTemplateNodes(rootNode_);
    templateList_.Clear();
    return false;
}

bool TZULFile::ReadAllFromImage(std::vector<TZULTemplate*>& read, size_t& owned)
{
    if (!ReadFileImage() || fileSize_ < 12 || !ImageBytes(0, &header_, sizeof header_))
        return Fail("its header cannot be read.");
    if (header_.count < 0 || ZULEntryAt(header_.count) > fileSize_)
        return Fail("its template count " + std::to_string(header_.count) + " does not fit the file.");

    // Everything is measured, read and checked before a single node is placed. Bodies that share
    // bytes are refused before any is read: a directory pointing many names at one large body
    // would otherwise make a small file fill the memory.
    std::vector<std::string> names;
    std::vector<TZULBody> bodies;
    names.reserve(static_cast<size_t>(header_.count));
    bodies.reserve(static_cast<size_t>(header_.count));
    for (int32_t i = 0; i < header_.count; ++i) {
        if (!ImageBytes(ZULEntryAt(i), &entry_, sizeof entry_))
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
    std::vector<std::string> parentNames;
    parentNames.reserve(bodies.size());
    for (const TZULBody& body : bodies)
        parentNames.push_back(BodyParentName(body));
    const TZULPlacing placing = PlanPlacing(names, parentNames);
    // Read in the order shown: the walks of a save and a close then go through memory in order.
    read.assign(bodies.size(), nullptr);
    for (size_t i : placing.shownOrder)
        if (!(read[i] = ReadBody(names[i], bodies[i], std::move(parentNames[i]))))
            return false;
    owned = read.size();  // from here each template is its node's, or freed by the placing
    if (!PlaceTemplates(read, placing, rootNode_, this))
        return Fail("the templates tree did not take its templates.");
    return true;
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

TZULPlacing PlanPlacing(const std::vector<std::string>& names, const std::vector<std::string>& parentNames)
{
    const size_t count = names.size();
    const size_t root = count;  // index of the file's root among the parents
    TZULPlacing placing;
    placing.parentOf.assign(count, root);
    placing.parentInFile.assign(count, true);
    std::unordered_map<std::string, size_t> earlier;  // lower-case name: its first template
    earlier.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (!parentNames[i].empty()) {
            const auto found = earlier.find(LowerTextAscii(parentNames[i]));
            if (found != earlier.end())
                placing.parentOf[i] = found->second;
            else
                placing.parentInFile[i] = false;
        }
        earlier.emplace(LowerTextAscii(names[i]), i);
    }
    // Children in directory order, then sorted as the tree sorts them (stable, our order).
    std::vector<std::vector<size_t>> children(count + 1);
    for (size_t i = 0; i < count; ++i)
        children[placing.parentOf[i]].push_back(i);
    for (std::vector<size_t>& list : children)
        std::stable_sort(list.begin(), list.end(),
                         [&names](size_t a, size_t b) { return CompareTextStable(names[a], names[b]) < 0; });
    placing.shownOrder.reserve(count);
    std::vector<size_t> pending(children[root].rbegin(), children[root].rend());
    while (!pending.empty()) {
        const size_t i = pending.back();
        pending.pop_back();
        placing.shownOrder.push_back(i);
        pending.insert(pending.end(), children[i].rbegin(), children[i].rend());
    }
    return placing;
}

bool PlaceTemplates(const std::vector<TZULTemplate*>& templates, const TZULPlacing& placing, TTreeNode* rootNode,
                    TZULFile* file)
{
    const size_t count = templates.size();
    std::vector<TTreeNode*> nodes(count + 1, nullptr);
    // Until its node holds it, a template is freed here when the placing fails.
    auto freeUnplaced = [&templates, &nodes, count] {
        for (size_t i = 0; i < count; ++i)
            if (!nodes[i])
                delete templates[i];
    };
    try {
        // In the order shown, so the control holds its items in the order it shows them.
        nodes[count] = rootNode;
        TTreeView* tree = rootNode->TreeView();
        for (size_t i : placing.shownOrder) {
            templates[i]->parentInFile = placing.parentInFile[i];
            nodes[i] = tree->AddChild(nodes[placing.parentOf[i]], templates[i]->name, templates[i], IMAGE_TEMPLATE);
            if (!nodes[i]) {
                freeUnplaced();
                return false;
            }
        }
        // The name list takes them in directory order: of equal names the first one stays.
        std::vector<std::pair<std::string, void*>> names;
        names.reserve(count);
        for (size_t i = 0; i < count; ++i)
            names.emplace_back(templates[i]->name, nodes[i]);
        file->GetTemplateList().AddObjects(names);
    } catch (...) {
        freeUnplaced();
        throw;
    }
    return true;
}

void TZULFile::RemoveTemplateName(const std::string& name, TTreeNode* node)
{
    const int index = templateList_.IndexOf(name);
    if (index >= 0 && templateList_.Objects(index) == node)
        templateList_.Delete(index);
}

void FreeTemplates(TTreeNode* node)
{
    for (TTreeNode* n = node, *end = node ? node->GetNextAfterSubtree() : nullptr; n != end; n = n->GetNext()) {
        if (!n->Parent())
            continue;  // a file's root carries its file
        delete TemplateOf(n);
        n->SetData(nullptr);
    }
}

void DeleteTemplateNodes(TTreeNode* node)
{
    if (!node)
        return;
    FreeTemplates(node);
    // One message per subtree: the control drops everything below an item it deletes.
    TTreeView* tree = node->TreeView();
    if (node->Parent()) {
        tree->Delete(node);
        return;
    }
    while (TTreeNode* child = node->GetFirstChild())  // a file's root stays
        tree->Delete(child);
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

namespace {
// The length of a description as written: every line followed by CR LF.
int64_t DescriptionSize(const TStringList& lines)
{
    int64_t size = 0;
    for (int i = 0; i < lines.Count(); ++i)
        size += static_cast<int64_t>(lines.Strings(i).size()) + 2;
    return size;
}

// Writes a save's bytes through one small buffer that is handed to the file whenever it is
// full: a large file is never held whole in memory, and the writes stay few.
class TChunkWriter {
public:
    explicit TChunkWriter(HANDLE file) : file_(file) { buffer_.resize(kChunk); }
    void Put(const void* bytes, size_t size)
    {
        if (used_ + size > kChunk)
            Flush();
        if (size > kChunk) {
            Write(bytes, size);
            return;
        }
        std::memcpy(buffer_.data() + used_, bytes, size);
        used_ += size;
    }
    // Room for size bytes in one piece, the buffer handed to the file first when it lacks it;
    // nullptr when they exceed a whole buffer.
    uint8_t* Reserve(size_t size)
    {
        if (size > kChunk)
            return nullptr;
        if (used_ + size > kChunk)
            Flush();
        uint8_t* at = buffer_.data() + used_;
        used_ += size;
        return at;
    }
    // False when any write fell short.
    bool Flush()
    {
        Write(buffer_.data(), used_);
        used_ = 0;
        return ok_;
    }

private:
    static constexpr size_t kChunk = 64 * 1024;
    void Write(const void* bytes, size_t size)
    {
        DWORD written = 0;
        if (size && ok_)
            ok_ = WriteFile(file_, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
    }
    HANDLE file_;
    std::vector<uint8_t> buffer_;
    size_t used_ = 0;
    bool ok_ = true;
};

// Bytes laid one after another at a place known to have room for them all.
struct TPlacedBytes {
    uint8_t* at;
    void Put(const void* bytes, size_t size)
    {
        std::memcpy(at, bytes, size);
        at += size;
    }
};

// A template's body as the file holds it: the tag count, the tag records, the description's
// length (with its NUL) and text, every line followed by CR LF.
template <class Out>
void PutBody(Out& out, const TZULTemplate& tpl, int32_t descLength)
{
    const int32_t numTags = static_cast<int32_t>(tpl.tagValues.size());
    out.Put(&numTags, 4);
    for (const TZULTagValue& value : tpl.tagValues) {
        const int32_t id = static_cast<int32_t>(value.id);
        out.Put(&id, 4);
        out.Put(value.value.data(), 32);
    }
    out.Put(&descLength, 4);
    for (int i = 0; i < tpl.description.Count(); ++i) {
        const std::string& line = tpl.description.Strings(i);
        out.Put(line.data(), line.size());
        out.Put("\r\n", 2);
    }
    out.Put("", 1);  // the description's NUL
}

// A new file for a save's bytes, readable and writable, that may be renamed while it is open:
// once it has taken the file's place it is the file's stream, without a second open.
HANDLE CreateSaveFile(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The handle as a stream; nullptr (the handle closed) when the runtime cannot take it.
FILE* StreamOfHandle(HANDLE handle)
{
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    FILE* stream = _fdopen(fd, "r+b");
    if (!stream)
        _close(fd);
    return stream;
}
}  // namespace

bool TZULFile::WriteImage(void* file, const std::vector<TTreeNode*>& nodes)
{
    // The bodies go first, behind the room for the directory, which follows once every offset
    // is known: each template is visited once, which is what a large file's save costs.
    const int64_t bodiesAt = ZULEntryAt(static_cast<int64_t>(nodes.size()));
    LARGE_INTEGER at;
    at.QuadPart = bodiesAt;
    if (bodiesAt > INT32_MAX || !SetFilePointerEx(file, at, nullptr, FILE_BEGIN))
        return false;
    std::vector<TZULDirEntry> directory(nodes.size());  // zeroed: the NUL and the fill after a name
    TChunkWriter out(file);
    int64_t offset = bodiesAt;
    size_t shownPercent = SIZE_MAX;  // none shown yet
    for (size_t k = 0; k < nodes.size(); ++k) {
        const TZULTemplate* tpl = TemplateOf(nodes[k]);
        // A template the format cannot hold is refused right here, whatever was checked before.
        if (tpl->tagValues.empty() || tpl->tagValues.size() > static_cast<size_t>(ZUL_MAX_TAGS) ||
            tpl->name.size() > static_cast<size_t>(ZUL_MAX_NAME))
            return false;
        const int64_t descSize = DescriptionSize(tpl->description);
        const int64_t bodySize = ZULBodySize(static_cast<int64_t>(tpl->tagValues.size()), descSize + 1);
        if (offset + bodySize > INT32_MAX)
            return false;  // offsets are signed 32-bit
        std::memcpy(directory[k].name, tpl->name.data(), tpl->name.size());
        directory[k].offset = static_cast<int32_t>(offset);
        offset += bodySize;

        // Laid straight into the buffer when it fits, which is all but the longest descriptions.
        if (uint8_t* at = out.Reserve(static_cast<size_t>(bodySize))) {
            TPlacedBytes placed{at};
            PutBody(placed, *tpl, static_cast<int32_t>(descSize + 1));
        } else {
            PutBody(out, *tpl, static_cast<int32_t>(descSize + 1));
        }
        // Each percentage is reported once: the same text again would only cost time.
        const size_t percent = (k + 1) * 100 / nodes.size();
        if (percent != shownPercent)
            status_.ShowSaveProgress("Saving " + std::to_string(shownPercent = percent) + "%");
    }
    if (!out.Flush())
        return false;
    at.QuadPart = 0;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN))
        return false;
    TZULHeader header = header_;
    header.count = static_cast<int32_t>(nodes.size());
    out.Put(&header, sizeof header);
    out.Put(directory.data(), directory.size() * sizeof(TZULDirEntry));
    return out.Flush();
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
    HANDLE temp = CreateSaveFile(tempPath);
    bool ok = temp != INVALID_HANDLE_VALUE && WriteImage(temp, nodes);
    if (ok) {
        // Windows does not replace a file that is open: let go of ours for the moment.
        if (stream_)
            std::fclose(stream_);
        stream_ = nullptr;
        ok = MoveFileExA(tempPath.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        if (!ok) {
            // A system that renames no open file gets it closed first.
            CloseHandle(temp);
            temp = INVALID_HANDLE_VALUE;
            ok = MoveFileExA(tempPath.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        }
        if (ok && temp != INVALID_HANDLE_VALUE) {
            stream_ = StreamOfHandle(temp);
            temp = INVALID_HANDLE_VALUE;
        }
        if (!stream_)
            OpenStream(path_);
    }
    if (temp != INVALID_HANDLE_VALUE)
        CloseHandle(temp);
    Application().SetWaitCursor(false);
    if (!ok) {
        DeleteFileA(tempPath.c_str());
        status_.SetStatusText(path_);
        MessageDlg("The file \"" + path_ + "\" could not be written; the file on disk is unchanged.",
                   kSaveCaption);
        return false;
    }
    header_.count = static_cast<int32_t>(nodes.size());
    status_.SetStatusText(path_);
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
