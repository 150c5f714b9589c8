#include "FakeHost.h"

#include <cstring>
#include <stdexcept>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace fakehost {
namespace {

int32_t Copy(const std::string& text, char* buffer, int32_t size) {
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int32_t>(n);
}

class TView final : public host::IHostView {
public:
    host::IHostDocument* PCBAPI_CALL GetOwnerDocument() override;
};

class TDocument final : public host::IHostDocument {
public:
    int32_t PCBAPI_CALL GetKind(char* b, int32_t s) override { return Copy("Text", b, s); }
    int32_t PCBAPI_CALL GetFileName(char* b, int32_t s) override { return Copy(State().OpenDocumentPath, b, s); }
    int32_t PCBAPI_CALL GetServerName(char* b, int32_t s) override { return Copy("TextEdit", b, s); }
    host::IHostView* PCBAPI_CALL GetFirstView() override { return &View; }
    void PCBAPI_CALL BeforeChange() override { ++State().ChangesBegun; }
    void PCBAPI_CALL AfterChange() override { ++State().ChangesEnded; }
    TView View;
};

TDocument g_Document;
host::IHostDocument* TView::GetOwnerDocument() { return &g_Document; }

class TMessages final : public host::IMessageList {
public:
    void PCBAPI_CALL AddMessage(const char* c, const char* t, const char* s, const char* d, const char* x,
                                const char* p, int32_t i) override {
        State().Messages.push_back({c, t, s, d, x, p, i});
    }
} g_Messages;

class TClient final : public host::IHostClient {
public:
    host::IHostView* PCBAPI_CALL GetCurrentView() override { return nullptr; }
    void PCBAPI_CALL SetCurrentView(host::IHostView*) override {}
    host::IServerModule* PCBAPI_CALL GetServerModuleByName(const char*) override { return nullptr; }
    host::IHostDocument* PCBAPI_CALL GetOpenDocumentByPath(const char* path) override {
        return path && !State().OpenDocumentPath.empty() && State().OpenDocumentPath == path ? &g_Document : nullptr;
    }
    int32_t PCBAPI_CALL GetDocumentKindOfFile(const char*, char* b, int32_t s) override { return Copy("Text", b, s); }
    host::IHostDocument* PCBAPI_CALL OpenDocument(const char*, const char* path) override {
        State().OpenedDocuments.push_back(path);
        return nullptr;
    }
    void PCBAPI_CALL ShowDocument(host::IHostDocument*) override {}
    void PCBAPI_CALL SendCommandToServer(const char* command, host::IHostView*) override {
        State().Commands.push_back(command);
    }
    void PCBAPI_CALL DispatchCommand(const char*, char*, int32_t, host::IHostView*) override {}
    host::IMessageList* PCBAPI_CALL GetMessageList() override { return &g_Messages; }
    int32_t PCBAPI_CALL GetProductName(char* b, int32_t s) override { return Copy("Fake Host", b, s); }
} g_Client;

}  // namespace

TState& State() {
    static TState state;
    return state;
}

void Reset() { State() = TState{}; }

host::IHostClient* Client() { return &g_Client; }

}  // namespace fakehost

using fakehost::State;

FAKE_EXPORT host::IHostClient* ClientAPI_GetClientInterface() { return fakehost::Client(); }

FAKE_EXPORT void ClientAPI_ForceFileNameExtension(const char* fileName, const char* extension, char* buffer,
                                                  int32_t size) {
    std::string name = fileName;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && name.find('/', dot) == std::string::npos) name.erase(dot);
    fakehost::Copy(name + "." + extension, buffer, size);
}

FAKE_EXPORT void VFSAPI_VFSAssign(const char* fileName, char* buffer, int32_t size) {
    fakehost::Copy(fileName, buffer, size);
}

FAKE_EXPORT void VFSAPI_VFS_ExtractFileName(const char* fileName, char* buffer, int32_t size) {
    const std::string name = fileName;
    fakehost::Copy(name.substr(name.rfind('/') + 1), buffer, size);
}

FAKE_EXPORT int32_t DialogAPI_ShowModal(ui::IDialogForm* form) {
    State().DialogsShown.push_back(form->Caption());
    form->Activate();
    if (State().Dialog)
        State().Dialog(*form);
    else
        form->CloseRequested();
    return form->Result();
}

FAKE_EXPORT int32_t DialogAPI_MessageBox(ui::MessageBoxKind kind, const char* caption, const char* text) {
    State().Boxes.push_back(std::string(caption) + ": " + text);
    if (kind == ui::MessageBoxKind::Error && State().ThrowOnErrorBox) throw std::runtime_error(text);
    if (kind == ui::MessageBoxKind::Question) return State().AnswerYes ? ui::mrYes : ui::mrNo;
    return ui::mrOK;
}
