#include "LettoreChm.h"

#include "IdMessaggiProgramma.h"
#include "Messaggio.h"
#include "modLanguageSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <chm_lib.h>

#include <cstring>
#include <utility>

namespace {

// chmlib keeps object paths in fixed buffers of this many bytes.
constexpr int LunghezzaMassimaPercorso = CHM_MAX_PATHLEN;

bool RisolviOggetto(chmFile* file, const QString& percorso, chmUnitInfo& info) {
    if (file == nullptr || percorso.isEmpty() || percorso.endsWith(QLatin1Char('/'))) return false;
    const QByteArray nome = percorso.toUtf8();
    if (nome.size() >= LunghezzaMassimaPercorso) return false;
    std::memset(&info, 0, sizeof info);
    if (chm_resolve_object(file, nome.constData(), &info) != CHM_RESOLVE_SUCCESS) return false;
    // A folder entry has a name ending with "/" and no data.
    const auto lunghezzaNome = ::strnlen(info.path, sizeof info.path);
    return lunghezzaNome == 0 || info.path[lunghezzaNome - 1] != '/';
}

// The whole object at an object path; Errore::Nessuno in esito on success.
std::optional<QByteArray> LeggiOggetto(chmFile* file, const QString& percorso, LettoreChm::Errore& esito) {
    chmUnitInfo info;
    if (!RisolviOggetto(file, percorso, info)) {
        esito = LettoreChm::Errore::OggettoMancante;
        return std::nullopt;
    }
    esito = LettoreChm::Errore::OggettoIlleggibile;
    if (info.length > static_cast<LONGUINT64>(LettoreChm::DimensioneMassimaOggetto)) return std::nullopt;
    const auto lunghezza = static_cast<qsizetype>(info.length);
    QByteArray dati(lunghezza, Qt::Uninitialized);
    qsizetype letti = 0;
    while (letti < lunghezza) {
        const LONGINT64 n = chm_retrieve_object(file, &info, reinterpret_cast<unsigned char*>(dati.data()) + letti,
                                                static_cast<LONGUINT64>(letti), lunghezza - letti);
        if (n <= 0) break;
        letti += static_cast<qsizetype>(n);
    }
    if (letti != lunghezza) return std::nullopt;
    esito = LettoreChm::Errore::Nessuno;
    return dati;
}

int AggiungiAllElenco(chmFile*, chmUnitInfo* info, void* contesto) {
    auto* elenco = static_cast<QStringList*>(contesto);
    const QString nome = QString::fromUtf8(info->path, static_cast<int>(::strnlen(info->path, sizeof info->path)));
    // The compiler's own objects: "/#SYSTEM", "/$FIftiMain", "::DataSpace/...".
    if (nome.startsWith(QLatin1Char('/')) && !nome.startsWith(QLatin1String("/#")) &&
        !nome.startsWith(QLatin1String("/$")) && !nome.endsWith(QLatin1Char('/')))
        elenco->append(nome);
    return CHM_ENUMERATOR_CONTINUE;
}

// Resolves "." and ".." in an absolute object path.
QString NormalizzaSegmenti(const QString& percorso) {
    const QStringList parti = percorso.split(QLatin1Char('/'));
    QStringList risultato;
    for (qsizetype i = 0; i < parti.size(); ++i) {
        const QString& parte = parti[i];
        const bool ultima = i == parti.size() - 1;
        if (parte == QLatin1String("..")) {
            if (!risultato.isEmpty()) risultato.removeLast();
        } else if (parte == QLatin1String(".") || (parte.isEmpty() && !ultima)) {
            continue;
        } else {
            risultato.append(parte);
        }
    }
    return QLatin1Char('/') + risultato.join(QLatin1Char('/'));
}

}  // namespace

LettoreChm::LettoreChm(const QString& fileChm) { apri(fileChm); }

LettoreChm::~LettoreChm() { chiudi(); }

LettoreChm::LettoreChm(LettoreChm&& altro) noexcept
    : file_(std::exchange(altro.file_, nullptr)),
      percorso_(std::move(altro.percorso_)),
      errore_(altro.errore_),
      oggettoErrore_(std::move(altro.oggettoErrore_)) {}

LettoreChm& LettoreChm::operator=(LettoreChm&& altro) noexcept {
    if (this != &altro) {
        chiudi();
        file_ = std::exchange(altro.file_, nullptr);
        percorso_ = std::move(altro.percorso_);
        errore_ = altro.errore_;
        oggettoErrore_ = std::move(altro.oggettoErrore_);
    }
    return *this;
}

bool LettoreChm::apri(const QString& fileChm) {
    chiudi();
    percorso_ = fileChm;
    errore_ = Errore::Nessuno;
    oggettoErrore_.clear();

    const QFileInfo info(fileChm);
    if (fileChm.isEmpty() || !info.exists()) {
        fallisci(Errore::FileMancante);
        return false;
    }
    if (!info.isFile() || !info.isReadable()) {
        fallisci(Errore::FileIlleggibile);
        return false;
    }
    const QByteArray nomeFile = QFile::encodeName(info.absoluteFilePath());
    file_ = chm_open(nomeFile.constData());
    if (file_ == nullptr) {
        fallisci(Errore::FileIlleggibile);
        return false;
    }
    return true;
}

void LettoreChm::chiudi() {
    if (file_ != nullptr) {
        chm_close(file_);
        file_ = nullptr;
    }
}

void LettoreChm::fallisci(Errore errore, const QString& oggetto) const {
    errore_ = errore;
    oggettoErrore_ = oggetto;
}

bool LettoreChm::contiene(const QString& oggetto) const {
    if (file_ == nullptr) {
        fallisci(percorso_.isEmpty() || !QFileInfo::exists(percorso_) ? Errore::FileMancante : Errore::FileIlleggibile,
                 oggetto);
        return false;
    }
    chmUnitInfo info;
    if (!RisolviOggetto(file_, PercorsoOggetto(oggetto), info)) {
        fallisci(Errore::OggettoMancante, oggetto);
        return false;
    }
    errore_ = Errore::Nessuno;
    return true;
}

std::optional<QByteArray> LettoreChm::leggi(const QString& oggetto) {
    if (!contiene(oggetto)) return std::nullopt;
    Errore esito = Errore::Nessuno;
    auto dati = LeggiOggetto(file_, PercorsoOggetto(oggetto), esito);
    if (!dati) {
        fallisci(esito, oggetto);
        return std::nullopt;
    }
    errore_ = Errore::Nessuno;
    return dati;
}

QStringList LettoreChm::elenco() const {
    QStringList risultato;
    if (file_ != nullptr) chm_enumerate(file_, CHM_ENUMERATE_ALL, AggiungiAllElenco, &risultato);
    return risultato;
}

namespace {

// The entries of "/#SYSTEM": a 4-byte version, then records of a 2-byte code,
// a 2-byte length and that many bytes of data, little-endian. Code 0 names the
// table of contents, code 2 the default topic.
QString VoceSistema(const QByteArray& sistema, quint16 codiceCercato) {
    qsizetype posizione = 4;
    while (posizione + 4 <= sistema.size()) {
        const auto byte = [&](qsizetype i) { return static_cast<quint16>(static_cast<unsigned char>(sistema[i])); };
        const quint16 codice = byte(posizione) | static_cast<quint16>(byte(posizione + 1) << 8);
        const quint16 lunghezza = byte(posizione + 2) | static_cast<quint16>(byte(posizione + 3) << 8);
        posizione += 4;
        if (posizione + lunghezza > sistema.size()) break;
        if (codice == codiceCercato) {
            QByteArray valore = sistema.mid(posizione, lunghezza);
            const qsizetype fine = valore.indexOf('\0');
            if (fine >= 0) valore.truncate(fine);
            return QString::fromUtf8(valore);
        }
        posizione += lunghezza;
    }
    return QString();
}

}  // namespace

QString LettoreChm::argomentoPredefinito() const {
    Errore esito = Errore::Nessuno;
    const auto sistema = LeggiOggetto(file_, QStringLiteral("/#SYSTEM"), esito);
    const QString voce = sistema ? VoceSistema(*sistema, 2) : QString();
    return voce.isEmpty() ? QString() : PercorsoOggetto(voce);
}

QString LettoreChm::fileSommario() const {
    Errore esito = Errore::Nessuno;
    const auto sistema = LeggiOggetto(file_, QStringLiteral("/#SYSTEM"), esito);
    const QString voce = sistema ? VoceSistema(*sistema, 0) : QString();
    if (!voce.isEmpty()) return PercorsoOggetto(voce);
    // Some compilers leave the name out: take the first stored .hhc.
    for (const QString& nome : elenco()) {
        if (nome.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive)) return nome;
    }
    return QString();
}

QString LettoreChm::messaggioErrore() const {
    const QString file = QDir::toNativeSeparators(percorso_);
    QString oggetto = oggettoErrore_;
    if (oggetto.startsWith(QLatin1Char('/'))) oggetto.remove(0, 1);
    switch (errore_) {
    case Errore::Nessuno: return QString();
    case Errore::FileMancante: return Messaggio(msg::GuidaMancante).arg(file);
    case Errore::FileIlleggibile: return Messaggio(msg::GuidaIlleggibile).arg(file);
    case Errore::OggettoMancante: return Messaggio(msg::ArgomentoMancante).arg(oggetto, file);
    case Errore::OggettoIlleggibile: return Messaggio(msg::ArgomentoIlleggibile).arg(oggetto, file);
    }
    return QString();
}

QString LettoreChm::PercorsoOggetto(const QString& riferimento, const QString& base) {
    QString r = riferimento.trimmed();
    r.replace(QLatin1Char('\\'), QLatin1Char('/'));

    // "ms-its:Guida.chm::/x.html", "mk:@MSITStore:C:\...\Guida.chm::/x.html", "its:...::/x.html"
    const qsizetype separatore = r.indexOf(QLatin1String("::"));
    if (separatore >= 0 && (r.startsWith(QLatin1String("ms-its:"), Qt::CaseInsensitive) ||
                            r.startsWith(QLatin1String("mk:@msitstore:"), Qt::CaseInsensitive) ||
                            r.startsWith(QLatin1String("its:"), Qt::CaseInsensitive))) {
        r = r.mid(separatore + 2);
        if (!r.startsWith(QLatin1Char('/'))) r.prepend(QLatin1Char('/'));
    }

    const qsizetype frammento = r.indexOf(QLatin1Char('#'));
    if (frammento >= 0) r.truncate(frammento);
    const qsizetype domanda = r.indexOf(QLatin1Char('?'));
    if (domanda >= 0) r.truncate(domanda);
    r = QUrl::fromPercentEncoding(r.toUtf8());

    QString basePulita = base;
    if (!basePulita.isEmpty()) {
        basePulita.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!basePulita.startsWith(QLatin1Char('/'))) basePulita.prepend(QLatin1Char('/'));
    }
    if (r.isEmpty()) return basePulita.isEmpty() ? QString() : NormalizzaSegmenti(basePulita);
    if (!r.startsWith(QLatin1Char('/'))) {
        const QString cartella =
            basePulita.isEmpty() ? QStringLiteral("/") : basePulita.left(basePulita.lastIndexOf(QLatin1Char('/')) + 1);
        r.prepend(cartella);
    }
    return NormalizzaSegmenti(r);
}
