#include "ui/contents/color_info_dlg.h"

#include "widgets/color_dialog.h"
#include "widgets/dialog_buttons.h"
#include "widgets/limited_text.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "ui/contents/content_dialog_messages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kCount = CSystemIni::kCalendarColorCount;

QString withoutControlChars(QString text)
{
    RemoveControlChars(text);
    return text;
}

bool hasControlChars(const QString &text)
{
    return withoutControlChars(text).size() != text.size();
}

} // namespace

CColorInfoDlg::CColorInfoDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("背景色の説明の変更"));

    auto *grid = new QGridLayout;
    for (int i = 0; i < kCount; ++i) {
        auto *swatch = new QLabel(this);
        swatch->setObjectName(QString::number(kFirstSwatchId + i));
        swatch->setFixedSize(40, 20);
        swatch->setAutoFillBackground(true);
        QPalette colors = swatch->palette();
        colors.setColor(QPalette::Window, ToQColor(GetCalendarColor(i)));
        swatch->setPalette(colors);

        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::number(kFirstEditId + i));
        edit->setMaxLength(kNameLimit);
        SetTextWhole(edit, GetCalendarColorName(i));

        grid->addWidget(swatch, i, 0);
        grid->addWidget(edit, i, 1);
        m_edits[size_t(i)] = edit;
    }

    QDialogButtonBox *buttons = CreateOkCancelButtons(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit *CColorInfoDlg::GetNameEdit(int index) const
{
    return index >= 0 && index < kCount ? m_edits[size_t(index)] : nullptr;
}

int CColorInfoDlg::firstEditWithControlChars() const
{
    for (int i = 0; i < kCount; ++i) {
        if (hasControlChars(m_edits[size_t(i)]->text()))
            return i;
    }
    return -1;
}

int CColorInfoDlg::firstEmptyEdit() const
{
    for (int i = 0; i < kCount; ++i) {
        // A name of control characters only is empty once they are removed.
        if (withoutControlChars(m_edits[size_t(i)]->text()).isEmpty())
            return i;
    }
    return -1;
}

void CColorInfoDlg::focusEdit(int index)
{
    m_edits[size_t(index)]->setFocus(Qt::OtherFocusReason);
}

void CColorInfoDlg::accept()
{
    const int withControls = firstEditWithControlChars();
    if (withControls >= 0
        && ShowMessage(this, kAskRemoveInvalid, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        focusEdit(withControls);
        return;
    }
    const int empty = firstEmptyEdit();
    if (empty >= 0) {
        ShowMessage(this, kMsgEmptyField, kTitleCaption, MB_OK | MB_ICONWARNING);
        focusEdit(empty);
        return;
    }
    CSystemIni &settings = GetSystemIni();
    for (int i = 0; i < kCount; ++i)
        settings.SetColorName(i, withoutControlChars(m_edits[size_t(i)]->text()));
    QDialog::accept();
}
