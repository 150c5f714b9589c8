// Drives the plug-in's two dialogs and its message boxes as real Win32
// windows, the way a user would: a thread timer finds the open window, checks
// its caption, size, place and controls, and clicks, presses keys or closes
// it; the dialog's result and the form's state are checked afterwards.
//
//   dialog-driver.exe          run the checks; "N passed, N failed"
//   dialog-driver.exe show     show both dialogs for a person to look at
//
// It needs a window system (under Wine: an X display).
#include "report/NegativeCoords.h"
#include "report/TranslationComplete.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    (ok ? passed : failed)++;
}

// --- driving a modal window from inside its own message loop ---------------------

using TStep = std::function<void(HWND window)>;

struct TScript {
    const char* WindowClass;
    const char* Caption;
    std::vector<TStep> Steps;
    size_t Next = 0;
    int IdleTicks = 0;
};
TScript* g_Script = nullptr;

// A dialog that no step closes would block the run: after the steps it is
// closed and the run counts as failed.
constexpr int MaxIdleTicks = 100;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TScript& script = *g_Script;
    HWND window = ::FindWindowA(script.WindowClass, script.Caption);
    if (!window || !::IsWindowVisible(window)) return;
    if (script.Next < script.Steps.size()) {
        script.Steps[script.Next++](window);
    } else if (++script.IdleTicks == MaxIdleTicks) {
        Check(false, std::string("\"") + script.Caption + "\" closed by the steps");
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

template <typename Show>
auto Drive(const char* windowClass, const char* caption, std::vector<TStep> steps, Show show) {
    TScript script {windowClass, caption, std::move(steps)};
    g_Script = &script;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 40, Tick);
    auto result = show();
    ::KillTimer(nullptr, timer);
    g_Script = nullptr;
    Check(script.Next == script.Steps.size(), std::string("every step ran on \"") + caption + "\"");
    return result;
}

constexpr char FormClass[] = "OrvexModalForm";
constexpr char MessageBoxClass[] = "#32770";

// --- what a window shows ------------------------------------------------------------

HWND Child(HWND window, ui::TForm& form, const ui::TControl& control) {
    return ::GetDlgItem(window, 100 + form.IndexOf(control));
}

std::string Text(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

bool Checked(HWND button) { return ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckFrame(HWND window, int clientWidth, int clientHeight, int border, bool closeButton,
                const std::string& name) {
    RECT client {};
    ::GetClientRect(window, &client);
    Check(client.right == clientWidth && client.bottom == clientHeight,
          name + ": client area " + std::to_string(clientWidth) + " x " + std::to_string(clientHeight));
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    RECT expected {0, 0, clientWidth + 2 * border, clientHeight + 2 * border}, actual {};
    ::AdjustWindowRectEx(&expected, static_cast<DWORD>(style), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(window, GWL_EXSTYLE)));
    ::GetWindowRect(window, &actual);
    Check(actual.right - actual.left == expected.right - expected.left &&
              actual.bottom - actual.top == expected.bottom - expected.top,
          name + ": an inner border of " + std::to_string(border) + " pixels around the client area");
    Check(((style & WS_SYSMENU) != 0) == closeButton,
          name + (closeButton ? ": has a close button" : ": has no system menu and no close button"));
    Check((style & WS_THICKFRAME) == 0 && (style & WS_MAXIMIZEBOX) == 0, name + ": fixed border");
    RECT frame {};
    ::GetWindowRect(window, &frame);
    const int dx = (frame.left + frame.right) / 2 - ::GetSystemMetrics(SM_CXSCREEN) / 2;
    const int dy = (frame.top + frame.bottom) / 2 - ::GetSystemMetrics(SM_CYSCREEN) / 2;
    Check(std::abs(dx) <= 1 && std::abs(dy) <= 1, name + ": centred on the screen");
}

void CheckControls(HWND window, ui::TForm& form, const std::string& name) {
    bool placed = true;
    for (int32_t i = 0; i < form.ControlCount(); ++i) {
        ui::IDialogControl& control = *form.Control(i);
        HWND child = ::GetDlgItem(window, 100 + i);
        RECT r {};
        if (!child || !::GetWindowRect(child, &r)) {
            placed = false;
            continue;
        }
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        if (r.left != control.Left() || r.top != control.Top() || r.right - r.left != control.Width() ||
            r.bottom - r.top != control.Height()) {
            std::printf("     %s at %ld,%ld size %ld x %ld\n", control.Name(), r.left, r.top, r.right - r.left,
                        r.bottom - r.top);
            placed = false;
        }
    }
    Check(placed, name + ": every control at its place and size");
}

bool IsBold(HWND control) {
    LOGFONTA font {};
    HFONT handle = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    return handle && ::GetObjectA(handle, sizeof font, &font) && font.lfWeight >= FW_BOLD;
}

// The colour the dialog gives a static control's text.
COLORREF TextColor(HWND window, HWND control) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const COLORREF color = ::GetTextColor(dc);
    ::DeleteDC(dc);
    return color;
}

void Click(HWND button) { ::SendMessageA(button, BM_CLICK, 0, 0); }

void PressKey(HWND target, WPARAM key) { ::PostMessageA(target, WM_KEYDOWN, key, 0); }

// --- the negative-coordinates dialog --------------------------------------------------

constexpr char NegativeCaption[] = "V-ORN Translation Problems";

void NegativeCoordsChosenWithOK() {
    report::ResetRememberedNegativeCoordsMode();
    report::TNegativeCoordsForm layout;  // the same controls as the dialog shown
    const uint8_t mode = Drive(FormClass, NegativeCaption,
        {
            [&](HWND w) {
                CheckFrame(w, 361, 193, 8, false, "negative-coordinates dialog");
                CheckControls(w, layout, "negative-coordinates dialog");
                Check(Text(Child(w, layout, layout.xrbSkip)) ==
                          "Do not export primitives with negative coordinates",
                      "negative-coordinates dialog: radio button text");
                Check(Checked(Child(w, layout, layout.xrbSkip)) &&
                          !Checked(Child(w, layout, layout.xrbLeaveAsIs)),
                      "negative-coordinates dialog: skip preselected after loading");
                HWND warning = Child(w, layout, layout.lblWarning);
                Check(!::IsWindowVisible(warning), "negative-coordinates dialog: warning hidden for skip");
                Check(IsBold(warning), "negative-coordinates dialog: warning in bold");
                Check(TextColor(w, warning) == layout.lblWarning.Color() && layout.lblWarning.Color() == RGB(255, 0, 0),
                      "negative-coordinates dialog: warning in red");
                Check((::GetWindowLongA(Child(w, layout, layout.xrbShift), GWL_STYLE) & WS_TABSTOP) == 0,
                      "negative-coordinates dialog: radio buttons are no tab stops");
                Click(Child(w, layout, layout.xrbLeaveAsIs));
            },
            [&](HWND w) {
                Check(::IsWindowVisible(Child(w, layout, layout.lblWarning)),
                      "negative-coordinates dialog: leave-as-is shows the warning at once");
                Check(Checked(Child(w, layout, layout.xrbLeaveAsIs)) && !Checked(Child(w, layout, layout.xrbSkip)),
                      "negative-coordinates dialog: one radio button selected");
                Click(Child(w, layout, layout.xrbShift));
            },
            [&](HWND w) {
                Check(!::IsWindowVisible(Child(w, layout, layout.lblWarning)),
                      "negative-coordinates dialog: another choice hides the warning");
                Click(Child(w, layout, layout.btnOK));
            },
        },
        [] { return report::AskNegativeCoordsMode(); });
    Check(mode == report::ncShift, "negative-coordinates dialog: OK returns the chosen mode");
    Check(report::RememberedNegativeCoordsMode() == report::ncShift,
          "negative-coordinates dialog: OK remembers the chosen mode");
}

void NegativeCoordsClosedByKeyboard() {
    report::TNegativeCoordsForm layout;
    const uint8_t mode = Drive(FormClass, NegativeCaption,
        {
            [&](HWND w) {
                Check(Checked(Child(w, layout, layout.xrbShift)), "negative-coordinates dialog: remembered mode preselected");
                Click(Child(w, layout, layout.xrbLeaveAsIs));
            },
            [](HWND w) { ::PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); },
        },
        [] { return report::AskNegativeCoordsMode(); });
    Check(mode == report::ncShift && report::RememberedNegativeCoordsMode() == report::ncShift,
          "negative-coordinates dialog: the close command keeps the remembered mode");
}

// --- the status dialog ------------------------------------------------------------------

constexpr char StatusCaption[] = "VORN Translator";

struct TStatusRun {
    int32_t Result;
    bool ViewReport;
};

TStatusRun ShowStatus(std::vector<TStep> steps) {
    report::TTranslationStatus status;
    status.LabelStatus.SetText("Status: Translation Complete, Warnings Found");
    status.CheckBoxViewReport.SetChecked(true);
    const int32_t result = Drive(FormClass, StatusCaption, std::move(steps), [&] { return status.ShowModal(); });
    return {result, status.CheckBoxViewReport.Checked() != 0};
}

void StatusDialog() {
    report::TTranslationStatus layout;
    const auto escaped = ShowStatus({
        [&](HWND w) {
            CheckFrame(w, 239, 100, 0, true, "status dialog");
            CheckControls(w, layout, "status dialog");
            Check(Text(Child(w, layout, layout.LabelStatus)) == "Status: Translation Complete, Warnings Found",
                  "status dialog: the status text set before showing");
            Check(::GetFocus() == Child(w, layout, layout.ButtonOK), "status dialog: the focus on the button");
            Check(Checked(Child(w, layout, layout.CheckBoxViewReport)), "status dialog: view report checked");
            Check((::GetWindowLongA(Child(w, layout, layout.ButtonOK), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON,
                  "status dialog: the button is the default");
            Click(Child(w, layout, layout.CheckBoxViewReport));
        },
        [&](HWND w) {
            Check(!Checked(Child(w, layout, layout.CheckBoxViewReport)), "status dialog: a click clears the check box");
            PressKey(Child(w, layout, layout.CheckBoxViewReport), VK_ESCAPE);
        },
    });
    Check(escaped.Result == ui::mrCancel && !escaped.ViewReport,
          "status dialog: Escape on the check box closes with Cancel");

    const auto entered = ShowStatus({[&](HWND w) { PressKey(Child(w, layout, layout.ButtonOK), VK_RETURN); }});
    Check(entered.Result == ui::mrOK && entered.ViewReport, "status dialog: Enter closes with OK");

    const auto clicked = ShowStatus({[&](HWND w) { Click(Child(w, layout, layout.ButtonOK)); }});
    Check(clicked.Result == ui::mrOK, "status dialog: Close closes with OK");

    const auto closed = ShowStatus({[](HWND w) { ::PostMessageA(w, WM_CLOSE, 0, 0); }});
    Check(closed.Result == ui::mrCancel, "status dialog: the title-bar close button gives Cancel");
}

// --- message boxes --------------------------------------------------------------------------

void MessageBoxes() {
    const struct {
        ui::MessageBoxKind Kind;
        const char* Caption;
        WPARAM Button;
        int32_t Expected;
        const char* What;
    } cases[] = {
        {ui::MessageBoxKind::Question, "Confirm", IDYES, ui::mrYes, "question answered Yes"},
        {ui::MessageBoxKind::Question, "Confirm", IDNO, ui::mrNo, "question answered No"},
        {ui::MessageBoxKind::Error, "Error", IDOK, ui::mrOK, "error box"},
        {ui::MessageBoxKind::Warning, "Warning", IDOK, ui::mrOK, "warning box"},
    };
    for (const auto& c : cases) {
        const int32_t answer = Drive(MessageBoxClass, c.Caption,
            {[&](HWND w) {
                Check(::GetDlgItem(w, static_cast<int>(c.Button)) != nullptr,
                      std::string("message box: ") + c.What + " has its button");
                ::PostMessageA(w, WM_COMMAND, c.Button, 0);
            }},
            [&] { return ui::ShowMessageBox(c.Kind, c.Caption, "Directory does not exist, Create?"); });
        Check(answer == c.Expected, std::string("message box: ") + c.What);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "show") {
        report::AskNegativeCoordsMode();
        report::TTranslationStatus status;
        status.LabelStatus.SetText("Status: Translation Failed");
        status.CheckBoxViewReport.SetChecked(true);
        status.ShowModal();
        return 0;
    }
    NegativeCoordsChosenWithOK();
    NegativeCoordsClosedByKeyboard();
    StatusDialog();
    MessageBoxes();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
