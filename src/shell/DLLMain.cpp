// The library's entry: the module state is set up when the host loads it.
#include "shell/ModuleState.h"

#if defined(_WIN32)
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) shell::InitializeModuleState();
    return TRUE;
}
#else
__attribute__((constructor)) static void LibraryLoaded() { shell::InitializeModuleState(); }
#endif
