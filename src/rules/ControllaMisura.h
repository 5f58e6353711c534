// The measure rule of the boxes that hold a measure: run on every change of
// the box's text (typing, pasting, the archive showing another athlete, the
// program setting it). A text that is not a number is emptied, whole; commas
// become full stops; the caret goes to the end; then the window's
// recomputation runs. Emptying and replacing are changes of their own, so the
// rule runs again, nested, before the outer run goes on.
#pragma once

#include <functional>

class QLineEdit;
class QString;

void ControllaMisura(QLineEdit* box, const std::function<void()>& ricalcolo);

// Makes the rule run on every change of the box's text.
void ApplicaControllaMisura(QLineEdit* box, std::function<void()> ricalcolo = {});

// The saddle length box's text when the coach gives none (empty, "0"): the
// reference length the fit is computed with.
QString SellaPredefinita();
