#pragma once
// Where a page's navigation may go, and which link may start something outside the program.
// The engine itself loads only documents of the document scheme; a link of one of the program's
// own kinds (web, mail, "copy:", "rungame:" ...) goes to the pane, which carries it out; any other
// scheme, and any navigation that is not a link click (a form, a frame's source, a script's
// location) to another scheme, is refused here. A link starts something outside the program only
// when it is the link the reader's own press landed on (the element under the pointer, or the
// focused link for Enter), with the same URL, once.
#include <QElapsedTimer>
#include <QUrl>

namespace vitrina {

class TLinkPolicy {
public:
    enum class TRoute { Engine, Pane, Refused };
    static TRoute Route(const QUrl& url, bool linkClick);
    // What the engine may load itself: a document, or an empty frame.
    static bool EngineMayLoad(const QUrl& url);

    // Reader input ends what an earlier press permitted.
    void ReaderInput();
    // The page's script saw the reader's own click (or Enter) on this link; empty for a press on
    // anything else.
    void LinkPressed(const QUrl& url);
    // Whether url is the link the reader pressed; the permit is used up when it is.
    bool TakePermit(const QUrl& url);

private:
    QUrl pressed_;
    QElapsedTimer since_;
};

}  // namespace vitrina
