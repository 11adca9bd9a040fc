#pragma once
// Helpers for files built as a DOM document whose layout is written out node by
// node: the builder appends the line breaks and tab indentation as text nodes
// itself, and the document is saved exactly as built, with no formatting added.
//
// The bytes written: every node in document order, UTF-8; a processing
// instruction as "<?target data?>" (the "xml" one kept as given, with nothing
// after it but the nodes that follow); an element with no children as
// "<name/>"; text with &, < and > escaped and line breaks, tabs and all other
// characters as they are; attribute values with &, <, >, " and the tab, CR and
// LF characters escaped so they read back unchanged; comments and CDATA
// sections as written. Characters XML cannot carry are dropped (xml_text.h).
// Document type nodes and entity references are not written.
//
// Attribute order: the DOM keeps an element's attributes in a hash, not in the
// order they were set, so the writer puts them in a fixed order instead: first
// the names listed in attributeOrder, in that order, then the rest by name.

#include "core/atomic_file.h"

#include <QByteArray>
#include <QDomDocument>
#include <QString>
#include <QStringList>

// Appends a text node of CR LF to parent.
bool DomAppendNewLine(QDomDocument &doc, QDomNode parent);
// Appends a text node of level tab characters to parent (nothing for 0 or less).
bool DomAppendIndent(QDomDocument &doc, QDomNode parent, int level);

QByteArray DomToBytes(const QDomDocument &doc, const QStringList &attributeOrder = {});
// Writes DomToBytes(doc, attributeOrder) to path atomically (atomic_file.h).
bool SaveDomDocument(const QDomDocument &doc, const QString &path, const QStringList &attributeOrder = {},
                     FileDurability durability = FileDurability::Synced);
