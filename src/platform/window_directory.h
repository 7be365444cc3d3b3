#pragma once
// The window directory: how copies of the program find each other's windows by title and send
// them requests, where Windows has FindWindow and SendMessage. Each process keeps one entry file
// in the runtime folder (mode 0700) listing its top-level windows (title, visibility) and serves
// requests on a local socket beside it ("<pid>.sock", one "title<TAB>request" line per
// connection). Entries of processes that are gone are ignored and removed.
#include <QObject>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vitrina {

struct TWindowEntry {
    long pid = 0;
    std::string title;  // 1251
    bool visible = false;
};

class TWindowDirectory : public QObject {
public:
    explicit TWindowDirectory(std::filesystem::path runtimeFolder, QObject* parent = nullptr);
    ~TWindowDirectory() override;

    // This process's windows, replacing what it published before.
    void Publish(const std::vector<TWindowEntry>& windows);

    // Every window of every live process (this one included), in no fixed order.
    std::vector<TWindowEntry> Windows() const;
    // The first visible window whose title equals title ignoring case (FindWindowByTitle).
    bool FindWindowByTitle(std::string_view title, TWindowEntry& found) const;

    // Sends a request line to the process that owns the window; false when it is gone. Like
    // PostMessage it does not wait for the request to be handled.
    bool Send(const TWindowEntry& window, std::string_view request) const;

    // Requests that reach this process: (title, request).
    std::function<void(const std::string& title, const std::string& request)> OnRequest;

    const std::filesystem::path& Folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

}  // namespace vitrina
