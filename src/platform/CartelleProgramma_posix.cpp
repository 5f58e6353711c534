// The Linux half of CartelleProgramma.h: the data folder judged by its
// owner and mode bits.
#include "CartelleProgramma.h"

#include "IdMessaggiProgramma.h"
#include "Messaggio.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

QString ProblemaCartellaDati(const QString& cartella) {
    struct stat info {};
    if (::stat(QFile::encodeName(cartella).constData(), &info) != 0) return {};
    const QString nome = QDir::toNativeSeparators(cartella);
    if (!S_ISDIR(info.st_mode))
        return Messaggio(msg::CartellaNonSicura)
            .arg(nome, Messaggio(msg::NonCartella), Messaggio(msg::RimediSpostaCartella));
    if (info.st_uid != ::geteuid())
        return Messaggio(msg::CartellaNonSicura)
            .arg(nome, Messaggio(msg::DiAltroUtente), Messaggio(msg::RimediSpostaCartella));
    if ((info.st_mode & 022) != 0)
        return Messaggio(msg::CartellaNonSicura)
            .arg(nome, Messaggio(msg::ScrivibileDaAltri), Messaggio(msg::RimediChmod).arg(nome));
    return {};
}
