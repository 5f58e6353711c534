#include "ConnessioneCondivisa.h"

#include "FileSistema.h"

#include <optional>
#include <utility>

namespace archivio {

namespace {

struct Condivisa {
    std::shared_ptr<Archivio> archivio;
    std::filesystem::path file;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> identita;
};

Condivisa& Corrente() {
    static Condivisa c;
    return c;
}

RichiestaPassphrase& Richiesta() {
    static RichiestaPassphrase r;
    return r;
}

}  // namespace

std::shared_ptr<Archivio> ConnessioneCondivisa(const std::filesystem::path& file, Esito& esito) {
    Condivisa& c = Corrente();
    const auto identita = sistema::IdentitaFile(file);
    if (c.archivio && c.archivio->aperto() && c.file == file && identita && c.identita == identita) {
        esito = {};
        return c.archivio;
    }
    c = Condivisa();
    auto nuovo = std::make_shared<Archivio>();
    esito = nuovo->Apri(file);
    if (!esito && esito.errore().motivo == Motivo::PassphraseRichiesta && Richiesta() && Richiesta()(file))
        esito = nuovo->Apri(file);
    if (!esito) return nullptr;
    c.identita = sistema::IdentitaFile(file);
    if (!c.identita) return nuovo;  // gone at once: not kept
    c.archivio = nuovo;
    c.file = file;
    return nuovo;
}

void ImpostaRichiestaPassphrase(RichiestaPassphrase richiesta) { Richiesta() = std::move(richiesta); }

void ChiudiConnessioneCondivisa() { Corrente() = Condivisa(); }

}  // namespace archivio
