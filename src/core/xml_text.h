#pragma once
// Text that goes into an XML file must consist of characters XML 1.0 can carry:
// tab, line feed, carriage return and the printable ranges. Other control
// characters, U+FFFE/U+FFFF and unpaired surrogates would make the file
// unreadable for every parser, so the writers drop them.

#include <QByteArrayView>
#include <QString>
#include <QStringView>

bool IsXmlTextChar(char32_t ch);
QString RemoveXmlInvalidChars(QStringView text);

// Bounds of the data files the program reads as XML. The stream reader checks
// an element's attributes against each other, so its cost grows with the
// square of their count: a hostile file with one element of a hundred
// thousand attributes would stall the start for a minute. No element of the
// program's files has more than two attributes; the bound leaves room for the
// namespace declarations a hand-edited file may carry.
constexpr int kDataXmlMaxAttributes = 8;
constexpr qint64 kDataXmlMaxBytes = qint64(256) * 1024 * 1024;

// Whether no tag of the document has more than maxAttributes attributes, the
// document carries no document type declaration (neither the program's files
// nor the players' replies have one, and its default attributes and entities
// escape the other bounds) and it is no larger than kDataXmlMaxBytes. One
// linear pass over the bytes, made before the document reaches the reader; it
// skips comments, CDATA sections and processing instructions and sees quoted
// values as a whole. It does not check well-formedness.
bool XmlDataWithinBounds(QByteArrayView data, int maxAttributes = kDataXmlMaxAttributes);
