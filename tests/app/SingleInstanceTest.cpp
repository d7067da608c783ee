// One running instance per user: the message a start sends, the server and its clients, the
// program's own start and command line, and how the application opens what it is handed.
#include <QDialog>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <functional>
#include <optional>

#include "ShellTestSupport.h"
#include "SingleInstance.h"

namespace rova::test {
namespace {

using Start = SingleInstance::Start;
using handover::Framing;

// Sanitizer builds are slow: waits for events allow them this long.
constexpr int kWaitMs = 10000;

QByteArray word(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}
// `bytes` after their length: a message after its size, or a path.
QByteArray prefixed(const QByteArray& bytes) {
    return word(static_cast<quint32>(bytes.size())) + bytes;
}
// A message that counts `count` paths and holds `body` after the count.
QByteArray message(quint32 count, const QByteArray& body = {}) {
    return prefixed(word(handover::kMagic) + word(count) + body);
}
const QByteArray kGoodMessage = message(1, prefixed("/a.rova"));
const QString kLongestPath = "/" + QString(handover::kMaxPathBytes - 1, u'x');

// Every shorter prefix of a message is incomplete; paths beyond the limits are not encoded, and
// blocks that break the format are not decoded.
TEST(HandOverMessage, RoundTripsWithinTheLimitsAndRejectsBadBlocks) {
    const QList<QStringList> roundTrips = {
        {},
        {"/a.rova"},
        {"/with space/b.txt", QString::fromUtf8("/\xC3\xBC/n|x.rtf"), kLongestPath}};
    for (const QStringList& paths : roundTrips) {
        const std::optional<QByteArray> encoded = handover::encode(paths);
        ASSERT_TRUE(encoded) << paths.join(u' ').left(80).toStdString();
        EXPECT_EQ(handover::frame(*encoded), Framing::Complete);
        EXPECT_EQ(handover::decode(*encoded), paths);
        for (qsizetype n = 0; n < encoded->size(); ++n) {
            ASSERT_EQ(handover::frame(encoded->left(n)), Framing::Incomplete) << n;
        }
    }
    EXPECT_FALSE(handover::encode({kLongestPath + u'x'})) << "a path one byte too long";
    EXPECT_TRUE(handover::encode(QStringList(handover::kMaxPaths, "/a")));
    EXPECT_FALSE(handover::encode(QStringList(handover::kMaxPaths + 1, "/a")));
    EXPECT_FALSE(handover::encode(QStringList(1100, kLongestPath))) << "longer than a message";

    using enum Framing;
    const std::tuple<const char*, QByteArray, Framing> bad[] = {
        {"a path cut short", message(1, word(10) + "/a"), Complete},
        {"fewer paths than counted", message(2, prefixed("/a.rova")), Complete},
        {"no count", prefixed(word(handover::kMagic)), Complete},
        {"wrong magic", prefixed(word(handover::kMagic + 1) + word(0)), Complete},
        {"oversize count", message(handover::kMaxPaths + 1), Complete},
        {"oversize path", message(1, prefixed(kLongestPath.toUtf8() + "x")), Complete},
        {"garbage after the paths", message(1, prefixed("/a.rova") + "xx"), Complete},
        {"relative path", message(1, prefixed("a.rova")), Complete},
        {"empty path", message(1, prefixed("")), Complete},
        {"invalid UTF-8", message(1, prefixed("/a\xFF.rova")), Complete},
        {"bytes after the message", kGoodMessage + "x", Invalid},
        {"oversize message", word(handover::kMaxMessageBytes + 1), Invalid},
        {"the largest message, cut short", word(handover::kMaxMessageBytes), Incomplete},
    };
    for (const auto& [name, bytes, framing] : bad) {
        EXPECT_EQ(handover::frame(bytes), framing) << name;
        EXPECT_FALSE(handover::decode(bytes)) << name;
    }
}

// A start's hand-over at `socket` on a thread of its own, as another process would run it, while
// this thread's event loop serves.
Start startElsewhere(const QString& socket, const QStringList& paths,
                     const std::function<void()>& meanwhile = {}) {
    std::optional<Start> result;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        SingleInstance start(socket);
        result = start.handOverOrClaim(paths);
    }));
    thread->start();
    if (meanwhile) {
        meanwhile();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return thread->isFinished(); }, kWaitMs));
    thread->wait();
    return result.value_or(Start::NotAccepted);
}

// Gives a test its own runtime folder, where the instance socket lives, and a server that
// collects what it receives there once it listens.
class HandOverTest : public QtApplicationTest {
  protected:
    HandOverTest() : previousRuntime_(qgetenv("XDG_RUNTIME_DIR")) {
        EXPECT_TRUE(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
        socket = instanceSocketPath();
        EXPECT_TRUE(socket.startsWith(runtime_.path())) << socket.toStdString();
        QObject::connect(&server, &InstanceServer::filesHandedOver,
                         [this](const QStringList& paths) { received.append(paths); });
    }
    ~HandOverTest() override { qputenv("XDG_RUNTIME_DIR", previousRuntime_); }

    QTemporaryDir runtime_;
    QByteArray previousRuntime_;
    QString socket;
    QList<QStringList> received;
    InstanceServer server;
};

// An instance that never answers is reported. A socket file that no instance serves, as a crash
// leaves it, does not stop a new instance; a second start then finds no server and waits for the
// one that claimed the socket instead of starting its own. Relative paths go absolute.
TEST_F(HandOverTest, AStartReportsASilentInstanceClaimsAnUnservedSocketAndWaitsForTheClaim) {
    {
        QLocalServer silent;  // accepts connections, never reads them
        ASSERT_TRUE(silent.listen(socket));
        EXPECT_EQ(SingleInstance(socket, 300).handOverOrClaim({"/a.rova"}), Start::NotAccepted);
    }
    writeBytes(socket, "left over");
    SingleInstance first(socket);
    ASSERT_EQ(first.handOverOrClaim({}), Start::First);
    const Start second = startElsewhere(socket, {"x.rova"}, [&] {
        QThread::msleep(200);
        EXPECT_TRUE(first.listen(server)) << server.errorString().toStdString();
    });
    EXPECT_EQ(second, Start::HandedOver);
    EXPECT_EQ(received, QList<QStringList>({{QDir::current().absoluteFilePath("x.rova")}}));
}

TEST_F(HandOverTest, BadClientsAreDroppedWithoutHoldingUpTheOthers) {
    ASSERT_TRUE(server.listen(socket));
    const std::pair<const char*, QByteArray> cases[] = {
        {"stops half-way", kGoodMessage.left(kGoodMessage.size() / 2)},
        {"text", "GET / HTTP/1.1\r\n\r\n"},
        {"wrong magic", prefixed(word(0xDEADBEEF) + word(0))},
    };
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    for (const auto& [name, bytes] : cases) {
        clients.push_back(std::make_unique<QLocalSocket>());
        clients.back()->connectToServer(socket);
        ASSERT_TRUE(clients.back()->waitForConnected(1000)) << name;
        clients.back()->write(bytes);
        clients.back()->flush();
    }
    // A good start is served while the slow clients still wait for their time to run out.
    EXPECT_EQ(startElsewhere(socket, {"/good.rova"}), Start::HandedOver);
    EXPECT_EQ(clients[0]->state(), QLocalSocket::ConnectedState);
    for (std::size_t i = 0; i < clients.size(); ++i) {
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return clients[i]->state() == QLocalSocket::UnconnectedState; },
                            InstanceServer::kTimeoutMs * 3))
            << cases[i].first;
        EXPECT_TRUE(clients[i]->readAll().isEmpty()) << cases[i].first;
    }
    EXPECT_EQ(received, QList<QStringList>({{"/good.rova"}}));
}

TEST_F(HandOverTest, ANewInstanceStartsOnItsOwn) {
    ASSERT_TRUE(server.listen(socket));
    QProcess rova;
    rova.start(ROVA_APP_PATH, {"--new-instance"});
    ASSERT_TRUE(rova.waitForStarted());
    QTest::qWait(1500);
    EXPECT_EQ(rova.state(), QProcess::Running);
    EXPECT_TRUE(received.isEmpty());
    rova.kill();
    rova.waitForFinished();
}

// The help, the version, a usage error and a hand-over need no display.
TEST_F(HandOverTest, TheProgramAnswersItsCommandLineOrHandsItsFilesToTheRunningInstance) {
    ASSERT_TRUE(server.listen(socket));
    TempFolder folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "");
    // The arguments, the exit code, how the output starts, what the error output holds, and the
    // paths the running instance receives.
    const std::tuple<QStringList, int, QByteArray, QByteArray, QList<QStringList>> cases[] = {
        {{"--help"}, 0, "Usage: rova [options] [files...]\n", {}, {}},
        {{"-v"}, 0, "rova " ROVA_VERSION "\n", {}, {}},
        {{"--bogus", "a.rova"}, 1, {}, "rova: Unknown option 'bogus'.", {}},
        // Relative paths go absolute.
        {{"a.rova", "/b/c.txt"}, 0, {}, {}, {{folder.path("a.rova"), "/b/c.txt"}}},
    };
    for (const auto& [arguments, status, outputStart, error, handedOver] : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        received.clear();
        QProcess rova;
        rova.setWorkingDirectory(folder.root());
        rova.setProcessEnvironment(environment);
        rova.start(ROVA_APP_PATH, arguments);
        if (!QTest::qWaitFor([&] { return rova.state() == QProcess::NotRunning; }, 2 * kWaitMs)) {
            rova.kill();
            rova.waitForFinished();
            ADD_FAILURE() << "did not end";
        }
        EXPECT_EQ(std::pair(rova.exitStatus(), rova.exitCode()),
                  std::pair(QProcess::NormalExit, status));
        const QByteArray output = rova.readAllStandardOutput();
        const QByteArray errors = rova.readAllStandardError();
        EXPECT_TRUE(outputStart.isEmpty() ? output.isEmpty() : output.startsWith(outputStart))
            << output.toStdString();
        EXPECT_TRUE(error.isEmpty() ? errors.isEmpty() : errors.contains(error))
            << errors.toStdString();
        EXPECT_EQ(received, handedOver);
    }
}

class HandedOverFilesTest : public ShellTest {};

// Files handed over while a dialog waits for the user must not change the list under it: they
// open once it has gone, as files chosen together in File Open do, sorted, the first on screen.
TEST_F(HandedOverFilesTest, ArriveThroughTheServerAndOpenOnceNoDialogIsUp) {
    ASSERT_TRUE(start());
    frame().showMinimized();
    QTemporaryDir runtime;
    InstanceServer server;
    ASSERT_TRUE(server.listen(runtime.filePath("rova.socket")));
    application->receiveHandOvers(server);
    const QStringList files = {writeSequence("c.rova", 1), writeSequence("a.rova", 1),
                               writeSequence("b.rova", 1)};
    QDialog question(&frame());
    question.setModal(true);
    int countWhileUp = -1;
    QTimer::singleShot(0, &question, [&] {
        EXPECT_EQ(startElsewhere(runtime.filePath("rova.socket"), files), Start::HandedOver);
        countWhileUp = application->documentList().count();
        question.accept();
    });
    question.exec();
    EXPECT_EQ(countWhileUp, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return application->documentList().count() == 3; }, kWaitMs));
    EXPECT_EQ(frame().windowTitle(), "Rova - a.rova");
    EXPECT_EQ(listed(), QStringList({"a.rova", "b.rova", "c.rova"}));
    EXPECT_FALSE(frame().isMinimized());
    application->openHandedOver({writeSequence("d.rova", 1)});
    EXPECT_EQ(frame().windowTitle(), "Rova - d.rova");
}

}  // namespace
}  // namespace rova::test
