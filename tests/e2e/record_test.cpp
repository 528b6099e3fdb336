// The export and the record the host reads, straight from the built DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
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

    // The host reads seven pointer-sized slots at fixed offsets (28 bytes in the 32-bit player), not
    // through our declaration: read them back as raw slots. init, config and quit live in the DLL's image.
    const auto* bytes = reinterpret_cast<const unsigned char*>(first);
    const auto slot = [&](int index) {
        std::uintptr_t value = 0;
        std::memcpy(&value, bytes + index * sizeof(void*), sizeof(void*));
        return value;
    };
    EXPECT_EQ(16u, slot(0) & 0xffffffffu);
    EXPECT_STREQ("Morvix (gen_morvix.dll)", reinterpret_cast<const char*>(slot(1)));
    for (int entry = 2; entry <= 4; ++entry) {
        MEMORY_BASIC_INFORMATION info = {};
        VirtualQuery(reinterpret_cast<void*>(slot(entry)), &info, sizeof info);
        EXPECT_EQ(info.AllocationBase, reinterpret_cast<void*>(dll)) << "slot " << entry;
    }
    EXPECT_EQ(0u, slot(5)) << "hwndParent";
    EXPECT_EQ(0u, slot(6)) << "hDllInstance";
    FreeLibrary(dll);
}

} // namespace
