#pragma once
// A local socket that takes one request frame per connection without ever blocking the thread
// that serves it: every connection keeps its own buffer, a frame is handed on as soon as it is
// whole, and a peer that stops sending in the middle of one is cut off by its own timer.
#include <QObject>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace vitrina {

class TLocalFrameServer : public QObject {
public:
    enum class TFrame { Incomplete, Whole, Bad };
    // Looks at what a connection has sent so far. On Whole it has handled the frame and put into
    // reply the bytes to send back; on Bad the connection is dropped unanswered.
    using TReader = std::function<TFrame(std::string_view received, std::string& reply)>;

    // Listens at socketPath, replacing a socket file left there by an earlier process of the same
    // id. Without a usable path the server simply serves nothing.
    TLocalFrameServer(std::filesystem::path socketPath, TReader reader, QObject* parent = nullptr);
    ~TLocalFrameServer() override;

    bool Listening() const;

    // How long a connection may send nothing before its frame is whole.
    static constexpr int kStallMs = 1000;

    // The sending side: connects, writes the frame and collects the reply until the server
    // closes or waitSteps x stepMs have passed. Nothing when the server cannot be reached or the
    // frame cannot be written.
    static std::optional<std::string> Exchange(const std::filesystem::path& socketPath, std::string_view frame,
                                               int waitSteps, int stepMs);

private:
    void Accept();
    void Receive(QLocalSocket* socket, QTimer* stall, std::string& received);

    QLocalServer* server_ = nullptr;
    TReader reader_;
};

}  // namespace vitrina
