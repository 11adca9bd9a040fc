// Web thumbnails rendered by the embedded browser (offscreen): a page
// registered through the frame is captured at its own size with its colours,
// a page is muted while it is captured, Flash movies written here byte by
// byte are played by the Flash runtime and captured as frames, and a Flash
// movie without the page template is registered without them.
#include "widgets/flash_runtime.h"
#include "app/main_frame.h"
#include "core/content_id.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "ops/web_thumbnail.h"
#include "control_lookup.h"
#include "shell_fixture.h"
#include "ui/contents/url_thumb_view_dlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QEventLoop>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtEndian>

#include <functional>
#include <memory>

namespace {

// A movie of 200 x 150 pixels at 24 frames a second, written tag by tag.
class SwfWriter {
public:
    void bits(quint32 value, int count)
    {
        for (int i = count - 1; i >= 0; --i)
            m_bits.append(((value >> i) & 1) != 0);
    }
    // A rectangle in twips (20 to the pixel), 14 bits a side.
    void rect(int xMin, int xMax, int yMin, int yMax)
    {
        bits(14, 5);
        for (int value : {xMin, xMax, yMin, yMax})
            bits(quint32(value) & 0x3fff, 14);
    }
    QByteArray takeBytes()
    {
        while (m_bits.size() % 8)
            m_bits.append(false);
        QByteArray bytes;
        for (qsizetype i = 0; i < m_bits.size(); i += 8) {
            char byte = 0;
            for (int b = 0; b < 8; ++b)
                byte = char((byte << 1) | (m_bits[i + b] ? 1 : 0));
            bytes.append(byte);
        }
        m_bits.clear();
        return bytes;
    }
    // A tag with a short header (bodies under 63 bytes).
    void tag(int code, const QByteArray &body) { m_tags += le16((code << 6) | body.size()) + body; }
    QByteArray movie()
    {
        rect(0, 4000, 0, 3000);
        const QByteArray body = takeBytes() + le16(24 << 8) + le16(1) + m_tags + le16(0);
        QByteArray length(4, '\0');
        qToLittleEndian<quint32>(quint32(8 + body.size()), length.data());
        return QByteArray("FWS\x08", 4) + length + body;
    }
    static QByteArray le16(int value)
    {
        const char bytes[] = {char(value & 0xff), char((value >> 8) & 0xff)};
        return QByteArray(bytes, 2);
    }
    static QByteArray rgb(QColor color)
    {
        const char bytes[] = {char(color.red()), char(color.green()), char(color.blue())};
        return QByteArray(bytes, 3);
    }

private:
    QList<bool> m_bits;
    QByteArray m_tags;
};

constexpr int kSetBackgroundColor = 9;
constexpr int kShowFrame = 1;
constexpr int kDefineShape = 2;
constexpr int kPlaceObject2 = 26;

// One straight edge of a shape, horizontal or vertical, 14-bit delta.
void Edge(SwfWriter &swf, int dx, int dy)
{
    swf.bits(0b11, 2);        // edge record, straight
    swf.bits(12, 4);          // 12 + 2 bits a delta
    swf.bits(0, 1);           // not a general line
    swf.bits(dx ? 0 : 1, 1);  // vertical?
    swf.bits(quint32(dx ? dx : dy) & 0x3fff, 14);
}

// A shape filled with colour: the rectangle from (x, y) of w x h twips.
QByteArray FilledRectangle(SwfWriter &swf, int id, QColor color, int x, int y, int w, int h)
{
    swf.rect(x, x + w, y, y + h);
    QByteArray body = SwfWriter::le16(id) + swf.takeBytes();
    body += char(1);         // one fill style
    body += char(0);         // solid
    body += SwfWriter::rgb(color);
    body += char(0);         // no line styles
    body += char(0x10);      // 1 fill bit, 0 line bits
    swf.bits(0b000101, 6);   // style change: fill style 1, move to
    swf.bits(14, 5);
    swf.bits(quint32(x), 14);
    swf.bits(quint32(y), 14);
    swf.bits(1, 1);
    Edge(swf, w, 0);
    Edge(swf, 0, h);
    Edge(swf, -w, 0);
    Edge(swf, 0, -h);
    swf.bits(0, 6);          // end of shape
    return body + swf.takeBytes();
}

// A red rectangle on white, in the middle half of the movie.
QByteArray RedRectangleMovie()
{
    SwfWriter shape;
    shape.tag(kSetBackgroundColor, SwfWriter::rgb(Qt::white));
    shape.tag(kDefineShape, FilledRectangle(shape, 1, Qt::red, 1000, 750, 2000, 1500));
    shape.tag(kPlaceObject2, QByteArray(1, char(0x02)) + SwfWriter::le16(1) + SwfWriter::le16(1));
    shape.tag(kShowFrame, {});
    return shape.movie();
}

class WebThumbnail : public ShellTest {
protected:
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_home.filePath("media/" + name);
        QDir().mkpath(m_home.filePath("media"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Waits in a running event loop: the browser draws its frames only
    // there, not between the bare event processing of a polling wait.
    static bool waitForEnd(CMainFrame *frame, const std::function<void()> &eachPoll = {})
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (eachPoll)
                eachPoll();
            if (!frame->GetRegContDlg() && frame->isEnabled())
                loop.quit();
        });
        QTimer::singleShot(60000, &loop, [&] { loop.exit(1); });
        poll.start(10);
        return loop.exec() == 0;
    }
    static bool near(QRgb pixel, QColor color)
    {
        return qAbs(qRed(pixel) - color.red()) < 40 && qAbs(qGreen(pixel) - color.green()) < 40
            && qAbs(qBlue(pixel) - color.blue()) < 40;
    }
    // The large thumbnail of the only content of the type.
    static QImage largeThumbnail(int type)
    {
        CContentsList *list = GetContentFolders().GetList(type);
        QString path;
        if (list->GetCount() != 1
            || !MakeThumbnailPath(ThumbnailFolder(GetAppData().GetDataRoot(), type), list->GetAt(0)->GetIndex(), false,
                                  path))
            return {};
        return QImage(path);
    }
};

// The Flash tests use the template and the runtime that lie beside the
// program; set-up fetches the runtime, so it is missing only on a machine
// where the fetch failed.
class FlashThumbnail : public WebThumbnail {
protected:
    void SetUp() override
    {
        WebThumbnail::SetUp();
        SetFlashResourceFolder(QFileInfo(QStringLiteral(TELV_Q9_BINARY)).absolutePath());
        m_missing = FlashRuntimeMissingReason();
    }
    void TearDown() override
    {
        SetFlashResourceFolder({});
        WebThumbnail::TearDown();
    }
    QImage registerMovie(const QByteArray &movie)
    {
        writeIni("Q9S.ini", "ExOption", "FlashThumbDelay", "300");
        CMainFrame *frame = startFrame();
        if (!frame)
            return {};
        frame->StartAddContentsFiles({writeFile("movie #1 50%.swf", movie)});
        if (!waitForEnd(frame))
            return {};
        return largeThumbnail(5);
    }
    QString m_missing;
};

} // namespace

TEST_F(WebThumbnail, APageOfFourQuadrantsKeepsItsSizeAndColours)
{
    writeIni("Q9S.ini", "ExOption", "UrlThumbDelay", "300");
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    const QString page = writeFile("quad.html", R"(<html><body>
<div style="width:400px;height:200px;font-size:0">
<div style="display:inline-block;width:200px;height:100px;background:#ff0000"></div><div
 style="display:inline-block;width:200px;height:100px;background:#00ff00"></div><div
 style="display:inline-block;width:200px;height:100px;background:#0000ff"></div><div
 style="display:inline-block;width:200px;height:100px;background:#ffff00"></div>
</div></body></html>)");
    frame->StartAddContentsFiles({page}, 4);
    ASSERT_TRUE(waitForEnd(frame));
    CContentsList *list = GetContentFolders().GetList(4);
    ASSERT_EQ(list->GetCount(), 1);
    const qint32 number = list->GetAt(0)->GetIndex();
    const QString folder = ThumbnailFolder(GetAppData().GetDataRoot(), 4);
    QString largePath;
    QString smallPath;
    ASSERT_TRUE(MakeThumbnailPath(folder, number, false, largePath));
    ASSERT_TRUE(MakeThumbnailPath(folder, number, true, smallPath));
    const QImage large(largePath);
    ASSERT_EQ(large.size(), QSize(400, 200));
    EXPECT_TRUE(near(large.pixel(100, 50), Qt::red));
    EXPECT_TRUE(near(large.pixel(300, 50), Qt::green));
    EXPECT_TRUE(near(large.pixel(100, 150), Qt::blue));
    EXPECT_TRUE(near(large.pixel(300, 150), Qt::yellow));
    const QImage small(smallPath);
    EXPECT_EQ(small.size(), QSize(94, 47));
    EXPECT_TRUE(near(small.pixel(70, 35), Qt::yellow));
}

TEST_F(WebThumbnail, APagePlayingSoundIsMutedWhileCapturedAndUnmutedAfter)
{
    writeIni("Q9S.ini", "ExOption", "UrlThumbDelay", "300");
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    // One second of a loud square wave, 8 kHz, 8-bit mono, played in a loop.
    QByteArray samples;
    for (int i = 0; i < 8000; ++i)
        samples.append(char((i / 10) % 2 ? 0xf0 : 0x10));
    QByteArray wav = "RIFF" + SwfWriter::le16(36 + samples.size()) + SwfWriter::le16(0) + "WAVEfmt "
        + SwfWriter::le16(16) + SwfWriter::le16(0) + SwfWriter::le16(1) + SwfWriter::le16(1)
        + SwfWriter::le16(8000) + SwfWriter::le16(0) + SwfWriter::le16(8000) + SwfWriter::le16(0)
        + SwfWriter::le16(1) + SwfWriter::le16(8) + "data" + SwfWriter::le16(samples.size()) + SwfWriter::le16(0)
        + samples;
    writeFile("tone.wav", wav);
    const QString page = writeFile("sound.html", R"(<html><body style="background:#00ff00">
<div style="width:300px;height:200px"></div><audio src="tone.wav" autoplay loop></audio></body></html>)");

    QWebEnginePage *seen = nullptr;
    QList<bool> mutedWhileOpen;
    QList<bool> changes;
    frame->StartAddContentsFiles({page}, 4);
    ASSERT_TRUE(waitForEnd(frame, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *browser = window->objectName() == "2061" && window->isVisible()
                ? window->findChild<QWebEngineView *>("6532")
                : nullptr;
            if (!browser)
                continue;
            if (!seen) {
                seen = browser->page();
                QObject::connect(seen, &QWebEnginePage::audioMutedChanged, seen, [&](bool muted) { changes.append(muted); });
            }
            mutedWhileOpen.append(browser->page()->isAudioMuted());
        }
    }));
    ASSERT_NE(seen, nullptr);
    EXPECT_FALSE(mutedWhileOpen.isEmpty());
    EXPECT_FALSE(mutedWhileOpen.contains(false));
    EXPECT_EQ(changes, QList<bool>{false});
    EXPECT_TRUE(near(largeThumbnail(4).pixel(10, 10), Qt::green));
}

TEST_F(FlashThumbnail, AMovieIsCapturedAsTheFramesItsRuntimePlays)
{
    if (!m_missing.isEmpty())
        GTEST_SKIP() << qPrintable(m_missing) << " (scripts/fetch_flash_runtime.sh fetches it)";
    SwfWriter background;
    background.tag(kSetBackgroundColor, SwfWriter::rgb(QColor(0x20, 0x80, 0xc0)));
    background.tag(kShowFrame, {});
    const QImage filled = registerMovie(background.movie());
    ASSERT_EQ(filled.size(), QSize(200, 150));
    EXPECT_TRUE(near(filled.pixel(100, 75), QColor(0x20, 0x80, 0xc0)));
    EXPECT_TRUE(near(filled.pixel(3, 3), QColor(0x20, 0x80, 0xc0)));
}

TEST_F(FlashThumbnail, AShapeOfTheMovieIsDrawnWhereItLies)
{
    if (!m_missing.isEmpty())
        GTEST_SKIP() << qPrintable(m_missing) << " (scripts/fetch_flash_runtime.sh fetches it)";
    const QImage frame = registerMovie(RedRectangleMovie());
    ASSERT_EQ(frame.size(), QSize(200, 150));
    EXPECT_TRUE(near(frame.pixel(100, 75), Qt::red));
    EXPECT_TRUE(near(frame.pixel(3, 3), Qt::white));
    EXPECT_TRUE(near(frame.pixel(196, 146), Qt::white));
}

// A page registered where it lies is no key to the operator's files: kept
// beside the data folder, in the home folder, directly in a folder the
// user's programs share (downloads), in a type folder of the contents or in
// another content's folder, it is shown alone, so neither it nor its workers
// and frames read a file beside it, of the data folder or a hidden file, and
// the operator is told; a page in its own content's folder still reads its
// sub-folders. Each page paints itself green when
// it read what it should (nothing, or its own file by all but fetch(), which
// this engine refuses for the program's schemes without the Flash loader),
// red when not, blue while reads are pending.
TEST_F(WebThumbnail, PagesOutsideAFolderOfTheirOwnAreShownAloneAndTheOperatorIsTold)
{
    writeIni("Q9S.ini", "ExOption", "UrlThumbDelay", "1000");
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    };
    const QString probe = R"(<html><body style="margin:0"><div id="mark" style="width:200px;height:100px;background:#0000ff"></div>
<script>
var stolen = '', pending = 0, wanted = WANTED;
function seen(text) { stolen += text || ''; }
function finish() { if (--pending == 0) document.getElementById('mark').style.background = wanted.test(stolen) ? '#00ff00' : '#ff0000'; }
function read(url) {
  try { var r = new XMLHttpRequest(); r.open('GET', url, false); r.send(); return r.status == 200 ? r.responseText : ''; }
  catch (e) { return ''; }
}
NAMES.forEach(function (name) {
  var url = new URL(name, location.href).href;
  pending += 4;
  seen(read(url)); finish();
  try { fetch(url).then(function (r) { return r.ok ? r.text() : ''; }).then(seen, function () {}).then(finish); } catch (e) { finish(); }
  var worker = new Worker(URL.createObjectURL(new Blob([read + '\npostMessage(read(' + JSON.stringify(url) + '));'])));
  worker.onmessage = function (e) { seen(e.data); finish(); };
  worker.onerror = finish;
  var frame = document.createElement('iframe');
  frame.onload = function () { try { seen(frame.contentDocument.body.textContent); } catch (e) {} finish(); };
  frame.src = url;
  document.body.appendChild(frame);
});
</script></body></html>)";
    const auto page = [&](const QString &path, const QString &names, const QString &wanted) {
        return write(path, QString(probe).replace("NAMES", names).replace("WANTED", wanted).toUtf8());
    };
    const QString home = m_home.path();
    write(home + "/.hidden.txt", "hidden");
    write(baseFolder() + "/.hidden/inner.txt", "hidden");
    write(home + "/.config/user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"$HOME/Descargas\"\n");
    const QString webFolder = GetContentFolders().GetContentFolder(4);
    // The first page registered takes the next number, whose folder it lies in.
    int counter = 0;
    const QString ownFolder = webFolder + "/" + FormatContentId(GetContentFolders().GetNewCode(4, counter));
    write(ownFolder + "/parts/part.txt", "own");
    const QString inOwnFolder = page(ownFolder + "/index.html", R"(["parts/part.txt"])", "/^(own){3,4}$/");
    const QString besideData = page(baseFolder() + "/beside.html",
                                    R"(["TelvData/Q9Data/Q9S.ini", "TelvData/Q9Data/Y5.ini", ".hidden/inner.txt"])", "/^$/");
    const QString inHome = page(home + "/home.html",
                                R"(["Documents/TelvData/Q9Data/Q9S.ini", ".hidden.txt", "Documents/.hidden/inner.txt"])",
                                "/^$/");
    write(home + "/Descargas/bank.txt", "download");
    const QString inDownloads = page(home + "/Descargas/page.html", R"(["bank.txt"])", "/^$/");
    write(GetContentFolders().GetContentFolder(1) + "/clip.txt", "movie");
    const QString inTypeFolder = page(GetContentFolders().GetContentFolder(1) + "/page.html", R"(["clip.txt"])", "/^$/");
    write(webFolder + "/000000077/sub/part.txt", "other");
    const QString inOtherContent = page(webFolder + "/000000077/sub/page.html", R"(["part.txt"])", "/^$/");
    m_prompter.expect(5438, IDOK);
    frame->StartAddContentsFiles({inOwnFolder, besideData, inHome, inDownloads, inTypeFolder, inOtherContent}, 4);
    ASSERT_TRUE(waitForEnd(frame));
    EXPECT_EQ(m_prompter.last().arguments.join('|').toStdString(),
              QStringList({besideData, inHome, inDownloads, inTypeFolder, inOtherContent}).join("\n").toStdString());
    CContentsList *list = GetContentFolders().GetList(4);
    ASSERT_EQ(list->GetCount(), 6);
    EXPECT_EQ(static_cast<const CWebProperty *>(list->GetAt(0))->GetUrl(), inOwnFolder);
    for (int i = 0; i < list->GetCount(); ++i) {
        const auto *web = static_cast<const CWebProperty *>(list->GetAt(i));
        QString path;
        ASSERT_TRUE(MakeThumbnailPath(ThumbnailFolder(GetAppData().GetDataRoot(), 4), web->GetIndex(), false, path));
        EXPECT_TRUE(near(QImage(path).pixel(100, 50), Qt::green)) << web->GetUrl().toStdString();
    }
}

TEST_F(WebThumbnail, FlashWithoutTheRuntimeIsCapturedAsThePageAndTheLogSaysWhy)
{
    // The page template is there, the runtime is not.
    const QString resources = m_home.filePath("resources");
    QDir().mkpath(resources);
    ASSERT_TRUE(QFile::copy(QFileInfo(QStringLiteral(TELV_Q9_BINARY)).absolutePath() + "/BaseFlash.htm",
                            resources + "/BaseFlash.htm"));
    SetFlashResourceFolder(resources);
    writeIni("Q9S.ini", "ExOption", "FlashThumbDelay", "100");
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    frame->StartAddContentsFiles({writeFile("movie.swf", RedRectangleMovie())});
    const bool ended = waitForEnd(frame);
    SetFlashResourceFolder({});
    ASSERT_TRUE(ended);
    EXPECT_TRUE(LogText(baseFolder()).contains("Flash runtime not installed : " + resources + "/flash-runtime/ruffle.js"));
    const QImage page = largeThumbnail(5);
    ASSERT_EQ(page.size(), QSize(200, 150));
    EXPECT_FALSE(near(page.pixel(100, 75), Qt::red));
}

TEST_F(WebThumbnail, FlashWithoutItsPageTemplateIsRegisteredWithoutThumbnails)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    const QString movie = writeFile("banner.swf", QByteArray("\x46\x57\x53\x09\x19\x00\x00\x00\x78\x00\x06\x40\x00"
                                                            "\x00\x0e\x10\x00\x00\x18\xf0\x00\x40\x00\x00\x00",
                                                            25));
    frame->StartAddContentsFiles({movie});
    ASSERT_TRUE(waitForEnd(frame));
    ASSERT_EQ(GetContentFolders().GetList(5)->GetCount(), 1);
    EXPECT_TRUE(LogText(baseFolder()).contains("Cannot find BaseFile = BaseFlash.htm."));
    EXPECT_TRUE(QDir(ThumbnailFolder(GetAppData().GetDataRoot(), 5)).isEmpty());
}


TEST_F(FlashThumbnail, APageWithAMovieIsFramedInTheRangeDialogAsPlayed)
{
    if (!m_missing.isEmpty())
        GTEST_SKIP() << qPrintable(m_missing) << " (scripts/fetch_flash_runtime.sh fetches it)";
    ASSERT_TRUE(startUp());
    writeFile("movie.swf", RedRectangleMovie());
    const QString page = writeFile("flash.html", R"(<html><body style="margin:0">
<embed src="movie.swf" type="application/x-shockwave-flash" width="200" height="150"></body></html>)");
    CWebProperty record;
    QImage small;
    QImage large;
    CUrlThumbViewDlg dialog(record, page, &small, &large);
    dialog.setAttribute(Qt::WA_DontShowOnScreen);
    dialog.show();
    // The operator frames the page once the movie shows.
    auto *view = control<QWebEngineView>(&dialog, 6532);
    auto *width = control<QLineEdit>(&dialog, CUrlThumbViewDlg::IDC_WIDTH);
    auto *height = control<QLineEdit>(&dialog, CUrlThumbViewDlg::IDC_HEIGHT);
    ASSERT_TRUE(view && width && height);
    // Shared: an answer still pending when the dialog closes arrives after this test's locals are gone.
    const auto ready = std::make_shared<bool>(false);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dialog, [view, ready] {
        view->page()->runJavaScript("window.telvFlashReady && window.telvFlashReady()",
                                    [ready](const QVariant &answer) { *ready = *ready || answer.toBool(); });
    });
    poll.start(100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return *ready; }, 30000)) << "the movie never reported it was ready";
    poll.stop();
    // Ready is reported before the first frame is painted.
    EXPECT_TRUE(QTest::qWaitFor([view] { return near(view->grab().toImage().pixel(100, 75), Qt::red); }, 30000));
    width->setText("200");
    height->setText("150");
    dialog.OnSetThumbnail();
    ASSERT_EQ(large.size(), QSize(200, 150));
    EXPECT_TRUE(near(large.pixel(100, 75), Qt::red));
    EXPECT_TRUE(near(large.pixel(3, 3), Qt::white));
}
