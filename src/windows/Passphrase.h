// What the windows need around the archive's passphrase: how strong a typed
// passphrase looks, whether Caps Lock is on, the idle lock's time kept in the
// settings, and the passphrase held only as long as it is needed.
#pragma once

#include "Segreto.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

// A passphrase shorter than this is refused, whatever it holds.
inline constexpr int LunghezzaMinimaPassphrase = 8;

// An honest, simple estimate of how hard a passphrase is to guess: its
// length (repeated characters count little) times the bits of the kinds of
// character it uses (lower case, upper case, digits, others).
enum class Forza { Debole, Discreta, Forte };
struct StimaForza {
    Forza forza;
    int bit;  // the estimate, in bits
};
StimaForza StimaPassphrase(const QString& passphrase);
// The word for it, in the coach's language.
QString TestoForza(Forza forza);

// Whether Caps Lock is on, as the system says it; none where it cannot be
// asked (then the letters typed tell, see CapsLockDaiTasti).
std::optional<bool> CapsLockDelSistema();
// What a letter typed says of Caps Lock: an upper-case letter without Shift,
// or a lower-case one with it, means on; the other two, off; anything but a
// letter says nothing.
std::optional<bool> CapsLockDaiTasti(const QString& testo, bool maiuscolo);

class QLabel;
class QLineEdit;

// Says "Caps Lock is on" in `avviso`, shown only then, while the coach types
// in the boxes watched: the system's word where it has one, else what the
// letters typed tell. A screen reader hears it as the boxes' description.
class AvvisoMaiuscole : public QObject {
public:
    explicit AvvisoMaiuscole(QLabel* avviso);
    void Osserva(QLineEdit* box);
    bool Attivo() const { return attivo_.value_or(false); }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void Mostra(std::optional<bool> attivo);

    QPointer<QLabel> avviso_;
    QList<QPointer<QLineEdit>> box_;
    std::optional<bool> attivo_;
};

// The idle lock's time, in minutes, as kept in the settings (0: off, the
// default); only 5, 15 and 60 are taken, anything else is off.
inline constexpr int MinutiBlocco[] = {0, 5, 15, 60};
int MinutiBloccoImpostati();
// False when the settings file could not be written.
bool ImpostaMinutiBlocco(int minuti);

// A passphrase as typed, in UTF-8, in the archive's wiped buffer; the
// UTF-8 copy made on the way is wiped too.
class PassphraseDigitata {
public:
    PassphraseDigitata() = default;
    explicit PassphraseDigitata(const QString& testo);

    const sistema::Segreto& Segreto() const { return segreto_; }
    bool Vuota() const { return segreto_.empty(); }
    void Cancella() { segreto_.Svuota(); }

private:
    sistema::Segreto segreto_;
};
