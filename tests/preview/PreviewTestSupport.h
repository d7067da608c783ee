#pragma once

#include <QImage>
#include <cmath>

#include "Clock.h"
#include "MemorySettingsStore.h"
#include "PreviewSimulator.h"

namespace rova::test {

// A simulator on virtual time and in-memory settings, laid out in a window of the given size.
struct SimulatorFixture {
    explicit SimulatorFixture(int width = 800, int height = 600) {
        simulator.resize({0, 0, width, height});
    }
    VirtualClock clock;
    MemorySettingsStore store;
    PreviewSimulator simulator{clock, store};
};

// The screen x of rotor angle theta, written out from the perspective formula.
inline double expectedScreenX(const SimulationGeometry& g, double theta) {
    const SimulationSettings& s = g.settings();
    const double depth = s.ViewerDistance - s.RotorRadius * std::sin(theta);
    return g.screenCentreX() - 72.0 * s.ScreenDistance * s.RotorRadius * std::cos(theta) / depth;
}

inline double expectedScale(const SimulationGeometry& g, double theta) {
    const SimulationSettings& s = g.settings();
    return 72.0 * s.ScreenDistance / (s.ViewerDistance - s.RotorRadius * std::sin(theta));
}

inline int countPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        }
    }
    return count;
}

inline bool allBlack(const QImage& image) {
    return countPixels(image, qRgb(0, 0, 0)) == image.width() * image.height();
}

}  // namespace rova::test
