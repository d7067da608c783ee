#pragma once

#include <QSlider>

namespace rova {

// A slider over a fixed range of values in fixed steps. Its positions run 0..count() - 1;
// position p stands for the value p * step() + first(). A range given from a larger to a smaller
// value runs downwards: its step is negative, so position 0 is the first value given (20 for a
// range from 20 to 0), and a vertical slider shows position 0 at the top.
//
// Tick marks are at least three pixels apart: of the slider's longer side less 10 pixels, each
// tick takes three; the interval is 1 when every position fits, else the smallest whole number
// of positions from 2 up that fits. A slider too short for one tick shows none. The spacing
// follows the slider's size.
class ValueSlider : public QSlider {
    Q_OBJECT

  public:
    // `step` is the distance between neighbouring values and must be positive; it is used
    // negated when `to` is not greater than `from`.
    ValueSlider(double from, double to, double step, Qt::Orientation orientation,
                QWidget* parent = nullptr);

    double first() const { return first_; }
    double step() const { return step_; }
    int count() const { return count_; }

    // The position nearest to `value`, kept within 0..count() - 1.
    int positionOf(double value) const;
    double valueAt(int position) const { return position * step_ + first_; }

    // Spaces the ticks for the slider's present size. Resizing does this by itself; a form may
    // call it once its layout is done.
    void setUp();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    double first_;
    double step_;
    int count_;
};

}  // namespace rova
