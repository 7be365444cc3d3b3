#include "resources/store_writer.h"

#include <map>
#include <memory>
#include <stdexcept>

#include "resources/store.h"

namespace vitrina {
namespace {

struct TNode {
    std::string name;
    bool folder = false;
    const TStoreFile* file = nullptr;
    std::vector<std::unique_ptr<TNode>> children;
    std::uint32_t record = 0;  // folder record index

    TNode* Child(const std::string& childName, bool wantFolder) {
        for (auto& child : children) {
            if (child->name == childName) {
                if (child->folder != wantFolder || !wantFolder)
                    throw std::invalid_argument("store path named twice or as file and folder: " + childName);
                return child.get();
            }
        }
        children.push_back(std::make_unique<TNode>());
        children.back()->name = childName;
        children.back()->folder = wantFolder;
        return children.back().get();
    }
};

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string WriteStore(const std::vector<TStoreFile>& files, const TStoreWriteOptions& options) {
    TNode root;
    root.folder = true;
    for (const auto& file : files) {
        std::string path = file.path;
        NormaliseStorePath(path);
        TNode* node = &root;
        std::size_t start = 0;
        while (start < path.size() && path[start] == '\\') ++start;
        for (;;) {
            const auto slash = path.find('\\', start);
            const std::string part = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
            if (part.empty() || part.size() > TStore::kNameSize)
                throw std::length_error("store name empty or longer than 64 bytes in " + file.path);
            if (slash == std::string::npos) {
                node->Child(part, false)->file = &file;
                break;
            }
            node = node->Child(part, true);
            start = slash + 1;
        }
    }

    // Folder records in breadth-first order, each folder's entries consecutive.
    std::vector<TNode*> folders{&root};
    for (std::size_t i = 0; i < folders.size(); ++i) {
        folders[i]->record = static_cast<std::uint32_t>(i);
        for (auto& child : folders[i]->children) {
            if (child->folder) folders.push_back(child.get());
        }
    }

    std::string records;
    std::string entries;
    std::string data;
    std::uint32_t entryCount = 0;
    for (TNode* folder : folders) {
        PutU32(records, entryCount);
        PutU32(records, static_cast<std::uint32_t>(folder->children.size()));
        for (auto& child : folder->children) {
            std::string name = child->name;
            name.resize(TStore::kNameSize, '\0');
            entries += name;
            if (child->folder) {
                PutU32(entries, child->record);
                PutU32(entries, 0);
                PutU32(entries, 0);
                PutU32(entries, TStore::kFolder);
            } else {
                const std::string& raw = child->file->data;
                std::string packed = options.compressFiles ? DeflateZlib(raw) : std::string();
                const bool compress = options.compressFiles && packed.size() < raw.size();
                const std::string& stored = compress ? packed : raw;
                if (data.size() + stored.size() > 0xFFFFFFFFull) throw std::length_error("store larger than 4 GiB");
                PutU32(entries, static_cast<std::uint32_t>(data.size()));
                PutU32(entries, static_cast<std::uint32_t>(stored.size()));
                PutU32(entries, static_cast<std::uint32_t>(raw.size()));
                PutU32(entries, TStore::kFile);
                data += stored;
            }
            ++entryCount;
        }
    }

    std::string table;
    PutU32(table, static_cast<std::uint32_t>(folders.size()));
    PutU32(table, entryCount);
    PutU32(table, 0);
    PutU32(table, root.record);
    table += records;
    table += entries;

    std::string block = options.compressTable ? DeflateZlib(table) : table;
    if (block.size() >= table.size()) block = table;
    std::string out;
    PutU32(out, static_cast<std::uint32_t>(table.size() - block.size()) ^ TStore::kHeaderKey1);
    PutU32(out, static_cast<std::uint32_t>(block.size()) ^ TStore::kHeaderKey2);
    out += block;
    out += data;
    return out;
}

}  // namespace vitrina
