#include "search/index_builder.h"

#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

#include "platform/cp1251.h"

namespace vitrina {
namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

bool IsWordByte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0xC0 ||
           c == 0xA8 || c == 0xB8;
}

}  // namespace

TDynamicStringArray SplitWords(std::string_view text) {
    TDynamicStringArray words;
    std::set<std::string> seen;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsWordByte(Byte(text[i]))) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && IsWordByte(Byte(text[j]))) ++j;
        std::string word = LowerCase1251(text.substr(i, j - i));
        if (seen.insert(word).second) words.push_back(std::move(word));
        i = j;
    }
    return words;
}

void TIndexBuilder::AddDocument(const std::string& path, std::string_view html) {
    TDocument document;
    document.title = ExtractTitle(html);
    document.words = SplitWords(VisibleText(html));
    documents_[path] = std::move(document);
}

TIndexFiles TIndexBuilder::Write() const {
    TIndexFiles files;
    std::map<std::string, std::vector<int>> postings;
    int number = 0;
    for (const auto& [path, document] : documents_) {
        ++number;
        files.files += path + "#:#" + document.title + "\r\n";
        for (const auto& word : document.words) postings[word].push_back(number);
    }
    for (const auto& [word, numbers] : postings) {
        files.keywords += word + "\r\n";
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (i > 0) files.index += ':';
            files.index += std::to_string(numbers[i]);
        }
        files.index += "\r\n";
    }
    return files;
}

TIndexFiles BuildIndexFromFolder(const std::filesystem::path& folder, std::size_t* documentCount) {
    namespace fs = std::filesystem;
    TIndexBuilder builder;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string extension = LowerAscii(it->path().extension().string());
        if (extension.find(".htm") == std::string::npos) continue;
        std::string path;
        for (const auto& part : fs::relative(it->path(), folder)) {
            if (!path.empty()) path += '\\';
            path += Utf8ToCp1251(part.string());
        }
        std::ifstream in(it->path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        builder.AddDocument(path, DocumentAs1251(bytes));
    }
    if (documentCount) *documentCount = builder.DocumentCount();
    return builder.Write();
}

}  // namespace vitrina
