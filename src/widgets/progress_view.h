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

// The export and import window: the progress and the end of either operation.
class IExImportView {
public:
    virtual ~IExImportView() = default;
    // A progress message of the run (n of WM_APP + n, 101 to 106 and 121 to
    // 125) or the import's question (120).
    virtual void OnExImportProgress(int number, quint32 wParam, quint32 lParam) = 0;
    virtual void EndExport(quint32 result) = 0;
    virtual void EndImport(quint32 result) = 0;
};
