#pragma once
// The find pane: one edit field per find area of the description, and the three searches run on
// a field's text — in the shown document (and on through the other documents), through the
// keyword index with a scan of the documents when the index has nothing, and in the contents
// tree. The fields live on the find dialog, or on the main window of the thesaurus window.
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "search/dialog_find_pane.h"
#include "search/background_scan.h"
#include "search/make_find.h"

class QLineEdit;
class QWidget;

namespace vitrina {

class TDiscSession;

// What the find pane asks of the window around it.
class IFindPaneHost {
public:
    virtual ~IFindPaneHost() = default;
    // The HTML pane's current document; empty when it shows none.
    virtual std::string CurrentDocument() const = 0;
    // Finds text in the current viewer's frame named frame (the focused frame when empty), from
    // the frame's top when fromTop; done(found). False, and done not run, without a viewer.
    virtual bool FindInViewer(const std::string& frame, const QString& text, bool matchCase, bool fromTop,
                              std::function<void(bool)> done) = 0;
    // Shows the current viewer with document in it (its history entry when it has one; with
    // followTree the contents tree marks it too); done runs once the document is there, or
    // could not be loaded.
    virtual void BringDocument(const std::string& document, bool followTree, std::function<void()> done) = 0;
    // The shown contents tree's caption search: true when it found and opened an item.
    virtual bool FindInContents(const std::string& text) = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    virtual void ClearStatus() = 0;
    // The skin controls' hover marks go when the pointer moves over a field.
    virtual void ClearSkinHover() = 0;
    // A message of the keyword index (a missing index file).
    virtual void ShowIndexMessage(const std::string& text) = 0;
};

class TFindTxtHtml : public QObject, public IDialogFindPane {
public:
    // dialog: the find dialog, null when there is none. fieldParent: the main window in the
    // thesaurus window; null elsewhere, where the fields wait for the find dialog.
    TFindTxtHtml(TDiscSession& session, IFindPaneHost& host, IFindDialog* dialog, QWidget* fieldParent);
    ~TFindTxtHtml() override;

    // IDialogFindPane.
    void HostFields(QWidget* dialog, bool findDialog) override;
    void DialogClosed() override;
    bool Searching() const override { return !idle_; }
    void SetIdle(bool idle) override;
    void FindNext(int number) override;
    void SetScope(TScope scope) override;
    const TFindResultLists& Results() const override { return results_; }
    void OpenResult(int index) override;

    // "findtxtall" (true) and "findtxtlimit" (false) of the main window: whether a text search
    // goes on into the other documents. Either way the next find is a text search.
    void SetAllDocuments(bool all);
    // After a screen switch: the current screen's fields are shown, the previous screen's hidden.
    void ShowScreenFields();
    // Hides or shows the current screen's fields.
    void HideFields(bool hide);
    // Enter pressed in a document reaches the visible fields as if typed there.
    void EnterInFields();

    bool IsIdle() const { return idle_; }
    bool AllDocuments() const { return allDocuments_; }
    bool IndexMode() const { return indexMode_; }
    bool ContentsMode() const { return contentsMode_; }
    std::ptrdiff_t ScanPosition() const { return scanPosition_; }
    const std::string& StartDocument() const { return startDocument_; }
    // The field of find area number; null when there is none.
    QLineEdit* Field(int number) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TArea {
        // The dialog that hosts a field may go first.
        QPointer<QLineEdit> field;
        std::string frame;
        TDynamicStringArray exclusions;
        int number = 0;
        int screen = 0;
        // The documents a scan goes through: rebuilt by each text search's scan, built once and
        // kept by the index search.
        TDynamicStringArray documents;
    };

    int AreaOf(int number) const;
    // Enter in the first field: a find with it.
    void FindWithFirstField();
    void TextChanged();
    void TextSearch(TArea& area, const std::string& text);
    void FindInPage(TArea& area, const std::string& text);
    void ScanOtherDocuments(TArea& area, const std::string& text);
    void IndexSearch(TArea& area, const std::string& text);
    // The index search's results go to the dialog (none: the status line says so); idle again.
    void ShowIndexResults();
    void ContentsSearch(const std::string& text);
    void ShowFieldsOf(int screen, bool shown);

    TDiscSession& session_;
    IFindPaneHost& host_;
    IFindDialog* dialog_;
    std::vector<TArea> areas_;
    // Where the fields are: the find dialog when it shows them.
    bool hosted_ = false;
    int previousScreen_ = -1;
    std::ptrdiff_t scanPosition_ = -1;
    std::string startDocument_;
    bool allDocuments_ = false;
    bool indexMode_ = false;
    bool contentsMode_ = false;
    bool headwordTried_ = false;
    bool idle_ = false;
    TFindResultLists results_;
    TIndexFileCache indexCache_;
    // Last, so that a running scan ends before what it reports to goes.
    TBackgroundScan scan_;
};

}  // namespace vitrina
