#include "HostOs.h"

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#endif

namespace hostapp {

#if defined(_WIN32)

void* LoadModule(const std::string& path, std::string& error) {
    HMODULE module = ::LoadLibraryA(path.c_str());
    if (!module) error = "cannot load " + path + " (error " + std::to_string(::GetLastError()) + ")";
    return reinterpret_cast<void*>(module);
}

void* ModuleSymbol(void* module, const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

std::string ExecutableDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string result(path);
    const size_t slash = result.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".\\") : result.substr(0, slash + 1);
}

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

void SetEnvironment(const char* name, const char* value) { _putenv_s(name, value); }

#else

void* LoadModule(const std::string& path, std::string& error) {
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) error = ::dlerror();
    return module;
}

void* ModuleSymbol(void* module, const char* name) { return ::dlsym(module, name); }

std::string ExecutableDirectory() {
    char path[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::string result = n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
    const size_t slash = result.rfind('/');
    return slash == std::string::npos ? std::string("./") : result.substr(0, slash + 1);
}

bool StderrIsTerminal() { return ::isatty(2) != 0; }

void SetEnvironment(const char* name, const char* value) { ::setenv(name, value, 1); }

#endif

bool DeleteFileIfExists(const std::string& path) { return std::remove(path.c_str()) == 0; }

}  // namespace hostapp
