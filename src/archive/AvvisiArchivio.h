// The messages of the archive: a file that cannot be opened, an edit that
// cannot be written. They go through one replaceable handler, so that tests
// can read them (and answer them) without a message box on screen.
#pragma once

#include "Archivio.h"

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Shows a warning and gives the button the user chose. `pulsanti` is Ok for a
// plain notice, Yes | No for a question.
using GestoreAvvisiFn = std::function<QMessageBox::StandardButton(
    QWidget* finestra, const QString& titolo, const QString& testo, QMessageBox::StandardButtons pulsanti)>;

// Installs the handler; an empty one restores the message box.
void ImpostaGestoreAvvisi(GestoreAvvisiFn gestore);

// A warning under the application's title, through the handler in force; a
// plain notice (what was done) shows the information icon instead.
QMessageBox::StandardButton MostraAvvisoArchivio(QWidget* finestra, const QString& testo,
                                                 QMessageBox::StandardButtons pulsanti = QMessageBox::Ok,
                                                 QMessageBox::Icon icona = QMessageBox::Warning);

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
