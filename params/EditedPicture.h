#pragma once

#include "Picture.h"

namespace rova {

class Command;

// The picture editor as the parameter form's controller uses it: it takes a command's picture
// content and offers the working picture, the one the players are built from.
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

// The editor's pictures without the control, for playing sequences where nothing is shown.
// The working picture is the stored picture stretched to the stored rows, its width scaled
// alike and rounded to the nearest pixel.
class HeldPicture final : public EditedPicture {
  public:
    bool restore(const Command& command) override;
    const Picture& workingPicture() const override { return working_; }
    int rows() const override { return rows_; }

  private:
    void rebuild(const Picture& source);

    Picture working_;
    int rows_ = 0;
};

}  // namespace rova
