#pragma once
// The codes a failed transfer or player command reports, with what each
// means and what the operator can do. The failure messages print the code
// only; the error-code table of the Help menu is written from these tables
// when the program is built, so the two never disagree.

#include <QString>

struct TransferCodeMeaning {
    int code;
    const char *meaning; // UTF-8
    const char *remedy;  // UTF-8; empty when there is nothing to do
};

// The error-code table as one HTML page (UTF-8).
QString ErrorCodeTableHtml();
