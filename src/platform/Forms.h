// The plug-in's modal forms: a form holds its controls with their texts,
// places and sizes, reacts to the events its presenter sends, and closes with
// a modal result. How it is presented is the dialog layer's (Dialogs.h).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/DialogToolkit.h"

namespace ui {

class TControl final : public IDialogControl {
public:
    TControl(ControlKind kind, std::string name, int left, int top, int width, int height, std::string text = {});

    ControlKind PCBAPI_CALL Kind() override { return ControlKindValue; }
    const char* PCBAPI_CALL Name() override { return NameValue.c_str(); }
    const char* PCBAPI_CALL Text() override { return TextValue.c_str(); }
    int32_t PCBAPI_CALL Left() override { return LeftValue; }
    int32_t PCBAPI_CALL Top() override { return TopValue; }
    int32_t PCBAPI_CALL Width() override { return WidthValue; }
    int32_t PCBAPI_CALL Height() override { return HeightValue; }
    uint8_t PCBAPI_CALL Visible() override { return VisibleValue; }
    uint8_t PCBAPI_CALL Checked() override { return CheckedValue; }
    uint8_t PCBAPI_CALL IsDefault() override { return DefaultValue; }
    uint8_t PCBAPI_CALL TabStop() override { return TabStopValue; }
    uint8_t PCBAPI_CALL Bold() override { return BoldValue; }
    uint32_t PCBAPI_CALL Color() override { return ColorValue; }

    void SetText(std::string text) { TextValue = std::move(text); }
    void SetVisible(bool visible) { VisibleValue = visible; }
    void SetChecked(bool checked) { CheckedValue = checked; }
    void SetDefault(bool isDefault) { DefaultValue = isDefault; }
    void SetTabStop(bool tabStop) { TabStopValue = tabStop; }
    void SetFont(bool bold, uint32_t color) {
        BoldValue = bold;
        ColorValue = color;
    }

    // The result a click on a button closes its form with; mrNone for none.
    int32_t ModalResult = mrNone;
    std::function<void()> OnClick;

private:
    ControlKind ControlKindValue;
    std::string NameValue;
    std::string TextValue;
    int LeftValue, TopValue, WidthValue, HeightValue;
    uint8_t VisibleValue = 1;
    uint8_t CheckedValue = 0;
    uint8_t DefaultValue = 0;
    uint8_t TabStopValue = 1;
    uint8_t BoldValue = 0;
    uint32_t ColorValue = 0;
};

class TForm : public IDialogForm {
public:
    // A form without a system menu has no close button either.
    TForm(std::string caption, int clientWidth, int clientHeight, bool hasSystemMenu, int innerBorder = 0);
    virtual ~TForm() = default;

    const char* PCBAPI_CALL Caption() override { return CaptionValue.c_str(); }
    int32_t PCBAPI_CALL ClientWidth() override { return ClientWidthValue; }
    int32_t PCBAPI_CALL ClientHeight() override { return ClientHeightValue; }
    int32_t PCBAPI_CALL InnerBorder() override { return InnerBorderValue; }
    uint8_t PCBAPI_CALL HasSystemMenu() override { return SystemMenu; }
    uint8_t PCBAPI_CALL HasCloseButton() override { return SystemMenu; }
    int32_t PCBAPI_CALL ControlCount() override { return static_cast<int32_t>(Controls.size()); }
    IDialogControl* PCBAPI_CALL Control(int32_t index) override;
    int32_t PCBAPI_CALL FocusedControl() override { return Focus; }

    void PCBAPI_CALL Activate() override;
    // A click checks a radio button (and clears the others of the form),
    // toggles a check box, runs the control's handler, and closes the form
    // when the control carries a modal result.
    void PCBAPI_CALL Click(int32_t index) override;
    // Enter clicks the default button; the form's OnKeyDown sees every key.
    void PCBAPI_CALL KeyDown(int32_t index, int32_t key) override;
    void PCBAPI_CALL CloseRequested() override { Close(mrCancel); }
    int32_t PCBAPI_CALL Result() override { return ResultValue; }

    // Shows the form modally through the dialog layer; returns its result.
    int32_t ShowModal();

    TControl& Add(ControlKind kind, std::string name, int left, int top, int width, int height,
                  std::string text = {});
    int IndexOf(const TControl& control) const;
    void SetFocus(const TControl& control) { Focus = IndexOf(control); }
    void Close(int32_t result) { ResultValue = result; }

    std::function<void()> OnActivate;
    // Called for every key pressed on the form (index -1) or a control.
    std::function<void(int32_t index, int32_t key)> OnKeyDown;

private:
    std::string CaptionValue;
    int ClientWidthValue, ClientHeightValue;
    uint8_t SystemMenu;
    int InnerBorderValue;
    std::vector<std::unique_ptr<TControl>> Controls;
    int32_t Focus = -1;
    int32_t ResultValue = mrNone;
};

// A modal message box through the dialog layer.
int32_t ShowMessageBox(MessageBoxKind kind, const std::string& caption, const std::string& text);

}  // namespace ui
