#pragma once

#include <QRect>
#include <cstdint>

#include "SimulationSettings.h"

namespace rova {

// Where the rotor appears in the preview: the settings block, the quantities derived from it,
// and the perspective mapping from the rotor cylinder onto the window's pixels (72 per inch at
// the screen distance). Rotor angles: 0 at the viewer's left, 90 nearest the viewer, 180 right.
// Holds no lock; the simulator guards it.
class SimulationGeometry {
  public:
    static constexpr double kRadiansToDegrees = 57.29577951471995;
    static constexpr double kDegreesToRadians = 0.017453292519444445;
    static constexpr int kFitMargin = 5;  // pixels kept free around a fitted rotor

    SimulationGeometry() { recompute(); }

    const SimulationSettings& settings() const { return settings_; }
    // Copies the block in, enforces the minimums and recomputes everything derived.
    void apply(const SimulationSettings& settings);

    double LampHalfAngle() const { return lampHalfAngle_; }    // radians
    double RotorHalfAngle() const { return rotorHalfAngle_; }  // radians
    double ColumnHeight() const { return columnHeight_; }      // inches
    std::int32_t MsPerDraw() const { return msPerDraw_; }
    double DegreesPerDraw() const { return degreesPerDraw_; }

    const QRect& clientRect() const { return client_; }
    int screenCentreX() const { return centreX_; }
    int screenCentreY() const { return centreY_; }
    // Stores a new client rectangle and places the screen centre in it.
    void setClientRect(const QRect& client);

    // Sets the viewer distance at which the rotor just fits the window inside the margins.
    void fitDistance();

    // Perspective: the window x of rotor angle theta (radians), and pixels per inch there.
    double screenX(double theta) const;
    double scaleAt(double theta) const;
    // Degrees of rim that one lamp spacing covers.
    double degreesPerLampColumn() const {
        return settings_.lampSpacingY / settings_.rotorRadius * kRadiansToDegrees;
    }

  private:
    void recompute();
    void computeScreenCentre();

    SimulationSettings settings_;
    double lampHalfAngle_ = 0.0;
    double rotorHalfAngle_ = 0.0;
    double columnHeight_ = 0.0;
    std::int32_t msPerDraw_ = 0;
    double degreesPerDraw_ = 0.0;
    QRect client_;
    int centreX_ = 0;
    int centreY_ = 0;
};

}  // namespace rova
