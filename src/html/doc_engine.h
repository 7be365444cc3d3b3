#pragma once
// The engine's process-wide part: one profile that keeps nothing on disk, with the document
// scheme installed and every other request refused. Every viewer is made on it. The profile,
// whose making starts the engine and its helper process, is made when first asked for.
#include <QSize>

class QWebEngineProfile;

namespace vitrina {

class TDocRequestGuard;
class TDocSchemeHandler;
class TDocumentFiles;
class TDocumentReach;

class TDocEngine {
public:
    // reach: what documents may read besides the disc.
    TDocEngine(const TDocumentFiles& files, const TDocumentReach& reach);
    ~TDocEngine();
    TDocEngine(const TDocEngine&) = delete;
    TDocEngine& operator=(const TDocEngine&) = delete;

    QWebEngineProfile* Profile() const;
    bool Started() const { return profile_ != nullptr; }
    TDocSchemeHandler& Handler() const { return *handler_; }
    QSize LastPictureSize() const;

    // The scheme and the engine's process flags (no host name or address is ever resolved and a
    // peer connection sends no datagram, so nothing the interceptor does not see, like a
    // preconnect, reaches the network; without its sandbox when asked, as root must). Must run
    // before the application object exists. software: the engine and Qt's scene graph draw
    // without OpenGL (see software_drawing.h).
    static void PrepareProcess(bool withoutSandbox, bool software = false);

private:
    mutable QWebEngineProfile* profile_ = nullptr;
    TDocSchemeHandler* handler_;
    TDocRequestGuard* guard_;
};

}  // namespace vitrina
