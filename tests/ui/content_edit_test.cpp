// The main frame's content editing: each operation through its dialogs (a
// scripted stand-in here) to the lists on disk, the refusals that change
// nothing, and lists put back when their file cannot be written.
#include "widgets/content_edit_dialogs.h"
#include "widgets/del_date_chg_dlg.h"
#include "app/main_frame.h"
#include "widgets/save_dialog_prompter.h"
#include "widgets/vod_set_dlg.h"
#include "core/atomic_file.h"
#include "core/content_id.h"
#include "core/path_utils.h"
#include "core/system_ini.h"
#include "model/calendar_property.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/control_property.h"
#include "model/movie_property.h"
#include "model/playlist_file.h"
#include "model/playlist_property.h"
#include "model/schedule_file.h"
#include "model/schedule_property.h"
#include "model/streaming_property.h"
#include "ops/playlist_storage.h"
#include "shell_fixture.h"
#include "support/file_contents.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

#include <functional>

namespace {

// Answers the frame's editors as a test sets them up; counts their calls.
class FakeEditDialogs final : public IContentEditDialogs {
public:
    FakeEditDialogs() { SetContentEditDialogs(this); }
    ~FakeEditDialogs() override { SetContentEditDialogs(nullptr); }
    bool RunControlEditDlg(QWidget *, CControlProperty &record, qint32 newIndex) override
    {
        ++calls;
        offered = newIndex;
        return control && control(record, newIndex);
    }
    bool RunIpCameraSetDlg(QWidget *, CStreamingProperty &record, qint32 newIndex) override
    {
        ++calls;
        offered = newIndex;
        return camera && camera(record, newIndex);
    }
    bool RunPropertySetDlg(QWidget *, PropertyValues &values) override
    {
        ++calls;
        shownProperty = values;
        return property && property(values);
    }
    bool RunNoPlayDateSetDlg(QWidget *, PeriodValues &values) override
    {
        ++calls;
        shownPeriod = values;
        return period && period(values);
    }
    std::function<bool(CControlProperty &, qint32)> control;
    std::function<bool(CStreamingProperty &, qint32)> camera;
    std::function<bool(PropertyValues &)> property;
    std::function<bool(PeriodValues &)> period;
    PropertyValues shownProperty;
    PeriodValues shownPeriod;
    qint32 offered = 0;
    int calls = 0;
};

// The records of a list file as it lies on disk.
std::unique_ptr<CContentsList> listOnDisk(int type, const QString &path)
{
    auto list = std::make_unique<CContentsList>(type);
    EXPECT_TRUE(list->Load(path));
    return list;
}

// Makes a list file unwritable: a folder stands where it is written.
void blockFile(const QString &path)
{
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkpath(path));
}

// The files under a folder, without the log the program writes as it goes.
QMap<QString, QByteArray> StoredFilesUnder(const QString &folder)
{
    QMap<QString, QByteArray> files = FilesUnder(folder);
    files.removeIf([](const auto &file) { return file.key().endsWith(QStringLiteral(".log")); });
    return files;
}

class ContentEdit : public ShellTest {
protected:
    CMainFrame *start()
    {
        writeIni("Q9S.ini", QStringLiteral("ExContents"), QStringLiteral("MaxControl"), QStringLiteral("2"));
        CMainFrame *frame = startFrame();
        EXPECT_NE(frame, nullptr);
        // The start installed the real editors.
        SetContentEditDialogs(&m_dialogs);
        return frame;
    }
    CContentsList &list(int type) { return *GetContentFolders().GetList(type); }
    QString listPath(int type) { return GetContentFolders().GetListPath(type); }
    FakeEditDialogs m_dialogs;
};

} // namespace

TEST_F(ContentEdit, ControlEventsTakeNewNumbersUntilTheListIsFull)
{
    CMainFrame *frame = start();
    ASSERT_NE(frame, nullptr);
    const int counter = GetSystemIni().GetContentIndex(CONTENT_CONTROL);
    m_dialogs.control = [](CControlProperty &record, qint32 newIndex) {
        record.SetIndex(newIndex);
        record.SetTitle(QStringLiteral("ミュート"));
        return record.SetCtrlParams(QStringLiteral("0"), QString());
    };
    frame->EditControl(nullptr);
    ASSERT_EQ(list(CONTENT_CONTROL).GetCount(), 1);
    const qint32 first = list(CONTENT_CONTROL).GetAt(0)->GetIndex();
    EXPECT_EQ(first, m_dialogs.offered);
    EXPECT_EQ(GetSystemIni().GetContentIndex(CONTENT_CONTROL), counter + 1);
    EXPECT_EQ(listOnDisk(CONTENT_CONTROL, listPath(CONTENT_CONTROL))->GetCount(), 1);

    // Edited in place: the same number, the new title, no counter step.
    m_dialogs.control = [](CControlProperty &record, qint32) { return record.SetTitle(QStringLiteral("changed")); };
    frame->EditControl(static_cast<CControlProperty *>(list(CONTENT_CONTROL).GetAt(0)));
    ASSERT_EQ(list(CONTENT_CONTROL).GetCount(), 1);
    EXPECT_EQ(list(CONTENT_CONTROL).GetAt(0)->GetTitle(), QStringLiteral("changed"));
    EXPECT_EQ(GetSystemIni().GetContentIndex(CONTENT_CONTROL), counter + 1);

    // A cancelled dialog changes nothing; a full list opens no dialog.
    m_dialogs.control = {};
    frame->EditControl(nullptr);
    EXPECT_EQ(list(CONTENT_CONTROL).GetCount(), 1);
    CControlProperty second;
    second.SetIndex(first + 1);
    ASSERT_TRUE(list(CONTENT_CONTROL).Add(&second));
    const int calls = m_dialogs.calls;
    m_prompter.expect(5101, IDOK);
    frame->EditControl(nullptr);
    EXPECT_EQ(m_prompter.last().arguments, QStringList{QStringLiteral("2")});
    EXPECT_EQ(m_dialogs.calls, calls);
}

TEST_F(ContentEdit, AListThatCannotBeSavedKeepsTheRecordAsItWas)
{
    CMainFrame *frame = start();
    ASSERT_NE(frame, nullptr);
    m_dialogs.camera = [](CStreamingProperty &record, qint32 newIndex) {
        record.SetIndex(newIndex);
        record.SetAddress(QStringLiteral("10.0.0.5"));
        return record.SetTitle(QStringLiteral("Door"));
    };
    frame->EditStreaming(nullptr);
    ASSERT_EQ(list(CONTENT_STREAMING).GetCount(), 1);
    const int counter = GetSystemIni().GetContentIndex(CONTENT_STREAMING);

    blockFile(listPath(CONTENT_STREAMING));
    m_dialogs.camera = [](CStreamingProperty &record, qint32) { return record.SetTitle(QStringLiteral("Gate")); };
    m_prompter.expect(5114, IDOK);
    frame->EditStreaming(static_cast<CStreamingProperty *>(list(CONTENT_STREAMING).GetAt(0)));
    EXPECT_EQ(list(CONTENT_STREAMING).GetAt(0)->GetTitle(), QStringLiteral("Door"));
    // A new one is not kept either, and takes no number.
    m_dialogs.camera = [](CStreamingProperty &record, qint32 newIndex) { return record.SetIndex(newIndex); };
    m_prompter.expect(5114, IDOK);
    frame->EditStreaming(nullptr);
    EXPECT_EQ(list(CONTENT_STREAMING).GetCount(), 1);
    EXPECT_EQ(GetSystemIni().GetContentIndex(CONTENT_STREAMING), counter);
}

TEST_F(ContentEdit, PropertiesOfOneContentAndTheCategoryOfSeveral)
{
    CMainFrame *frame = start();
    ASSERT_NE(frame, nullptr);
    for (qint32 number : {101000001, 101000002}) {
        CMovieProperty movie;
        movie.SetIndex(number);
        movie.SetTitle(QStringLiteral("clip %1").arg(number % 10));
        movie.SetPlayTime(PlayLength{0, 1, 30, 0});
        ASSERT_TRUE(list(CONTENT_MOVIE).Add(&movie));
    }
    m_dialogs.property = [](PropertyValues &values) {
        values.info = QStringLiteral("秋");
        values.title = QStringLiteral("紅葉");
        values.playTime = PlayLength{0, 2, 0, 0};
        return true;
    };
    frame->EditProperty(CONTENT_MOVIE, 101000001);
    EXPECT_TRUE(m_dialogs.shownProperty.hasPlayTime);
    EXPECT_EQ(m_dialogs.shownProperty.playTime, (PlayLength{0, 1, 30, 0}));
    auto stored = listOnDisk(CONTENT_MOVIE, listPath(CONTENT_MOVIE));
    auto *movie = static_cast<CMovieProperty *>(stored->GetAt(stored->FindCode(101000001)));
    EXPECT_EQ(movie->GetTitle(), QStringLiteral("紅葉"));
    EXPECT_EQ(movie->GetInfo(), QStringLiteral("秋"));
    EXPECT_EQ(movie->GetPlayTime(), (PlayLength{0, 2, 0, 0}));

    // Several: the category only; titles and play times stay.
    m_dialogs.property = [](PropertyValues &values) {
        values.info = QStringLiteral("冬");
        values.title = QStringLiteral("ignored");
        return true;
    };
    frame->EditPropertyMulti(CONTENT_MOVIE, {101000001, 101000002});
    EXPECT_TRUE(m_dialogs.shownProperty.titleLocked);
    EXPECT_FALSE(m_dialogs.shownProperty.hasPlayTime);
    stored = listOnDisk(CONTENT_MOVIE, listPath(CONTENT_MOVIE));
    for (qint32 number : {101000001, 101000002})
        EXPECT_EQ(stored->GetAt(stored->FindCode(number))->GetInfo(), QStringLiteral("冬"));
    EXPECT_EQ(stored->GetAt(stored->FindCode(101000002))->GetTitle(), QStringLiteral("clip 2"));
}

TEST_F(ContentEdit, APlaylistsTitleGoesIntoItsFileAndItsEditor)
{
    CMainFrame *frame = start();
    ASSERT_NE(frame, nullptr);
    CContentsStore &store = GetContentFolders();
    const qint32 number = MakeContentId(0, 52, 7);
    CPlaylistFile file;
    ASSERT_TRUE(file.SetIndex(number) && file.SetTitle(QStringLiteral("old")));
    ASSERT_TRUE(QDir().mkpath(store.m_playlistFolder));
    ASSERT_TRUE(file.SaveTo(store.m_playlistFolder));
    CPlaylistProperty record;
    record.SetIndex(number);
    record.SetTitle(QStringLiteral("old"));
    ASSERT_TRUE(list(CONTENT_PLAYLIST).Add(&record));
    store.GetPlaylistModel(CONTENT_PLAYLIST)->SetIndex(number);

    m_dialogs.property = [](PropertyValues &values) {
        values.title = QStringLiteral("new");
        values.info = QStringLiteral("menu");
        return true;
    };
    frame->EditProperty(CONTENT_PLAYLIST, number);
    CPlaylistFile again;
    ASSERT_TRUE(again.LoadFrom(store.m_playlistFolder, number));
    EXPECT_EQ(again.GetTitle(), QStringLiteral("new"));
    EXPECT_EQ(again.GetInfo(), QStringLiteral("menu"));
    EXPECT_EQ(store.GetPlaylistModel(CONTENT_PLAYLIST)->GetTitle(), QStringLiteral("new"));
    EXPECT_EQ(list(CONTENT_PLAYLIST).GetAt(0)->GetTitle(), QStringLiteral("new"));

    // A second playlist whose file cannot be read: neither list nor file
    // changes, on disk or in memory, and the operator is told once.
    const qint32 unreadable = MakeContentId(0, 52, 8);
    record.SetIndex(unreadable);
    ASSERT_TRUE(list(CONTENT_PLAYLIST).Add(&record));
    ASSERT_TRUE(GetContentFolders().SaveLists(CONTENT_PLAYLIST, 1));
    QString unreadablePath;
    ASSERT_TRUE(MakePlaylistXmlPath(store.m_playlistFolder, unreadable, unreadablePath));
    blockFile(unreadablePath);
    const QMap<QString, QByteArray> files = StoredFilesUnder(dataFolder());
    m_dialogs.property = [](PropertyValues &values) {
        values.title = QStringLiteral("lost");
        return true;
    };
    m_prompter.expect(5213, IDOK);
    frame->EditPropertyMulti(CONTENT_PLAYLIST, {number, unreadable});
    EXPECT_TRUE(StoredFilesUnder(dataFolder()) == files);
    EXPECT_EQ(list(CONTENT_PLAYLIST).GetAt(0)->GetInfo(), QStringLiteral("menu"));
    EXPECT_EQ(store.GetPlaylistModel(CONTENT_PLAYLIST)->GetInfo(), QStringLiteral("menu"));
}

TEST_F(ContentEdit, ANoPlayPeriodIsAScheduleAndACalendarRowOfOneNumber)
{
    CMainFrame *frame = start();
    ASSERT_NE(frame, nullptr);
    addGroup(QStringLiteral("Hall"));
    ASSERT_TRUE(frame->SelectGroup(QStringLiteral("Hall"), 0));
    m_dialogs.period = [](PeriodValues &values) {
        values = PeriodValues{DateValue{2027, 1, 1}, DateValue{2027, 1, 3}, QStringLiteral("156")};
        return true;
    };
    frame->EditNoPlayDate(-1);
    CContentsList &schedules = list(CONTENT_SCHEDULE);
    CContentsList &calendars = list(CONTENT_CALENDAR);
    ASSERT_EQ(schedules.GetCount(), 1);
    ASSERT_EQ(calendars.GetCount(), 1);
    const auto *schedule = static_cast<CScheduleProperty *>(schedules.GetAt(0));
    const auto *row = static_cast<CCalendarProperty *>(calendars.GetAt(0));
    EXPECT_TRUE(schedule->IsNoPlayPeriod());
    EXPECT_EQ(row->GetIndex(), schedule->GetIndex());
    EXPECT_EQ(row->GetSchedule(), schedule->GetIndex());
    EXPECT_EQ(row->GetFlag(), CCalendarProperty::FLAG_NOTPLAY);
    EXPECT_EQ(schedule->GetTitle(), QStringLiteral("再生しない期間"));
    EXPECT_EQ(row->GetInfo(), QStringLiteral("カレンダー"));
    const QString folder = dataFolder() + QStringLiteral("/Group/Hall/Schedule/");
    EXPECT_EQ(listOnDisk(CONTENT_SCHEDULE, folder + QStringLiteral("ScheduleList.xml"))->GetCount(), 1);
    EXPECT_EQ(listOnDisk(CONTENT_CALENDAR, folder + QStringLiteral("CalendarList.xml"))->GetCount(), 1);

    // Edited: the dialog shows the stored period; both records change.
    const qint32 number = schedule->GetIndex();
    m_dialogs.period = [](PeriodValues &values) {
        values.end = DateValue{2027, 1, 9};
        return true;
    };
    frame->EditNoPlayDate(number);
    EXPECT_EQ(m_dialogs.shownPeriod.week, QStringLiteral("156"));
    EXPECT_EQ(static_cast<CScheduleProperty *>(schedules.GetAt(0))->GetEndDate(), (DateValue{2027, 1, 9}));
    EXPECT_EQ(static_cast<CCalendarProperty *>(calendars.GetAt(0))->GetEndDate(), (DateValue{2027, 1, 9}));

    // A new period whose lists cannot be saved leaves neither record.
    blockFile(folder + QStringLiteral("CalendarList.xml"));
    m_prompter.expect(5114, IDOK);
    frame->EditNoPlayDate(-1);
    EXPECT_EQ(schedules.GetCount(), 1);
    EXPECT_EQ(calendars.GetCount(), 1);
}

TEST_F(ContentEdit, ATouchPanelPlaylistIsWrittenWithItsFileOnceTheListIsSaved)
{
    CMainFrame *frame = start();
    ASSERT_NE(frame, nullptr);
    auto fillVodDialog = [] {
        OnNextModal<CVodSetDlg>([](CVodSetDlg *dialog) {
            dialog->GetIndexEdit()->setText(QStringLiteral("3"));
            dialog->GetTitleEdit()->setText(QStringLiteral("Lobby"));
            dialog->accept();
        });
    };
    const qint32 number = CVodSetDlg::kIndexBase + 3;
    QString path;
    CPlaylistFile file;
    ASSERT_TRUE(file.MakePath(GetContentFolders().m_playlistFolder, number, path));

    // The list cannot be saved: no record and no playlist file.
    blockFile(listPath(CONTENT_PLAYLIST));
    fillVodDialog();
    m_prompter.expect(5114, IDOK);
    frame->EditVODPlaylist(-1);
    EXPECT_EQ(list(CONTENT_PLAYLIST).FindCode(number), -1);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(QFile::exists(path + QLatin1String(kTemporarySuffix)));

    QDir().rmdir(listPath(CONTENT_PLAYLIST));
    fillVodDialog();
    frame->EditVODPlaylist(-1);
    const int position = list(CONTENT_PLAYLIST).FindCode(number);
    ASSERT_GE(position, 0);
    const auto *record = static_cast<CPlaylistProperty *>(list(CONTENT_PLAYLIST).GetAt(position));
    EXPECT_EQ(record->GetTitle(), QStringLiteral("Lobby"));
    EXPECT_EQ(record->GetDeleteDate(), (DateValue{9999, 12, 31}));
    EXPECT_EQ(record->GetDuration(), (TimeValue{23, 50, 0, 0}));
    ASSERT_TRUE(file.Load(path));
    ASSERT_EQ(file.GetItemCount(), 1);
    CTimetableItem item;
    ASSERT_TRUE(file.GetItem(0, item));
    EXPECT_EQ(item.GetTableName(), MakeSequenceTableName(number));
    EXPECT_EQ(file.GetTitle(), QStringLiteral("Lobby"));
}

TEST_F(ContentEdit, DeletionDatesOfContentsAndOfAPeriodWithItsCalendarRow)
{
    CMainFrame *frame = start();
    ASSERT_NE(frame, nullptr);
    for (qint32 number : {201000001, 201000002}) {
        auto record = CreateProperty(CONTENT_IMAGE);
        record->SetIndex(number);
        ASSERT_TRUE(list(CONTENT_IMAGE).Add(record.get()));
    }
    OnNextModal<CDelDateChgDlg>([](CDelDateChgDlg *dialog) {
        dialog->OnNever();
        dialog->accept();
    });
    frame->EditDelDate({201000001, 201000002}, CONTENT_IMAGE);
    auto stored = listOnDisk(CONTENT_IMAGE, listPath(CONTENT_IMAGE));
    for (qint32 number : {201000001, 201000002})
        EXPECT_EQ(stored->GetAt(stored->FindCode(number))->GetDeleteDate(), (DateValue{9999, 12, 31}));

    addGroup(QStringLiteral("Hall"));
    ASSERT_TRUE(frame->SelectGroup(QStringLiteral("Hall"), 0));
    m_dialogs.period = [](PeriodValues &values) {
        values = PeriodValues{DateValue{2027, 1, 1}, DateValue{2027, 1, 3}, QStringLiteral("156")};
        return true;
    };
    frame->EditNoPlayDate(-1);
    const qint32 period = list(CONTENT_SCHEDULE).GetAt(0)->GetIndex();
    OnNextModal<CDelDateChgDlg>([](CDelDateChgDlg *dialog) {
        dialog->OnClear();
        dialog->accept();
    });
    list(CONTENT_CALENDAR).GetAt(0)->SetDeleteDate(DateValue{2030, 1, 1});
    // A left-over second row of the number is dated as itself, beside the first.
    CCalendarProperty leftover;
    ASSERT_TRUE(list(CONTENT_CALENDAR).Get(0, &leftover));
    leftover.SetStartDate(DateValue{2026, 6, 1});
    ASSERT_TRUE(list(CONTENT_CALENDAR).Add(&leftover));
    frame->EditDelDate({period}, CONTENT_SCHEDULE);
    const QString folder = dataFolder() + QStringLiteral("/Group/Hall/Schedule/");
    auto rows = listOnDisk(CONTENT_CALENDAR, folder + QStringLiteral("CalendarList.xml"));
    ASSERT_EQ(rows->GetCount(), 2);
    EXPECT_EQ(rows->GetAt(0)->GetDeleteDate(), DateValue{});
    EXPECT_EQ(rows->GetAt(1)->GetDeleteDate(), DateValue{});
    EXPECT_EQ(static_cast<CCalendarProperty *>(rows->GetAt(0))->GetStartDate(), (DateValue{2027, 1, 1}));
    EXPECT_EQ(static_cast<CCalendarProperty *>(rows->GetAt(1))->GetStartDate(), (DateValue{2026, 6, 1}));
}

namespace {

class FakeScheduleSet final : public ISaveDialogPrompter {
public:
    FakeScheduleSet() { SetSaveDialogPrompter(this); }
    ~FakeScheduleSet() override { SetSaveDialogPrompter(nullptr); }
    bool AskScheduleSet(QWidget *, ScheduleSetBlock &block) override
    {
        shown = block;
        block.startDate = start;
        block.endDate = DateValue{2027, 4, 30};
        block.weekdays = QStringLiteral("23456");
        return true;
    }
    bool AskProperty(QWidget *, QString &, QString &) override { return false; }
    ScheduleSetBlock shown;
    DateValue start{2027, 4, 1};
};

} // namespace

TEST_F(ContentEdit, AScheduleTakesItsNewDaysIntoItsListAndCalendarRow)
{
    CMainFrame *frame = start();
    ASSERT_NE(frame, nullptr);
    addGroup(QStringLiteral("Hall"));
    ASSERT_TRUE(frame->SelectGroup(QStringLiteral("Hall"), 0));
    CContentsStore &store = GetContentFolders();
    QString scheduleFolder;
    QString sequenceFolder;
    ASSERT_TRUE(PrepareGroupScheduleFolders(store, QStringLiteral("Hall"), scheduleFolder, sequenceFolder));
    const qint32 number = MakeContentId(0, 51, 900001);
    CScheduleFile file;
    ASSERT_TRUE(file.SetIndex(number) && file.SaveTo(scheduleFolder));
    CScheduleProperty schedule;
    schedule.SetIndex(number);
    schedule.SetTitle(QStringLiteral("weekdays"));
    schedule.SetStartDate(DateValue{2027, 3, 1});
    schedule.SetEndDate(DateValue{2027, 3, 31});
    schedule.SetWeek(QStringLiteral("1234567"));
    ASSERT_TRUE(list(CONTENT_SCHEDULE).Add(&schedule));

    FakeScheduleSet prompter;
    frame->EditSchedule(number);
    EXPECT_EQ(prompter.shown.startDate, (DateValue{2027, 3, 1}));
    auto stored = listOnDisk(CONTENT_SCHEDULE, scheduleFolder + QStringLiteral("/ScheduleList.xml"));
    ASSERT_EQ(stored->GetCount(), 1);
    const auto *edited = static_cast<CScheduleProperty *>(stored->GetAt(0));
    EXPECT_EQ(edited->GetStartDate(), (DateValue{2027, 4, 1}));
    EXPECT_EQ(edited->GetWeek(), QStringLiteral("23456"));
    auto rows = listOnDisk(CONTENT_CALENDAR, scheduleFolder + QStringLiteral("/CalendarList.xml"));
    ASSERT_EQ(rows->GetCount(), 1);
    const auto *row = static_cast<CCalendarProperty *>(rows->GetAt(0));
    EXPECT_EQ(row->GetSchedule(), number);
    EXPECT_EQ(row->GetEndDate(), (DateValue{2027, 4, 30}));
    ASSERT_TRUE(file.LoadFrom(scheduleFolder, number));
    EXPECT_EQ(file.GetTitle(), QStringLiteral("weekdays"));

    // A calendar row that cannot be written is told once, and the schedule's
    // list and file stay as they were with it, on disk and in memory.
    ASSERT_TRUE(QFile::remove(scheduleFolder + QStringLiteral("/CalendarList.xml")));
    ASSERT_TRUE(QDir().mkpath(scheduleFolder + QStringLiteral("/CalendarList.xml/held")));
    const QMap<QString, QByteArray> files = StoredFilesUnder(dataFolder());
    prompter.start = DateValue{2027, 5, 1};
    m_prompter.answer(IDOK);
    frame->EditSchedule(number);
    ASSERT_EQ(m_prompter.prompts().size(), 1);
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("スケジュールの保存に失敗しました。"));
    EXPECT_TRUE(StoredFilesUnder(dataFolder()) == files);
    EXPECT_EQ(static_cast<CScheduleProperty *>(list(CONTENT_SCHEDULE).GetAt(0))->GetStartDate(),
              (DateValue{2027, 4, 1}));
    EXPECT_EQ(static_cast<CCalendarProperty *>(list(CONTENT_CALENDAR).GetAt(0))->GetStartDate(),
              (DateValue{2027, 4, 1}));
}
