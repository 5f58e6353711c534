// The coach's own key: an archive may be locked by a passphrase of the
// coach's, from which the program derives the key it is encrypted with. An
// archive without one opens with the program's fixed key, as ever.
//
// The key: PBKDF2-HMAC-SHA512 of the passphrase (UTF-8), IterazioniChiave
// rounds, salted with the archive file's own 16-byte salt (its first 16
// bytes), 32 bytes; given to SQLCipher as a raw key with that salt, so that
// SQLCipher derives nothing itself. The page settings stay the archive's
// (SqlFormatoCifratura): the same file opens on SQLCipher 3 and 4.
//
// The derived key is held in one buffer, shared by the connections that use
// it and wiped when the last of them lets it go; the passphrase is wiped as
// soon as the key is derived. Neither is ever written to a file.
#pragma once

#include "Archivio.h"
#include "Segreto.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace archivio {

// Rounds of PBKDF2-HMAC-SHA512: about 0.3 s of one core on a coach's
// computer, every guess of a passphrase as slow.
inline constexpr int IterazioniChiave = 400000;
inline constexpr std::size_t LunghezzaSale = 16;
inline constexpr std::size_t LunghezzaChiave = 32;
using Sale = std::array<std::uint8_t, LunghezzaSale>;

// The key an archive is opened with: the program's fixed one (a default
// Chiave), or one derived from a passphrase. Copies share one buffer, wiped
// when the last copy goes.
class Chiave {
public:
    // The program's fixed key.
    Chiave() = default;
    // The key of `frase` with `sale` (the slow derivation).
    static Chiave Deriva(const sistema::Segreto& frase, const Sale& sale);
    // True for a key derived from a passphrase.
    bool personale() const { return materiale_ != nullptr; }
    // The salt of a key from a passphrase (zeros for the fixed key).
    Sale sale() const;
    // True when both are the same key.
    friend bool operator==(const Chiave& a, const Chiave& b);

    // Gives the key to a connection's database `schema` ("main", or an
    // attached one) through sqlite3_key_v2, then the archive's cipher
    // settings. SQLite's result code.
    int Applica(sqlite3* db, const char* schema = "main") const;
    // Attaches the file `file` as `schema` under this key (its pages in the
    // archive's format). SQLite's result code.
    int Allega(sqlite3* db, const std::filesystem::path& file, const char* schema) const;

private:
    struct Materiale;
    std::shared_ptr<const Materiale> materiale_;
};

// 16 random bytes from the system's generator: the salt of a new key.
Sale NuovoSale();

// The salt of an archive file (its first 16 bytes); nothing when it cannot
// be read or is shorter, the reason in `errore`.
std::optional<Sale> SaleDelFile(const std::filesystem::path& file, Errore& errore);

// The key of an archive unlocked in this run, used by every later opening of
// the same file (Archivio::Apri without a key, the shared connection), so
// that no window derives it again. Kept by the file's path as given.
void RicordaChiave(const std::filesystem::path& file, const Chiave& chiave);
std::optional<Chiave> ChiaveRicordata(const std::filesystem::path& file);
// The archive locked again: its key forgotten (wiped once no connection
// holds it). Connections already open keep it until they close.
void DimenticaChiave(const std::filesystem::path& file);
void DimenticaChiavi();

// True when the file is an archive locked by a passphrase: the fixed key
// does not open it, and it looks like an encrypted database (a whole number
// of 1 KB pages, not a plain SQLite file).
bool HaPassphrase(const std::filesystem::path& file);

// Unlocks the archive `file` with `frase`: the key derived with the file's
// salt and tried on it; when it opens it, it is remembered (RicordaChiave).
// PassphraseErrata when it does not open it. The passphrase is not kept.
Esito Sblocca(const std::filesystem::path& file, const sistema::Segreto& frase);

// Sets, changes or removes the passphrase of the archive `file`.
// `attuale`: the key it opens with now (the fixed one when it has none);
// `nuova`: the new passphrase, or nothing to remove it. The archive is
// rewritten under the new key into a new file beside it, checked (opened
// under the new key, the schema checked, the same number of athletes,
// fittings and tests), synced, then renamed over the archive: whenever the
// program is stopped the file is the archive whole, under the old key or
// the new one. On success the new key is remembered for `file`. No
// connection may write to the file meanwhile.
Esito CambiaPassphrase(const std::filesystem::path& file, const Chiave& attuale, const sistema::Segreto* nuova);

// Asks the coach for the passphrase of `file` (a backup to restore):
// `errata` is true when the one given before did not open it. False when the
// coach gives up.
using ChiediPassphrase = std::function<bool(const std::filesystem::path& file, bool errata, sistema::Segreto& frase)>;

// The key a file opens with: the fixed one, or the one of the passphrase
// `chiedi` is asked for until it opens it (PassphraseErrata each time it
// does not, then asked again). PassphraseRichiesta when the file has a
// passphrase and there is no `chiedi`, or the coach gives up.
Esito ChiaveDelFile(const std::filesystem::path& file, const ChiediPassphrase& chiedi, Chiave& chiave);

}  // namespace archivio
