// The coach's passphrase on the command line: read for every verb that
// opens an archive locked by one, from the file named by --passphrase-file
// (a regular file only its owner may read) or else from the terminal without
// echo, never from the command line itself; and the verbs that set, change
// and remove it:
//
//   tovarin --protect --new-passphrase-file FILE [--passphrase-file OLD]
//   tovarin --unprotect --passphrase-file FILE
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The files named by the passphrase options, wherever they stand after the
// verb.
struct OpzioniPassphrase {
    QString file;       // --passphrase-file: the archive's passphrase now
    QString nuovoFile;  // --new-passphrase-file: the new one, for --protect
};

// Takes the passphrase options out of `argomenti` into `opzioni`: 0, or 2
// for an option given twice or without its file (the caller says the usage).
int EstraiOpzioniPassphrase(QStringList& argomenti, OpzioniPassphrase& opzioni);

// Before a verb opens the archive: when the archive has a passphrase it is
// read (the file, else the terminal) and the archive unlocked for the run.
// False, the reason said on the standard error, when it has one and none is
// given or it does not open it: the command then exits 1.
bool SbloccaPerComando(const QString& archivioFile, const OpzioniPassphrase& opzioni);

// --protect and --unprotect: the exit code; for another verb that opens the
// archive, 1 when it stays locked (said why), 2 for --new-passphrase-file
// given to it; otherwise nothing, and the verb runs.
std::optional<int> EseguiComandoPassphrase(const QStringList& argomenti, const QString& archivioFile,
                                           const OpzioniPassphrase& opzioni);
