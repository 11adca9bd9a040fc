#pragma once
// "SYST": the player's system state: clock, time zone, software version,
// serial number, MAC address, summer time, resolution, NTP state, fans and
// temperatures, and the date of its setup file.

#include "core/win_types.h"
#include "player/r40_request.h"

#include <QHash>

class CR40SystemCommand : public CR40Request {
public:
    CR40SystemCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    bool MakeRequest();

    // The player's clock (its local time); false when the reply has none.
    bool GetDateTime(SystemTime &time) const;
    QString GetTimeZone() const { return value(QStringLiteral("timezone")); }
    // The software version text ("1.23"), the reply's result.
    QString GetVersion() const { return GetResultString(); }
    QString GetSerialNumber() const { return value(QStringLiteral("serial")); }
    QString GetMacAddress() const { return value(QStringLiteral("mac")); }
    QString GetResolution() const { return value(QStringLiteral("resolution")); }
    // The numeric fields; -1 when the reply has none or it is not a number.
    int GetSummerTime() const { return number(QStringLiteral("summertime")); }
    int GetNtpStatus() const { return number(QStringLiteral("ntp")); }
    int GetFan1() const { return number(QStringLiteral("fan1")); }
    int GetFan2() const { return number(QStringLiteral("fan2")); }
    int GetTemp1() const { return number(QStringLiteral("temp1")); }
    int GetTemp2() const { return number(QStringLiteral("temp2")); }
    // The date and time of the player's setup file.
    bool GetConfigDate(SystemTime &time) const;

protected:
    bool ReadReplyElement(QXmlStreamReader &reader) override;
    void ClearReplyData() override { m_values.clear(); }

private:
    QString value(const QString &name) const { return m_values.value(name); }
    int number(const QString &name) const;
    bool dateTime(const QString &name, SystemTime &time) const;

    QHash<QString, QString> m_values;
};
