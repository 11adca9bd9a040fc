// The control editor's data: typed hexadecimal byte text, volume levels and
// the record values made from them.
#include "model/control_property.h"
#include "ops/control_data.h"

#include <gtest/gtest.h>

TEST(ControlData, HexTextIsPairsWithOrWithoutSingleBlanks)
{
    QString digits;
    EXPECT_TRUE(NormalizeHexText(QStringLiteral("0A1B"), digits));
    EXPECT_EQ(digits, QStringLiteral("0A1B"));
    EXPECT_TRUE(NormalizeHexText(QStringLiteral("0a 1b"), digits));
    EXPECT_EQ(digits, QStringLiteral("0a1b"));
    // Runs of blanks count as one, trailing blanks are dropped.
    EXPECT_TRUE(NormalizeHexText(QStringLiteral("0A  1B  "), digits));
    EXPECT_EQ(digits, QStringLiteral("0A1B"));
    for (const char *refused : {"0A1", "0A1B 2C", "0G", " 0A", "0A,1B"})
        EXPECT_FALSE(NormalizeHexText(QString::fromLatin1(refused), digits)) << refused;
    EXPECT_TRUE(NormalizeHexText(QString(128, u'F'), digits));
    EXPECT_FALSE(NormalizeHexText(QString(130, u'F'), digits));
    EXPECT_EQ(SpacedHexPairs(QStringLiteral("0A1B2C")), QStringLiteral("0A 1B 2C"));
}

TEST(ControlData, ChecksGiveTheFieldAtFault)
{
    ControlFields volume;
    volume.ctrlType = CControlProperty::CTRL_VOLUME;
    volume.volumeKind = VOLUME_USER;
    EXPECT_EQ(CheckControlData(volume), CONTROL_VOLUME_EMPTY);
    for (const char *refused : {"0", "101", "5a"}) {
        volume.volume = QString::fromLatin1(refused);
        EXPECT_EQ(CheckControlData(volume), CONTROL_VOLUME_OUT_OF_RANGE) << refused;
    }
    volume.volume = QStringLiteral("100");
    EXPECT_EQ(CheckControlData(volume), CONTROL_DATA_OK);

    ControlFields com;
    com.ctrlType = CControlProperty::CTRL_COM;
    EXPECT_EQ(CheckControlData(com), CONTROL_SEND_DATA_EMPTY);
    com.send = QStringLiteral("0A1");
    EXPECT_EQ(CheckControlData(com), CONTROL_SEND_DATA_WRONG);
    com.send = QStringLiteral("0A 1B");
    com.response = QStringLiteral("0C 0");
    EXPECT_EQ(CheckControlData(com), CONTROL_RESPONSE_DATA_WRONG);
    com.response.clear();
    EXPECT_EQ(CheckControlData(com), CONTROL_DATA_OK);
}

TEST(ControlData, ValuesAndDefaultTextsOfEachKind)
{
    ControlFields display;
    display.ctrlType = CControlProperty::CTRL_DISPLAY;
    display.send = QStringLiteral("0A  1b");
    display.response = QStringLiteral("FF");
    ControlValues values = MakeControlValues(display);
    EXPECT_EQ(values.param1, QStringLiteral("0A1b"));
    EXPECT_EQ(values.param2, QStringLiteral("FF"));
    EXPECT_EQ(values.defaultTitle, QStringLiteral("0A 1b"));
    EXPECT_EQ(values.defaultInfo, QStringLiteral("ディスプレイ 制御"));

    ControlFields volume;
    volume.ctrlType = CControlProperty::CTRL_VOLUME;
    volume.volumeKind = VOLUME_SYSTEM;
    EXPECT_EQ(MakeControlValues(volume).param1, QStringLiteral("-1"));
    EXPECT_EQ(MakeControlValues(volume).defaultTitle, QStringLiteral("システム設定"));
    volume.volumeKind = VOLUME_USER;
    volume.volume = QStringLiteral("50");
    values = MakeControlValues(volume);
    EXPECT_EQ(values.param1, QStringLiteral("50"));
    EXPECT_EQ(values.defaultTitle, QStringLiteral("50%"));
    EXPECT_EQ(values.defaultInfo, QStringLiteral("音量 制御"));
}
