#include "ArchivioPrecedente.h"

#include "AvvisiArchivio.h"
#include "ConnessioneCondivisa.h"
#include "DatiArchivio.h"
#include "LegameArchivio.h"
#include "Messaggio.h"
#include "Percorso.h"

#include <QDate>
#include <QDir>
#include <QFile>

namespace {

QString Nativo(const QString& file) { return QDir::toNativeSeparators(file); }
QString Nativo(const std::filesystem::path& file) { return Nativo(NomeDi(file)); }
std::filesystem::path Percorso(const QString& file) { return PercorsoDa(file); }

QString Perche(const QString& motivo) {
    return QStringLiteral("\n\n") + Messaggio("0088") + QStringLiteral(": ") + motivo + QLatin1Char('.');
}

void Informa(QWidget* finestra, const QString& testo) {
    MostraMessaggio(finestra, testo, QMessageBox::Ok, QMessageBox::Information);
}

// "The file ... holds 12 athletes: Rossi, Bianchi and 10 more."
QString Contenuto(const archivio::AnteprimaAccess& anteprima, const QString& file, const char* uno, const char* piu) {
    return MessaggioNumero(anteprima.atleti, uno, piu)
        .arg(Nativo(file), QString::number(anteprima.atleti), NomiAnteprimaAccess(anteprima));
}

}  // namespace

QString DescriviRifiutoAccess(const archivio::EsitoAccess& esito, const QString& file) {
    using archivio::RifiutoAccess;
    const QString dettaglio = QString::fromStdString(esito.dettaglio);
    switch (esito.rifiuto) {
    case RifiutoAccess::NonAccess: return Messaggio("0608");
    case RifiutoAccess::Jet3: return Messaggio("0609");
    case RifiutoAccess::Accdb: return Messaggio("0610");
    case RifiutoAccess::SenzaTabella: return Messaggio("0611");
    case RifiutoAccess::ColonnaMancante: return Messaggio("0612").arg(dettaglio);
    case RifiutoAccess::TipoColonna: return Messaggio("0613").arg(dettaglio);
    case RifiutoAccess::Troncato: return Messaggio("0614");
    case RifiutoAccess::Danneggiato: return Messaggio("0615");
    case RifiutoAccess::Illeggibile:
        if (esito.errnoSistema)
            return DescriviMotivo(
                archivio::ConCartella(archivio::ErroreDiSistema(esito.errnoSistema, esito.dettaglio), Percorso(file)));
        return DescriviMotivo(archivio::Errore{archivio::Motivo::Altro, 0, 0, esito.dettaglio});
    case RifiutoAccess::Nessuno: break;
    }
    return {};
}

QString TestoAccessNonLetto(const archivio::EsitoAccess& esito, const QString& file) {
    return Messaggio("0607").arg(Nativo(file)) + Perche(DescriviRifiutoAccess(esito, file));
}

QString NomiAnteprimaAccess(const archivio::AnteprimaAccess& anteprima) {
    QStringList nomi;
    for (const std::string& nome : anteprima.primi)
        nomi << (nome.empty() ? Messaggio("0093") : QString::fromStdString(nome));
    QString testo = nomi.join(QStringLiteral(", "));
    if (anteprima.atleti > anteprima.primi.size())
        testo += QLatin1Char(' ') + Messaggio("0620").arg(anteprima.atleti - anteprima.primi.size());
    return testo;
}

QString TestoArchivioNonApertoOPrecedente(const QString& file, const archivio::Errore& errore) {
    QString testo = TestoArchivioNonAperto(file, errore);
    if (archivio::RiconosciAccess(Percorso(file)) != archivio::FormatoAccess::NonAccess)
        testo += QStringLiteral("\n\n") + Messaggio("0627").arg(Nativo(file));
    return testo;
}

QString SuggerimentoArchivioPrecedente(const QString& file) {
    if (archivio::RiconosciAccess(Percorso(file)) == archivio::FormatoAccess::NonAccess) return {};
    return Messaggio("0628").arg(Nativo(file));
}

QString DescriviImportazioneAccess(const archivio::RiepilogoAccess& fatto, const QString& file) {
    if (!fatto.scritto) {
        if (!fatto.giaPresenti) return Messaggio("0621").arg(Nativo(file));
        return MessaggioNumero(fatto.giaPresenti, "0320", "0302").arg(fatto.giaPresenti);
    }
    QString testo = MessaggioNumero(fatto.aggiunti, "0619", "0618").arg(QString::number(fatto.aggiunti), Nativo(file));
    if (fatto.giaPresenti)
        testo += QLatin1Char(' ') + MessaggioNumero(fatto.giaPresenti, "0315", "0314").arg(fatto.giaPresenti);
    return testo;
}

bool OffriConversioneArchivioPrecedente(QWidget* finestra, const QString& archivioFile) {
    const auto file = Percorso(archivioFile);
    if (archivio::RiconosciAccess(file) == archivio::FormatoAccess::NonAccess) return false;
    archivio::AnteprimaAccess anteprima;
    if (const archivio::EsitoAccess e = archivio::LeggiAnteprimaAccess(file, anteprima); !e) {
        MostraMessaggio(finestra, TestoAccessNonLetto(e, archivioFile) + QStringLiteral("\n\n") + Messaggio("0089"));
        return false;
    }
    const QString data = QDate::currentDate().toString(Qt::ISODate);
    const QString conservato = Nativo(archivio::NomeAccessConservato(file, data.toStdString()).filename());
    const QString contenuto = anteprima.atleti ? Contenuto(anteprima, archivioFile, "0603", "0602")
                                               : Messaggio("0629").arg(Nativo(archivioFile));
    if (!Chiedi(finestra, contenuto + QStringLiteral("\n\n") + Messaggio("0624").arg(conservato))) return false;

    // Nothing may hold the file while it is replaced.
    archivio::ChiudiConnessioneCondivisa();
    std::filesystem::path tenuto;
    archivio::RiepilogoAccess fatto;
    const archivio::Esito e = archivio::ConvertiAccess(file, data.toStdString(), tenuto, fatto);
    if (!e) {
        MostraMessaggio(finestra, Messaggio("0606").arg(Nativo(archivioFile)) + Perche(DescriviMotivo(e.errore())));
        return false;
    }
    if (!fatto.lettura) {
        MostraMessaggio(finestra, TestoAccessNonLetto(fatto.lettura, archivioFile) + QStringLiteral("\n\n") +
                                      Messaggio("0606").arg(Nativo(archivioFile)));
        return false;
    }
    Informa(finestra, MessaggioNumero(fatto.aggiunti, "0605", "0604")
                          .arg(QString::number(fatto.aggiunti), Nativo(archivioFile), Nativo(tenuto)));
    return true;
}

void ImportaArchivioPrecedenteDa(QWidget* finestra, LegameArchivio* legame, const QString& file) {
    if (!legame || !legame->ArchivioAperto()) {
        MostraMessaggio(finestra, TestoArchivioNonAperto(legame ? legame->FileArchivio() : QString(),
                                                         archivio::Errore{archivio::Motivo::Inesistente, 0, 0, {}}));
        return;
    }
    if (file.isEmpty() || !legame->ScriviModifiche()) return;
    // The preview compares the file with the archive as the window shows it.
    archivio::AnteprimaAccess anteprima;
    if (const archivio::EsitoAccess e =
            archivio::LeggiAnteprimaAccess(Percorso(file), anteprima, &legame->Connessione());
        !e) {
        MostraMessaggio(finestra, TestoAccessNonLetto(e, file));
        return;
    }
    if (anteprima.atleti == 0) {
        MostraMessaggio(finestra, Messaggio("0621").arg(Nativo(file)));
        return;
    }
    QString testo = Contenuto(anteprima, file, "0617", "0616");
    if (anteprima.giaPresenti)
        testo += QLatin1Char(' ') + MessaggioNumero(anteprima.giaPresenti, "0631", "0630").arg(anteprima.giaPresenti);
    const std::size_t nuovi = anteprima.atleti - anteprima.giaPresenti;
    if (nuovi == 0) {
        MostraMessaggio(finestra, MessaggioNumero(anteprima.atleti, "0320", "0302").arg(anteprima.atleti));
        return;
    }
    if (!Chiedi(finestra, testo + QStringLiteral("\n\n") + MessaggioNumero(nuovi, "0626", "0625"))) return;
    archivio::RiepilogoAccess fatto;
    const archivio::Esito e = legame->AggiungiAtleti(
        [&](archivio::Archivio& a) { return archivio::ImportaAccess(a, Percorso(file), fatto); });
    if (!e) {
        MostraMessaggio(finestra, Messaggio("0622") + QLatin1Char('\n') + Nativo(legame->FileArchivio()) +
                                      Perche(DescriviMotivo(e.errore())));
        return;
    }
    if (!fatto.lettura) {
        MostraMessaggio(finestra, TestoAccessNonLetto(fatto.lettura, file));
        return;
    }
    Informa(finestra, DescriviImportazioneAccess(fatto, file));
}

void ImportaArchivioPrecedente(QWidget* finestra, LegameArchivio* legame) {
    if (!legame || !legame->ArchivioAperto()) {
        ImportaArchivioPrecedenteDa(finestra, legame, {});
        return;
    }
    const QString file =
        ChiediFileDaAprire(finestra, Messaggio("0600").remove(QStringLiteral("...")), Messaggio("0601"));
    if (file.isEmpty()) return;
    ImportaArchivioPrecedenteDa(finestra, legame, file);
}

bool OffertoComeArchivioPrecedente(QWidget* finestra, LegameArchivio* legame, const QString& file) {
    if (file.isEmpty() || archivio::RiconosciAccess(Percorso(file)) == archivio::FormatoAccess::NonAccess) return false;
    if (Chiedi(finestra, Messaggio("0623").arg(Nativo(file)))) ImportaArchivioPrecedenteDa(finestra, legame, file);
    return true;
}
