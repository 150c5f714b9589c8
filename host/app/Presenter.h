// The host's dialog toolkit, headless: it prints what a dialog or message box
// shows and answers it as the command line says.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/DialogToolkit.h"

namespace hostapp {

// One step of answering a dialog: click a control, press a key on a control
// (or the form itself), or close the window with its close button.
struct TDialogAction {
    enum class Kind { Click, Key, Close } What = Kind::Click;
    std::string Control;
    int32_t Key = 0;
};

struct TDialogAnswers {
    bool CreateDirectory = false;                      // "Directory does not exist, Create?"
    std::vector<TDialogAction> NegativeCoords;         // the negative-coordinates dialog
    std::vector<TDialogAction> Status;                 // the status dialog
};

class TPresenter {
public:
    TPresenter(const TDialogAnswers& answers, std::FILE* out) : Answers(answers), Out(out) {}

    int32_t ShowModal(ui::IDialogForm& form);
    int32_t ShowMessageBox(ui::MessageBoxKind kind, const char* caption, const char* text);

private:
    const std::vector<TDialogAction>& ActionsFor(ui::IDialogForm& form) const;
    void Print(ui::IDialogForm& form);
    void Apply(ui::IDialogForm& form, const TDialogAction& action);

    const TDialogAnswers& Answers;
    std::FILE* Out;
};

// Parses "leave", "skip", "shift", "ok" or "cancel".
bool ParseNegativeCoordsAnswer(const std::string& text, std::vector<TDialogAction>& actions);
// Parses the status dialog's answer: "close", "escape" or "window", with the
// check box set first by `viewReport` ("on", "off" or empty to leave it).
bool ParseStatusAnswer(const std::string& button, const std::string& viewReport,
                       std::vector<TDialogAction>& actions);

}  // namespace hostapp
