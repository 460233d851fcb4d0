// Writes one of the measured batches to standard output: batch_rows zinsen|verzug [rows].

#include "bench/batchrows.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv) {
    const bool zinsen = argc > 1 && std::strcmp(argv[1], "zinsen") == 0;
    if (argc < 2 || (!zinsen && std::strcmp(argv[1], "verzug") != 0)) {
        std::fprintf(stderr, "usage: batch_rows zinsen|verzug [rows]\n");
        return 2;
    }
    const int rows = argc > 2 ? std::atoi(argv[2]) : zinsen ? 1'000'000 : 100'000;
    const QByteArray csv = zinsen ? batchrows::Zinsen(rows) : batchrows::Verzug(rows);
    return std::fwrite(csv.constData(), 1, std::size_t(csv.size()), stdout) ==
                   std::size_t(csv.size())
               ? 0
               : 1;
}
