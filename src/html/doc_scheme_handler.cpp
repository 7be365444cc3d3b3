#include "html/doc_scheme_handler.h"

#include <QIODevice>
#include <QImageReader>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <memory>

#include "html/doc_mime.h"
#include "html/doc_url.h"
#include "resources/compr_stream.h"
#include "resources/document_reach.h"

namespace vitrina {

TDocSchemeHandler::TDocSchemeHandler(const TDocumentFiles& files, const TDocumentReach& reach, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), files_(files), reach_(reach) {}

void TDocSchemeHandler::RegisterScheme() {
    if (QWebEngineUrlScheme::schemeByName(kDocScheme).name() == kDocScheme) return;
    QWebEngineUrlScheme scheme(kDocScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void TDocSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    ++requests_;
    const std::string path = DocPath(job->requestUrl());
    if (path.empty()) {
        job->fail(QWebEngineUrlRequestJob::UrlInvalid);
        return;
    }
    // Refused like a missing file: a page learns nothing of what lies outside its reach.
    if (!reach_.Allows(path)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    std::unique_ptr<QIODevice> device = files_.Open(path);
    if (!device) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The type and charset come from the head; a disk file is read no further here, the engine
    // streams the rest.
    const QByteArray head = device->peek(kContentHeadLength);
    if (IsPictureName(path)) {
        QImageReader reader(device.get());
        if (const QSize size = reader.size(); size.isValid()) lastPictureSize_ = size;
        device->seek(0);
    }
    const std::string type = ContentTypeFor(path, std::string_view(head.constData(), head.size()));
    // The engine reads the device after this function returns: it belongs to the job.
    device->setParent(job);
    job->reply(QByteArray::fromStdString(type), device.release());
}

}  // namespace vitrina
