// The print files byte for byte as the macro reads them: a playlist with every
// kind of cell, a schedule with its playlists, a month of a calendar, and one
// print through the headless office suite to a PDF.
#include "core/content_id.h"
#include "core/path_utils.h"
#include "model/calendar_property.h"
#include "model/media_property.h"
#include "model/schedule_property.h"
#include "ops/print_files.h"
#include "ops/spreadsheet_runner.h"
#include "ops_test_library.h"
#include "support/time_codes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QString kInfoDashes(21, QLatin1Char('-'));
const QString kTitleDashes(41, QLatin1Char('-'));

// A print file as the tables lay it out: the mark, then the lines with CR LF.
QByteArray Expected(const QStringList &lines)
{
    QString text(QChar(0xFEFF));
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The bytes as readable lines, so a difference shows where it is.
std::string Shown(const QByteArray &bytes)
{
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
    return text.replace(QLatin1Char('\t'), QStringLiteral("<TAB>")).toStdString();
}

QString Tabs(int count)
{
    return QString(count, QLatin1Char('\t'));
}

void Place(CTimetableModel &model, int track, qint32 number, int type, const TimeValue &start, const TimeValue &end)
{
    CTimetableItem item;
    ASSERT_TRUE(item.Set(number, start, end, type, 0));
    ASSERT_TRUE(model.InsertItem(track, item));
}

void AddRecord(CContentsStore &store, int type, qint32 number, const QString &info, const QString &title)
{
    std::unique_ptr<CPropertyBase> record = CreateProperty(type);
    record->SetIndex(number);
    record->SetInfo(info);
    record->SetTitle(title);
    ASSERT_TRUE(store.GetList(type)->Add(record.get()));
}

struct Ends {
    CPrintFiles::EndReport report()
    {
        return [this](quint32 code, quint32 detail) { codes.append({code, detail}); };
    }
    QList<QPair<quint32, quint32>> codes;
};

const qint32 kStill = MakeContentId(1, 2, 1);
const qint32 kInput = MakeContentId(1, 11, 1);
const qint32 kMissing = MakeContentId(1, 1, 9);

} // namespace

TEST(PrintFiles, APlaylistFileHasEveryKindOfCellAndNoColumnShifts)
{
    TestLibrary library;
    CContentsStore &store = library.store();
    AddRecord(store, 2, kStill, QStringLiteral("cat"), QStringLiteral("pic\nture"));
    CPlaylistEditModel &model = *store.GetPlaylistModel(52);
    Place(model, model.FindTrack(1), kStill, 2, Tc(0, 0), Tc(0, 0, 10));
    Place(model, model.FindTrack(2), kInput, 11, Tc(0, 0), Tc(0, 0, 5));
    Place(model, model.FindTrack(4), kMissing, 1, Tc(0, 0, 5), Tc(0, 0, 10));
    model.SetTitle(QStringLiteral("T\tab"));

    Ends ends;
    CPrintFiles files(store, library.root(), ends.report());
    PrintFileSet written;
    ASSERT_TRUE(files.WritePrintFiles({PRINT_PLAYLIST, 0, 0, false, true}, written));
    EXPECT_EQ(written.playlists, 1);
    const QString still = FormatContentIdFixed(kStill);
    EXPECT_EQ(Shown(ReadFile(JoinPath(written.folder, QStringLiteral("PLST_0001.TSV")))),
              Shown(Expected({QStringLiteral("1.0"), QStringLiteral("----------"), kInfoDashes, QStringLiteral("T ab"),
                        QStringLiteral("00:00:00\t") + still + QStringLiteral("\tcat\tpic ture\t")
                            + FormatContentIdFixed(kInput) + QStringLiteral("\t\t外部入力") + Tabs(12),
                        QStringLiteral("00:00:05\t") + still + QStringLiteral("\t\t\t\t\t\t")
                            + FormatContentIdFixed(kMissing) + QLatin1Char('\t') + kTitleDashes + Tabs(10),
                        QStringLiteral("00:00:10") + Tabs(18)})));
    EXPECT_TRUE(ends.codes.isEmpty());

    // The check pane shows no list: nothing to print.
    EXPECT_FALSE(files.WritePrintFiles({PRINT_BGM_LIST, 0, 0, false, false}, written));
    ASSERT_EQ(ends.codes.size(), 1);
    EXPECT_EQ(ends.codes[0], qMakePair(quint32(PRINT_END_WRITE_FAILED), quint32(1359)));
}

// The print worker writes while the window repaints and stores a record of
// a list it prints (a send sets its delivery date): it reads the lists only
// on the window's thread (run under ThreadSanitizer too).
TEST(PrintFiles, AScheduleListsItsPlaylistsOnceAndIsWrittenWhileTheListRepaints)
{
    TestLibrary library;
    CContentsStore &store = library.store();
    const qint32 playlist = MakeContentId(1, 52, 1);
    const qint32 music = MakeContentId(1, 53, 1);
    const qint32 touch = 999000001;
    AddRecord(store, 52, playlist, QStringLiteral("pl"), QStringLiteral("morning"));
    {
        CPlaylistEditModel list(52);
        list.SetFolders(store.m_playlistFolder, store.m_sequenceFolder);
        list.SetIdPrefix(1);
        Place(list, 1, kStill, 2, Tc(0, 0), Tc(0, 0, 30));
        ASSERT_TRUE(list.Save(playlist, 52));
    }
    const qint32 number = MakeContentId(1, 51, 900001);
    CScheduleProperty record;
    record.SetIndex(number);
    record.SetInfo(QStringLiteral("week"));
    record.SetTitle(QStringLiteral("=cmd|' /C calc'!A0"));
    record.SetStartDate(DateValue{2026, 12, 1});
    record.SetEndDate(DateValue{2026, 12, 31});
    record.SetWeek(QStringLiteral("23456"));
    ASSERT_TRUE(store.GetList(51)->Add(&record));
    CScheduleEditModel &model = *store.GetSecondScheduleModel();
    ASSERT_TRUE(model.SetTimeRange(Tc(10, 0), Tc(18, 0)));
    const int lists = model.FindTrackForType(1);
    Place(model, lists, playlist, 52, Tc(10, 0), Tc(11, 0));
    Place(model, lists, playlist, 52, Tc(11, 0), Tc(12, 0));
    Place(model, lists, touch, 52, Tc(12, 0), Tc(13, 0));
    Place(model, model.FindTrackForType(6), music, 53, Tc(10, 0), Tc(11, 0));
    model.SetIndex(number);

    CPrintFiles files(store, library.root(), nullptr);
    PrintFileSet written;
    bool done = false;
    CContentsList &playlists = *store.GetList(52);
    RunWhileTheWindowPaints([&] { done = files.WritePrintFiles({PRINT_SCHEDULE, 0, 0, false, false}, written); },
                            [&] {
                                const std::unique_ptr<CPropertyBase> sent = CreateProperty(52);
                                sent->Copy(playlists.GetAt(0));
                                sent->SetCreateDate(SystemTime{2026, 12, 3, 2, 9, 30, 0, 0});
                                EXPECT_TRUE(playlists.Update(0, sent.get()));
                            });
    ASSERT_TRUE(done);
    const QString pl = FormatContentIdFixed(playlist);
    EXPECT_EQ(Shown(ReadFile(JoinPath(written.folder, QStringLiteral("SCHEDULE.TSV")))),
              Shown(Expected({QStringLiteral("1.0"), FormatContentIdFixed(number), QStringLiteral("week"),
                        QStringLiteral("=cmd|' /C calc'!A0"), QStringLiteral("2026/12/01\t2026/12/31"),
                        QStringLiteral("MON\tTUE\tWED\tTHR\tFRI"), QStringLiteral("10:00:00\t18:00:00"),
                        QStringLiteral("10:00:00\t") + pl + QStringLiteral("\tpl\tmorning\t") + FormatContentIdFixed(music)
                            + QLatin1Char('\t') + kTitleDashes + Tabs(13),
                        QStringLiteral("11:00:00\t") + pl + QStringLiteral("\tpl\tmorning") + Tabs(15),
                        QStringLiteral("12:00:00\t") + FormatContentIdFixed(touch) + QLatin1Char('\t') + kTitleDashes
                            + Tabs(16),
                        QStringLiteral("13:00:00") + Tabs(18)})));
    // The playlist once; the music list does not load and is not handed on.
    EXPECT_EQ(written.playlists, 1);
    EXPECT_EQ(written.bgmLists, 0);
    EXPECT_TRUE(QFileInfo::exists(JoinPath(written.folder, QStringLiteral("PLST_0001.TSV"))));
    EXPECT_FALSE(QFileInfo::exists(JoinPath(written.folder, QStringLiteral("BGM_001.TSV"))));

    EXPECT_EQ(WeekdayLine(QStringLiteral("1357")), QStringLiteral("SUN\t\tTUE\t\tTHR\t\tSAT"));
    EXPECT_EQ(WeekdayLine(QString()), QStringLiteral("SUN\tMON\tTUE\tWED\tTHR\tFRI\tSAT"));
}

TEST(PrintFiles, ACalendarMonthHasALinePerDayThatPlaysAndNoPlayWins)
{
    TestLibrary library;
    CContentsStore &store = library.store();
    CCalendarProperty plays;
    plays.SetIndex(MakeContentId(1, 51, 900001));
    plays.SetSchedule(plays.GetIndex());
    plays.SetStartDate(DateValue{2026, 1, 30});
    plays.SetEndDate(DateValue{2026, 2, 3});
    plays.SetWeek(QStringLiteral("1234567"));
    plays.SetFlag(1);
    plays.SetTitle(QStringLiteral("line\r\nbreak"));
    CCalendarProperty off = plays;
    off.SetIndex(MakeContentId(1, 54, 900002));
    off.SetStartDate(DateValue{2026, 2, 2});
    off.SetEndDate(DateValue{2026, 2, 2});
    off.SetFlag(0);
    off.SetTitle(QStringLiteral("off"));
    ASSERT_TRUE(store.GetList(50)->Add(&plays));
    ASSERT_TRUE(store.GetList(50)->Add(&off));

    CPrintFiles files(store, library.root(), nullptr);
    PrintFileSet written;
    ASSERT_TRUE(files.WritePrintFiles({PRINT_CALENDAR, 2026, 2, false, false}, written));
    const QString on = FormatContentIdFixed(plays.GetIndex());
    EXPECT_EQ(Shown(ReadFile(JoinPath(written.folder, QStringLiteral("CALENDAR.TSV")))),
              Shown(Expected({QStringLiteral("1.0"), QStringLiteral("2026/02"),
                        QStringLiteral("01\tPLAY\t") + on + QStringLiteral("\t\tline  break"),
                        QStringLiteral("02\tNOPLAY\t") + FormatContentIdFixed(off.GetIndex()) + QStringLiteral("\t\toff"),
                        QStringLiteral("03\tPLAY\t") + on + QStringLiteral("\t\tline  break")})));
}

TEST(PrintFiles, OnePrintThroughTheOfficeSuiteGivesAPdfWithTheTitles)
{
    if (!QFileInfo::exists(QStringLiteral("/usr/bin/soffice")))
        GTEST_SKIP() << "LibreOffice (libreoffice-calc-nogui) is not installed here";
    TestLibrary library;
    CContentsStore &store = library.store();
    AddRecord(store, 2, kStill, QStringLiteral("cat"), QStringLiteral("朝の案内"));
    CPlaylistEditModel &model = *store.GetPlaylistModel(52);
    Place(model, 1, kStill, 2, Tc(0, 0), Tc(0, 0, 10));
    model.SetTitle(QStringLiteral("=1+1 list"));
    CPrintFiles files(store, library.root(), nullptr);
    PrintFileSet written;
    ASSERT_TRUE(files.WritePrintFiles({PRINT_PLAYLIST, 0, 0, false, true}, written));
    QString pdf;
    const quint32 code = RunPrintMacro(QStringLiteral(TELV_PRINT_MACRO), written, pdf);
    if (code == PRINT_END_NO_PROGRAM)
        GTEST_SKIP() << "LibreOffice could not start here";
    ASSERT_EQ(code, quint32(PRINT_END_DONE));
    if (pdf.isEmpty())
        GTEST_SKIP() << "a printer is set up here: the print went to it";
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString shown = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(shown.contains(QStringLiteral("朝の案内"))) << qPrintable(shown);
    // A title that looks like a formula stays text.
    EXPECT_TRUE(shown.contains(QStringLiteral("=1+1 list"))) << qPrintable(shown);
    // The page reads in Japanese: no file name or page word of ours in English.
    EXPECT_FALSE(shown.contains(QStringLiteral("PLST_"))) << qPrintable(shown);
    EXPECT_FALSE(shown.contains(QStringLiteral("Page"))) << qPrintable(shown);
}
