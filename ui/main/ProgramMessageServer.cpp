#include "ui/main/ProgramMessageServer.h"

#include "platform/qt/QtMessageSink.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <algorithm>
#include <memory>

namespace {

constexpr int kSendTimeoutMs = 2000;

} // namespace

ProgramMessageServer::ProgramMessageServer(HWND window, std::initializer_list<UINT> accepted, QObject* parent)
    : QObject(parent), window_(window), accepted_(accepted), server_(new QLocalServer(this))
{
    // Only the user who runs the program may talk to its window.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &ProgramMessageServer::OnNewConnection);
}

ProgramMessageServer::~ProgramMessageServer()
{
    Close();
}

BOOL ProgramMessageServer::Listen(const std::string& windowNumber)
{
    const std::string name = ProgramMessageStream::SocketName(windowNumber);
    if (name.empty()) {
        return FALSE;
    }
    const QString serverName = QString::fromStdString(name);
    // A socket left behind by an ended process of the same number is stale.
    QLocalServer::removeServer(serverName);
    return server_->listen(serverName) ? TRUE : FALSE;
}

void ProgramMessageServer::Close()
{
    server_->close();
}

void ProgramMessageServer::OnNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // The stream lives as long as its connection.
        auto* stream = new ProgramMessageStream;
        connect(socket, &QObject::destroyed, socket, [stream] { delete stream; });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, stream] { OnReadyRead(socket, stream); });
        if (socket->bytesAvailable() > 0) {
            OnReadyRead(socket, stream);
        }
    }
}

void ProgramMessageServer::OnReadyRead(QLocalSocket* socket, ProgramMessageStream* stream)
{
    const QByteArray bytes = socket->readAll();
    std::vector<ProgramMessageStream::Message> messages;
    const BOOL sound = stream->Feed(bytes.constData(), static_cast<std::size_t>(bytes.size()), &messages);
    for (const auto& m : messages) {
        if (std::find(accepted_.begin(), accepted_.end(), m.message) == accepted_.end()) {
            socket->abort();
            return;
        }
        QtMessageSink::Instance().PostMessage(window_, m.message, m.wParam, m.lParam);
    }
    if (!sound) {
        socket->abort();
    }
}

BOOL ProgramMessageServer::Send(const std::string& windowNumber, UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::string name = ProgramMessageStream::SocketName(windowNumber);
    if (name.empty()) {
        return FALSE;
    }
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(name));
    if (!socket.waitForConnected(kSendTimeoutMs)) {
        return FALSE;
    }
    const std::string frame = ProgramMessageStream::Encode(message, wParam, lParam);
    if (socket.write(frame.data(), static_cast<qint64>(frame.size())) != static_cast<qint64>(frame.size())) {
        return FALSE;
    }
    const bool written = socket.waitForBytesWritten(kSendTimeoutMs) || socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    return written ? TRUE : FALSE;
}
