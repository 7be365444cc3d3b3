#include "html/frame_viewer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPageLayout>
#include <QRandomGenerator>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include <cmath>
#include <utility>

#include "html/doc_engine.h"
#include "html/doc_page.h"
#include "html/doc_url.h"
#include "imaging/windows_color.h"
#include "platform/cp1251.h"

namespace vitrina {
namespace {

const char kScriptName[] = "vitrina-viewer";

// The viewer's script (viewer_script.js, compiled in): a function expression of the
// configuration and the marker. Read once.
const QString& ViewerScript() {
    static const QString source = [] {
        QFile file(QStringLiteral(":/html/viewer_script.js"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    return source;
}

// A JSON string is a valid script string literal.
QString ScriptString(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

QString CssColor(TColor color) {
    return QStringLiteral("#%1%2%3")
        .arg(color & 0xFF, 2, 16, QChar('0'))
        .arg((color >> 8) & 0xFF, 2, 16, QChar('0'))
        .arg((color >> 16) & 0xFF, 2, 16, QChar('0'));
}

// The form the injected script compares links in: decoded URL text, lower case.
QString VisitedKey(const std::string& link) {
    const QUrl url = DocUrl(link);
    const QString text = url.isValid() ? QUrl::fromPercentEncoding(url.toEncoded()) : QString::fromUtf8(Cp1251ToUtf8(link));
    return text.toLower();
}

}  // namespace

TFrameViewer::TFrameViewer(TDocEngine& engine, QWidget* parent)
    : QWebEngineView(parent), engine_(engine), page_(new TDocPage(engine.Profile(), this)) {
    marker_ = QStringLiteral("\x01vitrina:%1:").arg(QRandomGenerator::global()->generate64(), 0, 36);
    page_->ScriptMarker = marker_;
    page_->OnLinkClicked = [this](const QUrl& url, bool main) { return LinkClicked(url, main); };
    page_->OnNewWindowLink = [this](const QUrl& url) { NewWindowLink(url); };
    page_->OnScriptMessage = [this](const QString& m) { ScriptMessage(m); };
    setPage(page_);
    setContextMenuPolicy(Qt::NoContextMenu);
    QWebEngineSettings* s = page_->settings();
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    // Pages open windows only in answer to the reader's click or key (the engine's popup rule).
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    // The engine's own handling of schemes it does not know stays as it is: turned off, it drops
    // the program's own link kinds ("copy:", "rungame:") before the page sees them. The page refuses
    // every such navigation it does not carry out itself (TLinkPolicy), so none reaches that handling.
    connect(page_, &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo& info) { LoadingChanged(info); });
    connect(page_, &QWebEnginePage::titleChanged, this, [this](const QString& title) {
        if (SameText1251(DocPath(page_->url()), history_.Files().empty() ? "" : history_.Files()[history_.Index()]))
            history_.SetTitle(Utf8ToCp1251(title.toUtf8().toStdString()));
    });
    ApplyDefaults();
    QTimer::singleShot(0, this, [this] {
        fresh_ = false;
        if (deferred_.isValid()) page_->load(std::exchange(deferred_, QUrl()));
    });
}

TFrameViewer::~TFrameViewer() {
    // The page must go before the profile it was made on.
    setPage(nullptr);
    delete page_;
}

void TFrameViewer::LoadFromFile(const std::string& file) {
    const QUrl url = DocUrl(file);
    if (!url.isValid()) {
        if (OnLoadFailed) OnLoadFailed(this);
        return;
    }
    pendingHistoryIndex_ = -1;
    requested_ = url;
    loading_ = true;
    if (fresh_) deferred_ = url;
    else page_->load(url);
}

void TFrameViewer::Reload() {
    if (page_->url().isValid()) {
        requested_ = page_->url();
        pendingHistoryIndex_ = history_.Index();
        loading_ = true;
        page_->triggerAction(QWebEnginePage::Reload);
    }
}

std::string TFrameViewer::CurrentFile() const { return DocPath(page_->url()); }

void TFrameViewer::SetHistoryIndex(int index) {
    if (index < 0 || index >= history_.Count()) return;
    if (index == history_.Index() && SameText1251(CurrentFile(), history_.Files()[index]) && !loading_) return;
    pendingHistoryIndex_ = index;
    requested_ = DocUrl(history_.Files()[index]);
    loading_ = true;
    page_->load(requested_);
}

void TFrameViewer::LoadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        loading_ = true;
        // A load the engine started itself (a followed link) is a new visit.
        if (info.url().adjusted(QUrl::RemoveFragment) != requested_.adjusted(QUrl::RemoveFragment)) {
            pendingHistoryIndex_ = -1;
            requested_ = info.url();
        }
        return;
    }
    if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus) return;
    loading_ = false;
    if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus) {
        pendingHistoryIndex_ = -1;
        if (OnLoadFailed) OnLoadFailed(this);
        return;
    }
    const std::string file = DocPath(info.url());
    const std::string title = Utf8ToCp1251(page_->title().toUtf8().toStdString());
    if (pendingHistoryIndex_ >= 0 && pendingHistoryIndex_ < history_.Count()) {
        history_.SetIndex(pendingHistoryIndex_);
        history_.SetTitle(title);
    } else if (!file.empty()) {
        history_.Visit(file, title);
    }
    pendingHistoryIndex_ = -1;
    if (OnHistoryChange) OnHistoryChange(this);
}

void TFrameViewer::AddVisitedLink(const std::string& link) {
    if (visited_.Add(link)) InstallScript();
}

void TFrameViewer::CheckVisitedLinks() {
    RunScript(QStringLiteral("__vitrina.applyAll(%1)").arg(ScriptConfig()), nullptr);
}

void TFrameViewer::SetDefaults(const std::string& fontName, TColor fontColor, int fontSize, TColor hotSpotColor,
                               TColor background) {
    defFontName_ = fontName;
    defFontColor_ = fontColor;
    defFontSize_ = fontSize;
    defHotSpotColor_ = hotSpotColor;
    defBackground_ = background;
    ApplyDefaults();
}

void TFrameViewer::SetDefOverLinkColor(TColor color) {
    defOverLinkColor_ = color;
    ApplyDefaults();
}

void TFrameViewer::SetfvOptions(unsigned options) {
    options_ = options;
    ApplyDefaults();
}

void TFrameViewer::SetViewImages(bool on) { page_->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, on); }

void TFrameViewer::ApplyDefaults() {
    QWebEngineSettings* s = page_->settings();
    const QString family = QString::fromUtf8(Cp1251ToUtf8(defFontName_));
    s->setFontFamily(QWebEngineSettings::StandardFont, family);
    s->setFontFamily(QWebEngineSettings::SansSerifFont, family);
    // Points at 96 dots per inch, as the documents were made for.
    s->setFontSize(QWebEngineSettings::DefaultFontSize, std::max(1, static_cast<int>(std::lround(defFontSize_ * 96.0 / 72.0))));
    page_->setBackgroundColor(ToQColor(defBackground_));
    InstallScript();
    CheckVisitedLinks();
}

QString TFrameViewer::ScriptConfig() const {
    QJsonArray visited;
    for (const auto& link : visited_.Links()) visited.append(VisitedKey(link));
    QJsonObject c{{"text", CssColor(defFontColor_)},
                  {"link", CssColor(defHotSpotColor_)},
                  {"visited", CssColor(defVisitedLinkColor_)},
                  {"over", CssColor(defOverLinkColor_)},
                  {"background", CssColor(defBackground_)},
                  {"overActive", (options_ & fvOverLinksActive) != 0},
                  {"noUnderline", (options_ & fvNoLinkUnderline) != 0},
                  {"visitedUrls", visited}};
    return QString::fromUtf8(QJsonDocument(c).toJson(QJsonDocument::Compact));
}

void TFrameViewer::InstallScript() {
    QWebEngineScriptCollection& scripts = page_->scripts();
    for (const auto& old : scripts.find(kScriptName)) scripts.remove(old);
    const QString source = ViewerScript() + QStringLiteral("(%1, %2);").arg(ScriptConfig(), ScriptString(marker_));
    QWebEngineScript script;
    script.setName(kScriptName);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    scripts.insert(script);
}

void TFrameViewer::RunScript(const QString& call, std::function<void(const QVariant&)> done) {
    const QString guarded = QStringLiteral("(window.__vitrina ? (%1) : undefined)").arg(call);
    if (done)
        page_->runJavaScript(guarded, QWebEngineScript::MainWorld, [done](const QVariant& v) { done(v); });
    else
        page_->runJavaScript(guarded, QWebEngineScript::MainWorld);
}

int TFrameViewer::VScrollBarPosition() const { return static_cast<int>(std::lround(page_->scrollPosition().y())); }

void TFrameViewer::SetVScrollBarPosition(int y) { MainViewer().SetPosition(y); }

void TFrameViewer::SelectAll() { page_->triggerAction(QWebEnginePage::SelectAll); }

void TFrameViewer::CopyToClipboard() { page_->triggerAction(QWebEnginePage::Copy); }

void TFrameViewer::PrintToPdf(const QPageLayout& layout, std::function<void(const QByteArray&)> done) {
    page_->printToPdf([done](const QByteArray& pdf) { done(pdf); }, layout);
}

TPrintFrameViewer::TPrintFrameViewer(TDocEngine& engine, QWidget* parent) : TFrameViewer(engine, parent) {
    SetHistoryMaxCount(0);
    SetImageCacheCount(0);
    SetfvOptions(fvNoLinkUnderline);
    SetViewImages(true);
}

QSize TFrameViewer::LastPictureSize() const { return engine_.LastPictureSize(); }

void TFrameViewer::ScriptMessage(const QString& message) {
    const QJsonObject o = QJsonDocument::fromJson(message.toUtf8()).object();
    if (o.value("e").toString() == QLatin1String("press")) {
        policy_.LinkPressed(QUrl(o.value("u").toString()));
        return;
    }
    if (o.value("e").toString() != QLatin1String("over")) return;
    hoveredUrl_ = QUrl(o.value("u").toString());
    hoveredTarget_ = Utf8ToCp1251(o.value("t").toString().toUtf8().toStdString());
    hoveredDocument_ = DocPath(QUrl(o.value("d").toString()));
    if (OnHotSpotTargetCovered)
        OnHotSpotTargetCovered(this, hoveredTarget_, Utf8ToCp1251(o.value("h").toString().toUtf8().toStdString()),
                               hoveredDocument_);
}

bool TFrameViewer::LinkClicked(const QUrl& url, bool isMainFrame) {
    const bool hovered = hoveredUrl_.isValid() && url == hoveredUrl_;
    const std::string target = hovered ? hoveredTarget_ : std::string();
    const QUrl document = hovered && !hoveredDocument_.empty() ? DocUrl(hoveredDocument_) : page_->url();
    bool handled = false;
    deciding_ = url;
    if (OnHotSpotTargetClick) OnHotSpotTargetClick(this, target, LinkText(url, document), handled);
    deciding_.clear();
    if (handled || TLinkPolicy::EngineMayLoad(url)) return !handled;
    // A document named by a path ("d:\...", "file:") rather than by our scheme: shown as ours.
    const std::string file = LinkText(url, document);
    if (isMainFrame && DocUrl(file).isValid()) QTimer::singleShot(0, this, [this, file] { LoadFromFile(file); });
    return false;
}

void TFrameViewer::NewWindowLink(const QUrl& url) {
    bool handled = false;
    deciding_ = url;
    if (OnHotSpotTargetClick) OnHotSpotTargetClick(this, "_blank", LinkText(url, page_->url()), handled);
    deciding_.clear();
    if (!handled && !DocPath(url).empty()) LoadFromFile(DocPath(url));
}

bool TFrameViewer::TakeReaderPermit() { return policy_.TakePermit(deciding_); }

bool TFrameViewer::event(QEvent* e) {
    // The engine paints into a child widget it makes itself; its input is watched there.
    if (e->type() == QEvent::ChildAdded || e->type() == QEvent::ChildPolished) {
        if (QWidget* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(e)->child())) {
            child->removeEventFilter(this);
            child->installEventFilter(this);
        }
    }
    return QWebEngineView::event(e);
}

bool TFrameViewer::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress:
        policy_.ReaderInput();
        if (OnKeyDown && OnKeyDown(this, static_cast<QKeyEvent*>(e))) return true;
        break;
    case QEvent::MouseMove:
        if (OnMouseMove) OnMouseMove(this, static_cast<QMouseEvent*>(e));
        break;
    case QEvent::MouseButtonPress:
        policy_.ReaderInput();
        if (OnMouseDown) OnMouseDown(this, static_cast<QMouseEvent*>(e));
        break;
    case QEvent::MouseButtonRelease:
        policy_.ReaderInput();
        if (OnMouseUp) OnMouseUp(this, static_cast<QMouseEvent*>(e));
        break;
    default:
        break;
    }
    return QWebEngineView::eventFilter(watched, e);
}

}  // namespace vitrina
