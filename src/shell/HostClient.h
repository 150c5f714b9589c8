// The host application's client: its views, documents, servers, message list
// and command system, and the functions that the host executable exports.
//
// The interfaces are handed over by the host (ClientAPI_GetClientInterface, or
// the client given to ServerFactory). The host owns every object behind them;
// they stay valid while the host runs. Texts cross as zero-terminated 8-bit
// strings; a text result is written into the caller's buffer of the given size
// (cut to fit, always terminated) and its length is returned.
#pragma once

#include <cstdint>

#include "board/PcbApi.h"

namespace host {

class IPcbServerObjects;

class IHostView;

class IHostDocument {
public:
    virtual int32_t PCBAPI_CALL GetKind(char* buffer, int32_t size) = 0;
    virtual int32_t PCBAPI_CALL GetFileName(char* buffer, int32_t size) = 0;
    virtual int32_t PCBAPI_CALL GetServerName(char* buffer, int32_t size) = 0;
    virtual IHostView* PCBAPI_CALL GetFirstView() = 0;
    virtual void PCBAPI_CALL BeforeChange() = 0;
    virtual void PCBAPI_CALL AfterChange() = 0;

protected:
    ~IHostDocument() = default;
};

class IHostView {
public:
    virtual IHostDocument* PCBAPI_CALL GetOwnerDocument() = 0;

protected:
    ~IHostView() = default;
};

class IServerModule {
public:
    virtual int32_t PCBAPI_CALL GetName(char* buffer, int32_t size) = 0;
    // The PCB editor's object interface; none for other servers.
    virtual IPcbServerObjects* PCBAPI_CALL GetPcbObjects() = 0;

protected:
    ~IServerModule() = default;
};

class IMessageList {
public:
    virtual void PCBAPI_CALL AddMessage(const char* messageClass, const char* text, const char* source,
                                        const char* document, const char* crossRefCommand,
                                        const char* crossRefParameters, int32_t imageIndex) = 0;

protected:
    ~IMessageList() = default;
};

// The image index of a locked-file notice in the host's message list.
constexpr int32_t LockedFileImageIndex = 3;

class IHostClient {
public:
    virtual IHostView* PCBAPI_CALL GetCurrentView() = 0;
    virtual void PCBAPI_CALL SetCurrentView(IHostView* view) = 0;
    virtual IServerModule* PCBAPI_CALL GetServerModuleByName(const char* name) = 0;
    virtual IHostDocument* PCBAPI_CALL GetOpenDocumentByPath(const char* path) = 0;
    virtual int32_t PCBAPI_CALL GetDocumentKindOfFile(const char* path, char* buffer, int32_t size) = 0;
    virtual IHostDocument* PCBAPI_CALL OpenDocument(const char* kind, const char* path) = 0;
    virtual void PCBAPI_CALL ShowDocument(IHostDocument* document) = 0;
    // Sends a command ("Server:Command") to its server for a view.
    virtual void PCBAPI_CALL SendCommandToServer(const char* command, IHostView* view) = 0;
    // Runs a host command; it reads its parameters from the buffer and may
    // leave results in it.
    virtual void PCBAPI_CALL DispatchCommand(const char* command, char* parameters, int32_t size,
                                             IHostView* context) = 0;
    // None when the host has no message list.
    virtual IMessageList* PCBAPI_CALL GetMessageList() = 0;
    virtual int32_t PCBAPI_CALL GetProductName(char* buffer, int32_t size) = 0;

protected:
    ~IHostClient() = default;
};

// The PCB editor's object interface: the board by handle, its layer stack and
// each layer's in-use flag.
class IPcbLayerObject {
public:
    virtual uint8_t PCBAPI_CALL IsUsed() = 0;

protected:
    ~IPcbLayerObject() = default;
};

class IPcbLayerStack {
public:
    virtual IPcbLayerObject* PCBAPI_CALL LayerObject(pcbapi::THostLayer layer) = 0;

protected:
    ~IPcbLayerStack() = default;
};

class IPcbBoardObject {
public:
    virtual IPcbLayerStack* PCBAPI_CALL GetLayerStack() = 0;

protected:
    ~IPcbBoardObject() = default;
};

class IPcbServerObjects {
public:
    virtual IPcbBoardObject* PCBAPI_CALL GetBoardByHandle(pcbapi::THandle board) = 0;

protected:
    ~IPcbServerObjects() = default;
};

// Functions exported by the host executable, found by name.
using ClientAPI_GetClientInterface_t = IHostClient*(PCBAPI_CALL*)();
// Writes the file name with its extension replaced into the buffer.
using ClientAPI_ForceFileNameExtension_t = void(PCBAPI_CALL*)(const char* fileName, const char* extension,
                                                               char* buffer, int32_t size);
// Binds a text file to a name for the following open: the host hands back the
// name of the file the open is to use.
using VFSAPI_VFSAssign_t = void(PCBAPI_CALL*)(const char* fileName, char* buffer, int32_t size);
using VFSAPI_VFS_ExtractFileName_t = void(PCBAPI_CALL*)(const char* fileName, char* buffer, int32_t size);
using VFSAPI_VFS_DeleteFile_t = void(PCBAPI_CALL*)(const char* fileName, int32_t flags);

}  // namespace host
