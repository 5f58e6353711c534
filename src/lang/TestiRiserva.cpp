#include "TestiRiserva.h"

#include "modLanguageSupport.h"

#include <algorithm>
#include <memory>

namespace modLanguageSupport {

extern const std::string_view LinguaIncorporataItaliana;
extern const std::string_view LinguaIncorporataInglese;

namespace {

// Each shipped file read once, when first needed.
const FileIniLetto& Incorporato(std::string_view lingua) {
    static const auto italiano = std::make_unique<FileIniLetto>(FileIniLetto::DaTesto(LinguaIncorporataItaliana));
    static const auto inglese = std::make_unique<FileIniLetto>(FileIniLetto::DaTesto(LinguaIncorporataInglese));
    return lingua == "english" ? *inglese : *italiano;
}

}  // namespace

std::string_view FileLinguaIncorporato(std::string_view lingua) {
    if (lingua == "italian") return LinguaIncorporataItaliana;
    if (lingua == "english") return LinguaIncorporataInglese;
    return {};
}

std::string TestoIncorporato(std::string_view sezione, std::string_view chiave) {
    return Incorporato(LinguaCorrente).Leggi(sezione, chiave);
}

bool TestoDanneggiato(std::string_view testo) {
    // Every shipped text is quoted whole, and any quotes inside it pair: a
    // quote left at the start of the text, with no partner, is what a cut
    // leaves.
    return !testo.empty() && testo.front() == '"' && std::count(testo.begin(), testo.end(), '"') % 2 == 1;
}

std::optional<ProblemaLingua> ControllaLingua() {
    const auto file = FileLingua();
    const bool spedita = !FileLinguaIncorporato(LinguaCorrente).empty();
    std::error_code ec;
    if (!file || (!spedita && !std::filesystem::exists(*file, ec)))
        return ProblemaLingua{ProblemaLingua::Tipo::LinguaSconosciuta, FileImpostazioni(), 0};
    std::optional<FileIniLetto> letto;
    try {
        letto.emplace(*file);
    } catch (const ErroreIni&) {
        return ProblemaLingua{ProblemaLingua::Tipo::FileIllegibile, *file, 0};
    }
    if (!spedita) return std::nullopt;
    // Every text the shipped file holds: the messages and every window's.
    std::size_t mancanti = 0;
    Incorporato(LinguaCorrente).PerOgniVoce([&](std::string_view sezione, std::string_view chiave) {
        const std::string t = letto->Leggi(sezione, chiave);
        if (t.empty() || TestoDanneggiato(t)) ++mancanti;
    });
    if (mancanti == 0) return std::nullopt;
    return ProblemaLingua{ProblemaLingua::Tipo::TestiMancanti, *file, mancanti};
}

}  // namespace modLanguageSupport
