#include "DatiArchivio.h"

#include "ArchivioPrecedente.h"
#include "AvvisiArchivio.h"
#include "BloccoInattivita.h"
#include "Calendario.h"
#include "ChiaveArchivio.h"
#include "CopiaArchivio.h"
#include "Globali.h"
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
void AvvisaErrore(QWidget* finestra, const char* cosa, const QString& file, const archivio::Errore& errore) {
    MostraMessaggio(finestra, Messaggio(cosa) + QLatin1Char('\n') + Nativo(file) + QStringLiteral("\n\n") +
                                  Messaggio("0088") + QStringLiteral(": ") + DescriviMotivo(errore) + QLatin1Char('.'));
}

// An import that failed: the file could not be read, or its athletes could
// not be added (never "no athlete to add": there were some).
void AvvisaImportazioneFallita(QWidget* finestra, const archivio::RiepilogoImportazione& fatto, const QString& file,
                               const archivio::Errore& errore) {
    if (fatto.erroreDelFile) {
        AvvisaErrore(finestra, "0274", file, errore);
        return;
    }
    MostraMessaggio(finestra, DescriviImportazioneFallita(file) + QStringLiteral("\n\n") + Messaggio("0088") +
                                  QStringLiteral(": ") + DescriviMotivo(errore) + QLatin1Char('.'));
}

void Informa(QWidget* finestra, const QString& testo) {
    MostraMessaggio(finestra, testo, QMessageBox::Ok, QMessageBox::Information);
}

bool Pronto(QWidget* finestra, LegameArchivio* legame) {
    if (legame && legame->ArchivioAperto()) return true;
    MostraMessaggio(finestra, TestoArchivioNonAperto(legame ? legame->FileArchivio() : QString(),
                                                     archivio::Errore{archivio::Motivo::Inesistente, 0, 0, {}}));
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
    case archivio::Rifiuto::Colonne: motivo = Messaggio("0263").arg(QString::fromStdString(riga.dettaglio)); break;
    case archivio::Rifiuto::Virgolette: motivo = Messaggio("0264"); break;
    case archivio::Rifiuto::TroppoLunga: motivo = Messaggio("0265"); break;
    case archivio::Rifiuto::Misura: motivo = Messaggio("0266").arg(colonna); break;
    case archivio::Rifiuto::Data: motivo = Messaggio("0267").arg(colonna); break;
    case archivio::Rifiuto::DataAnnoBreve: motivo = Messaggio("0293").arg(colonna); break;
    case archivio::Rifiuto::Sesso: motivo = Messaggio("0268"); break;
    case archivio::Rifiuto::Attivita: motivo = Messaggio("0269"); break;
    case archivio::Rifiuto::SiNo: motivo = Messaggio("0270"); break;
    case archivio::Rifiuto::SenzaNome: motivo = Messaggio("0292"); break;
    }
    return Messaggio("0262").arg(QString::number(riga.linea), motivo);
}

QString DescriviRifiutoFile(const archivio::RiepilogoImportazione& lettura, const QString& file) {
    switch (lettura.rifiuto) {
    case archivio::RifiutoFile::NonTesto: return Messaggio("0272").arg(Nativo(file));
    case archivio::RifiutoFile::Intestazione: {
        // What is wrong with the first line: how many fields it has, or the
        // name that is no column.
        const QString dettaglio = QString::fromStdString(lettura.dettaglio);
        bool numero = false;
        dettaglio.toInt(&numero);
        return Messaggio("0273").arg(Nativo(file)) + QLatin1Char(' ') +
               (numero ? Messaggio("0318") : Messaggio("0319")).arg(dettaglio);
    }
    case archivio::RifiutoFile::Nessuno: break;
    }
    return {};
}

QString DescriviImportazione(const archivio::RiepilogoImportazione& fatto, const QString& file) {
    if (!fatto.scritto) {
        if (fatto.rifiutate) return Messaggio("0337");
        if (!fatto.giaPresenti) return Messaggio("0276");
        // The one athlete of the file has no number to say.
        if (fatto.giaPresenti == 1) return Messaggio("0320");
        return Messaggio("0302").arg(fatto.giaPresenti);
    }
    // Every argument at once: a "%1" in the file's name stays as it is.
    QString testo = MessaggioNumero(fatto.aggiunti, "0312", "0275").arg(QString::number(fatto.aggiunti), Nativo(file));
    if (fatto.giaPresenti)
        testo += QLatin1Char(' ') + MessaggioNumero(fatto.giaPresenti, "0315", "0314").arg(fatto.giaPresenti);
    return testo;
}

QString DescriviImportazioneFallita(const QString& file) { return Messaggio("0455").arg(Nativo(file)); }

QString DescriviAltreRifiutate(std::size_t altre) { return MessaggioNumero(altre, "0317", "0301").arg(altre); }

QString DescriviEsportazione(std::size_t quanti, const QString& file) {
    return MessaggioNumero(quanti, "0309", "0257").arg(QString::number(quanti), Nativo(file));
}

QString DescriviCopia(std::int64_t righe, const QString& file) {
    return MessaggioNumero(static_cast<std::size_t>(righe), "0313", "0277").arg(Nativo(file), QString::number(righe));
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
        MostraMessaggio(finestra, Messaggio("0283"));
        return;
    }
    StampaReportAtleta(finestra, legame->RigaCorrente(), AssettiDellAtleta(legame), TestDellAtleta(legame));
}

void EsportaArchivioCsv(QWidget* finestra, LegameArchivio* legame) {
    if (!Pronto(finestra, legame)) return;
    const QString file = ConEstensione(Servizi().salva(finestra, Messaggio("0251").remove(QStringLiteral("...")),
                                                       QStringLiteral("Tovarin %1.csv").arg(Oggi()), Messaggio("0255")),
                                       QStringLiteral(".csv"));
    if (file.isEmpty() || !legame->ScriviModifiche()) return;
    std::size_t quanti = 0;
    if (archivio::Esito e = archivio::EsportaCsv(legame->Connessione(), Percorso(file), FormatoCsvLocale(), quanti);
        !e) {
        AvvisaErrore(finestra, "0258", file, e.errore());
        return;
    }
    // The archive has a passphrase, the file written has none.
    Informa(finestra, legame->Connessione().protetto()
                          ? DescriviEsportazione(quanti, file) + QStringLiteral("\n\n") + AvvisoCsvNonCifrato()
                          : DescriviEsportazione(quanti, file));
}

void ImportaArchivioCsv(QWidget* finestra, LegameArchivio* legame) {
    if (!Pronto(finestra, legame)) return;
    const QString file = Servizi().apri(finestra, Messaggio("0252").remove(QStringLiteral("...")), Messaggio("0255"));
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
    QString testo =
        MessaggioNumero(anteprima.aggiunti, "0310", "0259").arg(Nativo(file), QString::number(anteprima.aggiunti));
    if (anteprima.omonimi)
        testo += QLatin1Char(' ') + MessaggioNumero(anteprima.omonimi, "0311", "0260").arg(anteprima.omonimi);
    if (anteprima.giaPresenti)
        testo += QLatin1Char(' ') + MessaggioNumero(anteprima.giaPresenti, "0316", "0291").arg(anteprima.giaPresenti);
    if (anteprima.rifiutate) {
        testo += QStringLiteral("\n\n") + Messaggio("0261").arg(anteprima.rifiutate);
        const std::size_t mostrate = std::min<std::size_t>(anteprima.elencate.size(), 20);
        for (std::size_t i = 0; i < mostrate; ++i) testo += QLatin1Char('\n') + DescriviRifiuto(anteprima.elencate[i]);
        if (mostrate < anteprima.rifiutate)
            testo += QLatin1Char('\n') + DescriviAltreRifiutate(anteprima.rifiutate - mostrate);
    }
    // All or none, as from the command line: a refused line adds nothing.
    if (anteprima.aggiunti == 0 || anteprima.rifiutate) {
        MostraMessaggio(finestra, testo + QStringLiteral("\n\n") + Messaggio(anteprima.rifiutate ? "0337" : "0276"));
        return;
    }
    testo += QStringLiteral("\n\n") + Messaggio("0271");
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
    const QString file = ConEstensione(Servizi().salva(finestra, Messaggio("0253").remove(QStringLiteral("...")),
                                                       QStringLiteral("tvp %1.dmg").arg(Oggi()), Messaggio("0256")),
                                       QStringLiteral(".dmg"));
    if (file.isEmpty() || !legame->ScriviModifiche()) return;
    std::int64_t righe = 0;
    if (archivio::Esito e = legame->Connessione().CopiaIn(Percorso(file), &righe); !e) {
        AvvisaErrore(finestra, "0278", file, e.errore());
        return;
    }
    Informa(finestra, DescriviCopia(righe, file));
}

void RipristinaCopiaArchivio(QWidget* finestra, LegameArchivio* legame) {
    if (!legame) return;
    const QString copia = Servizi().apri(finestra, Messaggio("0254").remove(QStringLiteral("...")), Messaggio("0256"));
    if (copia.isEmpty() || OffertoComeArchivioPrecedente(finestra, legame, copia)) return;
    const QString data = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm"));
    const auto archivioFile = Percorso(legame->FileArchivio());
    // A backup with a passphrase: asked once, for the check and the restore.
    const archivio::ChiediPassphrase chiedi = ChiediPassphraseCopia(finestra);
    if (archivio::Esito e = archivio::VerificaRipristino(archivioFile, Percorso(copia), chiedi); !e) {
        MostraMessaggio(finestra, Messaggio("0281").arg(Nativo(copia)) + QStringLiteral("\n\n") + Messaggio("0088") +
                                      QStringLiteral(": ") + DescriviMotivo(e.errore()) + QLatin1Char('.'));
        return;
    }
    const QString conservato =
        QString::fromStdString(archivio::NomeConservato(archivioFile, data.toStdString()).filename().string());
    if (MostraMessaggio(finestra, Messaggio("0279").arg(Nativo(copia), conservato), QMessageBox::Yes | QMessageBox::No,
                        QMessageBox::Question) != QMessageBox::Yes ||
        !legame->ScriviModifiche())
        return;
    std::filesystem::path tenuto;
    const archivio::Esito e = legame->SostituisciArchivio([&] {
        return archivio::RipristinaArchivio(archivioFile, Percorso(copia), data.toStdString(), tenuto, chiedi);
    });
    if (!e) {
        MostraMessaggio(finestra, Messaggio("0282") + QStringLiteral("\n\n") + Messaggio("0088") +
                                      QStringLiteral(": ") + DescriviMotivo(e.errore()) + QLatin1Char('.'));
        return;
    }
    // A backup with a passphrase leaves the archive unlocked with it.
    if (BloccoInattivita* blocco = BloccoInattivita::Istanza()) blocco->Rileggi();
    Informa(finestra, Messaggio("0280").arg(Nativo(copia), Nativo(QString::fromStdString(tenuto.string()))));
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
                           : archivio::Esito(archivio::Errore{archivio::Motivo::Altro, 0, 0, "not changed"});
            });
            if (!fatto && esito.esito == frmChiave::Prova::Esito::Giusta)
                esito = {frmChiave::Prova::Esito::Errore, Messaggio("0707")};
            return esito;
        },
        finestra);
    if (dialogo.exec() != QDialog::Accepted) return;
    if (BloccoInattivita* blocco = BloccoInattivita::Istanza()) blocco->Rileggi();
    switch (dialogo.Risultato()) {
    case frmProteggi::Fatto::Nulla: break;
    case frmProteggi::Fatto::Protetto: Informa(finestra, Messaggio("0704")); break;
    case frmProteggi::Fatto::Cambiato: Informa(finestra, Messaggio("0705")); break;
    case frmProteggi::Fatto::Tolto: Informa(finestra, Messaggio("0706")); break;
    }
}

QString AvvisoCsvNonCifrato() { return Messaggio("0652"); }

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
        menu->addAction(Messaggio("0250"), finestra,
                        [finestra, legame] { StampaReportAtletaMostrato(finestra, legame); });
        menu->addSeparator();
        menu->addAction(Messaggio("0251"), finestra, [finestra, legame] { EsportaArchivioCsv(finestra, legame); });
        menu->addAction(Messaggio("0252"), finestra, [finestra, legame] { ImportaArchivioCsv(finestra, legame); });
        menu->addAction(Messaggio("0600"), finestra,
                        [finestra, legame] { ImportaArchivioPrecedente(finestra, legame); });
        menu->addSeparator();
        menu->addAction(Messaggio("0253"), finestra, [finestra, legame] { SalvaCopiaArchivio(finestra, legame); });
        menu->addAction(Messaggio("0254"), finestra, [finestra, legame] { RipristinaCopiaArchivio(finestra, legame); });
        menu->addAction(Messaggio("0690"), finestra, [finestra, legame] { ProteggiArchivio(finestra, legame); });
        menu->addSeparator();
        menu->addAction(Messaggio("0580"), finestra, [finestra] { ApriDatiStudio(finestra); });
    });
}
