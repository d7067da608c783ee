#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <optional>

#include "Application.h"
#include "MainFrame.h"
#include "MessageBoxPrompt.h"
#include "QtSettingsStore.h"
#include "SingleInstance.h"

namespace {

void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Mirelight"));
    QCoreApplication::setApplicationName(QStringLiteral("Rova"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ROVA_VERSION));
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// What the command line asks for once it has been read.
struct Request {
    QStringList files;
    bool newInstance = false;
};

// Reads the command line. The help, the version and a usage error are printed here, and give
// the exit status instead of a request.
std::optional<Request> readCommandLine(const QStringList& arguments, int& status) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Rova makes and shows animated content on a rotor of lamps."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption newInstance(
        QStringLiteral("new-instance"),
        QStringLiteral("Start a separate Rova even when one is already running."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(newInstance);
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("Sequence (.rova) or text (.txt, .rtf) files to open. When Rova is "
                       "already running, they are handed to it and queued there."),
        QStringLiteral("[files...]"));

    if (!parser.parse(arguments)) {
        print(stderr, QStringLiteral("rova: %1\nTry 'rova --help' for more information.\n")
                          .arg(parser.errorText()));
        status = 1;
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        // Qt names the program as it was called; the help names it as it is installed.
        QString text = parser.helpText();
        const qsizetype lineEnd = text.indexOf(u'\n');
        text.replace(0, lineEnd, QStringLiteral("Usage: rova [options] [files...]"));
        print(stdout, text);
        status = 0;
        return std::nullopt;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("rova %1\n").arg(QStringLiteral(ROVA_VERSION)));
        status = 0;
        return std::nullopt;
    }
    return Request{parser.positionalArguments(), parser.isSet(newInstance)};
}

}  // namespace

int main(int argc, char* argv[]) {
    Request request;
    std::unique_ptr<rova::SingleInstance> instance;
    {
        // The command line is read, and the files are handed to a running instance, before the
        // window system is opened: --help, --version and a hand-over need no display.
        QCoreApplication commandLine(argc, argv);
        nameApplication();
        int status = 0;
        const std::optional<Request> read = readCommandLine(QCoreApplication::arguments(), status);
        if (!read) {
            return status;
        }
        request = *read;
        const QString socketPath = rova::instanceSocketPath();
        if (!request.newInstance && !socketPath.isEmpty()) {
            instance = std::make_unique<rova::SingleInstance>(socketPath);
            switch (instance->handOverOrClaim(request.files)) {
                case rova::SingleInstance::Start::HandedOver:
                    return 0;
                case rova::SingleInstance::Start::NotAccepted:
                    print(stderr, QStringLiteral("rova: the running Rova did not accept the "
                                                 "files; try again, or use --new-instance\n"));
                    return 1;
                case rova::SingleInstance::Start::TooManyFiles:
                    print(stderr, QStringLiteral("rova: too many files, or too long names, to "
                                                 "hand to the running Rova\n"));
                    return 1;
                case rova::SingleInstance::Start::First:
                    break;
            }
        }
    }

    QApplication app(argc, argv);
    nameApplication();
    // Lets the desktop match the window to its entry, and so to its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.mirelight.Rova"));

    rova::QtSettingsStore settings;
    rova::Application* application = nullptr;
    rova::MessageBoxPrompt prompt(
        [&application]() -> QWidget* { return application ? application->mainFrame() : nullptr; });
    rova::Application rova(settings, prompt, rova::ApplicationPaths::standard());
    application = &rova;
    if (!rova.start(request.files)) {
        return 1;
    }
    // Served once the window is up, so files handed over from now on have a place to go.
    rova::InstanceServer server;
    if (instance) {
        if (instance->listen(server)) {
            rova.receiveHandOvers(server);
        } else if (!server.errorString().isEmpty()) {
            print(stderr, QStringLiteral("rova: later starts will run on their own: %1\n")
                              .arg(server.errorString()));
        }
        instance.reset();
    }
    return QApplication::exec();
}
