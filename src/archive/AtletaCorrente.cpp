#include "AtletaCorrente.h"

QString PercorsoArchivio;
QString NomeAtletaCorrente;
