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

// Only the count and the first entries are fixed; the host decides how many names follow.
struct TemplateFilesInfo {
    uint32_t count;
    char name[1][THINGS_NAME_LEN];
};
static_assert(offsetof(TemplateFilesInfo, count) == 0);
static_assert(offsetof(TemplateFilesInfo, name) == 4);
static_assert(sizeof(TemplateFilesInfo::name[0]) == 32);

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
