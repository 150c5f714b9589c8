// Without a host that presents them, a POSIX process has no window system to
// show the plug-in's dialogs: a form closes with Cancel, a message box is
// written to standard error and a question is answered No, so that nothing is
// created or overwritten without the user's word.
#include <cstdio>

#include "platform/NativeDialogs.h"

namespace ui {

int32_t NativeShowModal(IDialogForm& form) {
    form.CloseRequested();
    return form.Result();
}

int32_t NativeMessageBox(MessageBoxKind kind, const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return kind == MessageBoxKind::Question ? mrNo : mrOK;
}

}  // namespace ui
