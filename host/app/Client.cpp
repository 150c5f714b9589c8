#include "Client.h"

#include <cstring>

#include "common/ParameterString.h"
#include "common/Strings.h"

namespace hostapp {

int32_t CopyText(const std::string& text, char* buffer, int32_t size) {
    if (!buffer || size <= 0) return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int32_t>(n);
}

TDocument::TDocument(std::string kind, std::string fileName, std::string serverName)
    : Kind(std::move(kind)), FileName(std::move(fileName)), ServerName(std::move(serverName)) {}

int32_t TDocument::GetKind(char* buffer, int32_t size) { return CopyText(Kind, buffer, size); }
int32_t TDocument::GetFileName(char* buffer, int32_t size) { return CopyText(FileName, buffer, size); }
int32_t TDocument::GetServerName(char* buffer, int32_t size) { return CopyText(ServerName, buffer, size); }

void TMessageList::AddMessage(const char* messageClass, const char* text, const char* source, const char* document,
                              const char* crossRefCommand, const char* crossRefParameters, int32_t imageIndex) {
    std::fprintf(Out, "Message %s %s\n", messageClass, text);
    std::fprintf(Out, "  source: %s; document: %s; cross-reference: %s %s; image %d\n", source, document,
                 crossRefCommand, crossRefParameters, static_cast<int>(imageIndex));
    std::fflush(Out);
}

int32_t TServerModule::GetName(char* buffer, int32_t size) { return CopyText(Name, buffer, size); }

TClient::TClient(const TPcbModule& pcb, std::FILE* out)
    : Pcb(pcb), Out(out), Messages(out), PcbServer("PCB", pcb.GetServerObjects ? pcb.GetServerObjects() : nullptr) {}

host::IServerModule* TClient::GetServerModuleByName(const char* name) {
    return name && common::SameText(name, "PCB") ? &PcbServer : nullptr;
}

host::IHostDocument* TClient::GetOpenDocumentByPath(const char* path) {
    if (!path) return nullptr;
    for (auto& document : Documents)
        if (common::SameText(document->FileName, path)) return document.get();
    return nullptr;
}

// The host knows reports and other texts as text documents, boards by their
// editor.
int32_t TClient::GetDocumentKindOfFile(const char* path, char* buffer, int32_t size) {
    const std::string name = path ? path : "";
    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    return CopyText(common::SameText(extension, "PcbDoc") ? "PCB" : "Text", buffer, size);
}

host::IHostDocument* TClient::OpenDocument(const char* kind, const char* path) {
    if (!kind || !path || !*path) return nullptr;
    if (host::IHostDocument* open = GetOpenDocumentByPath(path)) return open;
    const std::string serverName = common::SameText(kind, "Text") ? "TextEdit" : kind;
    std::fprintf(Out, "Opened document %s (%s)\n", path, kind);
    return AddDocument(kind, path, serverName);
}

void TClient::ShowDocument(host::IHostDocument* document) {
    if (!document) return;
    char name[4096];
    document->GetFileName(name, sizeof name);
    std::fprintf(Out, "Shown document %s\n", name);
    CurrentView = document->GetFirstView();
}

void TClient::SendCommandToServer(const char* command, host::IHostView*) {
    std::fprintf(Out, "Command %s\n", command ? command : "");
}

// "Client:" commands run in the client; the editor's own commands go to the
// PCB editor module. The common file dialog is not shown: it answers that the
// user cancelled.
void TClient::DispatchCommand(const char* command, char* parameters, int32_t size, host::IHostView*) {
    const std::string name = command ? command : "";
    if (common::SameText(name, "Client:RunCommonDialog")) {
        common::TParameterString params(parameters ? parameters : "");
        params.Set("Result", "False");
        if (parameters) CopyText(params.Text(), parameters, size);
        return;
    }
    if (Pcb.RunCommand) Pcb.RunCommand(name.c_str(), parameters, size);
}

int32_t TClient::GetProductName(char* buffer, int32_t size) { return CopyText("PCB Host", buffer, size); }

TDocument* TClient::AddDocument(std::string kind, std::string fileName, std::string serverName) {
    Documents.push_back(std::make_unique<TDocument>(std::move(kind), std::move(fileName), std::move(serverName)));
    return Documents.back().get();
}

bool TClient::OpenBoard(const std::string& path, std::string& error) {
    if (!Pcb.OpenDocument || !Pcb.GetDocumentInfo) {
        error = "the PCB editor module cannot open documents";
        return false;
    }
    char message[4096] = {};
    Board = Pcb.OpenDocument(path.c_str(), message, sizeof message);
    if (Board == 0) {
        error = message[0] ? message : path + ": cannot open";
        return false;
    }
    char fileName[4096] = {};
    uint8_t isLibrary = 0;
    Pcb.GetDocumentInfo(Board, fileName, sizeof fileName, &isLibrary);
    TDocument* document = AddDocument(isLibrary ? "PCBLib" : "PCB", fileName, "PCB");
    CurrentView = document->GetFirstView();
    return true;
}

}  // namespace hostapp
