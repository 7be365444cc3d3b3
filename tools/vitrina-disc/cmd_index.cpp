// index: the keyword index files of a disc from a folder of HTML documents.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/cp1251.h"
#include "search/index_builder.h"
#include "subcommands.h"

namespace fs = std::filesystem;

namespace vitrina::disc {

namespace {

void WriteIndexFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace

int IndexCommand(const TArgs& args) {
    args.ExpectCount(2);
    const fs::path documents = Cp1251ToUtf8(args.At(0, "DOCUMENTS"));
    const fs::path out = Cp1251ToUtf8(args.At(1, "OUT"));
    if (!fs::is_directory(documents)) throw EUsage("no documents folder " + documents.string());
    std::size_t count = 0;
    const TIndexFiles files = BuildIndexFromFolder(documents, &count);
    fs::create_directories(out);
    WriteIndexFile(out / "keywords.idx", files.keywords);
    WriteIndexFile(out / "index.idx", files.index);
    WriteIndexFile(out / "files.idx", files.files);
    if (count == 0) std::fprintf(stderr, "vitrina-disc index: no documents below %s\n", documents.string().c_str());
    return kOk;
}

}  // namespace vitrina::disc
