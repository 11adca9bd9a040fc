#pragma once
// A colour swatch: a checkable button that shows one colour inside a sunken
// frame. The telop colour palette lays fifteen of them out as radio buttons.

#include "core/win_types.h"

#include <QAbstractButton>

class CColorButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CColorButton(QWidget *parent = nullptr);

    // Stores the colour and repaints at once.
    void SetColor(ColorRef color);
    ColorRef GetColor() const { return m_color; }
    bool IsChecked() const { return isChecked(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ColorRef m_color = 0;
};
