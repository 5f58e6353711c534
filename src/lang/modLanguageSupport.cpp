#include "modLanguageSupport.h"

#include "FileSistema.h"
#include "TestiRiserva.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace modLanguageSupport {

std::string LinguaCorrente;
std::filesystem::path CartellaApplicazione;
std::filesystem::path CartellaDati;

namespace fs = std::filesystem;

namespace {

struct ChiudiFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, ChiudiFile>;

// The whole file, or ErroreIni when it cannot be opened or read.
std::string LeggiFile(const fs::path& file) {
#ifdef _WIN32
    File f(::_wfopen(file.c_str(), L"rb"));  // the wide call: names beyond ASCII
#else
    File f(std::fopen(file.c_str(), "rb"));
#endif
    if (!f) throw ErroreIni("cannot open " + file.string());
    std::string contenuto;
    char buffer[16384];
    std::size_t letti;
    while ((letti = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) contenuto.append(buffer, letti);
    if (std::ferror(f.get())) throw ErroreIni("cannot read " + file.string());
    return contenuto;
}

bool Spazio(char c) { return c == ' ' || c == '\t'; }

std::string_view Pulito(std::string_view s) {
    while (!s.empty() && Spazio(s.front())) s.remove_prefix(1);
    while (!s.empty() && Spazio(s.back())) s.remove_suffix(1);
    return s;
}

char Minuscola(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool UgualiSenzaMaiuscole(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Minuscola(x) == Minuscola(y); });
}

// Calls f(line) for each line of the text, without its line end; stops when f
// returns true.
template <typename F>
void PerOgniRiga(std::string_view testo, F&& f) {
    while (!testo.empty()) {
        std::size_t a = testo.find('\n');
        std::string_view riga = testo.substr(0, a);
        if (!riga.empty() && riga.back() == '\r') riga.remove_suffix(1);
        if (f(riga)) return;
        if (a == std::string_view::npos) return;
        testo.remove_prefix(a + 1);
    }
}

// The section name of a header line "[name]", if the line is one.
std::optional<std::string_view> Intestazione(std::string_view riga) {
    riga = Pulito(riga);
    if (riga.size() < 2 || riga.front() != '[') return std::nullopt;
    std::size_t chiusa = riga.find(']');
    if (chiusa == std::string_view::npos) return std::nullopt;
    return Pulito(riga.substr(1, chiusa - 1));
}

struct Voce {
    std::string_view chiave, valore;
};

std::optional<Voce> VoceDellaRiga(std::string_view riga) {
    std::size_t uguale = riga.find('=');
    if (uguale == std::string_view::npos) return std::nullopt;
    return Voce{Pulito(riga.substr(0, uguale)), Pulito(riga.substr(uguale + 1))};
}

// At most `massimo` characters; a character is a UTF-8 sequence, or one byte
// where the text is not UTF-8, so a cut never splits a letter.
std::string_view PrimiCaratteri(std::string_view s, std::size_t massimo) {
    std::size_t caratteri = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        bool continuazione = (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80;
        if (!continuazione && caratteri++ == massimo) return s.substr(0, i);
    }
    return s;
}

// A value as the profile rules return it: one pair of quotes taken off, cut
// at 511 characters.
std::string ValoreIni(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(PrimiCaratteri(v, LunghezzaMassimaValore));
}

// The profile rules: sections and keys without regard to case, blanks around
// them ignored, one pair of quotes taken off, the value cut at 511 characters.
std::string LeggiComeIni(std::string_view testo, std::string_view sezione, std::string_view chiave) {
    if (testo.substr(0, 3) == "\xEF\xBB\xBF") testo.remove_prefix(3);
    sezione = Pulito(sezione);
    chiave = Pulito(chiave);
    bool nellaSezione = false, sezioneVista = false;
    std::string risultato;
    PerOgniRiga(testo, [&](std::string_view riga) {
        if (auto nome = Intestazione(riga)) {
            if (sezioneVista) return true;  // only the first section of that name counts
            nellaSezione = UgualiSenzaMaiuscole(*nome, sezione);
            sezioneVista = nellaSezione;
            return false;
        }
        if (!nellaSezione) return false;
        auto voce = VoceDellaRiga(riga);
        if (!voce || !UgualiSenzaMaiuscole(voce->chiave, chiave)) return false;
        risultato = ValoreIni(voce->valore);
        return true;
    });
    return risultato;
}

std::string Minuscolo(std::string_view s) {
    std::string m(s);
    std::transform(m.begin(), m.end(), m.begin(), Minuscola);
    return m;
}

std::string ChiaveIndice(std::string_view sezione, std::string_view chiave) {
    return Minuscolo(Pulito(sezione)) + '\0' + Minuscolo(Pulito(chiave));
}

// The scan of large files: the first line that starts with the key, sections
// not considered; the value is what follows key and "=", less its first and
// last character.
std::string LeggiConScansione(std::string_view testo, std::string_view chiave, const fs::path& file) {
    std::optional<std::string> risultato;
    bool troppoCorta = false;
    PerOgniRiga(testo, [&](std::string_view riga) {
        if (riga.substr(0, chiave.size()) != chiave) return false;
        std::string_view resto = riga.size() > chiave.size() + 1 ? riga.substr(chiave.size() + 1) : std::string_view();
        if (resto.size() < 2)
            troppoCorta = true;
        else
            risultato = std::string(resto.substr(1, resto.size() - 2));
        return true;
    });
    if (troppoCorta) throw ErroreIni("no value for " + std::string(chiave) + " in " + file.string());
    return risultato.value_or(std::string());
}

bool NomeLinguaSicuro(std::string_view nome) {
    return nome.find('/') == std::string_view::npos && nome.find('\\') == std::string_view::npos &&
           nome.find("..") == std::string_view::npos && nome.find('\0') == std::string_view::npos;
}

// Replaces the file with the new text: written beside it, flushed to disk and
// renamed over it, so that the file is always either the old or the new one.
bool SostituisciFile(const fs::path& file, std::string_view testo) {
    return !sistema::ScriviFileAtomico(
        file, testo, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
}

}  // namespace

namespace {

// The file's text, and whether it is read by the line scan (its size on disk
// or its text above the limit).
std::string TestoIni(const fs::path& file, bool& scansione) {
    std::error_code errore;
    std::uintmax_t lunghezza = fs::file_size(file, errore);
    if (errore) throw ErroreIni("cannot read the length of " + file.string());
    std::string testo = LeggiFile(file);
    scansione = lunghezza > LimiteLetturaIni || testo.size() > LimiteLetturaIni;
    return testo;
}

}  // namespace

FileIniLetto::FileIniLetto(const fs::path& file) : file_(file) {
    testo_ = TestoIni(file, scansione_);
    Indicizza();
}

FileIniLetto FileIniLetto::DaTesto(std::string_view testo) {
    FileIniLetto letto;
    letto.testo_ = std::string(testo);
    letto.scansione_ = testo.size() > LimiteLetturaIni;
    letto.Indicizza();
    return letto;
}

void FileIniLetto::PerOgniVoce(const std::function<void(std::string_view, std::string_view)>& voce) const {
    for (const auto& [chiave, valore] : indice_) {
        const auto nul = chiave.find('\0');
        voce(std::string_view(chiave).substr(0, nul), std::string_view(chiave).substr(nul + 1));
    }
}

void FileIniLetto::Indicizza() {
    if (scansione_) return;
    // Every value indexed once, by the same rules as a lookup: the first
    // section of a name, the first key of a name within it.
    std::string_view testo = testo_;
    if (testo.substr(0, 3) == "\xEF\xBB\xBF") testo.remove_prefix(3);
    std::vector<std::string> sezioniViste;
    std::optional<std::string> sezione;
    PerOgniRiga(testo, [&](std::string_view riga) {
        if (auto nome = Intestazione(riga)) {
            std::string m = Minuscolo(*nome);
            const bool vista = std::find(sezioniViste.begin(), sezioniViste.end(), m) != sezioniViste.end();
            sezione = vista ? std::nullopt : std::optional<std::string>(m);
            if (!vista) sezioniViste.push_back(std::move(m));
            return false;
        }
        if (!sezione) return false;
        if (auto voce = VoceDellaRiga(riga))
            indice_.emplace(ChiaveIndice(*sezione, voce->chiave), ValoreIni(voce->valore));
        return false;
    });
}

std::string FileIniLetto::Leggi(std::string_view sezione, std::string_view chiave) const {
    if (scansione_) return LeggiConScansione(testo_, chiave, file_);
    auto trovata = indice_.find(ChiaveIndice(sezione, chiave));
    return trovata == indice_.end() ? std::string() : trovata->second;
}

std::string LeggiIni(const fs::path& file, std::string_view sezione, std::string_view chiave) {
    // One lookup: read straight through, without the index.
    bool scansione = false;
    const std::string testo = TestoIni(file, scansione);
    return scansione ? LeggiConScansione(testo, chiave, file) : LeggiComeIni(testo, sezione, chiave);
}

bool ScriviIni(const fs::path& file, std::string_view sezione, std::string_view chiave, std::string_view valore) {
    std::string testo;
    std::error_code errore;
    if (fs::exists(file, errore)) {
        try {
            testo = LeggiFile(file);
        } catch (const ErroreIni&) {
            return false;
        }
    } else if (errore) {
        return false;
    }
    const std::string_view fineRiga = testo.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const std::string nuovaRiga = std::string(Pulito(chiave)) + "=" + std::string(valore);

    // Find the section and, inside it, the key's line and the end of its last entry.
    std::size_t posizione = 0;
    bool nellaSezione = false, trovata = false;
    std::size_t inizioChiave = std::string::npos, fineChiave = 0, fineSezione = std::string::npos;
    std::string_view vista(testo);
    while (posizione < vista.size()) {
        std::size_t a = vista.find('\n', posizione);
        std::size_t fine = a == std::string_view::npos ? vista.size() : a + 1;
        std::string_view riga = vista.substr(posizione, fine - posizione);
        while (!riga.empty() && (riga.back() == '\n' || riga.back() == '\r')) riga.remove_suffix(1);
        if (auto nome = Intestazione(riga)) {
            if (nellaSezione) break;
            nellaSezione = !trovata && UgualiSenzaMaiuscole(*nome, Pulito(sezione));
            if (nellaSezione) {
                trovata = true;
                fineSezione = fine;
            }
        } else if (nellaSezione) {
            if (!Pulito(riga).empty()) fineSezione = fine;
            auto voce = VoceDellaRiga(riga);
            if (voce && UgualiSenzaMaiuscole(voce->chiave, Pulito(chiave))) {
                inizioChiave = posizione;
                fineChiave = posizione + riga.size();
                break;
            }
        }
        posizione = fine;
    }

    std::string nuovo;
    if (inizioChiave != std::string::npos) {
        nuovo = testo.substr(0, inizioChiave) + nuovaRiga + testo.substr(fineChiave);
    } else if (trovata) {
        std::string prima = testo.substr(0, fineSezione);
        if (!prima.empty() && prima.back() != '\n') prima += fineRiga;
        nuovo = prima + nuovaRiga + std::string(fineRiga) + testo.substr(fineSezione);
    } else {
        nuovo = testo;
        if (!nuovo.empty() && nuovo.back() != '\n') nuovo += fineRiga;
        nuovo += "[" + std::string(Pulito(sezione)) + "]" + std::string(fineRiga) + nuovaRiga + std::string(fineRiga);
    }
    return SostituisciFile(file, nuovo);
}

std::optional<fs::path> FileLingua() {
    if (!NomeLinguaSicuro(LinguaCorrente)) return std::nullopt;
    // path's "/" adds a separator only when the folder does not end with one.
    return CartellaApplicazione / (LinguaCorrente + ".lng");
}

fs::path CartellaDatiInUso() { return CartellaDati.empty() ? CartellaApplicazione : CartellaDati; }

fs::path FileImpostazioni() { return CartellaDatiInUso() / "LangSetting.ini"; }

std::string TestoLingua(std::string_view id) {
    std::string testo;
    try {
        if (LinguaCorrente.empty()) {
            try {
                LinguaCorrente = LeggiIni(FileImpostazioni(), "Language", "CurrentLanguage");
            } catch (const ErroreIni&) {
                // No settings file: the language stays unknown.
            }
        }
        if (std::optional<fs::path> file = FileLingua()) testo = LeggiIni(*file, "Strings", id);
    } catch (...) {
        testo.clear();
    }
    if (testo.empty() || TestoDanneggiato(testo)) testo = TestoIncorporato("Strings", id);
    return testo;
}

}  // namespace modLanguageSupport
