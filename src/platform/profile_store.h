// Seam: the host's INI file (GetPrivateProfileStringA / WritePrivateProfileStringA).
#pragma once
#include "platform/win_types.h"

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // Copies at most size - 1 characters and a terminator into buffer; returns the characters copied.
    virtual DWORD GetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                            DWORD size, const char* path) = 0;
    virtual BOOL WriteString(const char* section, const char* key, const char* value, const char* path) = 0;
};
