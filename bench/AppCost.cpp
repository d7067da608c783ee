// What the desktop application costs while it plays the shipped demo: the time from start-up to
// the first preview image on screen, the processor time of the whole process per second of
// playing, and its peak resident memory. Runs the real application object in this process on
// Qt's offscreen platform in a 1920 x 1080 window, with settings and data folders of its own.
// Usage: rova_app_cost [seconds] [--animate]   (--animate: "Animate Drawing" at 16 redraws/s)
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "Application.h"
#include "MainFrame.h"
#include "MemorySettingsStore.h"
#include "PreviewWnd.h"
#include "UserPrompt.h"

namespace {

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Answers nothing and shows nothing: the demo asks no questions.
class SilentPrompt final : public rova::QuestionPrompt {
  public:
    void showWarning(const QString& message) override {
        std::fprintf(stderr, "warning: %s\n", qPrintable(message));
    }
    rova::Answer ask(const QString&, rova::Choices) override { return rova::Answer::Cancel; }
};

// Notes when the preview first paints an image the worker has drawn.
class FirstImage final : public QObject {
  public:
    explicit FirstImage(rova::PreviewWnd& preview) : preview_(preview) {
        preview.installEventFilter(this);
    }
    qint64 elapsedMs = -1;
    QElapsedTimer sinceStart;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (elapsedMs < 0 && event->type() == QEvent::Paint &&
            !preview_.simulator().image().isNull()) {
            elapsedMs = sinceStart.elapsed();
        }
        return false;
    }

  private:
    rova::PreviewWnd& preview_;
};

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    const bool animate = argc > 2 && std::strcmp(argv[2], "--animate") == 0;
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QElapsedTimer sinceStart;
    sinceStart.start();
    rova::MemorySettingsStore settings;
    if (animate) {
        settings.setSettingInt(QStringLiteral("DoAnimation"), 1);
        settings.setSettingInt(QStringLiteral("DrawsPerSecond"), 16);
    }
    SilentPrompt prompt;
    rova::ApplicationPaths paths = rova::ApplicationPaths::standard();
    paths.demo = QCoreApplication::applicationDirPath() + "/../app/Demo.rova";
    paths.shippedPresets = QCoreApplication::applicationDirPath() + "/../app/Presets.rova";
    rova::Application application(settings, prompt, paths);
    if (!application.start({})) {
        return 1;
    }
    // As maximised on a full-HD screen.
    application.mainFrame()->showNormal();
    application.mainFrame()->resize(1920, 1080);
    FirstImage first(application.mainFrame()->preview());
    first.sinceStart = sinceStart;

    // Let start-up settle, then measure a stretch of playing.
    double cpuAtStart = 0;
    QElapsedTimer measured;
    QTimer::singleShot(2000, [&] {
        cpuAtStart = processCpuSeconds();
        measured.start();
    });
    QTimer::singleShot(static_cast<int>(2000 + seconds * 1000), [&] {
        const double cpu = processCpuSeconds() - cpuAtStart;
        const double wall = measured.elapsed() / 1000.0;
        std::printf(
            "%s: first preview image after %lld ms; CPU %.2f %% of one core over %.1f s; "
            "peak resident %ld KiB\n",
            animate ? "animated, 16 redraws/s" : "default settings",
            static_cast<long long>(first.elapsedMs), 100.0 * cpu / wall, wall, peakResidentKiB());
        application.document().setModifiedFlag(false);
        application.mainFrame()->close();
        QApplication::quit();
    });
    return QApplication::exec();
}
