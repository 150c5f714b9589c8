#include "Exports.h"

#include <cstdio>
#include <string>

#include "HostOs.h"

#if defined(_WIN32)
#define HOST_EXPORT extern "C" __declspec(dllexport)
#else
#define HOST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace hostapp {
namespace {
TClient* g_Client = nullptr;
TPresenter* g_Presenter = nullptr;

size_t NameStart(const std::string& name) {
    const size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}
}  // namespace

void SetExportedClient(TClient* client) { g_Client = client; }
void SetExportedPresenter(TPresenter* presenter) { g_Presenter = presenter; }

}  // namespace hostapp

using hostapp::CopyText;

HOST_EXPORT host::IHostClient* PCBAPI_CALL ClientAPI_GetClientInterface() { return hostapp::g_Client; }

HOST_EXPORT void PCBAPI_CALL ClientAPI_ForceFileNameExtension(const char* fileName, const char* extension,
                                                               char* buffer, int32_t size) {
    std::string name = fileName ? fileName : "";
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot >= hostapp::NameStart(name)) name.erase(dot);
    CopyText(name + "." + (extension ? extension : ""), buffer, size);
}

// The host's file system maps every name onto the file of that name.
HOST_EXPORT void PCBAPI_CALL VFSAPI_VFSAssign(const char* fileName, char* buffer, int32_t size) {
    CopyText(fileName ? fileName : "", buffer, size);
}

HOST_EXPORT void PCBAPI_CALL VFSAPI_VFS_ExtractFileName(const char* fileName, char* buffer, int32_t size) {
    const std::string name = fileName ? fileName : "";
    CopyText(name.substr(hostapp::NameStart(name)), buffer, size);
}

HOST_EXPORT void PCBAPI_CALL VFSAPI_VFS_DeleteFile(const char* fileName, int32_t) {
    if (fileName) hostapp::DeleteFileIfExists(fileName);
}

HOST_EXPORT int32_t PCBAPI_CALL DialogAPI_ShowModal(ui::IDialogForm* form) {
    if (!form) return ui::mrCancel;
    if (!hostapp::g_Presenter) {
        form->CloseRequested();
        return form->Result();
    }
    return hostapp::g_Presenter->ShowModal(*form);
}

HOST_EXPORT int32_t PCBAPI_CALL DialogAPI_MessageBox(ui::MessageBoxKind kind, const char* caption, const char* text) {
    if (!hostapp::g_Presenter) return kind == ui::MessageBoxKind::Question ? ui::mrNo : ui::mrOK;
    return hostapp::g_Presenter->ShowMessageBox(kind, caption ? caption : "", text ? text : "");
}
