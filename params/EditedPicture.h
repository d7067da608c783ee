#pragma once

#include "Picture.h"

namespace rova {

class Command;

// The picture editor as the parameter form's controller uses it: it takes a command's picture
// content and offers the working picture, the one the players are built from.
// PictureEditorModel (PictureEditorModel.h) is the one implementation, with or without a window.
class EditedPicture {
  public:
    virtual ~EditedPicture() = default;

    // Takes the command's picture content: its stored picture, shown at its stored rows. False
    // when the stored bitmap cannot be loaded; a black 16 × 16 picture is shown instead.
    virtual bool restore(const Command& command) = 0;
    // A lamp picture rows() rows high, or an empty picture.
    virtual const Picture& workingPicture() const = 0;
    virtual int rows() const = 0;
};

}  // namespace rova
