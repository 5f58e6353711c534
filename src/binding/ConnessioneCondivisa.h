// The one connection to the archive file that the program's windows share:
// opened, and its key derived, when the first athlete window needs it, then
// kept for the program's run, so that going from one window to the next
// costs no new key derivation. The write and failure rules are the file's
// own (Archivio): each window still writes its row in its own transaction.
#pragma once

#include "Archivio.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace archivio {

// The shared connection to `file`: the one already open when it is still
// this very file (not removed or replaced meanwhile), else a new one. A file
// that cannot be opened gives no connection and the reason in `esito`, and is
// tried again next time.
std::shared_ptr<Archivio> ConnessioneCondivisa(const std::filesystem::path& file, Esito& esito);

// Asked when the file has a passphrase whose key this run does not hold
// yet (the windows ask the coach for it): true when it can now be opened,
// and it is opened again. None: the file is not opened, PassphraseRichiesta.
using RichiestaPassphrase = std::function<bool(const std::filesystem::path& file)>;
void ImpostaRichiestaPassphrase(RichiestaPassphrase richiesta);

// Lets the shared connection go (before the file is replaced); windows that
// still hold it keep it until they let it go too.
void ChiudiConnessioneCondivisa();

}  // namespace archivio
