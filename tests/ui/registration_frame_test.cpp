// Registration through the main frame: dropped files, the progress window,
// the end messages of registration and replacement.
#include "app/main_frame.h"
#include "widgets/reg_cont_dlg.h"
#include "cab/dlkx_cab.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/string_table.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "shell_fixture.h"
#include "support/fake_clock.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QUrl>

namespace {

class RegistrationFrame : public ShellTest {
protected:
    QString picture(const QString &name, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = m_home.filePath("media/" + name);
        QDir().mkpath(m_home.filePath("media"));
        EXPECT_TRUE(image.save(path));
        return path;
    }
    // A sound of the given seconds: 8 kHz, 8-bit mono PCM.
    QString wave(const QString &name, int seconds)
    {
        const auto le = [](quint32 value, int bytes) {
            QByteArray out;
            for (int i = 0; i < bytes; ++i)
                out.append(char((value >> (8 * i)) & 0xff));
            return out;
        };
        const QByteArray samples(8000 * seconds, char(0x80));
        const QByteArray bytes = "RIFF" + le(36 + samples.size(), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2)
            + le(8000, 4) + le(8000, 4) + le(1, 2) + le(8, 2) + "data" + le(samples.size(), 4) + samples;
        const QString path = m_home.filePath("media/" + name);
        QDir().mkpath(m_home.filePath("media"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }
    // Waits until the running registration or replacement has ended.
    static bool waitForEnd(CMainFrame *frame)
    {
        return QTest::qWaitFor([frame] { return !frame->GetRegContDlg() && frame->isEnabled(); }, 20000);
    }
    ScopedFakeClock m_clock;
};

} // namespace

TEST_F(RegistrationFrame, ADropWithOneUnknownFileRegistersNothing)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    QStringList files;
    for (int i = 0; i < 4; ++i)
        files << picture(QString("%1.jpg").arg(i), {32, 32});
    files.insert(2, m_home.filePath("media/notes.txt"));
    m_prompter.answer(IDOK);
    frame->OnDropFiles(files);
    ASSERT_EQ(m_prompter.prompts().size(), 1);
    EXPECT_TRUE(m_prompter.last().text.startsWith(LoadString(5357)));
    EXPECT_TRUE(m_prompter.last().text.contains(m_home.filePath("media/notes.txt")));
    EXPECT_EQ(frame->GetRegContDlg(), nullptr);
    EXPECT_EQ(GetContentFolders().GetList(2)->GetCount(), 0);

    // A web page whose name the player cannot store is refused by its own message.
    m_prompter.expect(5358, IDOK);
    frame->OnDropFiles({m_home.filePath("media/ページ.html")});

    // A page dropped while local pages are off (as they are at first) is
    // refused by the option that keeps them off, named.
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(m_home.filePath("media/page.html"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    m_prompter.answer(IDOK);
    QApplication::sendEvent(frame, &drop);
    EXPECT_EQ(m_prompter.last().text, "[オプション設定] の「ローカルファイルのWebページを使用する」がオフのため、"
                                      "Webページのファイルは登録できません。\n登録するには、[オプション設定] で"
                                      "この項目をオンにしてください。\n" + m_home.filePath("media/page.html"));
    EXPECT_EQ(frame->GetRegContDlg(), nullptr);
}

TEST_F(RegistrationFrame, ABatchShowsItsProgressAndNamesTheFileItStoppedAt)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    const QString good = picture("good.jpg", {64, 48});
    const QString empty = m_home.filePath("media/empty.jpg");
    QFile(empty).open(QIODevice::WriteOnly);
    m_prompter.answer(IDOK);
    frame->StartAddContentsFiles({good, empty});
    ASSERT_NE(frame->GetRegContDlg(), nullptr);
    EXPECT_FALSE(frame->isEnabled());
    EXPECT_EQ(frame->GetRegContDlg()->windowTitle(), "素材登録中");
    ASSERT_TRUE(waitForEnd(frame));
    ASSERT_EQ(m_prompter.prompts().size(), 1);
    EXPECT_EQ(m_prompter.last().text,
              "ファイルサイズがゼロのため、登録できません。\nファイルを確認してください。\n(ファイル：" + empty + ")");
    EXPECT_EQ(m_prompter.last().style, quint32(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(GetContentFolders().GetList(2)->GetCount(), 1);
}

// A web package that is not a cabinet, or a cabinet without its start page,
// is refused with the reason, as the other refusals are.
TEST_F(RegistrationFrame, ABadWebPackageSaysWhy)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    QDir().mkpath(m_home.filePath("media/pages"));
    const QString text = m_home.filePath("media/notes.dscc");
    QFile textFile(text);
    ASSERT_TRUE(textFile.open(QIODevice::WriteOnly));
    textFile.write("not a cabinet\n");
    textFile.close();
    QFile page(m_home.filePath("media/pages/page.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html></html>");
    page.close();
    const QString noIndex = m_home.filePath("media/pages.dscc");
    ASSERT_EQ(DLKxCompressCab({m_home.filePath("media/pages"), {QStringLiteral("page.html")}, 1, noIndex}), 0);

    const struct {
        QString path;
        quint32 reason;
    } packages[] = {{text, 5441}, {noIndex, 5442}};
    for (const auto &package : packages) {
        m_prompter.answer(IDOK);
        frame->StartAddContentsFiles({package.path}, CONTENT_TYPE_ANIMATION);
        ASSERT_TRUE(waitForEnd(frame));
        EXPECT_EQ(m_prompter.last().text, LoadString(package.reason) + "\n(ファイル：" + package.path + ")");
    }
    EXPECT_TRUE(LoadString(5442).contains(QStringLiteral("index.html")));
    EXPECT_EQ(m_prompter.prompts().size(), 2);
    EXPECT_EQ(GetContentFolders().GetList(4)->GetCount(), 0);
}

TEST_F(RegistrationFrame, ReplacementTellsWhatChanged)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    frame->StartAddContentsFiles({picture("wide.jpg", {1920, 1080})});
    ASSERT_TRUE(waitForEnd(frame));
    const qint32 number = GetContentFolders().GetList(2)->GetAt(0)->GetIndex();

    m_prompter.answer(IDOK);
    ASSERT_TRUE(frame->StartReplaceMaterial(2, number, picture("small.jpg", {1280, 720})));
    ASSERT_TRUE(waitForEnd(frame));
    ASSERT_EQ(m_prompter.prompts().size(), 1);
    EXPECT_EQ(m_prompter.last().text, "画像サイズが、1920 x 1080 から 1280 x 720 に変更されました。\n"
                                      "この素材を使用しているプレイリストの画面レイアウトを確認してください。");
    EXPECT_EQ(GetContentFolders().GetList(2)->GetAt(0)->GetIndex(), number);

    // A sound that plays longer tells the play time its playlists must follow.
    frame->StartAddContentsFiles({wave("short.wav", 1)});
    ASSERT_TRUE(waitForEnd(frame));
    m_prompter.answer(IDOK);
    ASSERT_TRUE(frame->StartReplaceMaterial(6, GetContentFolders().GetList(6)->GetAt(0)->GetIndex(),
                                            wave("long.wav", 3)));
    ASSERT_TRUE(waitForEnd(frame));
    ASSERT_EQ(m_prompter.prompts().size(), 2);
    EXPECT_EQ(m_prompter.last().text, "再生時間が、00:00:01 から 00:00:03 に変更されました。\n"
                                      "この素材を使用しているプレイリストの再生時間を変更してください。");
}

TEST_F(RegistrationFrame, ProgressBarScalesCountsBeyond32Bits)
{
    CRegContDlg dialog(nullptr);
    dialog.SetTotal(3);
    dialog.SetProgress(0, 2, 0, 1); // 8 GiB total, 4 GiB copied
    dialog.UpdateProgressBar();
    auto *bar = dialog.findChild<QProgressBar *>("1333");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), 8 * 1024 * 1024);
    EXPECT_EQ(bar->value(), 4 * 1024 * 1024);
    dialog.SetCount(2);
    EXPECT_EQ(dialog.findChild<QLabel *>("1334")->text(), "2/3");
    dialog.SetCopyingFile("a.mpg");
    EXPECT_EQ(dialog.findChild<QLabel *>("1245")->text(), "a.mpg ファイルをコピー中");
    dialog.findChild<QPushButton *>("1335")->click();
    EXPECT_TRUE(dialog.IsCancelled());
}
