// The print service in the program: "printhtml" and Ctrl+P on the sample disc open the preview
// of the shown document, or say that there is no printer.
#include <QApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QTimer>

#include "app/sample_disc_fixture.h"
#include "commands/dialog_commands.h"
#include "dialogs/cool_dialog.h"
#include "print/preview_form.h"
#include "support/printer_lock.h"

namespace vitrina {
namespace {

// What a modal window opened by a command showed; each is closed once seen.
struct TSeenModals {
    QString pages;  // the preview's page panel
    bool printDialog = false;
};

void CloseModalsAsTheyOpen(TSeenModals& seen, QTimer& timer) {
    QObject::connect(&timer, &QTimer::timeout, [&seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = dynamic_cast<QPrintDialog*>(modal)) {
            seen.printDialog = true;
            dialog->reject();
        } else if (auto* preview = dynamic_cast<TPreviewForm*>(modal); preview && preview->isVisible()) {
            seen.pages = preview->StatusPanels[0]->text();
            preview->reject();
        }
    });
    timer.start(50);
}

TEST_F(SampleDiscTest, PrintCommandsPreviewTheShownDocumentOrSayThereIsNoPrinter) {
    const test::TPrinterLock printers(test::TPrinterLock::Shared);
    ClickButton("screen2=dv_obzor.htm");
    ASSERT_TRUE(WaitFor([&] { return Shows("dv_obzor.htm"); }));
    enum { kCommand, kKey, kFile };
    for (int way : {kCommand, kKey, kFile}) {
        TSeenModals seen;
        QTimer watch;
        CloseModalsAsTheyOpen(seen, watch);
        if (way == kKey) program->Dispatcher().KeyDown(Qt::Key_P, Qt::ControlModifier);
        else if (way == kCommand) program->Dispatcher().ExecuteCommand("printhtml", "", 1, 0, 0);
        // A "printhtml:" link or another copy's request: a file loaded for printing alone.
        else parts->Html()->Print(program->Session().ProgramFolder + "dv_maslo.htm");
        // The file loads first, the window waiting for nothing meanwhile.
        ASSERT_TRUE(WaitFor([&] { return !seen.pages.isEmpty() || program->Dialog()->isVisible(); })) << way;
        watch.stop();
        if (!seen.pages.isEmpty()) {
            // A printer: the preview of the one-sheet document; Ctrl+P goes on to the print dialog.
            EXPECT_EQ(seen.pages, QString::fromUtf8("Страница 1 из 1")) << way;
            EXPECT_EQ(seen.printDialog, way == kKey);
        } else {
            // None: the skinned dialog's printer warning, and no preview.
            ASSERT_NE(program->Dialog(), nullptr);
            EXPECT_TRUE(program->Dialog()->isVisible());
            EXPECT_TRUE(program->Dialog()->CurrentDialog() == kNoPrinterDialog ||
                        program->Dialog()->CurrentDialog() == kPrinterUnavailableDialog)
                << way << ": " << program->Dialog()->CurrentDialog();
            program->Dialog()->CloseDialogKey();
        }
    }
}

}  // namespace
}  // namespace vitrina
