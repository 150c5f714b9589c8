// The PCB editor module's state and the declarations of its exports.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "Database.h"
#include "HostPcbModule.h"
#include "ServerObjects.h"

#if defined(_WIN32)
#define HOSTPCB_EXPORT __declspec(dllexport)
#else
#define HOSTPCB_EXPORT __attribute__((visibility("default")))
#endif

#define HOSTPCB_DECLARE_EXPORT(result, name, params, args, missing) HOSTPCB_EXPORT result PCBAPI_CALL name params;
extern "C" {
PCBAPI_FUNCTIONS(HOSTPCB_DECLARE_EXPORT)

HOSTPCB_EXPORT pcbapi::THandle PCBAPI_CALL HostPcb_OpenDocument(const char* path, char* error, int32_t size);
HOSTPCB_EXPORT int32_t PCBAPI_CALL HostPcb_GetDocumentInfo(pcbapi::THandle board, char* fileName, int32_t size,
                                                           uint8_t* isLibrary);
HOSTPCB_EXPORT int32_t PCBAPI_CALL HostPcb_RunCommand(const char* command, char* parameters, int32_t size);
HOSTPCB_EXPORT void PCBAPI_CALL HostPcb_SetProgressSink(const HostPcbProgressSink* sink);
HOSTPCB_EXPORT void PCBAPI_CALL HostPcb_SetClient(host::IHostClient* client);
HOSTPCB_EXPORT host::IPcbServerObjects* PCBAPI_CALL HostPcb_GetServerObjects();
HOSTPCB_EXPORT void PCBAPI_CALL HostPcb_Describe(pcbapi::THandle board,
                                                 void(PCBAPI_CALL* line)(const char* text, void* context),
                                                 void* context);
}
#undef HOSTPCB_DECLARE_EXPORT

namespace hostpcb {

struct ModuleState {
    Database db;
    HostPcbProgressSink sink{};
    bool hasSink = false;
    host::IHostClient* client = nullptr;
    int32_t processDepth = 0;
    ServerObjects server{db};
};

// The module's one state: its documents and what the host program handed over.
ModuleState& State();

// Writes a text into a caller's buffer: cut to fit, always terminated.
void CopyOut(std::string_view text, char* buffer, int32_t size);

// Query status values.
constexpr int32_t Ok = 0;
constexpr int32_t Failed = 1;

constexpr uint8_t ModeWrite = 0;
constexpr uint8_t ModeRead = 1;
constexpr uint8_t ModeWriteWithPrimitives = 2;

inline bool IsWrite(uint8_t mode) { return mode == ModeWrite || mode == ModeWriteWithPrimitives; }

// Transfers a value between the database and a record: read copies out,
// write copies in.
template <typename T, typename U>
void Transfer(uint8_t mode, T& stored, U& record) {
    if (mode == ModeRead)
        record = static_cast<U>(stored);
    else
        stored = static_cast<T>(record);
}

// The object of a handle when it is of the kind; none otherwise.
Object* ObjectOf(pcbapi::THandle handle, uint8_t kind = 0);

// Runs a PCB editor command on the current document; false for a command
// the editor does not know.
bool RunPcbCommand(std::string_view command);

}  // namespace hostpcb
