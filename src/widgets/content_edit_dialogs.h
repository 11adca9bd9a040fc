#pragma once
// The dialogs of the content editing operations belong to the contents area
// above the frame; the frame runs them through this seam, which the contents
// area installs at start-up and tests replace. Each Run returns true when the
// operator confirmed, with the values or record changed; false leaves them
// as they were.

#include "core/win_types.h"

#include <QString>
#include <QtGlobal>

class CControlProperty;
class CStreamingProperty;
class QWidget;

// What the property dialog edits: the category (the record's info), the
// title (kept as it is when titleLocked) and, when hasPlayTime, the play time.
struct PropertyValues {
    QString info;
    QString title;
    bool titleLocked = false;
    bool hasPlayTime = false;
    PlayLength playTime;
};

// A no-play period: the days from start to end and the weekday digits.
struct PeriodValues {
    DateValue start;
    DateValue end;
    QString week;
};

class IContentEditDialogs {
public:
    virtual ~IContentEditDialogs() = default;
    // The control-event editor on a copy of the record (index 0 for a new
    // one), offering newIndex for a new or copied record.
    virtual bool RunControlEditDlg(QWidget *parent, CControlProperty &record, qint32 newIndex) = 0;
    // The IP camera dialog on a streaming record, the same way.
    virtual bool RunIpCameraSetDlg(QWidget *parent, CStreamingProperty &record, qint32 newIndex) = 0;
    virtual bool RunPropertySetDlg(QWidget *parent, PropertyValues &values) = 0;
    virtual bool RunNoPlayDateSetDlg(QWidget *parent, PeriodValues &values) = 0;
};

// The installed dialogs; null when none are.
IContentEditDialogs *GetContentEditDialogs();
void SetContentEditDialogs(IContentEditDialogs *dialogs);
