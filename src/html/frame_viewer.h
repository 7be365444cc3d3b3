#pragma once
// TFrameViewer: the engine's viewer of a document or a frame set, with the history, visited
// links, default look and events the HTML pane relies on. History and visited links are kept
// here (the engine's own records cannot be bounded or indexed); the look is applied by settings
// and an injected style that documents' own styles override.
#include <QSize>
#include <QWebEngineView>

#include <functional>
#include <string>

#include "html/history_list.h"
#include "html/html_viewer.h"
#include "html/link_policy.h"
#include "resources/dynamic_arrays.h"

class QKeyEvent;
class QMouseEvent;
class QPageLayout;
class QPainter;

namespace vitrina {

class TDocEngine;
class TDocPage;

enum TFrameViewerOption : unsigned {
    fvNoBorder = 1,
    fvOverLinksActive = 2,
    fvNoLinkUnderline = 4,
};

class TFrameViewer : public QWebEngineView {
public:
    TFrameViewer(TDocEngine& engine, QWidget* parent = nullptr);
    ~TFrameViewer() override;

    // Loading. Paths are Windows paths (1251).
    void LoadFromFile(const std::string& file);
    void Reload();
    // The main document's file name; empty before the first load.
    std::string CurrentFile() const;
    bool Loading() const { return loading_; }

    // History, newest first; setting the index shows that entry.
    const THistoryList& History() const { return history_; }
    int HistoryIndex() const { return history_.Index(); }
    void SetHistoryIndex(int index);
    bool BackButtonEnabled() const { return history_.BackButtonEnabled(); }
    bool FwdButtonEnabled() const { return history_.FwdButtonEnabled(); }
    void GoBack() { SetHistoryIndex(history_.Index() + 1); }
    void GoFwd() { SetHistoryIndex(history_.Index() - 1); }
    int HistoryMaxCount() const { return history_.MaxCount(); }
    void SetHistoryMaxCount(int count) { history_.SetMaxCount(count); }

    // Visited links (full file names or links), recoloured in every frame.
    const TVisitedList& Visited() const { return visited_; }
    void AddVisitedLink(const std::string& link);
    void CheckVisitedLinks();
    int VisitedMaxCount() const { return visited_.MaxCount(); }
    void SetVisitedMaxCount(int count) { visited_.SetMaxCount(count); }

    // The default look. Colours are Windows colour values; sizes in points.
    std::string DefFontName() const { return defFontName_; }
    TColor DefFontColor() const { return defFontColor_; }
    int DefFontSize() const { return defFontSize_; }
    TColor DefHotSpotColor() const { return defHotSpotColor_; }
    TColor DefBackground() const { return defBackground_; }
    TColor DefOverLinkColor() const { return defOverLinkColor_; }
    TColor DefVisitedLinkColor() const { return defVisitedLinkColor_; }
    unsigned fvOptions() const { return options_; }
    void SetDefaults(const std::string& fontName, TColor fontColor, int fontSize, TColor hotSpotColor,
                     TColor background);
    void SetDefOverLinkColor(TColor color);
    void SetfvOptions(unsigned options);
    void SetViewImages(bool on);
    // The engine keeps no picture cache of its own here; kept for the callers that set it.
    void SetImageCacheCount(int count) { imageCacheCount_ = count; }
    int ImageCacheCount() const { return imageCacheCount_; }

    // Page viewers: of the main document, the active frame, a frame by name.
    THTMLViewer MainViewer() { return THTMLViewer(this, {}); }
    THTMLViewer ActiveViewer() { return THTMLViewer(this, QStringLiteral("*")); }
    THTMLViewer ViewerByName(const QString& name) { return THTMLViewer(this, name); }
    // The main document's vertical scroll-bar position in pixels.
    int VScrollBarPosition() const;
    void SetVScrollBarPosition(int y);
    // Whole page: select all and copy the selection.
    void SelectAll();
    void CopyToClipboard();

    // LastPictureSize of the engine.
    QSize LastPictureSize() const;

    // Events.
    std::function<void(TFrameViewer*, const std::string& target, const std::string& link,
                       const std::string& document)> OnHotSpotTargetCovered;
    std::function<void(TFrameViewer*, const std::string& target, const std::string& link, bool& handled)>
        OnHotSpotTargetClick;
    std::function<void(TFrameViewer*)> OnHistoryChange;
    // A document could not be loaded (missing or unreadable).
    std::function<void(TFrameViewer*)> OnLoadFailed;
    // True when the key was consumed.
    std::function<bool(TFrameViewer*, QKeyEvent*)> OnKeyDown;
    std::function<void(TFrameViewer*, QMouseEvent*)> OnMouseMove;
    std::function<void(TFrameViewer*, QMouseEvent*)> OnMouseDown;
    std::function<void(TFrameViewer*, QMouseEvent*)> OnMouseUp;
    // Printing draws each page's header through this (page number, page width).
    std::function<void(TFrameViewer*, QPainter&, int page, int pageWidth)> OnPrintHeader;

    // The print support of the preview: the document laid out on pages of that layout, as PDF
    // bytes (empty on failure).
    void PrintToPdf(const QPageLayout& layout, std::function<void(const QByteArray&)> done);

    TDocPage* Page() const { return page_; }
    // Asked while a link is decided: whether it is the link the reader pressed (see TLinkPolicy).
    // Each press lets that one link start one thing (a program, a window, the desktop, a copy), so
    // a page's timer or script click starts nothing.
    bool TakeReaderPermit();
    // Runs a call of the injected script in the main document (the script reaches frames).
    void RunScript(const QString& call, std::function<void(const QVariant&)> done);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyDefaults();
    QString ScriptConfig() const;
    void InstallScript();
    void ScriptMessage(const QString& message);
    bool LinkClicked(const QUrl& url, bool isMainFrame);
    void NewWindowLink(const QUrl& url);
    void LoadingChanged(const class QWebEngineLoadingInfo& info);

    TDocEngine& engine_;
    TDocPage* page_;
    QString marker_;
    THistoryList history_{10};
    TVisitedList visited_{20};
    TLinkPolicy policy_;
    // The link being decided, for the reader's permit.
    QUrl deciding_;
    int pendingHistoryIndex_ = -1;
    QUrl requested_;
    bool loading_ = false;
    // A page made in this turn of the event loop keeps the first of two loads asked of it at
    // once; its loads wait for the next turn, and only the last one asked is made.
    bool fresh_ = true;
    QUrl deferred_;
    std::string defFontName_ = "Arial";
    TColor defFontColor_ = 0;
    int defFontSize_ = 8;
    TColor defHotSpotColor_ = 0x3366;
    TColor defBackground_ = 0xFFFFFF;
    TColor defOverLinkColor_ = 255;
    TColor defVisitedLinkColor_ = 0x800080;
    unsigned options_ = 0;
    int imageCacheCount_ = 0;
    // The link under the pointer, for the target frame name of a click.
    QUrl hoveredUrl_;
    std::string hoveredTarget_;
    std::string hoveredDocument_;
};

// A frame viewer used only for printing a file: no history, no link underlines, pictures on.
class TPrintFrameViewer : public TFrameViewer {
public:
    explicit TPrintFrameViewer(TDocEngine& engine, QWidget* parent = nullptr);
};

}  // namespace vitrina
