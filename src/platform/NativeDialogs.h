// The system's own presentation of forms and message boxes, used when the host
// does not present them itself (DialogToolkit.h): Win32 windows on Windows;
// on POSIX, where the plug-in has no window system, nothing is shown.
#pragma once

#include "platform/DialogToolkit.h"

namespace ui {

// Shows the form modally and returns its result.
int32_t NativeShowModal(IDialogForm& form);

// Shows a modal message box centred on the screen; returns mrOK, mrYes or mrNo.
int32_t NativeMessageBox(MessageBoxKind kind, const char* caption, const char* text);

}  // namespace ui
