#pragma once
// The record of one calendar row (type 50): a period and weekdays in which a
// schedule plays (flag 1, PLAY), is forced (-1, FORCEPLAY) or nothing plays
// (0, NOTPLAY), and the row's send status.

#include "model/period_property.h"

class CCalendarProperty : public CPeriodProperty {
public:
    enum Flag : qint32 { FLAG_FORCEPLAY = -1, FLAG_NOTPLAY = 0, FLAG_PLAY = 1 };
    static constexpr qint32 kMaxStatus = 4;

    CCalendarProperty();
    bool Copy(const CPropertyBase *source) override;

    // The row's date: when it was made or last changed (the record's create date).
    bool SetDate(const SystemTime &time) { return SetCreateDate(time); }
    // Number of the schedule the row plays (for flags 1 and -1).
    qint32 GetSchedule() const { return m_schedule; }
    bool SetSchedule(qint32 index);
    qint32 GetFlag() const { return m_flag; }
    bool SetFlag(qint32 flag);
    // Send status 0 to 4; never below 0.
    qint32 GetStatus() const { return m_status; }
    bool SetStatus(qint32 status);

    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

private:
    qint32 m_schedule = 0;
    qint32 m_flag = FLAG_NOTPLAY;
    qint32 m_status = 0;
};
