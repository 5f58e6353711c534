// Helper of the crash test: writes to an archive without end, one transaction
// per write, and after each completed write prints one line on its standard
// output: "<row id> <generation>". Two writes in three add a row and then
// record a fitting of that athlete (a second transaction), the third rewrites
// an earlier row. The test kills it at a moment of its choosing.
#include "Archivio.h"
#include "SupportoArchivio.h"

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ARCHIVE\n", argv[0]);
        return 2;
    }
    archivio::Archivio a;
    if (auto e = a.Apri(argv[1]); !e) {
        std::fprintf(stderr, "cannot open: %s\n", e.errore().dettaglio.c_str());
        return 1;
    }
    std::vector<std::int64_t> righe;
    for (int g = 1;; ++g) {
        const archivio::Riga riga = prova::RigaGenerazione(g);
        std::int64_t id = 0;
        archivio::Esito e;
        if (g % 3 == 0 && !righe.empty()) {
            id = righe[static_cast<std::size_t>(g) % righe.size()];
            std::vector<archivio::Campo> campi;
            for (int c = 0; c < archivio::NumeroColonne; ++c) campi.push_back({c, riga[c]});
            e = a.ScriviCampi(id, campi);
        } else {
            e = a.AggiungiRiga(riga, id);
            if (e) righe.push_back(id);
            std::int64_t assetto = 0;
            if (e) e = a.RegistraAssetto(prova::AssettoGenerazione(g, id), assetto);
        }
        if (!e) {
            std::fprintf(stderr, "write failed: %s\n", e.errore().dettaglio.c_str());
            return 1;
        }
        std::printf("%lld %d\n", static_cast<long long>(id), g);
        std::fflush(stdout);
    }
}
