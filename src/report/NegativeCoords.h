// The negative-coordinates dialog: how to treat primitives with negative
// coordinates. The last confirmed answer is remembered while the library
// stays loaded and offered again.
#pragma once

#include <cstdint>

#include "platform/Forms.h"

namespace report {

enum TNegativeCoordsMode : uint8_t { ncLeaveAsIs = 0, ncSkip = 1, ncShift = 2 };

class TNegativeCoordsForm : public ui::TForm {
public:
    TNegativeCoordsForm();

    // lblWarning is visible exactly when xrbLeaveAsIs is selected.
    void xrbClick();

    ui::TControl& lblExplain;
    ui::TControl& xrbLeaveAsIs;
    ui::TControl& xrbSkip;
    ui::TControl& xrbShift;
    ui::TControl& lblWarning;
    ui::TControl& bvlBottom;
    ui::TControl& btnOK;
};

// Asks the user for the mode, preselecting the remembered one; an answer
// confirmed with OK becomes the remembered mode.
uint8_t AskNegativeCoordsMode();

uint8_t RememberedNegativeCoordsMode();
// Back to the mode of a freshly loaded library (1, skip).
void ResetRememberedNegativeCoordsMode();

}  // namespace report
