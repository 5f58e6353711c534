#include "moduloNoRidimens.h"

#include <QWidget>

void BloccaDimensioni(QWidget* finestra) {
    finestra->setFixedSize(finestra->size());
    finestra->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}
