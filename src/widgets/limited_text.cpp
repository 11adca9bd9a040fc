#include "widgets/limited_text.h"

#include <QLineEdit>

void SetTextWhole(QLineEdit *edit, const QString &text)
{
    if (text.size() > edit->maxLength())
        edit->setMaxLength(int(text.size()));
    edit->setText(text);
}
