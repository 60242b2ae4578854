#include "Registry.h"
#include <vector>

bool TRegistry::OpenKey(const std::string& path, bool canCreate)
{
    CloseKey();
    HKEY key = nullptr;
    LONG r;
    if (canCreate)
        r = RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    else
        r = RegOpenKeyExA(root_, path.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    if (r != ERROR_SUCCESS)
        return false;
    key_ = key;
    return true;
}

void TRegistry::CloseKey()
{
    if (key_) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

bool TRegistry::ValueExists(const std::string& name) const
{
    return key_ && RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                       ERROR_SUCCESS;
}

int TRegistry::ReadInteger(const std::string& name, int defaultValue) const
{
    if (!key_)
        return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return static_cast<int>(value);
}

std::string TRegistry::ReadString(const std::string& name, const std::string& defaultValue) const
{
    if (!key_)
        return defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    std::vector<char> buffer(size + 1, '\0');
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return defaultValue;
    return std::string(buffer.data());  // stops at the stored NUL, if any
}

bool TRegistry::WriteInteger(const std::string& name, int value)
{
    const DWORD v = static_cast<DWORD>(value);
    return key_ && RegSetValueExA(key_, name.c_str(), 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&v), sizeof v) == ERROR_SUCCESS;
}

bool TRegistry::WriteString(const std::string& name, const std::string& value)
{
    return key_ && RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::string& name)
{
    return key_ && RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::DeleteKey(const std::string& path)
{
    return RegDeleteKeyA(root_, path.c_str()) == ERROR_SUCCESS;
}
