#include "resources/compr_stream.h"

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
    std::ifstream in(*host, std::ios::binary);
    if (!in) return false;
    std::error_code ec;
    if (std::filesystem::is_directory(*host, ec)) return false;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    bytes = std::move(content);
    return true;
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
