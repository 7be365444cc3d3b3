#include "html/engine_process.h"

#include <QByteArray>

#include <utility>

namespace vitrina {

void PrepareEngineProcess(bool withoutSandbox, bool software) {
    // The engine reads its flags from this variable when it starts; the reader's own flags stay.
    // No host name resolves, IP addresses included, which stops what the request interceptor
    // never sees (preconnects, a peer connection's relay); a peer connection sends no datagram
    // of its own either.
    static const std::pair<const char*, const char*> kFlags[] = {
        {"--host-resolver-rules", "=\"MAP * ~NOTFOUND\""},
        {"--force-webrtc-ip-handling-policy", "=disable_non_proxied_udp"},
        // Nor does it announce a made-up local name on the network.
        {"--disable-features", "=WebRtcHideLocalIpsWithMdns"}};
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    auto add = [&flags](const QByteArray& name, const QByteArray& value) {
        if (flags.contains(name)) return;
        if (!flags.isEmpty()) flags += ' ';
        flags += name + value;
    };
    for (const auto& [name, value] : kFlags) add(name, value);
    // As a flag rather than QTWEBENGINE_DISABLE_SANDBOX, which also makes the engine say so on
    // every start.
    if (withoutSandbox) add("--no-sandbox", "");
    // The engine's own error log (a lost GPU context under load, and the like) stays off the
    // terminal unless the reader's flags choose a level.
    add("--log-level", "=3");
    if (software) {
        add("--disable-gpu", "");
        // No GL context at all: the engine's set-up makes one for sharing whatever the scene
        // graph draws with, and that alone loads Mesa's rasteriser. The scene graph's choice
        // through the environment, as the program links no Qt Quick.
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        qputenv("QT_QPA_OFFSCREEN_NO_GLX", "1");
        qputenv("QT_QUICK_BACKEND", "software");
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

}  // namespace vitrina
