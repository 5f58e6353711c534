#include "ArchivioCsv.h"

#include "FileSistema.h"
#include "Modulo1.h"

#include <algorithm>
#include <array>
#include <optional>

namespace archivio {

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

constexpr std::array<std::string_view, 10> Misure{"pulsazioniriposo", "cavallo", "busto",   "coscia", "gamba",
                                                  "braccio",          "spalle",  "altezza", "peso",   "sella"};
constexpr std::array<std::string_view, 6> Attivita{"leggera", "moderata", "intensa", "light", "moderate", "strong"};

const int ColonnaSesso = *IndiceColonna("sesso");
const int ColonnaAttivita = *IndiceColonna("TipoImpiego");

bool Contiene(std::string_view testo, char c) { return testo.find(c) != std::string_view::npos; }

// True when the text is valid UTF-8 without NUL bytes.
bool TestoUtf8(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size()) {
        const auto c = static_cast<unsigned char>(t[i]);
        if (c == 0) return false;
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n;
        unsigned minimo;
        unsigned valore;
        if ((c & 0xE0) == 0xC0) {
            n = 1, minimo = 0x80, valore = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            n = 2, minimo = 0x800, valore = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            n = 3, minimo = 0x10000, valore = c & 0x07;
        } else {
            return false;
        }
        if (i + n >= t.size()) return false;
        for (std::size_t k = 1; k <= n; ++k) {
            const auto s = static_cast<unsigned char>(t[i + k]);
            if ((s & 0xC0) != 0x80) return false;
            valore = (valore << 6) | (s & 0x3F);
        }
        if (valore < minimo || valore > 0x10FFFF || (valore >= 0xD800 && valore <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}

void AccodaCampo(std::string& out, std::string_view valore, bool virgolette) {
    if (!virgolette) {
        out += valore;
        return;
    }
    out += '"';
    for (char c : valore) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// One record of the text: its fields, where it starts, and what is wrong
// with its form, if anything.
struct Record {
    std::vector<std::string> campi;
    std::size_t linea = 0;
    std::optional<Rifiuto> difetto;
};

// Reads records one after the other, in a single pass over the text.
class LettoreRecord {
public:
    LettoreRecord(std::string_view testo, char separatore) : t_(testo), sep_(separatore) {}

    bool Finito() const { return p_ >= t_.size(); }

    Record Prossimo() {
        Record r;
        r.linea = linea_;
        std::string campo;
        std::size_t lunghezza = 0;
        bool troppoLunga = false;
        auto chiudiCampo = [&] {
            if (!troppoLunga) r.campi.push_back(std::move(campo));
            campo.clear();
        };
        auto accoda = [&](char c) {
            if (++lunghezza > LunghezzaMassimaRecord) troppoLunga = true;
            if (!troppoLunga) campo += c;
        };
        bool inizioCampo = true;
        for (;;) {
            if (p_ >= t_.size()) {
                chiudiCampo();
                break;
            }
            const char c = t_[p_];
            if (inizioCampo && c == '"') {
                // A quoted field: up to the closing quote, doubled quotes
                // standing for one, line breaks kept.
                ++p_;
                bool chiuso = false;
                while (p_ < t_.size()) {
                    const char d = t_[p_++];
                    if (d == '"') {
                        if (p_ < t_.size() && t_[p_] == '"') {
                            accoda('"');
                            ++p_;
                            continue;
                        }
                        chiuso = true;
                        break;
                    }
                    if (d == '\n') ++linea_;
                    accoda(d);
                }
                if (!chiuso) {
                    r.difetto = Rifiuto::Virgolette;
                    chiudiCampo();
                    break;
                }
                inizioCampo = false;
                if (p_ < t_.size() && t_[p_] != sep_ && t_[p_] != '\n' && t_[p_] != '\r') {
                    r.difetto = Rifiuto::Virgolette;
                    SaltaRiga();
                    break;
                }
                continue;
            }
            if (c == sep_) {
                chiudiCampo();
                inizioCampo = true;
                ++p_;
                continue;
            }
            if (c == '\n' || (c == '\r' && p_ + 1 < t_.size() && t_[p_ + 1] == '\n') ||
                (c == '\r' && p_ + 1 == t_.size())) {
                chiudiCampo();
                p_ += c == '\r' && p_ + 1 < t_.size() ? 2 : 1;
                ++linea_;
                break;
            }
            if (c == '"') {  // a quote inside a field that does not start with one
                r.difetto = Rifiuto::Virgolette;
                SaltaRiga();
                break;
            }
            inizioCampo = false;
            accoda(c);
            ++p_;
        }
        if (troppoLunga && !r.difetto) r.difetto = Rifiuto::TroppoLunga;
        return r;
    }

private:
    void SaltaRiga() {
        while (p_ < t_.size() && t_[p_] != '\n') ++p_;
        if (p_ < t_.size()) ++p_;
        ++linea_;
    }

    std::string_view t_;
    char sep_;
    std::size_t p_ = 0;
    std::size_t linea_ = 1;
};

bool RecordVuoto(const Record& r) { return !r.difetto && r.campi.size() == 1 && r.campi[0].empty(); }

}  // namespace

bool ColonnaMisura(int colonna) {
    if (colonna < 0 || colonna >= NumeroColonne) return false;
    const std::string_view nome = Colonne[static_cast<std::size_t>(colonna)];
    return std::find(Misure.begin(), Misure.end(), nome) != Misure.end();
}

bool ColonnaData(int colonna) {
    if (colonna < 0 || colonna >= NumeroColonne) return false;
    const std::string_view nome = Colonne[static_cast<std::size_t>(colonna)];
    return nome == "datanascita" || nome == "Scadenza";
}

std::string TestoCsv(const std::vector<Riga>& righe, FormatoCsv formato) {
    std::string out(Bom);
    for (int c = 0; c < NumeroColonne; ++c) {
        if (c) out += formato.separatore;
        out += Colonne[static_cast<std::size_t>(c)];
    }
    out += "\r\n";
    for (const Riga& r : righe) {
        for (int c = 0; c < NumeroColonne; ++c) {
            if (c) out += formato.separatore;
            const std::string& v = r[c];
            if (ColonnaSiNo(c)) {
                out += v == "1" ? '1' : '0';
            } else if (ColonnaMisura(c) && Modulo1::TestoNumerico(v) && !Contiene(v, formato.separatore)) {
                for (char ch : v) out += ch == '.' || ch == ',' ? formato.decimale : ch;
            } else {
                AccodaCampo(out, v, !v.empty());
            }
        }
        out += "\r\n";
    }
    return out;
}

LetturaCsv LeggiCsv(std::string_view testo, const std::function<bool(std::string_view)>& eData) {
    LetturaCsv esito;
    if (testo.substr(0, Bom.size()) == Bom) testo.remove_prefix(Bom.size());
    if (!TestoUtf8(testo)) {
        esito.rifiuto = RifiutoFile::NonTesto;
        return esito;
    }

    // The header tells the separator and where each column stands.
    const std::string_view primaRiga = testo.substr(0, testo.find('\n'));
    const char separatore = Contiene(primaRiga, ';') ? ';' : ',';
    LettoreRecord lettore(testo, separatore);
    const Record intestazione = lettore.Prossimo();
    std::array<int, NumeroColonne> posizione;
    posizione.fill(-1);
    if (intestazione.difetto || intestazione.campi.size() != NumeroColonne) {
        esito.rifiuto = RifiutoFile::Intestazione;
        esito.dettaglio = std::to_string(intestazione.campi.size());
        return esito;
    }
    for (std::size_t i = 0; i < intestazione.campi.size(); ++i) {
        const auto c = IndiceColonna(intestazione.campi[i]);
        if (!c || posizione[static_cast<std::size_t>(*c)] >= 0) {
            esito.rifiuto = RifiutoFile::Intestazione;
            esito.dettaglio = intestazione.campi[i].substr(0, 64);
            return esito;
        }
        posizione[static_cast<std::size_t>(*c)] = static_cast<int>(i);
    }

    while (!lettore.Finito()) {
        Record r = lettore.Prossimo();
        if (RecordVuoto(r)) continue;
        auto rifiuta = [&](Rifiuto motivo, std::string dettaglio = {}) {
            esito.rifiutate.push_back({r.linea, motivo, std::move(dettaglio)});
        };
        if (r.difetto) {
            rifiuta(*r.difetto);
            continue;
        }
        if (r.campi.size() != NumeroColonne) {
            rifiuta(Rifiuto::Colonne, std::to_string(r.campi.size()));
            continue;
        }
        Riga riga;
        std::optional<std::pair<Rifiuto, std::string>> difetto;
        for (int c = 0; c < NumeroColonne && !difetto; ++c) {
            std::string& v = r.campi[static_cast<std::size_t>(posizione[static_cast<std::size_t>(c)])];
            const std::string nome(Colonne[static_cast<std::size_t>(c)]);
            if (ColonnaSiNo(c)) {
                if (v != "" && v != "0" && v != "1") difetto = {Rifiuto::SiNo, nome};
                riga[c] = v == "1" ? "1" : "0";
                continue;
            }
            if (ColonnaMisura(c)) {
                if (!v.empty() && !Modulo1::TestoNumerico(v)) difetto = {Rifiuto::Misura, nome};
                v = Modulo1::NormalizzaDecimali(v);
            } else if (ColonnaData(c)) {
                if (!v.empty() && !eData(v)) difetto = {Rifiuto::Data, nome};
            } else if (c == ColonnaSesso) {
                if (v != "" && v != "M" && v != "F") difetto = {Rifiuto::Sesso, nome};
            } else if (c == ColonnaAttivita) {
                if (!v.empty() && std::find(Attivita.begin(), Attivita.end(), v) == Attivita.end())
                    difetto = {Rifiuto::Attivita, nome};
            }
            riga[c] = std::move(v);
        }
        if (difetto) {
            rifiuta(difetto->first, difetto->second);
            continue;
        }
        esito.righe.push_back(std::move(riga));
    }
    return esito;
}

Esito EsportaCsv(const Archivio& archivio, const std::filesystem::path& file, FormatoCsv formato, std::size_t& quanti) {
    std::vector<Riga> righe;
    if (Esito e = archivio.LeggiTutte(righe); !e) return e;
    if (auto errore = sistema::ScriviFileAtomico(
            file, TestoCsv(righe, formato), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write))
        return ErroreDiSistema(errore->numero, errore->dettaglio);
    quanti = righe.size();
    return {};
}

Esito LeggiFileCsv(const std::filesystem::path& file, const std::function<bool(std::string_view)>& eData,
                   LetturaCsv& lettura) {
    sistema::ErroreFile errore;
    const auto testo = sistema::LeggiFile(file, LunghezzaMassimaFileCsv, errore);
    if (!testo) return ErroreDiSistema(errore.numero, errore.dettaglio);
    lettura = LeggiCsv(*testo, eData);
    return {};
}

}  // namespace archivio
