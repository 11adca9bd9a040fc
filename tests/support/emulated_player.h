#pragma once
// A player on a loopback address that speaks the wire of
// docs/player-protocol.md: "command.php" answered from a state that tests
// script (content and schedule tables, files, system and disk values),
// "upload.php" storing under a private root, HTTP Basic authorisation, and
// faults injected per command or upload. Every request is logged with its
// bytes and the connections open as it came, a request dropped by a fault
// included. One instance per player, each on its own address (127.0.0.2, .3,
// ...).

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

class EmulatedPlayer {
public:
    // One element of a table row: name, attributes and text.
    struct Field {
        QString name;
        QList<QPair<QString, QString>> attributes;
        QString text;
    };
    using Row = QList<Field>;
    // A row of plain name=text fields.
    static Row makeRow(const QList<QPair<QString, QString>> &fields);
    static QString fieldText(const Row &row, const QString &name);

    struct Fault {
        // DropReused: a request that arrives on a connection which served one
        // before is dropped unanswered, as by a player closing an idle kept-alive
        // connection just as the request goes out; a fresh connection is served.
        // ActThenDropReused: the same, but the player carries the command out
        // before the connection closes, so only its answer is lost.
        // Reply: the command is answered with body as an XML document.
        enum Kind { None, Serr, HttpStatus, Delay, Reset, NotXml, DiskFull, DropReused, ActThenDropReused, Reply };
        Kind kind = None;
        int code = 0;          // Serr: the SERR code; HttpStatus: the status
        int delayMs = 0;       // Delay: how long the player stalls; kUntilDropped: until the client lets go
        qint64 afterBytes = 0; // Delay, Reset, DiskFull on uploads: body bytes taken first
        int times = -1;        // how many requests it hits; -1: every one
        QByteArray body;       // Reply: the document sent

        static Fault serr(int code) { return {Serr, code, 0, 0, -1, {}}; }
        static Fault httpStatus(int status) { return {HttpStatus, status, 0, 0, -1, {}}; }
        static constexpr int kUntilDropped = -1;
        static Fault delay(int ms, qint64 afterBytes = 0) { return {Delay, 0, ms, afterBytes, -1, {}}; }
        // A stall that lasts until the client closes the connection (or the
        // player stops), however slowly the client gets there.
        static Fault stall(qint64 afterBytes = 0) { return delay(kUntilDropped, afterBytes); }
        static Fault reset(qint64 afterBytes = 0) { return {Reset, 0, 0, afterBytes, -1, {}}; }
        static Fault notXml() { return {NotXml, 0, 0, 0, -1, {}}; }
        static Fault diskFull(qint64 afterBytes = 0) { return {DiskFull, 0, 0, afterBytes, -1, {}}; }
        static Fault dropReused() { return {DropReused, 0, 0, 0, -1, {}}; }
        static Fault actThenDropReused() { return {ActThenDropReused, 0, 0, 0, -1, {}}; }
        static Fault reply(const QByteArray &body) { return {Reply, 0, 0, 0, -1, body}; }
        Fault once() const
        {
            Fault fault = *this;
            fault.times = 1;
            return fault;
        }
    };

    // One request as the player saw it.
    struct Request {
        QString method;
        QString path;   // "/command.php", "/upload.php"
        QList<QPair<QString, QString>> parameters;
        QString user;   // the Basic user name given, empty when none
        int remotePort = 0; // the client's port: equal on a reused connection
        // The connection's own identity (the number the player gave it as it
        // accepted it): a port of a closed connection may serve a new one at
        // once on loopback, an identity never does.
        qint64 connection = 0;
        int openConnections = 0; // connections to the player open as the request came, its own included
        qint64 bodyBytes = 0;
        int httpStatus = 0;
        QString status; // "PASS", "SERR" or empty (no status document)
        int code = 0;

        QString parameter(const QString &name) const;
        QString command() const { return parameter(QStringLiteral("cmd")); }
    };

    static constexpr const char *kDefaultUser = "WYNDcarp";
    static constexpr const char *kDefaultPassword = "r40pass";

    explicit EmulatedPlayer(const QString &address = QStringLiteral("127.0.0.2"));
    ~EmulatedPlayer();
    EmulatedPlayer(const EmulatedPlayer &) = delete;
    EmulatedPlayer &operator=(const EmulatedPlayer &) = delete;

    // Binds a free port on the address and serves until stop.
    bool start();
    // The most body bytes the client may have had acknowledged that the
    // player has not yet taken: the receive buffer fixed on the connections
    // it accepts (which also keeps the kernel from growing it) and the
    // server's own read buffer. Known once started.
    qint64 unreadCapacity() const;
    void stop();
    QString address() const;
    quint16 port() const;
    // The player's storage: remote "/import/x" is rootFolder() + "/import/x".
    QString rootFolder() const;

    void setCredentials(const QString &user, const QString &password);

    // SYST fields by element name ("version", "serial", "fan1", ...).
    void setSystemValue(const QString &name, const QString &value);
    QString systemValue(const QString &name) const;
    // DRST values in bytes.
    void setDisk(quint64 total, quint64 remain, quint64 totalAv, quint64 remainAv);
    // Leaves the capacity elements out of DRST replies.
    void setDiskUnknown();

    // Content tables by CLST table code (1-13) and the playlist (1), schedule
    // (2) and calendar (3) tables of STBL; rows are keyed by their "index".
    void setContentRow(int table, const Row &row);
    QList<Row> contentRows(int table) const;
    void clearContentTable(int table);
    void setTableRow(int table, const Row &row);
    QList<Row> tableRows(int table) const;

    // Files in the player's storage by remote path.
    void putFile(const QString &remotePath, const QByteArray &data);
    bool hasFile(const QString &remotePath) const;
    QByteArray file(const QString &remotePath) const;
    // The log file that NLOG sends, and its name.
    void setLogFile(const QString &name, const QByteArray &data);
    // The data COMC answers with (hexadecimal text); by default the expected
    // response it was sent.
    void setComReply(const QString &hexText);

    // Faults: per command code ("*" for every command) and for uploads.
    void setCommandFault(const QString &command, const Fault &fault);
    void setUploadFault(const Fault &fault);
    void clearFaults();
    // Waits (bounded) until count delay faults have begun to hold a reply or
    // an upload, so a test acts on a stall that is really under way.
    bool waitForStalls(int count = 1, int timeoutMs = 30000);

    QList<Request> requests() const;
    QList<Request> requests(const QString &command) const;
    void clearRequests();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
