#pragma once
// One two-digit field of a CTimeCodeCtrl. It holds only a number within its
// range: typing is checked key by key by the control, and whatever else puts
// text into it (pasting, dropping, an input method) passes a validator that
// refuses anything but one or two digits within the range.

#include <QLineEdit>

class CTimeCodeEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CTimeCodeEdit(QWidget *parent = nullptr);

    void SetRange(int minimum, int maximum);
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    // The field's number; 0 for a text that does not parse.
    int GetValue() const;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    int m_minimum = 0;
    int m_maximum = 99;
};
