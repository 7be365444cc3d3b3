#pragma once
// "unarc": the shown archive page's archive, unpacked where the reader asks.
namespace vitrina {

class IArchiveCommands {
public:
    virtual ~IArchiveCommands() = default;
    virtual void ExtractArchive() = 0;
};

}  // namespace vitrina
