// The descriptor as the shell sees it: the built Vorlamet.plg loaded by name
// and its GetPluginInfo export called through GetProcAddress, without
// InitGlobalModule.
#include "tests/wine/descriptor_expected.h"

#include <windows.h>

namespace {

typedef PluginInfo*(__stdcall* GetPluginInfoProc)();

class DescriptorPlg : public ::testing::Test {
  protected:
    void SetUp() override {
        SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", nullptr);
        Plugin = LoadLibraryA("Vorlamet.plg");
        ASSERT_NE(Plugin, nullptr) << "error " << GetLastError();
        Get = reinterpret_cast<GetPluginInfoProc>(
            reinterpret_cast<void*>(GetProcAddress(Plugin, "GetPluginInfo")));
        ASSERT_NE(Get, nullptr);
    }
    void TearDown() override {
        SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", nullptr);
        if (Plugin) FreeLibrary(Plugin);
    }
    HMODULE Plugin = nullptr;
    GetPluginInfoProc Get = nullptr;
};

TEST_F(DescriptorPlg, ExportsTheLayeredVariantOnRepeatedRequests) {
    const PluginInfo* first = Get();
    ExpectDescriptor(first, true);
    const PluginInfo* second = Get();
    EXPECT_EQ(second, first);
    ExpectDescriptor(second, true);
}

TEST_F(DescriptorPlg, ExportsTheVariantWithoutLayeredWindowsOnRepeatedRequests) {
    SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", "1");
    ExpectDescriptor(Get(), false);
    ExpectDescriptor(Get(), false);
    ExpectDescriptor(Get(), false);
}

// The strings and rows live inside the plug-in image, so they stay valid for
// as long as it is loaded.
TEST_F(DescriptorPlg, PointsIntoThePluginImage) {
    const PluginInfo* info = Get();
    MEMORY_BASIC_INFORMATION region;
    const void* pointers[] = {info, info->Name, info->Description, info->Section, info->Rows};
    for (const void* pointer : pointers) {
        ASSERT_NE(VirtualQuery(pointer, &region, sizeof region), 0u);
        EXPECT_EQ(region.AllocationBase, static_cast<void*>(Plugin));
    }
}

} // namespace
