#pragma once
// THTMLViewer: the page viewer of one frame of a TFrameViewer (the main document, the active
// frame, or a frame by its name). The engine runs in another process, so every answer comes
// back through a callback.
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vitrina {

class TFrameViewer;

// The object at a client point.
struct TObjectInfo {
    bool any = false;      // some element is there
    bool picture = false;  // it is a picture (<img>, image input)
    QString alt;           // the picture's alternative text
    QString id;            // the same picture gives the same id while its document lives
    QString src;
};

struct TFormControl {
    QString name;
    bool dropDownList = false;  // a <select> showing one item
    QStringList items;
    int selected = -1;
};

class THTMLViewer {
public:
    // frame: "" the main document, "*" the active frame, anything else a frame's name.
    THTMLViewer(TFrameViewer* owner, QString frame) : owner_(owner), frame_(std::move(frame)) {}

    TFrameViewer* Owner() const { return owner_; }
    const QString& Frame() const { return frame_; }

    void DocumentTitle(std::function<void(QString)> done) const;
    // The frame's document, as a Windows path (1251).
    void CurrentFile(std::function<void(std::string)> done) const;
    // The vertical scroll position in pixels, 0 at the top.
    void Position(std::function<void(int)> done) const;
    // Clamped to the document by the engine.
    void SetPosition(int y) const;
    // The object at a point of the viewer's client area (frames included).
    void ObjectAt(QPoint point, std::function<void(TObjectInfo)> done) const;
    void FormControls(std::function<void(std::vector<TFormControl>)> done) const;
    // The next occurrence of text after the current selection; selects it and scrolls to it.
    void FindNext(const QString& text, bool matchCase, std::function<void(bool)> done) const;
    void ResetSelection() const;
    void SelectAll() const;
    void SelectionText(std::function<void(QString)> done) const;
    void CopyToClipboard() const;

private:
    void Run(const QString& call, std::function<void(const QVariant&)> done) const;

    TFrameViewer* owner_;
    QString frame_;
};

}  // namespace vitrina
