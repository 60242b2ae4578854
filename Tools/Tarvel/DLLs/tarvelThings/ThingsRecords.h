// Records that the host and the things panel exchange through the exports. The host allocates
// them; their byte layout is fixed and checked here.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int THINGS_MAX_PAIRS = 64;
constexpr int THINGS_TEXT_LEN = 128;
constexpr int THINGS_NAME_LEN = 32;

struct ThingsInfo {
    uint32_t selectedCount;
    uint32_t pairCount;
    char key[THINGS_MAX_PAIRS][THINGS_TEXT_LEN];
    char value[THINGS_MAX_PAIRS][THINGS_TEXT_LEN];
    uint32_t flag[THINGS_MAX_PAIRS];
    char selectedTemplate[THINGS_NAME_LEN];
};
static_assert(sizeof(ThingsInfo) == 16680);
static_assert(offsetof(ThingsInfo, selectedCount) == 0);
static_assert(offsetof(ThingsInfo, pairCount) == 4);
static_assert(offsetof(ThingsInfo, key) == 8);
static_assert(offsetof(ThingsInfo, value) == 8200);
static_assert(offsetof(ThingsInfo, flag) == 16392);
static_assert(offsetof(ThingsInfo, selectedTemplate) == 16648);

// The count, then count names of THINGS_NAME_LEN bytes each. The host decides how many names it
// has room for, so the type holds the count alone and the names are reached by their offset.
struct TemplateFilesInfo {
    uint32_t count;
};
constexpr size_t TEMPLATE_FILES_NAMES_AT = 4;
static_assert(offsetof(TemplateFilesInfo, count) == 0);
static_assert(sizeof(TemplateFilesInfo) == TEMPLATE_FILES_NAMES_AT);

inline char* TemplateFilesInfo_Name(TemplateFilesInfo& info, uint32_t i)
{
    return reinterpret_cast<char*>(&info) + TEMPLATE_FILES_NAMES_AT + size_t{i} * THINGS_NAME_LEN;
}
inline const char* TemplateFilesInfo_Name(const TemplateFilesInfo& info, uint32_t i)
{
    return reinterpret_cast<const char*>(&info) + TEMPLATE_FILES_NAMES_AT + size_t{i} * THINGS_NAME_LEN;
}

// Change codes written into `flag` by _GetThingsInfo.
enum ThingsChange : uint32_t {
    THINGS_UNCHANGED = 0,
    THINGS_CHANGED = 1,
    THINGS_ADDED = 2,
    THINGS_DELETED = 3,
};

typedef void (*ThingsCloseCallback)(void);
typedef void (*ThingsApplyCallback)(void);
typedef void (*ThingsPositionCallback)(int left, int top, int width, int height);
typedef void (*ThingsTemplateDoubleClickCallback)(void);
typedef void (*ThingsTemplateFilesCallback)(void);
