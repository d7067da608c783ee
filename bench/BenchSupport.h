#pragma once

#include <QApplication>
#include <cstdint>
#include <string>
#include <vector>

#include "Picture.h"
#include "UserPrompt.h"

namespace rova::bench {

// Widgets and laid-out text need an application; benchmarks run headless. Every benchmark that
// needs one shares this QApplication, made at first use and kept for the whole process.
inline void ensureApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "rova_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
}

// Shows nothing and cancels every question: the measured operations ask none.
class SilentPrompt final : public QuestionPrompt {
  public:
    void showWarning(const QString&) override {}
    Answer ask(const QString&, Choices) override { return Answer::Cancel; }
};

// A text content as a command holds it: the plain text, a NUL, then the same text as RTF.
inline std::vector<std::uint8_t> textContent(const std::string& text) {
    const std::string content = text + std::string(1, '\0') + "{\\rtf1 " + text + "}";
    return {content.begin(), content.end()};
}

// Fills a 24-bit picture with smooth gradients and a little noise, like a photograph.
inline void fillPhoto(Picture& photo) {
    std::uint32_t seed = 2024;
    for (int y = 0; y < photo.height(); ++y) {
        std::uint8_t* bytes = photo.row(y).data();
        for (int x = 0; x < photo.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 28);
            bytes[3 * x] = static_cast<std::uint8_t>((x * 255 / photo.width() + noise) & 0xFF);
            bytes[3 * x + 1] = static_cast<std::uint8_t>((y * 255 / photo.height() + noise) & 0xFF);
            bytes[3 * x + 2] = static_cast<std::uint8_t>(((x + y) / 5 + noise) & 0xFF);
        }
    }
}

}  // namespace rova::bench
