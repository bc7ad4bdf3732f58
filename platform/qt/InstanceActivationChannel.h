// The local socket beside the instance lock: the running instance listens on it, and a second
// instance that finds the lock taken connects and asks it to bring its window to the front.
#pragma once

#include <QObject>

#include <functional>
#include <string>

class QLocalServer;
class QLocalSocket;

class InstanceActivationChannel final : public QObject {
    Q_OBJECT
public:
    // onRequest runs on the listening thread for every complete activation request.
    explicit InstanceActivationChannel(std::function<void()> onRequest, QObject* parent = nullptr);
    ~InstanceActivationChannel() override;

    // Listens at the socket path. Only the lock owner calls this, so a socket file left behind by
    // an instance that died is removed first. False when the socket cannot be set up.
    bool Listen(const std::string& socketPath);
    // Sends one activation request to the instance listening at the path; false when none
    // answers within the time-out.
    static bool RequestActivation(const std::string& socketPath, int timeoutMs);

    static constexpr const char* kRequest = "raise\n";

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);

    std::function<void()> onRequest_;
    QLocalServer* server_ = nullptr;
};
