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
#include "RigaDiComandoChiave.h"
#include "StampaFinestra.h"
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

// The usage, in the language of the windows: each verb with what it does,
// the descriptions in one column.
QString TestoUso() {
    struct Voce {
        QString comando, seguito;  // the command, and its options' second line
        const char* descrizione;
    };
    const QString file = Messaggio("0566"), nome = Messaggio("0565");
    const QString mm = QStringLiteral("MM"), gradi = Messaggio("0567");
    const std::array<Voce, 12> voci{{
        {QString(), QString(), "0561"},
        {QStringLiteral("--export-csv ") + file, QString(), "0562"},
        {QStringLiteral("--import-csv ") + file, QString(), "0563"},
        {QStringLiteral("--import-access ") + file, QString(), "0632"},
        {QStringLiteral("--backup ") + file, QString(), "0564"},
        {QStringLiteral("--report %1 %2.pdf").arg(nome, file), QString(), "0568"},
        {QStringLiteral("--fit %1 --stack %2 --reach %2 --head-angle %3").arg(nome, mm, gradi),
         QStringLiteral("[--cap %1 --clamp %1 --spacers %1 --stem %1 --stem-angle %2]").arg(mm, gradi), "0569"},
        {QStringLiteral("--zones %1 [--ftp W --lthr BPM --hrmax BPM --weight KG]").arg(nome), QString(), "0570"},
        {QStringLiteral("--protect [--new-passphrase-file ") + file + QLatin1Char(']'), QString(), "0666"},
        {QStringLiteral("--unprotect"), QString(), "0667"},
        {QStringLiteral("... --passphrase-file ") + file, QString(), "0668"},
        {QStringLiteral("--help"), QString(), "0571"},
    }};
    const QString uso = Messaggio("0560");
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
    return testo + Messaggio("0572") + QLatin1Char('\n');
}

void ScriviUso(std::FILE* dove) { std::fputs(TestoUso().toUtf8().constData(), dove); }

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
        if (fatto.erroreDelFile) return Fallito(Messaggio("0274").arg(Nativo(file)), e.errore());
        return Fallito(DescriviImportazioneFallita(file) + QLatin1Char(' ') + Messaggio("0088") + QStringLiteral(":"),
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
        // A PDF file ends so: ".pdf" is added to a name that does not.
        const QString pdf = ConEstensionePdf(file);
        QString errore;
        if (!ScriviReportPdf(riga, pdf, &errore, assetti, test)) {
            Scrivi(stderr, Messaggio("0284") + QLatin1Char(' ') + Nativo(pdf) + QStringLiteral(": ") + errore);
            return 1;
        }
        Scrivi(stdout, Messaggio("0288").arg(nome, Nativo(pdf)));
        return 0;
    }
}

// An option of a verb that takes a number: its name, and the number given
// (its text, with a full stop for the decimal).
struct OpzioneNumero {
    const char* nome;
    std::optional<std::string> testo = std::nullopt;
};

// The options after the verb's name, each once and with its number; whether
// the number is one the value can have is judged afterwards, with its range.
// 0, or 2 for a command line it does not know, said why.
template <std::size_t N>
int LeggiOpzioni(const QStringList& argomenti, std::array<OpzioneNumero, N>& opzioni) {
    for (qsizetype i = 2; i < argomenti.size(); i += 2) {
        OpzioneNumero* trovata = nullptr;
        for (OpzioneNumero& o : opzioni)
            if (argomenti[i] == QLatin1String(o.nome)) trovata = &o;
        if (!trovata || trovata->testo || i + 1 >= argomenti.size()) {
            ScriviUso(stderr);
            return 2;
        }
        const std::string testo = argomenti[i + 1].toStdString();
        const auto valore = Modulo1::TestoNumerico(testo) ? Modulo1::CentroRisultato(testo) : std::nullopt;
        if (!valore) {
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
    if (const int uscita = LeggiOpzioni(argomenti, opzioni)) return uscita;
    Modulo1::Telaio telaio;
    const std::array<double Modulo1::Telaio::*, 8> campi{
        &Modulo1::Telaio::stack,       &Modulo1::Telaio::reach,        &Modulo1::Telaio::angoloSterzo,
        &Modulo1::Telaio::cappellotto, &Modulo1::Telaio::morsetto,     &Modulo1::Telaio::spessori,
        &Modulo1::Telaio::attacco,     &Modulo1::Telaio::angoloAttacco};
    for (std::size_t k = 0; k < opzioni.size(); ++k)
        if (opzioni[k].testo) telaio.*campi[k] = *Modulo1::CentroRisultato(*opzioni[k].testo);
    if (!opzioni[0].testo || !opzioni[1].testo || !opzioni[2].testo) {
        ScriviUso(stderr);
        return 2;
    }
    // The spacers and the stem's angle are those of a stem: without one they
    // would be dropped unsaid.
    for (std::size_t k : {std::size_t{5}, std::size_t{7}})
        if (opzioni[k].testo && !opzioni[6].testo) {
            Scrivi(stderr, Messaggio("0506").arg(QLatin1String(opzioni[k].nome)));
            return 2;
        }
    // Each value against what a frame can be, in the order of a fitting's
    // frame columns: stack, reach, head angle, cap, spacers, stem, its angle,
    // clamp.
    std::array<std::optional<double>, 8> valori;
    const std::array<std::size_t, 8> ordine{0, 1, 2, 3, 5, 6, 7, 4};
    for (std::size_t k = 0; k < ordine.size(); ++k)
        if (const auto& t = opzioni[ordine[k]].testo) valori[k] = Modulo1::CentroRisultato(*t);
    if (const auto fuori = Modulo1::GiudicaTelaio(valori)) {
        Scrivi(stderr, registro::TestoValoreFuori(*fuori, false));
        if (fuori->giudizio == Modulo1::Giudizio::Impossibile) return 1;
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
    if (const int uscita = LeggiOpzioni(argomenti, opzioni)) return uscita;
    archivio::TestAtleta dato;
    const std::array<std::string archivio::TestAtleta::*, 4> campi{
        &archivio::TestAtleta::ftp, &archivio::TestAtleta::lthr, &archivio::TestAtleta::fcmax,
        &archivio::TestAtleta::peso};
    for (std::size_t k = 0; k < opzioni.size(); ++k)
        if (opzioni[k].testo) dato.*campi[k] = *opzioni[k].testo;
    // The weight alone changes nothing but the latest test's weight.
    const bool conValori = opzioni[0].testo || opzioni[1].testo || opzioni[2].testo;

    // Values given are judged as the tests window judges them: one that no
    // athlete has is refused, an unusual one taken with a note.
    if (conValori || opzioni[3].testo) {
        const auto dati = [&](std::size_t k) {
            return opzioni[k].testo ? Modulo1::CentroRisultato(*opzioni[k].testo) : std::nullopt;
        };
        if (const auto fuori = Modulo1::GiudicaTest(dati(2), dati(1), dati(0), dati(3))) {
            Scrivi(stderr, registro::TestoValoreFuori(*fuori, false));
            if (fuori->giudizio == Modulo1::Giudizio::Impossibile) return 1;
        }
    }

    archivio::Archivio a;
    if (!ApriEsistente(a, archivioFile)) return 1;
    const auto id = TrovaAtleta(a, argomenti[1]);
    if (!id) return 1;
    archivio::Riga riga;
    if (archivio::Esito e = a.LeggiRiga(*id, riga); !e) return Fallito(Messaggio("0087"), e.errore());
    archivio::TestAtleta test = dato;
    std::vector<archivio::TestAtleta> tutti;
    if (!conValori) {
        if (archivio::Esito e = a.LeggiTest(*id, tutti); !e) return Fallito(Messaggio("0087"), e.errore());
        // The latest test, as the condition sheet and the report take it.
        const registro::TestInUso uso = registro::UltimoTest(tutti);
        if (!uso.test) {
            Scrivi(stderr, Messaggio("0400").arg(argomenti[1]));
            return 1;
        }
        test = *uso.test;
        if (opzioni[3].testo) test.peso = dato.peso;
    }
    if (test.peso.empty()) test.peso = riga[*archivio::IndiceColonna("peso")];

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
        Scrivi(stdout, Messaggio("0505").arg(massima));
    else if (valori.FcMaxMisurata > 0)
        Scrivi(stdout, Messaggio("0379").arg(massima, QString::fromStdString(test.data)));
    else
        Scrivi(stdout, Messaggio("0380").arg(massima));

    const auto zone = [](const std::vector<Modulo1::Zona>& tabella, const char* formato,
                         const std::array<const char*, 7>& nomi) {
        for (std::size_t i = 0; i < tabella.size() && i < nomi.size(); ++i)
            Scrivi(stdout, Messaggio(formato).arg(QString::fromStdString(tabella[i].nome), Messaggio(nomi[i]),
                                                  QString::fromStdString(Modulo1::TestoZona(tabella[i]))));
    };
    const double lthr = ammesso(Grandezza::Lthr, test.lthr), ftp = ammesso(Grandezza::Ftp, test.ftp);
    const auto friel = Modulo1::ZoneFriel(lthr);
    const auto coggan = Modulo1::ZoneCoggan(ftp);
    if (!friel.empty()) {
        Scrivi(stdout, Messaggio("0381").arg(QString::fromStdString(test.lthr)));
        zone(friel, "0383", {"0392", "0393", "0394", "0395", "0396", "0397", "0398"});
    }
    if (!coggan.empty()) {
        Scrivi(stdout, Messaggio("0382").arg(QString::fromStdString(test.ftp)));
        zone(coggan, "0384", {"0385", "0386", "0387", "0388", "0389", "0390", "0391"});
        if (const auto wkg = Modulo1::WattPerKg(ftp, registro::ValoreAmmesso(Grandezza::Peso, test.peso).value_or(0)))
            Scrivi(stdout, Messaggio("0399").arg(QString::fromStdString(Modulo1::TestoWattPerKg(*wkg)),
                                                 QString::fromStdString(test.peso)));
    }
    // A recorded test without a threshold says so; values given say only
    // what was given.
    if (friel.empty() && coggan.empty() && !conValori && test.lthr.empty() && test.ftp.empty())
        Scrivi(stdout, Messaggio("0402").arg(QString::fromStdString(test.data)));
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
