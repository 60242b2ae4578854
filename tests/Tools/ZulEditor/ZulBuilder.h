// Builds template files and tag-definition files byte by byte for the tests.
#pragma once
#include "fixtureFiles.h"
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace zultest {

using fixtures::Bytes;
using fixtures::ReadBytes;
using fixtures::WriteBytes;
using fixtures::WriteText;

struct Tag {
    uint32_t id;
    std::array<uint8_t, 32> value{};
};

inline Tag TextTag(uint32_t id, const std::string& text)
{
    Tag t{id, {}};
    std::memcpy(t.value.data(), text.data(), text.size() < 32 ? text.size() : 32);
    return t;
}

inline Tag IntTag(uint32_t id, uint32_t v)
{
    Tag t{id, {}};
    std::memcpy(t.value.data(), &v, 4);
    return t;
}

inline Tag FloatTag(uint32_t id, float a, float b = 0, float c = 0)
{
    Tag t{id, {}};
    std::memcpy(t.value.data(), &a, 4);
    std::memcpy(t.value.data() + 4, &b, 4);
    std::memcpy(t.value.data() + 8, &c, 4);
    return t;
}

struct Template {
    std::string name;
    std::vector<Tag> tags;
    std::string description;  // the bytes before the NUL, e.g. "a\r\nb\r\n"
};

// A template with a PARENT tag (id 0) when parent is not empty, then the given tags.
inline Template Tpl(const std::string& name, const std::string& parent, std::vector<Tag> tags = {},
                    const std::string& description = "")
{
    Template t{name, {}, description};
    if (!parent.empty())
        t.tags.push_back(TextTag(0, parent));
    for (const Tag& tag : tags)
        t.tags.push_back(tag);
    if (t.tags.empty())
        t.tags.push_back(IntTag(7, 1));  // a body needs at least one record
    return t;
}

inline void Put32(Bytes& b, size_t at, uint32_t v)
{
    if (b.size() < at + 4)
        b.resize(at + 4);
    std::memcpy(b.data() + at, &v, 4);
}

inline void Append32(Bytes& b, uint32_t v)
{
    fixtures::PutU32(b, v);
}

// Offset of the directory entry i and of its offset field.
inline size_t EntryAt(int i) { return 12 + 36 * static_cast<size_t>(i); }
inline size_t EntryOffsetAt(int i) { return EntryAt(i) + 32; }

inline Bytes BuildZul(const std::vector<Template>& templates, uint32_t version = 1)
{
    Bytes b = {'Z', 'U', 'L', 0x10};
    Append32(b, version);
    Append32(b, static_cast<uint32_t>(templates.size()));
    uint32_t offset = 12 + 36 * static_cast<uint32_t>(templates.size());
    for (const Template& t : templates) {
        uint8_t name[32] = {};
        std::memcpy(name, t.name.data(), t.name.size() < 32 ? t.name.size() : 32);
        b.insert(b.end(), name, name + 32);
        Append32(b, offset);
        offset += 8 + 36 * static_cast<uint32_t>(t.tags.size()) + static_cast<uint32_t>(t.description.size()) + 1;
    }
    for (const Template& t : templates) {
        Append32(b, static_cast<uint32_t>(t.tags.size()));
        for (const Tag& tag : t.tags) {
            Append32(b, tag.id);
            b.insert(b.end(), tag.value.begin(), tag.value.end());
        }
        Append32(b, static_cast<uint32_t>(t.description.size() + 1));
        b.insert(b.end(), t.description.begin(), t.description.end());
        b.push_back(0);
    }
    return b;
}

}  // namespace zultest
