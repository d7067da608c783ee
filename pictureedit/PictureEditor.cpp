#include "PictureEditor.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "FilePaths.h"
#include "UserPrompt.h"

namespace rova {

const QString PictureEditor::kLoadFilter = QStringLiteral(
    "Pictures (*.bmp *.png *.jpg *.jpeg *.gif)|*.bmp;*.png;*.jpg;*.jpeg;*.gif|"
    "Bitmap Files (*.bmp)|*.bmp|");
const QString PictureEditor::kSaveFilter = QStringLiteral("Bitmap Files (*.bmp)|*.bmp|");

namespace {

// The ground around the picture.
constexpr QRgb kGround = 0x808080;

// The Set Picture dialog's choice, remembered while the application runs.
SetPictureChoice& applicationChoice() {
    static SetPictureChoice choice;
    return choice;
}

unsigned mouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    unsigned keys = 0;
    if (buttons & Qt::LeftButton) {
        keys |= mouse_key::Left;
    }
    if (buttons & Qt::RightButton) {
        keys |= mouse_key::Right;
    }
    if (buttons & Qt::MiddleButton) {
        keys |= mouse_key::Middle;
    }
    if (modifiers & Qt::ShiftModifier) {
        keys |= mouse_key::Shift;
    }
    if (modifiers & Qt::ControlModifier) {
        keys |= mouse_key::Control;
    }
    return keys;
}

QPoint pointOf(const QMouseEvent& event) {
    return event.position().toPoint();
}

}  // namespace

PictureEditor::PictureEditor(QuestionPrompt& prompt, FilePrompt::ShowDialog showFile,
                             SetPictureChoice* choice, QWidget* parent)
    : QAbstractScrollArea(parent),
      prompt_(prompt),
      loadPrompt_(kLoadFilter, false, QString(), prompt, showFile),
      savePrompt_(kSaveFilter, true, tr("Pictures are saved as bitmaps: the name must end in %1."),
                  prompt, showFile),
      choice_(choice != nullptr ? choice : &applicationChoice()),
      runDialog_([](QDialog& dialog) { return dialog.exec(); }) {
    setAccessibleName(tr("Picture Edit"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);

    QScrollBar* bar = verticalScrollBar();
    bar->setAccessibleName(tr("Rows"));
    bar->setSingleStep(1);
    // The wheel over the scroll bar scrolls as over the picture.
    bar->installEventFilter(this);
    connect(bar, &QAbstractSlider::actionTriggered, this, &PictureEditor::scrollBarAction);
    syncScrollBar();
}

PictureEditor::~PictureEditor() = default;

void PictureEditor::applyModelUpdate() {
    const PictureEditorUpdate update = model_.takeUpdate();
    QRect dirty = update.dirty;
    if (update.scrolledBy != 0) {
        scrollBacking(update.scrolledBy);
        // The band the content left uncovered.
        const int height = backing_.height();
        const int moved = std::min(std::abs(update.scrolledBy), height);
        dirty |= update.scrolledBy > 0 ? QRect(0, 0, backing_.width(), moved)
                                       : QRect(0, height - moved, backing_.width(), moved);
    }
    if (update.scrollBarChanged) {
        syncScrollBar();
    }
    if (!dirty.isEmpty()) {
        render(dirty);
    }
    if (update.scrolledBy != 0) {
        viewport()->update();
    } else if (!dirty.isEmpty()) {
        viewport()->update(dirty);
    }
}

// ---- the buttons ----

PictureLoad PictureEditor::load() {
    const std::optional<QStringList> chosen = loadPrompt_.prompt(
        model_.fileName(), FilePrompt::Mode::OpenExistingFile, tr("Load Picture"));
    if (!chosen) {
        return {};
    }
    const QString path = chosen->front();
    Picture decoded;
    PictureLoad loaded = loadPictureFile(decoded, path);
    // A picture that cannot be read reaches the editor empty: its source picture is dropped.
    if (!model_.loadPicture(decoded, path) && loaded) {
        loaded = {false, tr("Cannot load \"%1\": there is not enough memory.").arg(path)};
    }
    applyModelUpdate();
    return loaded;
}

bool PictureEditor::saveAs() {
    const std::optional<QStringList> chosen = savePrompt_.prompt(
        paths::fileName(model_.fileName()), FilePrompt::Mode::Save, tr("Save Picture"));
    if (!chosen) {
        return false;
    }
    const bool saved = model_.saveFile(chosen->front());
    applyModelUpdate();
    return saved;
}

bool PictureEditor::setPicture() {
    SetPictureDialog dialog(model_.workingPicture().width(), model_.rows(), *choice_, prompt_,
                            this);
    if (runDialog_(dialog) != QDialog::Accepted || !dialog.request()) {
        return false;
    }
    const SetPictureRequest& request = *dialog.request();
    const bool applied =
        model_.applySetPicture(request.function, request.width, request.height, request.colour);
    applyModelUpdate();
    return applied;
}

bool PictureEditor::autoCrop() {
    const bool cropped = model_.autoCrop();
    applyModelUpdate();
    return cropped;
}

bool PictureEditor::copyText(const RichTextDocument& text) {
    const bool copied = model_.copyText(text);
    applyModelUpdate();
    return copied;
}

bool PictureEditor::invert() {
    const bool inverted = model_.invert();
    applyModelUpdate();
    return inverted;
}

void PictureEditor::zoomIn() {
    model_.zoomIn();
    applyModelUpdate();
}

void PictureEditor::zoomOut() {
    model_.zoomOut();
    applyModelUpdate();
}

// ---- the edit commands ----

bool PictureEditor::copy() {
    return clipboard_.copy(model_.currentPicture());
}

bool PictureEditor::cut() {
    // The picture is blanked even when the clipboard did not take it.
    copy();
    const bool blanked = model_.cut();
    applyModelUpdate();
    return blanked;
}

bool PictureEditor::paste() {
    if (!clipboard_.canPaste()) {
        return false;
    }
    // What cannot be read reaches the editor empty, as a file that cannot be loaded does.
    Picture pasted;
    clipboard_.paste(pasted);
    const bool taken = model_.pastePicture(pasted);
    applyModelUpdate();
    return taken;
}

bool PictureEditor::canPaste() const {
    return clipboard_.canPaste();
}

// ---- events ----

void PictureEditor::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), backing_, area);
    // Beyond the backing image (only while a resize is on its way) the ground shows.
    const QRegion uncovered = QRegion(area) - QRegion(backing_.rect());
    for (const QRect& rect : uncovered) {
        painter.fillRect(rect, QColor(kGround));
    }
}

void PictureEditor::resizeEvent(QResizeEvent* event) {
    backing_ = QImage(event->size(), QImage::Format_RGB32);
    model_.setClientSize(event->size());
    applyModelUpdate();
    // The new image is drawn whole, whether or not the model saw a change of size.
    render(backing_.rect());
}

void PictureEditor::mousePressEvent(QMouseEvent* event) {
    if (!(event->button() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton))) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    showCursor(model_.press(mouseKeys(event->buttons(), event->modifiers()), pointOf(*event)));
    applyModelUpdate();
}

void PictureEditor::mouseMoveEvent(QMouseEvent* event) {
    showCursor(model_.pen(mouseKeys(event->buttons(), event->modifiers()), pointOf(*event)));
    applyModelUpdate();
}

void PictureEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (!(event->button() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton))) {
        event->ignore();
        return;
    }
    showCursor(model_.release(pointOf(*event)));
    applyModelUpdate();
}

// A double-click neither draws nor starts a stroke: the press it stands for is dropped.
void PictureEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void PictureEditor::wheelEvent(QWheelEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const QPoint angle = event->angleDelta();
    // Some systems turn a wheel held with Shift into a sideways one.
    const int delta = angle.y() != 0 ? angle.y() : (shift ? angle.x() : 0);
    if (delta == 0) {
        event->ignore();
        return;
    }
    // The desktop offers no scrolling by pages per notch: the wheel always scrolls by lines.
    model_.wheel(delta, shift, event->modifiers() & Qt::ControlModifier,
                 QApplication::wheelScrollLines(), false);
    applyModelUpdate();
    event->accept();
}

void PictureEditor::scrollContentsBy(int, int) {}

bool PictureEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// ---- scrolling and drawing ----

void PictureEditor::scrollBarAction(int action) {
    QScrollBar* bar = verticalScrollBar();
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            model_.scrollRequest(ScrollRequest::LineUp);
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            model_.scrollRequest(ScrollRequest::LineDown);
            break;
        case QAbstractSlider::SliderPageStepSub:
            model_.scrollRequest(ScrollRequest::PageUp);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            model_.scrollRequest(ScrollRequest::PageDown);
            break;
        case QAbstractSlider::SliderToMinimum:
            model_.scrollRequest(ScrollRequest::Top);
            break;
        case QAbstractSlider::SliderToMaximum:
            model_.scrollRequest(ScrollRequest::Bottom);
            break;
        case QAbstractSlider::SliderMove:
            model_.scrollRequest(ScrollRequest::Thumb, bar->sliderPosition());
            break;
        default:
            return;
    }
    // The bar takes the model's position rather than the one it computed itself.
    bar->setSliderPosition(model_.scrollPosition());
    applyModelUpdate();
}

void PictureEditor::syncScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    const QSignalBlocker blocker(bar);
    // The model's range counts the last row as a position while its page covers the rest; the
    // bar's range is that of the first visible row.
    bar->setRange(0, std::max(model_.rows() - model_.visibleRows(), 0));
    bar->setPageStep(model_.visibleRows());
    bar->setValue(model_.scrollPosition());
    bar->setEnabled(model_.canScroll());
}

void PictureEditor::scrollBacking(int pixels) {
    const int height = backing_.height();
    const int moved = height - std::abs(pixels);
    if (moved <= 0) {
        return;
    }
    const auto bytes = static_cast<std::size_t>(backing_.bytesPerLine());
    if (pixels > 0) {
        for (int y = height - 1; y >= pixels; --y) {
            std::memcpy(backing_.scanLine(y), backing_.constScanLine(y - pixels), bytes);
        }
    } else {
        for (int y = 0; y < moved; ++y) {
            std::memcpy(backing_.scanLine(y), backing_.constScanLine(y - pixels), bytes);
        }
    }
}

void PictureEditor::render(const QRect& rect) {
    const QRect area = rect & backing_.rect();
    if (area.isEmpty()) {
        return;
    }
    QPainter painter(&backing_);
    painter.setClipRect(area);
    painter.fillRect(area, QColor(kGround));
    const Picture& picture = model_.workingPicture();
    const QRect shown = model_.pictureScreenRect();
    const QRect visible = shown & area;
    const int zoom = model_.zoom();
    if (picture.width() < 1 || visible.isEmpty() || zoom < 1) {
        return;
    }
    // Only the picture cells that the area touches are stretched.
    const QPoint first = visible.topLeft() - shown.topLeft();
    const QPoint last = visible.bottomRight() - shown.topLeft();
    const QRect cells = QRect(QPoint(first.x() / zoom, first.y() / zoom),
                              QPoint(last.x() / zoom, last.y() / zoom)) &
                        QRect(0, 0, picture.width(), picture.height());
    if (cells.isEmpty()) {
        return;
    }
    picture.draw(painter, QRect(shown.topLeft() + cells.topLeft() * zoom, cells.size() * zoom),
                 cells);
}

void PictureEditor::showCursor(bool onPicture) {
    if (onPicture) {
        viewport()->setCursor(Qt::CrossCursor);
    } else {
        viewport()->unsetCursor();
    }
}

}  // namespace rova
