#include "Avvio.h"

#include "ArchivioPrecedente.h"
#include "AtletaCorrente.h"
#include "AvvisiArchivio.h"
#include "Calendario.h"
#include "CartelleProgramma.h"
#include "ChiaveArchivio.h"
#include "Collegamenti.h"
#include "FileSistema.h"
#include "Globali.h"
#include "GuidaChm.h"
#include "IdMessaggiRigaDiComando.h"
#include "Messaggio.h"
#include "Percorso.h"
#include "RegoleCampi.h"
#include "Risorse.h"
#include "Stili.h"
#include "TestiRiserva.h"
#include "frmAtleti.h"
#include "frmCondizione.h"
#include "frmGuida.h"
#include "frmInformazioniSu.h"
#include "frmMain.h"
#include "frmScheda.h"
#include "frmStorico.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QStandardPaths>

void ImpostaApplicazione() {
    InizializzaRisorse();
    // The short name names the user's data folder (~/.local/share/tovarin);
    // the desktop file gives the windows the menu entry's icon.
    QApplication::setApplicationName(QStringLiteral("tovarin"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.tovarin"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(QString::number(VersioneMaggiore), QString::number(VersioneMinore),
                                                 QString::number(VersioneRevisione)));
    QApplication::setWindowIcon(IconaSvg(QStringLiteral(":/immagini/icona.svg"), {16, 32}));
    ImpostaCaratteri();
    ImpostaGestoreGuida(MostraGuidaChm);

    ImpostaCartelle(TrovaCartelle(QCoreApplication::applicationDirPath(),
                                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    // What an earlier run cut short (killed, a power cut) left behind: the
    // temporary files of a backup, a restore, an export or the settings.
    const auto dati = modLanguageSupport::CartellaDatiInUso();
    sistema::ImpostaRegistroProvvisori(dati / "provvisori.lst");
    sistema::RimuoviProvvisoriAbbandonati({dati});
    Calendario::ImpostaServizi(
        {[] {
             const QDate oggi = QDate::currentDate();
             return Calendario::Data{oggi.year(), oggi.month(), oggi.day()};
         },
         [](std::string_view testo) {
             return LeggiDataRegionale(QLocale::system(),
                                       QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size())));
         },
         [](const Calendario::Data& d) { return ScriviDataRegionale(QLocale::system(), d).toStdString(); }});
}

QString ProblemaCartellaDatiInUso() {
    // A portable copy keeps its archive in its own folder, shared or not.
    if (modLanguageSupport::CartellaDati.empty() ||
        modLanguageSupport::CartellaDati == modLanguageSupport::CartellaApplicazione)
        return {};
    return ProblemaCartellaDati(NomeDi(modLanguageSupport::CartellaDati));
}

QString TestoProblemaLingua() {
    const auto problema = modLanguageSupport::ControllaLingua();
    if (!problema) return {};
    const QString nome = QDir::toNativeSeparators(QString::fromStdString(problema->file.string()));
    using Tipo = modLanguageSupport::ProblemaLingua::Tipo;
    switch (problema->tipo) {
    case Tipo::LinguaSconosciuta:
        return Messaggio(msg::LinguaSconosciuta).arg(nome, QString::fromStdString(modLanguageSupport::LinguaCorrente));
    case Tipo::FileIllegibile: return Messaggio(msg::FileLinguaIlleggibile).arg(nome);
    case Tipo::TestiMancanti:
        return problema->mancanti == 1 ? Messaggio(msg::TestoMancante).arg(nome)
                                       : Messaggio(msg::TestiMancanti).arg(nome, QString::number(problema->mancanti));
    }
    return {};
}

void AvvisaSeLinguaInutilizzabile(QWidget* finestra) {
    if (const QString testo = TestoProblemaLingua(); !testo.isEmpty()) MostraMessaggio(finestra, testo);
}

std::unique_ptr<mdi> AvviaProgramma() {
    auto principale = std::make_unique<mdi>();
    principale->ImpostaFinestre(
        [](QWidget* g) { return new frmAtleti(g); }, [](QWidget* g) { return new frmScheda(g); },
        [](QWidget* g) { return new frmCondizione(g); }, [](QWidget* g) { return new frmInformazioniSu(g); });
    principale->ImpostaStorico([](QWidget* g) { return new frmStorico(g); });
    principale->show();
    principale->MostraFiglio(new frmMain);
    AvvisaSeLinguaInutilizzabile(principale.get());
    // The earlier program's "tvp.dmg", brought by a coach who switches: its
    // athletes come along if the coach wants, before any window opens it.
    const QString archivio = PercorsoArchivio.isEmpty() ? PercorsoArchivioPredefinito() : PercorsoArchivio;
    OffriConversioneArchivioPrecedente(principale.get(), archivio);
    // An archive with a passphrase: asked now; cancelled, it is asked again
    // when an athlete window opens.
    ChiediPassphraseArchivio(principale.get(), archivio);
    return principale;
}
