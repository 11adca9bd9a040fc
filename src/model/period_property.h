#pragma once
// The part of a schedule or calendar record that names days: a start and an
// end date and the weekdays ("1" Sunday to "7" Saturday) within them.

#include "model/property_base.h"

class CPeriodProperty : public CPropertyBase {
public:
    const DateValue &GetStartDate() const { return m_startDate; }
    const DateValue &GetEndDate() const { return m_endDate; }
    void GetStartDate(quint16 &year, quint16 &month, quint16 &day) const;
    void GetEndDate(quint16 &year, quint16 &month, quint16 &day) const;
    bool SetStartDate(const DateValue &date);
    bool SetEndDate(const DateValue &date);
    const QString &GetWeek() const { return m_week; }
    bool SetWeek(const QString &week);

    int CompareBy(int column, const CPropertyBase &other) const override;
    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

protected:
    explicit CPeriodProperty(int contentType);

private:
    DateValue m_startDate;
    DateValue m_endDate;
    QString m_week;
};
