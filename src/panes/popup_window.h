#pragma once
// Skinned popup windows: the history lists, the favorites, the HTML context menu and numbered
// context menus. Borderless, top-most, never activated, not in the task bar; items are drawn
// from up, hover and down pictures with captions drawn by the program.
#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/popup_commands.h"
#include "panes/history_items.h"
#include "panes/html_favorite.h"
#include "resources/screen_model.h"

namespace vitrina {

class TReadBin;
class TRegistry;

// What item commands do outside the popups.
// The document a favorite is made of.
struct TFavoriteVisit {
    std::string caption;
    std::string file;
    int position = 0;
};

struct TPopupActions {
    std::function<void(int)> history;                           // "history=" N
    std::function<void(const std::string&)> openHtml;           // "html=" document
    std::function<void(const std::string&, int)> openHtmlPos;   // "htmlpos=" document "=" position
    std::function<void()> copySelection;                        // "copyclipboardhtml"
    std::function<void()> addToFavorite;                        // "addtofavorite"
    std::function<void()> fontDialog;                           // "deffonthtml"
    std::function<void()> selectAll;                            // "selectallhtml"
    std::function<void()> printPreview;                         // "printhtml"
    std::function<void(const std::string&)> command;            // everything else: the dispatcher
    std::function<bool(TFavoriteVisit&)> currentVisit;          // the shown document, for "addtofavorite"
};

struct TItemsBtn {
    std::string caption;
    std::string command;
    std::string upName, mvName, dnName;
    QImage up, mv, dn;
    std::string hint;
    std::string upText, mvText;  // the caption as drawn at rest and under the pointer (hover, press)
    bool visible = false;
    bool placed = false;
    bool hovered = false;
    bool pressed = false;
    int left = 0, top = 0;
    int Width() const { return up.width(); }
    int Height() const { return up.height(); }
};

class TPopupWindow : public QWidget {
public:
    TPopupWindow(const RPopupData& data, int index, const TReadBin& container, const std::string& programFolder,
                 std::function<void(TPopupWindow&, int item)> onItem);

    int Kind() const { return data_.type; }
    int Index() const { return index_; }
    bool DeleteMode = false;

    void SetItemCount(int count);
    void AddItem(const std::string& caption, const std::string& command);
    void SetItem(const std::string& caption, const std::string& command, int index);
    void SetItemVisible(bool visible, int index);
    void RemoveItem(int index);
    bool HasVisibleItem() const;
    const std::vector<TItemsBtn>& Items() const { return items_; }

    // Shows the window at a screen point; onScreenZero builds the polygon shape.
    void ShowAt(QPoint position, QPoint pointer, int currentScreen);
    void HidePopup();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void LoadItemImages(TItemsBtn& item, int position);
    void SetCaption(TItemsBtn& item, const std::string& caption);
    void Layout();
    int ItemAt(QPoint point) const;

    RPopupData data_;
    int index_;
    const TReadBin& container_;
    std::string programFolder_;
    std::function<void(TPopupWindow&, int)> onItem_;
    QImage picture_;     // as loaded
    QImage background_;  // stretched or cut to the window
    std::vector<TItemsBtn> items_;
    bool hasShape_ = false;
    int slideOffset_ = 0;
    qint64 lastShowEnd_ = -1000000;
};

class TControlPopupWindow : public IPopupCommands {
public:
    // The favorites exist when any screen describes a favorites popup; they are loaded now and
    // saved when the owner goes.
    TControlPopupWindow(const TScreenModel& model, const TReadBin& container, TRegistry& registry,
                        std::string settingsKey, TPopupActions actions,
                        std::function<QPoint(QPoint)> clientToScreen);
    ~TControlPopupWindow() override;

    // IPopupCommands.
    void OpenPopup(int type, int x, int y) override { ShowPopup(type, QPoint(x, y)); }
    void ClosePopups() override { HideAllPopups(); }
    void AddToFavorites() override;

    // Rebuilds the windows for a screen; a screen without popups keeps the ones that exist.
    void BuildForScreen(int screen);
    // kind -4 is the favorites in delete mode.
    void ShowPopup(int kind, QPoint screenPoint);
    void HideAllPopups();
    bool AnyShown() const;

    void SetItemCount(int count, int kind);
    void AddItem(const std::string& caption, const std::string& command, int kind);
    void SetItem(const std::string& caption, const std::string& command, int index, int kind);
    void SetItemVisible(bool visible, int kind, int index);

    // The history popups after a document change.
    void RefreshHistory(const TDynamicStringArray& titles, int index);
    // AddFavorite's list and popup part; false when there are no favorites or the caption is taken.
    bool AddFavorite(const std::string& caption, const std::string& file, int position);
    THtmlFavorite* Favorites() const { return favorites_.get(); }
    TPopupWindow* Popup(int kind) const;

private:
    void FillFavorites();
    void RunItemCommand(TPopupWindow& popup, int item);

    const TScreenModel& model_;
    const TReadBin& container_;
    TRegistry& registry_;
    std::string settingsKey_;
    TPopupActions actions_;
    std::function<QPoint(QPoint)> clientToScreen_;
    int currentScreen_ = 0;
    int builtScreen_ = -1;  // the screen whose records the windows were made from
    std::vector<std::unique_ptr<TPopupWindow>> windows_;
    std::unique_ptr<THtmlFavorite> favorites_;
};

}  // namespace vitrina
