#include "platform/window_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "platform/cp1251.h"
#include "platform/local_frame_server.h"
#include "platform/process_id.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

// A request line is short; anything longer without its line end is not one.
constexpr std::size_t kMaxLine = 4096;
// A sender does not wait for the request to be handled, only for it to be written.
constexpr int kSendWaitMs = 500;

fs::path SocketOf(const fs::path& folder, long pid) { return folder / (std::to_string(pid) + ".sock"); }

// Titles may hold tabs or line breaks in principle; the entry format keeps one window a line.
std::string Clean(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

TWindowDirectory::TWindowDirectory(fs::path runtimeFolder, QObject* parent)
    : QObject(parent), folder_(std::move(runtimeFolder) / "windows") {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    ::chmod(folder_.parent_path().c_str(), 0700);
    ::chmod(folder_.c_str(), 0700);
    // Served for the life of this object, as its child.
    new TLocalFrameServer(
        SocketOf(folder_, ::getpid()),
        [this](std::string_view received, std::string&) {
            const auto end = received.substr(0, kMaxLine).find('\n');
            if (end == std::string_view::npos)
                return received.size() < kMaxLine ? TLocalFrameServer::TFrame::Incomplete : TLocalFrameServer::TFrame::Bad;
            const std::string_view line = received.substr(0, end);
            const auto tab = line.find('\t');
            if (tab == std::string_view::npos) return TLocalFrameServer::TFrame::Bad;
            if (OnRequest) OnRequest(Utf8ToCp1251(std::string(line.substr(0, tab))), Utf8ToCp1251(std::string(line.substr(tab + 1))));
            return TLocalFrameServer::TFrame::Whole;
        },
        this);
}

TWindowDirectory::~TWindowDirectory() {
    std::error_code ec;
    fs::remove(folder_ / std::to_string(::getpid()), ec);
}

void TWindowDirectory::Publish(const std::vector<TWindowEntry>& windows) {
    std::string text;
    for (const TWindowEntry& w : windows) text += std::string(w.visible ? "1" : "0") + "\t" + Cp1251ToUtf8(Clean(w.title)) + "\n";
    const std::string pid = std::to_string(::getpid());
    const fs::path temp = folder_ / (pid + ".tmp");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out) return;
    }
    std::error_code ec;
    fs::rename(temp, folder_ / pid, ec);
}

std::vector<TWindowEntry> TWindowDirectory::Windows() const {
    std::vector<TWindowEntry> all;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const std::optional<long> pid = ProcessIdFromName(entry.path().filename().string());
        if (!pid) continue;
        if (!ProcessAlive(*pid)) {
            // A copy that died without tidying up.
            std::error_code ignored;
            fs::remove(entry.path(), ignored);
            fs::remove(SocketOf(folder_, *pid), ignored);
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (line.size() < 2 || line[1] != '\t') continue;
            all.push_back({*pid, Utf8ToCp1251(line.substr(2)), line[0] == '1'});
        }
    }
    return all;
}

bool TWindowDirectory::FindWindowByTitle(std::string_view title, TWindowEntry& found) const {
    // This process's own windows first, as a window search of the same thread would meet them.
    auto windows = Windows();
    std::stable_partition(windows.begin(), windows.end(), [](const TWindowEntry& w) { return w.pid == ::getpid(); });
    for (const TWindowEntry& w : windows) {
        if (w.visible && SameText1251(w.title, title)) {
            found = w;
            return true;
        }
    }
    return false;
}

bool TWindowDirectory::Send(const TWindowEntry& window, std::string_view request) const {
    if (window.pid == ::getpid()) {
        if (OnRequest) OnRequest(window.title, std::string(request));
        return true;
    }
    const std::string line = Cp1251ToUtf8(Clean(window.title)) + "\t" + Cp1251ToUtf8(Clean(std::string(request))) + "\n";
    return TLocalFrameServer::Exchange(SocketOf(folder_, window.pid), line, 0, kSendWaitMs).has_value();
}

}  // namespace vitrina
