#include "TraduciFinestre.h"

#include "LinguaQt.h"
#include "TraduciForm.h"
#include "mdi.h"

void TraduciFinestreAperte(QWidget* ancheQuesta) {
    ApplicaLinguaQt();
    QList<QWidget*> finestre;
    if (mdi* principale = mdi::Istanza()) finestre = principale->FinestreAperte();
    if (ancheQuesta && !finestre.contains(ancheQuesta)) finestre.append(ancheQuesta);
    for (QWidget* finestra : finestre) TraduciForm(finestra);
}
