// Loads a built panel DLL from the build's bin folder, as a host does, for the boundary tests.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The tests run under wine, whose drive Z: is the build machine's root.
inline std::string PanelLibrary_Path(const char* file)
{
    std::string dir = TARVEL_BIN_DIR;
    if (!dir.empty() && dir[0] == '/')
        dir = "Z:" + dir;
    return dir + "/" + file;
}

class TPanelLibrary {
public:
    explicit TPanelLibrary(const char* file) { module = LoadLibraryA(PanelLibrary_Path(file).c_str()); }
    ~TPanelLibrary()
    {
        if (module)
            FreeLibrary(module);
    }
    HMODULE Module() const { return module; }
    template <class F> F Get(const char* name) const { return (F)(void*)GetProcAddress(module, name); }
    FARPROC ByOrdinal(int ordinal) const { return GetProcAddress(module, MAKEINTRESOURCEA(ordinal)); }

private:
    HMODULE module = nullptr;
};

// Every export is found by its name and by its ordinal, both at the same address, and the
// ordinal after the last one does not exist.
inline void PanelLibrary_ExpectExports(const TPanelLibrary& lib, const char* const* names, int count)
{
    for (int i = 0; i < count; i++) {
        FARPROC byName = GetProcAddress(lib.Module(), names[i]);
        EXPECT_NE(byName, nullptr) << names[i];
        EXPECT_EQ(byName, lib.ByOrdinal(i + 1)) << names[i] << " is not ordinal " << i + 1;
    }
    EXPECT_EQ(lib.ByOrdinal(count + 1), nullptr);
}

// A plain top-level window standing in for the host's own.
inline HWND PanelLibrary_HostWindow()
{
    return CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800,
                           600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// A host record of type R inside guard bytes, so that a write outside the record shows.
template <class R> struct TGuarded {
    static constexpr int guard = 64;
    std::vector<unsigned char> bytes = std::vector<unsigned char>(sizeof(R) + 2 * guard, 0xEE);
    R* rec() { return (R*)(bytes.data() + guard); }
    bool GuardsIntact() const
    {
        for (int i = 0; i < guard; i++)
            if (bytes[i] != 0xEE || bytes[bytes.size() - 1 - i] != 0xEE)
                return false;
        return true;
    }
};
