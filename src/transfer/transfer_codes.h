#pragma once
// The codes a failed transfer or player command reports, with what each
// means and what the operator can do. The failure messages print the code
// with its words, and the error-code table of the Help menu is written from
// these tables when the program is built, so the two never disagree.

#include <QString>

struct TransferCodeMeaning {
    int code;
    const char *meaning; // UTF-8
    const char *remedy;  // UTF-8; empty when there is nothing to do
};

// The meaning of a detail code or a player's refusal code; null for a code
// the tables do not hold.
const TransferCodeMeaning *FindTransferCode(int code);

// The error-code table as one HTML page (UTF-8).
QString ErrorCodeTableHtml();
