// Property records: the values each setter refuses, whole-record copies and
// the factory.

#include "record_samples.h"

#include "model/calendar_property.h"
#include "model/control_property.h"
#include "model/movie_property.h"
#include "model/pin_p_property.h"
#include "model/playlist_property.h"
#include "model/schedule_property.h"
#include "model/sequence_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"

#include <gtest/gtest.h>

TEST(PropertyBase, TextLimitsRefuseLongerTextsWith87AndKeepTheOldValue)
{
    CMovieProperty record;
    EXPECT_TRUE(record.SetTitle(QString(40, u'題')));
    EXPECT_FALSE(record.SetTitle(QString(41, u'a')));
    EXPECT_EQ(record.GetLastError(), 87u);
    EXPECT_EQ(record.GetTitle(), QString(40, u'題'));

    EXPECT_TRUE(record.SetInfo(QString(20, u'x')));
    EXPECT_FALSE(record.SetInfo(QString(21, u'x')));
    EXPECT_TRUE(record.SetDataFormat(QString(20, u'f')));
    EXPECT_FALSE(record.SetDataFormat(QString(21, u'f')));
    EXPECT_TRUE(record.SetInfo(QString()));
    EXPECT_EQ(record.GetLastError(), 0u);
}

TEST(PropertyBase, IndexMustHaveNineDigits)
{
    CMovieProperty record;
    EXPECT_TRUE(record.SetIndex(0));
    EXPECT_TRUE(record.SetIndex(999999999));
    EXPECT_FALSE(record.SetIndex(1000000000));
    EXPECT_FALSE(record.SetIndex(-1));
    EXPECT_EQ(record.GetIndex(), 999999999);
}

TEST(PropertyBase, DatesMustExistOrBeEmpty)
{
    CMovieProperty record;
    EXPECT_TRUE(record.SetDeleteDate(DateValue{9999, 12, 31}));
    EXPECT_TRUE(record.SetDeleteDate(DateValue{}));
    EXPECT_FALSE(record.SetDeleteDate(DateValue{2023, 2, 29}));
    EXPECT_FALSE(record.SetDeleteDate(DateValue{2024, 13, 1}));
    EXPECT_TRUE(record.SetDeleteDate(DateValue{2024, 2, 29}));

    SystemTime time{2024, 2, 0, 29, 23, 59, 59, 999};
    EXPECT_TRUE(record.SetCreateDate(time));
    time.hour = 24;
    EXPECT_FALSE(record.SetCreateDate(time));
    EXPECT_TRUE(record.SetDDate(SystemTime{}));
    time = SystemTime{2024, 4, 0, 31, 0, 0, 0, 0};
    EXPECT_FALSE(record.SetDDate(time));
    EXPECT_EQ(record.GetLastError(), 87u);
}

TEST(PropertyRecords, TypeSpecificSettersRefuseValuesOutsideTheirRange)
{
    CTelopProperty telop;
    EXPECT_FALSE(telop.SetEffectType(0));
    EXPECT_FALSE(telop.SetEffectType(4));
    EXPECT_TRUE(telop.SetEffectType(2));
    EXPECT_FALSE(telop.SetFormat(3));
    EXPECT_FALSE(telop.SetColor(2, 0));
    EXPECT_FALSE(telop.SetColor(1, 0x1000000));
    EXPECT_TRUE(telop.SetColor(1, MakeRgb(1, 2, 3)));

    CControlProperty control;
    EXPECT_FALSE(control.SetCtrlType(4));
    EXPECT_FALSE(control.SetCtrlType(0));
    EXPECT_TRUE(control.SetCtrlType(CControlProperty::CTRL_DISPLAY));
    EXPECT_TRUE(control.SetCtrlParams(QStringLiteral("0a1B"), QString()));
    EXPECT_FALSE(control.SetCtrlParams(QStringLiteral("0A1"), QString()));
    EXPECT_FALSE(control.SetCtrlParams(QStringLiteral("0A 1B"), QString()));
    EXPECT_FALSE(control.SetCtrlParams(QString(130, u'A'), QString()));
    EXPECT_TRUE(control.SetCtrlParams(QString(128, u'A'), QString(128, u'b')));
    EXPECT_TRUE(control.SetCtrlType(CControlProperty::CTRL_VOLUME));
    EXPECT_TRUE(control.SetCtrlParams(QStringLiteral("-1"), QString()));
    EXPECT_TRUE(control.SetCtrlParams(QStringLiteral("100"), QString()));
    EXPECT_FALSE(control.SetCtrlParams(QStringLiteral("101"), QString()));

    CPinPProperty pinp;
    EXPECT_EQ(pinp.GetCtrlType(), 4);
    EXPECT_FALSE(pinp.SetCtrlType(1));
    EXPECT_FALSE(pinp.SetData(QStringLiteral("XY"), QString()));

    CWebProperty web;
    EXPECT_FALSE(web.SetOffset(1921, 0));
    EXPECT_FALSE(web.SetReload(-1));
    EXPECT_TRUE(web.SetUrl(QStringLiteral("000000001/index.html")));
    EXPECT_EQ(web.GetLink(), QStringLiteral("000000001/index.html"));

    CScheduleProperty schedule;
    EXPECT_TRUE(schedule.SetEndTime(TimeValue{24, 0, 0, 0}));
    EXPECT_FALSE(schedule.SetEndTime(TimeValue{24, 0, 1, 0}));
    EXPECT_TRUE(schedule.SetStartTime(TimeValue{23, 59, 59, 29}));
    EXPECT_FALSE(schedule.SetStartTime(TimeValue{23, 59, 59, 30}));
    EXPECT_TRUE(schedule.SetWeek(QStringLiteral("1234567")));
    EXPECT_FALSE(schedule.SetWeek(QStringLiteral("118")));
    EXPECT_FALSE(schedule.SetWeek(QStringLiteral("0")));

    CCalendarProperty calendar;
    EXPECT_FALSE(calendar.SetFlag(2));
    EXPECT_TRUE(calendar.SetFlag(CCalendarProperty::FLAG_FORCEPLAY));
    EXPECT_FALSE(calendar.SetStatus(-1));
    EXPECT_FALSE(calendar.SetStatus(5));

    CPlaylistProperty playlist;
    EXPECT_FALSE(playlist.SetOrientation(2));
    EXPECT_FALSE(playlist.SetListType(54));
    EXPECT_TRUE(playlist.SetListType(CONTENT_BGMLIST));
    EXPECT_EQ(playlist.GetContentType(), CONTENT_BGMLIST);

    CMovieProperty movie;
    EXPECT_FALSE(movie.SetPlayTime(PlayLength{0, 60, 0, 0}));
    EXPECT_FALSE(movie.SetWidth(-1));
    EXPECT_FALSE(movie.SetAudioLevel(true, 101));
}

TEST(PropertyRecords, CopyTakesEveryFieldOfTheSameClassOnly)
{
    for (int type : kListTypes) {
        const auto source = MakeFullRecord(type, 42);
        auto target = CreateProperty(type);
        ASSERT_TRUE(target->Copy(source.get())) << type;
        EXPECT_EQ(FieldDump(*target), FieldDump(*source)) << type;
    }

    CMovieProperty movie;
    CControlProperty control;
    CPinPProperty pinp;
    EXPECT_FALSE(movie.Copy(nullptr));
    EXPECT_EQ(movie.GetLastError(), 87u);
    EXPECT_FALSE(movie.Copy(&control));
    // A picture-in-picture record is a control of its own kind, not a control.
    EXPECT_FALSE(control.Copy(&pinp));
    EXPECT_TRUE(movie.Copy(&movie));
}

TEST(PropertyRecords, FactoryMakesOneEmptyRecordPerContentType)
{
    for (int type : {1, 2, 3, 4, 5, 6, 7, 8, 10, 50, 51, 52, 53, 54}) {
        const auto record = CreateProperty(type);
        ASSERT_NE(record, nullptr) << type;
        EXPECT_EQ(record->GetContentType(), type);
        EXPECT_EQ(record->GetIndex(), 0);
    }
    for (int type : {0, 9, 11, 49, 55, 100, 101, -1})
        EXPECT_EQ(CreateProperty(type), nullptr) << type;
    EXPECT_NE(dynamic_cast<CSequenceProperty *>(CreateProperty(54).get()), nullptr);
}
