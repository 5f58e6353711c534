// The two values every athlete window shares: where the archive is, and the
// athlete the next athlete window opens on.
#pragma once

#include <QString>

// Full path of the archive file: application folder + "/tvp.dmg".
extern QString PercorsoArchivio;

// The name of the athlete the next athlete window opens on; written when an
// athlete window closes (ChiudiFinestre and the windows' own unload).
extern QString NomeAtletaCorrente;
