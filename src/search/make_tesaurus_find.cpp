#include "search/make_tesaurus_find.h"

#include <optional>

#include "platform/cp1251.h"
#include "resources/description.h"

namespace vitrina {

TMakeTesaurusFind::TMakeTesaurusFind(const TDocumentFiles& files, TSearchMessages messages)
    : files_(files), messages_(std::move(messages)) {}

void TMakeTesaurusFind::SetIndexFolder(std::string_view folder) {
    if (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    folder_ = std::string(folder);
}

bool TMakeTesaurusFind::FindThesaurusEntry(std::string_view word, std::string& document) const {
    const std::string path = folder_ + "\\" + kIndexFile;
    if (!files_.StoreFileExists(path)) return false;
    std::optional<TComprStream> stream;
    try {
        stream.emplace(files_, path);
    } catch (const EFileOpenError&) {
        if (messages_)
            messages_(Utf8ToCp1251("Индексный файл не найден (") + kIndexFile + ")", TSearchMessageKind::Warning);
        return false;
    }
    const std::string lowerWord = LowerCase1251(word);
    std::string line;
    for (bool more = true; more;) {
        more = ReadIndexLine(*stream, line);
        const MyArray fields = SplitBySeparator("~", line);
        // A line without a document names nothing (the first one included).
        if (fields.size() < 2) {
            if (word.empty()) return false;
            continue;
        }
        if (!word.empty()) {
            // The split has trimmed the key already; an empty one would be in every word.
            const std::string key = LowerCase1251(fields[0]);
            if (key.empty() || lowerWord.find(key) == std::string::npos) continue;
        }
        document = Trim(fields[1]);
        return true;
    }
    return false;
}

}  // namespace vitrina
