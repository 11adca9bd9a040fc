#include "ui/contents/color_combo_box.h"

#include "widgets/color_dialog.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

// Draws each entry in its own colours, its text centred.
class ColorItemDelegate final : public QStyledItemDelegate {
public:
    explicit ColorItemDelegate(CColorComboBox *combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        ColorRef background = 0;
        ColorRef textColor = 0;
        QString text;
        m_combo->GetColorInfo(index.row(), background, textColor, text);
        painter->fillRect(option.rect, ToQColor(background));
        painter->setPen(ToQColor(textColor));
        painter->drawText(option.rect, Qt::AlignCenter | Qt::TextSingleLine, text);
        if (option.state & QStyle::State_Selected) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            m_combo->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, m_combo);
        }
    }

private:
    CColorComboBox *m_combo;
};

} // namespace

CColorComboBox::CColorComboBox(QWidget *parent) : QComboBox(parent)
{
    setItemDelegate(new ColorItemDelegate(this));
    connect(this, &QComboBox::activated, this, [this](int index) { m_lastSelection = index; });
}

int CColorComboBox::AddColor(const QString &text, ColorRef background, ColorRef textColor)
{
    addItem(text);
    const int index = count() - 1;
    if (index != m_backColors.size())
        return -1;
    m_backColors.append(background);
    m_textColors.append(textColor);
    return index;
}

void CColorComboBox::GetColorInfo(int index, ColorRef &background, ColorRef &textColor, QString &text) const
{
    if (!isEntry(index))
        index = isEntry(currentIndex()) ? currentIndex() : m_lastSelection;
    if (!isEntry(index)) {
        background = FromQColor(palette().color(QPalette::Base));
        textColor = FromQColor(palette().color(QPalette::Text));
        text.clear();
        return;
    }
    background = m_backColors[index];
    textColor = m_textColors[index];
    text = itemText(index);
}

void CColorComboBox::SetCurSel(int index)
{
    setCurrentIndex(index);
    m_lastSelection = index;
}

void CColorComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);

    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    ColorRef background = 0;
    ColorRef textColor = 0;
    QString text;
    GetColorInfo(-1, background, textColor, text);
    painter.fillRect(field, ToQColor(background));
    painter.setPen(ToQColor(textColor));
    painter.drawText(field, Qt::AlignCenter | Qt::TextSingleLine, text);
}
