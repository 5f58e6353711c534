#include "DatiArchivio.h"

#include "ArchivioPrecedente.h"
#include "AvvisiArchivio.h"
#include "BloccoInattivita.h"
#include "Calendario.h"
#include "ChiaveArchivio.h"
#include "CopiaArchivio.h"
#include "Globali.h"
#include "IdMessaggiArchivio.h"
#include "IdMessaggiDati.h"
#include "LegameArchivio.h"
#include "Messaggio.h"
#include "NavigatoreDati.h"
#include "Percorso.h"
#include "ReportAtleta.h"
#include "Risorse.h"
#include "frmProteggi.h"
#include "frmStudio.h"
#include "modLanguageSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QStringListModel>
#include <QToolButton>

#include <algorithm>
#include <set>

namespace {

QString Nativo(const QString& file) { return QDir::toNativeSeparators(file); }
std::filesystem::path Percorso(const QString& file) { return PercorsoDa(file); }

ServiziFileDati& Servizi() {
    static ServiziFileDati servizi{
        [](QWidget* finestra, const QString& titolo, const QString& nome, const QString& filtro) {
            const QString cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            return QFileDialog::getSaveFileName(finestra, titolo, QDir(cartella).filePath(nome), filtro);
        },
        [](QWidget* finestra, const QString& titolo, const QString& filtro) {
            const QString cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            return QFileDialog::getOpenFileName(finestra, titolo, cartella, filtro);
        }};
    return servizi;
}

// A file name ends as its kind does.
QString ConEstensione(QString file, const QString& estensione) {
    if (!file.isEmpty() && !file.endsWith(estensione, Qt::CaseInsensitive)) file += estensione;
    return file;
}

QString Oggi() { return QDate::currentDate().toString(Qt::ISODate); }

// A failure: what failed, the file, and the reason.
void AvvisaErrore(QWidget* finestra, msg::Id cosa, const QString& file, const archivio::Errore& errore) {
    MostraMessaggio(finestra, Messaggio(cosa) + QLatin1Char('\n') + Nativo(file) + QStringLiteral("\n\n") +
                                  Messaggio(msg::Motivo) + QStringLiteral(": ") + DescriviMotivo(errore) +
                                  QLatin1Char('.'));
}

// An import that failed: the file could not be read, or its athletes could
// not be added (never "no athlete to add": there were some).
void AvvisaImportazioneFallita(QWidget* finestra, const archivio::RiepilogoImportazione& fatto, const QString& file,
                               const archivio::Errore& errore) {
    if (fatto.erroreDelFile) {
        AvvisaErrore(finestra, msg::FileNonLetto, file, errore);
        return;
    }
    MostraMessaggio(finestra, DescriviImportazioneFallita(file) + QStringLiteral("\n\n") + Messaggio(msg::Motivo) +
                                  QStringLiteral(": ") + DescriviMotivo(errore) + QLatin1Char('.'));
}

void Informa(QWidget* finestra, const QString& testo) {
    MostraMessaggio(finestra, testo, QMessageBox::Ok, QMessageBox::Information);
}

bool Pronto(QWidget* finestra, LegameArchivio* legame) {
    if (legame && legame->ArchivioAperto()) return true;
    MostraMessaggio(finestra,
                    TestoArchivioNonAperto(legame ? legame->FileArchivio() : QString(),
                                           archivio::Errore{.motivo = archivio::Motivo::Inesistente, .dettaglio = {}}));
    return false;
}

}  // namespace

void ImpostaServiziFileDati(ServiziFileDati servizi) {
    if (servizi.salva) Servizi().salva = std::move(servizi.salva);
    if (servizi.apri) Servizi().apri = std::move(servizi.apri);
}

const ServiziFileDati& ServiziFileDatiCorrenti() { return Servizi(); }
QString ChiediFileDaAprire(QWidget* finestra, const QString& titolo, const QString& filtro) {
    return Servizi().apri(finestra, titolo, filtro);
}

archivio::FormatoCsv FormatoCsvLocale() {
    const QString punto = QLocale::system().decimalPoint();
    return archivio::FormatoCsv::PerDecimale(punto == QLatin1String(",") ? ',' : '.');
}

QString EtichettaColonna(std::string_view colonna) {
    // The label of each column's box on the athlete card.
    static constexpr std::pair<std::string_view, std::string_view> Etichette[] = {
        {"nome", "Label1"},        {"datanascita", "Label2"},
        {"indirizzo", "Label3"},   {"tel", "Label4"},
        {"Email", "Label11"},      {"bici", "Label5"},
        {"Societa", "Label24"},    {"Categoria", "Label26"},
        {"Tessera", "Label25"},    {"Scadenza", "Label36"},
        {"sesso", "Label23"},      {"TipoImpiego", "Label32"},
        {"AttivFis", "chkAttFis"}, {"pulsazioniriposo", "Label6"},
        {"cavallo", "Label7"},     {"busto", "Label8"},
        {"coscia", "Label9"},      {"gamba", "Label10"},
        {"braccio", "Label12"},    {"spalle", "Label13"},
        {"altezza", "Label20"},    {"peso", "Label21"},
        {"sella", "Label19"},      {"myHS", "Label14"},
        {"myDSM", "Label15"},      {"mySM", "Label16"},
        {"myR", "Label17"},        {"myPE", "Label18"},
        {"MarcaSella", "Label29"}, {"Manubrio", "Label30"},
        {"Gruppo", "Label28"},     {"Ruote", "Label27"},
        {"pedali", "Label31"},     {"note", "Label33"}};
    for (const auto& [c, etichetta] : Etichette)
        if (c == colonna) {
            const QString testo = Didascalia("frmAtleti", etichetta);
            if (!testo.isEmpty()) return testo;
        }
    return QString::fromUtf8(colonna.data(), static_cast<qsizetype>(colonna.size()));
}

QString DescriviRifiuto(const archivio::LineaRifiutata& riga) {
    // The column as the card calls it: "the measure "Inseam" is not a number".
    const QString colonna = QStringLiteral("\"%1\"").arg(EtichettaColonna(riga.dettaglio));
    QString motivo;
    switch (riga.motivo) {
    case archivio::Rifiuto::Colonne:
        motivo = Messaggio(msg::NumeroCampi).arg(QString::fromStdString(riga.dettaglio));
        break;
    case archivio::Rifiuto::Virgolette: motivo = Messaggio(msg::VirgoletteErrate); break;
    case archivio::Rifiuto::TroppoLunga: motivo = Messaggio(msg::RigaTroppoLunga); break;
    case archivio::Rifiuto::Misura: motivo = Messaggio(msg::MisuraNonNumero).arg(colonna); break;
    case archivio::Rifiuto::Data: motivo = Messaggio(msg::NonUnaData).arg(colonna); break;
    case archivio::Rifiuto::DataAnnoBreve: motivo = Messaggio(msg::AnnoADueCifre).arg(colonna); break;
    case archivio::Rifiuto::Sesso: motivo = Messaggio(msg::SessoNonValido); break;
    case archivio::Rifiuto::Attivita: motivo = Messaggio(msg::AttivitaSconosciuta); break;
    case archivio::Rifiuto::SiNo: motivo = Messaggio(msg::AttivFisNonValida); break;
    case archivio::Rifiuto::SenzaNome: motivo = Messaggio(msg::NomeMancante); break;
    }
    return Messaggio(msg::RigaEsclusa).arg(QString::number(riga.linea), motivo);
}

QString DescriviRifiutoFile(const archivio::RiepilogoImportazione& lettura, const QString& file) {
    switch (lettura.rifiuto) {
    case archivio::RifiutoFile::NonTesto: return Messaggio(msg::FileNonTesto).arg(Nativo(file));
    case archivio::RifiutoFile::Intestazione: {
        // What is wrong with the first line: how many fields it has, or the
        // name that is no column.
        const QString dettaglio = QString::fromStdString(lettura.dettaglio);
        bool numero = false;
        dettaglio.toInt(&numero);
        return Messaggio(msg::IntestazioneErrata).arg(Nativo(file)) + QLatin1Char(' ') +
               (numero ? Messaggio(msg::PrimaRigaCampi) : Messaggio(msg::ColonnaSconosciuta)).arg(dettaglio);
    }
    case archivio::RifiutoFile::Nessuno: break;
    }
    return {};
}

QString DescriviImportazione(const archivio::RiepilogoImportazione& fatto, const QString& file) {
    if (!fatto.scritto) {
        if (fatto.rifiutate) return Messaggio(msg::TuttoONiente);
        if (!fatto.giaPresenti) return Messaggio(msg::NessunAtletaDaAggiungere);
        // The one athlete of the file has no number to say.
        if (fatto.giaPresenti == 1) return Messaggio(msg::UnicoAtletaGiaPresente);
        return Messaggio(msg::TuttiGiaPresenti).arg(fatto.giaPresenti);
    }
    // Every argument at once: a "%1" in the file's name stays as it is.
    QString testo = MessaggioNumero(fatto.aggiunti, msg::AtletaAggiunto, msg::AtletiAggiunti)
                        .arg(QString::number(fatto.aggiunti), Nativo(file));
    if (fatto.giaPresenti)
        testo +=
            QLatin1Char(' ') +
            MessaggioNumero(fatto.giaPresenti, msg::AltroGiaPresente, msg::AltriGiaPresenti).arg(fatto.giaPresenti);
    return testo;
}

QString DescriviImportazioneFallita(const QString& file) { return Messaggio(msg::AtletiNonAggiunti).arg(Nativo(file)); }

QString DescriviAltreRifiutate(std::size_t altre) {
    return MessaggioNumero(altre, msg::AltraRigaEsclusa, msg::AltreRigheEscluse).arg(altre);
}

QString DescriviEsportazione(std::size_t quanti, const QString& file) {
    return MessaggioNumero(quanti, msg::AtletaEsportato, msg::AtletiEsportati)
        .arg(QString::number(quanti), Nativo(file));
}

QString DescriviCopia(std::int64_t righe, const QString& file) {
    return MessaggioNumero(static_cast<std::size_t>(righe), msg::CopiaSalvataAtleta, msg::CopiaSalvataAtleti)
        .arg(Nativo(file), QString::number(righe));
}

std::vector<archivio::Assetto> AssettiDellAtleta(const LegameArchivio* legame) {
    std::vector<archivio::Assetto> assetti;
    const auto id = legame ? legame->IdCorrente() : std::nullopt;
    // Unreadable fittings leave the report without its page of fittings,
    // never without the report.
    if (id && legame->ArchivioAperto() && !legame->Connessione().LeggiAssetti(*id, assetti)) assetti.clear();
    return assetti;
}

std::vector<archivio::TestAtleta> TestDellAtleta(const LegameArchivio* legame) {
    std::vector<archivio::TestAtleta> test;
    const auto id = legame ? legame->IdCorrente() : std::nullopt;
    if (id && legame->ArchivioAperto() && !legame->Connessione().LeggiTest(*id, test)) test.clear();
    return test;
}

void StampaReportAtletaMostrato(QWidget* finestra, LegameArchivio* legame) {
    if (!legame || legame->AllaFine()) {
        MostraMessaggio(finestra, Messaggio(msg::NessunAtletaMostrato));
        return;
    }
    StampaReportAtleta(finestra, legame->RigaCorrente(), AssettiDellAtleta(legame), TestDellAtleta(legame));
}

void EsportaArchivioCsv(QWidget* finestra, LegameArchivio* legame) {
    if (!Pronto(finestra, legame)) return;
    const QString file =
        ConEstensione(Servizi().salva(finestra, Messaggio(msg::VoceEsportaCsv).remove(QStringLiteral("...")),
                                      QStringLiteral("Tovarin %1.csv").arg(Oggi()), Messaggio(msg::FiltroCsv)),
                      QStringLiteral(".csv"));
    if (file.isEmpty() || !legame->ScriviModifiche()) return;
    std::size_t quanti = 0;
    if (archivio::Esito e = archivio::EsportaCsv(legame->Connessione(), Percorso(file), FormatoCsvLocale(), quanti);
        !e) {
        AvvisaErrore(finestra, msg::EsportazioneFallita, file, e.errore());
        return;
    }
    // The archive has a passphrase, the file written has none.
    Informa(finestra, legame->Connessione().protetto()
                          ? DescriviEsportazione(quanti, file) + QStringLiteral("\n\n") + AvvisoCsvNonCifrato()
                          : DescriviEsportazione(quanti, file));
}

void ImportaArchivioCsv(QWidget* finestra, LegameArchivio* legame) {
    if (!Pronto(finestra, legame)) return;
    const QString file = Servizi().apri(finestra, Messaggio(msg::VoceImportaCsv).remove(QStringLiteral("...")),
                                        Messaggio(msg::FiltroCsv));
    // The earlier program's archive given for a CSV file: its own import.
    if (OffertoComeArchivioPrecedente(finestra, legame, file)) return;
    // The preview compares the file with the archive as the window shows it.
    if (file.isEmpty() || !legame->ScriviModifiche()) return;
    archivio::RiepilogoImportazione anteprima;
    if (archivio::Esito e = archivio::AnteprimaCsv(legame->Connessione(), Percorso(file), anteprima); !e) {
        AvvisaImportazioneFallita(finestra, anteprima, file, e.errore());
        return;
    }
    if (anteprima.rifiuto != archivio::RifiutoFile::Nessuno) {
        MostraMessaggio(finestra, DescriviRifiutoFile(anteprima, file));
        return;
    }

    // What will be added, what is there already, what is left out and why,
    // then the question.
    QString testo = MessaggioNumero(anteprima.aggiunti, msg::AtletaDaAggiungere, msg::AtletiDaAggiungere)
                        .arg(Nativo(file), QString::number(anteprima.aggiunti));
    if (anteprima.omonimi)
        testo += QLatin1Char(' ') +
                 MessaggioNumero(anteprima.omonimi, msg::OmonimoPresente, msg::OmonimiPresenti).arg(anteprima.omonimi);
    if (anteprima.giaPresenti)
        testo +=
            QLatin1Char(' ') +
            MessaggioNumero(anteprima.giaPresenti, msg::UgualePresente, msg::UgualiPresenti).arg(anteprima.giaPresenti);
    if (anteprima.rifiutate) {
        testo += QStringLiteral("\n\n") + Messaggio(msg::RigheEscluse).arg(anteprima.rifiutate);
        const std::size_t mostrate = std::min<std::size_t>(anteprima.elencate.size(), 20);
        for (std::size_t i = 0; i < mostrate; ++i) testo += QLatin1Char('\n') + DescriviRifiuto(anteprima.elencate[i]);
        if (mostrate < anteprima.rifiutate)
            testo += QLatin1Char('\n') + DescriviAltreRifiutate(anteprima.rifiutate - mostrate);
    }
    // All or none, as from the command line: a refused line adds nothing.
    if (anteprima.aggiunti == 0 || anteprima.rifiutate) {
        MostraMessaggio(finestra,
                        testo + QStringLiteral("\n\n") +
                            Messaggio(anteprima.rifiutate ? msg::TuttoONiente : msg::NessunAtletaDaAggiungere));
        return;
    }
    testo += QStringLiteral("\n\n") + Messaggio(msg::AggiungereAccettati);
    if (MostraMessaggio(finestra, testo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) != QMessageBox::Yes)
        return;
    archivio::RiepilogoImportazione fatto;
    const archivio::Esito e =
        legame->AggiungiAtleti([&](archivio::Archivio& a) { return archivio::ImportaCsv(a, Percorso(file), fatto); });
    if (!e) {
        AvvisaImportazioneFallita(finestra, fatto, file, e.errore());
        return;
    }
    if (fatto.rifiuto != archivio::RifiutoFile::Nessuno) {
        MostraMessaggio(finestra, DescriviRifiutoFile(fatto, file));
        return;
    }
    Informa(finestra, DescriviImportazione(fatto, file));
}

void SalvaCopiaArchivio(QWidget* finestra, LegameArchivio* legame) {
    if (!Pronto(finestra, legame)) return;
    const QString file =
        ConEstensione(Servizi().salva(finestra, Messaggio(msg::VoceSalvaCopia).remove(QStringLiteral("...")),
                                      QStringLiteral("tvp %1.dmg").arg(Oggi()), Messaggio(msg::FiltroCopie)),
                      QStringLiteral(".dmg"));
    if (file.isEmpty() || !legame->ScriviModifiche()) return;
    std::int64_t righe = 0;
    if (archivio::Esito e = legame->Connessione().CopiaIn(Percorso(file), &righe); !e) {
        AvvisaErrore(finestra, msg::CopiaNonSalvata, file, e.errore());
        return;
    }
    Informa(finestra, DescriviCopia(righe, file));
}

void RipristinaCopiaArchivio(QWidget* finestra, LegameArchivio* legame) {
    if (!legame) return;
    const QString copia = Servizi().apri(finestra, Messaggio(msg::VoceRipristinaCopia).remove(QStringLiteral("...")),
                                         Messaggio(msg::FiltroCopie));
    if (copia.isEmpty() || OffertoComeArchivioPrecedente(finestra, legame, copia)) return;
    const QString data = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm"));
    const auto archivioFile = Percorso(legame->FileArchivio());
    // A backup with a passphrase: asked once, for the check and the restore.
    const archivio::ChiediPassphrase chiedi = ChiediPassphraseCopia(finestra);
    if (archivio::Esito e = archivio::VerificaRipristino(archivioFile, Percorso(copia), chiedi); !e) {
        MostraMessaggio(finestra, Messaggio(msg::CopiaNonValida).arg(Nativo(copia)) + QStringLiteral("\n\n") +
                                      Messaggio(msg::Motivo) + QStringLiteral(": ") + DescriviMotivo(e.errore()) +
                                      QLatin1Char('.'));
        return;
    }
    const QString conservato =
        QString::fromStdString(archivio::NomeConservato(archivioFile, data.toStdString()).filename().string());
    if (MostraMessaggio(finestra, Messaggio(msg::SostituireConCopia).arg(Nativo(copia), conservato),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) != QMessageBox::Yes ||
        !legame->ScriviModifiche())
        return;
    std::filesystem::path tenuto;
    const archivio::Esito e = legame->SostituisciArchivio([&] {
        return archivio::RipristinaArchivio(archivioFile, Percorso(copia), data.toStdString(), tenuto, chiedi);
    });
    if (!e) {
        MostraMessaggio(finestra, Messaggio(msg::RipristinoFallito) + QStringLiteral("\n\n") + Messaggio(msg::Motivo) +
                                      QStringLiteral(": ") + DescriviMotivo(e.errore()) + QLatin1Char('.'));
        return;
    }
    // A backup with a passphrase leaves the archive unlocked with it.
    if (BloccoInattivita* blocco = BloccoInattivita::Istanza()) blocco->Rileggi();
    Informa(finestra,
            Messaggio(msg::ArchivioRipristinato).arg(Nativo(copia), Nativo(QString::fromStdString(tenuto.string()))));
}

void ProteggiArchivio(QWidget* finestra, LegameArchivio* legame) {
    if (!Pronto(finestra, legame)) return;
    const QString file = legame->FileArchivio();
    frmProteggi dialogo(
        chiave::ArchivioProtetto(file),
        [&](const PassphraseDigitata* attuale, const PassphraseDigitata* nuova) {
            frmChiave::Prova esito{frmChiave::Prova::Esito::Errore, QString()};
            // The pending edit written and the connections closed first; the
            // window shows its athlete again from the file rewritten.
            const archivio::Esito fatto = legame->SostituisciArchivio([&] {
                esito = chiave::CambiaPassphrase(file, attuale, nuova);
                return esito.esito == frmChiave::Prova::Esito::Giusta
                           ? archivio::Esito()
                           : archivio::Esito(
                                 archivio::Errore{.motivo = archivio::Motivo::Altro, .dettaglio = "not changed"});
            });
            if (!fatto && esito.esito == frmChiave::Prova::Esito::Giusta)
                esito = {frmChiave::Prova::Esito::Errore, Messaggio(msg::ArchivioNonCambiato)};
            return esito;
        },
        finestra);
    if (dialogo.exec() != QDialog::Accepted) return;
    if (BloccoInattivita* blocco = BloccoInattivita::Istanza()) blocco->Rileggi();
    switch (dialogo.Risultato()) {
    case frmProteggi::Fatto::Nulla: break;
    case frmProteggi::Fatto::Protetto: Informa(finestra, Messaggio(msg::ArchivioProtetto)); break;
    case frmProteggi::Fatto::Cambiato: Informa(finestra, Messaggio(msg::PassphraseCambiata)); break;
    case frmProteggi::Fatto::Tolto: Informa(finestra, Messaggio(msg::PassphraseTolta)); break;
    }
}

QString AvvisoCsvNonCifrato() { return Messaggio(msg::CsvNonCifrato); }

void PreparaPulsanteReport(QToolButton* pulsante, QWidget* finestra, LegameArchivio* legame) {
    pulsante->setIcon(IconaSvg(pulsante->property("immagine").toString(), {20, 40}));
    QObject::connect(pulsante, &QToolButton::clicked, finestra,
                     [finestra, legame] { StampaReportAtletaMostrato(finestra, legame); });
}

QPoint PosizioneMenu(const QRect& pulsante, const QSize& menu, const QRect& schermo) {
    // Its right edge under the button's: the button stands at the window's
    // right, and the menu stays within the window and the screen.
    QPoint p(pulsante.right() + 1 - menu.width(), pulsante.bottom() + 1);
    if (p.y() + menu.height() > schermo.bottom() + 1) p.setY(pulsante.top() - menu.height());
    p.setX(std::clamp(p.x(), schermo.left(), std::max(schermo.left(), schermo.right() + 1 - menu.width())));
    p.setY(std::max(p.y(), schermo.top()));
    return p;
}

void PreparaMenuDati(QToolButton* pulsante, QWidget* finestra, LegameArchivio* legame) {
    pulsante->setIcon(IconaSvg(pulsante->property("immagine").toString(), {20, 40}));
    auto* menu = new QMenu(pulsante);
    menu->setObjectName(QStringLiteral("menuDati"));
    // A click, Space or Enter on the button opens it, where it fits.
    QObject::connect(pulsante, &QToolButton::clicked, menu, [pulsante, menu] {
        menu->ensurePolished();
        Q_EMIT menu->aboutToShow();  // filled in the language of the moment, to be measured
        const QRect dove(pulsante->mapToGlobal(QPoint(0, 0)), pulsante->size());
        const QRect schermo =
            pulsante->screen() ? pulsante->screen()->availableGeometry() : QRect(dove.topLeft(), QSize(4000, 4000));
        menu->popup(PosizioneMenu(dove, menu->sizeHint(), schermo));
    });
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, finestra, legame] {
        menu->clear();
        menu->addAction(Messaggio(msg::VoceReport), finestra,
                        [finestra, legame] { StampaReportAtletaMostrato(finestra, legame); });
        menu->addSeparator();
        menu->addAction(Messaggio(msg::VoceEsportaCsv), finestra,
                        [finestra, legame] { EsportaArchivioCsv(finestra, legame); });
        menu->addAction(Messaggio(msg::VoceImportaCsv), finestra,
                        [finestra, legame] { ImportaArchivioCsv(finestra, legame); });
        menu->addAction(Messaggio(msg::VoceImportaPrecedente), finestra,
                        [finestra, legame] { ImportaArchivioPrecedente(finestra, legame); });
        menu->addSeparator();
        menu->addAction(Messaggio(msg::VoceSalvaCopia), finestra,
                        [finestra, legame] { SalvaCopiaArchivio(finestra, legame); });
        menu->addAction(Messaggio(msg::VoceRipristinaCopia), finestra,
                        [finestra, legame] { RipristinaCopiaArchivio(finestra, legame); });
        menu->addAction(Messaggio(msg::VoceProteggi), finestra,
                        [finestra, legame] { ProteggiArchivio(finestra, legame); });
        menu->addSeparator();
        menu->addAction(Messaggio(msg::VoceDatiStudio), finestra, [finestra] { ApriDatiStudio(finestra); });
    });
}
