// Writes the error-code table of the Help menu from the transfer engine's
// own code tables; run by the build, which puts the page beside the program.
#include "transfer/transfer_codes.h"

#include "core/atomic_file.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-error-list <page.htm>\n");
        return 2;
    }
    // A build output, made again whenever it is missing: no flush needed.
    if (!WriteFileAtomically(QString::fromLocal8Bit(argv[1]), ErrorCodeTableHtml().toUtf8(),
                             FileDurability::Unsynced)) {
        std::fprintf(stderr, "make-error-list: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
