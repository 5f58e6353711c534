// The texts of the archive's messages: a file that cannot be opened, an edit
// that cannot be written, ... They are shown with MostraMessaggio.
#pragma once

#include "Archivio.h"

#include "Messaggi.h"

#include <QString>

class QWidget;

// The reason of a failure in the current language, as a phrase without final
// full stop; the texts come from the message catalogue.
QString DescriviMotivo(const archivio::Errore& errore);

// The full texts.
QString TestoArchivioNonAperto(const QString& file, const archivio::Errore& errore);
QString TestoModificheNonScritte(const QString& file, const QString& atleta, const archivio::Errore& errore);
QString TestoModifichePerse(const QString& file, const QString& atleta, const archivio::Errore& errore);
QString TestoChiudereComunque(const QString& file, const QString& atleta, const archivio::Errore& errore);
QString TestoEliminazioneNonRiuscita(const QString& file, const QString& atleta, const archivio::Errore& errore);
QString TestoRigaNonLetta(const QString& file, const archivio::Errore& errore);
QString TestoAssettoNonRegistrato(const QString& file, const QString& atleta, const archivio::Errore& errore);
QString TestoAssettoNonEliminato(const QString& file, const QString& atleta, const archivio::Errore& errore);
QString TestoAssettiNonLetti(const QString& file, const QString& atleta, const archivio::Errore& errore);
QString TestoTestNonLetti(const QString& file, const QString& atleta, const archivio::Errore& errore);
QString TestoTestNonRegistrato(const QString& file, const QString& atleta, const archivio::Errore& errore);
