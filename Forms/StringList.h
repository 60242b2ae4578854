// A list of strings, each with an optional object pointer (not owned).
// Sorted lists keep our ASCII order and find by binary search; unsorted lists keep insertion order.
#pragma once
#include <string>
#include <utility>
#include <vector>

enum TDuplicates { dupIgnore, dupAccept };

class TStringList {
public:
    TStringList() = default;

    // Sorted lists insert in order; with dupIgnore an equal string is not added again and
    // Add answers the index of the one already there.
    void SetSorted(bool sorted);
    bool Sorted() const { return sorted_; }
    void SetCaseSensitive(bool caseSensitive) { caseSensitive_ = caseSensitive; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }

    int Add(const std::string& s) { return AddObject(s, nullptr); }
    int AddObject(const std::string& s, void* object);
    // The same list as AddObject for each in turn, in one sort instead of one shift per string.
    void AddObjects(const std::vector<std::pair<std::string, void*>>& items);
    void Insert(int index, const std::string& s, void* object = nullptr);  // unsorted lists only
    void Delete(int index);
    void Clear() { items_.clear(); }

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Strings(int index) const { return items_[index].text; }
    void SetString(int index, const std::string& s);
    void* Objects(int index) const { return items_[index].object; }
    void SetObject(int index, void* object) { items_[index].object = object; }

    // Index of the string (by the list's letter-case rule), or -1.
    int IndexOf(const std::string& s) const;
    int IndexOfObject(const void* object) const;
    // Sorted lists: true when found; index is the match or the insertion point.
    bool Find(const std::string& s, int& index) const;

    // Lines joined with CR LF after every line; setting splits at LF (a CR before it is dropped).
    std::string Text() const;
    void SetText(const std::string& text);

    // "key=value" lines: the value after the first "=" of the line whose key matches, or "".
    std::string Values(const std::string& key) const;

private:
    struct Item {
        std::string text;
        void* object;
    };
    int Compare(const std::string& a, const std::string& b) const;

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};
