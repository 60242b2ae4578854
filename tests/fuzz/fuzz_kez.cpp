// Game strings (.kez): the string-table loader, then the keys of the table's first lines looked
// up and formatted with the rest of their line as placeholder arguments.
#include <cstring>
#include <string>

#include "fuzzSupport.h"
#include "gameString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteInput("fuzz.kez", data, size);
    fuzz::Scope scope(size);
    gameString_LoadFile("fuzz");
    std::string text((const char*)data, size);
    size_t at = 0;
    for (int line = 0; line < 8 && at < text.size(); line++) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string words = text.substr(at, end - at);
        at = end + 1;
        size_t blank = words.find(' ');
        std::string key = words.substr(0, blank);
        std::string arguments = blank == std::string::npos ? "" : words.substr(blank + 1);
        gameString_Get(key.c_str());
        gameString_Format(key.c_str(), arguments.c_str());
    }
    gameString_Shutdown();
    return 0;
}
