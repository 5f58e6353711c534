#include "AtletaCorrente.h"

QString PercorsoArchivio;
QString NomeAtletaCorrente;
std::optional<std::int64_t> RigaAtletaCorrente;
