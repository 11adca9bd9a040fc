#include "record_samples.h"

#include "model/calendar_property.h"
#include "model/control_property.h"
#include "model/media_property.h"
#include "model/pin_p_property.h"
#include "model/playlist_property.h"
#include "model/schedule_property.h"
#include "model/streaming_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"

#include <QStringList>

const int kListTypes[13] = {CONTENT_MOVIE, CONTENT_IMAGE, CONTENT_TELOP, CONTENT_WEB, CONTENT_FLASH,
                            CONTENT_AUDIO, CONTENT_CONTROL, CONTENT_STREAMING, CONTENT_PINP,
                            CONTENT_PLAYLIST, CONTENT_BGMLIST, CONTENT_SCHEDULE, CONTENT_CALENDAR};

namespace {

SystemTime timeOf(int serial, int hourShift)
{
    SystemTime t;
    t.year = quint16(2010 + serial % 20);
    t.month = quint16(1 + serial % 12);
    t.day = quint16(1 + serial % 28);
    t.hour = quint16((serial + hourShift) % 24);
    t.minute = quint16(serial % 60);
    t.second = quint16((serial * 7) % 60);
    t.milliseconds = quint16(serial % 1000);
    return t;
}

DateValue dateOf(int serial)
{
    return DateValue{quint16(2020 + serial % 10), quint16(1 + serial % 12), quint16(1 + serial % 28)};
}

void fillMedia(CMediaProperty &media, int serial)
{
    media.SetLink(QStringLiteral("素材_%1.mp4").arg(serial));
    media.SetFileDate(timeOf(serial, 3));
    media.SetWidth(1920 - serial % 100);
    media.SetHeight(1080 - serial % 50);
    media.SetDuration(quint64(serial) * 1000003ULL);
    media.SetPlayTime(PlayLength{quint16(serial % 24), quint16(serial % 60), 30, quint16(serial % 30)});
    media.SetAudioLevel(true, serial % 101);
}

void fillTypeFields(CPropertyBase &record, int serial)
{
    if (auto *media = dynamic_cast<CMediaProperty *>(&record))
        fillMedia(*media, serial);
    if (auto *telop = dynamic_cast<CTelopProperty *>(&record)) {
        telop->SetFormat(CTelopProperty::FORMAT_TEXT);
        telop->SetEffectType(1 + serial % 3);
        telop->SetSpeed(150);
        telop->SetColor(1, MakeRgb(0x12, 0x34, serial % 256));
        telop->SetLineHeight(48);
    }
    if (auto *web = dynamic_cast<CWebProperty *>(&record)) {
        web->SetUrl(QStringLiteral("http://example.test/ページ%1.html").arg(serial));
        web->SetOffset(10, 20);
        web->SetUser(QStringLiteral("user%1").arg(serial));
        web->SetPassword(QStringLiteral("pass%1").arg(serial));
        web->SetOption(1);
        web->SetReload(300);
    }
    if (auto *pinp = dynamic_cast<CPinPProperty *>(&record)) {
        pinp->SetLink(QStringLiteral("HDMI入力"));
        pinp->SetData(QStringLiteral("0A1B2C"), QStringLiteral("FF"));
        pinp->SetPort(2);
    } else if (auto *control = dynamic_cast<CControlProperty *>(&record)) {
        control->SetCtrlType(CControlProperty::CTRL_COM);
        control->SetCtrlParams(QStringLiteral("0D0A%1").arg(serial % 256, 2, 16, QLatin1Char('0')).toUpper(),
                               QStringLiteral("06"));
        control->SetPort(2);
    }
    if (auto *stream = dynamic_cast<CStreamingProperty *>(&record)) {
        stream->SetAddress(QStringLiteral("192.168.0.%1").arg(serial % 250 + 1));
        stream->SetMode(1);
        stream->SetUser(QStringLiteral("camera"));
        stream->SetPassword(QStringLiteral("secret"));
        stream->SetPort(8080);
    }
    if (auto *playlist = dynamic_cast<CPlaylistProperty *>(&record)) {
        playlist->SetDuration(TimeValue{1, 2, 3, quint16(serial % 30)});
        playlist->SetResolution(serial % 14);
        playlist->SetOrientation(serial % 2);
    }
    if (auto *period = dynamic_cast<CPeriodProperty *>(&record)) {
        period->SetStartDate(dateOf(serial));
        period->SetEndDate(dateOf(serial + 1));
        period->SetWeek(QStringLiteral("1357"));
    }
    if (auto *schedule = dynamic_cast<CScheduleProperty *>(&record)) {
        schedule->SetStartTime(TimeValue{8, 30, 0, 0});
        schedule->SetEndTime(TimeValue{24, 0, 0, 0});
        schedule->SetBgColor(serial % 8);
        schedule->SetReceivedDate(timeOf(serial, 5));
    }
    if (auto *calendar = dynamic_cast<CCalendarProperty *>(&record)) {
        calendar->SetSchedule(151900000 + serial % 1000);
        calendar->SetFlag(serial % 3 - 1);
        calendar->SetStatus(serial % 5);
    }
}

class DumpWriter : public CPropertyWriter {
public:
    void WriteField(QStringView name, const QString &text) override
    {
        lines.append(name.toString() + u'=' + text);
    }
    QStringList lines;
};

} // namespace

std::unique_ptr<CPropertyBase> MakeFullRecord(int contentType, int serial)
{
    std::unique_ptr<CPropertyBase> record = CreateProperty(contentType);
    record->SetIndex((contentType % 100) * 1000000 + serial);
    record->SetTitle(QStringLiteral("タイトル %1 <&> \"引用\"").arg(serial));
    record->SetInfo(QStringLiteral("分類%1").arg(serial % 7));
    record->SetDataFormat(QStringLiteral("MPEG-2 %1").arg(serial % 3));
    record->SetCreateDate(timeOf(serial, 0));
    record->SetDDate(timeOf(serial, 1));
    record->SetDeleteDate(dateOf(serial));
    record->SetSize(0x100000000ULL + quint64(serial));
    fillTypeFields(*record, serial);
    return record;
}

QString FieldDump(const CPropertyBase &record)
{
    DumpWriter writer;
    record.WriteFields(writer);
    return writer.lines.join(u'\n');
}
