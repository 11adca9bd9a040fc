#pragma once
// The small modal dialog "時間の変更" that edits one hours-minutes-seconds
// value; the playlist and schedule editors open it to change an event's start
// or end. With the 48-hour flag the hours run from 0 to 48 (times past
// midnight). Enter in the time field confirms the dialog.

#include <QDialog>

class CTimeCodeCtrl;

class CTimeEditDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2031;
    static constexpr int kTimeControlId = 1153;

    // titleId: the string id of the window title; -1 keeps the dialog's own.
    explicit CTimeEditDlg(QWidget *parent = nullptr, int titleId = -1, bool hours48 = false);
    ~CTimeEditDlg() override;

    void SetTime(quint16 hours, quint16 minutes, quint16 seconds);
    quint16 GetHours() const { return m_hours; }
    quint16 GetMinutes() const { return m_minutes; }
    quint16 GetSeconds() const { return m_seconds; }

    CTimeCodeCtrl *GetTimeCtrl() const { return m_time; }

    // Reads the three values from the time field and closes the dialog.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool onTimeNotify(int code);

    CTimeCodeCtrl *m_time;
    int m_titleId;
    bool m_hours48;
    quint16 m_hours = 0;
    quint16 m_minutes = 0;
    quint16 m_seconds = 0;
};
