#pragma once
// The spin button of a CTimeCodeCtrl: an up and a down arrow that step a
// position within a range. The control gives it the range and the value of
// its active field and takes each new position back.

#include <QWidget>

class QToolButton;

class CTimeCodeSpin : public QWidget {
    Q_OBJECT
public:
    explicit CTimeCodeSpin(QWidget *parent = nullptr);

    void SetRange(int minimum, int maximum);
    void SetPos(int position);
    int GetPos() const { return m_position; }
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }

    QSize sizeHint() const override;

signals:
    // An arrow moved the position.
    void positionChanged(int position);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void step(int delta);

    QToolButton *m_up;
    QToolButton *m_down;
    int m_minimum = 0;
    int m_maximum = 0;
    int m_position = 0;
};
