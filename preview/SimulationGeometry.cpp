#include "SimulationGeometry.h"

#include <algorithm>
#include <cmath>

#include "Numeric.h"

namespace rova {

void SimulationGeometry::apply(const SimulationSettings& settings) {
    settings_ = settings;
    recompute();
}

void SimulationGeometry::recompute() {
    SimulationSettings& s = settings_;
    // Written as "not at least" so that NaN falls back to the minimum too.
    if (!(s.rotorRadius >= SimulationLimits::kMinRotorRadius)) {
        s.rotorRadius = SimulationLimits::kMinRotorRadius;
    }
    const double minDistance = s.rotorRadius + SimulationLimits::kMinDistanceBeyondRadius;
    if (!(s.viewerDistance >= minDistance)) {
        s.viewerDistance = minDistance;
    }
    if (!(s.lampDiameter >= SimulationLimits::kMinLampSize)) {
        s.lampDiameter = SimulationLimits::kMinLampSize;
    }
    if (!(s.lampSpacingY >= SimulationLimits::kMinLampSize)) {
        s.lampSpacingY = SimulationLimits::kMinLampSize;
    }
    if (!(s.degreesPerSecond >= SimulationLimits::kMinRate)) {
        s.degreesPerSecond = SimulationLimits::kMinRate;
    }
    if (!(s.drawsPerSecond >= SimulationLimits::kMinRate)) {
        s.drawsPerSecond = SimulationLimits::kMinRate;
    }
    msPerDraw_ = static_cast<std::int32_t>(truncToInt(1000.0 / s.drawsPerSecond + 0.5));
    degreesPerDraw_ = s.degreesPerSecond / s.drawsPerSecond;
    lampHalfAngle_ = std::atan2(s.lampDiameter / 2.0, s.rotorRadius);
    rotorHalfAngle_ = std::asin(s.rotorRadius / s.viewerDistance);
    columnHeight_ = 15.0 * s.lampSpacingY + s.lampDiameter;
    computeScreenCentre();
}

void SimulationGeometry::setClientRect(const QRect& client) {
    client_ = client;
    computeScreenCentre();
}

void SimulationGeometry::computeScreenCentre() {
    // The middle pixel, the left (upper) one of two (right() and bottom() are the last pixels).
    centreX_ = (client_.left() + client_.right()) >> 1;
    centreY_ = (client_.top() + client_.bottom()) >> 1;
    // The middle of the lamp column lands in the middle of the window at a scale of
    // (client height / 324) pixels per inch.
    const double aboveEye = (columnHeight_ * 0.5 + settings_.viewerY) * (1.0 / 324.0) *
                            static_cast<double>(client_.height());
    centreY_ += static_cast<int>(std::clamp<std::int64_t>(truncToInt(aboveEye), -1000000, 1000000));
}

void SimulationGeometry::fitDistance() {
    SimulationSettings& s = settings_;
    constexpr double kPixelsPerInch = 72.0;
    const double minDistance = s.rotorRadius + SimulationLimits::kMinDistanceBeyondRadius;
    s.viewerDistance = minDistance;

    // Across: the rotor circle grazes the lines of sight through the window's half-width.
    const int across = client_.left() + client_.width() - centreX_ - kFitMargin;
    if (across > 0) {
        const double candidate =
            s.rotorRadius / std::sin(std::atan2(across / kPixelsPerInch, s.screenDistance));
        s.viewerDistance = std::max(minDistance, candidate);
    }
    // Up: the top of the column at its nearest point stays inside the top margin.
    const int up = centreY_ - client_.top() - kFitMargin;
    const double columnTop = columnHeight_ + s.viewerY;
    if (up > 0 && columnTop > 0.0) {
        const double candidate =
            columnTop / (up / kPixelsPerInch) * s.screenDistance + s.rotorRadius;
        s.viewerDistance = std::max(s.viewerDistance, candidate);
    }
    // Down: only when the column reaches below the eye.
    const int down = client_.top() + client_.height() - centreY_ - kFitMargin;
    const double columnBottom = -s.viewerY;
    if (down > 0 && columnBottom > 0.0) {
        const double candidate =
            columnBottom / (down / kPixelsPerInch) * s.screenDistance + s.rotorRadius;
        s.viewerDistance = std::max(s.viewerDistance, candidate);
    }
    recompute();
}

double SimulationGeometry::screenX(double theta) const {
    const SimulationSettings& s = settings_;
    return centreX_ - 72.0 * s.screenDistance * s.rotorRadius * std::cos(theta) /
                          (s.viewerDistance - s.rotorRadius * std::sin(theta));
}

double SimulationGeometry::scaleAt(double theta) const {
    const SimulationSettings& s = settings_;
    return 72.0 * s.screenDistance / (s.viewerDistance - s.rotorRadius * std::sin(theta));
}

}  // namespace rova
