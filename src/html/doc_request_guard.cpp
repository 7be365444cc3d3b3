#include "html/doc_request_guard.h"

#include "html/doc_url.h"

namespace vitrina {

bool TDocRequestGuard::Allows(const QUrl& url) { return url.scheme() == QLatin1String(kDocScheme); }

void TDocRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (Allows(info.requestUrl())) return;
    refused_.fetchAndAddRelaxed(1);
    info.block(true);
}

}  // namespace vitrina
