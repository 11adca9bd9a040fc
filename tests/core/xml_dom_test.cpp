#include "core/dom_utils.h"
#include "core/last_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

QDomElement AppendElement(QDomDocument &doc, QDomNode parent, const QString &name, int level)
{
    DomAppendNewLine(doc, parent);
    DomAppendIndent(doc, parent, level);
    QDomElement element = doc.createElement(name);
    parent.appendChild(element);
    return element;
}

void AppendText(QDomDocument &doc, QDomElement element, const QString &text)
{
    element.appendChild(doc.createTextNode(text));
}

// A small registration-style document laid out with explicit line breaks and
// tabs: every element on its own line, a closing tag of a parent on its own line.
QDomDocument CalendarLike()
{
    QDomDocument doc;
    doc.appendChild(doc.createProcessingInstruction(QStringLiteral("xml"),
                                                    QStringLiteral("version='1.0' encoding='UTF-8'")));
    DomAppendNewLine(doc, doc);
    QDomElement root = doc.createElement(QStringLiteral("calendar"));
    root.setAttribute(QStringLiteral("time"), QStringLiteral("01:02:03.004"));
    root.setAttribute(QStringLiteral("date"), QStringLiteral("2026-01-02"));
    root.setAttribute(QStringLiteral("ver"), QStringLiteral("1.0"));
    doc.appendChild(root);
    QDomElement table = AppendElement(doc, root, QStringLiteral("CALENDAR_TBL"), 1);
    QDomElement remove = AppendElement(doc, table, QStringLiteral("delete"), 2);
    AppendText(doc, AppendElement(doc, remove, QStringLiteral("index"), 3), QStringLiteral("7"));
    DomAppendNewLine(doc, remove);
    DomAppendIndent(doc, remove, 2);
    QDomElement insert = AppendElement(doc, table, QStringLiteral("insert"), 2);
    AppendText(doc, AppendElement(doc, insert, QStringLiteral("week"), 3), QStringLiteral("予定 <1&2>"));
    DomAppendNewLine(doc, insert);
    DomAppendIndent(doc, insert, 2);
    DomAppendNewLine(doc, table);
    DomAppendIndent(doc, table, 1);
    DomAppendNewLine(doc, root);
    return doc;
}

const QStringList kRootOrder = {QStringLiteral("ver"), QStringLiteral("date"), QStringLiteral("time")};

} // namespace

TEST(XmlDom, LayoutNodesGiveExactBytes)
{
    const QByteArray expected = QStringLiteral("<?xml version='1.0' encoding='UTF-8'?>\r\n"
                                               "<calendar ver=\"1.0\" date=\"2026-01-02\" time=\"01:02:03.004\">\r\n"
                                               "\t<CALENDAR_TBL>\r\n"
                                               "\t\t<delete>\r\n"
                                               "\t\t\t<index>7</index>\r\n"
                                               "\t\t</delete>\r\n"
                                               "\t\t<insert>\r\n"
                                               "\t\t\t<week>予定 &lt;1&amp;2&gt;</week>\r\n"
                                               "\t\t</insert>\r\n"
                                               "\t</CALENDAR_TBL>\r\n"
                                               "</calendar>")
                                    .toUtf8();
    // Byte for byte in every run, although the DOM keeps attributes in a hash.
    EXPECT_EQ(DomToBytes(CalendarLike(), kRootOrder), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Calendar.xml"));
    ASSERT_TRUE(SaveDomDocument(CalendarLike(), path, kRootOrder));
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected);
}

TEST(XmlDom, ValuesSurviveEscapingAndReadBack)
{
    const QString value = QStringLiteral("a\"b'c<d>&e\tf\r\ng ]]> 日本");
    QDomDocument doc;
    QDomElement root = doc.createElement(QStringLiteral("r"));
    doc.appendChild(root);
    root.setAttribute(QStringLiteral("z"), value);
    root.setAttribute(QStringLiteral("b"), QStringLiteral("2"));
    root.setAttribute(QStringLiteral("a"), QStringLiteral("1"));
    root.appendChild(doc.createElement(QStringLiteral("empty")));
    QDomElement cdata = doc.createElement(QStringLiteral("c"));
    cdata.appendChild(doc.createCDATASection(QStringLiteral("x]]>y\x01")));
    root.appendChild(cdata);
    root.appendChild(doc.createComment(QStringLiteral(" kept ")));
    AppendText(doc, root, QStringLiteral("t\x02<"));

    const QByteArray bytes = DomToBytes(doc);
    // Attributes not named in an order list come sorted by name.
    EXPECT_TRUE(bytes.startsWith("<r a=\"1\" b=\"2\" z=\"a&quot;b'c&lt;d&gt;&amp;e&#9;f&#13;&#10;g ]]&gt; "));
    EXPECT_TRUE(bytes.contains("<empty/><c><![CDATA[x]]]]><![CDATA[>y]]></c><!-- kept -->t&lt;</r>"));

    QXmlStreamReader reader(bytes);
    QString cdataText;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"r")
            EXPECT_EQ(reader.attributes().value(QStringLiteral("z")), value);
        else if (reader.isCDATA())
            cdataText += reader.text();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(cdataText, QStringLiteral("x]]>y"));
}

TEST(XmlDom, SaveFailureKeepsTheOldFile)
{
    QTemporaryDir dir;
    EXPECT_FALSE(SaveDomDocument(CalendarLike(), dir.filePath(QStringLiteral("missing/group.xml"))));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SaveDomDocument(CalendarLike(), QString()));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // A folder standing where the file should be cannot be replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("group.xml")));
    EXPECT_FALSE(SaveDomDocument(CalendarLike(), dir.filePath(QStringLiteral("group.xml"))));
    EXPECT_NE(GetLastError(), ERROR_SUCCESS);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("group.xml"))).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}
