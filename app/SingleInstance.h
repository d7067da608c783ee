#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QLockFile;

namespace rova {

// The message a start of the program sends the instance already running for the user: the files
// to open, as absolute paths. All words are 32-bit big-endian:
//   size   the number of bytes after this word
//   magic  "Rov" and the format's version, 1
//   count  the number of paths
//   count times: the length of a path in bytes, then the path in UTF-8
// One connection carries one message; the server answers it with kAccepted.
namespace handover {

inline constexpr quint32 kMagic = 0x526F7601;
inline constexpr qsizetype kMaxPaths = 10000;
inline constexpr qsizetype kMaxPathBytes = 4096;
inline constexpr qsizetype kMaxMessageBytes = 4 * 1024 * 1024;  // the size word's limit
inline constexpr char kAccepted = '\x06';

// The block for `paths`; nothing when the paths break a limit.
std::optional<QByteArray> encode(const QStringList& paths);

// How far the bytes received so far make up one message.
enum class Framing {
    Incomplete,  // more bytes are to come
    Complete,    // exactly one message, ready to decode
    Invalid,     // a size over the limit, or bytes after the message
};
Framing frame(const QByteArray& received);

// The paths of a complete message; nothing when its magic, a count, a length or the UTF-8 is
// wrong, a path is not absolute, or bytes are left over.
std::optional<QStringList> decode(const QByteArray& message);

}  // namespace handover

// Receives the messages of later starts at the user's socket. Every connection is read as its
// bytes arrive, never waited for, so a client that sends garbage or stops half-way cannot hold up
// the window; it is dropped, at the latest when `timeoutMs` have passed since it connected.
class InstanceServer final : public QObject {
    Q_OBJECT

  public:
    static constexpr int kTimeoutMs = 2000;

    explicit InstanceServer(int timeoutMs = kTimeoutMs, QObject* parent = nullptr);

    // Listens at `socketPath`, accessible to this user only. Whatever is at the path is removed
    // first: the caller has found that no instance answers there.
    bool listen(const QString& socketPath);
    bool isListening() const { return server_.isListening(); }
    QString errorString() const { return server_.errorString(); }

  signals:
    // A message arrived and was answered: `paths` are absolute, and may be none.
    void filesHandedOver(const QStringList& paths);

  private:
    void acceptConnections();

    QLocalServer server_;
    int timeoutMs_;
};

// The path of the user's instance socket, in the per-user runtime folder; empty when there is
// no such folder, and then every start runs on its own.
QString instanceSocketPath();

// One start's dealings with the instance that may already run for the user: it either hands its
// files over, or claims the socket and, once its window is up, serves it. The claim is a lock
// file beside the socket, held from the moment no instance answered until listen(), so that
// programs started together end as one instance that got every file.
class SingleInstance {
  public:
    static constexpr int kAnswerTimeoutMs = 5000;
    static constexpr int kClaimTimeoutMs = 10000;

    enum class Start {
        HandedOver,    // the running instance took the files: this start is over
        NotAccepted,   // an instance is there but did not accept them
        TooManyFiles,  // the files break the message's limits
        First,         // no instance runs: this start claims the socket
    };

    explicit SingleInstance(QString socketPath, int answerTimeoutMs = kAnswerTimeoutMs,
                            int claimTimeoutMs = kClaimTimeoutMs);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Hands `paths` (relative ones against the current folder) to the running instance or,
    // when none answers, claims the socket. Blocks for at most the two timeouts; needs a Qt
    // application object but no event loop.
    Start handOverOrClaim(const QStringList& paths);
    // Serves the socket with `server` and gives up the claim. Leaves the socket alone, and
    // returns false, when an instance answers there after all or the server cannot listen.
    bool listen(InstanceServer& server);

  private:
    enum class Delivery { NoInstance, Accepted, NotAccepted };
    Delivery deliver(const QByteArray& message) const;

    QString socketPath_;
    int answerTimeoutMs_;
    int claimTimeoutMs_;
    std::unique_ptr<QLockFile> claim_;
};

}  // namespace rova
