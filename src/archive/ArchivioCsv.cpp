#include "ArchivioCsv.h"

#include "Calendario.h"
#include "FileSistema.h"
#include "Modulo1.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

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

// A cell that starts with one of these is a formula to some spreadsheet
// (=HYPERLINK(...) becomes a live link): written after an apostrophe, which
// marks it as text, and read back without it.
bool IniziaComeFormula(std::string_view testo) {
    const auto dopo = testo.find_first_not_of('\'');
    return dopo != std::string_view::npos && std::string_view("=+-@\t\r").find(testo[dopo]) != std::string_view::npos;
}

// A phone number in the international form ("+353 1 234 5678"): a "+" and
// then digits, spaces and dashes only, at least one digit. No spreadsheet
// finds a function or a cell in it, so it is written as the coach typed it.
bool NumeroTelefono(std::string_view testo) {
    if (testo.size() < 2 || testo.front() != '+') return false;
    bool cifra = false;
    for (const char c : testo.substr(1)) {
        if (c >= '0' && c <= '9')
            cifra = true;
        else if (c != ' ' && c != '-')
            return false;
    }
    return cifra;
}

void TogliPrefissoFormula(std::string& campo) {
    if (!campo.empty() && campo.front() == '\'' && IniziaComeFormula(campo)) campo.erase(0, 1);
}

void AccodaCampo(std::string& out, std::string_view valore, bool virgolette) {
    if (!virgolette) {
        out += valore;
        return;
    }
    out += '"';
    if (IniziaComeFormula(valore) && !NumeroTelefono(valore)) out += '\'';
    for (char c : valore) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// The text of a CSV, a byte at a time: from a text in memory, or from a
// file read in blocks, so that a file is never held whole.
class Sorgente {
public:
    static constexpr int Fine = -1;

    explicit Sorgente(std::string_view testo) : dati_(testo) {}
    explicit Sorgente(int fd) : fd_(fd), blocco_(1 << 16, '\0') {}

    int Guarda() {
        if (p_ == dati_.size() && !Ricarica()) return Fine;
        return static_cast<unsigned char>(dati_[p_]);
    }
    int Prendi() {
        const int c = Guarda();
        if (c != Fine) ++p_;
        return c;
    }
    // What is at hand from here on (at least the first block of a file).
    std::string_view Davanti() {
        Guarda();
        return dati_.substr(p_);
    }
    void Salta(std::size_t n) { p_ += std::min(n, dati_.size() - p_); }
    // The system's error number when reading the file failed, else 0.
    int errore() const { return errore_; }

private:
    bool Ricarica() {
        if (fd_ < 0 || finito_) return false;
        for (;;) {
            const ssize_t n = ::read(fd_, blocco_.data(), blocco_.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                if (n < 0) errore_ = errno;
                finito_ = true;
                return false;
            }
            dati_ = std::string_view(blocco_.data(), static_cast<std::size_t>(n));
            p_ = 0;
            return true;
        }
    }

    std::string_view dati_;
    std::size_t p_ = 0;
    int fd_ = -1;
    std::string blocco_;
    bool finito_ = false;
    int errore_ = 0;
};

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
    LettoreRecord(Sorgente& sorgente, char separatore) : s_(sorgente), sep_(separatore) {}

    bool Finito() { return s_.Guarda() == Sorgente::Fine; }

    // The next record into `r` (its fields' room reused).
    void Prossimo(Record& r) {
        r.campi.clear();
        r.difetto.reset();
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
            const int c = s_.Guarda();
            if (c == Sorgente::Fine) {
                chiudiCampo();
                break;
            }
            if (inizioCampo && c == '"') {
                // A quoted field: up to the closing quote, doubled quotes
                // standing for one, line breaks kept.
                s_.Prendi();
                bool chiuso = false;
                for (int d; (d = s_.Prendi()) != Sorgente::Fine;) {
                    if (d == '"') {
                        if (s_.Guarda() == '"') {
                            accoda('"');
                            s_.Prendi();
                            continue;
                        }
                        chiuso = true;
                        break;
                    }
                    if (d == '\n') ++linea_;
                    accoda(static_cast<char>(d));
                }
                if (!chiuso) {
                    r.difetto = Rifiuto::Virgolette;
                    chiudiCampo();
                    break;
                }
                inizioCampo = false;
                const int dopo = s_.Guarda();
                if (dopo != Sorgente::Fine && dopo != sep_ && dopo != '\n' && dopo != '\r') {
                    r.difetto = Rifiuto::Virgolette;
                    SaltaRiga();
                    break;
                }
                continue;
            }
            if (c == sep_) {
                s_.Prendi();
                chiudiCampo();
                inizioCampo = true;
                continue;
            }
            if (c == '\n') {
                s_.Prendi();
                chiudiCampo();
                ++linea_;
                break;
            }
            if (c == '\r') {
                s_.Prendi();
                const int dopo = s_.Guarda();
                if (dopo == '\n' || dopo == Sorgente::Fine) {
                    if (dopo == '\n') s_.Prendi();
                    chiudiCampo();
                    ++linea_;
                    break;
                }
                inizioCampo = false;
                accoda('\r');
                continue;
            }
            if (c == '"') {  // a quote inside a field that does not start with one
                r.difetto = Rifiuto::Virgolette;
                SaltaRiga();
                break;
            }
            inizioCampo = false;
            accoda(static_cast<char>(c));
            s_.Prendi();
        }
        if (troppoLunga && !r.difetto) r.difetto = Rifiuto::TroppoLunga;
    }

private:
    void SaltaRiga() {
        for (int c; (c = s_.Prendi()) != Sorgente::Fine && c != '\n';) {
        }
        ++linea_;
    }

    Sorgente& s_;
    char sep_;
    std::size_t linea_ = 1;
};

bool RecordVuoto(const Record& r) { return !r.difetto && r.campi.size() == 1 && r.campi[0].empty(); }

bool Vuoto(std::string_view t) { return t.find_first_not_of(" \t") == std::string_view::npos; }

// A date of the CSV as the archive stores it, or why it is refused.
std::optional<Rifiuto> DataDaCsv(std::string& v) {
    if (v.empty()) return std::nullopt;
    std::optional<Calendario::Data> d = Calendario::LeggiDataIso(v);
    if (!d) {
        d = Calendario::Servizi().leggiData(v);
        if (d && !Calendario::AnnoCompleto(v)) return Rifiuto::DataAnnoBreve;
    }
    if (!d) return Rifiuto::Data;
    v = Calendario::TestoIso(*d);
    return std::nullopt;
}

// A stored date as the CSV writes it: ISO when it reads as a date, the same
// under every regional setting.
std::string DataPerCsv(const std::string& v) {
    if (v.empty()) return v;
    if (auto d = Calendario::LeggiDataArchiviata(v)) return Calendario::TestoIso(*d);
    return v;
}

// The CSV's records turned into rows to add, line by line.
class LettoreCsv {
public:
    enum class Voce { Fine, Riga, Rifiutata, FileRifiutato };

    explicit LettoreCsv(Sorgente& s) : s_(s) {}

    // Reads the header: false when the whole text is refused (why in
    // `rifiuto` and `dettaglio`).
    bool Intestazione(RifiutoFile& rifiuto, std::string& dettaglio) {
        if (s_.Davanti().substr(0, Bom.size()) == Bom) s_.Salta(Bom.size());
        // The header tells the separator and where each column stands.
        const std::string_view inizio = s_.Davanti();
        const std::string_view primaRiga = inizio.substr(0, inizio.find('\n'));
        lettore_.emplace(s_, Contiene(primaRiga, ';') ? ';' : ',');
        Record intestazione;
        lettore_->Prossimo(intestazione);
        for (const std::string& c : intestazione.campi)
            if (!TestoUtf8(c)) {
                rifiuto = RifiutoFile::NonTesto;
                return false;
            }
        posizione_.fill(-1);
        if (intestazione.difetto || intestazione.campi.size() != NumeroColonne) {
            rifiuto = RifiutoFile::Intestazione;
            dettaglio = std::to_string(intestazione.campi.size());
            return false;
        }
        for (std::size_t i = 0; i < intestazione.campi.size(); ++i) {
            const auto c = IndiceColonna(intestazione.campi[i]);
            if (!c || posizione_[static_cast<std::size_t>(*c)] >= 0) {
                rifiuto = RifiutoFile::Intestazione;
                dettaglio = intestazione.campi[i].substr(0, 64);
                return false;
            }
            posizione_[static_cast<std::size_t>(*c)] = static_cast<int>(i);
        }
        return true;
    }

    // The next line: a row to add (in `riga`), a refused line (in
    // `rifiutata`), a text that is no text, or the end.
    Voce Prossima(Riga& riga, LineaRifiutata& rifiutata) {
        for (;;) {
            if (lettore_->Finito()) return Voce::Fine;
            lettore_->Prossimo(r_);
            if (RecordVuoto(r_)) continue;
            for (std::string& c : r_.campi) {
                if (!TestoUtf8(c)) return Voce::FileRifiutato;
                TogliPrefissoFormula(c);
            }
            rifiutata = {r_.linea, Rifiuto::Colonne, {}};
            if (r_.difetto) {
                rifiutata.motivo = *r_.difetto;
                return Voce::Rifiutata;
            }
            if (r_.campi.size() != NumeroColonne) {
                rifiutata.dettaglio = std::to_string(r_.campi.size());
                return Voce::Rifiutata;
            }
            std::optional<Rifiuto> difetto;
            int colonna = 0;
            for (int c = 0; c < NumeroColonne && !difetto; ++c) {
                colonna = c;
                std::string& v = r_.campi[static_cast<std::size_t>(posizione_[static_cast<std::size_t>(c)])];
                if (ColonnaSiNo(c)) {
                    if (v != "" && v != "0" && v != "1") difetto = Rifiuto::SiNo;
                    riga[c] = v == "1" ? "1" : "0";
                    continue;
                }
                if (c == ColonnaNome) {
                    if (Vuoto(v)) difetto = Rifiuto::SenzaNome;
                } else if (ColonnaMisura(c)) {
                    if (!v.empty() && !Modulo1::TestoNumerico(v)) difetto = Rifiuto::Misura;
                    v = Modulo1::NormalizzaDecimali(v);
                } else if (ColonnaData(c)) {
                    difetto = DataDaCsv(v);
                } else if (c == ColonnaSesso) {
                    if (v != "" && v != "M" && v != "F") difetto = Rifiuto::Sesso;
                } else if (c == ColonnaAttivita) {
                    if (!v.empty() && std::find(Attivita.begin(), Attivita.end(), v) == Attivita.end())
                        difetto = Rifiuto::Attivita;
                }
                riga[c] = std::move(v);
            }
            if (!difetto) return Voce::Riga;
            rifiutata.motivo = *difetto;
            rifiutata.dettaglio = Colonne[static_cast<std::size_t>(colonna)];
            return Voce::Rifiutata;
        }
    }

private:
    Sorgente& s_;
    std::optional<LettoreRecord> lettore_;
    std::array<int, NumeroColonne> posizione_{};
    Record r_;
};

// What tells two athletes apart: every column, dates by the day they name.
std::string Chiave(const Riga& riga) {
    std::string k;
    for (int c = 0; c < NumeroColonne; ++c) {
        const std::string v = ColonnaData(c) ? DataPerCsv(riga[c]) : riga[c];
        k += std::to_string(v.size());
        k += ':';
        k += v;
    }
    return k;
}

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
            } else if (ColonnaData(c)) {
                const std::string data = DataPerCsv(v);
                AccodaCampo(out, data, !data.empty());
            } else {
                AccodaCampo(out, v, !v.empty());
            }
        }
        out += "\r\n";
    }
    return out;
}

LetturaCsv LeggiCsv(std::string_view testo) {
    LetturaCsv esito;
    Sorgente sorgente(testo);
    LettoreCsv lettore(sorgente);
    if (!lettore.Intestazione(esito.rifiuto, esito.dettaglio)) return esito;
    Riga riga;
    LineaRifiutata rifiutata;
    for (;;) {
        switch (lettore.Prossima(riga, rifiutata)) {
        case LettoreCsv::Voce::Fine: return esito;
        case LettoreCsv::Voce::Riga: esito.righe.push_back(riga); break;
        case LettoreCsv::Voce::Rifiutata: esito.rifiutate.push_back(rifiutata); break;
        case LettoreCsv::Voce::FileRifiutato: return {RifiutoFile::NonTesto, {}, {}, {}};
        }
    }
}

Esito EsportaCsv(const Archivio& archivio, const std::filesystem::path& file, FormatoCsv formato, std::size_t& quanti) {
    if (sistema::StessoFile(file, archivio.file()))
        return Errore{.motivo = Motivo::StessoArchivio, .dettaglio = file.string()};
    std::vector<Riga> righe;
    if (Esito e = archivio.LeggiTutte(righe); !e) return e;
    if (auto errore = sistema::ScriviFileAtomico(
            file, TestoCsv(righe, formato), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write))
        return ErroreDiSistema(errore->numero, errore->dettaglio);
    quanti = righe.size();
    return {};
}

namespace {

// The file opened to be read, if it is one: a folder, a device or a pipe
// (which would wait for a writer forever) is refused, and so is a file
// longer than the import reads.
Esito ApriCsv(const std::filesystem::path& file, int& fd) {
#ifdef _WIN32
    // A folder does not open at all on Windows (access denied): it is said
    // to be no file, as on Linux.
    if (std::error_code ec; std::filesystem::is_directory(file, ec))
        return Errore{.motivo = Motivo::NonUnFile, .dettaglio = sistema::NomeStretto(file)};
    // The wide call (names beyond ASCII), bytes as they are; Windows has no
    // pipe that a plain open waits on.
    fd = ::_wopen(file.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
#else
    fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
#endif
    if (fd < 0) return ConCartella(ErroreDiSistema(errno, file.string() + ": " + std::strerror(errno)), file);
    struct stat info {};
    Esito esito;
    if (::fstat(fd, &info) != 0)
        esito = ErroreDiSistema(errno, file.string() + ": " + std::strerror(errno));
    else if (!S_ISREG(info.st_mode))
        esito = Errore{.motivo = Motivo::NonUnFile, .dettaglio = file.string()};
    else if (static_cast<std::uintmax_t>(info.st_size) > LunghezzaMassimaFileCsv)
        esito = Errore{.motivo = Motivo::TroppoGrande, .dettaglio = std::to_string(LunghezzaMassimaFileCsv)};
#ifndef _WIN32
    else if (const int flag = ::fcntl(fd, F_GETFL); flag < 0 || ::fcntl(fd, F_SETFL, flag & ~O_NONBLOCK) != 0)
        esito = ErroreDiSistema(errno, file.string() + ": " + std::strerror(errno));
#endif
    if (!esito) {
        ::close(fd);
        fd = -1;
    }
    return esito;
}

}  // namespace

namespace {

// The import, or its preview when `scrittura` is none.
Esito Importa(const Archivio& archivio, Archivio* scrittura, const std::filesystem::path& file,
              RiepilogoImportazione& riepilogo) {
    riepilogo = {};
    int fd = -1;
    if (Esito e = ApriCsv(file, fd); !e) {
        riepilogo.erroreDelFile = true;
        return e;
    }
    struct Chiudi {
        int fd;
        ~Chiudi() { ::close(fd); }
    } chiudi{fd};

    // The athletes already there, by a digest of their columns: an equal
    // digest is confirmed on the row itself. An earlier line of the file not
    // written (a preview) is known by its digest alone (-1).
    const std::hash<std::string> digest;
    std::unordered_multimap<std::size_t, std::int64_t> presenti;
    std::unordered_set<std::string> nomi;
    if (Esito e = archivio.ScorriRighe([&](std::int64_t id, const Riga& r) {
            presenti.emplace(digest(Chiave(r)), id);
            nomi.insert(r[ColonnaNome]);
        });
        !e)
        return e;
    auto giaPresente = [&](const std::string& chiave, std::size_t impronta) {
        const auto [da, a] = presenti.equal_range(impronta);
        for (auto i = da; i != a; ++i) {
            if (i->second < 0) return true;
            Riga altra;
            if (archivio.LeggiRiga(i->second, altra) && Chiave(altra) == chiave) return true;
        }
        return false;
    };

    Sorgente sorgente(fd);
    LettoreCsv lettore(sorgente);
    // Every line of the file, each row to add handed to `aggiungi`.
    auto scorri = [&](const std::function<Esito(const Riga&, std::size_t impronta)>& aggiungi) -> Esito {
        if (!lettore.Intestazione(riepilogo.rifiuto, riepilogo.dettaglio)) return {};
        Riga riga;
        LineaRifiutata rifiutata;
        for (;;) {
            switch (lettore.Prossima(riga, rifiutata)) {
            case LettoreCsv::Voce::Fine:
                if (sorgente.errore()) {
                    riepilogo.erroreDelFile = true;
                    return ErroreDiSistema(sorgente.errore(), file.string() + ": " + std::strerror(sorgente.errore()));
                }
                return {};
            case LettoreCsv::Voce::Riga: {
                const std::string chiave = Chiave(riga);
                const std::size_t impronta = digest(chiave);
                if (giaPresente(chiave, impronta)) {
                    ++riepilogo.giaPresenti;
                    break;
                }
                if (Esito e = aggiungi(riga, impronta); !e) return e;
                ++riepilogo.aggiunti;
                riepilogo.omonimi += nomi.count(riga[ColonnaNome]);
                break;
            }
            case LettoreCsv::Voce::Rifiutata:
                if (riepilogo.elencate.size() < RifiutateElencate) riepilogo.elencate.push_back(rifiutata);
                ++riepilogo.rifiutate;
                break;
            case LettoreCsv::Voce::FileRifiutato: riepilogo.rifiuto = RifiutoFile::NonTesto; return {};
            }
        }
    };
    auto fileRifiutato = [&] {
        if (riepilogo.rifiuto == RifiutoFile::Nessuno) return false;
        riepilogo.aggiunti = riepilogo.giaPresenti = riepilogo.rifiutate = riepilogo.omonimi = 0;
        riepilogo.elencate.clear();
        return true;
    };

    if (!scrittura) {
        Esito e = scorri([&](const Riga&, std::size_t impronta) {
            presenti.emplace(impronta, -1);
            return Esito{};
        });
        fileRifiutato();
        return e;
    }
    Esito esito = scrittura->AggiungiInTransazione([&](const Archivio::Aggiungi& aggiungi, bool& conferma) {
        Esito e = scorri([&](const Riga& riga, std::size_t impronta) {
            std::int64_t id = 0;
            if (Esito e = aggiungi(riga, id); !e) return e;
            presenti.emplace(impronta, id);
            return Esito{};
        });
        conferma = e && !fileRifiutato() && riepilogo.aggiunti > 0 && riepilogo.rifiutate == 0;
        riepilogo.scritto = conferma;
        return e;
    });
    if (!esito) riepilogo.scritto = false;
    return esito;
}

}  // namespace

Esito AnteprimaCsv(const Archivio& archivio, const std::filesystem::path& file, RiepilogoImportazione& riepilogo) {
    return Importa(archivio, nullptr, file, riepilogo);
}

Esito ImportaCsv(Archivio& archivio, const std::filesystem::path& file, RiepilogoImportazione& riepilogo) {
    return Importa(archivio, &archivio, file, riepilogo);
}

}  // namespace archivio
