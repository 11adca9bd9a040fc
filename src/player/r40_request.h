#pragma once
// One player command: the command code and its name=value parameters that go
// to "command.php", and, after sending, the analysed reply (status, SERR code
// and description, the main result text) or the file the player sent back.
// Every concrete command derives from this class and adds its parameters in
// MakeRequest and its reply fields in ReadReplyElement.

#include <QList>
#include <QPair>
#include <QString>

#include <memory>

class QXmlStreamReader;

// Reply status of a request.
enum R40ReplyStatus : int {
    R40_REPLY_PASS = 0, // "PASS"
    R40_REPLY_SERR = 1, // "SERR": the player refused; code and description tell why
    R40_REPLY_NONE = 2, // not sent yet, or the reply could not be analysed
};

// The request's own error when its reply could not be analysed.
constexpr quint32 R40_ERROR_ANALYZE = 0x2000000A;

// Upper bound of a reply document kept in memory; a larger reply is not a
// status document and fails analysis.
constexpr qint64 kMaxReplyDocumentSize = 16 * 1024 * 1024;

class CR40Request {
public:
    explicit CR40Request(const QString &command = QString());
    virtual ~CR40Request();

    // A copy of the command with its parameters and reply state; sending or
    // changing the copy leaves the original untouched.
    virtual std::unique_ptr<CR40Request> Clone() const;

    QString GetCommand() const { return m_command; }
    // Whether sending the command twice does what sending it once does: the
    // queries (SYST, FINF, DRST, CLST, STBL, NLOG). Every other command acts
    // on the player (plays, stops, deletes, restarts, loads, sets, sends to
    // a display) and is never sent twice.
    bool IsSafeToRepeat() const;
    // "cmd=CODE&name=value..." with every value percent-encoded, as sent.
    QString GetQueryString() const;
    // "CODE name=value ..." for log lines.
    QString GetSerialText() const;
    // The value of a parameter; an empty text when absent.
    QString GetParameter(const QString &name) const;

    // A request whose PASS answer is a file: the client writes it to the local
    // path (a folder when IsLocalFolder, the name then coming from the reply).
    bool IsDownload() const { return !m_localPath.isEmpty(); }
    QString GetLocalPath() const { return m_localPath; }
    bool IsLocalFolder() const { return m_localIsFolder; }
    // The file written for a download reply; empty when none was written.
    QString GetDownloadedFile() const { return m_downloadedFile; }

    int GetStatus() const { return m_status; }
    // The code of an SERR reply; false when the reply was not SERR.
    bool GetErrorCode(int &code) const;
    QString GetDescription() const { return m_description; }
    QString GetResultString() const { return m_result; }
    // The request's own error: 87 for a command that could not be built,
    // R40_ERROR_ANALYZE for a reply that could not be analysed, else 0.
    quint32 GetError() const { return m_error; }

    // Called by the client before sending: forgets any earlier reply.
    void ResetReply();
    // Analyses a reply document; false (status none, error R40_ERROR_ANALYZE)
    // when it is not a well-formed status document.
    bool AnalyzeReply(const QByteArray &document);
    // Called by the client after it wrote a file reply.
    void SetDownloadedFile(const QString &path);
    // Marks the reply as not analysable (status none, error R40_ERROR_ANALYZE).
    void SetAnalyzeError();

protected:
    CR40Request(const CR40Request &) = default;
    CR40Request &operator=(const CR40Request &) = default;

    // Starts a new request text: the command code with no parameters, no
    // download target and no reply.
    void BeginRequest(const QString &command);
    void AddParameter(const QString &name, const QString &value);
    void AddParameter(const QString &name, qint64 value);
    void SetDownloadTarget(const QString &localPath, bool isFolder);
    // Fails building: error 87 and false.
    bool FailRequest();

    // A top-level reply element other than status, code, description and
    // result; the reader stands on its start. Implementations read the whole
    // element; false makes the reply not analysable.
    virtual bool ReadReplyElement(QXmlStreamReader &reader);
    // Forgets the command-specific reply fields.
    virtual void ClearReplyData() {}

    // Reads the text of the current element (nested elements are skipped).
    static QString ReadElementText(QXmlStreamReader &reader);

private:
    bool readStatusDocument(QXmlStreamReader &reader);

    QString m_command;
    QList<QPair<QString, QString>> m_parameters;
    QString m_localPath;
    bool m_localIsFolder = false;
    QString m_downloadedFile;

    int m_status = R40_REPLY_NONE;
    int m_code = 0;
    QString m_description;
    QString m_result;
    quint32 m_error = 0;
};
