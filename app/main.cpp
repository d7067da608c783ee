#include <QApplication>

#include "Application.h"
#include "MainFrame.h"
#include "MessageBoxPrompt.h"
#include "QtSettingsStore.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Mirelight"));
    QApplication::setApplicationName(QStringLiteral("Rova"));
    QApplication::setApplicationVersion(QStringLiteral(ROVA_VERSION));

    rova::QtSettingsStore settings;
    rova::Application* application = nullptr;
    rova::MessageBoxPrompt prompt(
        [&application]() -> QWidget* { return application ? application->mainFrame() : nullptr; });
    rova::Application rova(settings, prompt, rova::ApplicationPaths::standard());
    application = &rova;
    if (!rova.start(QApplication::arguments().mid(1))) {
        return 1;
    }
    return QApplication::exec();
}
