// A host client whose only server is the PCB editor, answering with the
// object interface it is given; everything else is absent.
#pragma once

#include <cstring>

#include "shell/HostClient.h"
#include "shell/ModuleState.h"

namespace boardtest {

class TFakePcbModule : public host::IServerModule {
public:
    host::IPcbServerObjects* Objects = nullptr;
    int32_t PCBAPI_CALL GetName(char* buffer, int32_t size) override {
        std::strncpy(buffer, "PCB", static_cast<size_t>(size));
        return 3;
    }
    host::IPcbServerObjects* PCBAPI_CALL GetPcbObjects() override { return Objects; }
};

class TFakeHostClient : public host::IHostClient {
public:
    TFakePcbModule Pcb;
    host::IHostView* PCBAPI_CALL GetCurrentView() override { return nullptr; }
    void PCBAPI_CALL SetCurrentView(host::IHostView*) override {}
    host::IServerModule* PCBAPI_CALL GetServerModuleByName(const char* name) override {
        return std::strcmp(name, "PCB") == 0 ? &Pcb : nullptr;
    }
    host::IHostDocument* PCBAPI_CALL GetOpenDocumentByPath(const char*) override { return nullptr; }
    int32_t PCBAPI_CALL GetDocumentKindOfFile(const char*, char*, int32_t) override { return 0; }
    host::IHostDocument* PCBAPI_CALL OpenDocument(const char*, const char*) override { return nullptr; }
    void PCBAPI_CALL ShowDocument(host::IHostDocument*) override {}
    void PCBAPI_CALL SendCommandToServer(const char*, host::IHostView*) override {}
    void PCBAPI_CALL DispatchCommand(const char*, char*, int32_t, host::IHostView*) override {}
    host::IMessageList* PCBAPI_CALL GetMessageList() override { return nullptr; }
    int32_t PCBAPI_CALL GetProductName(char*, int32_t) override { return 0; }
};

// Installs the client in the module state for the scope's lifetime.
class TClientScope {
public:
    explicit TClientScope(host::IPcbServerObjects* objects) {
        Client.Pcb.Objects = objects;
        shell::ModuleState().HostClient = &Client;
    }
    ~TClientScope() { shell::ModuleState().HostClient = nullptr; }
    TClientScope(const TClientScope&) = delete;
    TClientScope& operator=(const TClientScope&) = delete;
    TFakeHostClient Client;
};

}  // namespace boardtest
