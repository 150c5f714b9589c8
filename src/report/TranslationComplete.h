// The status dialog shown at the end of an export whose report holds errors
// or warnings; it offers to open the report.
#pragma once

#include "platform/Forms.h"

namespace report {

class TTranslationStatus : public ui::TForm {
public:
    TTranslationStatus();

    ui::TControl& LabelStatus;
    ui::TControl& CheckBoxViewReport;
    ui::TControl& BevelDesignRules;
    ui::TControl& ButtonOK;
};

}  // namespace report
