#pragma once
// The record of a schedule (type 51): its play window within the day, the
// period and weekdays it covers, its background colour number in the
// calendar colour table and, in a list read from a player, when it arrived.
// A schedule-list record whose number carries type code 54 is a no-play period.

#include "model/period_property.h"

class CScheduleProperty : public CPeriodProperty {
public:
    CScheduleProperty();
    bool Copy(const CPropertyBase *source) override;

    const TimeValue &GetStartTime() const { return m_startTime; }
    bool SetStartTime(const TimeValue &time);
    const TimeValue &GetEndTime() const { return m_endTime; }
    bool SetEndTime(const TimeValue &time);
    // Number in the calendar colour table; -1 for none.
    qint32 GetBgColor() const { return m_bgColor; }
    bool SetBgColor(qint32 color);
    const SystemTime &GetReceivedDate() const { return m_receivedDate; }
    bool SetReceivedDate(const SystemTime &time);
    // A no-play period: its number carries type code 54 in its middle digits.
    bool IsNoPlayPeriod() const;

    int CompareBy(int column, const CPropertyBase &other) const override;
    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

private:
    TimeValue m_startTime;
    TimeValue m_endTime;
    qint32 m_bgColor = 0;
    SystemTime m_receivedDate;
};
