#pragma once
// The transfer manager's callback of the main frame. It runs on the manager's
// thread and on worker threads, so all it does is post: code 2 (a unit of work
// done) becomes WM_APP+23, code 6 (the transfer ended) WM_APP+21 and code 8
// (a retry pass begins) WM_APP+22, each to the frame given as context. Other
// codes post nothing. A failed post is logged and tried again 1 ms later, up
// to 10 attempts; returns the last posting result (nonzero when posted).

#include <QtGlobal>

int R40SendCallback(void *context, qint32 code, qint64 value);

// The same as the manager's callback type, for registering with the manager.
void R40SendNotify(void *context, qint32 code, qint64 value);
