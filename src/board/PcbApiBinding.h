// The plug-in's binding to the host PCB editor's flat interface.
//
// Each PcbApi_ function of PcbApi.h is available here under the same name in
// namespace `pcb`. The host module ("HostPcb.dll"; "libHostPcb.so" on Linux)
// is already loaded in the host process: on first use its handle is taken
// without loading it, and every function is resolved by name. While the module
// is not found, every call tries again. A function that the module lacks does
// nothing and returns 0, except the five that return 1 (see PcbApi.h).
#pragma once

#include "board/PcbApi.h"

namespace pcb {

#define PCBAPI_DECLARE_WRAPPER(result, name, params, args, missing) result name params;
PCBAPI_FUNCTIONS(PCBAPI_DECLARE_WRAPPER)
#undef PCBAPI_DECLARE_WRAPPER

// Forgets the module and every function, so that the next call binds again.
void RebindHostPcb();

// The file name under which the host module is looked for.
const char* HostPcbModuleName();

}  // namespace pcb
