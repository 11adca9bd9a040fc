#include "ui/contents/telop_detail_dlg.h"

#include "widgets/color_dialog.h"
#include "widgets/dialog_buttons.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "ui/contents/content_dialog_messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr quint32 kMsgValueRefused = 7102;

struct Entry {
    quint32 textId;
    int data;
};
// Display effects by effect type; speeds by the index of the system's text speeds.
constexpr Entry kEffects[] = {{5744, CTelopProperty::EFFECT_STEADY},
                              {5743, CTelopProperty::EFFECT_BLINK},
                              {5745, CTelopProperty::EFFECT_SCROLL}};
constexpr Entry kSpeeds[] = {{5762, 0}, {5763, 1}, {5764, 2}};

QLineEdit *makeEdit(QWidget *parent, int id, int limit)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setMaxLength(limit);
    return edit;
}

QComboBox *makeList(QWidget *parent, int id)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QString::number(id));
    return combo;
}

} // namespace

CTelopDetailDlg::CTelopDetailDlg(QWidget *parent)
    : QDialog(parent)
    , m_category(makeEdit(this, kCategoryId, CPropertyBase::kMaxInfo))
    , m_title(makeEdit(this, kTitleId, CPropertyBase::kMaxTitle))
    , m_effect(makeList(this, kEffectId))
    , m_speed(makeList(this, kSpeedId))
    , m_backLabel(new QLabel(QStringLiteral("背景色："), this))
    , m_backSwatch(new QFrame(this))
    , m_backButton(new QPushButton(QStringLiteral("背景色の変更"), this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("プロパティ(テロップ編集)"));
    m_backLabel->setObjectName(QString::number(kBackLabelId));
    m_backSwatch->setObjectName(QString::number(kBackSwatchId));
    m_backSwatch->setFrameShape(QFrame::Box);
    m_backSwatch->setMinimumSize(48, 20);
    m_backSwatch->setAutoFillBackground(true);
    m_backButton->setObjectName(QString::number(kBackButtonId));
    m_backButton->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("分類："), m_category);
    form->addRow(QStringLiteral("タイトル："), m_title);
    form->addRow(QStringLiteral("表示効果："), m_effect);
    form->addRow(QStringLiteral("速度："), m_speed);
    auto *backRow = new QHBoxLayout;
    backRow->addWidget(m_backSwatch);
    backRow->addWidget(m_backButton);
    form->addRow(m_backLabel, backRow);
    QDialogButtonBox *buttons = CreateOkCancelButtons(this);
    disconnect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_effect, &QComboBox::activated, this, [this] { OnSelectEffect(); });
    connect(m_backButton, &QPushButton::clicked, this, [this] { OnBackColor(); });
}

void CTelopDetailDlg::SetProperty(const CTelopProperty &record)
{
    m_property.Copy(&record);
}

void CTelopDetailDlg::GetProperty(CTelopProperty &record) const
{
    record.Copy(&m_property);
}

int CTelopDetailDlg::DoModal()
{
    OnInitDialog();
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CTelopDetailDlg::fillLists()
{
    m_effect->clear();
    m_speed->clear();
    for (const Entry &entry : kEffects)
        m_effect->addItem(LoadString(entry.textId), entry.data);
    const CSystemIni &system = GetSystemIni();
    for (const Entry &entry : kSpeeds)
        m_speed->addItem(LoadString(entry.textId), system.GetTextSpeed(entry.data));
    m_speed->setCurrentIndex(1);
}

void CTelopDetailDlg::selectByData(QComboBox *combo, int data)
{
    const int found = combo->findData(data);
    combo->setCurrentIndex(found >= 0 ? found : 0);
}

void CTelopDetailDlg::OnInitDialog()
{
    fillLists();
    selectByData(m_effect, m_property.GetEffectType());
    selectByData(m_speed, m_property.GetSpeed());
    m_initialSpeedEntry = m_speed->findData(m_property.GetSpeed());
    m_category->setText(m_property.GetInfo());
    m_title->setText(m_property.GetTitle());
    quint8 flag = 0;
    m_property.GetColor(flag, m_backColor);
    m_backColorChanged = false;
    paintSwatch();
    for (QWidget *widget : {static_cast<QWidget *>(m_backLabel), static_cast<QWidget *>(m_backSwatch),
                            static_cast<QWidget *>(m_backButton)})
        widget->setVisible(m_backColorFlag);
    OnSelectEffect();
}

void CTelopDetailDlg::OnSelectEffect()
{
    const int effect = m_effect->currentData().toInt();
    m_property.SetEffectType(effect);
    m_speed->setEnabled(effect == CTelopProperty::EFFECT_SCROLL);
}

void CTelopDetailDlg::paintSwatch()
{
    QPalette colors = m_backSwatch->palette();
    colors.setColor(QPalette::Window, ToQColor(m_backColor));
    m_backSwatch->setPalette(colors);
}

void CTelopDetailDlg::OnBackColor()
{
    ColorRef chosen = m_backColor;
    if (!PromptColor(this, m_backColor, chosen))
        return;
    m_backColor = chosen;
    m_backColorChanged = true;
    paintSwatch();
}

// The speed and the background colour are stored only when the operator
// chose them: a record whose speed is none of the three system speeds, or
// whose background is transparent, keeps it through an OK.
bool CTelopDetailDlg::OnOK()
{
    QString category = m_category->text();
    QString title = m_title->text();
    const bool removedCategory = RemoveControlChars(category);
    const bool removedTitle = RemoveControlChars(title);
    if ((removedCategory || removedTitle)
        && ShowMessage(this, kAskRemoveInvalid, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    const bool speedChosen = m_initialSpeedEntry < 0 ? m_speed->currentIndex() != 0
                                                     : m_speed->currentIndex() != m_initialSpeedEntry;
    const bool stored = m_property.SetInfo(category) && m_property.SetTitle(title)
                        && m_property.SetEffectType(m_effect->currentData().toInt())
                        && (!speedChosen || m_property.SetSpeed(m_speed->currentData().toInt()))
                        && (!m_backColorFlag || !m_backColorChanged || m_property.SetColor(1, m_backColor));
    if (!stored) {
        ShowMessage(this, kMsgValueRefused, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    accept();
    return true;
}
