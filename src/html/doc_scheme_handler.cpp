#include "html/doc_scheme_handler.h"

#include <QBuffer>
#include <QImageReader>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include "html/doc_mime.h"
#include "html/doc_url.h"
#include "resources/compr_stream.h"

namespace vitrina {

TDocSchemeHandler::TDocSchemeHandler(const TDocumentFiles& files, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), files_(files) {}

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
    std::string bytes;
    try {
        bytes = TComprStream(files_, path).Bytes();
    } catch (const EFileOpenError&) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (IsPictureName(path)) {
        QBuffer probe(&data);
        QImageReader reader(&probe);
        if (const QSize size = reader.size(); size.isValid()) lastPictureSize_ = size;
    }
    // The buffer belongs to the job: the engine reads it after this function returns.
    auto* buffer = new QBuffer(job);
    buffer->setData(data);
    job->reply(QByteArray::fromStdString(ContentTypeFor(path, bytes)), buffer);
}

}  // namespace vitrina
