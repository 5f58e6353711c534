// The studio that hands the reports out: its name, its address and its logo,
// shown at the head of the athlete's report and on the About window. They
// are kept in "Studio.ini" beside the language setting, written whole; the
// logo is the coach's picture copied into the same folder as "LogoStudio.png".
#pragma once

#include <QImage>
#include <QString>

struct DatiStudio {
    QString nome;       // "Studio Biomeccanico Rossi"
    QString indirizzo;  // one line: "Via Roma 1, 31100 Treviso · 0422 123456"
    QImage logo;        // null: none
    bool Vuoti() const { return nome.isEmpty() && indirizzo.isEmpty() && logo.isNull(); }
};

// The longest name and address kept (characters).
inline constexpr int LunghezzaNomeStudio = 80;
inline constexpr int LunghezzaIndirizzoStudio = 160;
// The largest picture file taken as a logo, and the largest side it is kept at.
inline constexpr qint64 DimensioneMassimaLogo = 20 * 1024 * 1024;
inline constexpr int LatoMassimoLogo = 600;

// The studio as last saved; empty when nothing was, or the file cannot be read.
DatiStudio LeggiDatiStudio();

// The picture a file holds, to be the logo; null, with the reason in the
// coach's language in `motivo`, when the file is none: missing, a folder or
// a device, unreadable, too large, or not a picture the program reads.
QImage LeggiLogo(const QString& file, QString* motivo);

// Saves the studio whole: the logo first (removed when there is none), then
// the settings that name it. False, with the reason, when they could not be
// written; what was saved before then stays as it was.
bool SalvaDatiStudio(const DatiStudio& studio, QString* motivo);

// The text as it is kept: on one line (a line break or a tab becomes a
// blank), without blanks around, cut to `massimo`.
QString TestoStudio(const QString& testo, int massimo);
