#include "RigaDiComando.h"

#include "ArchivioCsv.h"
#include "ArchivioPrecedente.h"
#include "AtletaCorrente.h"
#include "Avvio.h"
#include "AvvisiArchivio.h"
#include "CopiaArchivio.h"
#include "DatiArchivio.h"
#include "Globali.h"
#include "Messaggio.h"
#include "Modulo1.h"
#include "RegistroAssetti.h"
#include "ReportAtleta.h"
#include "TestoPiano.h"
#include "ZoneTest.h"
#include "modLanguageSupport.h"

#include <QDir>
#include <QFile>

#include <array>
#include <optional>

#include <cstdio>
#include <string_view>

namespace {

constexpr const char* Uso =
    "usage: tovarin                            the program's window\n"
    "       tovarin --export-csv FILE          every athlete to a CSV file\n"
    "       tovarin --import-csv FILE          the athletes of a CSV file added, all of them or none\n"
    "       tovarin --import-access FILE       the athletes of the earlier program's archive added, all or none\n"
    "       tovarin --backup FILE              a backup of the archive\n"
    "       tovarin --report NAME FILE.pdf     the report of the first athlete of that name\n"
    "       tovarin --fit NAME --stack MM --reach MM --head-angle DEG\n"
    "               [--cap MM --clamp MM --spacers MM --stem MM --stem-angle DEG]\n"
    "                                          the fit coordinates of the first athlete of that name,\n"
    "                                          where the cockpit puts the bars, the closest cockpit\n"
    "       tovarin --zones NAME [--ftp W --lthr BPM --hrmax BPM --weight KG]\n"
    "                                          the zones of the athlete's latest test, or of the values\n"
    "                                          given (not stored)\n"
    "       tovarin --help                     this text\n"
    "Exit status: 0 done, 1 refused or failed (one line says why), 2 a command line it does not know.\n";

std::filesystem::path Percorso(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}
QString Nativo(const QString& file) { return QDir::toNativeSeparators(file); }

void Scrivi(std::FILE* dove, const QString& testo) {
    std::fprintf(dove, "%s\n", QString(testo).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8().constData());
}

int Fallito(const QString& cosa, const archivio::Errore& errore) {
    Scrivi(stderr, cosa + QLatin1Char(' ') + DescriviMotivo(errore) + QLatin1Char('.'));
    return 1;
}

// The language of the windows, for the messages.
void ImpostaLingua() {
    const auto impostazioni = modLanguageSupport::FileImpostazioni();
    std::error_code ec;
    std::string lingua;
    if (std::filesystem::exists(impostazioni, ec)) {
        try {
            lingua = modLanguageSupport::LeggiIni(impostazioni, "Language", "CurrentLanguage");
        } catch (const modLanguageSupport::ErroreIni&) {
        }
    }
    modLanguageSupport::LinguaCorrente = lingua.empty() ? "italian" : lingua;
}

// The program's archive, which the commands that read it need to exist.
bool ApriEsistente(archivio::Archivio& a, const QString& file) {
    std::error_code ec;
    if (!std::filesystem::exists(Percorso(file), ec)) {
        Scrivi(stderr, Messaggio("0289").arg(Nativo(file)));
        return false;
    }
    if (archivio::Esito e = a.Apri(Percorso(file)); !e) {
        Scrivi(stderr, TestoArchivioNonApertoOPrecedente(file, e.errore()));
        return false;
    }
    return true;
}

int Esporta(const QString& archivioFile, const QString& file) {
    archivio::Archivio a;
    if (!ApriEsistente(a, archivioFile)) return 1;
    std::size_t quanti = 0;
    if (archivio::Esito e = archivio::EsportaCsv(a, Percorso(file), FormatoCsvLocale(), quanti); !e)
        return Fallito(Messaggio("0258") + QLatin1Char(' ') + Nativo(file) + QStringLiteral(":"), e.errore());
    Scrivi(stdout, DescriviEsportazione(quanti, file));
    return 0;
}

int Importa(const QString& archivioFile, const QString& file) {
    archivio::Archivio a;
    if (archivio::Esito e = a.Apri(Percorso(archivioFile)); !e) {
        Scrivi(stderr, TestoArchivioNonApertoOPrecedente(archivioFile, e.errore()));
        return 1;
    }
    archivio::RiepilogoImportazione fatto;
    const archivio::Esito e = archivio::ImportaCsv(a, Percorso(file), fatto);
    // An archive made only for a file that adds nothing is not left behind.
    if (a.creato() && !fatto.scritto) {
        const auto creato = a.file();
        a.Chiudi();
        std::error_code ec;
        std::filesystem::remove(creato, ec);
    }
    if (!e) {
        if (fatto.erroreDelFile) return Fallito(Messaggio("0274").arg(Nativo(file)), e.errore());
        return Fallito(Messaggio("0276") + QLatin1Char(' ') + Messaggio("0088") + QStringLiteral(":"), e.errore());
    }
    if (fatto.rifiuto != archivio::RifiutoFile::Nessuno) {
        Scrivi(stderr, DescriviRifiutoFile(fatto, file));
        if (const QString precedente = SuggerimentoArchivioPrecedente(file); !precedente.isEmpty())
            Scrivi(stderr, precedente);
        return 1;
    }
    if (fatto.rifiutate) {
        for (const auto& r : fatto.elencate) Scrivi(stderr, Nativo(file) + QStringLiteral(": ") + DescriviRifiuto(r));
        if (fatto.rifiutate > fatto.elencate.size())
            Scrivi(stderr, DescriviAltreRifiutate(fatto.rifiutate - fatto.elencate.size()));
        Scrivi(stderr, Messaggio("0337"));
        return 1;
    }
    Scrivi(stdout, DescriviImportazione(fatto, file));
    return 0;
}

int ImportaAccess(const QString& archivioFile, const QString& file) {
    archivio::Archivio a;
    if (archivio::Esito e = a.Apri(Percorso(archivioFile)); !e) {
        Scrivi(stderr, TestoArchivioNonApertoOPrecedente(archivioFile, e.errore()));
        return 1;
    }
    archivio::RiepilogoAccess fatto;
    const archivio::Esito e = archivio::ImportaAccess(a, Percorso(file), fatto);
    // An archive made only for a file that adds nothing is not left behind.
    if (a.creato() && !fatto.scritto) {
        const auto creato = a.file();
        a.Chiudi();
        std::error_code ec;
        std::filesystem::remove(creato, ec);
    }
    if (!e)
        return Fallito(Messaggio("0622") + QStringLiteral(" ") + Messaggio("0088") + QStringLiteral(":"), e.errore());
    if (!fatto.lettura) {
        Scrivi(stderr, TestoAccessNonLetto(fatto.lettura, file));
        return 1;
    }
    Scrivi(stdout, DescriviImportazioneAccess(fatto, file));
    return 0;
}

int Copia(const QString& archivioFile, const QString& file) {
    archivio::Archivio a;
    if (!ApriEsistente(a, archivioFile)) return 1;
    std::int64_t righe = 0;
    if (archivio::Esito e = a.CopiaIn(Percorso(file), &righe); !e)
        return Fallito(Messaggio("0278") + QLatin1Char(' ') + Nativo(file) + QStringLiteral(":"), e.errore());
    Scrivi(stdout, DescriviCopia(righe, file));
    return 0;
}

// The first athlete of that name: its row id, or none (said why).
std::optional<std::int64_t> TrovaAtleta(const archivio::Archivio& a, const QString& nome) {
    std::vector<std::int64_t> id;
    std::vector<std::string> nomi;
    if (archivio::Esito e = a.ElencaRighe(id, nomi); !e) {
        Fallito(Messaggio("0284"), e.errore());
        return std::nullopt;
    }
    const std::string cercato = nome.toStdString();
    for (std::size_t i = 0; i < nomi.size(); ++i)
        if (nomi[i] == cercato) return id[i];
    Scrivi(stderr, Messaggio("0287").arg(nome));
    return std::nullopt;
}

int Report(const QString& archivioFile, const QString& nome, const QString& file) {
    archivio::Archivio a;
    if (!ApriEsistente(a, archivioFile)) return 1;
    const auto id = TrovaAtleta(a, nome);
    if (!id) return 1;
    {
        archivio::Riga riga;
        if (archivio::Esito e = a.LeggiRiga(*id, riga); !e) return Fallito(Messaggio("0284"), e.errore());
        std::vector<archivio::Assetto> assetti;
        if (archivio::Esito e = a.LeggiAssetti(*id, assetti); !e) return Fallito(Messaggio("0284"), e.errore());
        std::vector<archivio::TestAtleta> test;
        if (archivio::Esito e = a.LeggiTest(*id, test); !e) return Fallito(Messaggio("0284"), e.errore());
        QString errore;
        if (!ScriviReportPdf(riga, file, &errore, assetti, test)) {
            Scrivi(stderr, Messaggio("0284") + QLatin1Char(' ') + Nativo(file) + QStringLiteral(": ") + errore);
            return 1;
        }
        Scrivi(stdout, Messaggio("0288").arg(nome, Nativo(file)));
        return 0;
    }
}

// An option of a verb that takes a number: its name, and the number given
// (its text, with a full stop for the decimal).
struct OpzioneNumero {
    const char* nome;
    std::optional<std::string> testo = std::nullopt;
};

// The options after the verb's name, each once and with its number (`positivi`:
// greater than 0). 0, or 2 for a command line it does not know, said why.
template <std::size_t N>
int LeggiOpzioni(const QStringList& argomenti, std::array<OpzioneNumero, N>& opzioni, bool positivi) {
    for (qsizetype i = 2; i < argomenti.size(); i += 2) {
        OpzioneNumero* trovata = nullptr;
        for (OpzioneNumero& o : opzioni)
            if (argomenti[i] == QLatin1String(o.nome)) trovata = &o;
        if (!trovata || trovata->testo || i + 1 >= argomenti.size()) {
            std::fputs(Uso, stderr);
            return 2;
        }
        const std::string testo = argomenti[i + 1].toStdString();
        const auto valore = Modulo1::TestoNumerico(testo) ? Modulo1::CentroRisultato(testo) : std::nullopt;
        if (!valore || (positivi && *valore <= 0)) {
            Scrivi(stderr, Messaggio("0374").arg(argomenti[i], argomenti[i + 1]));
            return 2;
        }
        trovata->testo = Modulo1::NormalizzaDecimali(testo);
    }
    return 0;
}

// --fit: the athlete's fit coordinates, where the given cockpit puts the bars
// and the closest cockpit on the frame given.
int AssettoSulTelaio(const QString& archivioFile, const QStringList& argomenti) {
    std::array<OpzioneNumero, 8> opzioni{{{"--stack"},
                                          {"--reach"},
                                          {"--head-angle"},
                                          {"--cap"},
                                          {"--clamp"},
                                          {"--spacers"},
                                          {"--stem"},
                                          {"--stem-angle"}}};
    if (const int uscita = LeggiOpzioni(argomenti, opzioni, false)) return uscita;
    Modulo1::Telaio telaio;
    const std::array<double Modulo1::Telaio::*, 8> campi{
        &Modulo1::Telaio::stack,       &Modulo1::Telaio::reach,        &Modulo1::Telaio::angoloSterzo,
        &Modulo1::Telaio::cappellotto, &Modulo1::Telaio::morsetto,     &Modulo1::Telaio::spessori,
        &Modulo1::Telaio::attacco,     &Modulo1::Telaio::angoloAttacco};
    for (std::size_t k = 0; k < opzioni.size(); ++k)
        if (opzioni[k].testo) telaio.*campi[k] = *Modulo1::CentroRisultato(*opzioni[k].testo);
    if (!opzioni[0].testo || !opzioni[1].testo || !opzioni[2].testo) {
        std::fputs(Uso, stderr);
        return 2;
    }
    if (!Modulo1::TelaioValido(telaio)) {
        Scrivi(stderr, Messaggio("0378"));
        return 1;
    }

    archivio::Archivio a;
    if (!ApriEsistente(a, archivioFile)) return 1;
    const auto id = TrovaAtleta(a, argomenti[1]);
    if (!id) return 1;
    archivio::Riga riga;
    if (archivio::Esito e = a.LeggiRiga(*id, riga); !e) return Fallito(Messaggio("0087"), e.errore());
    const archivio::Assetto oggi = registro::AssettoDaRiga(*id, riga, {});
    const auto fit = registro::CoordinateDellAssetto(oggi);
    const auto set = registro::CoordinateDelSet(oggi);
    const std::array<const char*, 3> punti{"0358", "0359", "0360"};
    const std::array<std::optional<Modulo1::Punto>, 3> daFit{fit.sella, fit.punta, fit.manubrio};
    const std::array<std::optional<Modulo1::Punto>, 3> daSet{set.sella, set.punta, set.manubrio};
    for (std::size_t i = 0; i < 3; ++i)
        Scrivi(stdout, Messaggio("0373").arg(Messaggio(punti[i]), Messaggio("0361"), registro::TestoPunto(daFit[i])));
    for (std::size_t i = 0; i < 3; ++i)
        if (daSet[i])
            Scrivi(stdout,
                   Messaggio("0373").arg(Messaggio(punti[i]), Messaggio("0362"), registro::TestoPunto(daSet[i])));
    for (const QString& r : registro::RigheTelaio(telaio, opzioni[6].testo.has_value(), fit.manubrio))
        Scrivi(stdout, r);
    return 0;
}

// --zones: the maximum heart rate in use, Friel's and Coggan's zones and the
// watts per kilogram, of the athlete's latest test or of the values given.
int Zone(const QString& archivioFile, const QStringList& argomenti) {
    std::array<OpzioneNumero, 4> opzioni{{{"--ftp"}, {"--lthr"}, {"--hrmax"}, {"--weight"}}};
    if (const int uscita = LeggiOpzioni(argomenti, opzioni, true)) return uscita;
    archivio::TestAtleta dato;
    const std::array<std::string archivio::TestAtleta::*, 4> campi{
        &archivio::TestAtleta::ftp, &archivio::TestAtleta::lthr, &archivio::TestAtleta::fcmax,
        &archivio::TestAtleta::peso};
    for (std::size_t k = 0; k < opzioni.size(); ++k)
        if (opzioni[k].testo) dato.*campi[k] = *opzioni[k].testo;
    // The weight alone changes nothing but the latest test's weight.
    const bool conValori = opzioni[0].testo || opzioni[1].testo || opzioni[2].testo;

    archivio::Archivio a;
    if (!ApriEsistente(a, archivioFile)) return 1;
    const auto id = TrovaAtleta(a, argomenti[1]);
    if (!id) return 1;
    archivio::Riga riga;
    if (archivio::Esito e = a.LeggiRiga(*id, riga); !e) return Fallito(Messaggio("0087"), e.errore());
    archivio::TestAtleta test = dato;
    if (!conValori) {
        std::vector<archivio::TestAtleta> tutti;
        if (archivio::Esito e = a.LeggiTest(*id, tutti); !e) return Fallito(Messaggio("0087"), e.errore());
        if (tutti.empty()) {
            Scrivi(stderr, Messaggio("0400").arg(argomenti[1]));
            return 1;
        }
        test = tutti.front();
        if (opzioni[3].testo) test.peso = dato.peso;
    }
    if (test.peso.empty()) test.peso = riga[*archivio::IndiceColonna("peso")];

    const auto valore = [](const std::string& t) { return Modulo1::CentroRisultato(t).value_or(0); };
    // The maximum in use: measured, or estimated from the age as the sheet does.
    Modulo1::ValoriCondizione valori;
    Modulo1::CalcolaEta(riga[*archivio::IndiceColonna("datanascita")], valori);
    valori.FcMaxMisurata = valore(test.fcmax);
    valori.PulsazioniRiposo = valore(riga[*archivio::IndiceColonna("pulsazioniriposo")]);
    double fcMax = 0;
    Modulo1::CinqueTesti cooper, karvonen, kcalCooper, kcalKarvonen;
    Modulo1::CalcolaZoneCardiache(valori, fcMax, 0, cooper, karvonen, riga[*archivio::IndiceColonna("sesso")],
                                  valori.EtaAnni, {}, kcalCooper, kcalKarvonen);
    const QString massima = QString::fromStdString(Modulo1::TestoPiano(fcMax)).trimmed();
    if (valori.FcMaxMisurata > 0)
        Scrivi(stdout, Messaggio("0379").arg(massima, QString::fromStdString(test.data.empty() ? "-" : test.data)));
    else
        Scrivi(stdout, Messaggio("0380").arg(massima));

    const auto zone = [](const std::vector<Modulo1::Zona>& tabella, const char* formato,
                         const std::array<const char*, 7>& nomi) {
        for (std::size_t i = 0; i < tabella.size() && i < nomi.size(); ++i)
            Scrivi(stdout, Messaggio(formato).arg(QString::fromStdString(tabella[i].nome), Messaggio(nomi[i]),
                                                  QString::fromStdString(Modulo1::TestoZona(tabella[i]))));
    };
    const auto friel = Modulo1::ZoneFriel(valore(test.lthr));
    const auto coggan = Modulo1::ZoneCoggan(valore(test.ftp));
    if (!friel.empty()) {
        Scrivi(stdout, Messaggio("0381").arg(QString::fromStdString(test.lthr)));
        zone(friel, "0383", {"0392", "0393", "0394", "0395", "0396", "0397", "0398"});
    }
    if (!coggan.empty()) {
        Scrivi(stdout, Messaggio("0382").arg(QString::fromStdString(test.ftp)));
        zone(coggan, "0384", {"0385", "0386", "0387", "0388", "0389", "0390", "0391"});
        if (const auto wkg = Modulo1::WattPerKg(valore(test.ftp), valore(test.peso)))
            Scrivi(stdout, Messaggio("0399").arg(QString::fromStdString(Modulo1::TestoWattPerKg(*wkg)),
                                                 QString::fromStdString(test.peso)));
    }
    if (friel.empty() && coggan.empty())
        Scrivi(stdout, Messaggio("0402").arg(QString::fromStdString(test.data.empty() ? "-" : test.data)));
    return 0;
}

}  // namespace

bool ComandoRichiesto(int argc, char** argv) {
    // Qt's own options (-platform, -style, ...) start the window as ever;
    // anything else is for the command line, which says what it does not
    // know rather than start a window that ignores it.
    if (argc < 2) return false;
    const std::string_view primo = argv[1];
    return primo.substr(0, 2) == "--" || primo.substr(0, 1) != "-" || primo == "-h";
}

int EseguiComando(const QStringList& argomenti) {
    ImpostaTestiIdentita();
    ImpostaLingua();
    // Said once, and on the standard error: what the command prints for a
    // script stays as it is.
    if (const QString lingua = TestoProblemaLingua(); !lingua.isEmpty()) Scrivi(stderr, lingua);
    const QString archivioFile = PercorsoArchivio.isEmpty() ? PercorsoArchivioPredefinito() : PercorsoArchivio;
    const QString comando = argomenti.value(0);
    if (comando == QLatin1String("--export-csv") && argomenti.size() == 2) return Esporta(archivioFile, argomenti[1]);
    if (comando == QLatin1String("--import-csv") && argomenti.size() == 2) return Importa(archivioFile, argomenti[1]);
    if (comando == QLatin1String("--import-access") && argomenti.size() == 2)
        return ImportaAccess(archivioFile, argomenti[1]);
    if (comando == QLatin1String("--backup") && argomenti.size() == 2) return Copia(archivioFile, argomenti[1]);
    if (comando == QLatin1String("--report") && argomenti.size() == 3)
        return Report(archivioFile, argomenti[1], argomenti[2]);
    if (comando == QLatin1String("--fit") && argomenti.size() >= 2) return AssettoSulTelaio(archivioFile, argomenti);
    if (comando == QLatin1String("--zones") && argomenti.size() >= 2) return Zone(archivioFile, argomenti);
    const bool aiuto = argomenti.size() == 1 && (comando == QLatin1String("--help") || comando == QLatin1String("-h"));
    std::fputs(Uso, aiuto ? stdout : stderr);
    return aiuto ? 0 : 2;
}
