// Qt's own texts in the program's language: the buttons of the message boxes
// ("Sì", "No", "Annulla"), the file dialog, the right-click menus of the text
// boxes. Qt writes them in English; the other languages come from the
// translations Debian ships with Qt (package qt6-translations-l10n).
#pragma once

// Puts Qt's texts in the language of LinguaCorrente, when it has changed
// since the last call, and tells every window that the language changed.
void ApplicaLinguaQt();
