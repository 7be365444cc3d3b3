#pragma once
// THtmlFrame: every HTML area of every screen. One engine viewer per screen that has areas;
// the viewer of the current screen is shown; documents, links, the link status, picture hints,
// visit groups live here; copying and the font values are done by the small classes it holds.
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "html/frame_viewer.h"
#include "panes/html_file_copier.h"
#include "panes/html_font_values.h"
#include "panes/html_frame_host.h"
#include "panes/visit_groups.h"
#include "resources/screen_model.h"

namespace vitrina {

class IArchivePages;
class IPlayerCommands;
class ISearchCommands;
class ISetupCommands;
class TDocEngine;
class TDocumentFiles;
class TDriveMap;
class TRegistry;

struct THtmlFrameServices {
    TDocEngine& engine;
    const TDocumentFiles& files;
    const TDriveMap& drives;
    TRegistry& registry;
    std::string title;            // the settings key's program subkey
    QWidget* window;              // the main window: parent of the viewers
    QWidget* documentPanel;       // the background panel of screen index 1, or null
    THtmlFrameHost& host;
    // The parts the pane hands work to; null while they do not exist.
    IArchivePages* archive = nullptr;
    IPlayerCommands* player = nullptr;
    ISetupCommands* setup = nullptr;
    IHtmlPrinting* printing = nullptr;
    IHtmlFonts* fonts = nullptr;
    ISearchCommands* search = nullptr;
};

class THtmlFrame : public QObject {
public:
    // CreateHtmlPane: null when there is no HTML area.
    static std::unique_ptr<THtmlFrame> CreateHtmlPane(const TDynamicHtmlArray& areas, const THtmlFrameServices& services);
    THtmlFrame(const TDynamicHtmlArray& areas, const THtmlFrameServices& services);
    // Writes the font values of the current viewer.
    ~THtmlFrame() override;

    void ShowScreenViewer();
    TFrameViewer* ActiveFrameViewer() const;
    // The find pane comes after the HTML pane: Enter in a document reaches it from then on.
    void SetSearch(ISearchCommands* search) { services_.search = search; }
    void OpenInArea(int number, const std::string& document);
    void RememberVisit(const std::string& document);
    void OpenDocument(const std::string& document);
    void GoToHistory(int index);
    void Back(const TDynamicSwthOneArray& switches, const TDynamicSwthGrpArray& groups);
    void Forward(const TDynamicSwthOneArray& switches, const TDynamicSwthGrpArray& groups);
    bool IsArchivePage() const;
    void SetArchivePage(bool on);
    void ScrollToTop();
    void SelectAll();
    void CopyDocument();
    void CopyListEntry(const std::string& name);
    void ChooseFonts();
    void Print(const std::string& file);
    void FitStandardWindow(QWidget* window);
    void RestoreAreaBounds();

    // Engine event handlers.
    void ShowLinkStatus(TFrameViewer* sender, const std::string& target, const std::string& link,
                        const std::string& document);
    void FollowLink(TFrameViewer* sender, const std::string& target, const std::string& link, bool& handled);
    void DocumentChanged(TFrameViewer* sender);
    void HintTimerTick();
    // The page header of printed documents: "Страница N" right-aligned at (page width - 50, 40).
    static void PrintHeader(TFrameViewer* sender, QPainter& canvas, int page, int pageWidth);

    // Fields, named as the system names them.
    std::vector<QPointer<TFrameViewer>> Viewers;
    TDynamicIntegerArray ViewerScreens;
    int CurrentViewer = -1;
    int CurrentArea = -1;
    std::vector<bool> ArchiveMarks;
    std::string FontName;
    TColor FontColor = 0;
    int FontSize = 8;
    TColor HotSpotColor = 0x3366;
    TColor Background = 0xFFFFFF;
    std::vector<QRect> AreaRects;
    TDynamicIntegerArray AreaNumbers;
    TDynamicIntegerArray AreaScreens;
    int PreviousScreen = -1;
    QTimer HintTimer;
    QString HintImage;
    int HintTicks = 0;
    QLabel* HintWindow = nullptr;
    std::vector<TVisitGroups> VisitGroups;
    TDynamicStringArray AreaDocuments;
    bool PrintPicture = false;
    int PrintWidth = 0;
    int PrintHeight = 0;
    // The folder last chosen for a ZIP file.
    std::filesystem::path ZipFolder;

    bool HintShown() const { return hintShown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int ViewerOfScreen(int screen) const;
    // The viewer of Viewers[index], made when first needed: making the first one starts the web
    // engine, which a screen without an HTML area need not wait for.
    TFrameViewer* ViewerAt(int index);
    int IndexOf(TFrameViewer* viewer) const;
    void PlaceViewer(TFrameViewer* viewer, int area);
    // False when the document is already on view (nothing to load).
    bool LoadOrGo(TFrameViewer* viewer, const std::string& document);
    void Navigate(bool back, const TDynamicSwthOneArray& switches, const TDynamicSwthGrpArray& groups);
    void Carry(const struct TLinkDecision& decision, TFrameViewer* sender);
    void CopyIntoPathBox(const std::string& source);
    void StopHint();
    void PointerMoved(TFrameViewer* viewer, QPoint point);
    bool KeyDown(TFrameViewer* viewer, class QKeyEvent* event);
    void MouseDown(TFrameViewer* viewer, class QMouseEvent* event);
    void ReadFontValues();
    void WriteFontValues();

    THtmlFrameServices services_;
    THtmlFileCopier copier_{services_.drives};
    bool hintShown_ = false;
    QPoint lastPointer_;
    QPointer<TFrameViewer> lastPointerViewer_;
    // The viewer that fills the document panel (client alignment), if any.
    QPointer<TFrameViewer> panelFiller_;
    struct TPendingSync {
        QPointer<TFrameViewer> viewer;
        std::string before;
        TDynamicSwthOneArray switches;
        TDynamicSwthGrpArray groups;
    };
    std::optional<TPendingSync> pendingSync_;
};

}  // namespace vitrina
