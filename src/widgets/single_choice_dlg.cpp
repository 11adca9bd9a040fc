#include "widgets/single_choice_dlg.h"

#include "widgets/dialog_buttons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

CSingleChoiceDlg::CSingleChoiceDlg(int templateId, int comboId, const char *title, const char *label,
                                   QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QString::number(templateId));
    setWindowTitle(QString::fromUtf8(title));
    auto *form = new QFormLayout(this);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QString::number(comboId));
    form->addRow(QString::fromUtf8(label), m_combo);
    form->addRow(CreateOkCancelButtons(this));
}

CSingleChoiceDlg::~CSingleChoiceDlg() = default;

void CSingleChoiceDlg::showEvent(QShowEvent *event)
{
    if (!m_initialised)
        OnInitDialog();
    QDialog::showEvent(event);
}

void CSingleChoiceDlg::OnInitDialog()
{
    m_initialised = true;
    m_combo->clear();
    fillChoices();
}
