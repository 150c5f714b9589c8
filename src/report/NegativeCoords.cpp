#include "report/NegativeCoords.h"

namespace report {

using ui::ControlKind;

namespace {
uint8_t g_RememberedMode = ncSkip;
constexpr uint32_t Red = 0x0000FF;
}  // namespace

uint8_t RememberedNegativeCoordsMode() { return g_RememberedMode; }
void ResetRememberedNegativeCoordsMode() { g_RememberedMode = ncSkip; }

// The client area is 361 x 193 pixels, with an inner border of 8 pixels
// around it; the title bar has neither system menu nor close button.
TNegativeCoordsForm::TNegativeCoordsForm()
    : ui::TForm("V-ORN Translation Problems", 361, 193, false, 8),
      lblExplain(Add(ControlKind::Label, "lblExplain", 0, 0, 361, 39,
                     "Some primitives on the given PCB board have negative coordinates.\n"
                     "V-ORN 2004 doesn't handle this situation.\n"
                     "Please choose how to convert board primitives:")),
      xrbLeaveAsIs(Add(ControlKind::RadioButton, "xrbLeaveAsIs", 16, 56, 329, 17, "Leave all primitives as is")),
      xrbSkip(Add(ControlKind::RadioButton, "xrbSkip", 16, 80, 329, 17,
                  "Do not export primitives with negative coordinates")),
      xrbShift(Add(ControlKind::RadioButton, "xrbShift", 16, 104, 329, 17, "Move all primitives to positive quadrant")),
      lblWarning(Add(ControlKind::Label, "lblWarning", 0, 136, 281, 13,
                     "V-ORN 2004 will not be able to load exported file.")),
      bvlBottom(Add(ControlKind::Bevel, "bvlBottom", 0, 160, 361, 9)),
      btnOK(Add(ControlKind::Button, "btnOK", 288, 168, 73, 25, "OK")) {
    lblWarning.SetFont(true, Red);
    for (ui::TControl* radio : {&xrbLeaveAsIs, &xrbSkip, &xrbShift}) {
        radio->SetTabStop(false);
        radio->OnClick = [this] { xrbClick(); };
    }
    btnOK.SetDefault(true);
    btnOK.ModalResult = ui::mrOK;
}

void TNegativeCoordsForm::xrbClick() { lblWarning.SetVisible(xrbLeaveAsIs.Checked()); }

uint8_t AskNegativeCoordsMode() {
    TNegativeCoordsForm form;
    ui::TControl* preselected[] = {&form.xrbLeaveAsIs, &form.xrbSkip, &form.xrbShift};
    for (int mode = 0; mode < 3; ++mode) preselected[mode]->SetChecked(mode == g_RememberedMode);
    form.xrbClick();
    if (form.ShowModal() != ui::mrOK) return g_RememberedMode;
    if (form.xrbLeaveAsIs.Checked())
        g_RememberedMode = ncLeaveAsIs;
    else if (form.xrbSkip.Checked())
        g_RememberedMode = ncSkip;
    else if (form.xrbShift.Checked())
        g_RememberedMode = ncShift;
    return g_RememberedMode;
}

}  // namespace report
