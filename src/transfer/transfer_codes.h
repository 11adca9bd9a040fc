#pragma once
// The codes a failed transfer or player command reports, with what each
// means and what the operator can do. The failure messages print the code
// only; the error-code table of the Help menu is written from these tables
// when the program is built, so the two never disagree.

#include <QString>

#include <span>

struct TransferCodeMeaning {
    int code;
    const char *meaning; // UTF-8
    const char *remedy;  // UTF-8; empty when there is nothing to do
};

// The state of a player's step (the first half of the outcome pair).
std::span<const TransferCodeMeaning> TransferStateMeanings();
// The detail of a failed step (the second half), as the messages show it.
std::span<const TransferCodeMeaning> TransferDetailMeanings();
// The reasons a player gives for refusing a request (SERR replies).
std::span<const TransferCodeMeaning> PlayerRefusalMeanings();

// The error-code table as one HTML page (UTF-8).
QString ErrorCodeTableHtml();
