#pragma once
// Reading the records of a description "in order": each key of a record is looked for on the
// current line and, when missing there, on the following lines. The screen and dialog
// descriptions share these readers and the value kinds they bind to record fields.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "resources/dynamic_arrays.h"

namespace vitrina {

struct RSwthGrp;

// A key is found by plain substring search; its value starts one character after it.
inline std::size_t ValuePos(std::size_t keyPos, std::string_view key) { return keyPos + key.size() + 1; }

// Reads one key of a record from the line lines[index] that holds it at keyPos. List readers
// may move index on to the line where their list ends.
using TReader = std::function<void(const TDynamicStringArray& lines, std::size_t& index, std::size_t keyPos)>;
struct TKey {
    std::string_view name;
    TReader read;
};

// Readers for each value kind, bound to a field. The field must outlive the reading.
struct TKinds {
    const std::string& programFolder;

    TReader Number(int& field, std::string_view key) const;
    // Positions and edges, clamped where they are read so that no later sum of a position and a
    // picture's size can overflow.
    TReader Coordinate(int& field, std::string_view key) const;
    TReader Size(int& field, std::string_view key) const;
    TReader Text(std::string& field, std::string_view key) const;
    // Text lower-cased as the user's locale does (Cyrillic too).
    TReader LowerText(std::string& field, std::string_view key) const;
    TReader Path(std::string& field, std::string_view key) const;
    // A path, then lower-cased.
    TReader LowerPath(std::string& field, std::string_view key) const;
    TReader Color(TColor& field, std::string_view key) const;
    // On when the text value is "on".
    TReader Flag(bool& field, std::string_view key) const;
    TReader Style(std::uint8_t& field, std::string_view key) const;
    TReader List(TDynamicStringArray& field) const;
};

// The caption keys of a group switch, bound to its fields: the screen and the dialog
// descriptions write them alike.
std::vector<TKey> GroupCaptionKeys(const TKinds& kinds, RSwthGrp& record);

// Each key in order, advancing line by line until a line holds it. Returns false when a key
// never comes (the reading stops at the last line, keeping what it read); index is left on the
// line that held the last key read.
bool ReadInOrder(const TDynamicStringArray& lines, std::size_t& index, const std::vector<TKey>& keys);

// The same, and every line that lacks the awaited main key is also searched for each caption
// key, each one present there being read.
bool ReadWithCaptions(const TDynamicStringArray& lines, std::size_t& index, const std::vector<TKey>& mainKeys,
                      const std::vector<TKey>& captionKeys);

}  // namespace vitrina
