#include "ConnessioneCondivisa.h"

#include <sys/stat.h>

namespace archivio {

namespace {

struct Condivisa {
    std::shared_ptr<Archivio> archivio;
    std::filesystem::path file;
    dev_t dispositivo = 0;
    ino_t nodo = 0;
};

Condivisa& Corrente() {
    static Condivisa c;
    return c;
}

bool Identita(const std::filesystem::path& file, dev_t& dispositivo, ino_t& nodo) {
    struct stat s {};
    if (::stat(file.c_str(), &s) != 0) return false;
    dispositivo = s.st_dev;
    nodo = s.st_ino;
    return true;
}

}  // namespace

std::shared_ptr<Archivio> ConnessioneCondivisa(const std::filesystem::path& file, Esito& esito) {
    Condivisa& c = Corrente();
    dev_t dispositivo = 0;
    ino_t nodo = 0;
    const bool esiste = Identita(file, dispositivo, nodo);
    if (c.archivio && c.archivio->aperto() && c.file == file && esiste && c.dispositivo == dispositivo &&
        c.nodo == nodo) {
        esito = {};
        return c.archivio;
    }
    c = Condivisa();
    auto nuovo = std::make_shared<Archivio>();
    esito = nuovo->Apri(file);
    if (!esito) return nullptr;
    if (!Identita(file, c.dispositivo, c.nodo)) return nuovo;   // gone at once: not kept
    c.archivio = nuovo;
    c.file = file;
    return nuovo;
}

void ChiudiConnessioneCondivisa() { Corrente() = Condivisa(); }

}  // namespace archivio
