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

private:
    mutable QWebEngineProfile* profile_ = nullptr;
    TDocSchemeHandler* handler_;
    TDocRequestGuard* guard_;
};

}  // namespace vitrina
