// The request record between copies: any block decodes or is refused, and a decoded record
// encodes into a block that decodes to the same record.
#include "fuzz_support.h"
#include "platform/request_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    const auto record = DecodeRequestRecord(fuzz::AsText(data, size));
    if (!record) return 0;
    fuzz::Check(record->items.size() <= kRequestMaxItems, "more items than travel");
    const std::string block = EncodeRequestRecord(*record);
    fuzz::Check(block.size() == kRequestRecordSize, "an encoded block of another size");
    // A text that filled its whole field loses its last byte to the NUL; after that the record
    // is stable.
    const auto again = DecodeRequestRecord(block);
    fuzz::Check(again.has_value(), "an encoded block is refused");
    const auto third = DecodeRequestRecord(EncodeRequestRecord(*again));
    fuzz::Check(third && third->kind == again->kind && third->items.size() == again->items.size(),
                "the record changes between copies");
    for (std::size_t i = 0; i < again->items.size(); ++i)
        fuzz::Check(third->items[i].kind == again->items[i].kind && third->items[i].text == again->items[i].text,
                    "an item changes between copies");
    return 0;
}
