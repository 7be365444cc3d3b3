// A disc is a stranger's content: its pages, opened in the real program, must not reach the
// network, must not read the reader's files, and must not start anything without a click.
#include <QApplication>
#include <QDropEvent>
#include <QHostAddress>
#include <QMimeData>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

#include "app/program.h"
#include "app/program_fixture.h"
#include "app/program_parts.h"
#include "app/test_disc.h"
#include "support/minimal_disc.h"
#include "html/frame_viewer.h"
#include "panes/html_frame.h"
#include "platform/cp1251.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

const char kSecret[] = "HOST-SECRET-5d1c";

// A web server on the loopback that counts every connection made to it and answers each with an
// empty page, so a request that got through settles at once; datagrams to its port count too.
class TCountingServer {
public:
    TCountingServer() {
        server_.listen(QHostAddress::LocalHost);
        datagrams_.bind(QHostAddress::LocalHost, server_.serverPort());
        QObject::connect(&datagrams_, &QUdpSocket::readyRead, [this] {
            while (datagrams_.hasPendingDatagrams()) {
                datagrams_.receiveDatagram();
                ++connections;
            }
        });
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                ++connections;
                QObject::connect(s, &QTcpSocket::readyRead, s, [s] {
                    s->readAll();
                    s->write("HTTP/1.1 200 OK\r\nContent-Length: 0\r\nAccess-Control-Allow-Origin: *\r\n"
                             "Connection: close\r\n\r\n");
                    s->disconnectFromHost();
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    std::string Url(const std::string& scheme = "http") const {
        return scheme + "://127.0.0.1:" + std::to_string(server_.serverPort());
    }
    std::string Port() const { return std::to_string(server_.serverPort()); }
    int connections = 0;

private:
    QTcpServer server_;
    QUdpSocket datagrams_;
};

// A page that asks for everything a page can ask for on the web, and for the host files named,
// then titles itself "settled" once every request has ended one way or another. What reached it
// is left in window.found.
std::string ProbePage(const TCountingServer& server, const std::vector<std::string>& hostPictures,
                      const std::vector<std::string>& hostTexts) {
    const std::string web = server.Url();
    std::string page = "<html><head><title>probe</title>"
                       "<link rel=stylesheet href='" + web + "/style.css'>"
                       "<link rel=prefetch href='" + web + "/prefetch'>"
                       "<link rel=preconnect href='" + web + "'>"
                       "<link rel=dns-prefetch href='" + web + "'>"
                       "<script src='" + web + "/script.js'></script>"
                       "</head><body><p>probe</p>"
                       "<img class=own src='own.bmp'>"
                       "<img class=web src='" + web + "/picture.png'>"
                       "<iframe src='" + web + "/frame.htm'></iframe>";
    for (const std::string& picture : hostPictures) page += "<img class=host src='" + picture + "'>";
    for (const std::string& text : hostTexts) page += "<iframe class=host src='" + text + "'></iframe>";
    page += "<script>window.found = '';"
            "const asked = [];"
            "asked.push(fetch('" + web + "/fetch').then(r => r.text()).catch(() => {}));"
            "asked.push(new Promise(done => { const x = new XMLHttpRequest(); x.onloadend = done;"
            "  x.open('GET', '" + web + "/xhr'); x.send(); }));"
            "asked.push(new Promise(done => { try { const w = new WebSocket('" + server.Url("ws") + "/socket');"
            "  w.onclose = done; w.onerror = done; } catch (e) { done(); } }));"
            // A peer connection gathers its candidates through a relay of the page's choosing.
            "asked.push(new Promise(done => { try {"
            "  const c = new RTCPeerConnection({iceServers: [{urls: 'turn:127.0.0.1:" + server.Port() + "?transport=tcp',"
            "    username: 'u', credential: 'c'}, {urls: 'stun:127.0.0.1:" + server.Port() + "'}]});"
            // Its first candidate comes when the relay and STUN requests have gone out.
            "  c.onicecandidate = done;"
            "  c.createDataChannel('d'); c.createOffer().then(o => c.setLocalDescription(o)).catch(done);"
            "} catch (e) { done(); } }));";
    for (const std::string& text : hostTexts)
        page += "asked.push(fetch('" + text + "').then(r => r.text()).then(t => { window.found += t; }).catch(() => {}));";
    page += "asked.push(new Promise(done => window.addEventListener('load', done)));"
            "Promise.all(asked).then(() => {"
            "  for (const f of document.querySelectorAll('iframe.host'))"
            "    try { window.found += f.contentDocument.documentElement.textContent; } catch (e) {}"
            "  document.title = 'settled'; });"
            "</script></body></html>";
    return page;
}

const std::string kStruct = test::MinimalDescription("probe") + "_html 1\nvx=0 vy=0 vw=600 vh=400 fn=start.htm; number=20\n";

// The test disc with its first page, host files beside it, and a link from the disc to them.
struct TProbeDisc {
    test::TTestDisc disc{kStruct, test::MinimalPictures(600, 400)};
    fs::path host = disc.folder.Path() / "host";

    explicit TProbeDisc(const std::function<std::string(const TProbeDisc&)>& start) {
        disc.folder.Write("disc/own.bmp", test::Bmp(7, 7, Qt::green));
        disc.folder.Write("disc/pics/p.bmp", test::Bmp(9, 9, Qt::blue));
        disc.folder.Write("disc/tool.exe", "MZ");
        disc.folder.Write("host/secret.txt", kSecret);
        disc.folder.Write("host/secret.bmp", test::Bmp(11, 11, Qt::red));
        disc.folder.Write("host/docs/own.bmp", test::Bmp(7, 7, Qt::green));
        // A file of the reader's in the program's tree, beside the program's own folders.
        fs::create_directories(disc.Folders().data);
        std::ofstream(disc.Folders().data / "private.bmp", std::ios::binary) << test::Bmp(13, 13, Qt::red);
        fs::create_directory_symlink(host, disc.disc / "leak");
        disc.folder.Write("disc/start.htm", start(*this));
    }
    std::string HostUrl(const std::string& name, const char* scheme) const {
        const std::string path = (host / name).string();
        return std::string(scheme) == "file" ? "file://" + path : "vitrina://z" + path;
    }
};

QJsonObject PageFindings(TFrameViewer* viewer) {
    QVariant result;
    bool done = false;
    viewer->page()->runJavaScript(
        "JSON.stringify({found: window.found || '', html: document.documentElement.outerHTML,"
        " own: [...document.querySelectorAll('img.own')].map(i => i.naturalWidth),"
        " web: [...document.querySelectorAll('img.web')].map(i => i.naturalWidth),"
        " host: [...document.querySelectorAll('img.host')].map(i => i.naturalWidth)})",
        [&](const QVariant& r) { result = r, done = true; });
    if (!QTest::qWaitFor([&] { return done; }, 5000)) return {};
    return QJsonDocument::fromJson(result.toString().toUtf8()).object();
}

// What the page got: nothing from the network, no host file, its own picture.
void ExpectConfined(const QJsonObject& findings, const TCountingServer& server) {
    EXPECT_EQ(server.connections, 0) << "requests reached the web server";
    EXPECT_FALSE(findings.value("found").toString().contains(kSecret)) << "a host file was read";
    EXPECT_FALSE(findings.value("html").toString().contains(kSecret));
    for (const QJsonValue& width : findings.value("host").toArray()) EXPECT_EQ(width.toInt(), 0) << "a host picture showed";
    for (const QJsonValue& width : findings.value("web").toArray()) EXPECT_EQ(width.toInt(), 0);
    ASSERT_EQ(findings.value("own").toArray().size(), 1);
    EXPECT_EQ(findings.value("own").toArray()[0].toInt(), 7) << "the page's own picture must still load";
}

bool WaitSettled(TFrameViewer* viewer) {
    if (!QTest::qWaitFor([&] { return viewer->page()->title() == "settled"; }, 20000)) return false;
    QTest::qWait(500);  // time for a datagram or connection that got out to arrive
    return true;
}

TEST(DiscConfinement, ADiscPageReachesNeitherTheNetworkNorHostFiles) {
    TCountingServer server;
    TProbeDisc probe([&](const TProbeDisc& p) {
        return ProbePage(server,
                         {p.HostUrl("secret.bmp", "file"), p.HostUrl("secret.bmp", "z"), "leak/secret.bmp",
                          "vitrina://c/private.bmp"},
                         {p.HostUrl("secret.txt", "file"), p.HostUrl("secret.txt", "z"), "leak/secret.txt",
                          "file:///etc/hostname"});
    });
    TDriveMap drives(probe.disc.disc, probe.disc.Folders().data);
    TClickSound sounds;
    test::TRecordingDesktop desktop(drives, sounds);
    TStartOptions options;
    options.animations = false;
    TProgram vitrina(drives, probe.disc.Folders(), desktop, options);
    vitrina.Start();
    ASSERT_EQ(vitrina.Creation(), TProgram::TCreation::Normal);
    vitrina.Window().ShowMainWindow();
    TFrameViewer* viewer = test::ActiveFrameViewer(vitrina.Parts());
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(WaitSettled(viewer));
    ExpectConfined(PageFindings(viewer), server);
}

TEST(DiscConfinement, AHostPageInTheDocumentModeReadsOnlyItsOwnFolder) {
    TCountingServer server;
    TProbeDisc probe([](const TProbeDisc&) { return std::string("<p>disc"); });
    // The reader hands in host/docs/page.htm; the secrets lie one folder up and elsewhere.
    probe.disc.folder.Write("host/docs/page.htm",
                            ProbePage(server,
                                      {"../secret.bmp", probe.HostUrl("secret.bmp", "file"),
                                       probe.HostUrl("secret.bmp", "z"), "vitrina://c/private.bmp"},
                                      {"../secret.txt", probe.HostUrl("secret.txt", "z"),
                                       probe.HostUrl("secret.txt", "file"), "vitrina://z/etc/hostname"}));
    TDriveMap drives(probe.disc.disc, probe.disc.Folders().data);
    TClickSound sounds;
    test::TRecordingDesktop desktop(drives, sounds);
    TStartOptions options;
    // As the command line hands it over: a host path named on z:.
    options.arguments = {drives.ToWindowsPath(probe.host / "docs/page.htm")};
    TProgram vitrina(drives, probe.disc.Folders(), desktop, options);
    vitrina.Start();
    ASSERT_EQ(vitrina.Creation(), TProgram::TCreation::DocumentMode);
    vitrina.Parts().SetUpDocumentMode(vitrina.Window(), options.arguments);
    TFrameViewer* viewer = test::ActiveFrameViewer(vitrina.Parts());
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(WaitSettled(viewer));
    ExpectConfined(PageFindings(viewer), server);
}

// A host page the reader drops on the window shows with the pictures of its folder, and still
// without the files around that folder.
TEST(DiscConfinement, ADroppedHostPageShowsWithItsOwnFolderOnly) {
    TProbeDisc probe([](const TProbeDisc&) { return std::string("<p>disc"); });
    probe.disc.folder.Write("host/docs/dropped.htm",
                            "<html><body><img class=own src='own.bmp'><img class=host src='../secret.bmp'>"
                            "<script>window.addEventListener('load', () => { document.title = 'settled'; });"
                            "</script></body></html>");
    TDriveMap drives(probe.disc.disc, probe.disc.Folders().data);
    TClickSound sounds;
    test::TRecordingDesktop desktop(drives, sounds);
    TStartOptions options;
    options.animations = false;
    TProgram vitrina(drives, probe.disc.Folders(), desktop, options);
    vitrina.Start();
    ASSERT_EQ(vitrina.Creation(), TProgram::TCreation::Normal);
    vitrina.Window().ShowMainWindow();
    QTest::qWaitForWindowExposed(&vitrina.Window());
    TFrameViewer* viewer = test::ActiveFrameViewer(vitrina.Parts());
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->Loading() && !viewer->CurrentFile().empty(); }, 10000));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString((probe.host / "docs/dropped.htm").string()))});
    // The drop goes to the window that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&vitrina.Window(), &enter);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&vitrina.Window(), &drop);
    ASSERT_TRUE(WaitSettled(viewer));
    const QJsonObject findings = PageFindings(viewer);
    EXPECT_EQ(findings.value("own").toArray().at(0).toInt(), 7) << "the dropped page's own picture";
    EXPECT_EQ(findings.value("host").toArray().at(0).toInt(), 0) << "a picture beside its folder";
}

// Windows, copies and programs come from the reader's clicks only: a timer's window.open, script
// clicks and script navigation start nothing, and one click starts one copy even when its page
// asks for two.
TEST(DiscConfinement, OnlyTheReadersClickStartsAPictureWindowAndOnlyOne) {
    TProbeDisc probe([](const TProbeDisc&) {
        return std::string(
            "<html><body><a id=pic href='pics/p.bmp' target=_blank onclick='window.open(this.href)'"
            " style='display:block;width:300px;height:40px'>picture</a><script>"
            "setTimeout(() => { window.open('pics/p.bmp'); window.open('own.bmp');"
            "  const a = document.createElement('a'); a.href = 'own.bmp'; a.target = '_blank';"
            "  document.body.appendChild(a); a.click(); location.href = 'tool.exe';"
            "  setTimeout(() => { document.title = 'settled'; }, 0); }, 0);"
            "</script></body></html>");
    });
    TDriveMap drives(probe.disc.disc, probe.disc.Folders().data);
    TClickSound sounds;
    test::TRecordingDesktop desktop(drives, sounds);
    TStartOptions options;
    options.animations = false;
    TProgram vitrina(drives, probe.disc.Folders(), desktop, options);
    std::vector<std::string> started;
    vitrina.Start();
    ASSERT_EQ(vitrina.Creation(), TProgram::TCreation::Normal);
    vitrina.Parts().StartPictureCopy = [&](const std::string& file) { started.push_back(file); };
    vitrina.Window().ShowMainWindow();
    QTest::qWaitForWindowExposed(&vitrina.Window());
    TFrameViewer* viewer = test::ActiveFrameViewer(vitrina.Parts());
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(WaitSettled(viewer));
    // The link's place, then a real click on it.
    QVariantList box;
    bool done = false;
    viewer->page()->runJavaScript(
        "(function(){const b=document.getElementById('pic').getBoundingClientRect();"
        "return [b.left+b.width/2,b.top+b.height/2];})()",
        [&](const QVariant& r) { box = r.toList(), done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    ASSERT_EQ(box.size(), 2);
    const QPoint at(box[0].toInt(), box[1].toInt());
    QTest::mouseMove(viewer->focusProxy(), at);
    QTest::qWait(50);
    QTest::mouseClick(viewer->focusProxy(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !started.empty(); }, 5000));
    // A second start of the same click would come right behind the first.
    QTest::qWait(300);
    EXPECT_EQ(started, std::vector<std::string>{"d:\\pics\\p.bmp"});
    EXPECT_EQ(desktop.calls, std::vector<std::string>{});
}

}  // namespace
}  // namespace vitrina
