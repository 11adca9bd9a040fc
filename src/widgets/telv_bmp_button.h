#pragma once
// A button drawn from bitmaps: a normal and a pressed look, and a third
// bitmap drawn over it while the button is "pushed" (the navigation bar marks
// the current view so). A label, when set, is drawn on one line over the
// bitmap, vertically centred, in the text colour from the text offset.

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

class CTelvBmpButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CTelvBmpButton(QWidget *parent = nullptr);

    // Loads the bitmaps (a current-view id of -1: none), sets the label and
    // sizes the button to the normal bitmap. False when the normal or the
    // pressed bitmap cannot be loaded; the button keeps its looks then.
    bool SetBitmaps(const QString &label, int normalId, int pressedId, int currentId);

    // Redraws only when the flag changes.
    void SetPushed(bool pushed);
    bool IsPushed() const { return m_pushed; }

    void SetTextColor(const QColor &color);
    void SetTextOffset(int left);
    int GetTextOffset() const { return m_textLeft; }
    // The label's font: the button's own, made smaller where the label would
    // not fit between the text offset and the right edge.
    QFont LabelFont() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_normal;
    QPixmap m_pressed;
    QPixmap m_current;
    bool m_pushed = false;
    QColor m_textColor = Qt::white;
    int m_textLeft = 0;
};
