#pragma once

#include "DocumentForm.h"
#include "ParameterFormController.h"

namespace rova {

// The parameter form's host on the sequence form's side. The parameter form is made first (the
// sequence form executes through its controller), so it gets this link, which passes its calls
// on to the sequence form once that is set, and does nothing before.
class SequenceFormLink final : public ParameterFormHost {
  public:
    void setTarget(DocumentForm* target) { target_ = target; }

    void showParameters() override {}
    void selectPresetRow(int) override {}
    void storeIntoSelectedCommand() override {
        if (target_) {
            target_->storeIntoSelectedCommand();
        }
    }
    void refreshTimingControls() override {
        if (target_) {
            target_->refreshTimingControls();
        }
    }
    bool isSequenceRunning() const override { return target_ && target_->isSequenceRunning(); }

  private:
    DocumentForm* target_ = nullptr;
};

}  // namespace rova
