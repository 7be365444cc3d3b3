#include "resources/compr_stream.h"

#include <QBuffer>
#include <QFile>
#include <cstring>
#include <fstream>

#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "resources/store.h"

namespace vitrina {

bool TDocumentFiles::Read(std::string_view path, std::string& bytes) const {
    // A store entry that is damaged counts as absent: the disk file may stand in for it.
    if (const int index = store_.FindEntry(path); index >= 0 && store_.ReadEntry(index, bytes)) return true;
    const auto host = drives_.ToHostPath(path);
    if (!host) return false;
    std::error_code ec;
    if (std::filesystem::is_directory(*host, ec)) return false;
    std::ifstream in(*host, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    std::string content(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(content.data(), size);
    if (in.bad()) return false;
    content.resize(static_cast<std::size_t>(in.gcount()));
    bytes = std::move(content);
    return true;
}

std::unique_ptr<QIODevice> TDocumentFiles::Open(std::string_view path) const {
    if (const int index = store_.FindEntry(path); index >= 0) {
        auto buffer = std::make_unique<QBuffer>();
        if (store_.ReadEntry(index, buffer->buffer()) && buffer->open(QIODevice::ReadOnly)) return buffer;
    }
    const auto host = drives_.ToHostPath(path);
    if (!host) return nullptr;
    std::error_code ec;
    if (std::filesystem::is_directory(*host, ec)) return nullptr;
    auto file = std::make_unique<QFile>(*host);
    if (!file->open(QIODevice::ReadOnly)) return nullptr;
    return file;
}

bool TDocumentFiles::StoreFileExists(std::string_view path) const {
    return drives_.FileExists(path) || store_.FindEntry(path) >= 0;
}

TComprStream::TComprStream(const TDocumentFiles& files, std::string_view path) {
    if (!files.Read(path, bytes_)) throw EFileOpenError("Cannot open file \"" + Cp1251ToUtf8(path) + "\"");
}

std::size_t TComprStream::Read(char* buffer, std::size_t count) {
    const std::size_t n = std::min(count, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

}  // namespace vitrina
