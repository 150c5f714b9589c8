// The dialog layer: modal forms and message boxes.
//
// A form is built by the plug-in (its controls, texts, places, sizes and
// event handlers, see Forms.h) and presented through this interface. When the
// host executable exports the dialog toolkit functions below, the host
// presents the form and drives it through IDialogForm; otherwise the system's
// own windows show it (Win32), or, where there is no window system, nothing is
// shown and the form closes with Cancel.
#pragma once

#include <cstdint>

#include "board/PcbApi.h"

namespace ui {

enum ModalResult : int32_t { mrNone = 0, mrOK = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

enum class ControlKind : int32_t { Label = 0, CheckBox = 1, RadioButton = 2, Button = 3, Bevel = 4 };

enum class MessageBoxKind : int32_t { Error = 0, Warning = 1, Question = 2 };

// Virtual key codes that the forms react to (the system's own values).
constexpr int32_t KeyReturn = 13;
constexpr int32_t KeyEscape = 27;

class IDialogControl {
public:
    virtual ControlKind PCBAPI_CALL Kind() = 0;
    virtual const char* PCBAPI_CALL Name() = 0;
    // Lines of a label's text are separated by '\n'.
    virtual const char* PCBAPI_CALL Text() = 0;
    virtual int32_t PCBAPI_CALL Left() = 0;
    virtual int32_t PCBAPI_CALL Top() = 0;
    virtual int32_t PCBAPI_CALL Width() = 0;
    virtual int32_t PCBAPI_CALL Height() = 0;
    virtual uint8_t PCBAPI_CALL Visible() = 0;
    virtual uint8_t PCBAPI_CALL Checked() = 0;
    virtual uint8_t PCBAPI_CALL IsDefault() = 0;
    virtual uint8_t PCBAPI_CALL TabStop() = 0;
    virtual uint8_t PCBAPI_CALL Bold() = 0;
    // 0x00BBGGRR; 0 = the dialog style's own colour.
    virtual uint32_t PCBAPI_CALL Color() = 0;

protected:
    ~IDialogControl() = default;
};

// Every form is modal, centred on the screen, with a fixed border.
class IDialogForm {
public:
    virtual const char* PCBAPI_CALL Caption() = 0;
    virtual int32_t PCBAPI_CALL ClientWidth() = 0;
    virtual int32_t PCBAPI_CALL ClientHeight() = 0;
    // The margin between the window's frame and its client area.
    virtual int32_t PCBAPI_CALL InnerBorder() = 0;
    virtual uint8_t PCBAPI_CALL HasSystemMenu() = 0;
    virtual uint8_t PCBAPI_CALL HasCloseButton() = 0;
    virtual int32_t PCBAPI_CALL ControlCount() = 0;
    virtual IDialogControl* PCBAPI_CALL Control(int32_t index) = 0;
    // The index of the control that has the focus, -1 for the form itself.
    virtual int32_t PCBAPI_CALL FocusedControl() = 0;

    // Events, sent by the presenter.
    virtual void PCBAPI_CALL Activate() = 0;
    virtual void PCBAPI_CALL Click(int32_t index) = 0;
    virtual void PCBAPI_CALL KeyDown(int32_t index, int32_t key) = 0;
    // The window's close button or the system's close command.
    virtual void PCBAPI_CALL CloseRequested() = 0;

    // mrNone while the form is open; the modal result once it has closed.
    virtual int32_t PCBAPI_CALL Result() = 0;

protected:
    ~IDialogForm() = default;
};

// Exported by a host executable that presents the dialogs itself.
// Shows the form modally; returns when Result() is no longer mrNone.
using DialogAPI_ShowModal_t = int32_t(PCBAPI_CALL*)(IDialogForm* form);
// A modal message box; returns mrOK, or mrYes / mrNo for a question.
using DialogAPI_MessageBox_t = int32_t(PCBAPI_CALL*)(MessageBoxKind kind, const char* caption, const char* text);

}  // namespace ui
