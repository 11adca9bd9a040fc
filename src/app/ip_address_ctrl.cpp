#include "app/ip_address_ctrl.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

CIpAddressCtrl::CIpAddressCtrl(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int i = 0; i < 4; ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QString::number(i));
        field->setMaxLength(3);
        field->setValidator(new QIntValidator(0, 255, field));
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i, field](const QString &text) {
            emit FieldChanged(i);
            if (text.size() == 3 && i < 3 && field->cursorPosition() == 3)
                SetFieldFocus(i + 1);
        });
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        layout->addWidget(field);
        m_fields[size_t(i)] = field;
    }
    layout->addStretch();
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
    // A dot moves on, as it would be typed between the parts of an address.
    if (key->text() == QStringLiteral(".")) {
        if (field < 3)
            SetFieldFocus(field + 1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
