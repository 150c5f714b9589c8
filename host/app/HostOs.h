// The host program's few system calls: loading modules, its own directory,
// the terminal test and the environment.
#pragma once

#include <string>

namespace hostapp {

// Loads a module by path; null with a message in `error` on failure.
void* LoadModule(const std::string& path, std::string& error);
void* ModuleSymbol(void* module, const char* name);
// The directory of the running executable, ending in a path delimiter.
std::string ExecutableDirectory();
bool StderrIsTerminal();
void SetEnvironment(const char* name, const char* value);
bool DeleteFileIfExists(const std::string& path);

#if defined(_WIN32)
constexpr const char* PluginFileName = "SaveVORNPCB.dll";
constexpr const char* PcbModuleFileName = "HostPcb.dll";
#else
constexpr const char* PluginFileName = "libSaveVORNPCB.so";
constexpr const char* PcbModuleFileName = "libHostPcb.so";
#endif

}  // namespace hostapp
