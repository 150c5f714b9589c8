// The built modules export exactly their functions; the partial one lacks a few.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <dlfcn.h>

#include <string>
#include <vector>

#include "board/PcbApi.h"

namespace {

#define HOSTPCB_NAME(result, name, params, args, missing) #name,
const std::vector<std::string> AllFunctions = {PCBAPI_FUNCTIONS(HOSTPCB_NAME) "HostPcb_OpenDocument",
                                               "HostPcb_GetDocumentInfo", "HostPcb_RunCommand",
                                               "HostPcb_SetProgressSink", "HostPcb_SetClient",
                                               "HostPcb_GetServerObjects", "HostPcb_Describe"};
#undef HOSTPCB_NAME

// In the order of the function list.
const std::vector<std::string> Lacking = {"PcbApi_QueryLayer", "PcbApi_QueryBoardLayerPairsCount",
                                          "PcbApi_GetMemberFromClassAt", "PcbApi_Percent_Init"};

std::vector<std::string> Missing(const char* path) {
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(module, nullptr) << dlerror();
    std::vector<std::string> missing;
    if (!module) return missing;
    for (const std::string& name : AllFunctions)
        if (!dlsym(module, name.c_str())) missing.push_back(name);
    EXPECT_EQ(dlsym(module, "_ZN7hostpcb5StateEv"), nullptr);  // nothing of its inside
    dlclose(module);
    return missing;
}

TEST(Exports, ModuleExportsEveryFunction) { EXPECT_TRUE(Missing(HOSTPCB_MODULE).empty()); }

#if defined(HOSTPCB_PARTIAL_MODULE)
TEST(Exports, PartialModuleLacksItsHandful) { EXPECT_EQ(Missing(HOSTPCB_PARTIAL_MODULE), Lacking); }
#endif

}  // namespace
#endif
