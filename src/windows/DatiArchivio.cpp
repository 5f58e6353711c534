#include "DatiArchivio.h"

#include "AvvisiArchivio.h"
#include "Calendario.h"
#include "CopiaArchivio.h"
#include "Globali.h"
#include "LegameArchivio.h"
#include "Messaggio.h"
#include "NavigatoreDati.h"
#include "ReportAtleta.h"
#include "Risorse.h"
#include "modLanguageSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QMenu>
#include <QStandardPaths>
#include <QStringListModel>
#include <QToolButton>

#include <set>

namespace {

QString Nativo(const QString& file) { return QDir::toNativeSeparators(file); }
std::filesystem::path Percorso(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

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

archivio::FormatoCsv FormatoCsvLocale() {
    const QString punto = QLocale::system().decimalPoint();
    return archivio::FormatoCsv::PerDecimale(punto == QLatin1String(",") ? ',' : '.');
}

QString DescriviRifiuto(const archivio::LineaRifiutata& riga) {
    const QString dettaglio = QString::fromStdString(riga.dettaglio);
    QString motivo;
    switch (riga.motivo) {
    case archivio::Rifiuto::Colonne: motivo = Messaggio("0263").arg(dettaglio); break;
    case archivio::Rifiuto::Virgolette: motivo = Messaggio("0264"); break;
    case archivio::Rifiuto::TroppoLunga: motivo = Messaggio("0265"); break;
    case archivio::Rifiuto::Misura: motivo = Messaggio("0266").arg(dettaglio); break;
    case archivio::Rifiuto::Data: motivo = Messaggio("0267").arg(dettaglio); break;
    case archivio::Rifiuto::Sesso: motivo = Messaggio("0268"); break;
    case archivio::Rifiuto::Attivita: motivo = Messaggio("0269"); break;
    case archivio::Rifiuto::SiNo: motivo = Messaggio("0270"); break;
    }
    return Messaggio("0262").arg(riga.linea).arg(motivo);
}

QString DescriviRifiutoFile(const archivio::LetturaCsv& lettura, const QString& file) {
    switch (lettura.rifiuto) {
    case archivio::RifiutoFile::NonTesto: return Messaggio("0272").arg(Nativo(file));
    case archivio::RifiutoFile::Intestazione: return Messaggio("0273").arg(Nativo(file));
    case archivio::RifiutoFile::Nessuno: break;
    }
    return {};
}

void StampaReportAtletaMostrato(QWidget* finestra, LegameArchivio* legame) {
    if (!legame || legame->AllaFine()) {
        MostraMessaggio(finestra, Messaggio("0283"));
        return;
    }
    StampaReportAtleta(finestra, legame->RigaCorrente());
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
    Informa(finestra, Messaggio("0257").arg(quanti).arg(Nativo(file)));
}

void ImportaArchivioCsv(QWidget* finestra, LegameArchivio* legame) {
    if (!Pronto(finestra, legame)) return;
    const QString file = Servizi().apri(finestra, Messaggio("0252").remove(QStringLiteral("...")), Messaggio("0255"));
    if (file.isEmpty()) return;
    archivio::LetturaCsv lettura;
    const auto eData = [](std::string_view t) { return Calendario::Servizi().leggiData(t).has_value(); };
    if (archivio::Esito e = archivio::LeggiFileCsv(Percorso(file), eData, lettura); !e) {
        AvvisaErrore(finestra, "0274", file, e.errore());
        return;
    }
    if (const QString rifiuto = DescriviRifiutoFile(lettura, file); !rifiuto.isEmpty()) {
        MostraMessaggio(finestra, rifiuto);
        return;
    }

    // What will be added, what is left out and why, then the question.
    QString testo = Messaggio("0259").arg(Nativo(file)).arg(lettura.righe.size());
    const QStringList presenti = legame->Data1() ? legame->Data1()->ElencoNomi()->stringList() : QStringList();
    const std::set<QString> nomi(presenti.begin(), presenti.end());
    std::size_t omonimi = 0;
    for (const archivio::Riga& r : lettura.righe)
        omonimi += nomi.count(QString::fromStdString(r[archivio::ColonnaNome]));
    if (omonimi) testo += QLatin1Char(' ') + Messaggio("0260").arg(omonimi);
    if (!lettura.rifiutate.empty()) {
        testo += QStringLiteral("\n\n") + Messaggio("0261").arg(lettura.rifiutate.size());
        const std::size_t mostrate = std::min<std::size_t>(lettura.rifiutate.size(), 20);
        for (std::size_t i = 0; i < mostrate; ++i) testo += QLatin1Char('\n') + DescriviRifiuto(lettura.rifiutate[i]);
        if (mostrate < lettura.rifiutate.size()) testo += QStringLiteral("\n…");
    }
    if (lettura.righe.empty()) {
        MostraMessaggio(finestra, testo + QStringLiteral("\n\n") + Messaggio("0276"));
        return;
    }
    testo += QStringLiteral("\n\n") + Messaggio("0271");
    if (MostraMessaggio(finestra, testo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) !=
            QMessageBox::Yes ||
        !legame->ScriviModifiche())
        return;
    if (archivio::Esito e = legame->AggiungiAtleti(lettura.righe); !e) {
        MostraMessaggio(finestra, Messaggio("0276") + QStringLiteral("\n\n") + Messaggio("0088") +
                                      QStringLiteral(": ") + DescriviMotivo(e.errore()) + QLatin1Char('.'));
        return;
    }
    Informa(finestra, Messaggio("0275").arg(lettura.righe.size()).arg(Nativo(file)));
}

void SalvaCopiaArchivio(QWidget* finestra, LegameArchivio* legame) {
    if (!Pronto(finestra, legame)) return;
    const QString file = ConEstensione(Servizi().salva(finestra, Messaggio("0253").remove(QStringLiteral("...")),
                                                       QStringLiteral("tvp %1.dmg").arg(Oggi()), Messaggio("0256")),
                                       QStringLiteral(".dmg"));
    if (file.isEmpty() || !legame->ScriviModifiche()) return;
    if (QFileInfo(file).absoluteFilePath() == QFileInfo(legame->FileArchivio()).absoluteFilePath()) {
        AvvisaErrore(finestra, "0278", file, archivio::Errore{archivio::Motivo::InUso, 0, 0, {}});
        return;
    }
    if (archivio::Esito e = legame->Connessione().CopiaIn(Percorso(file)); !e) {
        AvvisaErrore(finestra, "0278", file, e.errore());
        return;
    }
    Informa(finestra, Messaggio("0277").arg(Nativo(file)).arg(legame->NumeroRighe()));
}

void RipristinaCopiaArchivio(QWidget* finestra, LegameArchivio* legame) {
    if (!legame) return;
    const QString copia = Servizi().apri(finestra, Messaggio("0254").remove(QStringLiteral("...")), Messaggio("0256"));
    if (copia.isEmpty()) return;
    const QString data = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm"));
    const auto archivioFile = Percorso(legame->FileArchivio());
    if (archivio::Esito e = archivio::VerificaCopia(Percorso(copia)); !e) {
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
    const archivio::Esito e = legame->SostituisciArchivio(
        [&] { return archivio::RipristinaArchivio(archivioFile, Percorso(copia), data.toStdString(), tenuto); });
    if (!e) {
        MostraMessaggio(finestra, Messaggio("0282") + QStringLiteral("\n\n") + Messaggio("0088") +
                                      QStringLiteral(": ") + DescriviMotivo(e.errore()) + QLatin1Char('.'));
        return;
    }
    Informa(finestra, Messaggio("0280").arg(Nativo(copia), Nativo(QString::fromStdString(tenuto.string()))));
}

void PreparaPulsanteReport(QToolButton* pulsante, QWidget* finestra, LegameArchivio* legame) {
    pulsante->setIcon(IconaSvg(pulsante->property("immagine").toString(), {20, 40}));
    QObject::connect(pulsante, &QToolButton::clicked, finestra,
                     [finestra, legame] { StampaReportAtletaMostrato(finestra, legame); });
}

void PreparaMenuDati(QToolButton* pulsante, QWidget* finestra, LegameArchivio* legame) {
    pulsante->setIcon(IconaSvg(pulsante->property("immagine").toString(), {20, 40}));
    auto* menu = new QMenu(pulsante);
    pulsante->setMenu(menu);
    pulsante->setPopupMode(QToolButton::InstantPopup);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, finestra, legame] {
        menu->clear();
        menu->addAction(Messaggio("0250"), finestra,
                        [finestra, legame] { StampaReportAtletaMostrato(finestra, legame); });
        menu->addSeparator();
        menu->addAction(Messaggio("0251"), finestra, [finestra, legame] { EsportaArchivioCsv(finestra, legame); });
        menu->addAction(Messaggio("0252"), finestra, [finestra, legame] { ImportaArchivioCsv(finestra, legame); });
        menu->addSeparator();
        menu->addAction(Messaggio("0253"), finestra, [finestra, legame] { SalvaCopiaArchivio(finestra, legame); });
        menu->addAction(Messaggio("0254"), finestra, [finestra, legame] { RipristinaCopiaArchivio(finestra, legame); });
    });
}
