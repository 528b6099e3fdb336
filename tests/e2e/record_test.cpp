// The export and the record the host reads, straight from the built DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/plugin_record.h"

namespace {

std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    dir.resize(dir.find_last_of("\\/") + 1);
    return dir + name;
}

using ExportFn = PluginRecord* (*)();

TEST(PluginRecord, ExportReturnsTheSameRecordWithItsConstantsAndNoHostFields) {
    HMODULE dll = LoadLibraryA(BesideThisProgram("gen_morvix.dll").c_str());
    ASSERT_NE(dll, nullptr) << "LoadLibrary failed, error " << GetLastError();
    auto get = reinterpret_cast<ExportFn>(
        reinterpret_cast<void*>(GetProcAddress(dll, "winampGetGeneralPurposePlugin")));
    ASSERT_NE(get, nullptr);

    PluginRecord* first = get();
    PluginRecord* second = get();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->version, 16);
    ASSERT_NE(first->description, nullptr);
    EXPECT_STREQ(first->description, "Morvix (gen_morvix.dll)");
    EXPECT_NE(first->init, nullptr);
    EXPECT_NE(first->config, nullptr);
    EXPECT_NE(first->quit, nullptr);
    EXPECT_EQ(first->hwndParent, nullptr);
    EXPECT_EQ(first->hDllInstance, nullptr);

    // The entries live inside the DLL's own image.
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQuery(reinterpret_cast<void*>(first->init), &info, sizeof info);
    EXPECT_EQ(info.AllocationBase, reinterpret_cast<void*>(dll));
    FreeLibrary(dll);
}

} // namespace
