#include "resources/dialog_description.h"

#include <string_view>

#include "resources/description.h"
#include "resources/record_reader.h"

namespace vitrina {
namespace {

#define KEY(kind, field) TKey{#field, kinds.kind(record.field, #field)}

template <class T>
T& GrowTo(std::vector<T>& perDialog, int index) {
    if (static_cast<int>(perDialog.size()) <= index) perDialog.resize(index + 1);
    return perDialog[index];
}

}  // namespace

void TDialogDescription::Read(const TDynamicStringArray& lines) {
    const TKinds kinds{programFolder_};
    std::size_t i = 0;
    while (i < lines.size()) {
        const std::string& line = lines[i];
        // The first kind word found decides.
        static constexpr std::string_view kKinds[] = {"_picture", "_text", "_button", "switchgrp"};
        std::string_view kind;
        for (auto candidate : kKinds) {
            if (Contains(line, candidate)) {
                kind = candidate;
                break;
            }
        }
        const int index = kind.empty() ? -1 : ReadNumber(line, 0) - 1;
        if (index < 0 || index >= kMaxDialogs) {
            ++i;
            continue;
        }
        if (kind == "_picture") {
            GrowTo(DialogPictures, index) = ReadText(line, ValuePos(line.find("picture"), "picture"));
            GrowTo(DialogButtons, index);
            GrowTo(DialogSwitches, index);
        } else if (kind == "_text") {
            RText record;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Coordinate, vw), KEY(Text, font), KEY(Size, size),
                         KEY(Text, style), KEY(Color, color), KEY(Text, value)});
            GrowTo(DialogTexts, index) = record;
        } else if (kind == "_button") {
            RBtn record;
            ReadInOrder(lines, i,
                        {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(LowerText, align), KEY(Text, fn1), KEY(Text, fn2),
                         KEY(Text, fn3), KEY(LowerText, go), KEY(Text, hint), KEY(LowerText, wav)});
            GrowTo(DialogButtons, index).push_back(record);
        } else {
            RSwthGrp record;
            ReadWithCaptions(
                lines, i,
                {KEY(Coordinate, vx), KEY(Coordinate, vy), KEY(Text, fn1), KEY(Text, fn2), KEY(Text, fn3), KEY(Text, fn4),
                 KEY(Flag, state), KEY(Flag, store), KEY(Number, group), KEY(LowerPath, go), KEY(Text, hint),
                 KEY(LowerText, wav)},
                GroupCaptionKeys(kinds, record));
            GrowTo(DialogSwitches, index).push_back(record);
        }
        ++i;
    }
}

#undef KEY

const std::string& TDialogDescription::Picture(int index) const {
    static const std::string none;
    return index >= 0 && index < int(DialogPictures.size()) ? DialogPictures[index] : none;
}

const RText& TDialogDescription::Text(int index) const {
    static const RText none;
    return index >= 0 && index < int(DialogTexts.size()) ? DialogTexts[index] : none;
}

const TDynamicBtnArray& TDialogDescription::Buttons(int index) const {
    static const TDynamicBtnArray none;
    return index >= 0 && index < int(DialogButtons.size()) ? DialogButtons[index] : none;
}

TDynamicSwthGrpArray* TDialogDescription::Switches(int index) {
    return index >= 0 && index < int(DialogSwitches.size()) ? &DialogSwitches[index] : nullptr;
}

}  // namespace vitrina
