#pragma once
// Where no GPU can draw (no render node) or nothing reaches a screen (the offscreen and minimal
// platforms), OpenGL runs on the CPU through Mesa's LLVM rasteriser: no faster than drawing in
// software, and about 65 MB more of the process's memory. There the window's scene graph and
// the web engine draw in software. A reader who names a graphics choice of their own (Qt's GL
// integration or scene graph backend, or GPU flags of the engine) keeps it.
#include <filesystem>
#include <string>

namespace vitrina {

struct TDrawingHost {
    std::string platform;     // the Qt platform asked for (-platform or QT_QPA_PLATFORM), may be empty
    bool renderNode = false;  // some /dev/dri/renderD* exists
    bool readerGraphics = false;  // the reader set Qt's GL integration or scene graph backend
    std::string engineFlags;  // the reader's own flags for the web engine
};

bool DrawsInSoftware(const TDrawingHost& host);

// The host as this process sees it: its command line, environment and /dev/dri (dri: for tests).
TDrawingHost ThisDrawingHost(int argc, const char* const* argv,
                             const std::filesystem::path& dri = "/dev/dri");

}  // namespace vitrina
