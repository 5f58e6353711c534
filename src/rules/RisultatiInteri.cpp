#include "RisultatiInteri.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace {

const QString NonDisponibile = QStringLiteral("n.d.");

// A text box's style options, as it paints itself.
struct OpzioniRiga : QLineEdit {
    using QLineEdit::initStyleOption;
};

void Verifica(QLineEdit* box) {
    if (!box->text().isEmpty() && !TestoEntra(box, box->text())) box->setText(NonDisponibile);
}

}  // namespace

bool TestoEntra(QWidget* controllo, const QString& testo) {
    controllo->ensurePolished();  // the font of the style sheet
    const QFontMetrics misure = controllo->fontMetrics();
    if (auto* box = qobject_cast<QLineEdit*>(controllo)) {
        QStyleOptionFrame opzioni;
        (box->*&OpzioniRiga::initStyleOption)(&opzioni);
        const QRect area = box->style()->subElementRect(QStyle::SE_LineEditContents, &opzioni, box);
        const QMargins margini = box->textMargins();
        const int spazio = area.width() - margini.left() - margini.right() - 4;  // Qt keeps 2 pixels each side
        return misure.horizontalAdvance(testo) <= spazio;
    }
    if (auto* etichetta = qobject_cast<QLabel*>(controllo)) {
        const int m = etichetta->margin();
        const QRect area = etichetta->contentsRect().adjusted(m, m, -m, -m);
        const QStringList righe = testo.split(QLatin1Char('\n'));
        int larghezza = 0;
        for (const QString& riga : righe) larghezza = std::max(larghezza, misure.horizontalAdvance(riga));
        return larghezza <= area.width() &&
               (righe.size() == 1 || misure.lineSpacing() * (righe.size() - 1) + misure.height() <= area.height());
    }
    return true;
}

void MostraIntero(QLabel* etichetta, const QString& testo) {
    if (etichetta->text() == testo) return;  // shown already, and whole
    const QString mostrato = testo.isEmpty() || TestoEntra(etichetta, testo) ? testo : NonDisponibile;
    if (etichetta->text() != mostrato) etichetta->setText(mostrato);
}

void ProteggiRisultati(QWidget* finestra) {
    for (QLineEdit* box : finestra->findChildren<QLineEdit*>()) {
        if (!box->isReadOnly()) continue;
        QObject::connect(box, &QLineEdit::textChanged, box, [box] { Verifica(box); });
        Verifica(box);
    }
}
