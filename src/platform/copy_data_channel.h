#pragma once
// Copy-data requests between copies of the program, where Windows sends WM_COPYDATA with
// SendMessage and the receiver answers with messages of its own. Each process serves a socket
// beside its window-directory entry; a request carries the target window's title, the sender's
// handle (its process id) and the record block unchanged, and the receiver's answers (message
// number, wParam) come back on the same connection.
#include <QObject>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/window_directory.h"

namespace vitrina {

struct TCopyDataAnswer {
    unsigned message = 0;
    long long wParam = 0;
    bool operator==(const TCopyDataAnswer&) const = default;
};

class TCopyDataChannel : public QObject {
public:
    // folder: the window directory's folder (TWindowDirectory::Folder).
    explicit TCopyDataChannel(std::filesystem::path folder, QObject* parent = nullptr);
    ~TCopyDataChannel() override;

    // Sends the block to the process that owns the window and waits up to 10 x 50 ms for its
    // answers: SendMessage returns only when they are given, so this wait blocks, but boundedly.
    // A window of this process is served at once, without the socket.
    std::vector<TCopyDataAnswer> Send(const TWindowEntry& window, const std::string& block) const;

    // A request that reached this process: (window title, sender handle, block, answers to give).
    std::function<void(const std::string& title, long long sender, const std::string& block,
                       std::vector<TCopyDataAnswer>& answers)>
        OnCopyData;

    // This process's handle as the senders' wParam.
    static long long OwnHandle();

private:
    std::filesystem::path folder_;
};

}  // namespace vitrina
