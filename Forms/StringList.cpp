#include "StringList.h"
#include "Compare.h"
#include <algorithm>

int TStringList::Compare(const std::string& a, const std::string& b) const
{
    return caseSensitive_ ? a.compare(b) : CompareTextAscii(a, b);
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted && !sorted_) {
        std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) {
            return caseSensitive_ ? a.text < b.text : CompareTextStable(a.text, b.text) < 0;
        });
    }
    sorted_ = sorted;
}

bool TStringList::Find(const std::string& s, int& index) const
{
    int lo = 0;
    int hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = Compare(items_[mid].text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0)
                found = true;  // keep going left: the first equal entry
        }
    }
    index = lo;
    return found;
}

int TStringList::AddObject(const std::string& s, void* object)
{
    if (!sorted_) {
        items_.push_back({s, object});
        return Count() - 1;
    }
    int index = 0;
    if (Find(s, index)) {
        if (duplicates_ == dupIgnore)
            return index;
        while (index < Count() && Compare(items_[index].text, s) == 0)
            ++index;  // equal entries keep the order they were added in
    }
    items_.insert(items_.begin() + index, Item{s, object});
    return index;
}

void TStringList::AddObjects(const std::vector<std::pair<std::string, void*>>& items)
{
    items_.reserve(items_.size() + items.size());
    for (const auto& [text, object] : items)
        items_.push_back(Item{text, object});
    if (!sorted_)
        return;
    // Stable: equal strings keep the order they were added in, so the first one stays.
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
    if (duplicates_ == dupIgnore)
        items_.erase(std::unique(items_.begin(), items_.end(),
                                 [this](const Item& a, const Item& b) { return Compare(a.text, b.text) == 0; }),
                     items_.end());
}

void TStringList::Insert(int index, const std::string& s, void* object)
{
    if (index < 0 || index > Count())
        return;
    items_.insert(items_.begin() + index, Item{s, object});
}

void TStringList::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void TStringList::SetString(int index, const std::string& s)
{
    if (index >= 0 && index < Count())
        items_[index].text = s;
}

int TStringList::IndexOf(const std::string& s) const
{
    if (sorted_) {
        int index = 0;
        return Find(s, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (Compare(items_[i].text, s) == 0)
            return i;
    return -1;
}

int TStringList::IndexOfObject(const void* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i].object == object)
            return i;
    return -1;
}

std::string TStringList::Text() const
{
    std::string text;
    for (const Item& item : items_) {
        text += item.text;
        text += "\r\n";
    }
    return text;
}

void TStringList::SetText(const std::string& text)
{
    items_.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        AddObject(text.substr(start, stop - start), nullptr);
        start = end + 1;
    }
}

std::string TStringList::Values(const std::string& key) const
{
    for (const Item& item : items_) {
        const size_t eq = item.text.find('=');
        if (eq != std::string::npos && Compare(item.text.substr(0, eq), key) == 0)
            return item.text.substr(eq + 1);
    }
    return "";
}
