// Fuzz target: any bytes as a measure text, as a stored date and as an INI
// file must neither crash nor hang the number rules, the fit calculations,
// the date reader or LeggiIni.
#include "Calendario.h"
#include "Modulo1.h"
#include "modLanguageSupport.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// The scratch file of this process, removed when the process ends.
struct FileTemporaneo {
    std::filesystem::path percorso =
        std::filesystem::temp_directory_path() / ("tovarin-fuzz-" + std::to_string(::getpid()) + ".ini");
    ~FileTemporaneo() {
        std::error_code e;
        std::filesystem::remove(percorso, e);
    }
};

const std::filesystem::path& FileProva() {
    static const FileTemporaneo file;
    return file.percorso;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    std::string_view testo(reinterpret_cast<const char*>(dati), dimensione);

    // The number rules and every fit result on the text.
    if (Modulo1::TestoNumerico(testo)) {
        double v = Modulo1::ValoreTesto(Modulo1::NormalizzaDecimali(testo));
        std::string s = Modulo1::TestoNumero(v);
        (void)Modulo1::Arrotonda(v, static_cast<int>(dimensione % 4));
        (void)s;
    }
    bool predefinita = false;
    auto m = Modulo1::LeggiMisure(testo, testo, testo, testo, testo, testo, testo, predefinita);
    (void)Modulo1::CalcolaTP(m), (void)Modulo1::CalcolaTO(m), (void)Modulo1::CalcolaPE(m);
    (void)Modulo1::CalcolaAlfa(m), (void)Modulo1::CalcolaPiega(m), (void)Modulo1::CalcolaPipa(m);
    (void)Modulo1::CalcolaHS(m), (void)Modulo1::CalcolaDSM(m), (void)Modulo1::CalcolaSM(m), (void)Modulo1::CalcolaR(m);

    // The bytes as a stored date: a date read is a real day, and its ISO
    // text reads as the same day; the age from it.
    if (const auto d = Calendario::LeggiDataArchiviata(testo)) {
        if (!Calendario::DataValida(*d) || Calendario::LeggiDataArchiviata(Calendario::TestoIso(*d)) != d) std::abort();
    }
    Modulo1::ValoriCondizione valori;
    (void)Modulo1::CalcolaEta(testo, valori);

    // The same bytes as an INI file, asked for a key taken from its start.
    if (std::FILE* f = std::fopen(FileProva().c_str(), "wb")) {
        std::fwrite(dati, 1, dimensione, f);
        std::fclose(f);
        std::string_view chiave = testo.substr(0, dimensione % 7);
        try {
            (void)modLanguageSupport::LeggiIni(FileProva(), "Strings", chiave);
        } catch (const modLanguageSupport::ErroreIni&) {
        }
    }
    return 0;
}
