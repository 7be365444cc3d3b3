#pragma once
// The print service: "printhtml", Ctrl+P and the pane's print requests open the preview for the
// shown document or for a file loaded into a viewer of its own.
#include <QSize>

#include <functional>
#include <memory>
#include <string>

#include "commands/print_commands.h"

class QWidget;

namespace vitrina {

class IDialogCommands;
class TDocEngine;
class TFrameViewer;
class TWindowDirectory;

struct TPrintServiceParts {
    TDocEngine& engine;
    QWidget* window;  // owner of the preview and parent of the print viewer
    // The shown document's preview (the pane's Print with no file).
    std::function<void()> printShown;
    // The skinned dialog for the printer warnings; null: message boxes.
    std::function<IDialogCommands*()> dialogs;
    TWindowDirectory* windows = nullptr;
    // F1 in the preview.
    std::function<void()> help;
};

class TPrintService : public IPrintCommands {
public:
    explicit TPrintService(TPrintServiceParts parts);

    // IPrintCommands.
    void PrintHtml() override;
    void PrintHtmlDialog() override;
    // The preview of the viewer's document, or of a file (viewer null) loaded for it. picture
    // fits a picture of pictureSize on one sheet.
    void PrintPreview(TFrameViewer* viewer, const std::string& file, bool picture, QSize pictureSize);

private:
    void Preview(TFrameViewer* viewer, bool picture, QSize pictureSize);
    void NotifyCompanion() const;

    TPrintServiceParts parts_;
    bool printAtOnce_ = false;
    // A preview is open or its file loads.
    bool open_ = false;
    // A load that ends after the service has gone is dropped.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// Makes the viewer that prints a file: hidden, pictures on, the page header; loaded hands it on
// once the file is there, or null when it could not be loaded (or was given up on after a
// while). Returns at once; a viewer whose parent goes first never calls back.
void LoadPrintViewer(TDocEngine& engine, QWidget* parent, const std::string& file,
                     std::function<void(std::unique_ptr<TFrameViewer> viewer)> loaded);

}  // namespace vitrina
