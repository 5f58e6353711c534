#include "ControllaMisura.h"

#include "Modulo1.h"
#include "TestoPiano.h"

#include <QLineEdit>

void ControllaMisura(QLineEdit* box, const std::function<void()>& ricalcolo) {
    if (!box->text().isEmpty() && !Modulo1::TestoNumerico(box->text().toStdString())) box->setText(QString());
    box->setText(QString::fromStdString(Modulo1::NormalizzaDecimali(box->text().toStdString())));
    box->setCursorPosition(static_cast<int>(box->text().size()));
    if (ricalcolo) ricalcolo();
}

QString SellaPredefinita() {
    static const QString testo = QString::fromStdString(Modulo1::TestoPiano(Modulo1::SellaRiferimento));
    return testo;
}

void ApplicaControllaMisura(QLineEdit* box, std::function<void()> ricalcolo) {
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [box, ricalcolo = std::move(ricalcolo)] { ControllaMisura(box, ricalcolo); });
}
