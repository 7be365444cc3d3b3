// The disc tool is a program with an exact interface; these tests run it as a person would.
#include <QJsonArray>
#include <algorithm>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <vector>

#include "platform/cp1251.h"
#include "resources/container_writer.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"
#include "resources/read_bin.h"
#include "resources/store.h"
#include "resources/store_writer.h"
#include "support/rar4_writer.h"
#include "support/raw_store.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;
using test::TTempFolder;

struct TRun {
    int code = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class DiscToolTest : public ::testing::Test {
protected:
    // Runs vitrina-disc with UTF-8 arguments, optionally feeding stdin.
    TRun Run(const std::vector<std::string>& args, const std::string& input = "") {
        std::string command = Quote(VITRINA_DISC_TOOL);
        for (const auto& arg : args) command += " " + Quote(arg);
        temp.Write("stdin", input);
        command += " < " + Quote((temp.Path() / "stdin").string()) + " > " + Quote((temp.Path() / "stdout").string()) +
                   " 2> " + Quote((temp.Path() / "stderr").string());
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, temp.Read("stdout"), temp.Read("stderr")};
    }
    static QJsonDocument Json(const std::string& text) { return QJsonDocument::fromJson(QByteArray::fromStdString(text)); }
    void ExpectUsageError(const TRun& run, const std::string& what) {
        EXPECT_EQ(run.code, 2) << what;
        EXPECT_FALSE(run.err.empty()) << what;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << what << ": one line on stderr, got " << run.err;
    }

    TTempFolder temp;
};

TEST_F(DiscToolTest, HelpAndVersionAnswerOnStdout) {
    const TRun help = Run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("usage: vitrina-disc", 0), 0u) << help.out;
    EXPECT_TRUE(help.err.empty());
    const TRun version = Run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("vitrina-disc ", 0), 0u) << version.out;
    EXPECT_TRUE(version.err.empty());
    const TRun bare = Run({});
    EXPECT_EQ(bare.code, 2);
    EXPECT_TRUE(bare.out.empty());
}

TEST_F(DiscToolTest, Container) {
    const auto file = temp.Write("Vuv.dhl", WriteContainer({{"Struct.cfs", "abc"}, {Utf8ToCp1251("Фон.bmp"), "BM"}}));
    auto run = Run({"container", "list", file.string()});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "Struct.cfs\t43\t3\nФон.bmp\t46\t2\n");
    run = Run({"container", "cat", file.string(), "фон.BMP"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "BM");
    EXPECT_EQ(Run({"container", "cat", file.string(), "none.bmp"}).code, 1);
    ExpectUsageError(Run({"container", "list", temp.Write("bad.dhl", "\x05").string()}), "truncated container");
    ExpectUsageError(Run({"container", "list"}), "missing file");
    ExpectUsageError(Run({"container", "frobnicate", file.string()}), "unknown action");
    ExpectUsageError(Run({"no-such-command"}), "unknown command");
}

TEST_F(DiscToolTest, ScrambleAndUnscramble) {
    const std::string text = "Title=Пример\r\nVX=1\r\n";
    const auto scrambled = Run({"scramble"}, text);
    ASSERT_EQ(scrambled.code, 0);
    EXPECT_EQ(DecodeDescription(scrambled.out, false),
              (TDynamicStringArray{Utf8ToCp1251("Title=Пример"), "VX=1", ""}));
    auto run = Run({"unscramble"}, scrambled.out);
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(Json(run.out).array(), QJsonArray({"title=Пример", "vx=1", ""}));
    run = Run({"unscramble", "--keep-case"}, scrambled.out);
    EXPECT_EQ(Json(run.out).array(), QJsonArray({"Title=Пример", "VX=1", ""}));

    const auto file = temp.Write("Vuv.dhl", WriteContainer({{"About.cfs", scrambled.out}}));
    run = Run({"description", "--keep-case", file.string(), "about.cfs"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(Json(run.out).array().at(0).toString(), "Title=Пример");
    EXPECT_EQ(Run({"description", file.string(), "Struct.cfs"}).code, 1);
}

TEST_F(DiscToolTest, Store) {
    const auto file = temp.Write("interface.dat", WriteStore({{"html\\a.htm", std::string(500, 'a')},
                                                              {Utf8ToCp1251("html\\Схема.gif"), "gif"}}));
    auto run = Run({"store", "list", file.string()});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "HTML\\A.HTM\nHTML\\СХЕМА.GIF\n");
    run = Run({"store", "--prefix", "d:\\run\\", "cat", file.string(), "D:\\Run\\html\\схема.gif"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "gif");
    EXPECT_EQ(Run({"store", "cat", file.string(), "d:\\run\\html\\a.htm"}).code, 1) << "no prefix set";
    EXPECT_EQ(Run({"store", "cat", file.string(), "html\\b.htm"}).code, 1);
    ExpectUsageError(Run({"store", "list", temp.Write("bad.dat", "12345678").string()}), "malformed store");
    ExpectUsageError(Run({"store", "cat", file.string(), "x", "--prefix"}), "option without value");
}

TEST_F(DiscToolTest, PathsAndCommandParts) {
    EXPECT_EQ(Run({"resolve", "<cd>video\\clip.avi"}).out, "d:\\video\\clip.avi\n");
    EXPECT_EQ(Run({"resolve", "глава\\а.htm", "--program-folder", "E:\\Книга\\"}).out, "E:\\Книга\\глава\\а.htm\n");
    EXPECT_EQ(Run({"join", "d:\\run\\sub\\", "..\\x.htm"}).out, "d:\\run\\x.htm\n");
    const auto run = Run({"command-parts", "html=20=html\\a.htm"});
    EXPECT_EQ(run.code, 0);
    const auto object = Json(run.out).object();
    EXPECT_EQ(object["name"].toString(), "html");
    EXPECT_EQ(object["argument"].toString(), "20");
    EXPECT_EQ(object["params"].toString(), "d:\\run\\html\\a.htm");
    ExpectUsageError(Run({"join", "a"}), "missing relative");
    ExpectUsageError(Run({"resolve", "a", "b"}), "extra argument");
}

TEST_F(DiscToolTest, OptionsStandAnywhereAndOnlyKnownOnesAreTaken) {
    const struct {
        std::vector<std::string> args;
        std::string out;
    } runs[] = {
        {{"resolve", "a.htm", "--program-folder", "e:\\"}, "e:\\a.htm\n"},
        {{"resolve", "--program-folder=e:\\", "a.htm"}, "e:\\a.htm\n"},
        {{"resolve", "--program-folder", "e:\\", "--program-folder", "f:\\", "a.htm"}, "f:\\a.htm\n"},  // the last one counts
        {{"resolve", "--", "--a.htm"}, "d:\\run\\--a.htm\n"},  // after "--" nothing is an option
        {{"resolve", "-"}, "-\n"},  // a lone dash is an argument (a value without a dot stays as it is)
    };
    for (const auto& run : runs) {
        const TRun r = Run(run.args);
        EXPECT_EQ(r.code, 0) << run.args.back() << ": " << r.err;
        EXPECT_EQ(r.out, run.out) << run.args.back();
    }
    ExpectUsageError(Run({"resolve", "--frobnicate", "a.htm"}), "unknown option");
    ExpectUsageError(Run({"resolve", "a.htm", "--keep-case"}), "an option of another command");
    ExpectUsageError(Run({"unscramble", "--keep-case=yes"}), "a flag given a value");
    const TRun missing = Run({"resolve", "a.htm", "--program-folder"});
    ExpectUsageError(missing, "option without value");
    EXPECT_NE(missing.err.find("--program-folder needs a value"), std::string::npos) << missing.err;
}

TEST_F(DiscToolTest, TreePrintsTheItemsTheProgramBuilds) {
    temp.Write("src/skin/Struct.cfs", "title=пример\n_screen=scr1.bmp ; 1\n");
    temp.Write("src/skin/tree1.cfs", "; Двигатель\n\tdv.htm; Обзор\n\t; Масло\n\t\tdv.htm#zamena; Замена\n; Тормоза\n");
    ASSERT_EQ(Run({"build", (temp.Path() / "src").string(), (temp.Path() / "run").string()}).code, 0);
    const auto run = Run({"tree", (temp.Path() / "run").string(), "tree1.cfs"});
    ASSERT_EQ(run.code, 0) << run.err;
    auto item = [](const char* document, const char* caption, int parent) {
        return QJsonObject{{"document", document}, {"caption", caption}, {"parent", parent}};
    };
    EXPECT_EQ(Json(run.out).array(), QJsonArray({item("", "Двигатель", -1), item("dv.htm", "Обзор", 0),
                                                 item("", "Масло", 0), item("dv.htm#zamena", "Замена", 2),
                                                 item("", "Тормоза", -1)}));
    const auto absent = Run({"tree", (temp.Path() / "run").string(), "tree2.cfs"});
    EXPECT_EQ(absent.code, 1);
    EXPECT_TRUE(absent.out.empty());
    ExpectUsageError(Run({"tree", (temp.Path() / "nowhere").string(), "tree1.cfs"}), "no container");
    ExpectUsageError(Run({"tree", (temp.Path() / "run").string()}), "no entry name");
}

TEST_F(DiscToolTest, ScreenPrintsTheModel) {
    temp.Write("src/skin/Struct.cfs",
               "title=пример\nvertexmain=[0,0; 10,0; 0,10]\nminimize\nvx=1;vy=2;fn1=a;fn2=b;fn3=c;hint=;wav=no\n"
               "close\nvx=3;vy=4;fn1=a;fn2=b;fn3=c;hint=;wav=no\n"
               "_screen=scr1.bmp ; 1\n_screen=scr2.bmp ; 2\n"
               "switchgrp 2\nvx=1;vy=1;fn1=a;fn2=b;fn3=c;fn4=d;state=on;store=on;group=3;go=tree1;hint=Дерево;wav=no\n"
               "_html 2\nvx=1;vy=2;vw=3;vh=4;fn=html\\start.htm;number=20\n");
    ASSERT_EQ(Run({"build", (temp.Path() / "src").string(), (temp.Path() / "run").string()}).code, 0);
    const auto run = Run({"screen", (temp.Path() / "run").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto model = Json(run.out).object();
    EXPECT_EQ(model["title"].toString(), "Пример");
    EXPECT_EQ(model["vertexmain"].toArray(), QJsonArray({QJsonArray{0, 0}, QJsonArray{10, 0}, QJsonArray{0, 10}}));
    EXPECT_EQ(model["close"].toObject()["go"].toString(), "exit");
    const auto screens = model["screens"].toArray();
    ASSERT_EQ(screens.size(), 2);
    EXPECT_EQ(screens[1].toObject()["picture"].toString(), "scr2.bmp");
    EXPECT_EQ(screens[1].toObject()["buttons"].toArray().size(), 2);
    const auto group = screens[1].toObject()["groups"].toArray().at(0).toObject();
    EXPECT_EQ(group["group"].toInt(), 3);
    EXPECT_EQ(group["state"].toBool(), true);
    EXPECT_EQ(group["hint"].toString(), "Дерево");
    EXPECT_TRUE(group.contains("textfontcolormvdn"));
    const auto html = model["html"].toArray().at(0).toObject();
    EXPECT_EQ(html["fn"].toString(), "d:\\run\\html\\start.htm") << "a disc folder named run gives d:\\run\\";
    EXPECT_EQ(html["screen"].toInt(), 1);

    ExpectUsageError(Run({"screen", (temp.Path() / "nowhere").string()}), "no container");
    temp.Write("empty/Vuv.dhl", WriteContainer({}));
    EXPECT_EQ(Run({"screen", (temp.Path() / "empty").string()}).code, 1);
}

// Names and decoded bytes of a disc folder's container and store.
std::map<std::string, std::string> DiscContent(const fs::path& folder) {
    std::map<std::string, std::string> content;
    TReadBin container;
    container.Open(folder / "Vuv.dhl");
    for (const auto& entry : container.Directory()) {
        std::string bytes;
        container.ReadBuffer(entry.name, bytes);
        if (entry.name.ends_with(".cfs")) {
            std::string text;
            for (const auto& line : DecodeDescription(bytes, false)) text += line + "|";
            bytes = text;
        }
        content["skin:" + entry.name] = bytes;
    }
    TStore store;
    EXPECT_TRUE(store.Open(folder / "interface.dat"));
    for (const auto& path : store.ListFiles()) {
        std::string bytes;
        store.ReadEntry(store.FindEntry(path), bytes);
        content["doc:" + path] = bytes;
    }
    return content;
}

TEST_F(DiscToolTest, ExtractThenBuildGivesTheSameDisc) {
    temp.Write("src/skin/Struct.cfs", "Title=Пример\nVX=1\n");
    temp.Write("src/skin/Кнопка.bmp", std::string("BM\0\r\n\x01", 6));
    temp.Write("src/skin/sub/deep.bmp", "deep");
    temp.Write("src/documents/html/Глава/Стр.htm", std::string(3000, 'x'));
    temp.Write("src/documents/index.idx", "idx");
    temp.Write("src/files/keywords.idx", "kw");
    temp.Write("src/files/music/a.mp3", "mp3");
    const auto disc = temp.Path() / "disc";
    ASSERT_EQ(Run({"build", (temp.Path() / "src").string(), disc.string()}).code, 0);
    EXPECT_EQ(temp.Read("disc/music/a.mp3"), "mp3");

    const auto extracted = temp.Path() / "extracted";
    const auto run = Run({"extract", disc.string(), extracted.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(temp.Read("extracted/skin/Struct.cfs"), "Title=Пример\r\nVX=1\r\n");
    EXPECT_EQ(temp.Read("extracted/files/keywords.idx"), "kw");
    EXPECT_FALSE(fs::exists(extracted / "files" / "Vuv.dhl"));

    const auto rebuilt = temp.Path() / "rebuilt";
    ASSERT_EQ(Run({"build", extracted.string(), rebuilt.string()}).code, 0);
    EXPECT_EQ(DiscContent(disc), DiscContent(rebuilt));
    EXPECT_EQ(temp.Read("rebuilt/music/a.mp3"), "mp3");

    // The same source builds the same bytes.
    ASSERT_EQ(Run({"build", (temp.Path() / "src").string(), (temp.Path() / "again").string()}).code, 0);
    EXPECT_EQ(temp.Read("again/Vuv.dhl"), temp.Read("disc/Vuv.dhl"));
    EXPECT_EQ(temp.Read("again/interface.dat"), temp.Read("disc/interface.dat"));
}

TEST_F(DiscToolTest, ExtractNeverWritesOutsideItsFolder) {
    temp.Write("disc/Vuv.dhl", WriteContainer({{"..\\..\\escaped.bmp", "x"}, {"ok.bmp", "ok"}, {"a\\..\\b", "y"}}));
    const auto run = Run({"extract", (temp.Path() / "disc").string(), (temp.Path() / "out/inner").string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("unsafe name"), std::string::npos);
    EXPECT_EQ(temp.Read("out/inner/skin/ok.bmp"), "ok");
    EXPECT_FALSE(fs::exists(temp.Path() / "escaped.bmp"));
    EXPECT_FALSE(fs::exists(temp.Path() / "out/escaped.bmp"));
    EXPECT_FALSE(fs::exists(temp.Path() / "out/inner/b"));
}

TEST_F(DiscToolTest, ArchiveListPrintsTheEntriesAndExitsByTheMessages) {
    using test::TRar4Member;
    const std::uint32_t time = test::DosTime(2010, 5, 1, 12, 0);
    const auto archive = temp.Write("Архив.rar", test::WriteRar4({{"Папка", std::nullopt, time},
                                                                  {"Папка\\Файл.txt", "12345", time},
                                                                  {"ДОС.TXT", "x", 0, false}})
                                                    .bytes);
    auto run = Run({"archive", "list", archive.string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const QJsonArray expected = {
        QJsonObject{{"name", "Папка"}, {"size", 0}, {"time", static_cast<qint64>(time)}, {"dir", true}},
        QJsonObject{{"name", "Папка\\Файл.txt"}, {"size", 5}, {"time", static_cast<qint64>(time)}, {"dir", false}},
        QJsonObject{{"name", "ДОС.TXT"}, {"size", 1}, {"time", 0}, {"dir", false}},
    };
    EXPECT_EQ(Json(run.out).array(), expected);

    // A message exits 2, on stderr, with the entries read so far still printed.
    auto damaged = test::WriteRar4({{"first.txt", "1", 0}, {"second.txt", "2", 0}});
    damaged.bytes[damaged.headers[1] + 9] ^= 0x55;
    run = Run({"archive", "list", temp.Write("damaged.rar", damaged.bytes).string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "У файла: first.txt испорчен заголовок.\n");
    EXPECT_EQ(Json(run.out).array().size(), 1);
    const auto text = temp.Write("text.rar", "no archive");
    run = Run({"archive", "list", text.string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "Файл " + text.string() + " не является RAR архивом.\n");
    EXPECT_EQ(Json(run.out).array(), QJsonArray());
    ExpectUsageError(Run({"archive", "list"}), "missing archive");
    ExpectUsageError(Run({"archive", "pack", text.string()}), "unknown action");
}

TEST_F(DiscToolTest, ArchiveExtractUnpacksIntoTheFolderAndNowhereElse) {
    const auto archive = temp.Write("a.rar", test::WriteRar4({{"Папка\\Файл.txt", "содержимое", 0}, {"top.txt", "top", 0}}).bytes);
    auto run = Run({"archive", "extract", archive.string(), (temp.Path() / "out").string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(temp.Read("out/Папка/Файл.txt"), "содержимое");
    EXPECT_EQ(temp.Read("out/top.txt"), "top");

    const auto evil = temp.Write("evil.rar", test::WriteRar4({{"..\\escaped.txt", "x", 0}, {"ok.txt", "ok", 0}}).bytes);
    run = Run({"archive", "extract", evil.string(), (temp.Path() / "box/inner").string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "File ..\\escaped.txt create error\n");
    EXPECT_EQ(temp.Read("box/inner/ok.txt"), "ok");
    EXPECT_FALSE(fs::exists(temp.Path() / "box/escaped.txt"));
}

TEST_F(DiscToolTest, ArchivePagesWritesThePagesTheProgramWrites) {
    const std::uint32_t time = test::DosTime(2010, 5, 1, 12, 0);
    const auto archive = temp.Write("arc.rar", test::WriteRar4({{"docs\\<b>.txt", "12345", time}}).bytes);
    auto run = Run({"archive", "pages", archive.string(), (temp.Path() / "out").string(), "--now", "99"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "as_arc.rar.htm\n");
    std::string name = "z:" + archive.string();
    std::replace(name.begin(), name.end(), '/', '\\');
    const std::string frameset = Cp1251ToUtf8(temp.Read("out/as_arc.rar.htm"));
    EXPECT_NE(frameset.find("<title>Содержимое архива: " + name + "</title>"), std::string::npos) << frameset;
    EXPECT_NE(frameset.find("<frame src=\"as_099.htm\" name=\"Bot\">"), std::string::npos) << frameset;
    EXPECT_TRUE(fs::exists(temp.Path() / "out" / "as_bar.htm"));
    // The folder derived from the file has its page with the file's row, its name escaped.
    const std::string docs = Cp1251ToUtf8(temp.Read("out/as_199.htm"));
    EXPECT_NE(docs.find("<a href=\"./docs\\&lt;b&gt;.txt\">&lt;b&gt;.txt</a>"), std::string::npos) << docs;
    EXPECT_NE(docs.find("5 байт"), std::string::npos);

    const auto text = temp.Write("text.rar", "no archive");
    run = Run({"archive", "pages", text.string(), (temp.Path() / "out2").string(), "--now", "1"});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(fs::exists(temp.Path() / "out2" / "as_01.htm")) << "an empty root page still";
    ExpectUsageError(Run({"archive", "pages", text.string(), (temp.Path() / "out3").string(), "--now", "soon"}), "bad --now");
}

TEST_F(DiscToolTest, DialogsPrintsEachDialogByItsIndex) {
    temp.Write("src/skin/Struct.cfs", "title=пример\n_screen=scr1.bmp ; 1\n");
    temp.Write("src/skin/Dialog.cfs",
               "1 _picture=Dlg_Msg.bmp\n1 _text\nvx=20; vy=40; vw=340\nfont=Arial; size=10; style=bold; color=1,2,3\n"
               "value=Сообщение\n1 switchgrp\nvx=5; vy=6; fn1=a; fn2=b; fn3=c; fn4=d; state=on; store=off; group=2;"
               "go=findtxtall; hint=Везде; wav=no\n"
               "3 _picture=p3.bmp\n3 _button\nvx=140; vy=78\nalign=Middle\nfn1=a\nfn2=b\nfn3=c\ngo=OK\nhint=Закрыть\n"
               "wav=no\n");
    ASSERT_EQ(Run({"build", (temp.Path() / "src").string(), (temp.Path() / "run").string()}).code, 0);
    const TRun run = Run({"dialogs", (temp.Path() / "run").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const QJsonArray dialogs = Json(run.out).array();
    ASSERT_EQ(dialogs.size(), 3) << run.out;
    const QJsonObject first = dialogs[0].toObject();
    EXPECT_EQ(first["picture"].toString(), "dlg_msg.bmp");
    EXPECT_EQ(first["text"].toObject()["value"].toString(), "Сообщение");
    EXPECT_EQ(first["text"].toObject()["color"].toInt(), 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(first["buttons"].toArray().size(), 0);
    const QJsonObject group = first["switches"].toArray().at(0).toObject();
    EXPECT_EQ(group["state"].toBool(), true);
    EXPECT_EQ(group["store"].toBool(), false);
    EXPECT_EQ(group["go"].toString(), "findtxtall");
    EXPECT_EQ(group["textcaptionup"].toString(), "") << "a key never read";
    const QJsonObject second = dialogs[1].toObject();
    EXPECT_EQ(second["picture"].toString(), "");
    EXPECT_TRUE(second["text"].isNull());
    EXPECT_TRUE(second["buttons"].toArray().isEmpty());
    const QJsonObject button = dialogs[2].toObject()["buttons"].toArray().at(0).toObject();
    EXPECT_EQ(button["vx"].toInt(), 140);
    EXPECT_EQ(button["align"].toString(), "middle");
    EXPECT_EQ(button["go"].toString(), "ok");

    temp.Write("bare/Vuv.dhl", WriteContainer({}));
    EXPECT_EQ(Run({"dialogs", (temp.Path() / "bare").string()}).code, 1);
    ExpectUsageError(Run({"dialogs", (temp.Path() / "nowhere").string()}), "no container");
}

TEST_F(DiscToolTest, AboutPrintsTheAboutWindowUnderItsKeys) {
    temp.Write("src/skin/Struct.cfs", "title=пример\n_screen=scr1.bmp ; 1\n");
    temp.Write("src/skin/About.cfs",
               "picture=About.bmp\nvertex=[1,2; 3,4\n5,6]\ntext\nvx=30; vy=78\nfont=Arial; size=9; style=Underline; "
               "color=1,2,3\nvalue=Почта: A@b.example\nidenf=URL\nbutton vx=155; vy=224; fn1=ok.bmp\nwav=Click.wav\n");
    ASSERT_EQ(Run({"build", (temp.Path() / "src").string(), (temp.Path() / "run").string()}).code, 0);
    const TRun run = Run({"about", (temp.Path() / "run").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const QJsonObject about = Json(run.out).object();
    EXPECT_EQ(about["picture"].toString(), "about.bmp");
    EXPECT_EQ(QJsonDocument(about["vertex"].toArray()).toJson(QJsonDocument::Compact), "[[1,2],[3,4],[5,6]]");
    const QJsonObject text = about["texts"].toArray().at(0).toObject();
    EXPECT_EQ(text["vx"].toInt(), 30);
    EXPECT_EQ(text["style"].toString(), "underline");
    EXPECT_EQ(text["color"].toInt(), 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(text["value"].toString(), "Почта: a@b.example");
    EXPECT_EQ(text["idenf"].toString(), "url");
    const QJsonObject button = about["buttons"].toArray().at(0).toObject();
    EXPECT_EQ(button["fn1"].toString(), "ok.bmp");
    // The record waited for "fn2" to the end: neither it nor the keys after it were read.
    EXPECT_EQ(button["fn2"].toString(), "");
    EXPECT_EQ(button["wav"].toString(), "");
    EXPECT_EQ(button["vy"].toInt(), 224);

    temp.Write("bare/Vuv.dhl", WriteContainer({}));
    EXPECT_EQ(Run({"about", (temp.Path() / "bare").string()}).code, 1);
}

TEST_F(DiscToolTest, BuildRefusesAFolderThatIsNotADiscSource) {
    temp.Write("pages/index.htm", "<p>a page, but no disc source</p>");
    temp.Write("pages/documents/a.htm", "<p>a</p>");
    temp.Write("pages/skin/readme.txt", "no screen description");
    const TRun run = Run({"build", (temp.Path() / "pages").string(), (temp.Path() / "out").string()});
    ExpectUsageError(run, "no skin/Struct.cfs");
    EXPECT_NE(run.err.find("skin/Struct.cfs"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(temp.Path() / "out")) << "nothing written for a refused source";
}

// A starter made from an author's folder of pages: the disc it builds opens no page that is not
// in its store, from the start screen's chapter buttons, the chapter popup, the contents trees
// or the document area.
TEST_F(DiscToolTest, NewMakesASourceWhoseChaptersAndContentsOpenPagesThatExist) {
    temp.Write("site/start.html", "<html><head><title>Начало</title></head><body>UTF-8</body></html>");
    temp.Write("site/Двигатель/obzor.htm", Utf8ToCp1251("<title>Обзор двигателя</title><p>карбюратор</p>"));
    temp.Write("site/Двигатель/Масло/zamena.htm", Utf8ToCp1251("<title>Замена масла</title>"));
    temp.Write("site/Двигатель/ris.png", "png");
    temp.Write("site/close button/untitled.htm", "<p>no title</p>");
    temp.Write("site/soderzhanie.htm", "<title>The author's own page of that name</title>");
    const std::string source = (temp.Path() / "src").string(), disc = (temp.Path() / "disc").string();
    const TRun made = Run({"new", source, "--from", (temp.Path() / "site").string(), "--skin", VITRINA_SAMPLE_DISC,
                           "--title", "Мой справочник"});
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_EQ(temp.Read("src/documents/Двигатель/ris.png"), "png") << "other files keep their places";
    EXPECT_EQ(temp.Read("src/documents/start.html"),
              "<html><head><meta charset=\"utf-8\"><title>Начало</title></head><body>UTF-8</body></html>")
        << "an undeclared UTF-8 page is marked, as the program reads such pages as 1251";
    EXPECT_EQ(temp.Read("src/documents/soderzhanie.htm"), "<title>The author's own page of that name</title>");
    const TRun built = Run({"build", source, disc});
    ASSERT_EQ(built.code, 0) << built.err;

    auto expectInStore = [&](const QString& document, const std::string& where) {
        EXPECT_EQ(Run({"store", "cat", disc + "/interface.dat", document.toStdString(), "--prefix", "d:\\"}).code, 0)
            << where << ": " << document.toStdString();
    };
    const QJsonObject model = Json(Run({"screen", disc}).out).object();
    EXPECT_EQ(model["title"].toString(), "Мой справочник");
    const QJsonArray screens = model["screens"].toArray();
    ASSERT_EQ(screens.size(), 2) << "the start screen and the document screen";
    QStringList captions;
    for (const auto& button : screens[0].toObject()["buttons"].toArray()) {
        const QString go = button.toObject()["go"].toString();
        if (!go.startsWith("screen2=")) continue;
        captions << button.toObject()["textcaption"].toString();
        expectInStore(go.mid(8), "chapter button");
    }
    // The pages at the top, the chapters (a folder name a description cannot hold gives way to
    // a number), then the contents; a caption too long for its button is cut (and the screen
    // reads Latin letters in lower case).
    EXPECT_EQ(captions, QStringList({"the author'…", "Начало", "Глава 3", "Двигатель", "Оглавление"}));
    for (const auto& popup : screens[0].toObject()["popups"].toArray()) {
        for (const auto& go : popup.toObject()["go"].toArray()) {
            if (go.toString().startsWith("screen2=")) expectInStore(go.toString().mid(8), "chapter popup");
        }
    }
    for (const auto& html : model["html"].toArray()) expectInStore(html.toObject()["fn"].toString(), "document area");

    for (const char* name : {"tree1.cfs", "tree2.cfs"}) {
        const TRun tree = Run({"tree", disc, name});
        ASSERT_EQ(tree.code, 0) << name;
        QStringList titles;
        for (const auto& item : Json(tree.out).array()) {
            const QString document = item.toObject()["document"].toString();
            if (!document.isEmpty()) expectInStore(document, name);
            titles << item.toObject()["caption"].toString();
        }
        for (const char* title : {"Начало", "Обзор двигателя", "Замена масла", "untitled"}) {
            EXPECT_TRUE(titles.contains(title)) << name << " lacks " << title << ": " << tree.out;
        }
    }
    const QJsonArray chapters = Json(Run({"tree", disc, "tree1.cfs"}).out).array();
    const auto heading = std::find_if(chapters.begin(), chapters.end(),
                                      [](const auto& item) { return item.toObject()["caption"] == "Масло"; });
    ASSERT_NE(heading, chapters.end()) << "a folder inside a chapter is a heading";
    EXPECT_EQ(heading->toObject()["document"].toString(), "");

    EXPECT_EQ(Run({"search", disc, "карбюратор"}).code, 0) << "the keyword index is made";
    ExpectUsageError(Run({"new", source, "--skin", VITRINA_SAMPLE_DISC}), "the source exists");
    ExpectUsageError(Run({"new", (temp.Path() / "other").string(), "--from", (temp.Path() / "nowhere").string(),
                          "--skin", VITRINA_SAMPLE_DISC}),
                     "no such folder");
}

// A disc with documents in its store, the keyword index and the thesaurus index beside them, and
// a find field that leaves out the archive folder.
class SearchToolTest : public DiscToolTest {
protected:
    void SetUp() override {
        temp.Write("src/skin/Struct.cfs", "title=пример\n_screen=scr1.bmp ; 1\n_findtxt 1\n"
                                          "vx=1;vy=2;vw=3;vh=4\nframe=\nnofiles=[arch\\]\nnumber=1\nhint=\n");
        temp.Write("src/documents/arch/old.htm", Utf8ToCp1251("<p>масло</p>"));
        temp.Write("src/documents/html/engine.htm", Utf8ToCp1251("<title>Двигатель</title><p>Масло в картере</p>"));
        temp.Write("src/documents/html/oil.htm", Utf8ToCp1251("<p>Мас<b>ло</b></p>"));
        temp.Write("src/documents/html/pump.htm", Utf8ToCp1251("<p>масло, но нет строки в files.idx</p>"));
        temp.Write("src/documents/man/help.htm", Utf8ToCp1251("<p>масло</p>"));
        temp.Write("src/files/keywords.idx", Utf8ToCp1251("масло\r\nкартер\r\n"));
        temp.Write("src/files/index.idx", "1:2\r\n1\r\n");
        temp.Write("src/files/files.idx",
                   Utf8ToCp1251("html\\engine.htm#:#Двигатель\r\nhtml\\oil.htm#:#Масло\r\narch\\old.htm#:#Архив\r\n"
                                "man\\help.htm#:#Справка\r\n"));
        temp.Write("src/files/tezaurus.idx", Utf8ToCp1251("Начало~tez\\start.htm#top\r\nмасло~tez\\oil.htm\r\n"));
        ASSERT_EQ(Run({"build", (temp.Path() / "src").string(), disc()}).code, 0);
    }
    std::string disc() const { return (temp.Path() / "disc").string(); }
    void ExpectFound(const TRun& run, const QJsonArray& paths, const QJsonArray& titles, const std::string& what) {
        EXPECT_EQ(run.code, paths.isEmpty() ? 1 : 0) << what << ": " << run.err;
        const QJsonObject result = Json(run.out).object();
        EXPECT_EQ(result["paths"].toArray(), paths) << what << ": " << run.out;
        EXPECT_EQ(result["titles"].toArray(), titles) << what << ": " << run.out;
    }
};

TEST_F(SearchToolTest, SearchLooksUpTheIndexOrScansTheDocuments) {
    ExpectFound(Run({"search", disc(), "  МАСЛО "}), {"d:\\html\\engine.htm", "d:\\html\\oil.htm"},
                {"Двигатель", "Масло"}, "index, normalised query, any case");
    ExpectFound(Run({"search", disc(), "насос"}), {}, {}, "not in the index");
    ExpectFound(Run({"search", disc(), "масло", "--scan"}), {"d:\\html\\engine.htm", "d:\\html\\oil.htm"},
                {"Двигатель", "Масло"}, "scan without the excluded folder, the manuals or untitled pages");
    ExpectFound(Run({"search", "--all", disc(), "масло", "--scan"}),
                {"d:\\arch\\old.htm", "d:\\html\\engine.htm", "d:\\html\\oil.htm"}, {"Архив", "Двигатель", "Масло"},
                "scan of all documents");
    ExpectFound(Run({"search", disc(), "Масло", "--scan", "--match-case"}),
                {"d:\\html\\engine.htm", "d:\\html\\oil.htm"}, {"Двигатель", "Масло"}, "scan matching case");
    ExpectFound(Run({"search", disc(), "масло", "--scan", "--match-case"}), {}, {}, "scan matching case");

    fs::remove(temp.Path() / "disc" / "index.idx");
    const TRun missing = Run({"search", disc(), "масло"});
    ExpectFound(missing, {}, {}, "index files missing");
    EXPECT_NE(missing.err.find("Индескный(е) файл(ы) не найден"), std::string::npos) << missing.err;
    ExpectUsageError(Run({"search", disc()}), "no query");
    ExpectUsageError(Run({"search", (temp.Path() / "nowhere").string(), "масло"}), "no disc folder");
    ExpectUsageError(Run({"thesaurus", (temp.Path() / "nowhere").string()}), "no disc folder");
}

TEST_F(SearchToolTest, FindRanksDocumentsByWordForms) {
    const std::string cache = (temp.Path() / "cache").string();
    const TRun found = Run({"find", disc(), "МАСЛА", "--cache", cache});
    EXPECT_EQ(found.code, 0) << found.err;
    const QJsonArray hits = Json(found.out).array();
    // Every page (the manuals aside), whether the keyword index lists it or not; the title first.
    ASSERT_EQ(hits.size(), 4) << found.out;
    QStringList paths;
    for (int i = 0; i < hits.size(); ++i) {
        const QJsonObject hit = hits[i].toObject();
        EXPECT_EQ(hit.keys(), (QStringList{"path", "rank", "snippet", "title"}));
        EXPECT_EQ(hit["rank"].toInt(), i + 1);
        paths << hit["path"].toString();
        if (hit["path"] == "d:\\html\\oil.htm") {
            EXPECT_EQ(hit["title"], "oil.htm");
            EXPECT_EQ(hit["snippet"], "<b>Масло</b>...");
        }
    }
    paths.sort();
    EXPECT_EQ(paths, (QStringList{"d:\\arch\\old.htm", "d:\\html\\engine.htm", "d:\\html\\oil.htm",
                                  "d:\\html\\pump.htm"}));

    const TRun limited = Run({"find", disc(), "карт", "--cache", cache, "--limit", "1"});
    EXPECT_EQ(limited.code, 0) << limited.err;
    EXPECT_EQ(Json(limited.out).array().size(), 1) << limited.out;
    EXPECT_EQ(Json(limited.out).array()[0].toObject()["title"].toString(), "Двигатель");

    const TRun nothing = Run({"find", disc(), "насос", "--cache", cache});
    EXPECT_EQ(nothing.code, 1);
    EXPECT_EQ(nothing.out, "[]\n");
    ExpectUsageError(Run({"find", disc(), "масло", "--limit", "0", "--cache", cache}), "no limit");
    ExpectUsageError(Run({"find", disc()}), "no query");
    temp.Write("file", "x");
    EXPECT_EQ(Run({"find", disc(), "масло", "--cache", (temp.Path() / "file").string()}).code, 2)
        << "a cache that cannot be written";
}

TEST_F(SearchToolTest, ThesaurusPrintsTheDocumentOfAWord) {
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out;
    };
    const Case cases[] = {
        {{"thesaurus", disc()}, 0, "tez\\start.htm#top\n"},
        {{"thesaurus", disc(), "Масло"}, 0, "tez\\oil.htm\n"},
        {{"thesaurus", disc(), "насос"}, 1, ""},
    };
    for (const Case& c : cases) {
        const TRun run = Run(c.args);
        EXPECT_EQ(run.code, c.code) << c.args.back();
        EXPECT_EQ(run.out, c.out) << c.args.back();
    }
    fs::remove(temp.Path() / "disc" / "tezaurus.idx");
    const TRun missing = Run({"thesaurus", disc()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("tezaurus.idx"), std::string::npos) << missing.err;
}

// Files below root, other than below the folders left out, as relative paths.
std::set<std::string> FilesBelowExcept(const fs::path& root, const std::vector<fs::path>& leftOut) {
    std::set<std::string> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        if (std::find(leftOut.begin(), leftOut.end(), it->path()) != leftOut.end()) {
            it.disable_recursion_pending();
            continue;
        }
        files.insert(it->path().lexically_relative(root).string());
    }
    return files;
}

// A source tree or a disc is a stranger's content too: links and pipes in it are skipped with a
// warning, so no file from elsewhere is copied and nothing is written through a link out of OUT;
// and a link already standing in OUT is not written through either.
TEST_F(DiscToolTest, BuildAndExtractSkipLinksAndWriteNothingOutsideOut) {
    temp.Write("outside/hostname", "HOST FILE");
    fs::create_directories(temp.Path() / "outside/folder");
    temp.Write("src/skin/Struct.cfs", "Title=x\n");
    temp.Write("src/documents/a.htm", "a");
    temp.Write("src/files/keep.txt", "keep");
    fs::create_symlink(temp.Path() / "outside/hostname", temp.Path() / "src/files/notes.txt");
    fs::create_symlink(temp.Path() / "outside/hostname", temp.Path() / "src/documents/notes.htm");
    fs::create_symlink(temp.Path() / "outside/hostname", temp.Path() / "src/skin/notes.bmp");
    fs::create_directory_symlink(temp.Path() / "outside/folder", temp.Path() / "src/files/dir");
    ASSERT_EQ(::mkfifo((temp.Path() / "src/files/pipe.txt").c_str(), 0600), 0);
    const auto before = FilesBelowExcept(temp.Path(), {});

    const auto disc = temp.Path() / "disc";
    const TRun build = Run({"build", (temp.Path() / "src").string(), disc.string()});
    EXPECT_EQ(build.code, 0) << build.err;
    for (const char* skipped : {"notes.txt", "notes.htm", "notes.bmp", "dir", "pipe.txt"})
        EXPECT_NE(build.err.find(skipped), std::string::npos) << skipped << " not warned of: " << build.err;
    EXPECT_EQ(temp.Read("disc/keep.txt"), "keep");
    EXPECT_FALSE(fs::exists(disc / "notes.txt"));
    EXPECT_FALSE(fs::exists(disc / "dir"));
    EXPECT_EQ(Run({"store", "list", (disc / "interface.dat").string()}).out, "A.HTM\n");
    EXPECT_EQ(Run({"container", "cat", (disc / "Vuv.dhl").string(), "notes.bmp"}).code, 1);

    // The disc gets links of its own: to a file outside, to a folder outside, and one climbing up.
    fs::create_symlink(temp.Path() / "outside/hostname", disc / "notes.txt");
    fs::create_directory_symlink(temp.Path() / "outside/folder", disc / "dir");
    fs::create_directories(disc / "sub");
    fs::create_directory_symlink("../..", disc / "sub/up");
    const auto out = temp.Path() / "out/inner";
    const TRun extract = Run({"extract", disc.string(), out.string()});
    EXPECT_EQ(extract.code, 0) << extract.err;
    for (const char* skipped : {"notes.txt", "dir", "up"})
        EXPECT_NE(extract.err.find(skipped), std::string::npos) << skipped << " not warned of: " << extract.err;
    EXPECT_EQ(temp.Read("out/inner/files/keep.txt"), "keep");
    EXPECT_EQ(temp.Read("out/inner/documents/A.HTM"), "a");
    EXPECT_FALSE(fs::exists(out / "files/notes.txt"));

    // An OUT that already holds a link to a folder elsewhere where the files would go.
    const auto trap = temp.Path() / "trap";
    fs::create_directories(trap);
    fs::create_directory_symlink(temp.Path() / "outside/folder", trap / "files");
    const TRun trapped = Run({"extract", disc.string(), trap.string()});
    EXPECT_EQ(trapped.code, 2);
    EXPECT_NE(trapped.err.find("files"), std::string::npos) << trapped.err;

    auto after = FilesBelowExcept(temp.Path(), {disc, temp.Path() / "out", trap});
    for (const char* own : {"stdin", "stdout", "stderr"}) after.erase(own);
    auto expected = before;
    for (const char* own : {"stdin", "stdout", "stderr"}) expected.erase(own);
    EXPECT_EQ(after, expected) << "something was written outside OUT";
    EXPECT_TRUE(fs::is_empty(temp.Path() / "outside/folder"));
}

// The store of a compression bomb: an entry of six megabytes that unpacks to a gigabyte. store
// cat hands all of it on in the memory of a few pieces, measured as the child's peak resident
// size.
TEST_F(DiscToolTest, StoreCatStreamsABombInBoundedMemory) {
    const std::uint64_t huge = 1 + 258 * std::uint64_t(3875969);  // 1 000 000 003 bytes
    const std::string data = test::ZerosZlib(huge);
    test::TRawStore raw;
    raw.data = data;
    raw.folders = {{0, 1}};
    raw.entries = {{"BOMB.BIN", 0, std::uint32_t(data.size()), std::uint32_t(huge), TStore::kFile}};
    const std::string file = temp.Write("bomb.dat", raw.Bytes()).string();
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(VITRINA_DISC_TOOL, VITRINA_DISC_TOOL, "store", "cat", file.c_str(), "bomb.bin", nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    std::uint64_t total = 0;
    std::vector<char> buffer(1 << 20);
    for (ssize_t n; (n = ::read(out[0], buffer.data(), buffer.size())) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        ASSERT_GT(n, 0);
        total += static_cast<std::uint64_t>(n);
    }
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(total, huge);
    EXPECT_LT(usage.ru_maxrss, 128 * 1024) << "kilobytes at the peak";
}

}  // namespace
}  // namespace vitrina
