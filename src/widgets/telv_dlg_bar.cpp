#include "widgets/telv_dlg_bar.h"

#include "widgets/dialog_units.h"

CTelvDlgBar::CTelvDlgBar(const QSize &templateUnits) : m_templateUnits(templateUnits) {}

bool CTelvDlgBar::Create(QWidget *parent, int templateId, quint32 barStyle, int barId)
{
    setParent(parent);
    setObjectName(QString::number(barId));
    m_templateId = templateId;
    m_barStyle = barStyle;
    resize(GetTemplateSize());
    OnInitDialogBar();
    return true;
}

QSize CTelvDlgBar::GetTemplateSize() const
{
    return DialogUnitsToPixels(font(), m_templateUnits);
}

QSize CTelvDlgBar::CalcFixedLayout(bool stretch, bool horizontal) const
{
    QSize size = GetTemplateSize();
    if (stretch && horizontal)
        size.setWidth(kStretchLength);
    else if (stretch)
        size.setHeight(kStretchLength);
    return size;
}

QSize CTelvDlgBar::sizeHint() const
{
    return CalcFixedLayout(false, IsHorizontal());
}

void CTelvDlgBar::OnInitDialogBar() {}
