// Writes the files that ship with Rova into a folder: Demo.rova and Presets.rova.
// Usage: rova-make-data FOLDER
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include "CommandFile.h"
#include "DefaultPresets.h"
#include "ShippedData.h"

namespace {

class StandardErrorPrompt final : public rova::UserPrompt {
  public:
    void showWarning(const QString& message) override { QTextStream(stderr) << message << '\n'; }
};

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: rova-make-data FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    StandardErrorPrompt prompt;
    const bool demo = rova::writeCommands(rova::makeDemoSequence(), folder.filePath("Demo.rova"),
                                          prompt) == rova::FileResult::Ok;
    const bool presets =
        rova::writeCommands(rova::makeDefaultPresets(), folder.filePath("Presets.rova"), prompt) ==
        rova::FileResult::Ok;
    return demo && presets ? 0 : 1;
}
