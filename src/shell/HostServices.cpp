#include "shell/HostServices.h"

#include <vector>

#include "shell/ModuleState.h"

namespace shell {
namespace {

constexpr int32_t HostBufferSize = 4096;

template <typename Function>
Function HostFunction(const char* name) {
    return reinterpret_cast<Function>(HostExecutableFunction(name));
}

template <typename Call>
std::string TextResult(Call call) {
    std::vector<char> buffer(HostBufferSize, '\0');
    call(buffer.data(), HostBufferSize);
    buffer.back() = '\0';
    return buffer.data();
}

}  // namespace

std::string ForceFileNameExtension(const std::string& fileName, const std::string& extension) {
    auto force = HostFunction<host::ClientAPI_ForceFileNameExtension_t>("ClientAPI_ForceFileNameExtension");
    if (!force) return {};
    return TextResult([&](char* buffer, int32_t size) { force(fileName.c_str(), extension.c_str(), buffer, size); });
}

std::string VFSAssign(const std::string& fileName) {
    auto assign = HostFunction<host::VFSAPI_VFSAssign_t>("VFSAPI_VFSAssign");
    if (!assign) return {};
    return TextResult([&](char* buffer, int32_t size) { assign(fileName.c_str(), buffer, size); });
}

std::string VFSExtractFileName(const std::string& fileName) {
    auto extract = HostFunction<host::VFSAPI_VFS_ExtractFileName_t>("VFSAPI_VFS_ExtractFileName");
    if (!extract) return {};
    return TextResult([&](char* buffer, int32_t size) { extract(fileName.c_str(), buffer, size); });
}

void VFSDeleteFile(const std::string& fileName) {
    if (auto remove = HostFunction<host::VFSAPI_VFS_DeleteFile_t>("VFSAPI_VFS_DeleteFile")) remove(fileName.c_str(), 0);
}

std::string DocumentKind(host::IHostDocument* document) {
    if (!document) return {};
    return TextResult([&](char* buffer, int32_t size) { document->GetKind(buffer, size); });
}

std::string DocumentServerName(host::IHostDocument* document) {
    if (!document) return {};
    return TextResult([&](char* buffer, int32_t size) { document->GetServerName(buffer, size); });
}

std::string ProductName() {
    host::IHostClient* client = ModuleState().HostClient;
    if (!client) return {};
    return TextResult([&](char* buffer, int32_t size) { client->GetProductName(buffer, size); });
}

host::IHostView* CurrentView() {
    host::IHostClient* client = ModuleState().HostClient;
    return client ? client->GetCurrentView() : nullptr;
}

}  // namespace shell
