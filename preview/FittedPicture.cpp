#include "FittedPicture.h"

#include <cmath>

#include "Numeric.h"

namespace rova {

namespace {

int roundedPixels(double value) {
    return static_cast<int>(std::clamp<std::int64_t>(truncToInt(value + 0.5), 0, 1 << 20));
}

// The nearest whole pixel, halves upward, as the direct stretch measures its source.
int nearestPixel(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

}  // namespace

bool FittedPicture::changed(bool /*pixelsLoaded*/) {
    cache_ = QImage();
    return true;
}

void FittedPicture::setTarget(const QRect& target) {
    target_ = target;
    double scaleX = scaleX_;
    double scaleY = scaleY_;
    if (width() != 0) {
        scaleX = static_cast<double>(target.width()) / width();
    }
    if (height() != 0) {
        scaleY = static_cast<double>(target.height()) / height();
    }
    if (scaleX != scaleX_ || scaleY != scaleY_) {
        cache_ = QImage();
        scaleX_ = scaleX;
        scaleY_ = scaleY;
    }
    scaledWidth_ = roundedPixels(width() * scaleX_);
    scaledHeight_ = roundedPixels(height() * scaleY_);
}

void FittedPicture::drawArea(QPainter& painter, const QRect& area) {
    if (target_.isEmpty() || area.isEmpty()) {
        return;
    }
    // Centre the stretched picture on the target.
    const int sourceX = (area.left() - target_.left()) + (scaledWidth_ - target_.width()) / 2;
    const int sourceY = (area.top() - target_.top()) + (scaledHeight_ - target_.height()) / 2;
    if ((scaleX_ == 1.0 && scaleY_ == 1.0) || !makeCache()) {
        drawDirect(painter, area, sourceX, sourceY);
        return;
    }
    const QRect source(sourceX, sourceY, area.width(), area.height());
    if (!cache_.rect().contains(source)) {
        painter.fillRect(area, Qt::black);  // what lies beyond the picture is black
    }
    painter.drawImage(area.topLeft(), cache_, source);
}

void FittedPicture::drawDirect(QPainter& painter, const QRect& area, int sourceX,
                               int sourceY) const {
    const int left = nearestPixel(sourceX / scaleX_);
    const int top = nearestPixel(sourceY / scaleY_);
    const int right = nearestPixel((sourceX + area.width()) / scaleX_);
    const int bottom = nearestPixel((sourceY + area.height()) / scaleY_);
    if (!draw(painter, area, QRect(left, top, right - left, bottom - top))) {
        painter.fillRect(area, Qt::black);
    }
}

bool FittedPicture::makeCache() {
    if (!cache_.isNull()) {
        return true;
    }
    if (scaledWidth_ <= 0 || scaledHeight_ <= 0) {
        return false;
    }
    QImage scaled(scaledWidth_, scaledHeight_, QImage::Format_RGB32);
    if (scaled.isNull()) {
        return false;
    }
    QPainter painter(&scaled);
    if (!drawWhole(painter, QRect(0, 0, scaledWidth_, scaledHeight_))) {
        return false;
    }
    painter.end();
    cache_ = std::move(scaled);
    return true;
}

}  // namespace rova
