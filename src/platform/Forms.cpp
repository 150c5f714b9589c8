#include "platform/Forms.h"

#include "platform/NativeDialogs.h"
#include "platform/Platform.h"

namespace ui {

TControl::TControl(ControlKind kind, std::string name, int left, int top, int width, int height, std::string text)
    : ControlKindValue(kind),
      NameValue(std::move(name)),
      TextValue(std::move(text)),
      LeftValue(left),
      TopValue(top),
      WidthValue(width),
      HeightValue(height) {}

TForm::TForm(std::string caption, int clientWidth, int clientHeight, bool hasSystemMenu, int innerBorder)
    : CaptionValue(std::move(caption)),
      ClientWidthValue(clientWidth),
      ClientHeightValue(clientHeight),
      SystemMenu(hasSystemMenu),
      InnerBorderValue(innerBorder) {}

IDialogControl* TForm::Control(int32_t index) {
    if (index < 0 || index >= ControlCount()) return nullptr;
    return Controls[static_cast<size_t>(index)].get();
}

TControl& TForm::Add(ControlKind kind, std::string name, int left, int top, int width, int height,
                     std::string text) {
    Controls.push_back(std::make_unique<TControl>(kind, std::move(name), left, top, width, height, std::move(text)));
    return *Controls.back();
}

int TForm::IndexOf(const TControl& control) const {
    for (size_t i = 0; i < Controls.size(); ++i)
        if (Controls[i].get() == &control) return static_cast<int>(i);
    return -1;
}

void TForm::Activate() {
    if (OnActivate) OnActivate();
}

void TForm::Click(int32_t index) {
    if (index < 0 || index >= ControlCount() || ResultValue != mrNone) return;
    TControl& control = *Controls[static_cast<size_t>(index)];
    if (!control.Visible()) return;
    switch (control.Kind()) {
        case ControlKind::RadioButton:
            for (auto& other : Controls)
                if (other->Kind() == ControlKind::RadioButton) other->SetChecked(other.get() == &control);
            break;
        case ControlKind::CheckBox:
            control.SetChecked(!control.Checked());
            break;
        default:
            break;
    }
    if (control.Kind() != ControlKind::Label && control.Kind() != ControlKind::Bevel) Focus = index;
    if (control.OnClick) control.OnClick();
    if (control.ModalResult != mrNone) Close(control.ModalResult);
}

void TForm::KeyDown(int32_t index, int32_t key) {
    if (ResultValue != mrNone) return;
    if (OnKeyDown) OnKeyDown(index, key);
    if (ResultValue != mrNone || key != KeyReturn) return;
    for (size_t i = 0; i < Controls.size(); ++i)
        if (Controls[i]->IsDefault()) {
            Click(static_cast<int32_t>(i));
            return;
        }
}

namespace {

template <typename Function>
Function HostToolkitFunction(const char* name) {
    return reinterpret_cast<Function>(platform::FindExport(platform::MainModule(), name));
}

}  // namespace

int32_t TForm::ShowModal() {
    ResultValue = mrNone;
    if (auto show = HostToolkitFunction<DialogAPI_ShowModal_t>("DialogAPI_ShowModal")) {
        show(this);
        if (ResultValue == mrNone) ResultValue = mrCancel;
        return ResultValue;
    }
    NativeShowModal(*this);
    if (ResultValue == mrNone) ResultValue = mrCancel;
    return ResultValue;
}

int32_t ShowMessageBox(MessageBoxKind kind, const std::string& caption, const std::string& text) {
    if (auto box = HostToolkitFunction<DialogAPI_MessageBox_t>("DialogAPI_MessageBox"))
        return box(kind, caption.c_str(), text.c_str());
    return NativeMessageBox(kind, caption.c_str(), text.c_str());
}

}  // namespace ui
