// The cell texts and sort keys of the contents lists, the telop rows, and the
// name, property and no-play period dialogs.
#include "core/data_folders.h"
#include "core/path_utils.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/pin_p_property.h"
#include "model/telop_property.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "support/fake_clock.h"
#include "support/scripted_prompter.h"
#include "ui/contents/contents_columns.h"
#include "ui/contents/contents_thumbnails.h"
#include "ui/contents/name_dlg.h"
#include "ui/contents/no_play_date_set_dlg.h"
#include "ui/contents/property_set_dlg.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimeEdit>

#include <gtest/gtest.h>

TEST(ContentsColumns, SizesWeekdaysAndSortKeys)
{
    EXPECT_EQ(FormatSizeKb(1024), QStringLiteral("1 KB"));
    EXPECT_EQ(FormatSizeKb(1025), QStringLiteral("2 KB"));
    EXPECT_EQ(FormatSizeKb(1024000000), QStringLiteral("1,000,000 KB"));
    EXPECT_EQ(FormatSizeKb(999ull * 1024), QStringLiteral("999 KB"));
    // Sizes past 4 GiB keep their 64 bits (three groups, as the format has).
    EXPECT_EQ(FormatSizeKb(5ull << 40), QStringLiteral("5368,709,120 KB"));
    EXPECT_EQ(FormatWeekdays(QStringLiteral("7654321")), QString());
    EXPECT_EQ(FormatWeekdays(QStringLiteral("17")), QStringLiteral("日 土"));

    // Every sorting column maps to its key and back.
    for (int kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 20, 21, 22, 23}) {
        for (bool ascending : {true, false}) {
            int back = -1;
            bool backAscending = !ascending;
            ColumnOfSortKey(SortKeyOfColumn(kind, ascending, 1, false), back, backAscending);
            EXPECT_EQ(back, kind);
            EXPECT_EQ(backAscending, ascending);
        }
    }
    EXPECT_EQ(SortKeyOfColumn(COL_INPUT, true, 10, false), 43);
    EXPECT_EQ(SortKeyOfColumn(COL_INPUT, false, 10, false), 44);
    EXPECT_EQ(SortKeyOfColumn(COL_TITLE, false, 1, false), 5);
    EXPECT_EQ(SortKeyOfColumn(COL_NO, true, 51, true), 42);
    EXPECT_EQ(SortKeyOfColumn(COL_NO, true, 1, false), -1);
    int kind = -1;
    bool ascending = false;
    ColumnOfSortKey(999, kind, ascending);
    EXPECT_EQ(kind, COL_INDEX);
    EXPECT_TRUE(ascending);

    CPinPProperty pinP;
    pinP.SetIndex(7);
    pinP.SetLink(QStringLiteral("HDMI1"));
    EXPECT_EQ(FramedColumnText(pinP, COL_INPUT, 0), QStringLiteral(" HDMI1 "));
    EXPECT_EQ(FramedColumnText(pinP, COL_INDEX, 0), QStringLiteral(" 000000007 "));
    EXPECT_EQ(FramedColumnText(pinP, COL_NO, 4), QStringLiteral(" 0005 "));
    EXPECT_FALSE(IsColumnAllowed(10, 1, COL_RECEIVED));
    EXPECT_FALSE(IsColumnAllowed(17, 1, COL_FILE_NAME));
    EXPECT_FALSE(IsColumnAllowed(17, 51, COL_BG_COLOR));
}

namespace {

// Points the data root at `base`, makes its text folder and names the bitmap
// file of telop 300000001 there (the file itself is left to the test).
void PrepareTelopBitmapPath(const QTemporaryDir &base, QString &path)
{
    ASSERT_TRUE(GetAppData().SetDataRoot(base.path()));
    const QString folder = DataFolderOf(base.path()) + QStringLiteral("/Text");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(MakeTelopFilePath(folder, 300000001, TELOP_FILE_BITMAP, path));
}

} // namespace

TEST(ContentsThumbnails, TelopRowsNeverDivideByZeroAndStayInsideTheBitmap)
{
    QTemporaryDir base;
    QString path;
    ASSERT_NO_FATAL_FAILURE(PrepareTelopBitmapPath(base, path));
    QImage bitmap(100, 20, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    ASSERT_TRUE(bitmap.save(path, "BMP"));

    CTelopProperty telop;
    telop.SetIndex(300000001);
    telop.SetWidth(400); // wider than the bitmap it names
    telop.SetHeight(20);
    QImage row(300, 24, QImage::Format_RGB32);
    row.fill(Qt::white);
    {
        QPainter painter(&row);
        DrawTelopThumbnail(painter, row.rect(), telop);
        // No height to scale to, and a telop without height: nothing drawn.
        DrawTelopThumbnail(painter, QRect(0, 0, 300, 4), telop);
        telop.SetHeight(0);
        DrawTelopThumbnail(painter, row.rect(), telop);
    }
    EXPECT_EQ(row.pixelColor(50, 12), QColor(Qt::red));
    EXPECT_EQ(row.pixelColor(200, 12), QColor(Qt::white));
}

TEST(ContentsThumbnails, WebAddressesUseTheirThumbnailUncroppedToTheCell)
{
    QTemporaryDir base;
    ASSERT_TRUE(GetAppData().SetDataRoot(base.path()));
    const QString folder = ThumbnailFolder(base.path(), 4);
    ASSERT_TRUE(QDir().mkpath(folder));
    // A thumbnail larger than the cell: only its middle 96 x 96 is red.
    QImage thumbnail(200, 200, QImage::Format_RGB32);
    thumbnail.fill(Qt::blue);
    QPainter(&thumbnail).fillRect(QRect(52, 52, 96, 96), Qt::red);
    QString path;
    ASSERT_TRUE(MakeThumbnailPath(folder, 400000001, true, path));
    ASSERT_TRUE(thumbnail.save(path, "PNG"));

    CWebProperty web;
    web.SetIndex(400000001);
    web.SetLink(QStringLiteral("http://example.invalid/page"));
    EXPECT_FALSE(IsContentFileMissing(web));
    const QImage cell = MakeThumbnailCell(web);
    ASSERT_EQ(cell.size(), QSize(96, 96));
    EXPECT_EQ(cell.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(cell.pixelColor(95, 95), QColor(Qt::red));
}

TEST(ContentsThumbnails, ATelopIsMissingOnlyWhenTheFileItKeepsIsGone)
{
    QTemporaryDir base;
    QString bitmap;
    ASSERT_NO_FATAL_FAILURE(PrepareTelopBitmapPath(base, bitmap));
    QFile file(bitmap);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    // Registered from a bitmap: it has no text file, and is not missing.
    CTelopProperty telop;
    telop.SetIndex(300000001);
    telop.SetLink(QFileInfo(bitmap).fileName());
    EXPECT_FALSE(IsContentFileMissing(telop));
    ASSERT_TRUE(QFile::remove(bitmap));
    EXPECT_TRUE(IsContentFileMissing(telop));
    // A typed telop keeps its text.
    telop.SetLink(QStringLiteral("T300000001.txt"));
    EXPECT_TRUE(IsContentFileMissing(telop));
}

TEST(ContentsDialogs, NameDialogCleansAndRefusesEmptyNames)
{
    ScriptedPrompter prompter;
    CNameDlg dialog;
    dialog.SetName(QStringLiteral("old"));
    EXPECT_EQ(dialog.GetEdit()->maxLength(), 20);
    dialog.GetEdit()->setText(QStringLiteral("\x01\x02"));
    prompter.expect(5375, IDYES).expect(5232, IDOK);
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0);

    // Cancel of a changed name asks; No stays.
    prompter.expect(5007, IDNO);
    dialog.reject();
    EXPECT_EQ(dialog.result(), 0);
    dialog.GetEdit()->setText(QStringLiteral("new\x03"));
    prompter.expect(5375, IDYES);
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.GetName(), QStringLiteral("new"));
    EXPECT_TRUE(dialog.IsChanged());
    EXPECT_EQ(prompter.pendingAnswers(), 0);
}

TEST(ContentsDialogs, PropertyDialogNeedsATitleUnlessLocked)
{
    ScriptedPrompter prompter;
    CPropertySetDlg dialog;
    dialog.SetCategory(QStringLiteral("cat"));
    dialog.SetTitle(QString());
    dialog.SetPlayTime(0, 1, 30);
    dialog.show();
    EXPECT_TRUE(dialog.findChild<QTimeEdit *>(QStringLiteral("1331"))->isVisible());
    prompter.expect(5316, IDOK);
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0);
    dialog.findChild<QLineEdit *>(QStringLiteral("1154"))->setText(QStringLiteral("title"));
    dialog.findChild<QTimeEdit *>(QStringLiteral("1331"))->setTime(QTime(0, 2, 5));
    dialog.accept();
    quint16 h = 0, m = 0, s = 0;
    dialog.GetPlayTime(h, m, s);
    EXPECT_EQ(QTime(h, m, s), QTime(0, 2, 5));
    EXPECT_EQ(dialog.GetTitle(), QStringLiteral("title"));

    CPropertySetDlg locked;
    locked.SetTitleLocked(true);
    locked.show();
    EXPECT_FALSE(locked.findChild<QTimeEdit *>(QStringLiteral("1331"))->isVisible());
    EXPECT_FALSE(locked.findChild<QLineEdit *>(QStringLiteral("1154"))->isEnabled());
    locked.accept();
    EXPECT_EQ(locked.result(), int(QDialog::Accepted));
}

TEST(ContentsDialogs, NoPlayPeriodChecksItsWeekdays)
{
    ScriptedPrompter prompter;
    CNoPlayDateSetDlg dialog;
    dialog.SetStartDate({2024, 6, 2}); // a Sunday
    dialog.SetEndDate({2024, 6, 3});
    dialog.SetWeek(QStringLiteral("123"));
    dialog.show();
    EXPECT_FALSE(dialog.IsModified());
    EXPECT_TRUE(dialog.GetWeekdayCheck(2)->isChecked());
    prompter.expect(5245, IDOK);
    dialog.accept(); // Tuesday is not in the period
    EXPECT_EQ(dialog.result(), 0);
    dialog.GetWeekdayCheck(2)->setChecked(false);
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.GetWeek(), QStringLiteral("12"));

    CNoPlayDateSetDlg fresh; // a period not set yet opens on today, a Wednesday, and OK takes it
    {
        ScopedFakeClock clock(QDateTime(QDate(2031, 6, 11), QTime(12, 0)));
        fresh.show();
    }
    EXPECT_EQ(fresh.GetEndEdit()->date(), QDate(2031, 6, 11));
    fresh.accept();
    EXPECT_EQ(fresh.result(), int(QDialog::Accepted));
    EXPECT_EQ(fresh.GetWeek(), QStringLiteral("4"));

    CNoPlayDateSetDlg week;
    week.SetStartDate({2024, 6, 5});
    week.SetEndDate({2024, 6, 11});
    week.show();
    EXPECT_TRUE(week.GetWeekdayCheck(6)->isChecked()); // an empty string checks all
    week.accept();
    EXPECT_EQ(week.GetWeek(), QStringLiteral("1234567"));

    CNoPlayDateSetDlg wrong;
    wrong.SetStartDate({2024, 6, 5});
    wrong.SetEndDate({2024, 6, 4});
    wrong.show();
    prompter.expect(5243, IDOK);
    wrong.accept();
    wrong.GetEndEdit()->setDate(QDate(2024, 6, 30));
    EXPECT_TRUE(wrong.IsModified());
    for (int day = 0; day < 7; ++day)
        wrong.GetWeekdayCheck(day)->setChecked(false);
    prompter.expect(5244, IDOK).expect(5004, IDNO);
    wrong.accept();
    wrong.reject();
    EXPECT_TRUE(wrong.isVisible());
    EXPECT_EQ(prompter.pendingAnswers(), 0);
    EXPECT_EQ(CNoPlayDateSetDlg::WeekdaysInPeriod(QDate(2024, 6, 1), QDate(2024, 6, 30)).size(), 7);
}
