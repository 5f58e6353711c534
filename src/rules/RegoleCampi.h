// The checks of the athlete windows' fields that are not measures: the sex
// letter, the work activity, the dates. A text they reject is wiped, without
// a message; the user types again.
#pragma once

#include "Calendario.h"

#include <QString>

#include <functional>
#include <optional>

class LegameArchivio;
class QComboBox;
class QLineEdit;
class QLocale;

// The sex combo: a text other than empty, "M" and "F" is emptied.
void ControllaSesso(QComboBox* combo);

// The activity combo: "light", "moderate", "strong" become "leggera",
// "moderata", "intensa" while the language is "italian", and the other way
// round while it is "english"; then a text that is none of the three
// activity messages ("0005" to "0007") is emptied.
void ControllaAttivita(QComboBox* combo);

// Makes the check run on every change of the combo's text, then `poi`.
// The check judges what was typed: the combo no longer completes a typed
// letter with an item of its list, nor adds a typed text to the list, so a
// text the check empties stays empty.
void ApplicaControllaSesso(QComboBox* combo, std::function<void()> poi = {});
void ApplicaControllaAttivita(QComboBox* combo, std::function<void()> poi = {});

// The three activity texts of the current language, in list order.
QStringList TestiAttivita();

// True when the text reads as a date: by the regional date test in force,
// or as an ISO date ("1988-03-15").
bool TestoData(const QString& testo);

// A stored date as the box shows it, in the regional form (an earlier
// release's "7/4/1990" is 7 April); a stored text that is no date as it is.
QString DataMostrata(const QString& archiviata);
// What the coach typed as the archive stores it: ISO ("1988-03-15") when it
// reads as a date, else as it is.
QString DataArchiviata(const QString& mostrata);

// A text that the coach typed (the box modified since it was shown) and that
// is not empty and not a date is emptied.
void ControllaData(QLineEdit* box);
// The date check on leaving the box and, since leaving it is not the only
// way a row gets written (the arrows, the picker, the bar, closing), before
// every write of the row as well. A box bound to a date column shows the
// stored date in the regional form and stores what the coach types as ISO:
// the same day under every regional setting. A date shown and not edited is
// never written, so it stays as stored, byte for byte.
void ApplicaControllaData(QLineEdit* box, LegameArchivio* legame);

// The regional date test of a locale: its short date form, and the numeric
// day, month and year of its order with "/", "-" or "." between them, in the
// digits of any script.
std::optional<Calendario::Data> LeggiDataRegionale(const QLocale& locale, const QString& testo);
// A date as a coach of the locale writes it: its short form with the year in
// four digits ("15/03/1988", "3/15/1988", "15.03.1988").
QString ScriviDataRegionale(const QLocale& locale, const Calendario::Data& d);
