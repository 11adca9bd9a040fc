#pragma once
// Text that goes into an XML file must consist of characters XML 1.0 can carry:
// tab, line feed, carriage return and the printable ranges. Other control
// characters, U+FFFE/U+FFFF and unpaired surrogates would make the file
// unreadable for every parser, so the writers drop them.

#include <QString>
#include <QStringView>

bool IsXmlTextChar(char32_t ch);
QString RemoveXmlInvalidChars(QStringView text);
