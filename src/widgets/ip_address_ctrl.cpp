#include "widgets/ip_address_ctrl.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>
#include <utility>

namespace {

constexpr int kFieldCount = 4;
// Room for a whole dotted address, so that one pasted into a field arrives
// whole and is spread over the fields.
constexpr int kMaxPasted = 15;

bool isFieldNumber(const QString &text)
{
    if (text.size() > 3)
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return text.isEmpty() || text.toInt() <= 255;
}

// One field: a number of 0 to 255, or a dotted address (or its tail) that
// was pasted and is about to be spread over the fields.
class AddressFieldValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        const QStringList parts = input.split(QLatin1Char('.'));
        if (parts.size() > kFieldCount)
            return Invalid;
        return std::all_of(parts.begin(), parts.end(), isFieldNumber) ? Acceptable : Invalid;
    }
};

} // namespace

CIpAddressCtrl::CIpAddressCtrl(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int i = 0; i < kFieldCount; ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QString::number(i));
        field->setMaxLength(kMaxPasted);
        field->setValidator(new AddressFieldValidator(field));
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString &text) { onFieldEdited(i, text); });
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        layout->addWidget(field);
        m_fields[size_t(i)] = field;
    }
    layout->addStretch();
}

void CIpAddressCtrl::onFieldEdited(int field, const QString &text)
{
    if (text.contains(QLatin1Char('.'))) {
        fillFrom(field, text);
        return;
    }
    emit FieldChanged(field);
    if (text.size() == 3 && field < kFieldCount - 1 && m_fields[size_t(field)]->cursorPosition() == 3) {
        SetFieldFocus(field + 1);
        m_movedOn = true;
    }
}

void CIpAddressCtrl::fillFrom(int field, const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (field + parts.size() > kFieldCount) {
        // More parts than fields left: the field keeps what it had.
        m_fields[size_t(field)]->undo();
        return;
    }
    for (int i = 0; i < parts.size(); ++i) {
        m_fields[size_t(field + i)]->setText(parts[i]);
        emit FieldChanged(field + i);
    }
    SetFieldFocus(field + int(parts.size()) - 1);
}

int CIpAddressCtrl::FirstEmptyField() const
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (m_fields[size_t(i)]->text().isEmpty())
            return i;
    }
    return -1;
}

bool CIpAddressCtrl::SetAddress(const QString &address)
{
    const QStringList parts = address.split(QLatin1Char('.'));
    std::array<int, 4> values{};
    bool valid = parts.size() == 4;
    for (int i = 0; valid && i < 4; ++i) {
        values[size_t(i)] = parts[i].toInt(&valid);
        valid = valid && values[size_t(i)] >= 0 && values[size_t(i)] <= 255;
    }
    for (int i = 0; i < 4; ++i)
        m_fields[size_t(i)]->setText(valid ? QString::number(values[size_t(i)]) : QString());
    return valid;
}

std::array<int, 4> CIpAddressCtrl::GetFields() const
{
    std::array<int, 4> values{};
    for (int i = 0; i < 4; ++i)
        values[size_t(i)] = m_fields[size_t(i)]->text().toInt();
    return values;
}

QString CIpAddressCtrl::GetAddress() const
{
    const std::array<int, 4> values = GetFields();
    return QStringLiteral("%1.%2.%3.%4").arg(values[0]).arg(values[1]).arg(values[2]).arg(values[3]);
}

void CIpAddressCtrl::SetFieldFocus(int field)
{
    m_fields[size_t(field)]->setFocus(Qt::OtherFocusReason);
    m_fields[size_t(field)]->selectAll();
}

bool CIpAddressCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int field = watched->objectName().toInt();
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool movedOn = std::exchange(m_movedOn, false);
    // A dot moves on, as it would be typed between the parts of an address;
    // the dot after a third digit that already moved on is that same step.
    if (key->text() == QStringLiteral(".")) {
        if (!movedOn && !m_fields[size_t(field)]->text().isEmpty() && field < kFieldCount - 1)
            SetFieldFocus(field + 1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
