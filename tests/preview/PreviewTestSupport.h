#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>

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

// A block 60 columns wide on all 16 lamps, shown as it is, white or in the given planes.
inline ParameterSet colourBlock(std::uint32_t blue = 0xFFFF0000u, std::uint32_t green = 0xFFFF0000u,
                                std::uint32_t red = 0xFFFF0000u) {
    ParameterSet set;
    set.parameters.commandFlags = 0;
    for (ContentColumn& column : set.content.allocate(60, 16)) {
        column = {blue, green, red};
    }
    return set;
}

}  // namespace rova::test
