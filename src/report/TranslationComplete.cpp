#include "report/TranslationComplete.h"

namespace report {

using ui::ControlKind;

TTranslationStatus::TTranslationStatus()
    : ui::TForm("VORN Translator", 239, 100, true),
      LabelStatus(Add(ControlKind::Label, "LabelStatus", 13, 9, 143, 13, "Status: Translation Successful")),
      CheckBoxViewReport(Add(ControlKind::CheckBox, "CheckBoxViewReport", 16, 34, 89, 17, "&View Report")),
      BevelDesignRules(Add(ControlKind::Bevel, "BevelDesignRules", 7, 59, 226, 9)),
      ButtonOK(Add(ControlKind::Button, "ButtonOK", 155, 70, 75, 24, "Close")) {
    ButtonOK.SetDefault(true);
    ButtonOK.ModalResult = ui::mrOK;
    OnActivate = [this] { SetFocus(ButtonOK); };
    // Escape closes with Cancel wherever the focus is: the dialog, the check
    // box or the button.
    OnKeyDown = [this](int32_t, int32_t key) {
        if (key == ui::KeyEscape) Close(ui::mrCancel);
    };
}

}  // namespace report
