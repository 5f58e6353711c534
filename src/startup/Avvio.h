// The program's start, shared by main() and the start-up benchmark.
#pragma once

#include <QString>

#include <memory>

class mdi;
class QWidget;

// Application name, version, icon, fonts, the application folder (the folder
// of the executable) and the platform services the windows use.
void ImpostaApplicazione();

// Why the archive's folder must not be used (the user's data folder another
// user owns, or others can write into); empty when nothing is wrong.
QString ProblemaCartellaDatiInUso();

// What is wrong with the language the program speaks, in a sentence naming
// the file (the settings naming a language it does not have, the language
// file missing or unreadable, or lacking texts, and how many); empty when
// nothing is.
QString TestoProblemaLingua();
// The same in a message box, when there is something to say.
void AvvisaSeLinguaInutilizzabile(QWidget* finestra);

// The start-up sequence: the main window loads and shows, then the home window
// loads and shows maximized in it; a missing or damaged language file is
// reported once; an archive of the earlier program is offered for conversion.
std::unique_ptr<mdi> AvviaProgramma();
