#include "print/preview_form.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QWebEngineSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <filesystem>

#include <unistd.h>

#include "html/frame_viewer.h"
#include "html/html_fixture.h"
#include "print/go_page_form.h"
#include "print/meta_file_printer.h"
#include "print/page_formatter.h"
#include "print/page_number_header.h"
#include "print/preview_cursors.h"
#include "print/print_service.h"
#include "print/prn_status_form.h"
#include "platform/copy_data_channel.h"
#include "platform/window_directory.h"
#include "support/image_bytes.h"
#include "support/printer_lock.h"

namespace vitrina {
namespace {

using test::THtmlDisc;

std::string LongDocument() {
    std::string html = "<html><head><title>Long</title></head><body><h1>Конвейер</h1>";
    for (int i = 1; i <= 120; ++i)
        html += "<p>Абзац " + std::to_string(i) + ": лента конвейера проходит через привод и натяжной барабан.</p>";
    return test::W(html + "</body></html>");
}

// A picture three sheets tall.
std::string TallPicture() {
    QImage image(200, 3000, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    return test::ImageBytes(image, "PNG");
}

class PreviewForm : public ::testing::Test {
protected:
    PreviewForm()
        : disc_({{"long.htm", LongDocument()},
                 {"short.htm", test::W("<html><body><p>Короткий лист</p></body></html>")},
                 {"tall.png", TallPicture()}},
                {}) {}

    // A viewer holding the document, with the page header of the panes.
    std::unique_ptr<TFrameViewer> Viewer(const char* file) {
        auto viewer = std::make_unique<TFrameViewer>(disc_.Engine());
        viewer->resize(600, 400);
        viewer->OnPrintHeader = [](TFrameViewer*, QPainter& canvas, int page, int width) {
            PageNumberHeader(canvas, page, width);
        };
        QSignalSpy loaded(viewer.get(), &QWebEngineView::loadFinished);
        viewer->LoadFromFile(std::string("d:\\") + file);
        EXPECT_TRUE(loaded.wait(20000)) << file;
        return viewer;
    }

    static std::unique_ptr<TMetaFilePrinter> Sheet() {
        return std::make_unique<TMetaFilePrinter>(DefaultGeometry(TPageOrientation::Portrait));
    }

    // What the recorder prints, as Qt PDF reads it back: the text of each page.
    static QStringList PrintedText(TMetaFilePrinter& recorder) {
        QByteArray bytes;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setResolution(300);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF());
            EXPECT_TRUE(recorder.PrintPages(writer, QRectF(0, 0, writer.width(), writer.height()), 0,
                                            recorder.PageCount() - 1, {}));
        }
        return PdfText(bytes);
    }

    static QStringList PdfText(QByteArray bytes) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QPdfDocument pdf;
        pdf.load(&buffer);
        QStringList pages;
        for (int i = 0; i < pdf.pageCount(); ++i) pages << pdf.getAllText(i).text();
        return pages;
    }

    THtmlDisc disc_;
};

QString U(const char* text) { return QString::fromUtf8(text); }

TEST_F(PreviewForm, FormatsTheDocumentAndMovesBetweenPages) {
    auto viewer = Viewer("long.htm");
    bool failed = true;
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    const int count = form.Pages().Count();
    ASSERT_GE(count, 3);
    form.show();
    // The keys are the window's shortcuts.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.StatusPanels[0]->text(), U("Страница 1 из %1").arg(count));
    EXPECT_EQ(form.StatusPanels[2]->text(), U(" Масштаб печати: 100%"));
    EXPECT_FALSE(form.PrevPageBut->isEnabled());
    EXPECT_FALSE(form.FirstPageBut->isEnabled());
    EXPECT_TRUE(form.NextPageBut->isEnabled());
    EXPECT_TRUE(form.GoToPageBut->isEnabled());
    EXPECT_TRUE(form.FitPageBut->isChecked());

    QTest::mouseClick(form.NextPageBut, Qt::LeftButton);
    EXPECT_EQ(form.CurrentPage(), 1);
    EXPECT_EQ(form.StatusPanels[0]->text(), U("Страница 2 из %1").arg(count));
    QTest::keyClick(&form, Qt::Key_End);
    EXPECT_EQ(form.CurrentPage(), count - 1);
    EXPECT_FALSE(form.NextPageBut->isEnabled());
    EXPECT_FALSE(form.LastPageBut->isEnabled());
    QTest::keyClick(&form, Qt::Key_PageUp);
    EXPECT_EQ(form.CurrentPage(), count - 2);
    QTest::keyClick(&form, Qt::Key_Home);
    EXPECT_EQ(form.CurrentPage(), 0);

    // Two pages keep the zoom; a fit leaves two-page mode.
    const double zoom = form.ViewZoom;
    QTest::mouseClick(form.TwoPageBut, Qt::LeftButton);
    EXPECT_TRUE(form.Pages().TwoPages());
    EXPECT_TRUE(form.PagePanel2->isVisible());
    EXPECT_EQ(form.ZoomBox->currentIndex(), kZoomManual);
    EXPECT_DOUBLE_EQ(form.ViewZoom, zoom);
    EXPECT_FALSE(form.FitPageBut->isChecked());
    QTest::mouseClick(form.FitWidthBut, Qt::LeftButton);
    EXPECT_FALSE(form.Pages().TwoPages());
    EXPECT_FALSE(form.PagePanel2->isVisible());
    EXPECT_TRUE(form.FitWidthBut->isChecked());

    // Go to a page beyond the last: the last.
    QTimer::singleShot(0, [] {
        auto* go = dynamic_cast<TGoPageForm*>(QApplication::activeModalWidget());
        ASSERT_NE(go, nullptr);
        go->PageNum->setValue(99);
        go->accept();
    });
    QTest::mouseClick(form.GoToPageBut, Qt::LeftButton);
    EXPECT_EQ(form.CurrentPage(), count - 1);

    // The arrows scroll by 10 pixels where there is somewhere to scroll.
    form.ZoomBox->setCurrentIndex(11);  // 400%
    QScrollBar* across = form.ScrollBox->horizontalScrollBar();
    QScrollBar* down = form.ScrollBox->verticalScrollBar();
    ASSERT_TRUE(across->isVisible());
    // Back from the modal window: offscreen, the window has to be activated again.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Right);
    QTest::keyClick(&form, Qt::Key_Down);
    QTest::keyClick(&form, Qt::Key_Down);
    EXPECT_EQ(across->value(), 10);
    EXPECT_EQ(down->value(), 20);
    QTest::keyClick(&form, Qt::Key_Left);
    EXPECT_EQ(across->value(), 0);
}

TEST_F(PreviewForm, ZoomToolsChangeTheScaleAndFormatAgain) {
    auto viewer = Viewer("long.htm");
    bool failed = true;
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    form.show();
    const int pagesAtOne = form.Pages().Count();

    QTest::mouseClick(form.ZoomCursorPrintBut, Qt::LeftButton);
    form.PagePress(form.PB1, Qt::LeftButton, QPoint(10, 10));
    EXPECT_FLOAT_EQ(form.PrintScale, 1.1f);
    EXPECT_EQ(form.StatusPanels[2]->text(), U(" Масштаб печати: 110%"));
    EXPECT_GE(form.Pages().Count(), pagesAtOne);
    form.PagePress(form.PB1, Qt::RightButton, QPoint(10, 10));
    form.PagePress(form.PB1, Qt::RightButton, QPoint(10, 10));
    EXPECT_NEAR(form.PrintScale, 1.1f / 1.1f / 1.1f, 1e-6);
    EXPECT_LE(form.Pages().Count(), pagesAtOne);
    QTest::mouseClick(form.RestoreStartPrintZoomBut, Qt::LeftButton);
    EXPECT_EQ(form.PrintScale, form.StartPrintScale);
    EXPECT_EQ(form.Pages().Count(), pagesAtOne);

    QTest::mouseClick(form.ZoomCursorBut, Qt::LeftButton);
    const double zoom = form.ViewZoom;
    form.PagePress(form.PB1, Qt::LeftButton, QPoint(20, 20));
    EXPECT_DOUBLE_EQ(form.ViewZoom, zoom * 1.25);
    EXPECT_EQ(form.ZoomBox->currentIndex(), kZoomManual);
    EXPECT_EQ(form.PB1->width(), int(std::lround(form.ScreenDpi() * form.ViewZoom * 2479 / 300)));

    form.ZoomBox->setCurrentIndex(6);  // 100%
    EXPECT_DOUBLE_EQ(form.ViewZoom, 1.0);

    // The hand drags the sheet: the view follows the pointer back.
    form.ZoomBox->setCurrentIndex(11);  // 400%
    QTest::mouseClick(form.HandCursorBut, Qt::LeftButton);
    const QPoint at(200, 200);
    form.PagePress(form.PB1, Qt::LeftButton, at);
    EXPECT_EQ(form.PB1->cursor().pixmap().toImage(), PreviewCursor(TPreviewCursor::HandClosed).pixmap().toImage());
    form.PageMove(form.PB1, Qt::LeftButton, form.PB1->mapToGlobal(at) - QPoint(30, 40));
    EXPECT_EQ(form.ScrollBox->horizontalScrollBar()->value(), 30);
    EXPECT_EQ(form.ScrollBox->verticalScrollBar()->value(), 40);
    form.PageRelease(form.PB1);
    form.PageMove(form.PB1, Qt::NoButton, QPoint());
    EXPECT_EQ(form.ScrollBox->horizontalScrollBar()->value(), 30);
    EXPECT_EQ(form.PB1->cursor().pixmap().toImage(), PreviewCursor(TPreviewCursor::HandOpened).pixmap().toImage());
}

TEST_F(PreviewForm, ACancelledFormattingKeepsThePagesAndTheScale) {
    auto viewer = Viewer("long.htm");
    bool failed = true;
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    form.show();
    const int pages = form.Pages().Count();
    auto cancelProgress = [] {
        auto* status = dynamic_cast<TPrnStatusForm*>(QApplication::activeModalWidget());
        ASSERT_NE(status, nullptr);
        EXPECT_EQ(status->windowTitle(), U("Форматирование текста"));
        QTest::mouseClick(status->CancelBut, Qt::LeftButton);
    };
    // Straight on the progress window: it ends at once and says so.
    {
        TPrnStatusForm status;
        QTimer::singleShot(0, cancelProgress);
        EXPECT_FALSE(status.FormatWithProgress(viewer.get(), form.Recorder(), 2));
        EXPECT_TRUE(status.Cancelled());
        QTest::qWait(200);  // the engine's late answer changes nothing
    }
    EXPECT_EQ(form.Recorder().PageCount(), pages);
    // Through the print zoom tool: the scale goes back with the pages it was made at.
    QTest::mouseClick(form.ZoomCursorPrintBut, Qt::LeftButton);
    QTimer::singleShot(0, cancelProgress);
    form.PagePress(form.PB1, Qt::LeftButton, QPoint(10, 10));
    EXPECT_EQ(form.PrintScale, 1.0f);
    EXPECT_EQ(form.Pages().Count(), pages);
    EXPECT_EQ(form.StatusPanels[2]->text(), U(" Масштаб печати: 100%"));
}

// The print goes one page per turn of the event loop: the call returns at once with the window
// up, and Cancel, pressed between two turns, stops it after the page showing; the job ends with
// the pages printed so far.
TEST_F(PreviewForm, PrintingRunsPageByPageAndCancelStopsItBetweenPages) {
    auto viewer = Viewer("long.htm");
    bool failed = true;
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    const int pages = form.Recorder().PageCount();
    ASSERT_GE(pages, 3);
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "to the end");
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        auto writer = std::make_unique<QPdfWriter>(&buffer);
        writer->setResolution(150);
        writer->setPageSize(QPageSize(QPageSize::A4));
        writer->setPageMargins(QMarginsF());
        TPrnStatusForm status;
        int ended = 0, clickedAt = 0;
        bool result = !cancel;
        status.PrintWithProgress(form.Recorder(), *writer, QRectF(0, 0, writer->width(), writer->height()), 0,
                                 pages - 1, [&](bool ok) {
                                     ++ended;
                                     result = ok;
                                 });
        EXPECT_EQ(ended, 0);
        EXPECT_TRUE(status.isVisible());
        // One pass of the event loop at a time (a wait with a time limit would take all of them).
        QElapsedTimer clock;
        clock.start();
        while (ended == 0 && clock.elapsed() < 60000) {
            const QString shown = status.StatusLabel->text();
            if (cancel && !clickedAt && shown.startsWith(U("Номер страницы "))) {
                clickedAt = shown.mid(15).toInt();
                QTest::mouseClick(status.CancelBut, Qt::LeftButton);
            }
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(ended, 1);
        EXPECT_FALSE(status.isVisible());
        EXPECT_EQ(status.Cancelled(), cancel);
        EXPECT_EQ(result, !cancel);
        writer.reset();
        const QStringList printed = PdfText(bytes);
        if (cancel) {
            ASSERT_GT(clickedAt, 0);
            ASSERT_LT(clickedAt, pages);
            EXPECT_EQ(printed.size(), clickedAt);
        } else {
            ASSERT_EQ(printed.size(), pages);
            EXPECT_TRUE(printed.last().contains(U("Абзац 120"))) << printed.last().toStdString();
        }
    }
}

TEST_F(PreviewForm, OnePageDocumentCannotShowTwo) {
    auto viewer = Viewer("short.htm");
    bool failed = true;
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    form.show();
    EXPECT_EQ(form.Pages().Count(), 1);
    EXPECT_FALSE(form.TwoPageBut->isEnabled());
    EXPECT_FALSE(form.GoToPageBut->isEnabled());
    EXPECT_FALSE(form.NextPageBut->isEnabled());
    EXPECT_TRUE(form.OnePageBut->isChecked());
}

TEST_F(PreviewForm, PrintedPagesHoldTheTextAndThePageNumbersWhileTheyAreOn) {
    auto viewer = Viewer("long.htm");
    bool failed = true;
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    QStringList pages = PrintedText(form.Recorder());
    ASSERT_EQ(pages.size(), form.Pages().Count());
    EXPECT_TRUE(pages[0].contains(U("Конвейер"))) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains(U("Абзац 1:"))) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains(U("Страница 1"))) << pages[0].toStdString();
    EXPECT_TRUE(pages[1].contains(U("Страница 2"))) << pages[1].toStdString();
    EXPECT_TRUE(pages.last().contains(U("Абзац 120"))) << pages.last().toStdString();

    form.PageNumbersOff->trigger();
    pages = PrintedText(form.Recorder());
    ASSERT_FALSE(pages.isEmpty());
    EXPECT_FALSE(pages[0].contains(U("Страница"))) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains(U("Конвейер")));

    // Backgrounds are printed until the item is cleared.
    EXPECT_TRUE(viewer->settings()->testAttribute(QWebEngineSettings::PrintElementBackgrounds));
    form.PrintBackground->trigger();
    EXPECT_FALSE(viewer->settings()->testAttribute(QWebEngineSettings::PrintElementBackgrounds));
}

TEST_F(PreviewForm, LandscapeSheetsAreWiderAndTakeFewerLines) {
    auto viewer = Viewer("long.htm");
    bool failed = true;
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    form.show();
    const int portraitPages = form.Pages().Count();
    const int portraitWidth = form.PB1->width();
    QTest::mouseClick(form.PageOrientationBut, Qt::LeftButton);
    EXPECT_TRUE(form.PageOrientationBut->isChecked());
    EXPECT_EQ(form.Recorder().PageOrientation(), TPageOrientation::Landscape);
    EXPECT_GT(form.Pages().Count(), portraitPages);
    form.ZoomBox->setCurrentIndex(6);
    EXPECT_GT(form.PB1->width(), portraitWidth);
}

TEST_F(PreviewForm, APictureIsFittedToOneSheet) {
    auto viewer = Viewer("tall.png");
    bool failed = true;
    TPreviewForm form(nullptr, 3000, 200, true, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    EXPECT_EQ(form.Pages().Count(), 1);
    EXPECT_EQ(form.Recorder().PageOrientation(), TPageOrientation::Portrait);
    EXPECT_NEAR(form.StartPrintScale, ContentArea(DefaultGeometry(TPageOrientation::Portrait), 1).height / 3000, 1e-6);
    EXPECT_EQ(form.PrintScale, form.StartPrintScale);
}

TEST_F(PreviewForm, APicturePrintLongerThanASheetIsShrunkUntilItTakesOne) {
    // Another program may ask for any file to be printed as a picture: three sheets of text.
    auto viewer = Viewer("long.htm");
    bool failed = true;
    TPreviewForm form(nullptr, 1000, 200, true, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    EXPECT_EQ(form.Pages().Count(), 1);
    EXPECT_LT(form.StartPrintScale, 0.6f);
    EXPECT_GT(form.StartPrintScale, 0.05f);
    EXPECT_EQ(form.PrintScale, form.StartPrintScale);
    // One step less small would not have fitted.
    TMetaFilePrinter larger(DefaultGeometry(TPageOrientation::Portrait));
    ASSERT_TRUE(FormatPagesNow(viewer.get(), larger, form.StartPrintScale + 0.005f));
    EXPECT_GE(larger.PageCount(), 2);
}

TEST_F(PreviewForm, WithoutAPrinterPrintingSaysSoAndF1AsksForHelp) {
    auto viewer = Viewer("short.htm");
    bool failed = true;
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), Sheet(), failed);
    ASSERT_FALSE(failed);
    int unavailable = 0, help = 0;
    form.OnPrinterUnavailable = [&] { ++unavailable; };
    form.OnHelp = [&] { ++help; };
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(unavailable, 1);
    QTest::mouseClick(form.PrintBut, Qt::LeftButton);
    EXPECT_EQ(unavailable, 2);
    QTest::keyClick(&form, Qt::Key_F1);
    EXPECT_EQ(help, 1);
}

TEST_F(PreviewForm, NoPrinterInstalledWarnsAndThePreviewDoesNotOpen) {
    const test::TPrinterLock printers(test::TPrinterLock::Shared);
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has printers";
    auto viewer = Viewer("short.htm");
    int noPrinters = 0, unavailable = 0;
    auto recorder = std::make_unique<TMetaFilePrinter>(
        TMetaFilePrinter::TWarnings{[&] { ++noPrinters; }, [&] { ++unavailable; }});
    EXPECT_EQ(noPrinters, 1);
    EXPECT_EQ(unavailable, 0);
    EXPECT_FALSE(recorder->RefreshDevice());
    EXPECT_EQ(recorder->Geometry(), DefaultGeometry(TPageOrientation::Portrait));
    bool failed = false;
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), std::move(recorder), failed);
    EXPECT_TRUE(failed);
}

TEST_F(PreviewForm, OpeningThePreviewTellsTheDiagramViewer) {
    auto viewer = Viewer("short.htm");
    test::TTempFolder runtime;
    TWindowDirectory windows(runtime.Path());
    windows.Publish({{0, "Zirorudovure", true}});
    std::vector<std::pair<std::string, std::string>> requests;
    windows.OnRequest = [&](const std::string& title, const std::string& request) { requests.push_back({title, request}); };
    TPrintService service(TPrintServiceParts{disc_.Engine(), nullptr, {}, {}, &windows, {}});
    // Whatever opens (the preview, or the warning that there is no printer) is closed at once.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) modal->close();
    });
    closer.start(50);
    service.PrintPreview(viewer.get(), {}, false, {});
    closer.stop();
    for (int i = 0; i < 100 && requests.empty(); ++i) QTest::qWait(20);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].first, "Zirorudovure");
    EXPECT_EQ(requests[0].second, "1690 " + std::to_string(TCopyDataChannel::OwnHandle()) + " 0");
}

TEST_F(PreviewForm, OnePreviewAtATimeFromTheRequestOnAndAgainAfterAFailure) {
    const test::TPrinterLock printers(test::TPrinterLock::Shared);
    // Each preview, or the warning that there is no printer, is counted and closed as it opens.
    int opened = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            ++opened;
            modal->close();
        }
    });
    closer.start(20);
    {
        TPrintService service(TPrintServiceParts{disc_.Engine(), nullptr, {}, {}, nullptr, {}});
        // A second request (a link, another copy) while the first one's file still loads.
        QTimer::singleShot(0, [&] { service.PrintPreview(nullptr, "d:\\short.htm", false, {}); });
        service.PrintPreview(nullptr, "d:\\long.htm", false, {});
        ASSERT_TRUE(QTest::qWaitFor([&] { return opened > 0 && !QApplication::activeModalWidget(); }, 30000));
        EXPECT_EQ(opened, 1);
    }
    // A failure inside the preview leaves the next request free to open one.
    auto viewer = Viewer("short.htm");
    TPrintService failing(
        TPrintServiceParts{disc_.Engine(), nullptr, {}, []() -> IDialogCommands* { throw std::runtime_error("no dialog"); },
                           nullptr, {}});
    bool threw = false;
    try {
        failing.PrintPreview(viewer.get(), {}, false, {});
    } catch (const std::runtime_error&) {
        threw = true;
    }
    if (!threw) GTEST_SKIP() << "a printer here: the warning that fails is not shown";
    EXPECT_THROW(failing.PrintPreview(viewer.get(), {}, false, {}), std::runtime_error);
}

// A real print through a CUPS PDF queue this test sets up (root and the CUPS packages needed).
TEST_F(PreviewForm, PrintsThroughACupsPdfPrinter) {
    if (::geteuid() != 0) GTEST_SKIP() << "setting up a CUPS queue needs root";
    const test::TPrinterLock printers(test::TPrinterLock::Alone);
    const QString script = QStringLiteral(VITRINA_SCRIPTS "/test-printer.sh");
    test::TTempFolder out;
    // Whatever the set-up got to, it is taken down.
    auto stop = qScopeGuard([&] { QProcess::execute("/bin/sh", {script, "stop", "VitrinaTest"}); });
    QProcess setup;
    setup.start("/bin/sh", {script, "start", "VitrinaTest", QString::fromStdString(out.Path().string())});
    if (!setup.waitForFinished(30000) || setup.exitCode() != 0 || !setup.readAllStandardOutput().contains("ready"))
        GTEST_SKIP() << "no CUPS PDF printer here: " << setup.readAllStandardError().toStdString();
    ASSERT_EQ(QPrinterInfo::defaultPrinterName(), "VitrinaTest");

    auto viewer = Viewer("long.htm");
    bool failed = true;
    int warnings = 0;
    TMetaFilePrinter::TWarnings warn{[&] { ++warnings; }, [&] { ++warnings; }};
    TPreviewForm form(nullptr, 0, 0, false, viewer.get(), std::make_unique<TMetaFilePrinter>(warn), failed);
    ASSERT_FALSE(failed);
    EXPECT_EQ(warnings, 0);
    ASSERT_NE(form.Recorder().Printer(), nullptr);
    bool unavailable = false;
    form.OnPrinterUnavailable = [&] { unavailable = true; };
    // Pages 1 to 2 of the dialog.
    QTimer::singleShot(0, [&form] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        form.Recorder().Printer()->setPrintRange(QPrinter::PageRange);
        form.Recorder().Printer()->setFromTo(1, 2);
        dialog->done(QDialog::Accepted);
    });
    form.PrintDocument();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.findChild<TPrnStatusForm*>(); }, 60000));
    EXPECT_FALSE(unavailable);
    // Printing leaves the printer reporting its printable area, for the sheets read later.
    EXPECT_FALSE(form.Recorder().Printer()->fullPage());

    // The queue's PDF once the backend has written it to its end mark.
    std::filesystem::path printedFile;
    QByteArray printed;
    const bool written = QTest::qWaitFor(
        [&] {
            for (const auto& e : std::filesystem::directory_iterator(out.Path())) {
                if (e.path().extension() != ".pdf") continue;
                QFile file(QString::fromStdString(e.path().string()));
                if (file.open(QIODevice::ReadOnly)) printed = file.readAll();
                printedFile = e.path();
                if (printed.trimmed().endsWith("%%EOF")) return true;
            }
            return false;
        },
        30000);
    ASSERT_TRUE(written) << "no PDF from the queue";
    const QStringList pages = PdfText(printed);
    // The queue turns the job into PostScript and back (Ghostscript), which loses the character
    // codes of some glyphs (digits, colons) and writes the header in a font Qt PDF does not read:
    // the words are checked with Qt PDF, the header with poppler's reader, and the page numbers
    // themselves by the test of the printed sheets above.
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(U("Конвейер"))) << pages[0].toStdString();
    EXPECT_TRUE(pages[1].contains(U("барабан"))) << pages[1].toStdString();
    for (int page = 1; page <= 2; ++page) {
        QProcess reader;
        reader.start("pdftotext", {"-f", QString::number(page), "-l", QString::number(page),
                                   QString::fromStdString(printedFile.string()), "-"});
        if (!reader.waitForFinished(20000)) GTEST_SKIP() << "no pdftotext (poppler-utils) to read the header";
        const QString text = QString::fromUtf8(reader.readAllStandardOutput());
        EXPECT_EQ(text.count(U("Страница")), 1) << page << ": " << text.left(200).toStdString();
    }
}

}  // namespace
}  // namespace vitrina
