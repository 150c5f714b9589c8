// The simulated host's client: its views and documents, the message list and
// the command system, as a plug-in sees them through host::IHostClient.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "pcb/HostPcbModule.h"
#include "shell/HostClient.h"

namespace hostapp {

class TClient;

class TView final : public host::IHostView {
public:
    explicit TView(host::IHostDocument* document) : Document(document) {}
    host::IHostDocument* PCBAPI_CALL GetOwnerDocument() override { return Document; }

private:
    host::IHostDocument* Document;
};

class TDocument final : public host::IHostDocument {
public:
    TDocument(std::string kind, std::string fileName, std::string serverName);

    int32_t PCBAPI_CALL GetKind(char* buffer, int32_t size) override;
    int32_t PCBAPI_CALL GetFileName(char* buffer, int32_t size) override;
    int32_t PCBAPI_CALL GetServerName(char* buffer, int32_t size) override;
    host::IHostView* PCBAPI_CALL GetFirstView() override { return &View; }
    void PCBAPI_CALL BeforeChange() override { ++ChangesBegun; }
    void PCBAPI_CALL AfterChange() override { ++ChangesEnded; }

    const std::string Kind, FileName, ServerName;
    int ChangesBegun = 0, ChangesEnded = 0;

private:
    TView View{this};
};

class TMessageList final : public host::IMessageList {
public:
    explicit TMessageList(std::FILE* out) : Out(out) {}
    void PCBAPI_CALL AddMessage(const char* messageClass, const char* text, const char* source, const char* document,
                                const char* crossRefCommand, const char* crossRefParameters,
                                int32_t imageIndex) override;

private:
    std::FILE* Out;
};

class TServerModule final : public host::IServerModule {
public:
    TServerModule(std::string name, host::IPcbServerObjects* objects) : Name(std::move(name)), Objects(objects) {}
    int32_t PCBAPI_CALL GetName(char* buffer, int32_t size) override;
    host::IPcbServerObjects* PCBAPI_CALL GetPcbObjects() override { return Objects; }

    const std::string Name;

private:
    host::IPcbServerObjects* Objects;
};

// The PCB editor module's host-internal functions.
struct TPcbModule {
    HostPcb_OpenDocument_t OpenDocument = nullptr;
    HostPcb_GetDocumentInfo_t GetDocumentInfo = nullptr;
    HostPcb_RunCommand_t RunCommand = nullptr;
    HostPcb_SetProgressSink_t SetProgressSink = nullptr;
    HostPcb_SetClient_t SetClient = nullptr;
    HostPcb_GetServerObjects_t GetServerObjects = nullptr;
    HostPcb_Describe_t Describe = nullptr;
};

class TClient final : public host::IHostClient {
public:
    TClient(const TPcbModule& pcb, std::FILE* out);

    host::IHostView* PCBAPI_CALL GetCurrentView() override { return CurrentView; }
    void PCBAPI_CALL SetCurrentView(host::IHostView* view) override { CurrentView = view; }
    host::IServerModule* PCBAPI_CALL GetServerModuleByName(const char* name) override;
    host::IHostDocument* PCBAPI_CALL GetOpenDocumentByPath(const char* path) override;
    int32_t PCBAPI_CALL GetDocumentKindOfFile(const char* path, char* buffer, int32_t size) override;
    host::IHostDocument* PCBAPI_CALL OpenDocument(const char* kind, const char* path) override;
    void PCBAPI_CALL ShowDocument(host::IHostDocument* document) override;
    void PCBAPI_CALL SendCommandToServer(const char* command, host::IHostView* view) override;
    void PCBAPI_CALL DispatchCommand(const char* command, char* parameters, int32_t size,
                                     host::IHostView* context) override;
    host::IMessageList* PCBAPI_CALL GetMessageList() override { return &Messages; }
    int32_t PCBAPI_CALL GetProductName(char* buffer, int32_t size) override;

    // Opens a board description in the PCB editor and makes its view current;
    // false with the editor's message in `error`.
    bool OpenBoard(const std::string& path, std::string& error);
    pcbapi::THandle Board = 0;

private:
    TDocument* AddDocument(std::string kind, std::string fileName, std::string serverName);

    TPcbModule Pcb;
    std::FILE* Out;
    TMessageList Messages;
    TServerModule PcbServer;
    std::vector<std::unique_ptr<TDocument>> Documents;
    host::IHostView* CurrentView = nullptr;
};

// Copies a text into a caller's buffer of `size` characters, cut to fit and
// terminated; returns the length written.
int32_t CopyText(const std::string& text, char* buffer, int32_t size);

}  // namespace hostapp
