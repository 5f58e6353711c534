// Helper of the test that kills a change of the passphrase: the archive,
// locked by the first passphrase, gets the second, then the first again, and
// so on without end; after each change it prints the passphrase that now
// opens it. The test kills it at a moment of its choosing.
#include "ChiavePersonale.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ARCHIVE PASSPHRASE-NOW OTHER-PASSPHRASE\n", argv[0]);
        return 2;
    }
    const std::filesystem::path file = argv[1];
    const sistema::Segreto frasi[2] = {sistema::Segreto(argv[2]), sistema::Segreto(argv[3])};
    if (auto e = archivio::Sblocca(file, frasi[0]); !e) {
        std::fprintf(stderr, "cannot unlock: %s\n", e.errore().dettaglio.c_str());
        return 1;
    }
    for (int n = 1;; ++n) {
        const auto attuale = archivio::ChiaveRicordata(file);
        if (!attuale) return 1;
        if (auto e = archivio::CambiaPassphrase(file, *attuale, &frasi[n % 2]); !e) {
            std::fprintf(stderr, "change failed: %s\n", e.errore().dettaglio.c_str());
            return 1;
        }
        std::printf("%d\n", n % 2);
        std::fflush(stdout);
    }
}
