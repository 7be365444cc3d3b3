// The built sample disc names only files it has: every picture, document, sound and clip that
// a description, a tree, a document link or an index file names is in the container, the store
// or on the disc.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "panes/contents_tree_model.h"
#include "platform/cp1251.h"
#include "resources/about_description.h"
#include "resources/drive_map.h"
#include "resources/compr_stream.h"
#include "resources/description.h"
#include "resources/read_bin.h"
#include "resources/store.h"
#include "resources/screen_model.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

// The file-name part of a Windows path.
std::string FileName(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Folder(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Resolves a link the way a browser does against the document's folder ("/" and "\" alike,
// ".." climbing one folder), so the check does not depend on the pane's own resolver.
std::string ResolveLink(const std::string& documentPath, std::string link) {
    std::replace(link.begin(), link.end(), '/', '\\');
    std::string joined = link.find(":\\") != std::string::npos ? link : Folder(documentPath) + link;
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 0; i <= joined.size(); ++i) {
        if (i == joined.size() || joined[i] == '\\') {
            if (part == "..") {
                if (parts.size() > 1) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += joined[i];
        }
    }
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "\\" : "") + parts[i];
    return out;
}

// Values of one attribute (href, src) in an HTML page, in order.
std::vector<std::string> Attributes(const std::string& html, const std::string& name) {
    std::vector<std::string> values;
    const std::string lower = LowerAscii(html);
    const std::string key = name + "=\"";
    for (std::size_t pos = lower.find(key); pos != std::string::npos; pos = lower.find(key, pos + 1)) {
        if (pos > 0 && std::isalnum(static_cast<unsigned char>(lower[pos - 1]))) continue;
        const std::size_t start = pos + key.size();
        const std::size_t end = html.find('"', start);
        if (end != std::string::npos) values.push_back(html.substr(start, end - start));
    }
    return values;
}

class SampleDisc : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(fs::is_regular_file(fs::path(VITRINA_SAMPLE_DISC) / "Vuv.dhl"))
            << "the sample disc is not built at " << VITRINA_SAMPLE_DISC;
        user_ = new test::TTempFolder;
        drives_ = new TDriveMap(VITRINA_SAMPLE_DISC, user_->Path());
        container_ = new TReadBin;
        container_->Open(fs::path(VITRINA_SAMPLE_DISC) / "Vuv.dhl");
        store_ = new TStore;
        ASSERT_TRUE(store_->Open(fs::path(VITRINA_SAMPLE_DISC) / "interface.dat"));
        store_->SetPrefix(drives_->ProgramFolder());
        files_ = new TDocumentFiles(*store_, *drives_);
    }
    static void TearDownTestSuite() {
        delete files_;
        delete store_;
        delete container_;
        delete drives_;
        delete user_;
    }

    void SetUp() override { ASSERT_NE(files_, nullptr) << "the sample disc could not be opened"; }

    static TDynamicStringArray Description(const char* name, bool lowerCase) {
        std::string bytes;
        EXPECT_GE(container_->ReadBuffer(name, bytes), 0) << name << " is not in the container";
        return DecodeDescription(bytes, lowerCase);
    }
    static std::string Program() { return drives_->ProgramFolder(); }
    static std::string Read(const std::string& path) {
        std::string bytes;
        files_->Read(path, bytes);
        return bytes;
    }

    // Records what is missing, with where it was named, so one run lists every gap.
    void Picture(const std::string& name, const std::string& where) {
        if (!name.empty() && !container_->Contains(FileName(name))) missing_.push_back(where + ": picture " + name);
    }
    void File(const std::string& path, const std::string& where) {
        if (!files_->StoreFileExists(path)) missing_.push_back(where + ": file " + path);
    }
    void Sound(const std::string& wav, const std::string& where) {
        if (wav.empty() || wav == "no") return;
        File(Program() + wav, where);
        const std::string bytes = Read(Program() + wav);
        // The click player takes plain 16-bit PCM only.
        const bool pcm16 = bytes.size() > 44 && bytes.compare(0, 4, "RIFF") == 0 && bytes.compare(8, 4, "WAVE") == 0 &&
                           bytes[20] == 1 && bytes[21] == 0 && bytes[34] == 16;
        if (!pcm16) missing_.push_back(where + ": not a 16-bit PCM sound " + wav);
    }
    void Anchor(const std::string& path, const std::string& anchor, const std::string& where) {
        if (Read(path).find("name=\"" + anchor + "\"") == std::string::npos) {
            missing_.push_back(where + ": anchor #" + anchor + " in " + path);
        }
    }
    // Documents named by commands: "screenN=doc", "htmlN=doc", "clip=file=doc".
    void Command(const std::string& go, const std::string& where) {
        const std::string name = CommandName(go);
        if (name.find("screen") != std::string::npos || name.find("html") != std::string::npos ||
            name.find("clip") != std::string::npos) {
            File(CommandArgument(go, Program()), where);
        }
        const std::string params = CommandParams(go, Program());
        if (name.find("clip") != std::string::npos && !params.empty()) File(params, where);
    }

    void ExpectNothingMissing() {
        std::string list;
        for (const auto& m : missing_) list += "\n  " + Cp1251ToUtf8(m);
        EXPECT_TRUE(missing_.empty()) << missing_.size() << " missing:" << list;
    }

    std::vector<std::string> missing_;
    static inline test::TTempFolder* user_ = nullptr;
    static inline TDriveMap* drives_ = nullptr;
    static inline TReadBin* container_ = nullptr;
    static inline TStore* store_ = nullptr;
    static inline TDocumentFiles* files_ = nullptr;
};

TEST_F(SampleDisc, ScreenModelHasEveryPartTheProgramUses) {
    TScreenModel model(Program());
    const auto lines = Description("Struct.cfs", true);
    model.ReadHeader(lines);
    model.ReadSections(lines);

    EXPECT_EQ(model.Title, W("Пример: руководство по ремонту"));
    EXPECT_GT(model.VertexMain.size(), 4u);
    EXPECT_EQ(model.BackgroundSongs.size(), 2u);
    EXPECT_EQ(model.CloseButton.go, "exit");
    ASSERT_GE(model.ScreenCount(), 4);
    for (int s = 0; s < 4; ++s) EXPECT_FALSE(model.ScreenPictures[s].empty()) << "screen " << s + 1;

    auto hasGo = [&](int screen, const std::string& go) {
        const auto& b = model.ScreenButtons[screen];
        return std::any_of(b.begin(), b.end(), [&](const RBtn& r) { return r.go == go; });
    };
    for (const char* go : {"back", "forward", "historyback", "historyforward", "showfavorite", "addtofavorite",
                           "deletefromfavorite", "printhtml", "findnext1", "nextchapter", "prevchapter",
                           "standartwin", "tesaurus", "minimize", "exit"}) {
        EXPECT_TRUE(hasGo(1, go)) << "document screen lacks " << go;
    }
    for (const char* go : {"play", "pause", "stop", "stepforward", "stepback", "bgsound", "unarc"}) {
        EXPECT_TRUE(hasGo(2, go)) << "media screen lacks " << go;
    }
    EXPECT_TRUE(hasGo(3, "nextpic") && hasGo(3, "prevpic"));
    EXPECT_TRUE(hasGo(0, "about") && hasGo(0, "options"));

    std::set<std::string> gos;
    for (int s = 0; s < model.ScreenCount(); ++s) {
        for (const auto& g : model.ScreenGroups[s]) gos.insert(g.go);
        for (const auto& w : model.ScreenSwitches[s]) gos.insert(w.goup + "|" + w.godown);
    }
    for (const char* go : {"2d", "3d", "tree1", "tree2", "ontree|offtree"}) EXPECT_TRUE(gos.count(go)) << go;

    std::set<int> popupKinds;
    for (const auto& screen : model.ScreenPopups)
        for (const auto& p : screen) popupKinds.insert(p.type);
    for (int kind : std::initializer_list<int>{kPopupHistoryBack, kPopupHistoryForward, kPopupFavorite, kPopupContextHtml, 1}) {
        EXPECT_TRUE(popupKinds.count(kind)) << "no popup of kind " << kind;
    }

    const auto htmlOnDocuments = std::find_if(model.HtmlAreas.begin(), model.HtmlAreas.end(),
                                              [](const RHTML& a) { return a.screen == 1 && a.number == 20; });
    EXPECT_NE(htmlOnDocuments, model.HtmlAreas.end());
    EXPECT_TRUE(std::any_of(model.TextAreas.begin(), model.TextAreas.end(), [](const RText& t) { return t.number == 1; }));
    EXPECT_TRUE(std::any_of(model.TextAreas.begin(), model.TextAreas.end(),
                            [](const RText& t) { return SameText1251(t.ident, "statusline"); }));
    EXPECT_FALSE(model.FindAreas.empty());
    EXPECT_FALSE(model.PathAreas.empty());
    EXPECT_FALSE(model.ClipAreas.empty());
    EXPECT_FALSE(model.ImageAreas.empty());
}

TEST_F(SampleDisc, ScreenModelNamesOnlyPresentFiles) {
    TScreenModel model(Program());
    const auto lines = Description("Struct.cfs", true);
    model.ReadHeader(lines);
    model.ReadSections(lines);

    Picture(model.Icon, "icon");
    for (const auto& song : model.BackgroundSongs) File(song, "bgsounddef");
    File(model.HelpWin, "helpwin");
    File(Program() + model.Rolic, "rolic");
    for (const char* fixed : {"status_up.bmp", "status_dn.bmp", "3d_bg.bmp"}) Picture(fixed, "fixed name");
    for (const char* fixed : {"car.avi", "piston.gif"}) File(Program() + fixed, "fixed name");
    for (int s = 0; s < model.ScreenCount(); ++s) {
        const std::string where = "screen " + std::to_string(s + 1);
        Picture(model.ScreenPictures[s], where);
        for (const auto& b : model.ScreenButtons[s]) {
            for (const auto* fn : {&b.fn1, &b.fn2, &b.fn3}) Picture(*fn, where + " button " + b.go);
            Sound(b.wav, where + " button " + b.go);
            Command(b.go, where + " button");
        }
        for (const auto& w : model.ScreenSwitches[s]) {
            for (const auto* fn : {&w.fn1, &w.fn2, &w.fn3, &w.fn4}) Picture(*fn, where + " switch");
            Sound(w.wav, where + " switch");
        }
        for (const auto& g : model.ScreenGroups[s]) {
            for (const auto* fn : {&g.fn1, &g.fn2, &g.fn3, &g.fn4}) Picture(*fn, where + " group " + g.go);
            Sound(g.wav, where + " group " + g.go);
        }
        for (const auto& p : model.ScreenPopups.size() > static_cast<std::size_t>(s) ? model.ScreenPopups[s]
                                                                                     : std::vector<RPopupData>{}) {
            Picture(p.fnfon, where + " popup");
            for (const auto* list : {&p.fnbtnup, &p.fnbtnmove, &p.fnbtndown})
                for (const auto& fn : *list) Picture(fn, where + " popup item");
            for (const auto& go : p.go) Command(go, where + " popup item");
        }
    }
    for (const auto& a : model.HtmlAreas) File(a.fn, "html area");
    for (const auto& a : model.ImageAreas) {
        const auto host = drives_->ToHostPath(a.dir);
        int pictures = 0;
        if (host && fs::is_directory(*host)) {
            for (const auto& e : fs::directory_iterator(*host)) {
                const std::string ext = LowerAscii(e.path().extension().string());
                pictures += ext == ".bmp" || ext == ".jpg" || ext == ".jpeg";
            }
        }
        if (pictures < 2) missing_.push_back("slide folder " + a.dir + " has fewer than two pictures");
    }
    ExpectNothingMissing();
}

TEST_F(SampleDisc, DialogAboutAndThesaurusDescriptionsNameOnlyPresentFiles) {
    // These readers take keys by plain substring, so every value of a picture key must be a
    // container entry and every sound a file beside the program.
    for (const char* name : {"Dialog.cfs", "About.cfs"}) {
        int pictures = 0;
        for (const auto& line : Description(name, true)) {
            for (const char* key : {"picture=", "fn1=", "fn2=", "fn3=", "fn4="}) {
                const auto pos = line.find(key);
                if (pos == std::string::npos) continue;
                Picture(ReadText(line, pos + std::string_view(key).size()), name);
                pictures += std::string_view(key) == "picture=";
            }
            if (const auto pos = line.find("wav="); pos != std::string::npos) Sound(ReadText(line, pos + 4), name);
        }
        EXPECT_EQ(pictures, std::string(name) == "Dialog.cfs" ? 4 : 1) << name;
    }
    // The about window's shape has all eight corners of its chamfered picture, and links.
    TAboutDescription about(Program());
    about.Read(Description("About.cfs", true));
    EXPECT_EQ(about.Vertex.size(), 8u);
    EXPECT_EQ(std::count_if(about.Texts.begin(), about.Texts.end(), IsAboutLink), 2);

    TScreenModel thesaurus(Program());
    const auto lines = Description("Tesaurus.cfs", true);
    thesaurus.ReadHeader(lines);
    thesaurus.ReadSections(lines);
    ASSERT_EQ(thesaurus.ScreenCount(), 1);
    Picture(thesaurus.ScreenPictures[0], "thesaurus");
    for (const auto& b : thesaurus.ScreenButtons[0]) {
        for (const auto* fn : {&b.fn1, &b.fn2, &b.fn3}) Picture(*fn, "thesaurus button " + b.go);
        Sound(b.wav, "thesaurus button");
    }
    EXPECT_EQ(thesaurus.FindAreas.size(), 1u);
    ASSERT_EQ(thesaurus.HtmlAreas.size(), 1u);
    File(thesaurus.HtmlAreas[0].fn, "thesaurus html area");
    ExpectNothingMissing();
}

TEST_F(SampleDisc, TreesOrderTheSameDocumentsInThreeLevels) {
    std::set<std::string> documents[2];
    TContentsTreeModel trees[2];
    for (int t = 0; t < 2; ++t) {
        const char* name = t == 0 ? "tree1.cfs" : "tree2.cfs";
        trees[t] = TContentsTreeModel::FromLines(Description(name, false));
        int deepest = 0;
        int headings = 0;
        for (const auto& item : trees[t].Items()) {
            deepest = std::max(deepest, item.level);
            if (item.document.empty()) {
                headings += item.level == 0;
                continue;
            }
            const auto hash = item.document.find('#');
            File(Program() + item.document.substr(0, hash), name);
            if (hash != std::string::npos) Anchor(Program() + item.document.substr(0, hash), item.document.substr(hash + 1), name);
            documents[t].insert(item.document);
        }
        EXPECT_EQ(deepest, 2) << name << " is not nested three levels";
        EXPECT_GT(headings, 0) << name << " has no chapter heading without a document";
    }
    EXPECT_GT(documents[0].size(), 30u);
    // tree1 alone starts with the contents page; otherwise both list the same documents.
    documents[0].erase("index.htm");
    EXPECT_EQ(documents[0], documents[1]);

    // Screen commands with a document select that document's item of the first tree.
    TScreenModel model(Program());
    const auto lines = Description("Struct.cfs", true);
    model.ReadHeader(lines);
    model.ReadSections(lines);
    int pending = 0;
    for (const auto& screen : model.ScreenButtons)
        for (const auto& b : screen)
            if (CommandName(b.go).find("screen") != std::string::npos) {
                ++pending;
                EXPECT_GE(trees[0].FindDocument(CommandArgument(b.go, Program())), 0) << b.go;
            }
    EXPECT_GE(pending, 6);
    ExpectNothingMissing();
}

TEST_F(SampleDisc, DocumentLinksReachPresentFiles) {
    std::vector<std::string> pages;
    for (const auto& path : store_->ListFiles())
        if (LowerAscii(path).find(".htm") != std::string::npos) pages.push_back(Program() + path);
    for (const auto& e : fs::recursive_directory_iterator(drives_->DiscRoot())) {
        if (e.is_regular_file() && LowerAscii(e.path().extension().string()).find(".htm") != std::string::npos)
            pages.push_back(drives_->ToWindowsPath(e.path()));
    }
    ASSERT_GE(pages.size(), 40u);

    std::set<std::string> kinds;
    for (const auto& page : pages) {
        const std::string html = Read(page);
        const std::string where = FileName(page);
        std::vector<std::string> links = Attributes(html, "href");
        for (const auto& src : Attributes(html, "src")) links.push_back(src);
        for (const auto& link : links) {
            const std::string low = LowerAscii(link);
            const auto prefixed = [&](const char* prefix) { return low.rfind(prefix, 0) == 0; };
            if (prefixed("http:") || prefixed("mailto:")) {
                kinds.insert(low.substr(0, low.find(':') + 1));
            } else if (prefixed("printhtml:") || prefixed("copy:")) {
                kinds.insert(low.substr(0, low.find(':') + 1));
                File(ResolveLink(page, link.substr(link.find(':') + 1)), where + " " + link);
            } else if (prefixed("copylist:")) {
                kinds.insert("copylist:");
                if (html.find("<select name=\"" + link.substr(9) + "\"") == std::string::npos)
                    missing_.push_back(where + ": no drop-down list named " + link.substr(9));
            } else if (prefixed("rungame:")) {
                kinds.insert("rungame:");
                File(CommandArgument(link.substr(8), Program()), where + " " + link);
            } else if (prefixed("delgame:")) {
                kinds.insert("delgame:");
            } else if (link[0] == '#') {
                kinds.insert("#");
                Anchor(page, link.substr(1), where);
            } else {
                const std::string target = ResolveLink(page, link.substr(0, link.find('#')));
                File(target, where + " " + link);
                if (link.find('#') != std::string::npos) Anchor(target, link.substr(link.find('#') + 1), where);
                const auto dot = target.find_last_of('.');
                if (dot != std::string::npos) kinds.insert(LowerAscii(target.substr(dot)));
            }
        }
        if (html.find("target=\"_blank\"") != std::string::npos) kinds.insert("_blank");
        if (LowerAscii(html).find("<frameset") != std::string::npos) kinds.insert("frameset");
    }
    for (const char* kind : {"http:", "mailto:", "printhtml:", "copy:", "copylist:", "rungame:", "delgame:", "#",
                             ".htm", ".zip", ".rar", ".wav", ".exe", ".txt", ".png", ".jpg", ".gif", ".bmp", "_blank",
                             "frameset"}) {
        EXPECT_TRUE(kinds.count(kind)) << "no document has a link or picture of kind " << kind;
    }
    ExpectNothingMissing();
}

TEST_F(SampleDisc, IndexFilesDescribePresentDocuments) {
    auto lines = [&](const std::string& path) {
        std::vector<std::string> out;
        std::string text = Read(path), line;
        EXPECT_FALSE(text.empty()) << path;
        for (char c : text) {
            if (c == '\r') continue;
            if (c == '\n') {
                out.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
        return out;
    };
    const auto keywords = lines(Program() + "keywords.idx");
    const auto index = lines(Program() + "index.idx");
    const auto files = lines(Program() + "files.idx");
    EXPECT_EQ(keywords.size(), index.size());
    EXPECT_GE(files.size(), 40u);
    EXPECT_TRUE(std::find(keywords.begin(), keywords.end(), W("антифриз")) != keywords.end());
    for (const auto& line : index) {
        std::size_t start = 0;
        while (start <= line.size()) {
            const auto end = std::min(line.find(':', start), line.size());
            const int number = std::atoi(line.substr(start, end - start).c_str());
            if (number < 1 || number > static_cast<int>(files.size()))
                missing_.push_back("index.idx names document " + line.substr(start, end - start));
            start = end + 1;
        }
    }
    for (const auto& line : files) {
        const auto mark = line.find("#:#");
        ASSERT_NE(mark, std::string::npos) << line;
        File(Program() + line.substr(0, mark), "files.idx");
        if (Trim(line.substr(mark + 3)).empty()) missing_.push_back("files.idx: no title for " + line);
    }
    const auto thesaurus = lines(Program() + "tezaurus.idx");
    ASSERT_GE(thesaurus.size(), 2u);
    for (const auto& line : thesaurus) {
        const std::string document = Trim(line.substr(line.find('~') + 1));
        const auto hash = document.find('#');
        File(Program() + document.substr(0, hash), "tezaurus.idx");
        if (hash != std::string::npos) Anchor(Program() + document.substr(0, hash), document.substr(hash + 1), "tezaurus.idx");
    }
    // Thesaurus headwords carry the mark the thesaurus find looks for first.
    EXPECT_NE(Read(Program() + "tezaurus\\t_a.htm").find(W("~ Антифриз")), std::string::npos);
    ExpectNothingMissing();
}

}  // namespace
}  // namespace vitrina
