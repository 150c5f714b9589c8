#include "Presenter.h"

#include <cstring>

namespace hostapp {

using ui::ControlKind;

namespace {

const char* KindWord(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return "label";
        case ControlKind::CheckBox: return "check box";
        case ControlKind::RadioButton: return "radio button";
        case ControlKind::Button: return "button";
        case ControlKind::Bevel: return "bevel";
    }
    return "control";
}

const char* ResultWord(int32_t result) {
    switch (result) {
        case ui::mrOK: return "OK";
        case ui::mrCancel: return "Cancel";
        case ui::mrYes: return "Yes";
        case ui::mrNo: return "No";
        default: return "None";
    }
}

int32_t FindControl(ui::IDialogForm& form, const std::string& name) {
    for (int32_t i = 0; i < form.ControlCount(); ++i)
        if (name == form.Control(i)->Name()) return i;
    return -1;
}

std::string StateOf(ui::IDialogControl& control) {
    std::string state;
    if (control.Kind() == ControlKind::CheckBox || control.Kind() == ControlKind::RadioButton)
        state += control.Checked() ? " [x]" : " [ ]";
    if (!control.Visible()) state += " hidden";
    if (control.IsDefault()) state += " default";
    if (control.Bold()) state += " bold";
    if (control.Color() == 0x0000FF) state += " red";
    if (control.Kind() == ControlKind::RadioButton && !control.TabStop()) state += " no-tab-stop";
    return state;
}

}  // namespace

void TPresenter::Print(ui::IDialogForm& form) {
    std::fprintf(Out, "Dialog \"%s\" (%d x %d, border %d%s%s)\n", form.Caption(), form.ClientWidth(),
                 form.ClientHeight(), form.InnerBorder(), form.HasSystemMenu() ? "" : ", no system menu",
                 form.HasCloseButton() ? "" : ", no close button");
    for (int32_t i = 0; i < form.ControlCount(); ++i) {
        ui::IDialogControl& c = *form.Control(i);
        std::string text = c.Text();
        for (char& ch : text)
            if (ch == '\n') ch = '|';
        std::fprintf(Out, "  %s %s at %d,%d size %d x %d", KindWord(c.Kind()), c.Name(), c.Left(), c.Top(),
                     c.Width(), c.Height());
        if (!text.empty()) std::fprintf(Out, ": \"%s\"", text.c_str());
        std::fprintf(Out, "%s\n", StateOf(c).c_str());
    }
}

const std::vector<TDialogAction>& TPresenter::ActionsFor(ui::IDialogForm& form) const {
    return FindControl(form, "CheckBoxViewReport") >= 0 ? Answers.Status : Answers.NegativeCoords;
}

void TPresenter::Apply(ui::IDialogForm& form, const TDialogAction& action) {
    const int32_t index = action.Control.empty() ? -1 : FindControl(form, action.Control);
    std::vector<std::string> before;
    for (int32_t i = 0; i < form.ControlCount(); ++i) before.push_back(StateOf(*form.Control(i)));
    switch (action.What) {
        case TDialogAction::Kind::Click:
            std::fprintf(Out, "  > click %s\n", action.Control.c_str());
            form.Click(index);
            break;
        case TDialogAction::Kind::Key:
            std::fprintf(Out, "  > key %d on %s\n", static_cast<int>(action.Key),
                         action.Control.empty() ? "the dialog" : action.Control.c_str());
            form.KeyDown(index, action.Key);
            break;
        case TDialogAction::Kind::Close:
            std::fprintf(Out, "  > close button\n");
            form.CloseRequested();
            break;
    }
    for (int32_t i = 0; i < form.ControlCount(); ++i) {
        const std::string after = StateOf(*form.Control(i));
        if (after != before[static_cast<size_t>(i)])
            std::fprintf(Out, "    %s now%s\n", form.Control(i)->Name(), after.empty() ? " plain" : after.c_str());
    }
}

int32_t TPresenter::ShowModal(ui::IDialogForm& form) {
    Print(form);
    form.Activate();
    if (form.FocusedControl() >= 0) std::fprintf(Out, "  focus on %s\n", form.Control(form.FocusedControl())->Name());
    for (const TDialogAction& action : ActionsFor(form)) {
        if (form.Result() != ui::mrNone) break;
        Apply(form, action);
    }
    // A dialog still open after its answers is closed as the user would
    // leave it: with the window's close command.
    if (form.Result() == ui::mrNone) form.CloseRequested();
    std::fprintf(Out, "  result %s\n", ResultWord(form.Result()));
    std::fflush(Out);
    return form.Result();
}

int32_t TPresenter::ShowMessageBox(ui::MessageBoxKind kind, const char* caption, const char* text) {
    const int32_t result = kind != ui::MessageBoxKind::Question ? ui::mrOK
                           : Answers.CreateDirectory             ? ui::mrYes
                                                                 : ui::mrNo;
    const char* word = kind == ui::MessageBoxKind::Error     ? "Error box"
                       : kind == ui::MessageBoxKind::Warning ? "Warning box"
                                                             : "Question box";
    std::fprintf(Out, "%s \"%s\": %s -> %s\n", word, caption, text, ResultWord(result));
    std::fflush(Out);
    return result;
}

bool ParseNegativeCoordsAnswer(const std::string& text, std::vector<TDialogAction>& actions) {
    using Kind = TDialogAction::Kind;
    actions.clear();
    if (text == "leave") actions.push_back({Kind::Click, "xrbLeaveAsIs", 0});
    else if (text == "skip") actions.push_back({Kind::Click, "xrbSkip", 0});
    else if (text == "shift") actions.push_back({Kind::Click, "xrbShift", 0});
    else if (text == "cancel") {
        actions.push_back({Kind::Close, "", 0});
        return true;
    } else if (text != "ok")
        return false;
    actions.push_back({Kind::Click, "btnOK", 0});
    return true;
}

bool ParseStatusAnswer(const std::string& button, const std::string& viewReport,
                       std::vector<TDialogAction>& actions) {
    using Kind = TDialogAction::Kind;
    actions.clear();
    // The dialog opens with the check mark set: "off" clears it.
    if (viewReport == "off") actions.push_back({Kind::Click, "CheckBoxViewReport", 0});
    else if (!viewReport.empty() && viewReport != "on")
        return false;
    if (button == "close") actions.push_back({Kind::Click, "ButtonOK", 0});
    else if (button == "escape") actions.push_back({Kind::Key, "ButtonOK", ui::KeyEscape});
    else if (button == "window") actions.push_back({Kind::Close, "", 0});
    else
        return false;
    return true;
}

}  // namespace hostapp
