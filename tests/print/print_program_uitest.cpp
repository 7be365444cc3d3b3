// The program's print options: --print-pdf writes a document as the preview prints it, without a
// window; --screenshot shows the modal window a print command opens.
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPdfDocument>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/test_disc.h"
#include "support/printer_lock.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

TEST(PrintPdf, WritesTheDocumentWithItsPageHeaderOrSaysWhyNot) {
    if (!std::filesystem::exists(std::filesystem::path(VITRINA_SAMPLE_DISC) / "Vuv.dhl")) GTEST_SKIP() << "sample disc not built";
    test::TTempFolder folder;
    const struct {
        const char* document;
        int code;
        const char* says;     // on stderr
        const char* printed;  // in the PDF's first page
    } cases[] = {
        {"dv_obzor.htm", 0, "", "Двигатель: общие сведения"},
        {"d:\\dv_maslo.htm", 0, "", "Страница 1"},
        {"no_such_page.htm", 1, "cannot load no_such_page.htm", nullptr},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString out = QString::fromStdString((folder.Path() / ("out" + std::to_string(n++) + ".pdf")).string());
        QProcess p;
        p.setProcessEnvironment(test::ProgramEnvironment(folder.Path() / "home"));
        p.start(VITRINA_PROGRAM, {"--disc", VITRINA_SAMPLE_DISC, "--print-pdf", QString::fromUtf8(c.document), out});
        ASSERT_TRUE(p.waitForFinished(60000)) << c.document;
        EXPECT_EQ(p.exitCode(), c.code) << c.document;
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        if (*c.says) {
            EXPECT_TRUE(err.contains(QString::fromUtf8(c.says))) << err.toStdString();
            EXPECT_FALSE(QFile::exists(out));
            continue;
        }
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.document;
        QByteArray bytes = file.readAll();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QPdfDocument pdf;
        pdf.load(&buffer);
        ASSERT_GE(pdf.pageCount(), 1) << c.document;
        const QString text = pdf.getAllText(0).text();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.printed))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("Страница 1"))) << text.toStdString();
        // A4 in points.
        EXPECT_NEAR(pdf.pagePointSize(0).width(), 595, 1);
        EXPECT_NEAR(pdf.pagePointSize(0).height(), 842, 1);
    }
}

TEST(PrintPdf, AScreenshotShowsTheModalWindowAPrintCommandOpens) {
    if (!std::filesystem::exists(std::filesystem::path(VITRINA_SAMPLE_DISC) / "Vuv.dhl")) GTEST_SKIP() << "sample disc not built";
    const test::TPrinterLock printers(test::TPrinterLock::Shared);
    test::TTempFolder folder;
    // The document mode: the printer warning (without a printer) or the preview (with one) is
    // a modal window; the program must not wait in it.
    auto shoot = [&](const char* name, QStringList commands) {
        const QString out = QString::fromStdString((folder.Path() / name).string());
        QStringList args{"--disc", VITRINA_SAMPLE_DISC, "--screenshot", out, "--settle-ms", "300"};
        for (const QString& c : commands) args << "--command" << c;
        args << "dv_obzor.htm";
        QProcess p;
        p.setProcessEnvironment(test::ProgramEnvironment(folder.Path() / "home"));
        p.start(VITRINA_PROGRAM, args);
        EXPECT_TRUE(p.waitForFinished(60000)) << name;
        EXPECT_EQ(p.exitCode(), 0) << name;
        return QImage(out);
    };
    const QImage plain = shoot("plain.png", {});
    const QImage printing = shoot("printing.png", {"printhtml"});
    ASSERT_FALSE(plain.isNull());
    ASSERT_FALSE(printing.isNull());
    // The middle of the window is the modal window's, not the document's.
    int differ = 0, all = 0;
    const QRect middle(plain.width() / 3, plain.height() / 3, plain.width() / 3, plain.height() / 3);
    for (int y = middle.top(); y < middle.bottom(); y += 4)
        for (int x = middle.left(); x < middle.right(); x += 4, ++all)
            if (printing.valid(x, y) && plain.pixel(x, y) != printing.pixel(x, y)) ++differ;
    EXPECT_GT(differ, all / 4) << differ << " of " << all;
}

}  // namespace
}  // namespace vitrina
