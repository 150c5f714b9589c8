#include "board/PcbApiBinding.h"

#include "platform/Platform.h"

namespace pcb {
namespace {

struct TBinding {
    void* Module = nullptr;
#define PCBAPI_DECLARE_POINTER(result, name, params, args, missing) pcbapi::name##_t name = nullptr;
    PCBAPI_FUNCTIONS(PCBAPI_DECLARE_POINTER)
#undef PCBAPI_DECLARE_POINTER
};

TBinding g_Binding;

// Binds every function once the module is found; false while it is not.
bool Bound() {
    if (g_Binding.Module) return true;
    void* module = platform::FindLoadedModule(HostPcbModuleName());
    if (!module) return false;
    g_Binding.Module = module;
#define PCBAPI_RESOLVE(result, name, params, args, missing) \
    g_Binding.name = reinterpret_cast<pcbapi::name##_t>(platform::FindExport(module, #name));
    PCBAPI_FUNCTIONS(PCBAPI_RESOLVE)
#undef PCBAPI_RESOLVE
    return true;
}

}  // namespace

const char* HostPcbModuleName() {
#if defined(_WIN32)
    return "HostPcb.dll";
#else
    return "libHostPcb.so";
#endif
}

void RebindHostPcb() { g_Binding = TBinding{}; }

#define PCBAPI_DEFINE_WRAPPER(result, name, params, args, missing) \
    result name params {                                          \
        if (Bound() && g_Binding.name) return g_Binding.name args; \
        return static_cast<result>(missing);                      \
    }
PCBAPI_FUNCTIONS(PCBAPI_DEFINE_WRAPPER)
#undef PCBAPI_DEFINE_WRAPPER

}  // namespace pcb
