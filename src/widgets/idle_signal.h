#pragma once
// The program's idle beat. Controls that follow state which changes without
// telling them (a transfer or player command starting and ending, the
// frame's busy mode, the commands a tool bar offers) bring themselves up to
// date on each beat: one timer for the whole program, not one per control.

#include <QObject>
#include <QTimer>

class CIdleSignal : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 250;

    // The program's beat, started on first use; the application object owns it.
    static CIdleSignal &Instance();

signals:
    void idle();

private:
    explicit CIdleSignal(QObject *parent);

    QTimer m_timer;
};
