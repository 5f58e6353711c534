// The program's start, shared by main() and the start-up benchmark.
#pragma once

#include <memory>

class mdi;

// Application name, version, icon, fonts, the application folder (the folder
// of the executable) and the platform services the windows use.
void ImpostaApplicazione();

// The start-up sequence: the main window loads and shows, then the home window
// loads and shows maximized in it.
std::unique_ptr<mdi> AvviaProgramma();
