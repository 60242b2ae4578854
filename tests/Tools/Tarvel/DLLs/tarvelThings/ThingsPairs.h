// The pairs of a things record as the host reads them, "KEY=VALUE/code" in record order, so that
// a test compares the whole record at once (code: 0 unchanged, 1 changed, 2 added, 3 deleted).
#pragma once
#include <cstring>
#include <string>
#include <vector>
#include "ThingsRecords.h"

inline std::vector<std::string> ThingsPairs(const ThingsInfo& info)
{
    std::vector<std::string> pairs;
    for (uint32_t i = 0; i < info.pairCount && i < THINGS_MAX_PAIRS; i++)
        pairs.push_back(std::string(info.key[i], strnlen(info.key[i], THINGS_TEXT_LEN)) + "=" +
                        std::string(info.value[i], strnlen(info.value[i], THINGS_TEXT_LEN)) + "/" +
                        std::to_string(info.flag[i]));
    return pairs;
}
