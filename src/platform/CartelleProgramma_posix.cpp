// The Linux half of CartelleProgramma.h: the data folder judged by its
// owner and mode bits.
#include "CartelleProgramma.h"

#include "Messaggio.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

QString ProblemaCartellaDati(const QString& cartella) {
    struct stat info {};
    if (::stat(QFile::encodeName(cartella).constData(), &info) != 0) return {};
    const QString nome = QDir::toNativeSeparators(cartella);
    if (!S_ISDIR(info.st_mode)) return Messaggio("0324").arg(nome, Messaggio("0329"), Messaggio("0328"));
    if (info.st_uid != ::geteuid()) return Messaggio("0324").arg(nome, Messaggio("0325"), Messaggio("0328"));
    if ((info.st_mode & 022) != 0) return Messaggio("0324").arg(nome, Messaggio("0326"), Messaggio("0327").arg(nome));
    return {};
}
