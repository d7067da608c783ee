#pragma once

#include <QDialog>

#include <array>
#include <optional>

#include "ColourRef.h"
#include "PictureEditorModel.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace rova {

class UserPrompt;

// What the Set Picture dialog asks the picture editor to do (PictureEditorModel::applySetPicture).
struct SetPictureRequest {
    SetPictureFunction function = SetPictureFunction::SetTo;
    int width = 0;
    int height = 0;
    ColourRef colour = 0;  // Set to and Resize only

    friend bool operator==(const SetPictureRequest&, const SetPictureRequest&) = default;
};

// The function and colour of the last confirmed use of the dialog. Whoever opens the dialog keeps
// one for as long as the choice is to be remembered; it is never stored in the settings.
struct SetPictureChoice {
    SetPictureFunction function = SetPictureFunction::SetTo;
    int colourIndex = 0;
};

// The modal dialog "Set Picture": a new width and height and the way the picture gets them
// (filled with a colour, resized around its centre on a colour, or scaled). OK checks the two
// numbers, showing a warning and staying open when one is missing or below 1 (the width first);
// an accepted dialog remembers its function and colour in the given choice and offers the
// request. Cancel changes nothing.
class SetPictureDialog : public QDialog {
    Q_OBJECT

  public:
    struct NamedColour {
        const char* name;
        ColourRef value;
    };
    // The colours of the colour list, in its order.
    static const std::array<NamedColour, 8> kColours;

    // `currentWidth` and `currentRows` describe the working picture; a width below 1 means there
    // is none, and the fields start empty.
    SetPictureDialog(int currentWidth, int currentRows, SetPictureChoice& remembered,
                     UserPrompt& prompt, QWidget* parent = nullptr);

    // The request of an accepted dialog; nothing before OK succeeded.
    const std::optional<SetPictureRequest>& request() const { return request_; }

    void accept() override;

  private:
    SetPictureChoice& remembered_;
    UserPrompt& prompt_;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QButtonGroup* function_ = nullptr;
    QComboBox* colour_ = nullptr;
    std::optional<SetPictureRequest> request_;
};

}  // namespace rova
