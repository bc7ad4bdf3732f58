// The receiving end of window messages from other programs: a local socket, named by the window's
// number, whose frames are posted to the window. Only the messages the window takes from outside
// pass; any other number, and a spoilt stream, ends that connection.
#pragma once

#include "core/util/ProgramMessageStream.h"
#include "platform/WindowHandle.h"

#include <QObject>

#include <initializer_list>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

class ProgramMessageServer final : public QObject {
    Q_OBJECT
public:
    ProgramMessageServer(HWND window, std::initializer_list<UINT> accepted, QObject* parent = nullptr);
    ~ProgramMessageServer() override;

    // Listens on the socket of the window number; FALSE when it cannot.
    BOOL Listen(const std::string& windowNumber);
    void Close();

    // The sending end, for a program given the number: connects, writes one frame and waits until
    // it is written. FALSE when no window listens under the number or the write fails.
    static BOOL Send(const std::string& windowNumber, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket, ProgramMessageStream* stream);

    HWND window_;
    std::vector<UINT> accepted_;
    QLocalServer* server_;
};
