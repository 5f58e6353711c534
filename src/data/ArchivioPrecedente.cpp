#include "ArchivioPrecedente.h"

#include "AvvisiArchivio.h"
#include "ConnessioneCondivisa.h"
#include "DatiArchivio.h"
#include "IdMessaggiArchivio.h"
#include "IdMessaggiDati.h"
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
    return QStringLiteral("\n\n") + Messaggio(msg::Motivo) + QStringLiteral(": ") + motivo + QLatin1Char('.');
}

void Informa(QWidget* finestra, const QString& testo) {
    MostraMessaggio(finestra, testo, QMessageBox::Ok, QMessageBox::Information);
}

// "The file ... holds 12 athletes: Rossi, Bianchi and 10 more."
QString Contenuto(const archivio::AnteprimaAccess& anteprima, const QString& file, msg::Id uno, msg::Id piu) {
    return MessaggioNumero(anteprima.atleti, uno, piu)
        .arg(Nativo(file), QString::number(anteprima.atleti), NomiAnteprimaAccess(anteprima));
}

}  // namespace

QString DescriviRifiutoAccess(const archivio::EsitoAccess& esito, const QString& file) {
    using archivio::RifiutoAccess;
    const QString dettaglio = QString::fromStdString(esito.dettaglio);
    switch (esito.rifiuto) {
    case RifiutoAccess::NonAccess: return Messaggio(msg::NonAccess);
    case RifiutoAccess::Jet3: return Messaggio(msg::AccessJet3);
    case RifiutoAccess::Accdb: return Messaggio(msg::AccessAccdb);
    case RifiutoAccess::SenzaTabella: return Messaggio(msg::AccessSenzaTabella);
    case RifiutoAccess::ColonnaMancante: return Messaggio(msg::AccessColonnaMancante).arg(dettaglio);
    case RifiutoAccess::TipoColonna: return Messaggio(msg::AccessTipoColonna).arg(dettaglio);
    case RifiutoAccess::Troncato: return Messaggio(msg::AccessTroncato);
    case RifiutoAccess::Danneggiato: return Messaggio(msg::AccessDanneggiato);
    case RifiutoAccess::Illeggibile:
        if (esito.errnoSistema)
            return DescriviMotivo(
                archivio::ConCartella(archivio::ErroreDiSistema(esito.errnoSistema, esito.dettaglio), Percorso(file)));
        return DescriviMotivo(archivio::Errore{.motivo = archivio::Motivo::Altro, .dettaglio = esito.dettaglio});
    case RifiutoAccess::Nessuno: break;
    }
    return {};
}

QString TestoAccessNonLetto(const archivio::EsitoAccess& esito, const QString& file) {
    return Messaggio(msg::AccessNonLetto).arg(Nativo(file)) + Perche(DescriviRifiutoAccess(esito, file));
}

QString NomiAnteprimaAccess(const archivio::AnteprimaAccess& anteprima) {
    QStringList nomi;
    for (const std::string& nome : anteprima.primi)
        nomi << (nome.empty() ? Messaggio(msg::SenzaNome) : QString::fromStdString(nome));
    QString testo = nomi.join(QStringLiteral(", "));
    if (anteprima.atleti > anteprima.primi.size())
        testo += QLatin1Char(' ') + Messaggio(msg::EAltriN).arg(anteprima.atleti - anteprima.primi.size());
    return testo;
}

QString TestoArchivioNonApertoOPrecedente(const QString& file, const archivio::Errore& errore) {
    QString testo = TestoArchivioNonAperto(file, errore);
    if (archivio::RiconosciAccess(Percorso(file)) != archivio::FormatoAccess::NonAccess)
        testo += QStringLiteral("\n\n") + Messaggio(msg::ConversioneAllAvvio).arg(Nativo(file));
    return testo;
}

QString SuggerimentoArchivioPrecedente(const QString& file) {
    if (archivio::RiconosciAccess(Percorso(file)) == archivio::FormatoAccess::NonAccess) return {};
    return Messaggio(msg::AggiuntaDaRiga).arg(Nativo(file));
}

QString DescriviImportazioneAccess(const archivio::RiepilogoAccess& fatto, const QString& file) {
    if (!fatto.scritto) {
        if (!fatto.giaPresenti) return Messaggio(msg::PrecedenteVuoto).arg(Nativo(file));
        return MessaggioNumero(fatto.giaPresenti, msg::UnicoAtletaGiaPresente, msg::TuttiGiaPresenti)
            .arg(fatto.giaPresenti);
    }
    QString testo = MessaggioNumero(fatto.aggiunti, msg::AggiuntoDaPrecedente, msg::AggiuntiDaPrecedente)
                        .arg(QString::number(fatto.aggiunti), Nativo(file));
    if (fatto.giaPresenti)
        testo +=
            QLatin1Char(' ') +
            MessaggioNumero(fatto.giaPresenti, msg::AltroGiaPresente, msg::AltriGiaPresenti).arg(fatto.giaPresenti);
    return testo;
}

bool OffriConversioneArchivioPrecedente(QWidget* finestra, const QString& archivioFile) {
    const auto file = Percorso(archivioFile);
    if (archivio::RiconosciAccess(file) == archivio::FormatoAccess::NonAccess) return false;
    archivio::AnteprimaAccess anteprima;
    if (const archivio::EsitoAccess e = archivio::LeggiAnteprimaAccess(file, anteprima); !e) {
        MostraMessaggio(finestra,
                        TestoAccessNonLetto(e, archivioFile) + QStringLiteral("\n\n") + Messaggio(msg::FinestreVuote));
        return false;
    }
    const QString data = QDate::currentDate().toString(Qt::ISODate);
    const QString conservato = Nativo(archivio::NomeAccessConservato(file, data.toStdString()).filename());
    const QString contenuto = anteprima.atleti
                                  ? Contenuto(anteprima, archivioFile, msg::DaConvertireAtleta, msg::DaConvertireAtleti)
                                  : Messaggio(msg::DaConvertireVuoto).arg(Nativo(archivioFile));
    if (!Chiedi(finestra, contenuto + QStringLiteral("\n\n") + Messaggio(msg::ConvertireOra).arg(conservato)))
        return false;

    // Nothing may hold the file while it is replaced.
    archivio::ChiudiConnessioneCondivisa();
    std::filesystem::path tenuto;
    archivio::RiepilogoAccess fatto;
    const archivio::Esito e = archivio::ConvertiAccess(file, data.toStdString(), tenuto, fatto);
    if (!e) {
        MostraMessaggio(finestra, Messaggio(msg::ConversioneNonFatta).arg(Nativo(archivioFile)) +
                                      Perche(DescriviMotivo(e.errore())));
        return false;
    }
    if (!fatto.lettura) {
        MostraMessaggio(finestra, TestoAccessNonLetto(fatto.lettura, archivioFile) + QStringLiteral("\n\n") +
                                      Messaggio(msg::ConversioneNonFatta).arg(Nativo(archivioFile)));
        return false;
    }
    Informa(finestra, MessaggioNumero(fatto.aggiunti, msg::ConvertitoAtleta, msg::ConvertitoAtleti)
                          .arg(QString::number(fatto.aggiunti), Nativo(archivioFile), Nativo(tenuto)));
    return true;
}

void ImportaArchivioPrecedenteDa(QWidget* finestra, LegameArchivio* legame, const QString& file) {
    if (!legame || !legame->ArchivioAperto()) {
        MostraMessaggio(finestra, TestoArchivioNonAperto(
                                      legame ? legame->FileArchivio() : QString(),
                                      archivio::Errore{.motivo = archivio::Motivo::Inesistente, .dettaglio = {}}));
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
        MostraMessaggio(finestra, Messaggio(msg::PrecedenteVuoto).arg(Nativo(file)));
        return;
    }
    QString testo = Contenuto(anteprima, file, msg::PrecedenteAtleta, msg::PrecedenteAtleti);
    if (anteprima.giaPresenti)
        testo += QLatin1Char(' ') + MessaggioNumero(anteprima.giaPresenti, msg::DiQuestiPresente, msg::DiQuestiPresenti)
                                        .arg(anteprima.giaPresenti);
    const std::size_t nuovi = anteprima.atleti - anteprima.giaPresenti;
    if (nuovi == 0) {
        MostraMessaggio(finestra, MessaggioNumero(anteprima.atleti, msg::UnicoAtletaGiaPresente, msg::TuttiGiaPresenti)
                                      .arg(anteprima.atleti));
        return;
    }
    if (!Chiedi(finestra, testo + QStringLiteral("\n\n") +
                              MessaggioNumero(nuovi, msg::AggiungerloDomanda, msg::AggiungerliDomanda)))
        return;
    archivio::RiepilogoAccess fatto;
    const archivio::Esito e = legame->AggiungiAtleti(
        [&](archivio::Archivio& a) { return archivio::ImportaAccess(a, Percorso(file), fatto); });
    if (!e) {
        MostraMessaggio(finestra, Messaggio(msg::PrecedentiNonAggiunti) + QLatin1Char('\n') +
                                      Nativo(legame->FileArchivio()) + Perche(DescriviMotivo(e.errore())));
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
        ChiediFileDaAprire(finestra, Messaggio(msg::VoceImportaPrecedente).remove(QStringLiteral("...")),
                           Messaggio(msg::FiltroArchiviPrecedenti));
    if (file.isEmpty()) return;
    ImportaArchivioPrecedenteDa(finestra, legame, file);
}

bool OffertoComeArchivioPrecedente(QWidget* finestra, LegameArchivio* legame, const QString& file) {
    if (file.isEmpty() || archivio::RiconosciAccess(Percorso(file)) == archivio::FormatoAccess::NonAccess) return false;
    if (Chiedi(finestra, Messaggio(msg::AggiungereDaPrecedente).arg(Nativo(file))))
        ImportaArchivioPrecedenteDa(finestra, legame, file);
    return true;
}
