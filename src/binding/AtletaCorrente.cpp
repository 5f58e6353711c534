#include "AtletaCorrente.h"

#include "modLanguageSupport.h"

#include <QFile>

QString PercorsoArchivio;
QString NomeAtletaCorrente;
std::optional<std::int64_t> RigaAtletaCorrente;
bool AtletaCorrenteVuoto = false;

QString PercorsoArchivioPredefinito() {
    return QFile::decodeName(QByteArray::fromStdString((modLanguageSupport::CartellaDatiInUso() / "tvp.dmg").string()));
}
