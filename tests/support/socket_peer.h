#pragma once
// The far end of a local socket on plain system calls, standing in for another copy of the
// program, so that a test sends exactly the bytes it means (half a frame, garbage) and sees
// exactly what comes back.
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include <filesystem>
#include <future>
#include <string>
#include <string_view>

namespace vitrina::test {

class TSocketPeer {
public:
    explicit TSocketPeer(const std::filesystem::path& socket);
    ~TSocketPeer();
    TSocketPeer(const TSocketPeer&) = delete;
    TSocketPeer& operator=(const TSocketPeer&) = delete;

    bool Connected() const { return fd_ >= 0; }
    bool Send(std::string_view bytes);
    // Tells the other end that nothing more comes.
    void EndSending();

    struct TReply {
        std::string bytes;
        bool closed = false;  // the other end closed; false when timeoutMs passed without a byte
    };
    TReply ReadToEnd(int timeoutMs);

private:
    int fd_ = -1;
};

// Runs work on another thread while this thread serves its events (the server under test lives
// here), and returns work's result; the wait is bounded by work's own time-outs.
template <class F>
auto ServeUntilDone(F work) -> decltype(work()) {
    QEventLoop loop;
    auto result = std::async(std::launch::async, [&] {
        struct TQuit {
            QEventLoop& loop;
            ~TQuit() { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); }
        } quit{loop};
        return work();
    });
    loop.exec();
    return result.get();
}

}  // namespace vitrina::test
