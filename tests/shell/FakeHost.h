// A scripted host for the plug-in's shell tests: the test executable itself
// exports the host executable's functions, as the real host does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/DialogToolkit.h"
#include "shell/HostClient.h"

namespace fakehost {

struct TMessage {
    std::string Class, Text, Source, Document, Command, Parameters;
    int32_t ImageIndex = 0;
};

struct TState {
    std::vector<TMessage> Messages;
    std::vector<std::string> Boxes;          // "<caption>: <text>" of every message box
    bool AnswerYes = false;                  // to questions
    bool ThrowOnErrorBox = false;            // an error raised by the host's dialog
    // Drives every modal form; default: the window's close button.
    std::function<void(ui::IDialogForm&)> Dialog;
    std::vector<std::string> DialogsShown;   // captions
    std::vector<std::string> OpenedDocuments;
    std::vector<std::string> Commands;
    int ChangesBegun = 0, ChangesEnded = 0;
    std::string OpenDocumentPath;            // a document the host has open
};

TState& State();
void Reset();
host::IHostClient* Client();

}  // namespace fakehost
