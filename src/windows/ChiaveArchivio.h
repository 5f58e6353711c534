// The archive's passphrase as the windows use it, over the archive's own
// calls: whether the file has one, opening it with one (its key then kept in
// memory for every connection), locking it again, and setting, changing or
// removing it. What a passphrase tried did is told as the passphrase dialog
// takes it.
#pragma once

#include "ChiavePersonale.h"
#include "frmChiave.h"

#include <QString>

#include <filesystem>

namespace chiave {

// The path of a file named in the windows, as the archive's calls take it.
std::filesystem::path Percorso(const QString& file);

// The file has a passphrase: the program's own key does not open it.
bool ArchivioProtetto(const QString& file);
// The archive is open under a passphrase now: its key is held in memory.
bool ChiaveInMemoria();
// The passphrase tried on the file: right, its key is kept for every
// connection until Blocca.
frmChiave::Prova Sblocca(const QString& file, const PassphraseDigitata& passphrase);
// The shared connection closed and the key wiped.
void Blocca();
// The passphrase set (`attuale` none), changed, or removed (`nuova` none):
// the file rewritten under the new key. The caller closes its connections
// first.
frmChiave::Prova CambiaPassphrase(const QString& file, const PassphraseDigitata* attuale,
                                  const PassphraseDigitata* nuova);

}  // namespace chiave

// A backup's passphrase asked with the same dialog over `finestra`, for the
// archive's checks and restore: a wrong one said and asked again; the one
// given kept (in the wiped buffer) while the callback lives, so that the
// check and the restore that follows ask once.
archivio::ChiediPassphrase ChiediPassphraseCopia(QWidget* finestra);

// The archive's passphrase asked over `finestra` when the file has one and
// its key is not held yet; true when the archive can be opened now (it has
// no passphrase, or the right one was typed).
bool ChiediPassphraseArchivio(QWidget* finestra, const QString& file);
