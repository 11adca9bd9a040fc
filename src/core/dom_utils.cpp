#include "core/dom_utils.h"

#include "core/atomic_file.h"
#include "core/xml_text.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

bool AppendText(QDomDocument &doc, QDomNode &parent, const QString &text)
{
    return !parent.appendChild(doc.createTextNode(text)).isNull();
}

QString EscapeText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar ch : RemoveXmlInvalidChars(text)) {
        switch (ch.unicode()) {
        case u'&': escaped += u"&amp;"; break;
        case u'<': escaped += u"&lt;"; break;
        case u'>': escaped += u"&gt;"; break;
        default: escaped += ch; break;
        }
    }
    return escaped;
}

// A parser normalises raw tabs and line breaks in attribute values to spaces,
// so they are written as character references.
QString EscapeAttribute(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar ch : EscapeText(value)) {
        switch (ch.unicode()) {
        case u'"': escaped += u"&quot;"; break;
        case u'\t': escaped += u"&#9;"; break;
        case u'\n': escaped += u"&#10;"; break;
        case u'\r': escaped += u"&#13;"; break;
        default: escaped += ch; break;
        }
    }
    return escaped;
}

using Attribute = std::pair<QString, QString>;

std::vector<Attribute> OrderedAttributes(const QDomElement &element, const QStringList &order)
{
    const QDomNamedNodeMap map = element.attributes();
    std::vector<Attribute> attributes;
    attributes.reserve(size_t(map.count()));
    for (int i = 0; i < map.count(); ++i) {
        const QDomAttr attr = map.item(i).toAttr();
        attributes.emplace_back(attr.name(), attr.value());
    }
    auto rank = [&order](const QString &name) {
        const qsizetype index = order.indexOf(name);
        return index < 0 ? order.size() : index;
    };
    std::sort(attributes.begin(), attributes.end(), [&rank](const Attribute &a, const Attribute &b) {
        const qsizetype ra = rank(a.first);
        const qsizetype rb = rank(b.first);
        return ra != rb ? ra < rb : a.first < b.first;
    });
    return attributes;
}

class DomWriter {
public:
    explicit DomWriter(const QStringList &attributeOrder) : m_order(attributeOrder) {}

    void writeChildren(const QDomNode &node)
    {
        for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling())
            writeNode(child);
    }

    QByteArray bytes() const { return m_out.toUtf8(); }

private:
    void writeNode(const QDomNode &node)
    {
        switch (node.nodeType()) {
        case QDomNode::ElementNode: writeElement(node.toElement()); break;
        case QDomNode::TextNode: m_out += EscapeText(node.nodeValue()); break;
        case QDomNode::CDATASectionNode: writeCData(node.nodeValue()); break;
        case QDomNode::CommentNode:
            m_out += QStringLiteral("<!--") + RemoveXmlInvalidChars(node.nodeValue()) + QStringLiteral("-->");
            break;
        case QDomNode::ProcessingInstructionNode: {
            const QDomProcessingInstruction pi = node.toProcessingInstruction();
            m_out += QStringLiteral("<?") + pi.target();
            if (!pi.data().isEmpty())
                m_out += u' ' + RemoveXmlInvalidChars(pi.data());
            m_out += u"?>";
            break;
        }
        default:
            break; // see the header: other node kinds are not written
        }
    }

    void writeElement(const QDomElement &element)
    {
        m_out += u'<' + element.tagName();
        for (const Attribute &attribute : OrderedAttributes(element, m_order))
            m_out += u' ' + attribute.first + QStringLiteral("=\"") + EscapeAttribute(attribute.second) + u'"';
        if (!element.hasChildNodes()) {
            m_out += u"/>";
            return;
        }
        m_out += u'>';
        writeChildren(element);
        m_out += QStringLiteral("</") + element.tagName() + u'>';
    }

    // "]]>" cannot occur inside a CDATA section; it is split over two.
    void writeCData(const QString &data)
    {
        QString body = RemoveXmlInvalidChars(data);
        body.replace(QStringLiteral("]]>"), QStringLiteral("]]]]><![CDATA[>"));
        m_out += QStringLiteral("<![CDATA[") + body + QStringLiteral("]]>");
    }

    const QStringList &m_order;
    QString m_out;
};

} // namespace

bool DomAppendNewLine(QDomDocument &doc, QDomNode parent)
{
    return AppendText(doc, parent, QStringLiteral("\r\n"));
}

bool DomAppendIndent(QDomDocument &doc, QDomNode parent, int level)
{
    if (level <= 0)
        return true;
    return AppendText(doc, parent, QString(level, u'\t'));
}

QByteArray DomToBytes(const QDomDocument &doc, const QStringList &attributeOrder)
{
    DomWriter writer(attributeOrder);
    writer.writeChildren(doc);
    return writer.bytes();
}

bool SaveDomDocument(const QDomDocument &doc, const QString &path, const QStringList &attributeOrder,
                     FileDurability durability)
{
    return WriteFileAtomically(path, DomToBytes(doc, attributeOrder), durability);
}
