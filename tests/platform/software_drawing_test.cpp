#include "platform/software_drawing.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vitrina {
namespace {

TEST(SoftwareDrawing, OnlyWhereNoGpuDrawsAndTheReaderChoseNothing) {
    const struct {
        TDrawingHost host;
        bool software;
    } cases[] = {
        {{"", false, false, ""}, true},     // no render node: GL would be Mesa's rasteriser
        {{"xcb", false, false, ""}, true},
        {{"", true, false, ""}, false},     // a GPU draws
        {{"xcb", true, false, ""}, false},
        {{"wayland", true, false, ""}, false},
        {{"offscreen", true, false, ""}, true},  // nothing reaches a screen
        {{"offscreen:fontengine=freetype", true, false, ""}, true},
        {{"minimal", true, false, ""}, true},
        {{"offscreenx", true, false, ""}, false},
        // The reader's own graphics choices win.
        {{"", false, true, ""}, false},
        {{"offscreen", true, true, ""}, false},
        {{"", false, false, "--ignore-gpu-blocklist"}, false},
        {{"", false, false, "--disable-gpu"}, false},
        {{"", false, false, "--use-gl=egl"}, false},
        {{"", false, false, "--use-angle=swiftshader"}, false},
        {{"", false, false, "--lang=ru --log-level=0"}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DrawsInSoftware(c.host), c.software)
            << "platform '" << c.host.platform << "' render node " << c.host.renderNode << " reader's graphics "
            << c.host.readerGraphics << " flags '" << c.host.engineFlags << "'";
}

TEST(SoftwareDrawing, HostSeesRenderNodesAndThePlatformOption) {
    test::TTempFolder dri;
    dri.Write("card0", "");
    const char* plain[] = {"vitrina"};
    EXPECT_FALSE(ThisDrawingHost(1, plain, dri.Path()).renderNode);  // a display card alone renders nothing
    EXPECT_FALSE(ThisDrawingHost(1, plain, dri.Path() / "missing").renderNode);
    dri.Write("renderD128", "");
    EXPECT_TRUE(ThisDrawingHost(1, plain, dri.Path()).renderNode);

    const char* option[] = {"vitrina", "-platform", "minimal", "--disc", "d"};
    EXPECT_EQ(ThisDrawingHost(5, option, dri.Path()).platform, "minimal");
    const char* dangling[] = {"vitrina", "-platform"};
    EXPECT_EQ(ThisDrawingHost(2, dangling, dri.Path()).platform, ThisDrawingHost(1, plain, dri.Path()).platform);
}

}  // namespace
}  // namespace vitrina
