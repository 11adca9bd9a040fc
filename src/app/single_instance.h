#pragma once
// The single-instance guard: the first copy of the program listens on a local
// server named after "Q9Mutex" and the user; a later copy finds it, sends
// "activate" (the first copy then restores and raises its window) and ends.
// The listening socket of a copy that crashed is removed, so the next start
// is a first copy again.

#include <QLocalServer>
#include <QObject>
#include <QString>

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // The word a later copy sends.
    static constexpr const char *kActivate = "activate";

    explicit CSingleInstance(const QString &name = DefaultName(), QObject *parent = nullptr);
    ~CSingleInstance() override;

    // "Q9Mutex-<user id>".
    static QString DefaultName();

    // True when this is the first copy (it now listens, or could not listen
    // and carries on unguarded); false when another copy answered and was
    // asked to come to the front.
    bool Acquire();
    bool IsListening() const { return m_server.isListening(); }
    const QString &GetName() const { return m_name; }

signals:
    // A later copy asked the first one to come to the front.
    void activateRequested();

private:
    bool askRunningInstance();
    void onNewConnection();

    QString m_name;
    QLocalServer m_server;
};
