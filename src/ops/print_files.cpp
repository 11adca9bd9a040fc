#include "ops/print_files.h"

#include "core/content_id.h"
#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/owner_thread.h"
#include "core/path_utils.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/calendar_list.h"
#include "model/calendar_property.h"
#include "model/contents_store.h"
#include "model/layout_template_store.h"
#include "model/playlist_edit_model.h"
#include "model/schedule_edit_model.h"
#include "model/schedule_property.h"
#include "ops/frame_checks.h"

#include <QDate>
#include <QFile>

#include <algorithm>

namespace {

constexpr quint32 kTextExternalInput = 5947;
const QString kNoNumber = QStringLiteral("----------");
const QString kNoInfo = QString(21, QLatin1Char('-'));
const QString kNoTitle = QString(41, QLatin1Char('-'));
constexpr int kBgmTrackFlags[] = {32};
constexpr int kScheduleTrackKinds[] = {SCHEDULE_KIND_PLAYLIST,  SCHEDULE_KIND_BGM,       SCHEDULE_KIND_CONTENT_1,
                                       SCHEDULE_KIND_CONTENT_2, SCHEDULE_KIND_CONTENT_3, SCHEDULE_KIND_CONTENT_4};

// One print file: UTF-16 little-endian with its mark, CR LF line ends.
class CTsvFile {
public:
    explicit CTsvFile(const QString &path) : m_file(path) {}
    bool open()
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        writeText(QString(QChar(0xFEFF)));
        return true;
    }
    void line(const QStringList &columns) { writeText(columns.join(QLatin1Char('\t')) + QStringLiteral("\r\n")); }
    bool close()
    {
        m_file.close();
        return m_file.error() == QFileDevice::NoError;
    }

private:
    void writeText(const QString &text)
    {
        QByteArray bytes;
        bytes.reserve(text.size() * 2);
        for (QChar c : text) {
            bytes.append(char(c.unicode() & 0xFF));
            bytes.append(char(c.unicode() >> 8));
        }
        m_file.write(bytes);
    }
    QFile m_file;
};

QString TimeText(const TimeValue &time)
{
    return QString::asprintf("%02d:%02d:%02d", time.hour, time.minute, time.second);
}

QString DateText(const DateValue &date)
{
    return QString::asprintf("%04d/%02d/%02d", date.year, date.month, date.day);
}

// The content type that a number carries in its middle part.
int TypeOfNumber(qint32 number)
{
    int type = 0;
    SplitContentId(number, nullptr, &type, nullptr);
    return type;
}

QString OrDashes(const QString &text, const QString &dashes)
{
    return text.isEmpty() ? dashes : TsvCell(text);
}

// The three columns of a content: its number, category and title, or the
// number and dashes when the library does not have it.
QStringList ContentColumns(CContentsStore &store, qint32 number, int type)
{
    const CPropertyBase *record = store.FindRecord(type, number);
    if (!record)
        return {FormatContentIdFixed(number), kNoTitle, QString()};
    return {FormatContentIdFixed(number), TsvCell(record->GetInfo()), TsvCell(record->GetTitle())};
}

QStringList EmptyColumns(int count)
{
    QStringList columns;
    for (int i = 0; i < count; ++i)
        columns << QString();
    return columns;
}

} // namespace

QString TsvCell(const QString &text)
{
    QString cell = text;
    for (QChar &c : cell) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return cell;
}

QString WeekdayLine(const QString &week)
{
    static const char *const kDays[] = {"SUN", "MON", "TUE", "WED", "THR", "FRI", "SAT"};
    QString line;
    for (int day = 0; day < 7; ++day) {
        if (week.isEmpty() || week.contains(WeekdayDigit(day)))
            line += QLatin1String(kDays[day]);
        line += QLatin1Char(' ');
    }
    return line.trimmed().replace(QLatin1Char(' '), QLatin1Char('\t'));
}

CPrintFiles::CPrintFiles(CContentsStore &store, QString dataRoot, EndReport end)
    : m_store(store), m_dataRoot(std::move(dataRoot)), m_end(std::move(end))
{
}

bool CPrintFiles::fail(const char *log, quint32 detail)
{
    WriteSyslog(LOG_ERR_APP, "%s", log);
    if (m_end)
        m_end(PRINT_END_WRITE_FAILED, detail);
    return false;
}

QString PrintFolderOf(const QString &dataRoot)
{
    return JoinPath(DataFolderOf(dataRoot), QStringLiteral("PrintTemp"));
}

bool CPrintFiles::PrepareTsvFolder(QString &folder)
{
    folder = PrintFolderOf(m_dataRoot);
    if (!DeleteFolderTree(folder, true) && GetLastError() != 2 && GetLastError() != 3) {
        const quint32 error = GetLastError();
        WriteSyslog(LOG_ERR_WIN, "It failed in the deletion of the TSV output folder. : Error = %d", int(error));
        if (m_end)
            m_end(PRINT_END_WRITE_FAILED, error);
        return false;
    }
    if (CreateFolderPath(folder) < 0) {
        const quint32 error = GetLastError();
        WriteSyslog(LOG_ERR_WIN, "It failed in the preparation of the TSV output folder. : Error = %d", int(error));
        if (m_end)
            m_end(PRINT_END_WRITE_FAILED, error);
        return false;
    }
    return true;
}

bool CPrintFiles::WritePrintFiles(const PrintRequest &request, PrintFileSet &files)
{
    if (!PrepareTsvFolder(files.folder))
        return false;
    // The lists and the edit models the files are written from are the
    // window's, which paints them meanwhile: they are read on its thread.
    return RunOnOwnerThread([&] { return writeFiles(request, files); });
}

bool CPrintFiles::writeFiles(const PrintRequest &request, PrintFileSet &files)
{
    bool written = false;
    switch (request.kind) {
    case PRINT_CALENDAR:
        files.calendar = true;
        return SaveCalendarTSV(files.folder, request.year, request.month);
    case PRINT_SCHEDULE: {
        files.schedule = true;
        if (request.scheduleOnly)
            return SaveScheduleTSV(files.folder, nullptr, nullptr, request.edit);
        QList<qint32> playlists;
        QList<qint32> bgmLists;
        if (!SaveScheduleTSV(files.folder, &playlists, &bgmLists, request.edit))
            return false;
        std::sort(playlists.begin(), playlists.end());
        std::sort(bgmLists.begin(), bgmLists.end());
        // A list that does not load is left out and takes no file number, so
        // the files the macro reads are numbered without a hole.
        for (qint32 number : playlists) {
            if (!SavePlaylistTSV(files.folder, files.playlists + 1, number, CONTENT_PLAYLIST, true, request.edit,
                                 written))
                return false;
            files.playlists += written ? 1 : 0;
        }
        for (qint32 number : bgmLists) {
            if (!SavePlaylistTSV(files.folder, files.bgmLists + 1, number, CONTENT_BGMLIST, true, request.edit,
                                 written))
                return false;
            files.bgmLists += written ? 1 : 0;
        }
        return true;
    }
    case PRINT_PLAYLIST:
    case PRINT_BGM_LIST:
        if (!SavePlaylistTSV(files.folder, 1, -1, request.kind, false, request.edit, written))
            return false;
        (request.kind == PRINT_PLAYLIST ? files.playlists : files.bgmLists) = 1;
        return true;
    default:
        return fail("CPrintFiles::WritePrintFiles : Invalid print kind");
    }
}

bool CPrintFiles::SavePlaylistTSV(const QString &folder, int fileIndex, qint32 number, int type, bool fromSchedule,
                                  bool edit, bool &written)
{
    written = false;
    CPlaylistEditModel *model = nullptr;
    if (number < 0) {
        model = edit ? m_store.GetPlaylistModel(type) : m_store.GetSecondPlaylistModel(type);
        if (!model || (!edit && model->GetIndex() < 0))
            return fail("CMainFrame::SavePlaylistTSV : contIndex < 0");
    } else {
        int prefix = 0;
        if (!SplitContentId(number, &prefix, nullptr, nullptr))
            return fail("CMainFrame::SavePlaylistTSV : DLKxExtractFullIndex");
        model = m_store.GetScratchPlaylistModel(type);
        model->SetIdPrefix(prefix);
        if (!model->Load(number, type)) {
            if (fromSchedule)
                return true;
            const quint32 error = GetLastError();
            WriteSyslog(LOG_ERR_WIN, "It failed in reading of the play list. : Content index = %d : Error = %d",
                        number, int(error));
            if (m_end)
                m_end(PRINT_END_WRITE_FAILED, error);
            return false;
        }
    }
    const QString name = type == CONTENT_BGMLIST ? QString::asprintf("BGM_%03d.TSV", fileIndex)
                                                 : QString::asprintf("PLST_%04d.TSV", fileIndex);
    CTsvFile file(JoinPath(folder, name));
    if (!file.open())
        return fail("CMainFrame::SavePlaylistTSV : CreateFile", GetLastError());
    file.line({QStringLiteral("1.0")});
    file.line({model->GetIndex() < 0 ? kNoNumber : FormatContentIdFixed(model->GetIndex())});
    file.line({OrDashes(model->GetInfo(), kNoInfo)});
    file.line({OrDashes(model->GetTitle(), kNoTitle)});
    QList<int> tracks;
    if (type == CONTENT_BGMLIST)
        tracks.append(model->FindTrack(kBgmTrackFlags[0]));
    else
        for (int flag : LayoutTemplate::kTrackFlags)
            tracks.append(model->FindTrack(flag));
    for (int row = 0; row < model->GetRowCount(); ++row) {
        TimeValue start;
        model->GetStartTime(row, start);
        QStringList columns{TimeText(start)};
        for (int track : tracks) {
            TimetableCell cell;
            if (track < 0 || !model->IsCellUsed(row, track, true)) {
                columns << EmptyColumns(3);
                continue;
            }
            if (!model->GetItem(row, track, cell))
                return fail("CMainFrame::SavePlaylistTSV : pEdit->GetEvent");
            const qint32 item = cell.item.GetIndex();
            const int itemType = TypeOfNumber(item);
            if (cell.gap)
                columns << FormatContentIdFixed(item) << EmptyColumns(2);
            else if (itemType == 11)
                columns << FormatContentIdFixed(item) << QString() << LoadString(kTextExternalInput);
            else
                columns << ContentColumns(m_store, item, itemType);
        }
        file.line(columns);
    }
    TimeValue end;
    model->GetEndTime(model->GetRowCount() - 1, end);
    file.line(QStringList{TimeText(end)} + EmptyColumns(3 * int(tracks.size())));
    if (number >= 0)
        model->Clear();
    if (!file.close())
        return fail("CMainFrame::SavePlaylistTSV : WriteFile", GetLastError());
    written = true;
    return true;
}

bool CPrintFiles::SaveScheduleTSV(const QString &folder, QList<qint32> *playlists, QList<qint32> *bgmLists, bool edit)
{
    CScheduleEditModel *model = edit ? m_store.GetScheduleModel() : m_store.GetSecondScheduleModel();
    if (!edit && model->GetIndex() < 0)
        return fail("CMainFrame::SaveScheduleTSV : contIndex < 0");
    CScheduleProperty record;
    record.SetWeek(QString());
    if (CContentsList *list = m_store.GetList(CONTENT_SCHEDULE)) {
        const int position = list->FindCode(model->GetIndex());
        if (position >= 0 && !list->Get(position, &record))
            return fail("CMainFrame::SaveScheduleTSV : pListSchedule->Get");
    }
    CTsvFile file(JoinPath(folder, QStringLiteral("SCHEDULE.TSV")));
    if (!file.open())
        return fail("CMainFrame::SaveScheduleTSV : CreateFile", GetLastError());
    TimeValue rangeStart;
    TimeValue rangeEnd;
    model->GetTimeRange(rangeStart, rangeEnd);
    file.line({QStringLiteral("1.0")});
    file.line({model->GetIndex() < 0 ? kNoNumber : FormatContentIdFixed(model->GetIndex())});
    file.line({OrDashes(record.GetInfo(), kNoInfo)});
    file.line({OrDashes(record.GetTitle(), kNoTitle)});
    file.line({DateText(record.GetStartDate()), DateText(record.GetEndDate())});
    file.line({WeekdayLine(record.GetWeek())});
    file.line({TimeText(rangeStart), TimeText(rangeEnd)});
    for (int row = 0; row < model->GetRowCount(); ++row) {
        TimeValue start;
        model->GetStartTime(row, start);
        QStringList columns{TimeText(start)};
        for (int kind : kScheduleTrackKinds) {
            const int track = model->FindTrackForType(kind);
            TimetableCell cell;
            if (track < 0) {
                columns << EmptyColumns(3);
                continue;
            }
            if (!model->GetItem(row, track, cell))
                return fail("CMainFrame::SaveScheduleTSV : pEdit->GetEvent");
            const qint32 item = cell.item.GetIndex();
            if (cell.kind == 0) {
                columns << (item >= 1 ? FormatContentIdFixed(item) : QString()) << EmptyColumns(2);
                continue;
            }
            const int itemType = item >= kTouchPanelIndexBase ? CONTENT_PLAYLIST : TypeOfNumber(item);
            if (!IsPropertyType(itemType))
                return fail("CMainFrame::SaveScheduleTSV : pList == NULL");
            columns << ContentColumns(m_store, item, itemType);
            if (kind == SCHEDULE_KIND_PLAYLIST && playlists && item < kTouchPanelIndexBase
                && !playlists->contains(item))
                playlists->append(item);
            if (kind == SCHEDULE_KIND_BGM && bgmLists && !bgmLists->contains(item))
                bgmLists->append(item);
        }
        file.line(columns);
    }
    TimeValue end;
    model->GetEndTime(model->GetRowCount() - 1, end);
    file.line(QStringList{TimeText(end)} + EmptyColumns(18));
    if (!file.close())
        return fail("CMainFrame::SaveScheduleTSV : WriteFile", GetLastError());
    return true;
}

bool CPrintFiles::SaveCalendarTSV(const QString &folder, int year, int month)
{
    auto *calendar = dynamic_cast<CCalendarList *>(m_store.GetList(CONTENT_CALENDAR));
    CTsvFile file(JoinPath(folder, QStringLiteral("CALENDAR.TSV")));
    if (!calendar || !file.open())
        return fail("CMainFrame::SaveCalendarTSV : CreateFile", GetLastError() ? GetLastError() : 1359);
    file.line({QStringLiteral("1.0")});
    file.line({QString::asprintf("%04d/%02d", year, month)});
    const QDate first(year, month, 1);
    for (QDate day = first; day < first.addMonths(1); day = day.addDays(1)) {
        const int position = calendar->FindByDate(ToDateValue(day));
        if (position < 0)
            continue;
        CCalendarProperty row;
        if (!calendar->Get(position, &row))
            return fail("CMainFrame::SaveCalendarTSV : pListCal->Get");
        file.line({QString::asprintf("%02d", day.day()), row.GetFlag() == 0 ? QStringLiteral("NOPLAY")
                                                                             : QStringLiteral("PLAY"),
                   FormatContentIdFixed(row.GetIndex()), TsvCell(row.GetInfo()), TsvCell(row.GetTitle())});
    }
    if (!file.close())
        return fail("CMainFrame::SaveCalendarTSV : WriteFile", GetLastError());
    return true;
}
