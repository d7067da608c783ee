#pragma once

#include <QLabel>
#include <QObject>
#include <QString>
#include <optional>

#include "ValueText.h"

class QLineEdit;
class QMouseEvent;

namespace rova {

class ValueSlider;

// A caption that reports a click of the left mouse button (pressed and released on it).
class ValueLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ValueLabel(const QString& text, QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

// A slider's range: `from` at position 0, then `step` apart (downwards when `to` is not greater
// than `from`) up to `to`. `step` must be positive.
struct ValueRange {
    double from;
    double to;
    double step;
};

// A numeric value edited with a slider and an edit field beside it, with its caption. The
// slider covers a fixed range; the edit field accepts any number. The pair makes its three
// widgets children of the form and leaves their placing to it; it is itself a child of the
// form, made with new.
//
// The pair remembers the value it last took over (its current value, 0 at first). A value
// reaches the form only through the edit field's text, so the form gets the value as shown:
// rounded to the field's decimals and read back in single precision (see ValueText). Every
// such change arrives through valueTaken(), whichever way it came:
//  - the user moves the slider: the field shows the value of the new position;
//  - the user edits the field: text starting with a number (leading blanks skipped, anything
//    after it ignored, so "3.5abc" gives 3.5) is taken, also outside the slider's range, and
//    the slider moves to the nearest position; other text changes nothing and stays as typed;
//  - the program calls setValue().
// A number is only handed over when it differs from the current value.
//
// A disabled pair shows an empty field and the slider at the position of 0; it keeps its
// current value, and setValue() only stores the value, which shows when the pair is enabled
// again. Pairs start enabled.
class ValuePair : public QObject {
    Q_OBJECT

  public:
    // `label` is the caption; "&" in it marks the mnemonic that takes the focus to the edit
    // field. A vertical slider shows `range.from` at the top. The edit field shows at most one
    // decimal and no plus sign until setFormat() says otherwise.
    ValuePair(const QString& label, ValueRange range, QWidget* form,
              Qt::Orientation orientation = Qt::Horizontal);

    ValueLabel* label() const { return label_; }
    ValueSlider* slider() const { return slider_; }
    QLineEdit* edit() const { return edit_; }

    // Gives the slider and the edit field the same accessible name (their roles tell them
    // apart) and, when there is a unit, the tooltip "name (unit)" on both, which is also read
    // out as their description.
    void setAccessibleName(const QString& name, const QString& unit = QString());
    // The most decimals the edit field shows, and whether it shows "+" before values that are
    // not negative. For the form to call before the pair shows a value: the current value
    // goes back to 0.
    void setFormat(int decimals, bool plusSign);
    // A click on the caption sets the pair to `value` as setValue() does. Without one, the
    // caption's clicked() signal is there for a form that does more.
    void setLabelValue(double value) { labelValue_ = value; }

    // Shows `value` on the slider and in the field; the field's text, read back, is handed to
    // the form when it differs from the current value. The current value becomes `value`
    // itself, unrounded. On a disabled pair only the current value changes.
    void setValue(double value);
    // Enables or disables the slider and the field. Disabling empties the field and puts the
    // slider at the position of 0; enabling shows the current value on both again.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }
    double currentValue() const { return text_.currentValue(); }

    // Spaces the slider's ticks for its present size (see ValueSlider::setUp()).
    void setUp();

    // Leaves the value and its text to the form, for a form whose data keeps them itself (the
    // parameter form's controller keeps a ValueText per pair). The pair then keeps neither:
    // textEdited() replaces valueTaken(), carrying the text the user typed, or the text of the
    // value that a slider move or a caption click picked; the form takes it into its data and
    // shows the result with showText(). setValue() and setEnabled() are not for such a pair.
    void leaveTextToForm();
    // For a pair that leaves its text to the form: the field shows `text` (left alone when it
    // already does, so typing is not disturbed) and the slider the position of `value`, the
    // form's current value, which a slider move must differ from to be handed over.
    void showText(const QString& text, double value);

  signals:
    // The number the form takes over into its data.
    void valueTaken(double value);
    // For a pair that leaves its text to the form: the text to take over.
    void textEdited(const QString& text);

  private:
    void scrolled(int position);
    void edited(const QString& text);
    // Writes the value's text into the field; the number to hand over, if any.
    std::optional<double> writeText(double value);
    // A pair that leaves its text to the form: the value's text, written and handed over.
    void handOver(double value);
    // Moves the slider without taking its new position for a move by the user.
    void moveSlider(int position);

    ValueLabel* label_;
    ValueSlider* slider_;
    QLineEdit* edit_;
    ValueText text_;
    bool enabled_ = true;
    bool movingSlider_ = false;
    std::optional<double> labelValue_;
    // Set by leaveTextToForm(); formValue_ is the form's value last shown.
    bool textLeftToForm_ = false;
    double formValue_ = 0.0;
    int decimals_ = 1;
    bool plusSign_ = false;
};

}  // namespace rova
