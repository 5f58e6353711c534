// Helper of the crash test of the conversion: converts the Access archive
// given into an archive of this program, as the start-up does, and exits 0
// when done. The test kills it at a moment of its choosing.
#include "ArchivioAccess.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ARCHIVE\n", argv[0]);
        return 2;
    }
    std::filesystem::path conservato;
    archivio::RiepilogoAccess fatto;
    const archivio::Esito e = archivio::ConvertiAccess(argv[1], "2026-12-10", conservato, fatto);
    if (!e || !fatto.lettura) {
        std::fprintf(stderr, "not converted\n");
        return 1;
    }
    return 0;
}
