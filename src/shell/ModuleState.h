// The plug-in's module state: one copy per loaded library, set up on load.
#pragma once

#include <string>

#include "board/PcbApi.h"
#include "shell/HostClient.h"

namespace shell {

struct TModuleState {
    // The host's client: from the host executable's ClientAPI_GetClientInterface
    // on load, replaced by the client that ServerFactory receives.
    host::IHostClient* HostClient = nullptr;
    pcbapi::THandle ScratchBoardHandle = 0;
    std::string ScratchFileName;
    host::IHostView* SavedView = nullptr;
};

TModuleState& ModuleState();

// Sets the module state up as on loading the library.
void InitializeModuleState();

// The host executable's exported functions, null when it lacks them.
void* HostExecutableFunction(const char* name);

}  // namespace shell
