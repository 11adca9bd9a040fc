#include "transfer/send_file_attribute.h"

#include <QStringList>

namespace {

// "A" or "B", nine digits, then the end or an extension.
bool IsLetteredName(const QString &component)
{
    if (component.size() < 10 || (component[0] != QLatin1Char('A') && component[0] != QLatin1Char('B')))
        return false;
    for (int i = 1; i < 10; ++i) {
        if (!component[i].isDigit() || component[i].unicode() > 0x7F)
            return false;
    }
    return component.size() == 10 || component[10] == QLatin1Char('.');
}

} // namespace

QChar FileLetterOfPlayerPath(const QString &path)
{
    const QStringList components = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &component : components) {
        if (IsLetteredName(component))
            return component[0];
    }
    return QChar();
}

QChar OtherFileLetter(QChar letter)
{
    return letter == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
}
