#include "transfer/registration_dom.h"

#include "core/dom_utils.h"

namespace {

const QStringList kAttributeOrder = {QStringLiteral("ver"), QStringLiteral("date"), QStringLiteral("time")};

} // namespace

QDomElement StartRegistrationDocument(QDomDocument &doc, const QString &rootName, const QString &date,
                                      const QString &time)
{
    doc = QDomDocument();
    doc.appendChild(doc.createProcessingInstruction(QStringLiteral("xml"),
                                                    QStringLiteral("version='1.0' encoding='UTF-8'")));
    // Every top-level node ends its line, as the players' own files do.
    DomAppendNewLine(doc, doc);
    QDomElement root = doc.createElement(rootName);
    root.setAttribute(QStringLiteral("ver"), QStringLiteral("1.0"));
    root.setAttribute(QStringLiteral("date"), date);
    root.setAttribute(QStringLiteral("time"), time);
    if (doc.appendChild(root).isNull())
        return QDomElement();
    DomAppendNewLine(doc, doc);
    return root;
}

QDomElement AppendElementLine(QDomDocument &doc, QDomElement parent, const QString &name, int level)
{
    if (parent.isNull() || !DomAppendNewLine(doc, parent) || !DomAppendIndent(doc, parent, level))
        return QDomElement();
    return parent.appendChild(doc.createElement(name)).toElement();
}

bool AppendTextElementLine(QDomDocument &doc, QDomElement parent, const QString &name, const QString &text,
                           int level)
{
    QDomElement element = AppendElementLine(doc, parent, name, level);
    return !element.isNull() && !element.appendChild(doc.createTextNode(text)).isNull();
}

bool CloseElementLine(QDomDocument &doc, QDomElement element, int level)
{
    return !element.isNull() && DomAppendNewLine(doc, element) && DomAppendIndent(doc, element, level);
}

bool SaveRegistrationDocument(const QDomDocument &doc, const QString &path)
{
    // Registration files are made afresh for each send and uploaded at once.
    return SaveDomDocument(doc, path, kAttributeOrder, FileDurability::Unsynced);
}
