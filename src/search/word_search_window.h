#pragma once
// The search by word forms: a plain window beside the skinned one. It answers as the reader
// types, ranked, with the words found marked; the chosen page opens in the main window's HTML
// pane. The disc's word index is built on a worker the first time, with its progress shown.
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "search/word_index.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QThread;

namespace vitrina {

class IFindPaneHost;
class TDocumentFiles;

class TWordSearchWindow : public QWidget {
public:
    static constexpr std::size_t kShownHits = 50;

    TWordSearchWindow(const TDocumentFiles& files, const std::filesystem::path& cacheRoot, IFindPaneHost& host);
    ~TWordSearchWindow() override;

    // Shows the window in front with the field ready, and starts the index when it has none.
    void ShowInFront();
    bool IndexReady() const { return index_.IsOpen(); }
    QLineEdit* Field() const { return field_; }
    QListWidget* List() const { return list_; }
    QLabel* Status() const { return status_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void StartIndex();
    void Progress(std::size_t done, std::size_t total);
    void IndexDone(int source, std::shared_ptr<TWordIndex> index);
    void Search();
    void OpenChosen();

    const TDocumentFiles& files_;
    std::filesystem::path cacheRoot_;
    IFindPaneHost& host_;
    QLineEdit* field_;
    QLabel* status_;
    QListWidget* list_;
    TWordIndex index_;
    std::vector<TWordHit> hits_;
    QThread* worker_ = nullptr;
    std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace vitrina
