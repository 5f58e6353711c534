// The checks of the athlete windows' fields that are not measures: the sex
// letter, the work activity, the dates. A text they reject is wiped, without
// a message; the user types again.
#pragma once

#include "Calendario.h"

#include <QString>

#include <optional>

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

// The three activity texts of the current language, in list order.
QStringList TestiAttivita();

// True when the text reads as a date by the regional date test in force.
bool TestoData(const QString& testo);

// On leaving the box, a text that is not empty and not a date is emptied.
void ApplicaControllaData(QLineEdit* box);

// The regional date test of a locale: its short date form, and the numeric
// day, month and year of its order with "/", "-" or "." between them.
std::optional<Calendario::Data> LeggiDataRegionale(const QLocale& locale, const QString& testo);
