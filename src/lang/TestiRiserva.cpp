#include "TestiRiserva.h"

#include "modLanguageSupport.h"

#include <array>
#include <utility>

namespace modLanguageSupport {

namespace {

using Voce = std::pair<std::string_view, std::string_view>;

constexpr std::array<Voce, 23> Riserva{{
    {"0027", "Eliminare dall'archivio l'atleta visualizzato?"},
    {"0070", "il file non è un archivio di Tovarin Project, oppure è protetto da un'altra password"},
    {"0071", "il file è danneggiato"},
    {"0072", "il file è bloccato da un altro programma"},
    {"0073", "il file o la sua cartella sono di sola lettura"},
    {"0074", "il disco è pieno"},
    {"0075", "il sistema nega l'accesso al file o alla sua cartella"},
    {"0076", "la cartella del file non esiste"},
    {"0077", "il file non contiene la tabella degli atleti"},
    {"0078", "nella tabella degli atleti manca la colonna \"%1\""},
    {"0079", "l'atleta non è più nell'archivio"},
    {"0080", "errore di lettura o scrittura del disco"},
    {"0081", "errore imprevisto"},
    {"0082", "Impossibile aprire l'archivio degli atleti:"},
    {"0083", "Impossibile scrivere nell'archivio le modifiche all'atleta %1:"},
    {"0086", "Impossibile eliminare l'atleta %1 dall'archivio:"},
    {"0087", "Impossibile leggere un atleta dall'archivio:"},
    {"0088", "Motivo"},
    {"0089", "Il file non è stato modificato. Le schede degli atleti restano vuote."},
    {"0090", "Le modifiche sono ancora nella finestra."},
    {"0091", "Le modifiche sono andate perse."},
    {"0092", "Chiudere comunque la finestra perdendo le modifiche?"},
    {"0093", "(senza nome)"},
}};

// Without them the work activity cannot be chosen.
constexpr std::array<std::string_view, 3> Attivita{"0005", "0006", "0007"};

}  // namespace

std::string_view TestoRiserva(std::string_view id) {
    for (const auto& [chiave, testo] : Riserva)
        if (chiave == id) return testo;
    return {};
}

std::string TestoLinguaConRiserva(std::string_view id) {
    std::string testo = TestoLingua(id);
    if (testo.empty()) testo = TestoRiserva(id);
    return testo;
}

std::optional<std::filesystem::path> FileLinguaInutilizzabile() {
    const auto file = FileLingua();
    if (!file) return std::filesystem::path(LinguaCorrente + ".lng");
    try {
        const FileIniLetto letto(*file);
        for (const auto& [chiave, testo] : Riserva)
            if (letto.Leggi("Strings", chiave).empty()) return file;
        for (std::string_view chiave : Attivita)
            if (letto.Leggi("Strings", chiave).empty()) return file;
    } catch (const ErroreIni&) {
        return file;
    }
    return std::nullopt;
}

}  // namespace modLanguageSupport
