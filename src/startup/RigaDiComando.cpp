#include "RigaDiComando.h"

#include "ArchivioCsv.h"
#include "ArchivioPrecedente.h"
#include "AtletaCorrente.h"
#include "Avvio.h"
#include "AvvisiArchivio.h"
#include "CopiaArchivio.h"
#include "DatiArchivio.h"
#include "Globali.h"
#include "IdMessaggi.h"
#include "IdMessaggiArchivio.h"
#include "IdMessaggiDati.h"
#include "IdMessaggiRigaDiComando.h"
#include "Messaggio.h"
#include "Modulo1.h"
#include "Percorso.h"
#include "RegistroAssetti.h"
#include "ReportAtleta.h"
#include "RigaDiComandoChiave.h"
#include "StampaFinestra.h"
#include "TestoPiano.h"
#include "ZoneTest.h"
#include "modLanguageSupport.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <optional>

#include <cstdio>
#include <string_view>

namespace {

// The usage, in the language of the windows: each verb with what it does,
// the descriptions in one column.
QString TestoUso() {
    struct Voce {
        QString comando, seguito;  // the command, and its options' second line
        msg::Id descrizione;
    };
    const QString file = Messaggio(msg::SegnapostoFile), nome = Messaggio(msg::SegnapostoNome);
    const QString mm = QStringLiteral("MM"), gradi = Messaggio(msg::SegnapostoGradi);
    const std::array<Voce, 12> voci{{
        {QString(), QString(), msg::UsoFinestra},
        {QStringLiteral("--export-csv ") + file, QString(), msg::UsoEsportaCsv},
        {QStringLiteral("--import-csv ") + file, QString(), msg::UsoImportaCsv},
        {QStringLiteral("--import-access ") + file, QString(), msg::UsoImportaAccess},
        {QStringLiteral("--backup ") + file, QString(), msg::UsoCopia},
        {QStringLiteral("--report %1 %2.pdf").arg(nome, file), QString(), msg::UsoReport},
        {QStringLiteral("--fit %1 --stack %2 --reach %2 --head-angle %3").arg(nome, mm, gradi),
         QStringLiteral("[--cap %1 --clamp %1 --spacers %1 --stem %1 --stem-angle %2]").arg(mm, gradi),
         msg::UsoAssetto},
        {QStringLiteral("--zones %1 [--ftp W --lthr BPM --hrmax BPM --weight KG]").arg(nome), QString(), msg::UsoZone},
        {QStringLiteral("--protect [--new-passphrase-file ") + file + QLatin1Char(']'), QString(), msg::UsoProteggi},
        {QStringLiteral("--unprotect"), QString(), msg::UsoSproteggi},
        {QStringLiteral("... --passphrase-file ") + file, QString(), msg::UsoFileFrase},
        {QStringLiteral("--help"), QString(), msg::UsoAiuto},
    }};
    const QString uso = Messaggio(msg::Uso);
    const QString rientro(uso.size() + 1, QLatin1Char(' '));
    constexpr qsizetype Colonna = 42, Larghezza = 100;
    // A description wrapped at word ends into the column.
    const auto descrizione = [](const QString& testo) {
        QStringList righe{QString()};
        for (const QString& parola : testo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!righe.last().isEmpty() && righe.last().size() + 1 + parola.size() > Larghezza - Colonna)
                righe.append(QString());
            if (!righe.last().isEmpty()) righe.last() += QLatin1Char(' ');
            righe.last() += parola;
        }
        return righe;
    };
    QString testo;
    bool prima = true;
    for (const Voce& v : voci) {
        QString riga = (prima ? uso + QLatin1Char(' ') : rientro) + QStringLiteral("tovarin");
        prima = false;
        if (!v.comando.isEmpty()) riga += QLatin1Char(' ') + v.comando;
        const QStringList righe = descrizione(Messaggio(v.descrizione));
        if (!v.seguito.isEmpty()) {
            testo += riga + QLatin1Char('\n');
            riga = rientro + QStringLiteral("        ") + v.seguito;
        }
        qsizetype i = 0;
        if (riga.size() < Colonna) {
            testo += riga.leftJustified(Colonna) + righe.value(0) + QLatin1Char('\n');
            i = 1;
        } else {
            testo += riga + QLatin1Char('\n');
        }
        for (; i < righe.size(); ++i) testo += QString(Colonna, QLatin1Char(' ')) + righe[i] + QLatin1Char('\n');
    }
    return testo + Messaggio(msg::StatiUscita) + QLatin1Char('\n');
}

void ScriviUso(std::FILE* dove) { std::fputs(TestoUso().toUtf8().constData(), dove); }

std::filesystem::path Percorso(const QString& file) { return PercorsoDa(file); }
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
        Scrivi(stderr, Messaggio(msg::ArchivioInesistente).arg(Nativo(file)));
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
        return Fallito(Messaggio(msg::EsportazioneFallita) + QLatin1Char(' ') + Nativo(file) + QStringLiteral(":"),
                       e.errore());
    Scrivi(stdout, DescriviEsportazione(quanti, file));
    if (a.protetto()) Scrivi(stderr, AvvisoCsvNonCifrato());
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
        if (fatto.erroreDelFile) return Fallito(Messaggio(msg::FileNonLetto).arg(Nativo(file)), e.errore());
        return Fallito(
            DescriviImportazioneFallita(file) + QLatin1Char(' ') + Messaggio(msg::Motivo) + QStringLiteral(":"),
            e.errore());
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
        Scrivi(stderr, Messaggio(msg::TuttoONiente));
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
        return Fallito(
            Messaggio(msg::PrecedentiNonAggiunti) + QStringLiteral(" ") + Messaggio(msg::Motivo) + QStringLiteral(":"),
            e.errore());
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
        return Fallito(Messaggio(msg::CopiaNonSalvata) + QLatin1Char(' ') + Nativo(file) + QStringLiteral(":"),
                       e.errore());
    Scrivi(stdout, DescriviCopia(righe, file));
    return 0;
}

// The first athlete of that name: its row id, or none (said why).
std::optional<std::int64_t> TrovaAtleta(const archivio::Archivio& a, const QString& nome) {
    std::vector<std::int64_t> id;
    std::vector<std::string> nomi;
    if (archivio::Esito e = a.ElencaRighe(id, nomi); !e) {
        Fallito(Messaggio(msg::ReportNonCreato), e.errore());
        return std::nullopt;
    }
    const std::string cercato = nome.toStdString();
    if (const auto trovato = std::find(nomi.begin(), nomi.end(), cercato); trovato != nomi.end())
        return id[static_cast<std::size_t>(trovato - nomi.begin())];
    Scrivi(stderr, Messaggio(msg::NessunAtletaDiNome).arg(nome));
    return std::nullopt;
}

int Report(const QString& archivioFile, const QString& nome, const QString& file) {
    archivio::Archivio a;
    if (!ApriEsistente(a, archivioFile)) return 1;
    const auto id = TrovaAtleta(a, nome);
    if (!id) return 1;
    {
        archivio::Riga riga;
        if (archivio::Esito e = a.LeggiRiga(*id, riga); !e) return Fallito(Messaggio(msg::ReportNonCreato), e.errore());
        std::vector<archivio::Assetto> assetti;
        if (archivio::Esito e = a.LeggiAssetti(*id, assetti); !e)
            return Fallito(Messaggio(msg::ReportNonCreato), e.errore());
        std::vector<archivio::TestAtleta> test;
        if (archivio::Esito e = a.LeggiTest(*id, test); !e) return Fallito(Messaggio(msg::ReportNonCreato), e.errore());
        // A PDF file ends so: ".pdf" is added to a name that does not.
        const QString pdf = ConEstensionePdf(file);
        QString errore;
        if (!ScriviReportPdf(riga, pdf, &errore, assetti, test)) {
            Scrivi(stderr,
                   Messaggio(msg::ReportNonCreato) + QLatin1Char(' ') + Nativo(pdf) + QStringLiteral(": ") + errore);
            return 1;
        }
        Scrivi(stdout, Messaggio(msg::ReportSalvato).arg(nome, Nativo(pdf)));
        return 0;
    }
}

// An option of a verb that takes a number: its English name and the field of
// the verb's values it fills (a frame's field, a test's value). One more
// option is one more entry in its verb's list.
template <typename Campo>
struct OpzioneNumero {
    const char* nome;
    Campo campo;
};

// --fit's options: the fields of a fitting's frame.
using CampoTelaio = archivio::CampoTelaio;
constexpr auto OpzioniTelaio =
    std::to_array<OpzioneNumero<CampoTelaio>>({{"--stack", CampoTelaio::Stack},
                                               {"--reach", CampoTelaio::Reach},
                                               {"--head-angle", CampoTelaio::AngoloSterzo},
                                               {"--cap", CampoTelaio::Cappellotto},
                                               {"--clamp", CampoTelaio::Morsetto},
                                               {"--spacers", CampoTelaio::Spessori},
                                               {"--stem", CampoTelaio::Attacco},
                                               {"--stem-angle", CampoTelaio::AngoloAttacco}});

// --zones's options: the values of a test.
using CampoTest = std::string archivio::TestAtleta::*;
const auto OpzioniTest = std::to_array<OpzioneNumero<CampoTest>>({{"--ftp", &archivio::TestAtleta::ftp},
                                                                  {"--lthr", &archivio::TestAtleta::lthr},
                                                                  {"--hrmax", &archivio::TestAtleta::fcmax},
                                                                  {"--weight", &archivio::TestAtleta::peso}});

std::string& TestoDi(archivio::Assetto& a, CampoTelaio campo) { return a.telaio[campo]; }
std::string& TestoDi(archivio::TestAtleta& t, CampoTest campo) { return t.*campo; }

// The name of the option that fills a field.
template <typename Campo, std::size_t N>
QString NomeOpzione(const std::array<OpzioneNumero<Campo>, N>& opzioni, Campo campo) {
    for (const auto& o : opzioni)
        if (o.campo == campo) return QLatin1String(o.nome);
    return {};
}

// The options after the verb's name, each once and with its number, each
// number's text (with a full stop for the decimal) put in its field of
// `dato`, whose fields start empty; whether the number is one the value can
// have is judged afterwards, with its range. 0, or 2 for a command line it
// does not know, said why.
template <typename Dato, typename Campo, std::size_t N>
int LeggiOpzioni(const QStringList& argomenti, const std::array<OpzioneNumero<Campo>, N>& opzioni, Dato& dato) {
    for (qsizetype i = 2; i < argomenti.size(); i += 2) {
        const OpzioneNumero<Campo>* trovata = nullptr;
        for (const auto& o : opzioni)
            if (argomenti[i] == QLatin1String(o.nome)) trovata = &o;
        // An option given twice is a command line it does not know.
        if (!trovata || !TestoDi(dato, trovata->campo).empty() || i + 1 >= argomenti.size()) {
            ScriviUso(stderr);
            return 2;
        }
        const std::string testo = argomenti[i + 1].toStdString();
        const auto valore = Modulo1::TestoNumerico(testo) ? Modulo1::CentroRisultato(testo) : std::nullopt;
        if (!valore) {
            Scrivi(stderr, Messaggio(msg::NumeroNonValido).arg(argomenti[i], argomenti[i + 1]));
            return 2;
        }
        TestoDi(dato, trovata->campo) = Modulo1::NormalizzaDecimali(testo);
    }
    return 0;
}

// --fit: the athlete's fit coordinates, where the given cockpit puts the bars
// and the closest cockpit on the frame given.
int AssettoSulTelaio(const QString& archivioFile, const QStringList& argomenti) {
    archivio::Assetto dato;
    if (const int uscita = LeggiOpzioni(argomenti, OpzioniTelaio, dato)) return uscita;
    for (CampoTelaio c : {CampoTelaio::Stack, CampoTelaio::Reach, CampoTelaio::AngoloSterzo})
        if (dato.telaio[c].empty()) {
            ScriviUso(stderr);
            return 2;
        }
    // The spacers and the stem's angle are those of a stem: without one they
    // would be dropped unsaid.
    for (CampoTelaio c : {CampoTelaio::Spessori, CampoTelaio::AngoloAttacco})
        if (!dato.telaio[c].empty() && !registro::ConAttacco(dato)) {
            Scrivi(stderr, Messaggio(msg::SoloConAttacco).arg(NomeOpzione(OpzioniTelaio, c)));
            return 2;
        }
    // Each value against what a frame can be, as the record dialog judges it.
    if (const auto fuori = Modulo1::GiudicaTelaio(registro::ValoriTelaio(dato))) {
        Scrivi(stderr, registro::TestoValoreFuori(*fuori, false));
        if (fuori->giudizio == Modulo1::Giudizio::Impossibile) return 1;
    }
    if (!registro::TelaioDi(dato)) {
        Scrivi(stderr, Messaggio(msg::TelaioImpossibile));
        return 1;
    }

    archivio::Archivio a;
    if (!ApriEsistente(a, archivioFile)) return 1;
    const auto id = TrovaAtleta(a, argomenti[1]);
    if (!id) return 1;
    archivio::Riga riga;
    if (archivio::Esito e = a.LeggiRiga(*id, riga); !e) return Fallito(Messaggio(msg::AtletaNonLetto), e.errore());
    archivio::Assetto oggi = registro::AssettoDaRiga(*id, riga, {});
    oggi.telaio = dato.telaio;
    const auto coordinate = registro::RigheCoordinate(oggi);
    for (const registro::RigaCoordinate& r : coordinate)
        Scrivi(stdout, Messaggio(msg::PuntoConNome).arg(r.punto, Messaggio(msg::Assetto), r.testoAssetto));
    for (const registro::RigaCoordinate& r : coordinate)
        if (r.proprio)
            Scrivi(stdout, Messaggio(msg::PuntoConNome).arg(r.punto, Messaggio(msg::Proprio), r.testoProprio));
    for (const QString& r : registro::RigheTelaioDi(oggi)) Scrivi(stdout, r);
    return 0;
}

// --zones: the maximum heart rate in use, Friel's and Coggan's zones and the
// watts per kilogram, of the athlete's latest test or of the values given.
int Zone(const QString& archivioFile, const QStringList& argomenti) {
    archivio::TestAtleta dato;
    if (const int uscita = LeggiOpzioni(argomenti, OpzioniTest, dato)) return uscita;
    // The weight alone changes nothing but the latest test's weight.
    const bool conValori = !dato.ftp.empty() || !dato.lthr.empty() || !dato.fcmax.empty();

    // Values given are judged as the tests window judges them: one that no
    // athlete has is refused, an unusual one taken with a note.
    if (conValori || !dato.peso.empty()) {
        using registro::ValoreScritto;
        if (const auto fuori = Modulo1::GiudicaTest(ValoreScritto(dato.fcmax), ValoreScritto(dato.lthr),
                                                    ValoreScritto(dato.ftp), ValoreScritto(dato.peso))) {
            Scrivi(stderr, registro::TestoValoreFuori(*fuori, false));
            if (fuori->giudizio == Modulo1::Giudizio::Impossibile) return 1;
        }
    }

    archivio::Archivio a;
    if (!ApriEsistente(a, archivioFile)) return 1;
    const auto id = TrovaAtleta(a, argomenti[1]);
    if (!id) return 1;
    archivio::Riga riga;
    if (archivio::Esito e = a.LeggiRiga(*id, riga); !e) return Fallito(Messaggio(msg::AtletaNonLetto), e.errore());
    archivio::TestAtleta test = dato;
    std::vector<archivio::TestAtleta> tutti;
    if (!conValori) {
        if (archivio::Esito e = a.LeggiTest(*id, tutti); !e) return Fallito(Messaggio(msg::AtletaNonLetto), e.errore());
        // The latest test, as the condition sheet and the report take it.
        const registro::TestInUso uso = registro::UltimoTest(tutti);
        if (!uso.test) {
            Scrivi(stderr, Messaggio(msg::NessunTest).arg(argomenti[1]));
            return 1;
        }
        test = *uso.test;
        if (!dato.peso.empty()) test.peso = dato.peso;
    }

    // A value of a recorded test that no athlete has (recorded before it was
    // checked) is said so and gives no zones.
    using Modulo1::Grandezza;
    int uscita = 0;
    const auto ammesso = [&](Grandezza g, const std::string& testo) {
        const auto v = registro::ValoreScritto(testo);
        if (v && Modulo1::Giudica(g, *v) == Modulo1::Giudizio::Impossibile) {
            Scrivi(stderr, registro::TestoValoreFuori({g, *v, Modulo1::Giudizio::Impossibile}));
            uscita = 1;
            return 0.0;
        }
        return v.value_or(0);
    };

    // The maximum in use: given, measured by the latest test, or estimated
    // from the age as the sheet does.
    Modulo1::ValoriCondizione valori;
    Modulo1::CalcolaEta(riga[*archivio::IndiceColonna("datanascita")], valori);
    valori.FcMaxMisurata = ammesso(Grandezza::FcMax, test.fcmax);
    valori.PulsazioniRiposo = Modulo1::CentroRisultato(riga[*archivio::IndiceColonna("pulsazioniriposo")]).value_or(0);
    double fcMax = 0;
    Modulo1::CinqueTesti cooper, karvonen, kcalCooper, kcalKarvonen;
    Modulo1::CalcolaZoneCardiache(valori, fcMax, 0, cooper, karvonen, riga[*archivio::IndiceColonna("sesso")],
                                  valori.EtaAnni, {}, kcalCooper, kcalKarvonen);
    const QString massima = QString::fromStdString(Modulo1::TestoPiano(fcMax)).trimmed();
    if (valori.FcMaxMisurata > 0 && conValori)
        Scrivi(stdout, Messaggio(msg::FcMaxData).arg(massima));
    else if (valori.FcMaxMisurata > 0)
        Scrivi(stdout, Messaggio(msg::FcMaxMisurata).arg(massima, QString::fromStdString(test.data)));
    else
        Scrivi(stdout, Messaggio(msg::FcMaxStimata).arg(massima));

    const auto zone = [](const std::vector<Modulo1::Zona>& tabella, msg::Id formato,
                         const std::array<msg::Id, 7>& nomi) {
        for (std::size_t i = 0; i < tabella.size() && i < nomi.size(); ++i)
            Scrivi(stdout, Messaggio(formato).arg(QString::fromStdString(tabella[i].nome), Messaggio(nomi[i]),
                                                  QString::fromStdString(Modulo1::TestoZona(tabella[i]))));
    };
    // The values no athlete has said, in this order; the zones without them.
    ammesso(Grandezza::Lthr, test.lthr);
    ammesso(Grandezza::Ftp, test.ftp);
    const registro::ZoneDelTest z = registro::ZoneDi(test, riga[*archivio::IndiceColonna("peso")]);
    if (!z.friel.empty()) {
        Scrivi(stdout, Messaggio(msg::TitoloZoneFriel).arg(QString::fromStdString(test.lthr)));
        zone(z.friel, msg::ZonaFriel, msg::NomiZoneFriel);
    }
    if (!z.coggan.empty()) {
        Scrivi(stdout, Messaggio(msg::TitoloZoneCoggan).arg(QString::fromStdString(test.ftp)));
        zone(z.coggan, msg::ZonaCoggan, msg::NomiZoneCoggan);
        if (z.wattPerKg)
            Scrivi(stdout, Messaggio(msg::WattPerKg)
                               .arg(QString::fromStdString(Modulo1::TestoWattPerKg(*z.wattPerKg)),
                                    QString::fromStdString(z.peso)));
    }
    // A recorded test without a threshold says so; values given say only
    // what was given.
    if (z.friel.empty() && z.coggan.empty() && !conValori && test.lthr.empty() && test.ftp.empty())
        Scrivi(stdout, Messaggio(msg::TestSenzaSoglia).arg(QString::fromStdString(test.data)));
    return uscita;
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

int EseguiComando(const QStringList& dati) {
    ImpostaTestiIdentita();
    ImpostaLingua();
    // Said once, and on the standard error: what the command prints for a
    // script stays as it is.
    if (const QString lingua = TestoProblemaLingua(); !lingua.isEmpty()) Scrivi(stderr, lingua);
    const QString archivioFile = PercorsoArchivio.isEmpty() ? PercorsoArchivioPredefinito() : PercorsoArchivio;
    // The archive's passphrase, read when a verb opens an archive locked by one.
    QStringList argomenti = dati;
    OpzioniPassphrase passphrase;
    std::optional<int> uscita;
    if (EstraiOpzioniPassphrase(argomenti, passphrase)) uscita = 2;
    if (!uscita) uscita = EseguiComandoPassphrase(argomenti, archivioFile, passphrase);
    if (uscita == 2) ScriviUso(stderr);
    if (uscita) return *uscita;
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
    ScriviUso(aiuto ? stdout : stderr);
    return aiuto ? 0 : 2;
}
