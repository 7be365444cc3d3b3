#include "html/html_viewer.h"

#include <QJsonDocument>
#include <QVariant>

#include "html/doc_url.h"
#include "html/frame_viewer.h"

namespace vitrina {
namespace {

QString Quoted(const QString& text) {
    // A JSON string is a valid script string literal.
    return QString::fromUtf8(QJsonDocument::fromVariant(QVariantList{text}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

}  // namespace

void THTMLViewer::Run(const QString& call, std::function<void(const QVariant&)> done) const {
    owner_->RunScript(call, std::move(done));
}

void THTMLViewer::DocumentTitle(std::function<void(QString)> done) const {
    Run(QStringLiteral("__vitrina.title(%1)").arg(Quoted(frame_)), [done](const QVariant& v) { done(v.toString()); });
}

void THTMLViewer::CurrentFile(std::function<void(std::string)> done) const {
    Run(QStringLiteral("__vitrina.url(%1)").arg(Quoted(frame_)),
        [done](const QVariant& v) { done(DocPath(QUrl(v.toString()))); });
}

void THTMLViewer::Position(std::function<void(int)> done) const {
    Run(QStringLiteral("__vitrina.position(%1)").arg(Quoted(frame_)), [done](const QVariant& v) { done(v.toInt()); });
}

void THTMLViewer::SetPosition(int y) const {
    Run(QStringLiteral("__vitrina.setPosition(%1, %2)").arg(Quoted(frame_)).arg(y), nullptr);
}

void THTMLViewer::ObjectAt(QPoint point, std::function<void(TObjectInfo)> done) const {
    Run(QStringLiteral("__vitrina.objectAt(%1, %2)").arg(point.x()).arg(point.y()), [done](const QVariant& v) {
        const QVariantMap m = v.toMap();
        TObjectInfo info;
        info.any = m.value("any").toBool();
        info.picture = m.value("picture").toBool();
        info.alt = m.value("alt").toString();
        info.id = m.value("id").toString();
        info.src = m.value("src").toString();
        done(info);
    });
}

void THTMLViewer::FormControls(std::function<void(std::vector<TFormControl>)> done) const {
    Run(QStringLiteral("__vitrina.forms(%1)").arg(Quoted(frame_)), [done](const QVariant& v) {
        std::vector<TFormControl> controls;
        for (const QVariant& item : v.toList()) {
            const QVariantMap m = item.toMap();
            TFormControl c;
            c.name = m.value("name").toString();
            c.dropDownList = m.value("list").toBool();
            c.items = m.value("items").toStringList();
            c.selected = m.value("selected").toInt();
            controls.push_back(c);
        }
        done(controls);
    });
}

void THTMLViewer::FindNext(const QString& text, bool matchCase, std::function<void(bool)> done) const {
    Run(QStringLiteral("__vitrina.find(%1, %2, %3)").arg(Quoted(frame_), Quoted(text), matchCase ? "true" : "false"),
        [done](const QVariant& v) {
            if (done) done(v.toBool());
        });
}

void THTMLViewer::ResetSelection() const {
    Run(QStringLiteral("__vitrina.resetSelection(%1)").arg(Quoted(frame_)), nullptr);
}

void THTMLViewer::SelectAll() const { Run(QStringLiteral("__vitrina.selectAll(%1)").arg(Quoted(frame_)), nullptr); }

void THTMLViewer::SelectionText(std::function<void(QString)> done) const {
    Run(QStringLiteral("__vitrina.selection(%1)").arg(Quoted(frame_)), [done](const QVariant& v) { done(v.toString()); });
}

void THTMLViewer::CopyToClipboard() const {
    // The engine copies the selection of the frame that has the focus.
    owner_->CopyToClipboard();
}

}  // namespace vitrina
