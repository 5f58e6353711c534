#include "RigaDiComandoChiave.h"

int EstraiOpzioniPassphrase(QStringList& argomenti, OpzioniPassphrase& opzioni) {
    (void)argomenti;
    (void)opzioni;
    return 0;
}

bool SbloccaPerComando(const QString& archivioFile, const OpzioniPassphrase& opzioni) {
    (void)archivioFile;
    (void)opzioni;
    return true;
}

std::optional<int> EseguiComandoPassphrase(const QStringList& argomenti, const QString& archivioFile,
                                           const OpzioniPassphrase& opzioni) {
    (void)argomenti;
    (void)archivioFile;
    (void)opzioni;
    return std::nullopt;
}
