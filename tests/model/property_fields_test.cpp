// The text forms of list-file fields and the path checks on stored names.

#include "core/last_error.h"
#include "model/path_safety.h"
#include "model/property_checks.h"
#include "model/property_fields.h"

#include <gtest/gtest.h>

TEST(PropertyFields, FormsRoundTripAndParsersTakeExactlyTheirForm)
{
    const SystemTime time{2024, 2, 0, 29, 23, 5, 9, 7};
    EXPECT_EQ(DateTimeFieldText(time), QStringLiteral("2024-02-29 23:05:09.007"));
    SystemTime parsedTime;
    ASSERT_TRUE(ParseDateTimeField(DateTimeFieldText(time), parsedTime));
    EXPECT_EQ(parsedTime, time);
    for (const char *bad : {"2024-02-29 23:05:09", "2024-02-29T23:05:09.007", " 2024-02-29 23:05:09.007",
                            "2024-2-29 23:05:09.0070", "2024-02-29 23:05:09.00x"})
        EXPECT_FALSE(ParseDateTimeField(QString::fromLatin1(bad), parsedTime)) << bad;

    TimeValue parsedTimeValue;
    EXPECT_EQ(TimeFieldText(TimeValue{1, 2, 3, 29}), QStringLiteral("01:02:03.029"));
    EXPECT_TRUE(ParseTimeField(u"24:00:00.000", parsedTimeValue));
    EXPECT_FALSE(ParseTimeField(u"01:02:03", parsedTimeValue));

    qint32 index = 0;
    EXPECT_EQ(IndexFieldText(1000001), QStringLiteral("001000001"));
    EXPECT_TRUE(ParseIndexField(u"999999999", index));
    EXPECT_FALSE(ParseIndexField(u"-00000001", index));
    EXPECT_FALSE(ParseIndexField(u"1000000000", index));

    ColorRef color = 0;
    EXPECT_EQ(ColorFieldText(MakeRgb(0x12, 0xAB, 0x05)), QStringLiteral("0x12AB05"));
    ASSERT_TRUE(ParseColorField(u"0x12ab05", color));
    EXPECT_EQ(color, MakeRgb(0x12, 0xAB, 0x05));
    EXPECT_FALSE(ParseColorField(u"0x12AB0G", color));
    EXPECT_FALSE(ParseColorField(u"12AB05", color));

    qint64 number = 0;
    EXPECT_TRUE(ParseIntField(u"-1", -1, 100, number));
    EXPECT_FALSE(ParseIntField(u"-2", -1, 100, number));
    EXPECT_FALSE(ParseIntField(u"+5", -1, 100, number));
    EXPECT_FALSE(ParseIntField(u" 5", -1, 100, number));
    EXPECT_FALSE(ParseIntField(u"", -1, 100, number));
    EXPECT_FALSE(ParseIntField(u"99999999999999999999999", INT64_MIN, INT64_MAX, number));
    quint64 size = 0;
    EXPECT_TRUE(ParseUInt64Field(u"18446744073709551615", size));
    EXPECT_EQ(size, ~quint64(0));
    EXPECT_FALSE(ParseUInt64Field(u"18446744073709551616", size));
}

TEST(PropertyChecks, SamplesAreTheLastThousandSerials)
{
    EXPECT_FALSE(IsSampleIndex(101998999));
    EXPECT_TRUE(IsSampleIndex(101999000));
    EXPECT_TRUE(IsSampleIndex(999999999));
    EXPECT_TRUE(IsHexByteText(QString(), 128));
    EXPECT_FALSE(IsValidWeekString(QStringLiteral("12345678")));
}

TEST(PathSafety, NamesBecomeFoldersOnlyAsOnePlainComponent)
{
    EXPECT_TRUE(IsSafePathComponent(QStringLiteral("受付 1")));
    EXPECT_TRUE(IsSafePathComponent(QStringLiteral("..a")));
    for (const QString &name : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("a/b"),
                                QStringLiteral("a\\b"), QStringLiteral("C:"), QStringLiteral("a\nb")})
        EXPECT_FALSE(IsSafePathComponent(name)) << qPrintable(name);

    QString path = QStringLiteral("unchanged");
    EXPECT_TRUE(JoinInsideFolder(QStringLiteral("/data"), QStringLiteral("a/./b.mp4"), path));
    EXPECT_EQ(path, QStringLiteral("/data/a/b.mp4"));
    for (const char *name : {"../x", "a/../../x", "/etc/passwd", "C:\\x", "..\\x", "", "."}) {
        path = QStringLiteral("unchanged");
        EXPECT_FALSE(JoinInsideFolder(QStringLiteral("/data"), QString::fromLatin1(name), path)) << name;
        EXPECT_EQ(path, QStringLiteral("unchanged"));
        EXPECT_EQ(GetLastError(), 87u);
    }
}
