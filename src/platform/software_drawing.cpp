#include "platform/software_drawing.h"

#include <cstdlib>
#include <string_view>

namespace vitrina {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

bool DrawsInSoftware(const TDrawingHost& host) {
    if (host.readerGraphics) return false;
    for (std::string_view gpu : {"gpu", "--use-gl", "--use-angle"})
        if (host.engineFlags.find(gpu) != std::string::npos) return false;
    // "offscreen:option=..." names the platform before its options.
    const std::string_view platform = std::string_view(host.platform).substr(0, host.platform.find(':'));
    return !host.renderNode || platform == "offscreen" || platform == "minimal";
}

TDrawingHost ThisDrawingHost(int argc, const char* const* argv, const std::filesystem::path& dri) {
    TDrawingHost host;
    host.platform = Environment("QT_QPA_PLATFORM");
    // As Qt reads its own option: the last one given wins over the variable.
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string_view(argv[i]) == "-platform" || std::string_view(argv[i]) == "--platform")
            host.platform = argv[++i];
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dri, ec))
        if (entry.path().filename().string().starts_with("renderD")) host.renderNode = true;
    for (const char* name : {"QT_XCB_GL_INTEGRATION", "QT_QUICK_BACKEND", "QSG_RHI_BACKEND", "QT_QPA_OFFSCREEN_NO_GLX"})
        if (!Environment(name).empty()) host.readerGraphics = true;
    host.engineFlags = Environment("QTWEBENGINE_CHROMIUM_FLAGS");
    return host;
}

}  // namespace vitrina
