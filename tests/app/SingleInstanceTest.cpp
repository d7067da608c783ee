// One running instance per user: the message a start sends, the server and its clients, the
// program's own start and command line, and how the application opens what it is handed.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDialog>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <cstring>
#include <functional>
#include <optional>

#include "ShellTestSupport.h"
#include "SingleInstance.h"

namespace rova::test {
namespace {

using Start = SingleInstance::Start;
using handover::Framing;

// Processes events until `done` holds or `ms` have passed (sanitizer builds are slow).
bool waitFor(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return done();
}

// ---- the message ----

QByteArray word(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}
// A message: `body` after its size.
QByteArray sized(const QByteArray& body) {
    return word(static_cast<quint32>(body.size())) + body;
}
QByteArray pathField(const QByteArray& utf8) {
    return word(static_cast<quint32>(utf8.size())) + utf8;
}
const QByteArray kMagic = word(handover::kMagic);
const QByteArray kGoodMessage = sized(kMagic + word(1) + pathField("/a.rova"));

TEST(HandOverMessage, RoundTripsAndEveryShorterPrefixIsIncomplete) {
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("/a.rova")},
        {QStringLiteral("/with space/b.txt"), QString::fromUtf8("/\xC3\xBC/n|x.rtf"),
         QStringLiteral("/") + QString(handover::kMaxPathBytes - 1, u'x')},
    };
    for (const QStringList& paths : cases) {
        const std::optional<QByteArray> message = handover::encode(paths);
        ASSERT_TRUE(message) << paths.join(u' ').left(80).toStdString();
        EXPECT_EQ(handover::frame(*message), Framing::Complete);
        EXPECT_EQ(handover::decode(*message), paths);
        for (qsizetype n = 0; n < message->size(); ++n) {
            ASSERT_EQ(handover::frame(message->left(n)), Framing::Incomplete) << n;
        }
    }
}

TEST(HandOverMessage, RejectsBadBlocks) {
    const QByteArray longest(handover::kMaxPathBytes + 1, '/');
    const struct {
        const char* name;
        QByteArray bytes;
        Framing framing;
    } cases[] = {
        {"a path cut short", sized(kMagic + word(1) + word(10) + "/a"), Framing::Complete},
        {"fewer paths than counted", sized(kMagic + word(2) + pathField("/a.rova")),
         Framing::Complete},
        {"no count", sized(kMagic), Framing::Complete},
        {"wrong magic", sized(word(handover::kMagic + 1) + word(1) + pathField("/a.rova")),
         Framing::Complete},
        {"oversize count", sized(kMagic + word(handover::kMaxPaths + 1)), Framing::Complete},
        {"oversize path", sized(kMagic + word(1) + pathField(longest)), Framing::Complete},
        {"garbage after the paths", sized(kMagic + word(1) + pathField("/a.rova") + "xx"),
         Framing::Complete},
        {"relative path", sized(kMagic + word(1) + pathField("a.rova")), Framing::Complete},
        {"empty path", sized(kMagic + word(1) + pathField("")), Framing::Complete},
        {"invalid UTF-8", sized(kMagic + word(1) + pathField("/a\xFF.rova")), Framing::Complete},
        {"bytes after the message", kGoodMessage + "x", Framing::Invalid},
        {"oversize message", word(handover::kMaxMessageBytes + 1), Framing::Invalid},
        {"text", QByteArray("GET / HTTP/1.1\r\n\r\n"), Framing::Invalid},
    };
    ASSERT_TRUE(handover::decode(kGoodMessage));
    for (const auto& c : cases) {
        EXPECT_EQ(handover::frame(c.bytes), c.framing) << c.name;
        EXPECT_FALSE(handover::decode(c.bytes)) << c.name;
    }
}

TEST(HandOverMessage, EncodingKeepsToTheLimits) {
    const QString longest = QStringLiteral("/") + QString(handover::kMaxPathBytes - 1, u'x');
    const struct {
        const char* name;
        QStringList paths;
        bool fits;
    } cases[] = {
        {"the longest path", {longest}, true},
        {"a path one byte longer", {longest + u'x'}, false},
        {"the most paths", QStringList(handover::kMaxPaths, QStringLiteral("/a")), true},
        {"one path more", QStringList(handover::kMaxPaths + 1, QStringLiteral("/a")), false},
        {"paths longer than a message", QStringList(1100, longest), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(handover::encode(c.paths).has_value(), c.fits) << c.name;
    }
}

// ---- the server and the starts ----

// Gives a test its own runtime folder, where the instance socket lives, and collects what a
// server there receives.
class HandOverTest : public QtApplicationTest {
  protected:
    HandOverTest() : previousRuntime_(qgetenv("XDG_RUNTIME_DIR")) {
        EXPECT_TRUE(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
        socket = instanceSocketPath();
        EXPECT_TRUE(socket.startsWith(runtime_.path())) << socket.toStdString();
    }
    ~HandOverTest() override {
        if (previousRuntime_.isNull()) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", previousRuntime_);
        }
    }

    void collect(InstanceServer& server) {
        QObject::connect(&server, &InstanceServer::filesHandedOver,
                         [this](const QStringList& paths) { received.append(paths); });
    }

    // A start's hand-over on a thread of its own, as another process would run it, while this
    // thread's event loop serves.
    Start startElsewhere(const QStringList& paths,
                         int answerTimeoutMs = SingleInstance::kAnswerTimeoutMs,
                         const std::function<void()>& meanwhile = {}) {
        std::optional<Start> result;
        std::unique_ptr<QThread> thread(QThread::create([&] {
            SingleInstance start(socket, answerTimeoutMs);
            result = start.handOverOrClaim(paths);
        }));
        thread->start();
        if (meanwhile) {
            meanwhile();
        }
        EXPECT_TRUE(waitFor([&] { return thread->isFinished(); }));
        thread->wait();
        return result.value_or(Start::NotAccepted);
    }

  private:
    QTemporaryDir runtime_;
    QByteArray previousRuntime_;

  protected:
    QString socket;
    QList<QStringList> received;
};

TEST_F(HandOverTest, TwoPathsArriveAbsolute) {
    InstanceServer server;
    collect(server);
    ASSERT_TRUE(server.listen(socket)) << server.errorString().toStdString();
    const QString relative = QStringLiteral("a.rova");
    const QString absolute = QStringLiteral("/b c/d.txt");
    EXPECT_EQ(startElsewhere({relative, absolute}), Start::HandedOver);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0], QStringList({QDir::current().absoluteFilePath(relative), absolute}));
}

// Binds a Unix socket at `path` and closes it without removing it, as a process that crashed
// leaves its socket.
void leaveDeadSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    ASSERT_LT(static_cast<std::size_t>(name.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(fd, 1), 0);
    ::close(fd);
}

TEST_F(HandOverTest, WhatACrashLeftAtTheSocketDoesNotStopANewInstance) {
    const struct {
        const char* name;
        std::function<void(const QString&)> leave;
    } cases[] = {
        {"a socket nobody serves", leaveDeadSocket},
        {"a plain file", [](const QString& path) { writeBytes(path, "left over"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        received.clear();
        c.leave(socket);
        ASSERT_TRUE(QFileInfo::exists(socket));
        SingleInstance first(socket);
        ASSERT_EQ(first.handOverOrClaim({}), Start::First);
        InstanceServer server;
        collect(server);
        ASSERT_TRUE(first.listen(server)) << server.errorString().toStdString();
        EXPECT_EQ(startElsewhere({QStringLiteral("/x.rova")}), Start::HandedOver);
        EXPECT_EQ(received, QList<QStringList>({{QStringLiteral("/x.rova")}}));
    }
}

// Two starts at once: the second waits for the first to serve instead of starting its own.
TEST_F(HandOverTest, AStartWaitsForTheInstanceThatClaimedTheSocket) {
    SingleInstance first(socket);
    ASSERT_EQ(first.handOverOrClaim({}), Start::First);
    InstanceServer server;
    collect(server);
    const Start second =
        startElsewhere({QStringLiteral("/late.rova")}, SingleInstance::kAnswerTimeoutMs, [&] {
            QThread::msleep(200);  // the second start finds no server and waits for the claim
            EXPECT_TRUE(first.listen(server));
        });
    EXPECT_EQ(second, Start::HandedOver);
    EXPECT_EQ(received, QList<QStringList>({{QStringLiteral("/late.rova")}}));
}

TEST_F(HandOverTest, AnInstanceThatDoesNotAnswerIsReported) {
    QLocalServer silent;  // accepts connections, never reads them
    ASSERT_TRUE(silent.listen(socket));
    SingleInstance start(socket, 300);
    EXPECT_EQ(start.handOverOrClaim({QStringLiteral("/a.rova")}), Start::NotAccepted);
}

TEST_F(HandOverTest, BadClientsAreDroppedWithoutHoldingUpTheOthers) {
    InstanceServer server;
    collect(server);
    ASSERT_TRUE(server.listen(socket));
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"silent", {}},
        {"stops half-way", kGoodMessage.left(kGoodMessage.size() / 2)},
        {"text", "GET / HTTP/1.1\r\n\r\n"},
        {"wrong magic", sized(word(0xDEADBEEF) + word(0))},
        {"bytes after the message", kGoodMessage + "x"},
    };
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    for (const auto& c : cases) {
        auto client = std::make_unique<QLocalSocket>();
        client->connectToServer(socket);
        ASSERT_TRUE(client->waitForConnected(1000)) << c.name;
        client->write(c.bytes);
        client->flush();
        clients.push_back(std::move(client));
    }
    // A good start is served while the slow clients still wait for their time to run out.
    EXPECT_EQ(startElsewhere({QStringLiteral("/good.rova")}), Start::HandedOver);
    EXPECT_EQ(clients[0]->state(), QLocalSocket::ConnectedState);
    for (std::size_t i = 0; i < clients.size(); ++i) {
        EXPECT_TRUE(waitFor([&] { return clients[i]->state() == QLocalSocket::UnconnectedState; },
                            InstanceServer::kTimeoutMs * 3))
            << cases[i].name;
        EXPECT_TRUE(clients[i]->readAll().isEmpty()) << cases[i].name;
    }
    EXPECT_EQ(received, QList<QStringList>({{QStringLiteral("/good.rova")}}));
}

// ---- the program ----

struct ProgramRun {
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

// Runs the program in `folder` while this thread's event loop serves, and waits for its end.
ProgramRun runRova(
    const QStringList& arguments, const QString& folder,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess rova;
    rova.setWorkingDirectory(folder);
    rova.setProcessEnvironment(environment);
    rova.start(QStringLiteral(ROVA_APP_PATH), arguments);
    EXPECT_TRUE(waitFor([&] { return rova.state() == QProcess::NotRunning; }, 20000))
        << arguments.join(u' ').toStdString();
    if (rova.state() != QProcess::NotRunning) {
        rova.kill();
        rova.waitForFinished();
    }
    EXPECT_EQ(rova.exitStatus(), QProcess::NormalExit) << arguments.join(u' ').toStdString();
    return {rova.exitCode(), rova.readAllStandardOutput(), rova.readAllStandardError()};
}

TEST_F(HandOverTest, TheProgramHandsItsFilesToTheRunningInstanceAndEnds) {
    InstanceServer server;
    collect(server);
    ASSERT_TRUE(server.listen(socket));
    TempFolder folder;
    const struct {
        QStringList arguments;
        QStringList handedOver;
    } cases[] = {
        {{QStringLiteral("named.rova"), QStringLiteral("/elsewhere/notes.txt")},
         {folder.path(QStringLiteral("named.rova")), QStringLiteral("/elsewhere/notes.txt")}},
        {{}, {}},  // the running window just comes to the front
    };
    for (const auto& c : cases) {
        received.clear();
        const ProgramRun run = runRova(c.arguments, folder.root());
        EXPECT_EQ(run.status, 0) << run.errors.toStdString();
        EXPECT_EQ(received, QList<QStringList>({c.handedOver}));
    }
}

TEST_F(HandOverTest, ANewInstanceStartsOnItsOwn) {
    InstanceServer server;
    collect(server);
    ASSERT_TRUE(server.listen(socket));
    QProcess rova;
    rova.start(QStringLiteral(ROVA_APP_PATH), {QStringLiteral("--new-instance")});
    ASSERT_TRUE(rova.waitForStarted());
    waitFor([] { return false; }, 1500);
    EXPECT_EQ(rova.state(), QProcess::Running);
    EXPECT_TRUE(received.isEmpty());
    rova.kill();
    rova.waitForFinished();
}

class ProgramTest : public QtApplicationTest {};

TEST_F(ProgramTest, AnswersTheCommandLineWithoutADisplay) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QString());
    const QByteArray usage = "Usage: rova [options] [files...]\n";
    const QByteArray version = "rova " ROVA_VERSION "\n";
    const struct {
        QStringList arguments;
        int status;
        QByteArrayList output;  // the output starts with the first and holds the others
        QByteArray errors;      // held by the error output
    } cases[] = {
        {{QStringLiteral("--help")},
         0,
         {usage, "-h, --help", "-v, --version", "--new-instance",
          "Sequence (.rova) or text (.txt, .rtf) files"},
         {}},
        {{QStringLiteral("-h"), QStringLiteral("a.rova")}, 0, {usage}, {}},
        {{QStringLiteral("--version")}, 0, {version}, {}},
        {{QStringLiteral("-v")}, 0, {version}, {}},
        {{QStringLiteral("--bogus"), QStringLiteral("a.rova")},
         1,
         {{}},
         "rova: Unknown option 'bogus'."},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const ProgramRun run = runRova(c.arguments, folder.root(), environment);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.output.startsWith(c.output.first())) << run.output.toStdString();
        for (const QByteArray& part : c.output) {
            EXPECT_TRUE(run.output.contains(part)) << part.toStdString();
        }
        if (c.output.first().isEmpty()) {
            EXPECT_TRUE(run.output.isEmpty()) << run.output.toStdString();
        }
        EXPECT_TRUE(run.errors.contains(c.errors)) << run.errors.toStdString();
        if (c.errors.isEmpty()) {
            EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        }
    }
}

// ---- the application ----

class HandedOverFilesTest : public ShellTest {};

TEST_F(HandedOverFilesTest, OpenAsFilesChosenTogetherInFileOpen) {
    const QString c = writeSequence(QStringLiteral("c.rova"), 1);
    const QString a = writeSequence(QStringLiteral("a.rova"), 1);
    const QString b = writeSequence(QStringLiteral("b.rova"), 1);
    ASSERT_TRUE(start());
    application->openHandedOver({c, a, b});
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - a.rova"));
    QStringList order;
    for (const DocumentListEntry& entry : application->documentList().entries()) {
        order.append(entry.path);
    }
    EXPECT_EQ(order, QStringList({a, b, c}));
    // With Additive Open they queue behind the playing list, as chosen files do.
    trigger(ActionId::FileAdditiveOpen);
    application->openHandedOver({writeSequence(QStringLiteral("d.rova"), 1)});
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - a.rova"));
    EXPECT_EQ(application->documentList().count(), 4);
}

TEST_F(HandedOverFilesTest, ArriveThroughTheServerAndBringTheWindowToTheFront) {
    ASSERT_TRUE(start());
    frame().showMinimized();
    QTemporaryDir runtime;
    InstanceServer server;
    ASSERT_TRUE(server.listen(runtime.filePath(QStringLiteral("rova.socket"))));
    application->receiveHandOvers(server);
    const QString a = writeSequence(QStringLiteral("a.rova"), 1);
    std::unique_ptr<QThread> thread(QThread::create([&] {
        SingleInstance start(runtime.filePath(QStringLiteral("rova.socket")));
        EXPECT_EQ(start.handOverOrClaim({a}), Start::HandedOver);
    }));
    thread->start();
    EXPECT_TRUE(waitFor([&] { return thread->isFinished(); }));
    thread->wait();
    EXPECT_TRUE(waitFor([&] { return application->documentList().count() == 1; }));
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - a.rova"));
    EXPECT_FALSE(frame().isMinimized());
}

// A hand-over that arrives while a dialog waits for the user must not change the list under it.
TEST_F(HandedOverFilesTest, WaitWhileADialogIsUp) {
    ASSERT_TRUE(start());
    const QString a = writeSequence(QStringLiteral("a.rova"), 1);
    QDialog question(&frame());
    question.setModal(true);
    int countWhileUp = -1;
    QTimer::singleShot(0, &question, [&] {
        application->openHandedOver({a});
        countWhileUp = application->documentList().count();
        question.accept();
    });
    question.exec();
    EXPECT_EQ(countWhileUp, 0);
    EXPECT_TRUE(waitFor([&] { return application->documentList().count() == 1; }));
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Rova - a.rova"));
}

}  // namespace
}  // namespace rova::test
