#include "ValuePair.h"

#include <QLineEdit>
#include <QMouseEvent>

#include "NumberText.h"
#include "ValueSlider.h"

namespace rova {

ValueLabel::ValueLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ValueLabel::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    pressed_ = event->button() == Qt::LeftButton;
}

void ValueLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        emit clicked();
    }
}

ValuePair::ValuePair(const QString& label, ValueRange range, QWidget* form,
                     Qt::Orientation orientation)
    : QObject(form),
      label_(new ValueLabel(label, form)),
      slider_(new ValueSlider(range.from, range.to, range.step, orientation, form)),
      edit_(new QLineEdit(form)),
      text_(1, false) {
    label_->setBuddy(edit_);
    // Tracking is on, so the slider reports every position while it is dragged; moves made
    // here are told apart by movingSlider_.
    connect(slider_, &QSlider::valueChanged, this, &ValuePair::scrolled);
    // Only the user's edits: the texts written here are handed over by the writer.
    connect(edit_, &QLineEdit::textEdited, this, &ValuePair::edited);
    connect(label_, &ValueLabel::clicked, this, [this] {
        if (!labelValue_) {
            return;
        }
        if (textLeftToForm_) {
            handOver(*labelValue_);
        } else {
            setValue(*labelValue_);
        }
    });
}

void ValuePair::setAccessibleName(const QString& name, const QString& unit) {
    const QString tip = unit.isEmpty() ? QString() : QStringLiteral("%1 (%2)").arg(name, unit);
    for (QWidget* widget : {static_cast<QWidget*>(slider_), static_cast<QWidget*>(edit_)}) {
        widget->setAccessibleName(name);
        widget->setToolTip(tip);
    }
}

void ValuePair::setFormat(int decimals, bool plusSign) {
    text_ = ValueText(decimals, plusSign);
    decimals_ = decimals;
    plusSign_ = plusSign;
}

void ValuePair::leaveTextToForm() {
    textLeftToForm_ = true;
}

void ValuePair::showText(const QString& text, double value) {
    formValue_ = value;
    if (edit_->text() != text) {
        edit_->setText(text);
    }
    moveSlider(slider_->positionOf(value));
}

void ValuePair::handOver(double value) {
    const QString text = QString::fromStdString(formatNumber(value, 0, decimals_, plusSign_));
    edit_->setText(text);
    emit textEdited(text);
}

void ValuePair::setValue(double value) {
    if (!enabled_) {
        // Takes the value as current without writing to the field, which stays empty.
        text_.show(value);
        return;
    }
    moveSlider(slider_->positionOf(value));
    if (const std::optional<double> taken = writeText(value)) {
        emit valueTaken(*taken);
    }
}

void ValuePair::setEnabled(bool enabled) {
    enabled_ = enabled;
    slider_->setEnabled(enabled);
    edit_->setEnabled(enabled);
    if (enabled) {
        // The current value is already the form's: nothing to hand over.
        writeText(currentValue());
        moveSlider(slider_->positionOf(currentValue()));
    } else {
        edit_->clear();
        moveSlider(slider_->positionOf(0.0));
    }
}

void ValuePair::setUp() {
    slider_->setUp();
}

void ValuePair::scrolled(int position) {
    if (movingSlider_ || !enabled_) {
        return;
    }
    const double value = slider_->valueAt(position);
    if (textLeftToForm_) {
        if (value != formValue_) {
            handOver(value);
        }
        return;
    }
    if (value == currentValue()) {
        return;
    }
    if (const std::optional<double> taken = writeText(value)) {
        emit valueTaken(*taken);
    }
}

void ValuePair::edited(const QString& text) {
    if (textLeftToForm_) {
        emit textEdited(text);
        return;
    }
    const std::optional<double> taken = text_.edited(text.toStdString());
    if (!taken) {
        return;
    }
    moveSlider(slider_->positionOf(*taken));
    emit valueTaken(*taken);
}

std::optional<double> ValuePair::writeText(double value) {
    const std::optional<double> taken = text_.show(value);
    edit_->setText(QString::fromStdString(text_.text()));
    return taken;
}

void ValuePair::moveSlider(int position) {
    movingSlider_ = true;
    slider_->setValue(position);
    movingSlider_ = false;
}

}  // namespace rova
