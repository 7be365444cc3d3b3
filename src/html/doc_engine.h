#pragma once
// The engine's process-wide part: one profile that keeps nothing on disk, with the document
// scheme installed. Every viewer is made on it.
#include <QSize>

class QWebEngineProfile;

namespace vitrina {

class TDocSchemeHandler;
class TDocumentFiles;

class TDocEngine {
public:
    explicit TDocEngine(const TDocumentFiles& files);
    ~TDocEngine();
    TDocEngine(const TDocEngine&) = delete;
    TDocEngine& operator=(const TDocEngine&) = delete;

    QWebEngineProfile* Profile() const { return profile_; }
    TDocSchemeHandler& Handler() const { return *handler_; }
    QSize LastPictureSize() const;

private:
    QWebEngineProfile* profile_;
    TDocSchemeHandler* handler_;
};

}  // namespace vitrina
