#include "platform/qt/InstanceActivationChannel.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <cstring>

namespace {
// A request is one short line; anything longer is not ours and is dropped unread.
constexpr qint64 kMaxRequest = 64;
}

InstanceActivationChannel::InstanceActivationChannel(std::function<void()> onRequest, QObject* parent)
    : QObject(parent), onRequest_(std::move(onRequest))
{
}

InstanceActivationChannel::~InstanceActivationChannel() = default;

bool InstanceActivationChannel::Listen(const std::string& socketPath)
{
    if (server_ != nullptr) {
        return server_->isListening();
    }
    const QString path = QString::fromStdString(socketPath);
    QLocalServer::removeServer(path);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceActivationChannel::OnNewConnection);
    return server_->listen(path);
}

void InstanceActivationChannel::OnNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        if (socket->bytesAvailable() > 0) {
            OnReadyRead(socket);
        }
    }
}

void InstanceActivationChannel::OnReadyRead(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequest) {
            socket->abort();
        }
        return;
    }
    const QByteArray line = socket->readLine(kMaxRequest);
    socket->disconnectFromServer();
    if (line == kRequest && onRequest_) {
        onRequest_();
    }
}

bool InstanceActivationChannel::RequestActivation(const std::string& socketPath, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(socketPath));
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(kRequest, static_cast<qint64>(std::strlen(kRequest)));
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(timeoutMs);
    }
    return sent;
}
