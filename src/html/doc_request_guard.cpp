#include "html/doc_request_guard.h"

#include "html/doc_url.h"

namespace vitrina {

void TDocRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (info.requestUrl().scheme() != QLatin1String(kDocScheme)) info.block(true);
}

}  // namespace vitrina
