#include "PreviewSimulator.h"

#include <cmath>

#include "Numeric.h"
#include "SettingsStore.h"

namespace rova {

namespace {

// Settings keys and stored defaults; lengths are kept in thousandths of an inch.
const QString kFramesPerSecond = QStringLiteral("FramesPerSecond");
const QString kRotorRadius = QStringLiteral("RotorRadius");
const QString kViewerDistance = QStringLiteral("ViewerDistance");
const QString kViewerY = QStringLiteral("ViewerY");
const QString kViewerAngle = QStringLiteral("ViewerAngle");
const QString kLampDiameter = QStringLiteral("LampDiameter");
const QString kLampSpacingY = QStringLiteral("LampSpacingY");
const QString kDegreesPerSecond = QStringLiteral("DegreesPerSecond");
const QString kDrawsPerSecond = QStringLiteral("DrawsPerSecond");
const QString kDoAnimation = QStringLiteral("DoAnimation");
const QString kBackgroundViewed = QStringLiteral("BackgroundViewed");
const QString kBackgroundPath = QStringLiteral("BackgroundPath");
const QString kDefaultBackground = QStringLiteral("background.bmp");

constexpr double kThousandths = 0.001;

double readLength(const SettingsStore& store, const QString& key, int defaultThousandths) {
    return store.getSettingInt(key, defaultThousandths) * kThousandths;
}

void writeLength(SettingsStore& store, const QString& key, double inches) {
    store.setSettingInt(key, static_cast<long>(truncToInt(inches * 1000.0)));
}

void writeWhole(SettingsStore& store, const QString& key, double value) {
    store.setSettingInt(key, static_cast<long>(truncToInt(value)));
}

}  // namespace

PreviewSimulator::PreviewSimulator(Clock& clock, SettingsStore& settings)
    : PlayerEngine(clock), store_(settings) {
    SimulationSettings s;
    s.rotorRadius = readLength(store_, kRotorRadius, 74000);
    s.lampDiameter = readLength(store_, kLampDiameter, 2000);
    s.lampSpacingY = readLength(store_, kLampSpacingY, 2625);
    s.viewerDistance = readLength(store_, kViewerDistance, 720000);
    s.viewerY = readLength(store_, kViewerY, 48000);
    s.viewerAngle = store_.getSettingInt(kViewerAngle, 90);
    s.framesPerSecond = store_.getSettingInt(kFramesPerSecond, 8);
    s.degreesPerSecond = store_.getSettingInt(kDegreesPerSecond, 720);
    s.drawsPerSecond = store_.getSettingInt(kDrawsPerSecond, 16);
    s.doAnimation = store_.getSettingInt(kDoAnimation, 0) != 0;
    backgroundViewed_ = store_.getSettingInt(kBackgroundViewed, 1) != 0;
    store_.getSettingString(backgroundPath_, kBackgroundPath, QString());
    applySettings(s);
}

PreviewSimulator::~PreviewSimulator() {
    stopWorker();
    writeSettings();
}

void PreviewSimulator::writeSettings() {
    const SimulationSettings s = geometry().settings();
    writeLength(store_, kRotorRadius, s.rotorRadius);
    writeLength(store_, kLampDiameter, s.lampDiameter);
    writeLength(store_, kLampSpacingY, s.lampSpacingY);
    writeLength(store_, kViewerDistance, s.viewerDistance);
    writeLength(store_, kViewerY, s.viewerY);
    store_.setSettingInt(kViewerAngle, s.viewerAngle);
    writeWhole(store_, kFramesPerSecond, s.framesPerSecond);
    writeWhole(store_, kDegreesPerSecond, s.degreesPerSecond);
    writeWhole(store_, kDrawsPerSecond, s.drawsPerSecond);
    store_.setSettingInt(kDoAnimation, s.doAnimation ? 1 : 0);
    store_.setSettingInt(kBackgroundViewed, backgroundViewed() ? 1 : 0);
}

double PreviewSimulator::degreesPerLampColumn() const {
    // Read without the lock: a torn read of two doubles can only give a momentarily odd width.
    return geometry_.degreesPerLampColumn();
}

std::int32_t PreviewSimulator::tick() {
    const std::int32_t untilFrame = PlayerEngine::tick();
    std::lock_guard guard(lock_);
    if (!geometry_.settings().doAnimation) {
        return untilFrame;
    }
    const std::uint32_t now = frameClock().now();
    // A signed difference, so that the comparison survives the clock's wrap.
    if (static_cast<std::int32_t>(now - nextDrawTime_) >= 0) {
        drawFrame(currentFrame());
        nextDrawTime_ = now + static_cast<std::uint32_t>(geometry_.MsPerDraw());
    }
    const auto untilDraw = static_cast<std::int32_t>(nextDrawTime_ - frameClock().clock().nowMs());
    return std::min(untilFrame, untilDraw);
}

void PreviewSimulator::composeFrame() {
    PlayerEngine::composeFrame();
    // The frame is composed on this (the worker) thread, so it is read without the engine's lock.
    std::lock_guard guard(lock_);
    if (!geometry_.settings().doAnimation) {
        drawFrame(currentFrame());
    }
}

void PreviewSimulator::startDrawing() {
    {
        std::lock_guard guard(lock_);
        animationAngle_ = 0.0;
        nextDrawTime_ = frameClock().clock().nowMs();  // the first sweep is due at once
        dirty_ = {};
    }
    startWorker();
}

void PreviewSimulator::applySettings(const SimulationSettings& settings) {
    std::lock_guard guard(lock_);
    setFramesPerSecond(settings.framesPerSecond);  // takes the engine's lock inside ours
    geometry_.apply(settings);
}

void PreviewSimulator::fitDistance() {
    std::lock_guard guard(lock_);
    geometry_.fitDistance();
}

SimulationGeometry PreviewSimulator::geometry() const {
    std::lock_guard guard(lock_);
    return geometry_;
}

void PreviewSimulator::resize(const PixelRect& client) {
    std::lock_guard guard(lock_);
    if (client.width() <= 0) {
        return;
    }
    const double userDistance = geometry_.settings().viewerDistance;
    geometry_.fitDistance();
    const double oldFit = geometry_.settings().viewerDistance;

    image_ = QImage(client.width(), std::max(client.height(), 1), QImage::Format_RGB32);
    image_.fill(Qt::black);
    background_.setTarget(client);
    dirty_ = client;
    geometry_.setClientRect(client);
    geometry_.fitDistance();

    if (firstResize_) {
        // A preview always opens with the rotor fitting the window.
        firstResize_ = false;
        if (backgroundPath_.isEmpty()) {
            backgroundPath_ = kDefaultBackground;
        }
        loadBackground(backgroundPath_);
    } else {
        // Later the viewer keeps the same distance relative to a window-filling one.
        SimulationSettings s = geometry_.settings();
        s.viewerDistance *= userDistance / oldFit;
        geometry_.apply(s);
    }
}

// ---- drawing state ----

void PreviewSimulator::setDisplayDepth(int bitsPerPixel) {
    std::lock_guard guard(lock_);
    displayDepth_ = bitsPerPixel;
}

void PreviewSimulator::setPreviewEnabled(bool enabled) {
    std::lock_guard guard(lock_);
    previewEnabled_ = enabled;
}

bool PreviewSimulator::previewEnabled() const {
    std::lock_guard guard(lock_);
    return previewEnabled_;
}

void PreviewSimulator::setBackgroundViewed(bool viewed) {
    std::lock_guard guard(lock_);
    backgroundViewed_ = viewed;
    dirty_ = geometry_.clientRect();
}

bool PreviewSimulator::backgroundViewed() const {
    std::lock_guard guard(lock_);
    return backgroundViewed_;
}

void PreviewSimulator::invalidate() {
    std::lock_guard guard(lock_);
    dirty_ = geometry_.clientRect();
}

void PreviewSimulator::loadBackground(const QString& path) {
    // A missing or unreadable file leaves the picture empty: the background is then black.
    background_.loadFile(path, true);
    // Fitted at once, so a new picture fills the window from its first drawing.
    background_.setTarget(geometry_.clientRect());
}

bool PreviewSimulator::chooseBackground(const QString& path) {
    std::lock_guard guard(lock_);
    if (!background_.loadFile(path, true)) {
        loadBackground(backgroundPath_);
        return false;
    }
    background_.setTarget(geometry_.clientRect());
    backgroundPath_ = path;
    backgroundViewed_ = true;
    dirty_ = geometry_.clientRect();
    store_.setSettingString(kBackgroundPath, path);
    return true;
}

QString PreviewSimulator::backgroundPath() const {
    std::lock_guard guard(lock_);
    return backgroundPath_;
}

void PreviewSimulator::eraseBackground() {
    std::lock_guard guard(lock_);
    if (previewEnabled_) {
        dirty_ = geometry_.clientRect();
    } else {
        repaintBackground(geometry_.clientRect());
    }
}

PixelRect PreviewSimulator::dirtyRect() const {
    std::lock_guard guard(lock_);
    return dirty_;
}

double PreviewSimulator::animationAngle() const {
    std::lock_guard guard(lock_);
    return animationAngle_;
}

QImage PreviewSimulator::image() const {
    std::lock_guard guard(lock_);
    return image_.copy();
}

void PreviewSimulator::withImage(const std::function<void(const QImage&)>& paint) const {
    std::lock_guard guard(lock_);
    paint(image_);
}

void PreviewSimulator::setDrawnHandler(std::function<void()> handler) {
    std::lock_guard guard(lock_);
    drawn_ = std::move(handler);
}

}  // namespace rova
