#pragma once
// What the main frame's message handlers tell the progress windows of its
// long operations (registration, deletion, the process dialog, export and
// import). The windows belong to the operations that open them; each one
// installs itself in the frame while it is shown.

#include <QString>
#include <QtGlobal>

class IProgressView {
public:
    virtual ~IProgressView() = default;
    // The line that names the current step.
    virtual void SetProgressText(const QString &text) = 0;
    // The counter "%d/%d": done items of the window's total.
    virtual void SetProgressCount(int done) = 0;
    // Re-reads the shared byte counter of a copy.
    virtual void RefreshByteCount() = 0;
    virtual void CloseProgress() = 0;
};

// The export and import window: the end of either operation.
class IExImportView {
public:
    virtual ~IExImportView() = default;
    virtual void EndExport(quint32 result) = 0;
    virtual void EndImport(quint32 result) = 0;
};
