#include "CartelleProgramma.h"

#include "FileSistema.h"
#include "Percorso.h"

#include "Messaggio.h"
#include "modLanguageSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef TOVARIN_CARTELLA_FILE_INSTALLATI
#error "TOVARIN_CARTELLA_FILE_INSTALLATI must give the installed data folder relative to the program's"
#endif

namespace {

// The program's own files travel with it in a portable copy.
bool HaIFileDelProgramma(const QString& cartella) {
    return QFileInfo::exists(cartella + QLatin1String("/italian.lng")) ||
           QFileInfo::exists(cartella + QLatin1String("/english.lng"));
}

// The user's folder, owner-only when this creates it; an existing one is left
// as the user keeps it.
void PreparaCartellaUtente(const QString& cartella) {
    const QFileInfo info(cartella);
    if (info.isDir()) return;
    QDir().mkpath(info.absolutePath());
    sistema::CreaCartellaPrivata(PercorsoDa(cartella));
}

// Copies a file the program folder holds and the user's folder lacks, whole
// or not at all, owner-only.
void CopiaSeManca(const QString& da, const QString& a) {
    if (!QFileInfo::exists(da) || QFileInfo::exists(a)) return;
    sistema::CopiaInNuovoFile(PercorsoDa(da), PercorsoDa(a));
}

}  // namespace

bool CartellaScrivibile(const QString& cartella) { return sistema::CartellaScrivibile(PercorsoDa(cartella)); }

CartelleProgramma TrovaCartelle(const QString& cartellaProgramma, const QString& cartellaUtente) {
    CartelleProgramma cartelle{cartellaProgramma, cartellaProgramma};
    const QString installati =
        QDir::cleanPath(cartellaProgramma + QLatin1Char('/') + QLatin1String(TOVARIN_CARTELLA_FILE_INSTALLATI));
    const bool portatile = HaIFileDelProgramma(cartellaProgramma) || !HaIFileDelProgramma(installati);
    if (!portatile)
        cartelle.applicazione = installati;
    else if (CartellaScrivibile(cartellaProgramma))
        return cartelle;
    if (cartellaUtente.isEmpty()) return cartelle;

    PreparaCartellaUtente(cartellaUtente);
    cartelle.dati = cartellaUtente;
    if (portatile) {
        for (const char* nome : {"tvp.dmg", "LangSetting.ini"})
            CopiaSeManca(cartellaProgramma + QLatin1Char('/') + QLatin1String(nome),
                         cartellaUtente + QLatin1Char('/') + QLatin1String(nome));
    }
    return cartelle;
}

void ImpostaCartelle(const CartelleProgramma& cartelle) {
    modLanguageSupport::CartellaApplicazione = PercorsoDa(cartelle.applicazione);
    modLanguageSupport::CartellaDati = PercorsoDa(cartelle.dati);
}
