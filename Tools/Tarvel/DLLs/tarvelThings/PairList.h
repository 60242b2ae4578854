// The pairs of the host's current selection as the panel edits them: rows kept sorted by key,
// each with its mark ("O" as handed in, "M" changed, "N" added here), and the keys deleted
// since the last _SetThingsInfo. The pair-list view shows these rows; the host gets them back
// with change codes.
#pragma once
#include <string>
#include <vector>
#include "ThingsRecords.h"

enum TPairMark { pmOriginal, pmModified, pmNew };

constexpr int PAIR_IMAGE_NONE = -1;
constexpr int PAIR_IMAGE_ADDED = 2;

struct TPairRow {
    std::string key;
    std::string value;
    TPairMark mark;
    int image;  // PAIR_IMAGE_NONE, 0, 1 or PAIR_IMAGE_ADDED
};

const char* PairMarkText(TPairMark mark);

class TPairList {
public:
    // Loads the record's pairs (at most 64, each text read within its field), keys upper-cased,
    // and starts a fresh deleted-keys list.
    void Load(const ThingsInfo& info);
    // Writes every row with its change code, then the deleted keys, into the whole record.
    void Store(ThingsInfo& info, const std::string& selectedNodeText);

    // Sets the value of the row with that key (any case) or adds a new row.
    void SetPair(const std::string& key, const std::string& value);
    // Records the row's key as deleted and removes the row; false for a bad index.
    bool DeleteRow(int index);
    // Deletes every row whose key matches; returns how many went.
    int DeleteRowsWhere(bool (*matches)(const std::string& key));

    int Find(const std::string& key) const;  // first row with the key (any case), or -1
    int Count() const { return (int)rows.size(); }
    const TPairRow& Row(int index) const { return rows[index]; }
    const std::vector<TPairRow>& Rows() const { return rows; }
    const std::vector<std::string>& DeletedKeys() const { return deletedKeys; }
    uint32_t SelectedCount() const { return selectedCount; }

private:
    void Insert(const TPairRow& row);
    void NoteDeleted(const std::string& key);

    std::vector<TPairRow> rows;
    std::vector<std::string> deletedKeys;
    uint32_t selectedCount = 0;
};
