#pragma once
// The layout shared by the group and calendar registration files that the
// players read: the "xml" processing instruction, then one element per line
// (CR LF) indented with one tab per level below the root, the closing tag of
// an element with child elements on a line of its own, and the root's
// attributes "ver", "date" and "time" in that order.

#include <QDomDocument>
#include <QDomElement>
#include <QString>

// Empties doc and gives it the processing instruction and the root element
// with "ver" = "1.0" and the given date and time texts; returns the root.
QDomElement StartRegistrationDocument(QDomDocument &doc, const QString &rootName, const QString &date,
                                      const QString &time);
// Appends to parent, on a new line at level, a new element; returns it (a
// null element when the document refused a node).
QDomElement AppendElementLine(QDomDocument &doc, QDomElement parent, const QString &name, int level);
// The same for an element holding only text.
bool AppendTextElementLine(QDomDocument &doc, QDomElement parent, const QString &name, const QString &text,
                           int level);
// Puts the closing tag of element, which has child elements, on a line of its
// own at level.
bool CloseElementLine(QDomDocument &doc, QDomElement element, int level);
// Writes the document to path atomically: a failure leaves no partial file
// and the old one as it was.
bool SaveRegistrationDocument(const QDomDocument &doc, const QString &path);
