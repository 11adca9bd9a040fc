#include "widgets/time_code_ctrl.h"

#include "widgets/beep.h"
#include "widgets/time_code_edit.h"
#include "widgets/time_code_spin.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>

namespace {

constexpr int kFieldMargin = 4;
constexpr int kSpinWidth = 16;

// The default ranges: hours, minutes, seconds, frames.
constexpr int kRanges[4][2] = {{0, 23}, {0, 59}, {0, 59}, {0, 29}};

int digitOf(const QKeyEvent *event)
{
    const int key = event->key();
    return key >= Qt::Key_0 && key <= Qt::Key_9 ? key - Qt::Key_0 : -1;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

CTimeCodeCtrl::CTimeCodeCtrl(QWidget *parent) : QWidget(parent)
{
    // Clicks go to the fields; the control itself is entered only by Tab.
    setFocusPolicy(Qt::TabFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    for (int i = 0; i < 4; ++i) {
        m_fields[size_t(i)].minimum = kRanges[i][0];
        m_fields[size_t(i)].maximum = kRanges[i][1];
    }
}

bool CTimeCodeCtrl::Create(bool showHours, bool showMinutes, bool showSeconds, bool showFrames, bool spin)
{
    if (m_firstField >= 0 || !(showHours || showMinutes || showSeconds || showFrames))
        return false;
    const bool shown[4] = {showHours, showMinutes, showSeconds, showFrames};

    const QFontMetrics metrics(font());
    int digitWidth = 0;
    for (char c = '0'; c <= '9'; ++c)
        digitWidth = std::max(digitWidth, metrics.horizontalAdvance(QLatin1Char(c)));
    const int fieldWidth = 2 * digitWidth + kFieldMargin;
    const int fieldHeight = std::max(height(), metrics.height() + 6);

    int x = 0;
    int separator = 0;
    for (int i = 0; i < 4; ++i) {
        FieldSlot &slot = m_fields[size_t(i)];
        slot.shown = shown[i];
        if (!slot.shown)
            continue;
        if (m_firstField >= 0) {
            auto *colon = new QLabel(QStringLiteral(":"), this);
            colon->setAlignment(Qt::AlignCenter);
            colon->setGeometry(x, 0, metrics.horizontalAdvance(QLatin1Char(':')) + 2, fieldHeight);
            x += colon->width();
            m_separators[size_t(separator++)] = colon;
        } else {
            m_firstField = i;
        }
        m_lastField = i;
        slot.edit = new CTimeCodeEdit(this);
        slot.edit->setObjectName(QString::number(i + 1));
        slot.edit->setFont(font());
        slot.edit->SetRange(slot.minimum, slot.maximum);
        slot.edit->setFocusPolicy(Qt::ClickFocus);
        slot.edit->setGeometry(x, 0, fieldWidth, fieldHeight);
        slot.edit->installEventFilter(this);
        connect(slot.edit, &QLineEdit::textChanged, this, [this, i] { onTextChanged(i); });
        x += fieldWidth;
    }
    m_activeField = m_firstField;
    if (spin) {
        m_spin = new CTimeCodeSpin(this);
        m_spin->setGeometry(x, 0, kSpinWidth, fieldHeight);
        connect(m_spin, &CTimeCodeSpin::positionChanged, this,
                [this](int position) { setField(m_activeField, position); });
        x += kSpinWidth;
    }
    resize(std::max(width(), x), fieldHeight);
    applyFieldStates();
    syncSpin();
    return true;
}

QSize CTimeCodeCtrl::sizeHint() const
{
    return childrenRect().united(QRect(0, 0, 1, 1)).size();
}

CTimeCodeEdit *CTimeCodeCtrl::GetField(int field) const
{
    return field >= 0 && field < 4 ? m_fields[size_t(field)].edit : nullptr;
}

void CTimeCodeCtrl::SetNotifyHandler(std::function<bool(int)> handler)
{
    m_notifyHandler = std::move(handler);
}

int CTimeCodeCtrl::getField(int field) const
{
    const FieldSlot &slot = m_fields[size_t(field)];
    return slot.shown ? slot.edit->GetValue() : slot.preset;
}

bool CTimeCodeCtrl::setField(int field, int value)
{
    if (field < 0 || field >= 4)
        return false;
    FieldSlot &slot = m_fields[size_t(field)];
    if (value < slot.minimum || value > slot.maximum)
        return false;
    if (!slot.shown) {
        slot.preset = value;
        return true;
    }
    setFieldText(field, twoDigits(value));
    if (field == m_activeField && m_spin)
        m_spin->SetPos(value);
    return true;
}

void CTimeCodeCtrl::setFieldText(int field, const QString &text)
{
    const bool notifying = m_notifyChanges;
    m_notifyChanges = false;
    m_fields[size_t(field)].edit->setText(text);
    m_notifyChanges = notifying;
}

void CTimeCodeCtrl::SetRange(int minimum, int maximum)
{
    FieldSlot &hours = m_fields[FIELD_HOURS];
    hours.minimum = minimum;
    hours.maximum = maximum;
    if (hours.edit)
        hours.edit->SetRange(minimum, maximum);
    syncSpin();
}

void CTimeCodeCtrl::applyFieldStates()
{
    for (const FieldSlot &slot : m_fields) {
        if (!slot.shown)
            continue;
        slot.edit->setEnabled(m_enabled);
        slot.edit->setReadOnly(m_readOnly || !m_enabled);
    }
    if (m_spin)
        m_spin->setEnabled(m_enabled && !m_readOnly);
}

void CTimeCodeCtrl::EnableWindow(bool enable)
{
    m_enabled = enable;
    setEnabled(enable);
    applyFieldStates();
}

void CTimeCodeCtrl::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    applyFieldStates();
}

int CTimeCodeCtrl::fieldOf(const QObject *object) const
{
    for (int i = 0; i < 4; ++i) {
        if (m_fields[size_t(i)].edit && m_fields[size_t(i)].edit == object)
            return i;
    }
    return -1;
}

int CTimeCodeCtrl::nextShown(int field, int direction) const
{
    for (int i = field + direction; i >= 0 && i < 4; i += direction) {
        if (m_fields[size_t(i)].shown)
            return i;
    }
    return -1;
}

void CTimeCodeCtrl::focusField(int field, bool selectAll, bool caretAtEnd)
{
    CTimeCodeEdit *edit = m_fields[size_t(field)].edit;
    edit->setFocus(Qt::OtherFocusReason);
    if (selectAll)
        edit->selectAll();
    else
        edit->setCursorPosition(caretAtEnd ? int(edit->text().size()) : 0);
}

void CTimeCodeCtrl::leaveField(int field)
{
    // A field left by typing or Tab shows its number as two digits.
    setFieldText(field, twoDigits(getField(field)));
}

bool CTimeCodeCtrl::notify(int code)
{
    return m_notifyHandler ? m_notifyHandler(code) : false;
}

bool CTimeCodeCtrl::eventFilter(QObject *watched, QEvent *event)
{
    const int field = fieldOf(watched);
    if (field < 0)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return onFieldKey(field, static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return ||
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Enter)
            m_enterDown = false;
        break;
    case QEvent::FocusIn:
        onFieldFocusIn(field);
        break;
    case QEvent::FocusOut:
        onFieldFocusOut(field, static_cast<QFocusEvent *>(event));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool CTimeCodeCtrl::acceptsDigit(int field, int digit) const
{
    const CTimeCodeEdit *edit = m_fields[size_t(field)].edit;
    const QString text = edit->text();
    if (edit->hasSelectedText() && edit->selectedText() == text)
        return true;
    // The digit goes after the text unless the caret is at its start.
    const QString result =
        edit->cursorPosition() == 0 ? QString::number(digit) + text : text + QString::number(digit);
    bool ok = false;
    const int value = result.toInt(&ok);
    return ok && result.size() <= 2 && value >= m_fields[size_t(field)].minimum &&
           value <= m_fields[size_t(field)].maximum;
}

bool CTimeCodeCtrl::onFieldKey(int field, QKeyEvent *event)
{
    CTimeCodeEdit *edit = m_fields[size_t(field)].edit;
    if (event->modifiers() & Qt::AltModifier)
        return false; // accelerators of the dialog
    const bool noSelection = !edit->hasSelectedText();
    const bool atStart = edit->cursorPosition() == 0;
    const bool atEnd = edit->cursorPosition() == edit->text().size();
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return false;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const int direction = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) ? -1 : 1;
        const int next = nextShown(field, direction);
        if (next >= 0) {
            leaveField(field);
            focusField(next, true, false);
        } else if (!notify(TCN_COMMIT)) {
            emit lostFocus();
        }
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_enterDown = true;
        notify(TCN_COMMIT);
        return true;
    case Qt::Key_Home:
        focusField(m_firstField, false, false);
        return true;
    case Qt::Key_End:
        focusField(m_lastField, false, true);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
        if (atStart && noSelection && nextShown(field, -1) >= 0) {
            focusField(nextShown(field, -1), false, true);
            return true;
        }
        return false;
    case Qt::Key_Right:
    case Qt::Key_Down:
        if (atEnd && noSelection && nextShown(field, 1) >= 0) {
            focusField(nextShown(field, 1), false, false);
            return true;
        }
        return false;
    default:
        break;
    }
    const int digit = digitOf(event);
    if (digit >= 0 && !edit->isReadOnly() && acceptsDigit(field, digit))
        return false; // the field inserts it
    MessageBeep();
    return true;
}

void CTimeCodeCtrl::onTextChanged(int field)
{
    if (!m_notifyChanges)
        return;
    notify(TCN_CHANGE);
    if (m_fields[size_t(field)].edit->text().size() >= 2) {
        const int next = nextShown(field, 1);
        if (next >= 0) {
            leaveField(field);
            focusField(next, true, false);
        } else {
            notify(TCN_COMMIT);
        }
    }
    syncSpin();
}

void CTimeCodeCtrl::onFieldFocusIn(int field)
{
    m_activeField = field;
    syncSpin();
}

void CTimeCodeCtrl::onFieldFocusOut(int, QFocusEvent *event)
{
    // Focus that stays inside the control (another field) is no commit; the
    // focus leaving for another window or application is.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    QWidget *next = QApplication::focusWidget();
    const bool inside = next && (next == this || isAncestorOf(next));
    if (!inside || event->reason() == Qt::ActiveWindowFocusReason)
        notify(TCN_COMMIT);
}

void CTimeCodeCtrl::syncSpin()
{
    if (!m_spin || m_activeField < 0)
        return;
    const FieldSlot &slot = m_fields[size_t(m_activeField)];
    m_spin->SetRange(slot.minimum, slot.maximum);
    m_spin->SetPos(getField(m_activeField));
}

void CTimeCodeCtrl::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (m_firstField < 0)
        return;
    int field;
    switch (m_entrySide) {
    case ENTRY_HOURS:
        field = m_fields[FIELD_HOURS].shown ? FIELD_HOURS : m_firstField;
        break;
    case ENTRY_SECONDS:
        field = m_fields[FIELD_SECONDS].shown ? FIELD_SECONDS : m_lastField;
        break;
    default:
        field = event->reason() == Qt::BacktabFocusReason ? m_lastField : m_firstField;
        break;
    }
    m_entrySide = ENTRY_BY_DIRECTION;
    focusField(field, true, false);
}
