// The two values every athlete window shares: where the archive is, and the
// athlete the next athlete window opens on.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Full path of the archive file: data folder + "/tvp.dmg".
extern QString PercorsoArchivio;

// The archive file in the data folder in use: what PercorsoArchivio is set to
// at start, and what is used while it is still empty.
QString PercorsoArchivioPredefinito();

// The name of the athlete the next athlete window opens on; written when an
// athlete window closes (ChiudiFinestre and the windows' own unload).
extern QString NomeAtletaCorrente;

// The row of that athlete in the archive, carried beside the name: the next
// window opens on this very row while its name still matches (two athletes
// may share a name, a row may have none), else it searches by name.
extern std::optional<std::int64_t> RigaAtletaCorrente;

// True when the last athlete window showed no athlete of the archive (a new,
// blank one, or the end): the next window opens blank as well, never on the
// first athlete, whose name box would then take what the coach types next.
extern bool AtletaCorrenteVuoto;
