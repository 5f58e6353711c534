#include "ScritturaFile.h"

#include "Archivio.h"
#include "AvvisiArchivio.h"
#include "FileSistema.h"
#include "Percorso.h"

#include <QFile>

bool ScriviFileIntero(const QString& file, const QByteArray& byte, QString* motivo) {
    const auto errore =
        sistema::ScriviFileAtomico(PercorsoDa(file), std::string_view(byte.constData(), byte.size()),
                                   std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    if (!errore) return true;
    if (motivo) *motivo = DescriviMotivo(archivio::ErroreDiSistema(errore->numero, errore->dettaglio));
    return false;
}
