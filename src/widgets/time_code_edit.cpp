#include "widgets/time_code_edit.h"

#include <QContextMenuEvent>
#include <QValidator>

namespace {

// Accepts an empty text and one or two digits whose number lies in the range.
class FieldValidator : public QValidator {
public:
    FieldValidator(const CTimeCodeEdit *field, QObject *parent) : QValidator(parent), m_field(field) {}

    State validate(QString &input, int &) const override
    {
        if (input.isEmpty())
            return Intermediate;
        if (input.size() > 2)
            return Invalid;
        for (QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        }
        const int value = input.toInt();
        return value >= m_field->GetMinimum() && value <= m_field->GetMaximum() ? Acceptable : Invalid;
    }

private:
    const CTimeCodeEdit *m_field;
};

} // namespace

CTimeCodeEdit::CTimeCodeEdit(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(2);
    setAlignment(Qt::AlignCenter);
    setFrame(false);
    setValidator(new FieldValidator(this, this));
    setInputMethodHints(Qt::ImhDigitsOnly);
}

void CTimeCodeEdit::SetRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

int CTimeCodeEdit::GetValue() const
{
    bool ok = false;
    const int value = text().toInt(&ok);
    return ok ? value : 0;
}

void CTimeCodeEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // The fields show no context menu.
    event->accept();
}
