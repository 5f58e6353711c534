// The program from the command line, for scripts and tests: the same work as
// the athlete card's menu, on the program's archive, without a window.
//
//   tovarin --export-csv FILE        every athlete to a CSV file
//   tovarin --import-csv FILE        the athletes of a CSV file added, all or none
//   tovarin --import-access FILE     the athletes of the earlier program's
//                                    archive (Access 2000) added, all or none
//   tovarin --backup FILE            a backup of the archive
//   tovarin --report NAME FILE.pdf   the report of the first athlete of that name
//                                    (".pdf" added to a name without it)
//   tovarin --fit NAME --stack MM --reach MM --head-angle DEG [--cap MM
//           --clamp MM --spacers MM --stem MM --stem-angle DEG]
//                                    the athlete's fit coordinates, where the
//                                    cockpit puts the bars, the closest cockpit
//   tovarin --zones NAME [--ftp W --lthr BPM --hrmax BPM --weight KG]
//                                    the zones of the athlete's latest test, or
//                                    of the values given, which are not stored
//
//   tovarin --protect [--new-passphrase-file FILE]
//                                    sets or changes the archive's passphrase
//   tovarin --unprotect              removes it
//   ... --passphrase-file FILE       with any verb: the archive's passphrase,
//                                    from a file only its owner may read (else
//                                    asked at the terminal, without echo)
//
//   tovarin --help                   the usage, on the standard output, in the
//                                    language of the windows
//
// Each prints one line saying what it did and exits 0, or prints why not and
// exits non-zero: 1 for a refusal or a failure, 2 for a command line it does
// not know (the usage on the standard error, and no window).
#pragma once

#include <QStringList>

// True when the arguments are for the command line rather than the window:
// any but Qt's own options (-platform, -style, ...).
bool ComandoRichiesto(int argc, char** argv);

// Runs the command (the arguments after the program's name); the program's
// folders and services must be set up already. The exit code.
int EseguiComando(const QStringList& argomenti);
