#pragma once
// "印刷": what to print from the calendar, the monthly schedule (0) or the
// schedule with its playlists and background-music lists (1).

#include <QDialog>

class QLabel;
class QRadioButton;

class CPrintCalendarDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2058;
    static constexpr int kMonthlyId = 6441;
    static constexpr int kWithListsId = 6442;
    static constexpr int kNoteId = 6443;

    explicit CPrintCalendarDlg(QWidget *parent = nullptr);
    ~CPrintCalendarDlg() override;

    // 0 the monthly schedule, 1 the schedule with its lists.
    quint8 GetChoice() const { return m_choice; }

    QRadioButton *GetMonthlyRadio() const { return m_monthly; }
    QRadioButton *GetWithListsRadio() const { return m_withLists; }
    QLabel *GetNote() const { return m_note; }

private:
    void choose(quint8 choice);

    QRadioButton *m_monthly;
    QRadioButton *m_withLists;
    QLabel *m_note;
    quint8 m_choice = 1;
};
