// Drawing one lamp frame into the preview image as the viewer sees the rotor: each degree column
// placed on the cylinder in perspective, shaded by how far it faces the viewer, its lit lamps
// drawn as filled rectangles.

#include "FrameRenderer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "BmpCodec.h"
#include "Numeric.h"

namespace rova {

namespace {

const QString kDefaultBackground = QStringLiteral("background.bmp");

constexpr double kHalfPi = 1.57079632675;
constexpr double kThreeHalvesPi = 4.71238898025;
constexpr int kFullIntensity = 256;
constexpr int kDimmestDrawn = 5;

int truncPixel(double value) {
    return static_cast<int>(std::clamp<std::int64_t>(truncToInt(value), -(1 << 24), 1 << 24));
}

// A rectangle given by its edges, right and bottom exclusive, as the lamps are measured.
QRect fromEdges(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// The bounding union in which an empty rectangle adds nothing (QRect::united skips only null
// ones, and would grow the result to take in an empty one's corners).
QRect unitedNonEmpty(const QRect& a, const QRect& b) {
    if (b.isEmpty()) {
        return a;
    }
    return a.isEmpty() ? b : a.united(b);
}

// How bright a column at rotor angle theta looks: full facing the viewer, falling off toward the
// grazing points, and a quarter of that on the far side.
int columnIntensity(double theta, double rotorHalfAngle) {
    const double phi = (theta >= kHalfPi && theta < kThreeHalvesPi) ? theta + rotorHalfAngle
                                                                    : theta - rotorHalfAngle;
    double s = std::sin(phi) * 256.0;
    if (s < 0.0) {
        s *= -0.25;
    }
    return truncPixel(s);
}

// The display colour of a lamp colour index (bit 0 blue, 1 green, 2 red) at an intensity.
QRgb lampColour(int index, int intensity) {
    const auto channel = [intensity](bool on) {
        return on ? ((255 * intensity + 128) >> 8) & 0xFF : 0;
    };
    return qRgb(channel(index & 4), channel(index & 2), channel(index & 1));
}

}  // namespace

void FrameRenderer::resize(const QRect& client) {
    client_ = client;
    image_ = QImage(client.width(), std::max(client.height(), 1), QImage::Format_RGB32);
    image_.fill(Qt::black);
    background_.setTarget(client);
    dirty_ = client;
}

void FrameRenderer::restartAnimation() {
    animationAngle_ = 0.0;
    dirty_ = QRect();
}

void FrameRenderer::setBackgroundViewed(bool viewed) {
    backgroundViewed_ = viewed;
    dirty_ = client_;
}

void FrameRenderer::loadPicture(const QString& path) {
    // A missing or unreadable file leaves the picture empty: the background is then black.
    loadBmpFile(background_, path, true);
    // Fitted at once, so a new picture fills the window from its first drawing.
    background_.setTarget(client_);
}

void FrameRenderer::loadBackground() {
    if (backgroundPath_.isEmpty()) {
        backgroundPath_ = kDefaultBackground;
    }
    loadPicture(backgroundPath_);
}

bool FrameRenderer::chooseBackground(const QString& path) {
    if (!loadBmpFile(background_, path, true)) {
        loadPicture(backgroundPath_);
        return false;
    }
    background_.setTarget(client_);
    backgroundPath_ = path;
    backgroundViewed_ = true;
    dirty_ = client_;
    return true;
}

void FrameRenderer::eraseBackground() {
    if (previewEnabled_) {
        dirty_ = client_;
    } else {
        repaintBackground(client_);
    }
}

void FrameRenderer::fillLamp(int left, int top, int right, int bottom, QRgb colour) {
    // Clipped to the client area with plain integers rather than QRect's out-of-line operations:
    // this runs for every lit lamp of every column.
    const int clipLeft = std::max(left, client_.left());
    const int clipTop = std::max(top, client_.top());
    const int clipRight = std::min(right, client_.left() + client_.width());
    const int clipBottom = std::min(bottom, client_.top() + client_.height());
    if (clipLeft >= clipRight || clipTop >= clipBottom) {
        return;
    }
    for (int y = clipTop; y < clipBottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y - client_.top()));
        std::fill(line + (clipLeft - client_.left()), line + (clipRight - client_.left()), colour);
    }
}

void FrameRenderer::repaintBackground(const QRect& area) {
    if (background_.width() > 0 && backgroundViewed_ && !image_.isNull()) {
        QPainter painter(&image_);
        painter.translate(-client_.left(), -client_.top());
        painter.setClipRect(client_);
        background_.drawArea(painter, area);
    } else {
        fillLamp(area.left(), area.top(), area.left() + area.width(), area.top() + area.height(),
                 qRgb(0, 0, 0));
    }
}

bool FrameRenderer::drawFrame(const LampFrame& frame, const SimulationGeometry& g) {
    const SimulationSettings& s = g.settings();
    const int columnOffset = s.viewerAngle - 90;
    if (!previewEnabled_ || image_.isNull()) {
        return false;
    }
    if (!dirty_.isEmpty()) {
        repaintBackground(dirty_);
        dirty_ = QRect();
    }

    int count = 360;
    int passes = 1;
    double start = 180.0 - g.RotorHalfAngle() * SimulationGeometry::kRadiansToDegrees;
    if (s.doAnimation) {
        // Four arms 90° apart, each showing the degrees after the previous drawing's end.
        count = static_cast<int>(std::clamp<std::int64_t>(truncToInt(g.DegreesPerDraw()), 0, 90));
        passes = 4;
        start = animationAngle_;
        animationAngle_ = std::fmod(animationAngle_ + g.DegreesPerDraw(), 90.0);
        if (!std::isfinite(animationAngle_)) {
            animationAngle_ = 0.0;
        }
    }

    const bool shaded = displayDepth_ >= 16;
    for (int pass = passes - 1; pass >= 0; --pass) {
        double angle = pass * 90 + start;
        for (int step = 0; step < count; ++step, angle += 1.0) {
            if (angle >= 360.0) {
                angle -= 360.0;
            }
            const double theta = angle * SimulationGeometry::kDegreesToRadians;
            const int intensity =
                shaded ? columnIntensity(theta, g.RotorHalfAngle()) : kFullIntensity;
            if (intensity < kDimmestDrawn) {
                continue;  // too close to a grazing point to be seen
            }
            const double x1 = g.screenX(theta - g.LampHalfAngle());
            const double x2 = g.screenX(theta + g.LampHalfAngle());
            const int left = truncPixel(std::min(x1, x2) + 0.5);
            const int right = truncPixel(std::max(x1, x2) + 1.5);  // exclusive
            if (left > client_.right() || right <= client_.left()) {
                continue;
            }
            const double scale = g.scaleAt(theta);
            const double lampHeight = scale * s.lampDiameter;
            const double lampStep = scale * s.lampSpacingY;
            const double columnHeight = scale * g.ColumnHeight();
            double y = g.screenCentreY() - columnHeight - scale * s.viewerY + 0.5;
            dirty_ = unitedNonEmpty(
                dirty_, fromEdges(left, truncPixel(y), right, truncPixel(y + columnHeight) + 1));

            const int column = static_cast<int>(
                ((static_cast<std::int64_t>(std::floor(angle)) + columnOffset) % 360 + 360) % 360);
            for (int lamp = LampFrame::kLamps - 1; lamp >= 0; --lamp, y += lampStep) {
                const int index = frame.colourAt(column, lamp);
                if (index == 0) {
                    continue;
                }
                const QRgb colour = lampColour(index, intensity);
                if (qRed(colour) + qGreen(colour) + qBlue(colour) == 0) {
                    continue;
                }
                fillLamp(left, truncPixel(y), right, truncPixel(y + lampHeight), colour);
            }
        }
    }
    return true;
}

}  // namespace rova
