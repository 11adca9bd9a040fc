#pragma once
// "自動削除日の変更": the automatic deletion date of the selected contents,
// cleared, never, or a date from today plus the keep period to 2035-12-31.
// The caller sets the date before exec and reads it after OK.

#include "core/win_types.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QRadioButton;

class CDelDateChgDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2039;
    static constexpr int kClearId = 1400;
    static constexpr int kChangeId = 1410;
    static constexpr int kNeverId = 1420;
    static constexpr int kDateLabelId = 1430;
    static constexpr int kDatePickerId = 1440;
    static constexpr int kNeverLabelId = 1450;

    enum Choice { CHOICE_CLEAR = 0, CHOICE_NEVER = 1, CHOICE_CHANGE = 2 };

    explicit CDelDateChgDlg(QWidget *parent = nullptr);

    // Takes the date and chooses the radio that fits it.
    void SetDate(const DateValue &date);
    DateValue GetDate() const { return m_date; }
    int GetChoice() const { return m_choice; }

    void OnClear();
    void OnNever();
    void OnChange();
    // Keeps the choice: asks 5009 before a changed date; No keeps the
    // dialog open.
    void accept() override;

    QRadioButton *GetClearRadio() const { return m_clear; }
    QRadioButton *GetNeverRadio() const { return m_never; }
    QRadioButton *GetChangeRadio() const { return m_change; }
    QDateEdit *GetDatePicker() const { return m_picker; }

private:
    void showDate(bool show);

    QRadioButton *m_clear = nullptr;
    QRadioButton *m_never = nullptr;
    QRadioButton *m_change = nullptr;
    QLabel *m_dateLabel = nullptr;
    QDateEdit *m_picker = nullptr;
    QLabel *m_neverLabel = nullptr;
    DateValue m_date;
    int m_choice = CHOICE_CLEAR;
};
