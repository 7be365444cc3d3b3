// The find dialog on the sample disc: its three kinds of search, the result list, the scan on
// through the other documents, and the keys that stop and close it.
#include "search/find_pane.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "app/sample_disc_fixture.h"
#include "commands/dispatcher.h"
#include "dialogs/cool_dialog.h"
#include "html/html_viewer.h"
#include "platform/window_directory.h"
#include "screen/status_line.h"
#include "session/busy.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

class FindPaneTest : public SampleDiscTest {
protected:
    void SetUp() override {
        SampleDiscTest::SetUp();
        if (IsSkipped()) return;
        ClickButton("screen2=dv_obzor.htm");
        ASSERT_TRUE(WaitFor([&] { return Shows("dv_obzor.htm"); }));
        ASSERT_TRUE(program->Dialog());
        pane = parts->FindPane();
        ASSERT_TRUE(pane);
    }
    TCoolDialog& Dialog() const { return *program->Dialog(); }
    void OpenFindDialog() {
        program->ExecuteCommand("findnext1");
        ASSERT_TRUE(Dialog().isVisible());
        ASSERT_EQ(Dialog().CurrentDialog(), kFindDialog);
        ASSERT_TRUE(pane->Field(1) && pane->Field(1)->isVisible());
    }
    // Types text into the first field and runs a find as the dialog's button does.
    void Find(const char* text) {
        pane->Field(1)->setText(QString::fromUtf8(text));
        Dialog().RunDialogCommand("findnext1", "no");
        ASSERT_TRUE(WaitFor([&] { return pane->IsIdle(); }));
    }
    std::string Status() const { return Cp1251ToUtf8(form->StatusLine()->Text()); }

    TFindTxtHtml* pane = nullptr;
};

TEST_F(FindPaneTest, TheIndexListsTitlesAndAChosenTitleOpensWithTheWordSelected) {
    OpenFindDialog();
    Dialog().RunDialogCommand("findtxtall", "");
    ASSERT_TRUE(pane->IndexMode());
    // No results yet: the dialog shows only its upper part.
    EXPECT_FALSE(Dialog().ResultsList());
    EXPECT_EQ(Dialog().height(), 115);

    Find("свечи");
    QListWidget* list = Dialog().ResultsList();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(Dialog().height(), Dialog().FullHeight());
    const QList<QListWidgetItem*> chosen = list->findItems(QString::fromUtf8("Свечи зажигания"), Qt::MatchExactly);
    ASSERT_EQ(chosen.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(chosen[0]).center());
    ASSERT_TRUE(WaitFor([&] { return Shows("dv_svechi.htm") && pane->IsIdle(); }));
    EXPECT_EQ(FocusedDocument(), "dv_svechi.htm") << "the tree follows the chosen result";
    EXPECT_EQ(Selection(), QString::fromUtf8("свечи"));
    EXPECT_TRUE(pane->IndexMode()) << "the list's text search leaves the index kind chosen";

    // Not a keyword: the documents are scanned, and only those with a title are listed.
    Find("рабочим объёмом");
    ASSERT_TRUE(Dialog().ResultsList());
    ASSERT_EQ(pane->Results().titles.size(), 1u);
    EXPECT_EQ(Cp1251ToUtf8(pane->Results().titles[0]), "Двигатель: общие сведения");

    // Nowhere: the list goes and the status line says so.
    Find("карбюратор");
    EXPECT_FALSE(Dialog().ResultsList());
    EXPECT_EQ(Dialog().height(), 115);
    EXPECT_EQ(Status(), "Текст не найден");
}

TEST_F(FindPaneTest, TheTextSearchStaysInTheDocumentNormalisesItsTextAndSaysWhatIsMissing) {
    OpenFindDialog();
    ASSERT_FALSE(pane->IndexMode());
    ASSERT_FALSE(pane->AllDocuments());
    Find("  двигатель   карбюратор ");
    EXPECT_EQ(pane->Field(1)->text(), QString::fromUtf8("двигатель карбюратор")) << "trimmed, one space between words";
    EXPECT_EQ(Status(), "Текст не найден");
    EXPECT_TRUE(Shows("dv_obzor.htm"));

    Find("двигатель");
    EXPECT_EQ(Selection(), QString::fromUtf8("двигатель"));
    EXPECT_EQ(Status(), "");
    // Past the last occurrence the find starts over at the top.
    for (int i = 0; i < 6; ++i) {
        Find("двигатель");
        EXPECT_EQ(Selection(), QString::fromUtf8("двигатель")) << i;
        EXPECT_TRUE(Shows("dv_obzor.htm"));
    }
    Find("");
    EXPECT_EQ(Status(), "Введите слово для поиска");
}

TEST_F(FindPaneTest, AcrossAllDocumentsTheFindGoesOnIntoTheNextDocumentWithTheWord) {
    OpenFindDialog();
    program->ExecuteCommand("findtxtall");
    ASSERT_TRUE(pane->AllDocuments());
    ASSERT_FALSE(pane->IndexMode());
    std::vector<std::string> visited;
    for (int i = 0; i < 3; ++i) {
        Find("генератор");
        ASSERT_TRUE(WaitFor([&] { return !Viewer()->Loading(); }));
        EXPECT_EQ(Selection(), QString::fromUtf8("генератор")) << i;
        EXPECT_GE(pane->ScanPosition(), 0);
        visited.push_back(LowerCase1251(Viewer()->CurrentFile()));
    }
    EXPECT_FALSE(Shows("dv_obzor.htm"));
    // A document with the word twice is found twice before the find moves on; it does move on.
    EXPECT_GE(std::set<std::string>(visited.begin(), visited.end()).size(), 2u);
    // Another text starts the documents over.
    pane->Field(1)->setText(QString::fromUtf8("стартер"));
    EXPECT_EQ(pane->ScanPosition(), -1);
}

TEST_F(FindPaneTest, TheContentsSearchOpensTheItemWhoseCaptionHoldsTheText) {
    OpenFindDialog();
    Dialog().RunDialogCommand("findtxtcontents", "");
    ASSERT_TRUE(pane->ContentsMode());
    Find("Генератор");
    ASSERT_TRUE(WaitFor([&] { return Shows("el_generator.htm"); }));
    EXPECT_EQ(FocusedDocument(), "el_generator.htm");
    Find("карбюратор");
    EXPECT_EQ(Status(), "Текст не найден");
}

TEST_F(FindPaneTest, EscStopsASearchFirstAndThenClosesAndAScreenChangeCloses) {
    OpenFindDialog();
    // Before any find has ended the pane counts as searching: the first Esc only stops it.
    ASSERT_FALSE(pane->IsIdle());
    QTest::keyClick(&Dialog(), Qt::Key_Escape);
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_TRUE(pane->IsIdle());
    QTest::keyClick(pane->Field(1), Qt::Key_Escape);
    EXPECT_FALSE(Dialog().isVisible());

    OpenFindDialog();
    program->ExecuteCommand("1");
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_TRUE(pane->IsIdle());
}

TEST_F(FindPaneTest, EnterInTheFieldFinds) {
    OpenFindDialog();
    pane->Field(1)->setText(QString::fromUtf8("масло"));
    QTest::keyClick(pane->Field(1), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return pane->IsIdle(); }));
    EXPECT_EQ(Selection(), QString::fromUtf8("масло"));
}

TEST_F(FindPaneTest, ExitWithTheFindDialogOpenClosesTheDialogAndEndsTheProgram) {
    OpenFindDialog();
    bool terminated = false;
    form->OnTerminate = [&] { terminated = true; };
    // The dialog shows the program's title, as the main window does; both are published.
    const auto titled = [&] {
        int n = 0;
        for (const TWindowEntry& w : program->WindowDirectory()->Windows())
            n += w.visible && SameText1251(w.title, program->Session().Title);
        return n;
    };
    ASSERT_TRUE(WaitFor([&] { return titled() >= 2; }));
    program->ExecuteCommand("exit");
    EXPECT_TRUE(WaitFor([&] { return terminated; }));
    EXPECT_FALSE(Dialog().isVisible());
}

// The sample disc with a thousand more documents on disk, none with the words looked for:
// a find across all documents scans long enough for the reader to click meanwhile.
class LongScanTest : public FindPaneTest {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(disc / "Vuv.dhl")) GTEST_SKIP() << "sample disc not built";
        std::filesystem::copy(disc, copy.Path(), std::filesystem::copy_options::recursive);
        const std::string page = "<html><body><p>" + std::string(2000, 'x') + "</p></body></html>";
        for (int i = 0; i < 1000; ++i) copy.Write("more/d" + std::to_string(i) + ".htm", page);
        disc = copy.Path();
        FindPaneTest::SetUp();
        if (IsSkipped()) return;
        OpenFindDialog();
        program->ExecuteCommand("findtxtall");
        ASSERT_TRUE(pane->AllDocuments());
    }
    // Runs click once, as soon as a scan keeps the program busy (and has reached document from).
    void WhileScanning(std::function<void()> click, std::ptrdiff_t from = -1) {
        clicker.setInterval(0);
        QObject::connect(&clicker, &QTimer::timeout, [this, click, from] {
            if (!IsBusy() || pane->ScanPosition() < from) return;
            clicker.stop();
            clicked = true;
            click();
        });
        clicker.start();
    }

    test::TTempFolder copy;
    QTimer clicker;
    bool clicked = false;
};

TEST_F(LongScanTest, SwitchingTheKindOfSearchDuringAScanLetsItEndInTheDocumentWithTheWord) {
    // "По индексу" and then "В тексте", which forget the documents the scan was given.
    WhileScanning([&] {
        Dialog().RunDialogCommand("findtxtall", "");
        Dialog().RunDialogCommand("findtxtlimit", "");
    });
    Find("генератор");
    EXPECT_TRUE(clicked);
    ASSERT_TRUE(WaitFor([&] { return !Viewer()->Loading(); }));
    EXPECT_EQ(Selection(), QString::fromUtf8("генератор"));
    EXPECT_FALSE(Shows("dv_obzor.htm"));
    EXPECT_FALSE(IsBusy());
}

TEST_F(LongScanTest, TheFindButtonStopsAScanAndTheNextFindGoesOnFromThere) {
    WhileScanning([&] { Dialog().RunDialogCommand("findnext1", "no"); }, 100);
    Find("генератор");
    EXPECT_TRUE(clicked);
    EXPECT_FALSE(IsBusy());
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_TRUE(Shows("dv_obzor.htm")) << "stopped before it reached the word";
    const std::ptrdiff_t stoppedAt = pane->ScanPosition();
    EXPECT_GE(stoppedAt, 0);
    EXPECT_LT(stoppedAt, 1000);

    // Left alone, the next find goes on and reaches the word.
    QObject::disconnect(&clicker, nullptr, nullptr, nullptr);
    Find("генератор");
    ASSERT_TRUE(WaitFor([&] { return !Viewer()->Loading(); }));
    EXPECT_EQ(Selection(), QString::fromUtf8("генератор"));
    EXPECT_GT(pane->ScanPosition(), stoppedAt);
}

TEST_F(LongScanTest, ExitDuringAScanStopsItAndClosesTheDialog) {
    bool terminated = false;
    form->OnTerminate = [&] { terminated = true; };
    WhileScanning([&] { program->Window().close(); });
    pane->Field(1)->setText(QString::fromUtf8("генератор"));
    Dialog().RunDialogCommand("findnext1", "no");
    ASSERT_TRUE(WaitFor([&] { return terminated; }));
    EXPECT_FALSE(IsBusy());
    EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(LongScanTest, ClosingTheProgramDuringAScanEndsIt) {
    WhileScanning([&] { Stop(); });
    pane->Field(1)->setText(QString::fromUtf8("генератор"));
    Dialog().RunDialogCommand("findnext1", "no");
    ASSERT_TRUE(WaitFor([&] { return clicked; }));
    EXPECT_FALSE(IsBusy());
}

}  // namespace
}  // namespace vitrina
