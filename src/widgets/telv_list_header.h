#pragma once
// The header of a CTelvListCtrl: draws a column's sort mark (icon 804
// ascending, 803 descending) on the right of its text, and reports the end
// of a divider drag.

#include <QHeaderView>
#include <QPixmap>

class TelvListHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TelvListHeader(QWidget *parent = nullptr);

signals:
    // The mouse let go of a divider that it dragged.
    void sectionTrackEnded(int logicalIndex, int size);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int markOf(int logicalIndex) const;

    QPixmap m_marks[2]; // ascending, descending
    bool m_pressed = false;
    int m_tracked = -1;
};
