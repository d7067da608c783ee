#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "BmpCodec.h"
#include "Clock.h"
#include "FrameRenderer.h"
#include "MemorySettingsStore.h"
#include "Picture.h"
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

// A renderer and the geometry it draws with, laid out in a window of the given size as the
// simulator lays out its first one.
struct RendererFixture {
    explicit RendererFixture(int width = 800, int height = 600,
                             const SimulationSettings& settings = {}) {
        geometry.apply(settings);
        geometry.setClientRect({0, 0, width, height});
        geometry.fitDistance();
        renderer.resize(geometry.clientRect());
    }
    bool draw(const LampFrame& frame) { return renderer.drawFrame(frame, geometry); }
    const QImage& image() const { return renderer.image(); }

    SimulationGeometry geometry;
    FrameRenderer renderer;
};

// The screen x of rotor angle theta, written out from the perspective formula.
inline double expectedScreenX(const SimulationGeometry& g, double theta) {
    const SimulationSettings& s = g.settings();
    const double depth = s.viewerDistance - s.rotorRadius * std::sin(theta);
    return g.screenCentreX() - 72.0 * s.screenDistance * s.rotorRadius * std::cos(theta) / depth;
}

inline double expectedScale(const SimulationGeometry& g, double theta) {
    const SimulationSettings& s = g.settings();
    return 72.0 * s.screenDistance / (s.viewerDistance - s.rotorRadius * std::sin(theta));
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

// Saves a 2 × 2 24-bit picture: red, green on top; blue, white below.
inline QString saveQuadrants(const QTemporaryDir& dir, const QString& name) {
    Picture picture;
    EXPECT_TRUE(picture.create(2, 2, true, 24, {}, 0));
    const std::uint8_t top[] = {0, 0, 255, 0, 255, 0};  // BGR BGR
    const std::uint8_t bottom[] = {255, 0, 0, 255, 255, 255};
    std::copy(std::begin(top), std::end(top), picture.row(0).begin());
    std::copy(std::begin(bottom), std::end(bottom), picture.row(1).begin());
    const QString path = dir.filePath(name);
    EXPECT_TRUE(saveBmpFile(picture, path));
    return path;
}

// Processes events until `done` holds or five seconds have passed (sanitizer builds are slow).
template <typename Condition>
bool waitFor(Condition done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return done();
}

// A white block 60 columns wide on all 16 lamps, shown as it is.
inline ParameterSet whiteBlock() {
    ParameterSet set;
    set.parameters.commandFlags = 0;
    for (ContentColumn& column : set.content.allocate(60, 16)) {
        column = {0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u};
    }
    return set;
}

}  // namespace rova::test
