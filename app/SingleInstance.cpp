#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTimer>
#include <QtEndian>

#include <unistd.h>

#include <functional>

namespace rova {

namespace handover {

namespace {

constexpr qsizetype kWord = 4;

void appendWord(QByteArray& block, quint32 value) {
    char bytes[kWord];
    qToBigEndian(value, bytes);
    block.append(bytes, kWord);
}

quint32 wordAt(const QByteArray& block, qsizetype at) {
    return qFromBigEndian<quint32>(block.constData() + at);
}

}  // namespace

std::optional<QByteArray> encode(const QStringList& paths) {
    if (paths.size() > kMaxPaths) {
        return std::nullopt;
    }
    QByteArray block;
    appendWord(block, 0);  // the size, filled in below
    appendWord(block, kMagic);
    appendWord(block, static_cast<quint32>(paths.size()));
    for (const QString& path : paths) {
        const QByteArray utf8 = path.toUtf8();
        if (utf8.size() > kMaxPathBytes) {
            return std::nullopt;
        }
        appendWord(block, static_cast<quint32>(utf8.size()));
        block.append(utf8);
    }
    const qsizetype size = block.size() - kWord;
    if (size > kMaxMessageBytes) {
        return std::nullopt;
    }
    qToBigEndian(static_cast<quint32>(size), block.data());
    return block;
}

Framing frame(const QByteArray& received) {
    if (received.size() < kWord) {
        return Framing::Incomplete;
    }
    const quint32 size = wordAt(received, 0);
    if (size > kMaxMessageBytes) {
        return Framing::Invalid;
    }
    const qsizetype total = kWord + static_cast<qsizetype>(size);
    if (received.size() < total) {
        return Framing::Incomplete;
    }
    return received.size() == total ? Framing::Complete : Framing::Invalid;
}

std::optional<QStringList> decode(const QByteArray& message) {
    if (frame(message) != Framing::Complete || message.size() < 3 * kWord ||
        wordAt(message, kWord) != kMagic) {
        return std::nullopt;
    }
    const quint32 count = wordAt(message, 2 * kWord);
    if (count > kMaxPaths) {
        return std::nullopt;
    }
    QStringList paths;
    qsizetype at = 3 * kWord;
    for (quint32 i = 0; i < count; ++i) {
        if (message.size() - at < kWord) {
            return std::nullopt;
        }
        const quint32 length = wordAt(message, at);
        at += kWord;
        if (length > kMaxPathBytes || message.size() - at < static_cast<qsizetype>(length)) {
            return std::nullopt;
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString path = utf8(QByteArrayView(message.constData() + at, length));
        at += length;
        if (utf8.hasError() || !QDir::isAbsolutePath(path)) {
            return std::nullopt;
        }
        paths.append(std::move(path));
    }
    if (at != message.size()) {
        return std::nullopt;
    }
    return paths;
}

}  // namespace handover

// ---- the server ----

namespace {

// One client of the server: its bytes are gathered as they arrive until they make a message.
// The connection ends itself when the message is answered and the client has gone, when the
// bytes cannot be a message, or when its time is up.
class Connection final : public QObject {
  public:
    using Deliver = std::function<void(const QStringList&)>;

    Connection(QLocalSocket* socket, int timeoutMs, Deliver deliver, QObject* parent)
        : QObject(parent), socket_(socket), deliver_(std::move(deliver)) {
        socket_->setParent(this);
        connect(socket_, &QLocalSocket::readyRead, this, &Connection::read);
        connect(socket_, &QLocalSocket::disconnected, this, &QObject::deleteLater);
        QTimer::singleShot(timeoutMs, this, &Connection::drop);
        if (socket_->bytesAvailable() > 0) {
            read();
        }
    }

  private:
    void read() {
        if (answered_) {
            socket_->readAll();  // nothing more is expected; ignored until the client goes
            return;
        }
        received_.append(socket_->readAll());
        switch (handover::frame(received_)) {
            case handover::Framing::Incomplete:
                return;
            case handover::Framing::Invalid:
                drop();
                return;
            case handover::Framing::Complete:
                break;
        }
        const std::optional<QStringList> paths = handover::decode(received_);
        if (!paths) {
            drop();
            return;
        }
        answered_ = true;
        received_.clear();
        socket_->write(&handover::kAccepted, 1);
        socket_->flush();
        deliver_(*paths);
    }

    void drop() {
        socket_->abort();
        deleteLater();
    }

    QLocalSocket* socket_;
    Deliver deliver_;
    QByteArray received_;
    bool answered_ = false;
};

}  // namespace

InstanceServer::InstanceServer(int timeoutMs, QObject* parent)
    : QObject(parent), timeoutMs_(timeoutMs) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &InstanceServer::acceptConnections);
}

bool InstanceServer::listen(const QString& socketPath) {
    QLocalServer::removeServer(socketPath);
    return server_.listen(socketPath);
}

void InstanceServer::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        new Connection(
            socket, timeoutMs_, [this](const QStringList& paths) { emit filesHandedOver(paths); },
            this);
    }
}

// ---- the starts ----

QString instanceSocketPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        return {};
    }
    return QDir(folder).filePath(QStringLiteral("rova-%1.socket").arg(::getuid()));
}

SingleInstance::SingleInstance(QString socketPath, int answerTimeoutMs, int claimTimeoutMs)
    : socketPath_(std::move(socketPath)),
      answerTimeoutMs_(answerTimeoutMs),
      claimTimeoutMs_(claimTimeoutMs) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Start SingleInstance::handOverOrClaim(const QStringList& paths) {
    QStringList absolute;
    absolute.reserve(paths.size());
    for (const QString& path : paths) {
        absolute.append(QFileInfo(path).absoluteFilePath());
    }
    const std::optional<QByteArray> message = handover::encode(absolute);
    if (!message) {
        return Start::TooManyFiles;
    }
    Delivery delivery = deliver(*message);
    if (delivery == Delivery::NoInstance) {
        // Another start may be between finding no instance and serving the socket: wait for it,
        // then ask again. A claim left by a process that died is taken over by QLockFile.
        claim_ = std::make_unique<QLockFile>(socketPath_ + QStringLiteral(".lock"));
        claim_->setStaleLockTime(0);  // a claim holds while its process lives, however long
        if (!claim_->tryLock(claimTimeoutMs_)) {
            claim_.reset();
        }
        delivery = deliver(*message);
    }
    switch (delivery) {
        case Delivery::Accepted:
            claim_.reset();
            return Start::HandedOver;
        case Delivery::NotAccepted:
            claim_.reset();
            return Start::NotAccepted;
        case Delivery::NoInstance:
            break;
    }
    return Start::First;
}

bool SingleInstance::listen(InstanceServer& server) {
    // Without the claim (its lock timed out) another start may have begun serving meanwhile.
    QLocalSocket probe;
    probe.connectToServer(socketPath_);
    const bool served = probe.waitForConnected(answerTimeoutMs_);
    probe.abort();
    const bool listening = !served && server.listen(socketPath_);
    claim_.reset();
    return listening;
}

SingleInstance::Delivery SingleInstance::deliver(const QByteArray& message) const {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(answerTimeoutMs_)) {
        return Delivery::NoInstance;
    }
    const QDeadlineTimer deadline(answerTimeoutMs_);
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            return Delivery::NotAccepted;
        }
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return Delivery::NotAccepted;
        }
    }
    char answer = 0;
    socket.getChar(&answer);
    socket.disconnectFromServer();
    return answer == handover::kAccepted ? Delivery::Accepted : Delivery::NotAccepted;
}

}  // namespace rova
