// Forms and message boxes as Win32 windows.
//
// The form is the model: the window shows its controls, forwards every click,
// key and close request to it, and after each event takes the controls' check
// marks, visibility and texts from it again. The window lives for one modal
// call; its class is registered for that call only, so nothing of it outlives
// the library.
// The dialog layer comes first: it declares key-code constants that
// windows.h would otherwise turn into macros.
#include "platform/NativeDialogs.h"

#include <windows.h>

#include <string>
#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace ui {
namespace {

constexpr char WindowClassName[] = "OrvexModalForm";
// Child window ids are the control's index plus this base, so that no id
// collides with IDOK / IDCANCEL.
constexpr int ControlIdBase = 100;

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// A label's lines are separated by '\n'; static controls break at CR LF.
std::string WindowText(IDialogControl& control) {
    std::string text;
    for (const char* c = control.Text(); c && *c; ++c) {
        if (*c == '\n') text += '\r';
        text += *c;
    }
    return text;
}

DWORD ControlStyle(IDialogControl& control, bool firstRadio) {
    DWORD style = WS_CHILD;
    switch (control.Kind()) {
        // Labels break only where their text does, as the dialog style's do.
        case ControlKind::Label: style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX; break;
        case ControlKind::CheckBox: style |= BS_CHECKBOX; break;
        case ControlKind::RadioButton: style |= BS_RADIOBUTTON | (firstRadio ? WS_GROUP : 0); break;
        case ControlKind::Button: style |= control.IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON; break;
        // Drawn by the form (WM_DRAWITEM): the system's etched line would
        // change the control's size.
        case ControlKind::Bevel: style |= SS_OWNERDRAW; break;
    }
    if (control.TabStop()) style |= WS_TABSTOP;
    return style;
}

const char* ControlClass(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::Bevel ? "STATIC" : "BUTTON";
}

bool HasCheckMark(ControlKind kind) { return kind == ControlKind::CheckBox || kind == ControlKind::RadioButton; }

class FormWindow {
public:
    explicit FormWindow(IDialogForm& form) : form_(form) {}
    ~FormWindow();

    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    int32_t Run();

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    bool Create();
    void CreateControls();
    void Synchronize();
    void FocusFormsChoice();
    void PaintInnerBorder();
    int32_t IndexOf(HWND control) const;
    bool IsOwnKey(const MSG& msg) const;

    IDialogForm& form_;
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    int border_ = 0;
    std::vector<HWND> controls_;
    std::vector<std::string> texts_;
};

FormWindow::~FormWindow() {
    if (window_) ::DestroyWindow(window_);
    if (boldFont_) ::DeleteObject(boldFont_);
    if (font_) ::DeleteObject(font_);
}

bool FormWindow::Create() {
    // The dialog style's font is the system's 8-point dialog font, for which
    // the forms' places and sizes are made.
    LOGFONTA font {};
    if (::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) {
        font_ = ::CreateFontIndirectA(&font);
        font.lfWeight = FW_BOLD;
        boldFont_ = ::CreateFontIndirectA(&font);
    }

    const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | (form_.HasSystemMenu() ? WS_SYSMENU : 0);
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    border_ = form_.InnerBorder() > 0 ? form_.InnerBorder() : 0;
    RECT frame {0, 0, form_.ClientWidth() + 2 * border_, form_.ClientHeight() + 2 * border_};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;

    owner_ = ::GetActiveWindow();
    window_ = ::CreateWindowExA(exStyle, WindowClassName, form_.Caption(), style, left, top, width, height, owner_,
                                nullptr, ThisModule(), this);
    if (!window_) return false;
    if (form_.HasSystemMenu() && !form_.HasCloseButton()) ::EnableMenuItem(::GetSystemMenu(window_, FALSE), SC_CLOSE, MF_GRAYED);
    CreateControls();
    return true;
}

void FormWindow::CreateControls() {
    bool inRadioGroup = false;
    for (int32_t i = 0; i < form_.ControlCount(); ++i) {
        IDialogControl& control = *form_.Control(i);
        const bool radio = control.Kind() == ControlKind::RadioButton;
        const std::string text = WindowText(control);
        HWND child = ::CreateWindowExA(0, ControlClass(control.Kind()), text.c_str(),
                                       ControlStyle(control, radio && !inRadioGroup), control.Left(),
                                       control.Top(), control.Width(), control.Height(), window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdBase + i)),
                                       ThisModule(), nullptr);
        inRadioGroup = radio;
        if (HFONT font = control.Bold() && boldFont_ ? boldFont_ : font_)
            ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        controls_.push_back(child);
        texts_.push_back(text);
    }
    Synchronize();
}

// The form may change any control in its event handlers.
void FormWindow::Synchronize() {
    for (size_t i = 0; i < controls_.size(); ++i) {
        IDialogControl& control = *form_.Control(static_cast<int32_t>(i));
        HWND child = controls_[i];
        if (std::string text = WindowText(control); text != texts_[i]) {
            ::SetWindowTextA(child, text.c_str());
            texts_[i] = std::move(text);
        }
        if (HasCheckMark(control.Kind()))
            ::SendMessageA(child, BM_SETCHECK, control.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        const bool visible = control.Visible() != 0;
        const bool shown = (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
        if (shown != visible) ::ShowWindow(child, visible ? SW_SHOWNA : SW_HIDE);
    }
}

void FormWindow::FocusFormsChoice() {
    const int32_t focused = form_.FocusedControl();
    if (focused >= 0 && static_cast<size_t>(focused) < controls_.size())
        ::SetFocus(controls_[focused]);
    else
        ::SetFocus(window_);
}

void FormWindow::PaintInnerBorder() {
    RECT window {}, client {};
    ::GetWindowRect(window_, &window);
    ::GetClientRect(window_, &client);
    ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::OffsetRect(&client, -window.left, -window.top);
    RECT inner = client;
    ::InflateRect(&inner, border_, border_);
    HDC dc = ::GetWindowDC(window_);
    ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    ::FillRect(dc, &inner, ::GetSysColorBrush(COLOR_BTNFACE));
    ::ReleaseDC(window_, dc);
}

int32_t FormWindow::IndexOf(HWND control) const {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i] == control) return static_cast<int32_t>(i);
    return -1;
}

// Return and Escape go to the form, whichever of its windows has the focus,
// before the system's dialog navigation could act on them itself.
bool FormWindow::IsOwnKey(const MSG& msg) const {
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN) &&
           (msg.hwnd == window_ || ::IsChild(window_, msg.hwnd));
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam) : ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
                const int32_t index = IndexOf(reinterpret_cast<HWND>(lParam));
                if (index >= 0) {
                    form_.Click(index);
                    Synchronize();
                }
                return 0;
            }
            break;
        case WM_CLOSE:
            form_.CloseRequested();
            Synchronize();
            return 0;
        // The inner border belongs to the frame, so that the client area
        // and the controls' places are the form's own.
        case WM_NCCALCSIZE: {
            const LRESULT result = ::DefWindowProcA(window_, message, wParam, lParam);
            ::InflateRect(reinterpret_cast<RECT*>(lParam), -border_, -border_);
            return result;
        }
        case WM_NCPAINT: {
            const LRESULT result = ::DefWindowProcA(window_, message, wParam, lParam);
            if (border_ > 0) PaintInnerBorder();
            return result;
        }
        case WM_DRAWITEM: {
            // A bevel is an etched line along the top of its place.
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            RECT line = item->rcItem;
            ::FillRect(item->hDC, &line, ::GetSysColorBrush(COLOR_BTNFACE));
            ::DrawEdge(item->hDC, &line, EDGE_ETCHED, BF_TOP);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            const int32_t index = IndexOf(reinterpret_cast<HWND>(lParam));
            const uint32_t color = index >= 0 ? form_.Control(index)->Color() : 0;
            if (color == 0) break;
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, color);
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        default: break;
    }
    return ::DefWindowProcA(window_, message, wParam, lParam);
}

int32_t FormWindow::Run() {
    if (!Create()) {
        form_.CloseRequested();
        return form_.Result() != mrNone ? form_.Result() : mrCancel;
    }
    const bool ownerWasEnabled = owner_ && ::IsWindowEnabled(owner_);
    if (ownerWasEnabled) ::EnableWindow(owner_, FALSE);
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    form_.Activate();
    Synchronize();
    FocusFormsChoice();

    MSG msg {};
    while (form_.Result() == mrNone) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // A quit request ends the dialog as its close button would, and
            // stays posted for the host's own message loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            form_.CloseRequested();
            break;
        }
        if (got < 0) break;
        if (IsOwnKey(msg)) {
            form_.KeyDown(IndexOf(msg.hwnd), static_cast<int32_t>(msg.wParam));
            Synchronize();
            continue;
        }
        if (!::IsDialogMessageA(window_, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    if (ownerWasEnabled) ::EnableWindow(owner_, TRUE);
    ::ShowWindow(window_, SW_HIDE);
    if (owner_) ::SetActiveWindow(owner_);
    return form_.Result() != mrNone ? form_.Result() : mrCancel;
}

class WindowClass {
public:
    WindowClass() {
        WNDCLASSEXA windowClass {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &FormWindow::WindowProc;
        windowClass.hInstance = ThisModule();
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = WindowClassName;
        registered_ = ::RegisterClassExA(&windowClass) != 0;
    }
    ~WindowClass() {
        if (registered_) ::UnregisterClassA(WindowClassName, ThisModule());
    }
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

private:
    bool registered_ = false;
};

}  // namespace

int32_t NativeShowModal(IDialogForm& form) {
    WindowClass windowClass;
    FormWindow window(form);
    return window.Run();
}

int32_t NativeMessageBox(MessageBoxKind kind, const char* caption, const char* text) {
    UINT style = MB_TASKMODAL | MB_SETFOREGROUND;
    switch (kind) {
        case MessageBoxKind::Error: style |= MB_OK | MB_ICONERROR; break;
        case MessageBoxKind::Warning: style |= MB_OK | MB_ICONWARNING; break;
        case MessageBoxKind::Question: style |= MB_YESNO | MB_ICONQUESTION; break;
    }
    // Without an owner the system centres the box on the screen.
    const int answer = ::MessageBoxA(nullptr, text ? text : "", caption ? caption : "", style);
    if (kind != MessageBoxKind::Question) return mrOK;
    return answer == IDYES ? mrYes : mrNo;
}

}  // namespace ui
