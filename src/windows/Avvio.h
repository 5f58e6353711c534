// The program's start, shared by main() and the start-up benchmark.
#pragma once

#include <memory>

class mdi;
class QWidget;

// Application name, version, icon, fonts, the application folder (the folder
// of the executable) and the platform services the windows use.
void ImpostaApplicazione();

// Says, naming it, that the language file of the current language is missing
// or damaged; nothing when it is usable.
void AvvisaSeLinguaInutilizzabile(QWidget* finestra);

// The start-up sequence: the main window loads and shows, then the home window
// loads and shows maximized in it; a missing or damaged language file is
// reported once.
std::unique_ptr<mdi> AvviaProgramma();
