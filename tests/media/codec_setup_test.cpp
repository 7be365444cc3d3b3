#include "media/codec_setup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/mci_errors.h"

namespace vitrina {
namespace {

TEST(CodecSetup, AMissingDecoderIsNamedOncePerRun) {
    std::vector<std::string> lines;
    TCodecSetup setup([&](const std::string& line) { lines.push_back(line); });
    setup.InstallAtStartUp("indeo5 mpegaudio", true);
    setup.InstallForFailedOpen(kMciInternal);  // no decoder was asked for
    EXPECT_TRUE(lines.empty());
    setup.InstallForFailedOpen(kMciCannotLoadDriver);
    setup.InstallForFailedOpen(kMciCannotLoadDriver);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("gstreamer1.0-libav"), std::string::npos);
}

}  // namespace
}  // namespace vitrina
