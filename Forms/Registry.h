// A key of the registry under one root (the current user unless changed): open with or without
// creating, read and write 32-bit and string values. A missing value reads as the caller's
// default, so a first start without keys keeps the design values.
#pragma once
#include <windows.h>
#include <string>

class TRegistry {
public:
    TRegistry() = default;
    ~TRegistry() { CloseKey(); }
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY root) { CloseKey(); root_ = root; }

    // Opens the key path below the root (closing the one open before); canCreate makes it
    // when missing. False when the key cannot be opened.
    bool OpenKey(const std::string& path, bool canCreate);
    void CloseKey();
    bool KeyOpen() const { return key_ != nullptr; }
    HKEY CurrentKey() const { return key_; }

    bool ValueExists(const std::string& name) const;
    // A value that is missing or of another type gives the default.
    int ReadInteger(const std::string& name, int defaultValue) const;
    std::string ReadString(const std::string& name, const std::string& defaultValue) const;
    // False when no key is open or the value cannot be written.
    bool WriteInteger(const std::string& name, int value);
    bool WriteString(const std::string& name, const std::string& value);
    bool DeleteValue(const std::string& name);
    // Deletes a key below the root that has no subkeys.
    bool DeleteKey(const std::string& path);

private:
    HKEY root_ = HKEY_CURRENT_USER;
    HKEY key_ = nullptr;
};
