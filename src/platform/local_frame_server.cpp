#include "platform/local_frame_server.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace vitrina {

namespace {

QString SocketName(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

TLocalFrameServer::TLocalFrameServer(std::filesystem::path socketPath, TReader reader, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), reader_(std::move(reader)) {
    const QString name = SocketName(socketPath);
    QLocalServer::removeServer(name);
    if (!server_->listen(name)) return;
    connect(server_, &QLocalServer::newConnection, this, [this] { Accept(); });
}

// The server closes with its object and removes its socket file then.
TLocalFrameServer::~TLocalFrameServer() = default;

bool TLocalFrameServer::Listening() const { return server_->isListening(); }

void TLocalFrameServer::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto received = std::make_shared<std::string>();
        auto* stall = new QTimer(socket);
        stall->setSingleShot(true);
        stall->setInterval(kStallMs);
        connect(stall, &QTimer::timeout, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, stall, received] { Receive(socket, stall, *received); });
        stall->start();
        if (socket->bytesAvailable() > 0) Receive(socket, stall, *received);
    }
}

void TLocalFrameServer::Receive(QLocalSocket* socket, QTimer* stall, std::string& received) {
    const QByteArray bytes = socket->readAll();
    received.append(bytes.constData(), std::size_t(bytes.size()));
    // The reader may run a handler that spins an event loop of its own; this connection must not
    // be cut off underneath it, and may be gone when it returns.
    stall->stop();
    QPointer<QLocalSocket> alive(socket);
    std::string reply;
    const TFrame frame = reader_(received, reply);
    if (!alive) return;
    switch (frame) {
    case TFrame::Incomplete:
        stall->start();
        return;
    case TFrame::Bad:
        socket->abort();
        socket->deleteLater();
        return;
    case TFrame::Whole:
        // One frame per connection: whatever follows it is not read. The reply is small and goes
        // out at once; a peer that does not take it is cut off by the same timer.
        socket->disconnect(this);
        socket->write(reply.data(), qint64(reply.size()));
        socket->flush();
        socket->disconnectFromServer();
        if (socket->state() != QLocalSocket::UnconnectedState) stall->start();
        return;
    }
}

std::optional<std::string> TLocalFrameServer::Exchange(const std::filesystem::path& socketPath, std::string_view frame,
                                                       int waitSteps, int stepMs) {
    const int bound = stepMs * std::max(waitSteps, 1);
    QLocalSocket socket;
    socket.connectToServer(SocketName(socketPath));
    if (!socket.waitForConnected(bound)) return std::nullopt;
    if (socket.write(frame.data(), qint64(frame.size())) != qint64(frame.size())) return std::nullopt;
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(bound)) return std::nullopt;
    std::string reply;
    for (int step = 0; step < waitSteps; ++step) {
        const bool arrived = socket.waitForReadyRead(stepMs);
        const QByteArray bytes = socket.readAll();
        reply.append(bytes.constData(), std::size_t(bytes.size()));
        // The server closes once it has given its whole reply.
        if (!arrived && socket.state() != QLocalSocket::ConnectedState) break;
    }
    socket.abort();
    return reply;
}

}  // namespace vitrina
