#include "PreviewSimulator.h"

#include <algorithm>
#include <type_traits>

#include "Numeric.h"
#include "SettingsStore.h"

namespace rova {

namespace {

// What the simulator keeps in the settings as numbers, written back when it closes.
struct StoredSimulation : SimulationSettings {
    bool backgroundViewed = true;
};

// One stored number: its key, how it is kept (lengths in thousandths of an inch, truncated; the
// rest whole, truncated), its default as stored, and the field it is read into and written from.
struct StoredSetting {
    enum class Scale { Whole, Thousandths };

    const char* key;
    Scale scale;
    int storedDefault;
    double (*get)(const StoredSimulation&);
    void (*set)(StoredSimulation&, double);
};

template <auto Field>
constexpr StoredSetting number(const char* key, StoredSetting::Scale scale, int storedDefault) {
    return {key, scale, storedDefault,
            [](const StoredSimulation& s) { return static_cast<double>(s.*Field); },
            [](StoredSimulation& s, double value) {
                s.*Field = static_cast<std::remove_cvref_t<decltype(s.*Field)>>(value);
            }};
}

using Scale = StoredSetting::Scale;

// In the order they are written.
constexpr StoredSetting kStoredSettings[] = {
    number<&SimulationSettings::rotorRadius>("RotorRadius", Scale::Thousandths, 74000),
    number<&SimulationSettings::lampDiameter>("LampDiameter", Scale::Thousandths, 2000),
    number<&SimulationSettings::lampSpacingY>("LampSpacingY", Scale::Thousandths, 2625),
    number<&SimulationSettings::viewerDistance>("ViewerDistance", Scale::Thousandths, 720000),
    number<&SimulationSettings::viewerY>("ViewerY", Scale::Thousandths, 48000),
    number<&SimulationSettings::viewerAngle>("ViewerAngle", Scale::Whole, 90),
    number<&SimulationSettings::framesPerSecond>("FramesPerSecond", Scale::Whole, 8),
    number<&SimulationSettings::degreesPerSecond>("DegreesPerSecond", Scale::Whole, 720),
    number<&SimulationSettings::drawsPerSecond>("DrawsPerSecond", Scale::Whole, 16),
    number<&SimulationSettings::doAnimation>("DoAnimation", Scale::Whole, 0),
    number<&StoredSimulation::backgroundViewed>("BackgroundViewed", Scale::Whole, 1),
};

// Written when a background is chosen, not at closing.
const QString kBackgroundPath = QStringLiteral("BackgroundPath");

constexpr double kThousandths = 0.001;

StoredSimulation readStored(const SettingsStore& store) {
    StoredSimulation values;
    for (const StoredSetting& setting : kStoredSettings) {
        const int stored =
            store.getSettingInt(QString::fromLatin1(setting.key), setting.storedDefault);
        setting.set(values, setting.scale == Scale::Thousandths ? stored * kThousandths : stored);
    }
    return values;
}

void writeStored(SettingsStore& store, const StoredSimulation& values) {
    for (const StoredSetting& setting : kStoredSettings) {
        const double value = setting.get(values);
        const double stored = setting.scale == Scale::Thousandths ? value * 1000.0 : value;
        store.setSettingInt(QString::fromLatin1(setting.key),
                            static_cast<long>(truncToInt(stored)));
    }
}

}  // namespace

PreviewSimulator::PreviewSimulator(Clock& clock, SettingsStore& settings)
    : PlayerEngine(clock), store_(settings) {
    const StoredSimulation stored = readStored(store_);
    QString backgroundPath;
    store_.getSettingString(backgroundPath, kBackgroundPath, QString());
    renderer_.setBackgroundViewed(stored.backgroundViewed);
    renderer_.setBackgroundPath(backgroundPath);
    applySettings(stored);
}

PreviewSimulator::~PreviewSimulator() {
    stopWorker();
    writeSettings();
}

void PreviewSimulator::writeSettings() {
    StoredSimulation values;
    {
        MutexLock guard(lock_);
        static_cast<SimulationSettings&>(values) = geometry_.settings();
        values.backgroundViewed = renderer_.backgroundViewed();
    }
    writeStored(store_, values);
}

double PreviewSimulator::degreesPerLampColumn() const {
    MutexLock guard(lock_);
    return geometry_.degreesPerLampColumn();
}

void PreviewSimulator::drawCurrentFrame() {
    // The frame is composed on this thread, so it is read without the engine's lock.
    if (renderer_.drawFrame(currentFrame(), geometry_) && drawn_) {
        drawn_();
    }
}

std::int32_t PreviewSimulator::tick() {
    const std::int32_t untilFrame = PlayerEngine::tick();
    MutexLock guard(lock_);
    if (!geometry_.settings().doAnimation) {
        return untilFrame;
    }
    const std::uint32_t now = frameClock().now();
    // A signed difference, so that the comparison survives the clock's wrap.
    if (static_cast<std::int32_t>(now - nextDrawTime_) >= 0) {
        drawCurrentFrame();
        nextDrawTime_ = now + static_cast<std::uint32_t>(geometry_.MsPerDraw());
    }
    const auto untilDraw = static_cast<std::int32_t>(nextDrawTime_ - frameClock().clock().nowMs());
    return std::min(untilFrame, untilDraw);
}

void PreviewSimulator::composeFrame() {
    PlayerEngine::composeFrame();
    MutexLock guard(lock_);
    if (!geometry_.settings().doAnimation) {
        drawCurrentFrame();
    }
}

void PreviewSimulator::startDrawing() {
    {
        MutexLock guard(lock_);
        renderer_.restartAnimation();
        nextDrawTime_ = frameClock().clock().nowMs();  // the first sweep is due at once
    }
    startWorker();
}

void PreviewSimulator::applySettings(const SimulationSettings& settings) {
    MutexLock guard(lock_);
    setFramesPerSecond(settings.framesPerSecond);  // takes the engine's lock inside ours
    geometry_.apply(settings);
}

SimulationSettings PreviewSimulator::currentSettings() const {
    MutexLock guard(lock_);
    return geometry_.settings();
}

void PreviewSimulator::fitDistance() {
    MutexLock guard(lock_);
    geometry_.fitDistance();
}

SimulationGeometry PreviewSimulator::geometry() const {
    MutexLock guard(lock_);
    return geometry_;
}

void PreviewSimulator::resize(const QRect& client) {
    MutexLock guard(lock_);
    if (client.width() <= 0) {
        return;
    }
    const double userDistance = geometry_.settings().viewerDistance;
    geometry_.fitDistance();
    const double oldFit = geometry_.settings().viewerDistance;

    renderer_.resize(client);
    geometry_.setClientRect(client);
    geometry_.fitDistance();

    if (firstResize_) {
        // A preview always opens with the rotor fitting the window.
        firstResize_ = false;
        renderer_.loadBackground();
    } else {
        // Later the viewer keeps the same distance relative to a window-filling one.
        SimulationSettings s = geometry_.settings();
        s.viewerDistance *= userDistance / oldFit;
        geometry_.apply(s);
    }
}

// ---- drawing ----

void PreviewSimulator::setPreviewEnabled(bool enabled) {
    MutexLock guard(lock_);
    renderer_.setPreviewEnabled(enabled);
}

bool PreviewSimulator::previewEnabled() const {
    MutexLock guard(lock_);
    return renderer_.previewEnabled();
}

void PreviewSimulator::setBackgroundViewed(bool viewed) {
    MutexLock guard(lock_);
    renderer_.setBackgroundViewed(viewed);
}

bool PreviewSimulator::backgroundViewed() const {
    MutexLock guard(lock_);
    return renderer_.backgroundViewed();
}

bool PreviewSimulator::chooseBackground(const QString& path) {
    MutexLock guard(lock_);
    if (!renderer_.chooseBackground(path)) {
        return false;
    }
    store_.setSettingString(kBackgroundPath, path);
    return true;
}

QString PreviewSimulator::backgroundPath() const {
    MutexLock guard(lock_);
    return renderer_.backgroundPath();
}

void PreviewSimulator::eraseBackground() {
    MutexLock guard(lock_);
    renderer_.eraseBackground();
}

QImage PreviewSimulator::image() const {
    MutexLock guard(lock_);
    return renderer_.image().copy();
}

void PreviewSimulator::withImage(const std::function<void(const QImage&)>& paint) const {
    MutexLock guard(lock_);
    paint(renderer_.image());
}

void PreviewSimulator::setDrawnHandler(std::function<void()> handler) {
    MutexLock guard(lock_);
    drawn_ = std::move(handler);
}

}  // namespace rova
