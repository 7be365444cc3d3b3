#include "html/doc_scheme_handler.h"

#include <QBuffer>
#include <QIODevice>
#include <QImageReader>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <memory>

#include "html/doc_mime.h"
#include "html/doc_url.h"
#include "platform/cp1251.h"
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

void TDocSchemeHandler::SetProgramDocument(const std::string& windowsPath, const QByteArray& bytes) {
    const std::lock_guard lock(mutex_);
    if (bytes.isEmpty()) programDocuments_.erase(LowerCase1251(windowsPath));
    else programDocuments_[LowerCase1251(windowsPath)] = bytes;
}

void TDocSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    ++requests_;
    const std::string path = DocPath(job->requestUrl());
    if (path.empty()) {
        job->fail(QWebEngineUrlRequestJob::UrlInvalid);
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        if (auto own = programDocuments_.find(LowerCase1251(path)); own != programDocuments_.end()) {
            auto* buffer = new QBuffer(job);
            buffer->setData(own->second);
            buffer->open(QIODevice::ReadOnly);
            const std::size_t headLength = std::min<std::size_t>(own->second.size(), kContentHeadLength);
            const std::string_view head(own->second.constData(), headLength);
            job->reply(QByteArray::fromStdString(ContentTypeFor(path, head)), buffer);
            return;
        }
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
