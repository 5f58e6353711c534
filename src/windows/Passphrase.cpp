#include "Passphrase.h"

#include "IdMessaggiChiave.h"
#include "Messaggio.h"
#include "modLanguageSupport.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSet>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

namespace {

// Below this many bits a passphrase is weak, from the second on strong.
constexpr int BitDiscreta = 50;
constexpr int BitForte = 75;

void Azzera(QByteArray& byte) {
    if (byte.isEmpty()) return;
    // Through a volatile pointer, so that the compiler keeps the writes.
    volatile char* p = byte.data();
    for (qsizetype i = 0; i < byte.size(); ++i) p[i] = 0;
    byte.clear();
}

}  // namespace

StimaForza StimaPassphrase(const QString& passphrase) {
    bool minuscole = false, maiuscole = false, cifre = false, altri = false;
    QSet<uint> diversi;
    int lunghezza = 0;
    for (const uint c : passphrase.toUcs4()) {
        ++lunghezza;
        diversi.insert(c);
        const QString s = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        const QChar q = s.at(0);
        if (c < 0x80 && q.isDigit())
            cifre = true;
        else if (q.isLower())
            minuscole = true;
        else if (q.isUpper())
            maiuscole = true;
        else
            altri = true;
    }
    const int insieme = (minuscole ? 26 : 0) + (maiuscole ? 26 : 0) + (cifre ? 10 : 0) + (altri ? 33 : 0);
    // A character that comes back adds little: "aaaaaaaaaa" is as weak as "aa".
    const int efficace = std::min(lunghezza, 2 * static_cast<int>(diversi.size()));
    const int bit = insieme ? static_cast<int>(efficace * std::log2(static_cast<double>(insieme))) : 0;
    Forza forza = Forza::Debole;
    if (lunghezza >= LunghezzaMinimaPassphrase && bit >= BitForte)
        forza = Forza::Forte;
    else if (lunghezza >= LunghezzaMinimaPassphrase && bit >= BitDiscreta)
        forza = Forza::Discreta;
    return {forza, bit};
}

QString TestoForza(Forza forza) {
    switch (forza) {
    case Forza::Debole: return Messaggio(msg::Debole);
    case Forza::Discreta: return Messaggio(msg::Discreta);
    case Forza::Forte: return Messaggio(msg::Forte);
    }
    return {};
}

std::optional<bool> CapsLockDaiTasti(const QString& testo, bool maiuscolo) {
    if (testo.size() != 1 || !testo.at(0).isLetter()) return std::nullopt;
    const QChar c = testo.at(0);
    if (c.isUpper()) return !maiuscolo;
    if (c.isLower()) return maiuscolo;
    return std::nullopt;  // a letter without case
}

AvvisoMaiuscole::AvvisoMaiuscole(QLabel* avviso) : QObject(avviso), avviso_(avviso) { avviso->setVisible(false); }

void AvvisoMaiuscole::Osserva(QLineEdit* box) {
    box->installEventFilter(this);
    box_.append(box);
}

bool AvvisoMaiuscole::eventFilter(QObject* oggetto, QEvent* evento) {
    switch (evento->type()) {
    case QEvent::FocusIn: Mostra(CapsLockDelSistema().has_value() ? CapsLockDelSistema() : attivo_); break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* tasto = static_cast<QKeyEvent*>(evento);
        if (const auto sistema = CapsLockDelSistema()) {
            Mostra(sistema);
        } else if (evento->type() == QEvent::KeyPress) {
            if (tasto->key() == Qt::Key_CapsLock && attivo_)
                Mostra(!*attivo_);
            else if (const auto dai = CapsLockDaiTasti(tasto->text(), tasto->modifiers().testFlag(Qt::ShiftModifier)))
                Mostra(dai);
        }
        break;
    }
    default: break;
    }
    return QObject::eventFilter(oggetto, evento);
}

void AvvisoMaiuscole::Mostra(std::optional<bool> attivo) {
    attivo_ = attivo;
    if (!avviso_) return;
    avviso_->setVisible(attivo.value_or(false));
    for (QLineEdit* box : box_)
        if (box) box->setAccessibleDescription(attivo.value_or(false) ? avviso_->text() : QString());
}

int MinutiBloccoImpostati() {
    std::string testo;
    try {
        testo = modLanguageSupport::LeggiIni(modLanguageSupport::FileImpostazioni(), "Archive", "LockMinutes");
    } catch (const modLanguageSupport::ErroreIni&) {
        return 0;
    }
    int minuti = 0;
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), minuti);
    if (errore != std::errc() || fine != testo.data() + testo.size()) return 0;
    return std::find(std::begin(MinutiBlocco), std::end(MinutiBlocco), minuti) != std::end(MinutiBlocco) ? minuti : 0;
}

bool ImpostaMinutiBlocco(int minuti) {
    if (std::find(std::begin(MinutiBlocco), std::end(MinutiBlocco), minuti) == std::end(MinutiBlocco)) minuti = 0;
    char testo[8];
    const auto fine = std::to_chars(testo, testo + sizeof testo, minuti).ptr;
    return modLanguageSupport::ScriviIni(modLanguageSupport::FileImpostazioni(), "Archive", "LockMinutes",
                                         std::string_view(testo, static_cast<std::size_t>(fine - testo)));
}

PassphraseDigitata::PassphraseDigitata(const QString& testo) {
    QByteArray byte = testo.toUtf8();
    segreto_ = sistema::Segreto(std::string_view(byte.constData(), static_cast<std::size_t>(byte.size())));
    Azzera(byte);
}

// Last in the file: the system headers define names (KeyPress, Bool) that
// Qt's own would meet.
#if defined(TOVARIN_XKB)
#include <X11/XKBlib.h>
#endif
#if defined(Q_OS_WIN)
#include <windows.h>
#endif

std::optional<bool> CapsLockDelSistema() {
#if defined(TOVARIN_XKB)
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display* schermo = x11->display()) {
            XkbStateRec stato{};
            if (XkbGetState(schermo, XkbUseCoreKbd, &stato) == Success) return (stato.locked_mods & LockMask) != 0;
        }
    }
#elif defined(Q_OS_WIN)
    return (GetKeyState(VK_CAPITAL) & 1) != 0;
#endif
    return std::nullopt;
}
