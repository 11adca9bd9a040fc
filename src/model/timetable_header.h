#pragma once
// The texts and the date a playlist, schedule or sequence carries in its file
// and its edit model: the title, the category (info) and the deletion date.

#include "core/win_types.h"

#include <QString>

class CTimetableHeader {
public:
    const QString &GetTitle() const { return m_title; }
    // At most 40 characters, else false with last error 87.
    bool SetTitle(const QString &title);
    // The category: at most 20 characters, else false with last error 87.
    const QString &GetInfo() const { return m_info; }
    bool SetInfo(const QString &info);
    // Year 0 means none, 9999-12-31 never; a date not on the calendar is
    // refused with last error 87.
    const DateValue &GetDeleteDate() const { return m_deleteDate; }
    bool SetDeleteDate(const DateValue &date);

protected:
    void clearHeader();

private:
    QString m_title;
    QString m_info;
    DateValue m_deleteDate;
};
