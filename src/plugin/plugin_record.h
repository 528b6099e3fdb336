// The record the host receives from the export, laid out as the host reads it.
#pragma once
#include "platform/win_types.h"

struct PluginRecord {
    int version;
    const char* description;
    int (*init)();
    void (*config)();
    void (*quit)();
    HWND hwndParent;
    HINSTANCE hDllInstance;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PluginRecord) == 28, "the host reads seven 32-bit fields");
#endif

constexpr int kPluginVersion = 16;
