#pragma once
// A drop-down whose entries carry their own background and text colours (the
// calendar colours of schedules). The closed box shows the current entry in
// its colours; the last confirmed selection is remembered, so the colours
// stay known while nothing is selected.

#include "core/win_types.h"

#include <QComboBox>
#include <QList>

class CColorComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CColorComboBox(QWidget *parent = nullptr);

    // Adds an entry; its index, or -1 when nothing was added.
    int AddColor(const QString &text, ColorRef background, ColorRef textColor);

    // The colours and text of an entry. An index outside the entries means the
    // current selection, then the last remembered one; with neither, the
    // window colours and an empty text.
    void GetColorInfo(int index, ColorRef &background, ColorRef &textColor, QString &text) const;

    // Selects an entry and remembers it.
    void SetCurSel(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool isEntry(int index) const { return index >= 0 && index < m_backColors.size(); }

    QList<ColorRef> m_backColors;
    QList<ColorRef> m_textColors;
    int m_lastSelection = -1;
};
