#include "PairList.h"
#include <cstring>
#include "../tarvelText.h"
#include "Compare.h"

const char* PairMarkText(TPairMark mark)
{
    switch (mark) {
    case pmModified: return "M";
    case pmNew: return "N";
    default: return "O";
    }
}

static int ImageFromFlag(uint32_t flag)
{
    if (!(flag & 1))
        return PAIR_IMAGE_NONE;
    return (flag & 2) ? 1 : 0;
}

void TPairList::Load(const ThingsInfo& info)
{
    selectedCount = info.selectedCount;
    rows.clear();
    uint32_t count = info.pairCount > THINGS_MAX_PAIRS ? THINGS_MAX_PAIRS : info.pairCount;
    for (uint32_t i = 0; i < count; i++) {
        TPairRow row;
        row.key = tarvelText_ToUpper(tarvelField_Read(info.key[i], THINGS_TEXT_LEN));
        row.value = tarvelField_Read(info.value[i], THINGS_TEXT_LEN);
        row.mark = pmOriginal;
        row.image = ImageFromFlag(info.flag[i] & 0xFF);
        Insert(row);
    }
    deletedKeys.clear();
}

void TPairList::Store(ThingsInfo& info, const std::string& selectedNodeText)
{
    std::memset(&info, 0, sizeof info);
    info.selectedCount = selectedCount;
    // The record has room for 64 entries; live rows come first, and a row that does not fit
    // leaves the deleted-keys list as it is, so it is reported on a later call once room exists.
    uint32_t n = 0;
    for (const TPairRow& row : rows) {
        if (n >= THINGS_MAX_PAIRS)
            break;
        uint32_t code = THINGS_UNCHANGED;
        if (row.mark == pmModified)
            code = THINGS_CHANGED;
        else if (row.mark == pmNew) {
            code = THINGS_ADDED;
            for (size_t d = 0; d < deletedKeys.size(); d++)
                if (SameTextAscii(deletedKeys[d], row.key)) {
                    code = THINGS_CHANGED;
                    deletedKeys.erase(deletedKeys.begin() + d);
                    break;
                }
        }
        tarvelField_WriteTerminated(info.key[n], THINGS_TEXT_LEN, row.key);
        tarvelField_WriteTerminated(info.value[n], THINGS_TEXT_LEN, row.value);
        info.flag[n] = code;
        n++;
    }
    for (const std::string& key : deletedKeys) {
        if (n >= THINGS_MAX_PAIRS)
            break;
        tarvelField_WriteTerminated(info.key[n], THINGS_TEXT_LEN, key);
        info.flag[n] = THINGS_DELETED;
        n++;
    }
    info.pairCount = n;
    tarvelField_Write(info.selectedTemplate, THINGS_NAME_LEN, selectedNodeText);
}

int TPairList::Find(const std::string& key) const
{
    for (size_t i = 0; i < rows.size(); i++)
        if (SameTextAscii(rows[i].key, key))
            return (int)i;
    return -1;
}

void TPairList::SetPair(const std::string& key, const std::string& value)
{
    int i = Find(key);
    if (i >= 0) {
        rows[i].value = value;
        if (rows[i].mark != pmNew)
            rows[i].mark = pmModified;
        return;
    }
    Insert(TPairRow{key, value, pmNew, PAIR_IMAGE_ADDED});
}

bool TPairList::DeleteRow(int index)
{
    if (index < 0 || index >= (int)rows.size())
        return false;
    NoteDeleted(rows[index].key);
    rows.erase(rows.begin() + index);
    return true;
}

int TPairList::DeleteRowsWhere(bool (*matches)(const std::string& key))
{
    int removed = 0;
    for (size_t i = 0; i < rows.size();) {
        if (matches(rows[i].key)) {
            DeleteRow((int)i);
            removed++;
        } else {
            i++;
        }
    }
    return removed;
}

void TPairList::Insert(const TPairRow& row)
{
    size_t at = rows.size();
    while (at > 0 && CompareTextStable(rows[at - 1].key, row.key) > 0)
        at--;
    rows.insert(rows.begin() + at, row);
}

void TPairList::NoteDeleted(const std::string& key)
{
    for (const std::string& k : deletedKeys)
        if (SameTextAscii(k, key))
            return;
    deletedKeys.push_back(key);
}
