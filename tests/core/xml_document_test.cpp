#include "core/last_error.h"
#include "core/xml_document.h"
#include "core/xml_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <csignal>
#include <sys/resource.h>

namespace {

// Records every reader event as one line and writes what the test asks for.
class RecordingXml : public CXmlDocument {
public:
    using CXmlDocument::EndElement;
    using CXmlDocument::StartElement;
    using CXmlDocument::WriteElement;
    using CXmlDocument::WriteElementInt;
    using CXmlDocument::WriteElementUInt64;

    QStringList events;
    std::function<bool(RecordingXml &)> contents = [](RecordingXml &) { return true; };

protected:
    void OnStartElement(const QString &path, const QStringList &names, const QStringList &values) override
    {
        QString line = QStringLiteral("start ") + path;
        for (qsizetype i = 0; i < names.size(); ++i)
            line += QStringLiteral(" %1=%2").arg(names[i], values[i]);
        events.append(line);
    }
    void OnCharacters(const QString &path, const QString &text) override
    {
        events.append(QStringLiteral("text ") + path + u'|' + text);
    }
    void OnEndElement(const QString &path) override { events.append(QStringLiteral("end ") + path); }
    void OnSaveBegin() override { events.append(QStringLiteral("save-begin")); }
    bool WriteContents() override
    {
        events.append(QStringLiteral("contents"));
        return contents(*this);
    }
    void OnSaveEnd() override
    {
        events.append(QStringLiteral("save-end"));
        SetLastError(ERROR_SUCCESS); // a hook must not be able to hide a failure
    }
};

QByteArray ReadAllOrUnreadable(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteAll(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(data), data.size());
}

QStringList Texts(const QStringList &events)
{
    return events.filter(QRegularExpression(QStringLiteral("^text ")));
}

} // namespace

TEST(XmlDocumentRead, ReportsElementPathsAttributesAndText)
{
    RecordingXml doc;
    ASSERT_TRUE(doc.loadFromData(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<HarlP2WGroup>\n"
        "\t<System><Version>1</Version></System>\n"
        "\t<Player index=\"1\" kind='a&amp;b'>\n"
        "\t\t<No>7</No>\n"
        "\t\t<R40Version/>\n"
        "\t</Player>\n"
        "</HarlP2WGroup>\n"));
    EXPECT_EQ(doc.events, QStringList({
                              "start /HarlP2WGroup",
                              "start /HarlP2WGroup/System",
                              "start /HarlP2WGroup/System/Version",
                              "text /HarlP2WGroup/System/Version|1",
                              "end /HarlP2WGroup/System/Version",
                              "end /HarlP2WGroup/System",
                              "start /HarlP2WGroup/Player index=1 kind=a&b",
                              "start /HarlP2WGroup/Player/No",
                              "text /HarlP2WGroup/Player/No|7",
                              "end /HarlP2WGroup/Player/No",
                              "start /HarlP2WGroup/Player/R40Version",
                              "end /HarlP2WGroup/Player/R40Version",
                              "end /HarlP2WGroup/Player",
                              "end /HarlP2WGroup",
                          }));
    EXPECT_EQ(doc.lastError(), ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

TEST(XmlDocumentRead, TextSplitAcrossReferencesCdataAndCommentsArrivesOnce)
{
    RecordingXml doc;
    ASSERT_TRUE(doc.loadFromData("<a><t>x&amp;y<![CDATA[<z>]]>&#x41;&#12354;<!-- note -->w&lt;&gt;</t></a>"));
    EXPECT_EQ(Texts(doc.events), QStringList({QStringLiteral("text /a/t|x&y<z>Aあw<>")}));
}

TEST(XmlDocumentRead, LayoutWhitespaceIsDroppedButContentWhitespaceKept)
{
    RecordingXml doc;
    ASSERT_TRUE(doc.loadFromData("<a>\n\t<b>  </b>\n\t<c>\r\n</c>one<d/>\n two \n</a>"));
    EXPECT_EQ(Texts(doc.events), QStringList({
                                     "text /a/b|  ",
                                     "text /a/c|\n", // CR LF reads as LF, as in every XML parser
                                     "text /a|one",
                                     "text /a|\n two \n",
                                 }));
}

TEST(XmlDocumentRead, LongTextInAFileArrivesWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.xml"));
    QByteArray piece = QByteArray("ABCDEFGHIJ&amp;").repeated(20000) + "終";
    WriteAll(path, "<r><t>" + piece + "</t></r>");
    RecordingXml doc;
    ASSERT_TRUE(doc.Load(path));
    const QStringList texts = Texts(doc.events);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0], QStringLiteral("text /r/t|") + QStringLiteral("ABCDEFGHIJ&").repeated(20000) + QStringLiteral("終"));
}

TEST(XmlDocumentRead, JapaneseNamesAttributesAndTextFromAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ja.xml"));
    WriteAll(path, QStringLiteral("<?xml version=\"1.0\"?><名前 属性=\"値\">送信中のプレーヤー</名前>").toUtf8());
    RecordingXml doc;
    ASSERT_TRUE(doc.Load(path));
    EXPECT_EQ(doc.events, QStringList({QStringLiteral("start /名前 属性=値"), QStringLiteral("text /名前|送信中のプレーヤー"),
                                       QStringLiteral("end /名前")}));
}

TEST(XmlDocumentRead, MissingFileAndFolderGiveTheirCodes)
{
    QTemporaryDir dir;
    RecordingXml doc;
    EXPECT_FALSE(doc.Load(dir.filePath(QStringLiteral("none.xml"))));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(doc.lastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(doc.Load(dir.filePath(QStringLiteral("no/such/folder.xml"))));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(doc.Load(dir.path()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(doc.Load(QString()));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(doc.events.isEmpty());
}

TEST(XmlDocumentRead, MalformedInputIsInvalidDataAndReachesNoHandler)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.xml"));
    const QByteArray broken = "<HarlP2WGroup><Player><No>1</No></Player><Player><No>2</Nope></HarlP2WGroup>";
    WriteAll(path, broken);
    const QDateTime modified = QFileInfo(path).lastModified();

    RecordingXml doc;
    EXPECT_FALSE(doc.Load(path));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(doc.lastError(), ERROR_INVALID_DATA);
    EXPECT_TRUE(doc.events.isEmpty()) << doc.events.join(u'\n').toStdString();
    EXPECT_EQ(ReadAllOrUnreadable(path), broken);
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("broken.xml")}));

    for (const QByteArray &bad : {QByteArray(), QByteArray("<a>"), QByteArray("<a>&undeclared;</a>"),
                                  QByteArray("<a></a><b/>"), QByteArray("<p:a/>"), QByteArray("\xFF\xFE\xFD")}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(doc.loadFromData(bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    }
    EXPECT_TRUE(doc.events.isEmpty());
}

TEST(XmlDocumentRead, ADocumentTypeDeclarationIsRefusedBeforeParsingAsDamaged)
{
    // External entities, an entity bomb and a DTD of many default attributes
    // (which the attribute count of the tags never sees).
    QByteArray bomb = "<!DOCTYPE a [<!ENTITY a0 'xxxxxxxxxx'>";
    for (int i = 1; i < 10; ++i) {
        const QByteArray previous = "&a" + QByteArray::number(i - 1) + ";";
        bomb += "<!ENTITY a" + QByteArray::number(i) + " '" + previous.repeated(10) + "'>";
    }
    bomb += "]><a>&a9;</a>";
    QByteArray defaults = "<?xml version=\"1.0\"?>\n<!DOCTYPE a [<!ATTLIST a";
    for (int i = 0; i < 1000; ++i)
        defaults += " a" + QByteArray::number(i) + " CDATA 'x'";
    defaults += ">]><a/>";
    RecordingXml doc;
    for (const QByteArray &declared :
         {QByteArray("<!DOCTYPE a [<!ENTITY e SYSTEM 'file:///etc/hostname'>]><a>x&e;y</a>"), bomb, defaults,
          QByteArray("<!-- x --><!DOCTYPE a><a/>")}) {
        EXPECT_FALSE(XmlDataWithinBounds(declared));
        EXPECT_FALSE(doc.loadFromData(declared));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    }
    EXPECT_TRUE(doc.events.isEmpty());
}

TEST(XmlDocumentRead, ElementsWithMoreAttributesThanAnyDataFileHasAreRefusedBeforeParsing)
{
    // Eight attributes pass; quoted '>' and '=' and those inside comments,
    // CDATA and processing instructions are not counted.
    const QByteArray fine = "<?xml version=\"1.0\"?>"
                            "<a p1='>=' p2=\"x\" p3='' p4='' p5='' p6='' p7='' p8=''>"
                            "<!-- a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9 --><![CDATA[a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9]]>"
                            "<?pi a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9?></a>";
    EXPECT_TRUE(XmlDataWithinBounds(fine));
    RecordingXml doc;
    EXPECT_TRUE(doc.loadFromData(fine));

    QByteArray hostile = "<a><b";
    for (int i = 0; i < 100000; ++i)
        hostile += " a" + QByteArray::number(i) + "=''";
    hostile += "/></a>";
    EXPECT_FALSE(XmlDataWithinBounds(hostile));
    EXPECT_FALSE(XmlDataWithinBounds("<a b='1' c='2'/>", 1));
    doc.events.clear();
    EXPECT_FALSE(doc.loadFromData(hostile));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_TRUE(doc.events.isEmpty());
}

TEST(XmlDocumentWrite, SavesDeclarationTabIndentedElementsAndNumbers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("status.xml"));
    RecordingXml doc;
    doc.contents = [](RecordingXml &d) {
        d.StartElement(QStringLiteral("HarlP2WGroup"));
        d.StartElement(QStringLiteral("System"));
        d.WriteElement(QStringLiteral("Version"), QStringLiteral("1"));
        d.EndElement(QStringLiteral("System"));
        d.StartElement(QStringLiteral("Player"), {QStringLiteral("index"), QStringLiteral("kind")},
                       {QStringLiteral("1"), QStringLiteral("a\"<&>\tb")});
        d.WriteElementInt(QStringLiteral("No"), -2147483647 - 1);
        d.WriteElementInt(QStringLiteral("effect"), 7, {QStringLiteral("row"), QStringLiteral("col")},
                          {QStringLiteral("4"), QStringLiteral("2")});
        d.WriteElementUInt64(QStringLiteral("ContFileSize"), 18446744073709551615ULL);
        d.WriteElement(QStringLiteral("title"), QStringLiteral("夏のキャンペーン <&>"));
        d.EndElement(QStringLiteral("Player"));
        d.EndElement(QStringLiteral("HarlP2WGroup"));
        return true;
    };
    ASSERT_TRUE(doc.Save(path));
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(doc.events, QStringList({"save-begin", "contents", "save-end"}));
    EXPECT_EQ(QString::fromUtf8(ReadAllOrUnreadable(path)),
              QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<HarlP2WGroup>\n"
                             "\t<System>\n"
                             "\t\t<Version>1</Version>\n"
                             "\t</System>\n"
                             "\t<Player index=\"1\" kind=\"a&quot;&lt;&amp;&gt;&#9;b\">\n"
                             "\t\t<No>-2147483648</No>\n"
                             "\t\t<effect row=\"4\" col=\"2\">7</effect>\n"
                             "\t\t<ContFileSize>18446744073709551615</ContFileSize>\n"
                             "\t\t<title>夏のキャンペーン &lt;&amp;&gt;</title>\n"
                             "\t</Player>\n"
                             "</HarlP2WGroup>\n"));
}

TEST(XmlDocumentWrite, SavedFileReadsBackWithTheSameValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.xml"));
    const QString tricky = QStringLiteral("  a & b < c > d \"q\" 's' ]]> 日本語\tend ");
    RecordingXml writer;
    writer.contents = [&tricky](RecordingXml &d) {
        d.StartElement(QStringLiteral("content"), {QStringLiteral("ver"), QStringLiteral("note")},
                       {QStringLiteral("1.0"), tricky});
        d.WriteElement(QStringLiteral("title"), tricky);
        d.WriteElement(QStringLiteral("empty"), QString());
        d.WriteElementUInt64(QStringLiteral("size"), 4294967296ULL);
        d.EndElement(QStringLiteral("content"));
        return true;
    };
    ASSERT_TRUE(writer.Save(path));
    RecordingXml reader;
    ASSERT_TRUE(reader.Load(path));
    EXPECT_EQ(reader.events, QStringList({
                                 QStringLiteral("start /content ver=1.0 note=") + tricky,
                                 QStringLiteral("start /content/title"),
                                 QStringLiteral("text /content/title|") + tricky,
                                 QStringLiteral("end /content/title"),
                                 QStringLiteral("start /content/empty"),
                                 QStringLiteral("end /content/empty"),
                                 QStringLiteral("start /content/size"),
                                 QStringLiteral("text /content/size|4294967296"),
                                 QStringLiteral("end /content/size"),
                                 QStringLiteral("end /content"),
                             }));
}

TEST(XmlDocumentWrite, CharactersXmlCannotCarryAreDroppedSoTheFileStaysReadable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ctl.xml"));
    RecordingXml writer;
    writer.contents = [](RecordingXml &d) {
        d.StartElement(QStringLiteral("r"), {QStringLiteral("a")}, {QStringLiteral("x\x01y")});
        d.WriteElement(QStringLiteral("t"), QStringLiteral("a\x02\x1F") + QChar(0xFFFE) + QChar(0xD800) +
                                                QStringLiteral("b😀c"));
        d.EndElement(QStringLiteral("r"));
        return true;
    };
    ASSERT_TRUE(writer.Save(path));
    RecordingXml reader;
    ASSERT_TRUE(reader.Load(path));
    EXPECT_EQ(reader.events[0], QStringLiteral("start /r a=xy"));
    EXPECT_EQ(reader.events[2], QStringLiteral("text /r/t|ab😀c"));
}

TEST(XmlDocumentWrite, FailedContentsKeepTheOldFileAndTheirError)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("property.xml"));
    WriteAll(path, "old contents");
    RecordingXml doc;
    doc.contents = [](RecordingXml &d) {
        d.StartElement(QStringLiteral("content"));
        d.WriteElement(QStringLiteral("index"), QStringLiteral("000000001"));
        SetLastError(ERROR_INVALID_DATA);
        return false; // the root stays open
    };
    EXPECT_FALSE(doc.Save(path));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(doc.lastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(doc.events, QStringList({"save-begin", "contents", "save-end"}));
    EXPECT_EQ(ReadAllOrUnreadable(path), QByteArray("old contents"));

    doc.contents = [](RecordingXml &) { return false; }; // no error given: still a failure
    EXPECT_FALSE(doc.Save(path));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("property.xml")}));
}

TEST(XmlDocumentWrite, FailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("group.xml"));
    WriteAll(path, "old");
    RecordingXml doc;
    doc.contents = [](RecordingXml &d) {
        d.StartElement(QStringLiteral("group"));
        for (int i = 0; i < 2000; ++i)
            d.WriteElementInt(QStringLiteral("entry"), i);
        d.EndElement(QStringLiteral("group"));
        return true;
    };

    // A file size limit makes the write fail the way a full disk does, also
    // for root, which ignores folder permissions.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = doc.Save(path);
    const quint32 error = GetLastError();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_NE(error, ERROR_SUCCESS);
    EXPECT_EQ(doc.lastError(), error);
    EXPECT_EQ(ReadAllOrUnreadable(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("group.xml")}));

    EXPECT_FALSE(doc.Save(dir.filePath(QStringLiteral("missing/group.xml"))));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(doc.Save(QString()));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
