#include "Avvio.h"

#include "AvvisiArchivio.h"
#include "Calendario.h"
#include "CartelleProgramma.h"
#include "Collegamenti.h"
#include "FileSistema.h"
#include "Globali.h"
#include "GuidaChm.h"
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
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QStandardPaths>

void ImpostaApplicazione() {
    InizializzaRisorse();
    // The short name names the user's data folder (~/.local/share/tovarin);
    // the desktop file gives the windows the menu entry's icon.
    QApplication::setApplicationName(QStringLiteral("tovarin"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.tovarin"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(VersioneMaggiore).arg(VersioneMinore).arg(VersioneRevisione));
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

void AvvisaSeLinguaInutilizzabile(QWidget* finestra) {
    const auto file = modLanguageSupport::FileLinguaInutilizzabile();
    if (!file) return;
    // No language file to take the words from: both languages, built in.
    const QString nome = QDir::toNativeSeparators(QString::fromStdString(file->string()));
    MostraMessaggio(finestra,
                    QStringLiteral("Il file della lingua \"%1\" manca o è danneggiato: le finestre mostrano i testi "
                                   "originali e alcuni messaggi possono restare vuoti. Reinstallare il programma.\n\n"
                                   "The language file \"%1\" is missing or damaged: the windows show their original "
                                   "texts and some messages may be empty. Please reinstall the program.")
                        .arg(nome));
}

std::unique_ptr<mdi> AvviaProgramma() {
    auto principale = std::make_unique<mdi>();
    principale->ImpostaFinestre(
        [](QWidget* g) { return new frmAtleti(g); }, [](QWidget* g) { return new frmScheda(g); },
        [](QWidget* g) { return new frmCondizione(g); }, [](QWidget* g) { return new frmInformazioniSu(g); });
    principale->show();
    principale->MostraFiglio(new frmMain);
    AvvisaSeLinguaInutilizzabile(principale.get());
    return principale;
}
