#pragma once
// Serves the engine every document, frame, style and picture by its Windows path, through the
// document store first and the disk second (TDocumentFiles::Open): disk files stream to the
// engine from an open file. Files outside the disc are served only where TDocumentReach allows.
#include <QSize>
#include <QByteArray>
#include <QWebEngineUrlSchemeHandler>

#include <map>
#include <mutex>
#include <string>

namespace vitrina {

class TDocumentFiles;
class TDocumentReach;

class TDocSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    TDocSchemeHandler(const TDocumentFiles& files, const TDocumentReach& reach, QObject* parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // LastPictureSize: the size of the last picture file served; empty before the first.
    QSize LastPictureSize() const { return lastPictureSize_; }
    int RequestCount() const { return requests_; }

    // A document the program makes itself (a dialog's sample), served at that Windows path
    // (1251, any letter case) before any file; empty bytes take it away.
    void SetProgramDocument(const std::string& windowsPath, const QByteArray& bytes);

    // Registers the scheme with the engine; must run before the engine's first profile is made.
    static void RegisterScheme();

private:
    const TDocumentFiles& files_;
    const TDocumentReach& reach_;
    QSize lastPictureSize_;
    int requests_ = 0;
    std::mutex mutex_;
    std::map<std::string, QByteArray> programDocuments_;  // by lower-cased path
};

}  // namespace vitrina
