// Every message and question the program shows goes through here: a box
// under the application's title, or, in tests, a handler that reads the text
// and gives the answer.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Shows the text and gives the button the user chose. `pulsanti`: Ok for a
// notice, Yes | No (| Cancel) for a question.
using GestoreMessaggiFn = std::function<QMessageBox::StandardButton(
    QWidget* finestra, const QString& titolo, const QString& testo, QMessageBox::StandardButtons pulsanti)>;

// Installs the handler; an empty one restores the message box.
void ImpostaGestoreMessaggi(GestoreMessaggiFn gestore);

// A warning; a plain notice of what was done shows the information icon, a
// question the question mark.
QMessageBox::StandardButton MostraMessaggio(QWidget* finestra, const QString& testo,
                                            QMessageBox::StandardButtons pulsanti = QMessageBox::Ok,
                                            QMessageBox::Icon icona = QMessageBox::Warning);

// A question with Yes and No; true for Yes.
bool Chiedi(QWidget* finestra, const QString& domanda);
