// Writes the error-code table of the Help menu from the transfer engine's
// own code tables; run by the build, which puts the page beside the program.
#include "transfer/transfer_codes.h"

#include <QSaveFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-error-list <page.htm>\n");
        return 2;
    }
    QSaveFile page(QString::fromLocal8Bit(argv[1]));
    if (!page.open(QIODevice::WriteOnly) || page.write(ErrorCodeTableHtml().toUtf8()) < 0 || !page.commit()) {
        std::fprintf(stderr, "make-error-list: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
