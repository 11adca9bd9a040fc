// Web thumbnails rendered by the embedded browser (offscreen): a page
// registered through the frame is captured at its own size with its colours,
// and a Flash movie without the page template is registered without them.
#include "app/main_frame.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "shell_fixture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QEventLoop>
#include <QTimer>

namespace {

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
    static bool waitForEnd(CMainFrame *frame)
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
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

