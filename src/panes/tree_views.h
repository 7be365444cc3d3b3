#pragma once
// The contents trees of the document screen: a tree of chapters beside the HTML pane that
// follows the shown document, steps through chapters and opens the chosen item's document.
#include <QRect>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/tree_commands.h"
#include "panes/contents_tree_model.h"

namespace vitrina {

class TReadBin;

// What the trees need from the window and the HTML pane.
class TTreeHost {
public:
    virtual ~TTreeHost() = default;
    virtual int CurrentScreen() const = 0;
    virtual const std::string& ProgramFolder() const = 0;
    // The HTML pane's current document (a Windows path), empty when none.
    virtual std::string CurrentDocument() const = 0;
    // A link resolved against the current document.
    virtual std::string ResolveDocument(const std::string& link) const = 0;
    virtual bool ViewerVisible() const = 0;
    virtual void OpenDocument(const std::string& document) = 0;
    virtual void OpenInHtmlArea(int number, const std::string& document) = 0;
    virtual void HidePopups() = 0;
    // Pointer over a tree: the skin's hover marks go.
    virtual void ClearSkinHover() = 0;
    // Hints of the buttons whose command is "nextchapter" / "prevchapter".
    virtual void SetChapterHints(const std::string& next, const std::string& previous) = 0;
    // The current viewer's rectangle in the background panel, and setting it.
    virtual QRect ViewerRect() const = 0;
    virtual void SetViewerRect(const QRect& rect) = 0;
    virtual void SetViewerShown(bool shown) = 0;
    virtual void ReloadViewer() = 0;
};

class TTreeViews : public QTreeWidget {
public:
    // CreateContentsTree: the items of a tree description, in the background panel.
    TTreeViews(QWidget* panel, QWidget* splitter, TContentsTreeModel model, TTreeHost& host);

    std::string SelectedDocument;
    bool HiddenByOfftree = false;
    bool Inactive = false;
    std::string PendingDocument;

    void SyncWithScreen();
    void OpenSelected(bool fromWidget = false);
    bool FindByCaption(const std::string& text);
    void SetOfftree(bool putAway, QRect& savedViewerRect);
    void FollowDocument(const std::string& name);
    void NextChapter();
    void PrevChapter();
    void UpdateChapterHints();

    const TContentsTreeModel& Model() const { return model_; }
    int FocusedIndex() const;
    void FocusIndex(int index);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // A label cut at the tree's edge shows its full text as a tooltip.
    bool viewportEvent(QEvent* event) override;

private:
    void StepTo(int index);

    QWidget* panel_;
    QWidget* splitter_;
    TContentsTreeModel model_;
    TTreeHost& host_;
    std::vector<QTreeWidgetItem*> lineItems_;
    bool selecting_ = false;  // the program moves the selection: no document is opened by it
};

// The first tree (from "tree1.cfs", always) and the second (from "tree2.cfs", when the container
// holds it), with the rules that pick the shown one.
class TContentsTrees : public ITreeCommands {
public:
    TContentsTrees(const TReadBin& container, QWidget* panel, QWidget* splitter, TTreeHost& host);

    // ITreeCommands.
    void SetPendingDocument(const std::string& document) override;
    // "tree1" (true) brings up the second tree and puts away the first; "tree2" the other way round.
    void SwitchTree(bool tree1) override { Switch(tree1); }
    void ShowTrees(bool show) override;
    void NextChapter() override;
    void PrevChapter() override;
    bool SecondTreeExists() const override { return second_ != nullptr; }
    bool AnyTreeVisible() const override { return AnyVisible(); }

    TTreeViews* First() const { return first_.get(); }
    TTreeViews* Second() const { return second_.get(); }
    // The first tree when visible, else the second when visible, else the first, else the second.
    TTreeViews* Shown() const;
    bool AnyVisible() const;

    void SyncWithScreen();
    // "tree1" brings up the second tree and puts away the first; "tree2" the other way round.
    void Switch(bool bringUpSecond);
    void Offtree();
    void Ontree();

private:
    QWidget* panel_;
    QWidget* splitter_;
    TTreeHost& host_;
    std::unique_ptr<TTreeViews> first_;
    std::unique_ptr<TTreeViews> second_;
    QRect savedViewerRect_;
};

}  // namespace vitrina
