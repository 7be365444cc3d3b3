// The thesaurus window on the sample disc: its own description, title and single copy, the
// headword find, and the hand-over of documents from the main window, between real processes.
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "app/sample_disc_fixture.h"
#include "commands/dispatcher.h"
#include "html/html_viewer.h"
#include "platform/copy_data_channel.h"
#include "platform/request_record.h"
#include "platform/window_directory.h"
#include "search/find_pane.h"
#include "search/search_service.h"

namespace vitrina {
namespace {

class ThesaurusTest : public SampleDiscTest {
protected:
    // The thesaurus window of the sample disc, in this process, with its command line.
    void StartThesaurusWindow(std::vector<std::string> arguments) {
        Stop();
        Start(std::move(arguments), TProgram::TCreation::ThesaurusMode);
    }
    TWindowDirectory Windows() const { return TWindowDirectory(TUserFolders::FromEnvironment().runtime); }
};

TEST_F(ThesaurusTest, TheWindowIsBuiltFromItsOwnDescriptionAndShowsTheDocumentItWasGiven) {
    StartThesaurusWindow({"\"d:\\tezaurus\\t_d.htm\"", "/t"});
    if (HasFatalFailure()) return;
    EXPECT_EQ(Cp1251ToUtf8(program->Session().Title), "Тезаурус");
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Тезаурус"));
    ASSERT_TRUE(WaitFor([&] { return Shows("tezaurus\\t_d.htm"); }));
    // The find field lives on the window itself.
    TFindTxtHtml* pane = parts->FindPane();
    ASSERT_TRUE(pane && pane->Field(1));
    EXPECT_EQ(pane->Field(1)->window(), form);
    EXPECT_TRUE(pane->Field(1)->isVisible());
    // Other copies find it by its title.
    TWindowEntry entry;
    EXPECT_TRUE(Windows().FindWindowByTitle(TSearchService::ThesaurusTitle(), entry));

    // A second thesaurus window of the same reader ends before it shows anything.
    TProgram second(*drives, TUserFolders::FromEnvironment(), *desktop, TStartOptions{false, {"/t"}});
    second.Start();
    EXPECT_EQ(second.Creation(), TProgram::TCreation::SecondCopy);
}

TEST_F(ThesaurusTest, FindLooksForTheHeadwordFirstAndThenForTheWord) {
    StartThesaurusWindow({"/t"});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitFor([&] { return Shows("tezaurus\\t_a.htm"); }));
    TFindTxtHtml* pane = parts->FindPane();
    const auto find = [&](const char* text) {
        pane->Field(1)->setText(QString::fromUtf8(text));
        program->ExecuteCommand("findnext1");
        return WaitFor([&] { return pane->IsIdle(); });
    };
    ASSERT_TRUE(find("генератор"));
    EXPECT_EQ(Selection(), QString::fromUtf8("~ генератор"));
    ASSERT_TRUE(find("генератор"));
    EXPECT_EQ(Selection(), QString::fromUtf8("генератор"));
    // A word that is no headword is found as it stands.
    ASSERT_TRUE(find("кузова"));
    EXPECT_EQ(Selection(), QString::fromUtf8("кузова"));
}

TEST_F(ThesaurusTest, AHandedOverDocumentOpensWholeWithItsAnchor) {
    StartThesaurusWindow({"/t"});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitFor([&] { return Shows("tezaurus\\t_a.htm"); }));
    std::vector<TCopyDataAnswer> answers;
    parts->CopyData(EncodeRequestRecord({kRequestOpen, {{0, "d:\\tezaurus\\t_d.htm#disk"}}}), 0, answers);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].message, kMessageHandled);
    EXPECT_TRUE(WaitFor([&] { return Shows("tezaurus\\t_d.htm"); }));
}

TEST_F(ThesaurusTest, TheMainWindowHandsTheStartDocumentToARunningThesaurusWindowOrStartsOne) {
    TSearchService* search = parts->Search();
    ASSERT_TRUE(search);
    std::vector<std::string> started;
    search->StartThesaurus = [&](const std::string& document) { started.push_back(document); };
    // None runs: one is started with the start document.
    program->ExecuteCommand("tesaurus");
    EXPECT_EQ(started, std::vector<std::string>{"d:\\tezaurus\\t_a.htm"});

    // A real thesaurus window of this reader, in a process of its own.
    QProcess other;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    other.setProcessEnvironment(environment);
    other.start(VITRINA_PROGRAM, {"--disc", VITRINA_SAMPLE_DISC, "--", "/t"});
    ASSERT_TRUE(other.waitForStarted());
    TWindowEntry window;
    ASSERT_TRUE(WaitFor([&] { return Windows().FindWindowByTitle(TSearchService::ThesaurusTitle(), window); }, 30000));
    started.clear();
    program->ExecuteCommand("tesaurus");
    EXPECT_TRUE(started.empty()) << "the running window gets the document";
    // The other process takes a hand-over record and says so.
    ASSERT_TRUE(parts->Channel());
    const auto answers = parts->Channel()->Send(window, EncodeRequestRecord({kRequestOpen, {{0, "d:\\tezaurus\\t_d.htm"}}}));
    ASSERT_FALSE(answers.empty());
    EXPECT_EQ(answers[0].message, kMessageHandled);
    EXPECT_EQ(answers[0].wParam, window.pid);
    other.kill();
    other.waitForFinished();
}

}  // namespace
}  // namespace vitrina
