#include "shell/ModuleState.h"

#include "platform/Platform.h"
#include "report/NegativeCoords.h"

namespace shell {

TModuleState& ModuleState() {
    static TModuleState state;
    return state;
}

void* HostExecutableFunction(const char* name) { return platform::FindExport(platform::MainModule(), name); }

void InitializeModuleState() {
    TModuleState& state = ModuleState();
    state = TModuleState{};
    auto getClient =
        reinterpret_cast<host::ClientAPI_GetClientInterface_t>(HostExecutableFunction("ClientAPI_GetClientInterface"));
    state.HostClient = getClient ? getClient() : nullptr;
    report::ResetRememberedNegativeCoordsMode();
}

}  // namespace shell
