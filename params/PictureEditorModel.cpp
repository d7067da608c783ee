#include "PictureEditorModel.h"

#include <QColor>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>

#include "BitmapFormat.h"
#include "BmpCodec.h"
#include "Colour.h"
#include "CommandContent.h"
#include "PictureDC.h"
#include "PictureEdits.h"
#include "RichTextDocument.h"
#include "TextRenderer.h"

namespace rova {

namespace {

constexpr ColourRef kBlack = 0x000000;
// The text colour White draws as lamp white: the pen's White is the text colour, not 255s.
constexpr ColourRef kTextWhite = 0xE0E0E0;
constexpr ColourRef kLampWhite = 0xFFFFFF;
// Wheel movement of one notch.
constexpr std::int64_t kWheelDelta = 120;

// The width of `picture` shown at `rows` rows, rounded to the nearest column; none when it is
// not a size that can be made (pictures and rows read from files are checked before
// allocating).
std::optional<int> scaledWidth(const Picture& picture, int rows) {
    const std::int64_t height = picture.height();
    if (height < 1 || rows < 1 || rows > kMaxLoadedSide) {
        return std::nullopt;
    }
    const std::int64_t width = (picture.width() * std::int64_t{rows} + height / 2) / height;
    if (width < 1 || width > kMaxLoadedSide) {
        return std::nullopt;
    }
    return static_cast<int>(width);
}

// `picture` stretched into a new lamp picture `rows` rows high, its width scaled alike.
bool stretchToRows(const Picture& picture, int rows, Picture& lampPicture) {
    const std::optional<int> width = scaledWidth(picture, rows);
    return width && lampPicture.createLamp(*width, rows) &&
           picture.drawInto(lampPicture, QRect(0, 0, *width, rows));
}

}  // namespace

bool PictureEditorModel::SourcePicture::changed(bool pixelsLoaded) {
    if (pixelsLoaded) {
        model_.state_.flags |= PictureState::kRescaledView;
        model_.rebuild();
    }
    return true;
}

PictureEditorModel::PictureEditorModel(PictureEditorOwner* owner) : owner_(owner), source_(*this) {}

PictureEditorModel::~PictureEditorModel() = default;

const Picture& PictureEditorModel::sourcePicture() const {
    return source_;
}

const Picture& PictureEditorModel::currentPicture() const {
    if (source_.width() >= 1) {
        return source_;
    }
    return working_;
}

// ---- layout ----

void PictureEditorModel::setClientSize(QSize size) {
    if (size == clientSize_) {
        return;
    }
    clientSize_ = size;
    layout();
    invalidateAll();
}

QRect PictureEditorModel::pictureScreenRect() const {
    return QRect(leftOffset_, topOffset_ - scrollPosition_ * zoom_, working_.width() * zoom_,
                 state_.rows * zoom_);
}

QRect PictureEditorModel::screenRectOf(const QRect& pictureRect) const {
    return QRect(leftOffset_ + pictureRect.x() * zoom_,
                 topOffset_ + (pictureRect.y() - scrollPosition_) * zoom_,
                 pictureRect.width() * zoom_, pictureRect.height() * zoom_);
}

PictureEditorUpdate PictureEditorModel::takeUpdate() {
    PictureEditorUpdate update = update_;
    update_ = PictureEditorUpdate();
    return update;
}

void PictureEditorModel::layout() {
    const int rows = state_.rows;
    const int oldMaximum = maximumScrollPosition_;
    const int oldVisible = visibleRows_;
    const int oldPosition = scrollPosition_;
    const bool couldScroll = canScroll();

    visibleRows_ = std::max(clientSize_.height() / zoom_, 1);
    maximumScrollPosition_ = rows > 1 ? rows - 1 : rows;
    scrollPosition_ = std::min(scrollPosition_, std::max(rows - visibleRows_, 0));
    leftOffset_ = (clientSize_.width() - working_.width() * zoom_) / 2;
    topOffset_ = (clientSize_.height() - zoom_ * std::min(visibleRows_, rows)) / 2;

    if (maximumScrollPosition_ != oldMaximum || visibleRows_ != oldVisible ||
        scrollPosition_ != oldPosition || canScroll() != couldScroll) {
        update_.scrollBarChanged = true;
    }
}

// ---- rows, zoom, rebuild ----

void PictureEditorModel::setRows(int rows) {
    if (rows == state_.rows) {
        return;
    }
    state_.rows = rows;
    rebuild();
    fitZoom();
}

void PictureEditorModel::changeRows(int delta) {
    const std::int64_t rows = std::int64_t{state_.rows} + delta;
    if (rows > 0 && rows <= std::numeric_limits<int>::max()) {
        setRows(static_cast<int>(rows));
    }
}

void PictureEditorModel::setZoom(int zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == zoom_) {
        return;
    }
    zoom_ = zoom;
    layout();
    invalidateAll();
}

void PictureEditorModel::fitZoom() {
    if (state_.rows >= 1) {
        setZoom(clientSize_.height() / state_.rows);
    }
}

void PictureEditorModel::rebuild() {
    if (!source_.hasPixels()) {
        if (state_.rows == working_.height()) {
            return;
        }
        if (working_.hasPixels()) {
            // The edited picture becomes the source, whose changed() rebuilds from it.
            source_.moveFrom(working_);
            return;
        }
    }
    if (!stretchToRows(source_, state_.rows, working_)) {
        working_.clear();
    }
    layout();
    invalidateAll();
    notifyOwner();
}

// ---- edits ----

void PictureEditorModel::commit(const QRect& pictureRect) {
    source_.clear();
    state_.flags &= ~PictureState::kRescaledView;
    layout();
    invalidate(screenRectOf(pictureRect));
    notifyOwner();
}

void PictureEditorModel::commit() {
    source_.clear();
    state_.flags &= ~PictureState::kRescaledView;
    layout();
    invalidateAll();
    notifyOwner();
}

void PictureEditorModel::ensurePicture() {
    if (working_.hasPixels()) {
        return;
    }
    if (working_.createLamp(kFreshSide, kFreshSide)) {
        state_.rows = kFreshSide;
        commit();
    }
}

bool PictureEditorModel::restore(const Command& command) {
    Picture stored;
    std::string fileName;
    PictureState state;
    if (!putPicture(command, fileName, state, stored)) {
        applySetPicture(SetPictureFunction::SetTo, kFreshSide, kFreshSide, kBlack);
        return false;
    }
    fileName_ = QString::fromStdString(fileName);
    state_ = state;
    // The stored picture is the new source: its changed() rebuilds at the stored rows.
    source_.moveFrom(stored);
    return true;
}

bool PictureEditorModel::takeContent(Command& command) const {
    return takePicture(command, fileName_.toStdString(), state_, currentPicture());
}

bool PictureEditorModel::sourceArrived(bool loaded, const QString& fileName) {
    if (!loaded) {
        return false;
    }
    fileName_ = fileName;
    setRows(std::min(source_.height(), kMaxLoadedRows));
    notifyOwner();
    fitZoom();
    return true;
}

bool PictureEditorModel::loadFile(const QString& path) {
    return sourceArrived(loadBmpFile(source_, path, true), path);
}

bool PictureEditorModel::loadPicture(Picture& decoded, const QString& path) {
    if (!decoded.hasPixels()) {
        source_.clear();
        return false;
    }
    return sourceArrived(source_.moveFrom(decoded), path);
}

bool PictureEditorModel::saveFile(const QString& path) {
    if (!saveBmpFile(currentPicture(), path)) {
        return false;
    }
    fileName_ = path;
    return true;
}

bool PictureEditorModel::textPicture(const RichTextDocument& text, Picture& target) {
    Picture band;
    if (!renderText(band, text.document(), text.defaultFormat(), 1, 1)) {
        return false;
    }
    const std::optional<QRect> bounds = contentBounds(band);
    return bounds && cropPicture(target, band, *bounds, kBlack);
}

bool PictureEditorModel::autoCrop() {
    Picture lampPicture;
    if (!stretchToRows(currentPicture(), state_.rows, lampPicture)) {
        return false;
    }
    const std::optional<QRect> bounds = contentBounds(lampPicture);
    if (!bounds || !cropPicture(working_, lampPicture, *bounds, kBlack)) {
        return false;
    }
    state_.rows = working_.height();
    commit();
    return true;
}

bool PictureEditorModel::copyText(const RichTextDocument& text) {
    if (!textPicture(text, working_)) {
        return false;
    }
    fileName_.clear();
    state_.rows = working_.height();
    commit();
    return true;
}

bool PictureEditorModel::invert() {
    if (!working_.hasPixels() || !invertPicture(working_)) {
        return false;
    }
    commit();
    return true;
}

bool PictureEditorModel::cut() {
    if (!working_.hasPixels()) {
        return false;
    }
    working_.zeroPixels();
    commit();
    return true;
}

bool PictureEditorModel::pastePacked(std::span<const std::uint8_t> block) {
    return sourceArrived(loadPackedBitmap(source_, block, true), QString());
}

bool PictureEditorModel::pastePicture(Picture& decoded) {
    return loadPicture(decoded, QString());
}

bool PictureEditorModel::applySetPicture(SetPictureFunction function, int width, int height,
                                         ColourRef colour) {
    if (width < 1 || height < 1) {
        return false;
    }
    bool done = false;
    switch (function) {
        case SetPictureFunction::SetTo: {
            Picture filled;
            done = filled.createLampFilled(width, height, colour) && working_.moveFrom(filled);
            if (done) {
                fileName_.clear();
            }
            break;
        }
        case SetPictureFunction::Resize:
            done = working_.hasPixels() && resizePicture(working_, width, height, colour);
            break;
        case SetPictureFunction::Scale:
            done = working_.hasPixels() && scalePicture(working_, width, height);
            break;
    }
    if (!done) {
        return false;
    }
    state_.rows = height;
    commit();
    fitZoom();
    return true;
}

// ---- scrolling ----

void PictureEditorModel::scrollToRow(int row) {
    const int position = std::min(std::max(state_.rows - visibleRows_, 0), std::max(row, 0));
    if (position == scrollPosition_) {
        return;
    }
    const int moved = (scrollPosition_ - position) * zoom_;
    update_.scrolledBy += moved;
    // What was to be repainted has moved with the content.
    update_.dirty = update_.dirty.translated(0, moved) & QRect(QPoint(0, 0), clientSize_);
    update_.scrollBarChanged = true;
    scrollPosition_ = position;
    layout();
}

void PictureEditorModel::scrollRequest(ScrollRequest request, int thumbPosition) {
    int position = scrollPosition_;
    switch (request) {
        case ScrollRequest::LineUp:
            position -= 1;
            break;
        case ScrollRequest::LineDown:
            position += 1;
            break;
        case ScrollRequest::PageUp:
            position -= visibleRows_ - 1;
            break;
        case ScrollRequest::PageDown:
            position += visibleRows_ - 1;
            break;
        case ScrollRequest::Thumb:
            position = thumbPosition;
            break;
        case ScrollRequest::Top:
            position = 0;
            break;
        case ScrollRequest::Bottom:
            position = maximumScrollPosition_;
            break;
        case ScrollRequest::EndScroll:
            return;
    }
    scrollToRow(std::clamp(position, 0, std::max(maximumScrollPosition_, 0)));
}

void PictureEditorModel::wheel(int delta, bool shift, bool ctrl, int linesPerNotch, bool pageMode) {
    if (shift) {
        scrollToRow(delta >= 0 ? 0 : maximumScrollPosition_);
        return;
    }
    std::int64_t step = 0;
    if (pageMode || ctrl) {
        step = visibleRows_ - 1;
        if (delta < 0) {
            step = -step;
        }
        wheelRemainder_ = 0;
    } else {
        const std::int64_t total = std::int64_t{delta} * linesPerNotch + wheelRemainder_;
        step = total / kWheelDelta;
        wheelRemainder_ = static_cast<int>(total - step * kWheelDelta);
    }
    const std::int64_t target = std::clamp<std::int64_t>(
        scrollPosition_ - step, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    scrollToRow(static_cast<int>(target));
}

// ---- pen ----

bool PictureEditorModel::pen(unsigned keys, QPoint point) {
    int column = (point.x() - leftOffset_) / zoom_;
    int row = (point.y() - topOffset_) / zoom_ + scrollPosition_;
    const bool onPicture =
        column >= 0 && column < working_.width() && row >= 0 && row < state_.rows;
    if ((keys & (mouse_key::Left | mouse_key::Right)) == 0) {
        return onPicture;
    }

    if (strokeFlags_ == 0) {
        anchor_ = QPoint(column, row);
        lastPoint_ = anchor_;
    }
    strokeFlags_ = keys;
    if ((keys & mouse_key::Shift) != 0) {
        if (std::abs(column - anchor_.x()) > std::abs(row - anchor_.y())) {
            row = anchor_.y();
            lastPoint_.setY(anchor_.y());
        } else {
            column = anchor_.x();
            lastPoint_.setX(anchor_.x());
        }
    }
    ColourRef colour = kBlack;
    if ((keys & mouse_key::Right) == 0) {
        colour = penColour_ == kTextWhite ? kLampWhite : penColour_;
    }

    const QPoint here(column, row);
    PictureDC dc;
    if (dc.open(working_)) {
        const QColor drawn = QColor::fromRgb(rgbOf(colour));
        QPainter& painter = dc.painter();
        if (here != lastPoint_) {
            painter.setPen(QPen(drawn, 1));
            painter.drawLine(lastPoint_, here);
        }
        painter.fillRect(QRect(here, QSize(1, 1)), drawn);
        dc.release(false);
        const QRect touched(
            QPoint(std::min(here.x(), lastPoint_.x()), std::min(here.y(), lastPoint_.y())),
            QPoint(std::max(here.x(), lastPoint_.x()), std::max(here.y(), lastPoint_.y())));
        commit(touched);
    }
    lastPoint_ = here;
    return onPicture;
}

bool PictureEditorModel::press(unsigned keys, QPoint point) {
    strokeFlags_ = 0;
    return pen(keys, point);
}

bool PictureEditorModel::release(QPoint point) {
    const bool onPicture = pen(strokeFlags_, point);
    strokeFlags_ = 0;
    return onPicture;
}

// ---- the owner and the window ----

void PictureEditorModel::notifyOwner() {
    if (owner_ != nullptr) {
        owner_->pictureContentChanged();
    }
}

void PictureEditorModel::invalidate(const QRect& screenRect) {
    const QRect visible = screenRect & QRect(QPoint(0, 0), clientSize_);
    if (!visible.isEmpty()) {
        update_.dirty |= visible;
    }
}

void PictureEditorModel::invalidateAll() {
    invalidate(QRect(QPoint(0, 0), clientSize_));
}

}  // namespace rova
