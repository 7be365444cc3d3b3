#pragma once
// A disc's files (and the reader's own) are opened only when they are regular files: a pipe at a
// file's place would block an open or a read for good, and a device such as /dev/zero never ends.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

class QFile;

namespace vitrina {

// An open descriptor of a regular file, closed with the object.
class TRegularFile {
public:
    TRegularFile() = default;
    ~TRegularFile();
    TRegularFile(TRegularFile&& other) noexcept;
    TRegularFile& operator=(TRegularFile&& other) noexcept;
    TRegularFile(const TRegularFile&) = delete;
    TRegularFile& operator=(const TRegularFile&) = delete;

    // Opens path for reading without blocking, refuses what fstat does not call a regular file,
    // then reads blocking again. With noFollow a link as the last part of the path is refused too.
    // Closed (Fd() < 0, errno set) when it is not a regular file that can be read.
    static TRegularFile Open(const std::filesystem::path& path, bool noFollow = false);

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    std::uint64_t Size() const { return size_; }
    // Hands the descriptor over; the object is then closed.
    int Release();

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The whole content of a regular file of at most maxSize bytes. False (bytes untouched) when
// the file is not regular, cannot be read, or is larger.
bool ReadRegularFile(const std::filesystem::path& path, std::string& bytes,
                     std::uint64_t maxSize = std::uint64_t(1) << 30, bool noFollow = false);

// The file as a QFile open for reading, or null when it is not a regular file.
std::unique_ptr<QFile> OpenRegularQFile(const std::filesystem::path& path);

}  // namespace vitrina
