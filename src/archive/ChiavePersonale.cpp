#include "ChiavePersonale.h"

#include <sqlcipher/sqlite3.h>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace archivio {

// The key and its salt, wiped when the last copy of the Chiave goes.
struct Chiave::Materiale {
    std::array<unsigned char, LunghezzaChiave> chiave{};
    Sale sale{};
    Materiale() = default;
    Materiale(const Materiale&) = delete;
    Materiale& operator=(const Materiale&) = delete;
    ~Materiale() {
        OPENSSL_cleanse(chiave.data(), chiave.size());
        OPENSSL_cleanse(sale.data(), sale.size());
    }
};

namespace {

// "x'<64 hex digits of the key><32 of the salt>'": the form in which
// SQLCipher takes a raw key with its salt and derives nothing.
constexpr std::size_t LunghezzaTestoChiave = 2 + 2 * (LunghezzaChiave + LunghezzaSale) + 1;

// The key's text, in a buffer of the caller's that the caller wipes.
void ScriviTestoChiave(const std::array<unsigned char, LunghezzaChiave>& chiave, const Sale& sale,
                       std::array<char, LunghezzaTestoChiave>& testo) {
    static constexpr char Cifre[] = "0123456789ABCDEF";
    std::size_t i = 0;
    testo[i++] = 'x';
    testo[i++] = '\'';
    for (unsigned char b : chiave) {
        testo[i++] = Cifre[b >> 4];
        testo[i++] = Cifre[b & 15];
    }
    for (unsigned char b : sale) {
        testo[i++] = Cifre[b >> 4];
        testo[i++] = Cifre[b & 15];
    }
    testo[i++] = '\'';
}

}  // namespace

Chiave Chiave::Deriva(const sistema::Segreto& frase, const Sale& sale) {
    auto m = std::make_shared<Materiale>();
    m->sale = sale;
    const std::string_view testo = frase.Testo();
    PKCS5_PBKDF2_HMAC(testo.data(), static_cast<int>(testo.size()), sale.data(), static_cast<int>(sale.size()),
                      IterazioniChiave, EVP_sha512(), static_cast<int>(m->chiave.size()), m->chiave.data());
    Chiave c;
    c.materiale_ = std::move(m);
    return c;
}

Sale Chiave::sale() const { return materiale_ ? materiale_->sale : Sale{}; }

bool operator==(const Chiave& a, const Chiave& b) {
    if (a.materiale_ == b.materiale_) return true;
    if (!a.materiale_ || !b.materiale_) return false;
    return a.materiale_->sale == b.materiale_->sale &&
           CRYPTO_memcmp(a.materiale_->chiave.data(), b.materiale_->chiave.data(), LunghezzaChiave) == 0;
}

int Chiave::Applica(sqlite3* db, const char* schema) const {
    int rc = SQLITE_OK;
    if (!materiale_) {
        rc = sqlite3_key_v2(db, schema, ChiaveArchivio.data(), static_cast<int>(ChiaveArchivio.size()));
    } else {
        std::array<char, LunghezzaTestoChiave> testo;
        ScriviTestoChiave(materiale_->chiave, materiale_->sale, testo);
        rc = sqlite3_key_v2(db, schema, testo.data(), static_cast<int>(testo.size()));
        OPENSSL_cleanse(testo.data(), testo.size());
    }
    if (rc != SQLITE_OK) return rc;
    // SQLCipher 4.6 writes every page it cannot decrypt to the standard error
    // (a key tried on an archive with a passphrase): the program says it in
    // its own words. Once a key is given; SQLCipher 3 has no such setting.
    sqlite3_exec(db, "PRAGMA cipher_log_level = NONE;", nullptr, nullptr, nullptr);
    return sqlite3_exec(db, SqlFormatoCifratura(schema).c_str(), nullptr, nullptr, nullptr);
}

int Chiave::Allega(sqlite3* db, const fs::path& file, const char* schema) const {
    const std::string sql = std::string("ATTACH DATABASE ?1 AS \"") + schema + "\" KEY ?2;";
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    std::array<char, LunghezzaTestoChiave> testo;
    if (rc == SQLITE_OK) {
        const std::string nome = file.string();
        sqlite3_bind_text(st, 1, nome.data(), static_cast<int>(nome.size()), SQLITE_TRANSIENT);
        if (materiale_) {
            ScriviTestoChiave(materiale_->chiave, materiale_->sale, testo);
            sqlite3_bind_text(st, 2, testo.data(), static_cast<int>(testo.size()), SQLITE_STATIC);
        } else {
            sqlite3_bind_text(st, 2, ChiaveArchivio.data(), static_cast<int>(ChiaveArchivio.size()), SQLITE_STATIC);
        }
        rc = sqlite3_step(st);
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    OPENSSL_cleanse(testo.data(), testo.size());
    if (rc != SQLITE_OK) return rc;
    return sqlite3_exec(db, SqlFormatoCifratura(schema).c_str(), nullptr, nullptr, nullptr);
}

Sale NuovoSale() {
    Sale s{};
    if (RAND_bytes(s.data(), static_cast<int>(s.size())) != 1) {
        // The system's generator is there on every system the program runs
        // on; without it, the file's random bytes from the kernel.
        if (FILE* f = std::fopen("/dev/urandom", "rb")) {
            if (std::fread(s.data(), 1, s.size(), f) != s.size()) s = {};
            std::fclose(f);
        }
    }
    return s;
}

std::optional<Sale> SaleDelFile(const fs::path& file, Errore& errore) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        errore = ConCartella(ErroreDiSistema(errno, file.string()), file);
        return std::nullopt;
    }
    Sale s{};
    std::size_t letti = 0;
    while (letti < s.size()) {
        const ssize_t n = ::read(fd, s.data() + letti, s.size() - letti);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        letti += static_cast<std::size_t>(n);
    }
    const int numero = errno;
    ::close(fd);
    if (letti < s.size()) {
        errore = letti == 0 && numero ? ErroreDiSistema(numero, file.string())
                                      : Errore{.motivo = Motivo::NonArchivio, .dettaglio = file.string()};
        return std::nullopt;
    }
    return s;
}

namespace {

std::mutex& BloccoChiavi() {
    static std::mutex m;
    return m;
}

std::map<fs::path, Chiave>& Chiavi() {
    static std::map<fs::path, Chiave> c;
    return c;
}

fs::path Nome(const fs::path& file) {
    std::error_code ec;
    fs::path assoluto = fs::absolute(file, ec);
    return (ec ? file : assoluto).lexically_normal();
}

}  // namespace

void RicordaChiave(const fs::path& file, const Chiave& chiave) {
    std::lock_guard blocco(BloccoChiavi());
    if (chiave.personale())
        Chiavi()[Nome(file)] = chiave;
    else
        Chiavi().erase(Nome(file));
}

std::optional<Chiave> ChiaveRicordata(const fs::path& file) {
    std::lock_guard blocco(BloccoChiavi());
    const auto i = Chiavi().find(Nome(file));
    if (i == Chiavi().end()) return std::nullopt;
    return i->second;
}

void DimenticaChiave(const fs::path& file) {
    std::lock_guard blocco(BloccoChiavi());
    Chiavi().erase(Nome(file));
}

void DimenticaChiavi() {
    std::lock_guard blocco(BloccoChiavi());
    Chiavi().clear();
}

bool HaPassphrase(const fs::path& file) {
    Archivio a;
    const Esito e = a.ApriInLettura(file, Chiave());
    return !e && e.errore().motivo == Motivo::PassphraseRichiesta;
}

Esito Sblocca(const fs::path& file, const sistema::Segreto& frase) {
    Errore errore;
    const auto sale = SaleDelFile(file, errore);
    if (!sale) return errore;
    const Chiave chiave = Chiave::Deriva(frase, *sale);
    Archivio a;
    if (Esito e = a.ApriInLettura(file, chiave); !e) return e;
    RicordaChiave(file, chiave);
    return {};
}

Esito ChiaveDelFile(const fs::path& file, const ChiediPassphrase& chiedi, Chiave& chiave) {
    Archivio a;
    Esito e = a.ApriInLettura(file, Chiave());
    if (e || e.errore().motivo != Motivo::PassphraseRichiesta) {
        if (e) chiave = Chiave();
        return e;
    }
    if (!chiedi) return e;
    Errore errore;
    const auto sale = SaleDelFile(file, errore);
    if (!sale) return errore;
    for (bool errata = false;; errata = true) {
        sistema::Segreto frase;
        if (!chiedi(file, errata, frase))
            return Errore{.motivo = Motivo::PassphraseRichiesta, .dettaglio = file.string()};
        const Chiave provata = Chiave::Deriva(frase, *sale);
        frase.Svuota();
        e = a.ApriInLettura(file, provata);
        if (e) {
            chiave = provata;
            return {};
        }
        if (e.errore().motivo != Motivo::PassphraseErrata) return e;
    }
}

Esito CambiaPassphrase(const fs::path& file, const Chiave& attuale, const sistema::Segreto* nuova) {
    if (nuova && (nuova->empty() || !nuova->ok()))
        return Errore{.motivo = Motivo::Altro, .dettaglio = "no passphrase to set"};
    // The file itself, where a link leads: the link stays, and the file it
    // leads to is the one rewritten (never left behind under the old key).
    std::error_code ec;
    const fs::path vero = fs::is_symlink(fs::symlink_status(file, ec)) ? fs::canonical(file, ec) : file;
    if (ec) return ConCartella(ErroreDiSistema(ec.value(), file.string() + ": " + ec.message()), file);
    Archivio a;
    if (Esito e = a.Apri(vero, attuale); !e) return e;
    // The new key, with a salt of its own: the old key opens nothing of the
    // new file, and the same passphrase set again gives another key.
    const Chiave chiave = nuova ? Chiave::Deriva(*nuova, NuovoSale()) : Chiave();
    // The copy under the new key replaces the archive once it is read back
    // whole (CopiaSotto): until that rename the archive is the old file.
    Esito e = a.CopiaSotto(vero, chiave, nullptr);
    a.Chiudi();
    if (!e) return e;
    RicordaChiave(file, chiave);
    if (vero != file) RicordaChiave(vero, chiave);
    return {};
}

}  // namespace archivio
