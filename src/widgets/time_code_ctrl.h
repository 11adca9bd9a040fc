#pragma once
// Entry of a time value as up to four two-digit fields (hours, minutes,
// seconds, frames) separated by ":", with an optional spin button. Each field
// keeps to its own range; keys move between the fields as if they were one
// edit control. A field that is not shown keeps a preset value.
//
// The parent hears of the control through the notify handler: code 0 when a
// value is committed (the focus leaves the control, Enter, Tab past the last
// field, or the last field is filled), code 1 when a field's text changed.

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

class CTimeCodeEdit;
class CTimeCodeSpin;
class QLabel;

class CTimeCodeCtrl : public QWidget {
    Q_OBJECT
public:
    enum Field : int { FIELD_HOURS = 0, FIELD_MINUTES = 1, FIELD_SECONDS = 2, FIELD_FRAMES = 3 };
    enum NotifyCode : int { TCN_COMMIT = 0, TCN_CHANGE = 1 };
    // Which field takes the focus when the control receives it.
    enum EntrySide : int { ENTRY_BY_DIRECTION = -1, ENTRY_HOURS = 0, ENTRY_SECONDS = 3 };

    explicit CTimeCodeCtrl(QWidget *parent = nullptr);

    // Builds the shown fields from left to right with ":" between them, and
    // the spin button at the right. With the read-only flag set before, the
    // fields are read-only. False when no field is shown or it was built.
    bool Create(bool showHours, bool showMinutes, bool showSeconds, bool showFrames, bool spin);

    int GetHours() const { return getField(FIELD_HOURS); }
    int GetMinutes() const { return getField(FIELD_MINUTES); }
    int GetSeconds() const { return getField(FIELD_SECONDS); }
    int GetFrames() const { return getField(FIELD_FRAMES); }
    // A value outside the field's range is refused (false) and the field
    // keeps its value. A shown field shows it as two digits without a change
    // notification; a field not shown keeps it as its preset.
    bool SetHour(int value) { return setField(FIELD_HOURS, value); }
    bool SetMinute(int value) { return setField(FIELD_MINUTES, value); }
    bool SetSecond(int value) { return setField(FIELD_SECONDS, value); }
    bool SetFrame(int value) { return setField(FIELD_FRAMES, value); }
    // The hours range (the schedule allows 0 to 48 for times past midnight).
    void SetRange(int minimum, int maximum);

    void EnableWindow(bool enable);
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_readOnly; }

    void SetEntrySide(int side) { m_entrySide = side; }
    // The field that the spin button drives (0 to 3).
    int GetActiveField() const { return m_activeField; }
    CTimeCodeEdit *GetField(int field) const;
    CTimeCodeSpin *GetSpin() const { return m_spin; }
    // True while Enter is held down in a field.
    bool IsEnterDown() const { return m_enterDown; }

    // The parent's handler of the notifications; it returns whether it
    // handled one. A commit by Tab past the last field that the handler does
    // not take is reported as the control losing the focus (lostFocus).
    void SetNotifyHandler(std::function<bool(int code)> handler);

    QSize sizeHint() const override;

signals:
    void lostFocus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    struct FieldSlot {
        CTimeCodeEdit *edit = nullptr;
        bool shown = false;
        int minimum = 0;
        int maximum = 0;
        int preset = 0;
    };

    int getField(int field) const;
    bool setField(int field, int value);
    void setFieldText(int field, const QString &text);
    int fieldOf(const QObject *object) const;
    int nextShown(int field, int direction) const;
    void focusField(int field, bool selectAll, bool caretAtEnd);
    void leaveField(int field);
    bool notify(int code);
    bool onFieldKey(int field, QKeyEvent *event);
    bool acceptsDigit(int field, int digit) const;
    void onTextChanged(int field);
    void onFieldFocusIn(int field);
    void onFieldFocusOut(int field, QFocusEvent *event);
    void syncSpin();
    void applyFieldStates();

    std::array<FieldSlot, 4> m_fields;
    std::array<QLabel *, 3> m_separators{};
    CTimeCodeSpin *m_spin = nullptr;
    int m_firstField = -1;
    int m_lastField = -1;
    int m_activeField = 0;
    bool m_readOnly = false;
    bool m_enabled = true;
    bool m_notifyChanges = true;
    bool m_enterDown = false;
    int m_entrySide = ENTRY_BY_DIRECTION;
    std::function<bool(int)> m_notifyHandler;
};
