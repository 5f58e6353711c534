#include "AtletaCorrente.h"

#include "Percorso.h"
#include "modLanguageSupport.h"

#include <QFile>

QString PercorsoArchivio;
QString NomeAtletaCorrente;
std::optional<std::int64_t> RigaAtletaCorrente;
bool AtletaCorrenteVuoto = false;

QString PercorsoArchivioPredefinito() { return NomeDi(modLanguageSupport::CartellaDatiInUso() / "tvp.dmg"); }
