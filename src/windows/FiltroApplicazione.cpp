#include "FiltroApplicazione.h"

#include "ImmagineSvg.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>

namespace {

// A click at the middle of the control, as the mouse makes it: pressed, then
// released. The windows' own handlers take it from there.
void Premi(QWidget* controllo) {
    QPointer<QWidget> c(controllo);
    const QPointF centro = QRectF(controllo->rect()).center();
    const QPointF schermo = controllo->mapToGlobal(centro);
    QMouseEvent premuto(QEvent::MouseButtonPress, centro, schermo, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(controllo, &premuto);
    if (!c) return;
    QMouseEvent rilasciato(QEvent::MouseButtonRelease, centro, schermo, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(c, &rilasciato);
}

void DisegnaCorniceFuoco(QWidget* controllo) {
    QPainter p(controllo);
    QPen penna(controllo->palette().color(controllo->foregroundRole()), 1, Qt::DotLine);
    p.setPen(penna);
    p.drawRect(controllo->rect().adjusted(0, 0, -1, -1));
}

// A flat picture button (the report, the data menu): the style's focus
// rectangle falls behind its picture, so it gets the frame the clickable
// pictures have.
bool PulsanteImmagine(const QWidget* controllo) {
    const auto* pulsante = qobject_cast<const QToolButton*>(controllo);
    return pulsante && pulsante->autoRaise() && pulsante->toolButtonStyle() == Qt::ToolButtonIconOnly;
}

// The push or tool button that has the focus, enabled; a check box or a
// radio button keeps Enter for its dialog's default button.
QAbstractButton* PulsanteDaPremere(QWidget* controllo) {
    if (!qobject_cast<QPushButton*>(controllo) && !qobject_cast<QToolButton*>(controllo)) return nullptr;
    auto* pulsante = static_cast<QAbstractButton*>(controllo);
    if (!pulsante->hasFocus() || !pulsante->isEnabled() || !pulsante->isVisible()) return nullptr;
    return pulsante;
}

bool ConCornice(const QWidget* controllo) {
    return controllo && (CollegamentoDaTastiera(controllo) || PulsanteImmagine(controllo));
}

// The standard menu of a text box, or none for a control that is not one.
QMenu* MenuDelTesto(QObject* oggetto, const QContextMenuEvent* evento) {
    if (auto* riga = qobject_cast<QLineEdit*>(oggetto)) {
        if (riga->contextMenuPolicy() != Qt::DefaultContextMenu) return nullptr;
        return riga->createStandardContextMenu();
    }
    auto* area = qobject_cast<QAbstractScrollArea*>(oggetto->parent());
    if (!area || area->viewport() != oggetto || area->contextMenuPolicy() != Qt::DefaultContextMenu) return nullptr;
    const QPoint scorrimento(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
    if (auto* testo = qobject_cast<QTextEdit*>(area))
        return testo->createStandardContextMenu(evento->pos() + scorrimento);
    if (auto* piano = qobject_cast<QPlainTextEdit*>(area))
        return piano->createStandardContextMenu(evento->pos() + scorrimento);
    return nullptr;
}

// A combo as a screen reader meets it: named by what it is (its accessible
// name, or its label), its item as its value. Qt's own names a combo by the
// item it shows on Linux ("F", "leggera", "seleziona").
class ComboAccessibile : public QAccessibleWidget {
public:
    explicit ComboAccessibile(QWidget* w) : QAccessibleWidget(w, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Combo()->currentText();
        QString testo = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && testo.isEmpty()) testo = Combo()->currentText();
        return testo;
    }
    QAccessible::State state() const override {
        QAccessible::State stato = QAccessibleWidget::state();
        stato.expandable = true;
        stato.expanded = Combo()->view() && Combo()->view()->isVisible();
        stato.editable = Combo()->isEditable() && !(Combo()->lineEdit() && Combo()->lineEdit()->isReadOnly());
        return stato;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& azione) override {
        if (azione == showMenuAction() || azione == pressAction())
            Combo()->showPopup();
        else
            QAccessibleWidget::doAction(azione);
    }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* InterfacciaCombo(const QString& classe, QObject* oggetto) {
    if (classe == QLatin1String("QComboBox") && oggetto && oggetto->isWidgetType())
        return new ComboAccessibile(static_cast<QWidget*>(oggetto));
    return nullptr;
}

class Filtro : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        switch (evento->type()) {
        case QEvent::KeyPress: {
            auto* controllo = qobject_cast<QWidget*>(oggetto);
            if (!controllo) break;
            const auto* tasto = static_cast<QKeyEvent*>(evento);
            const bool invio = tasto->key() == Qt::Key_Return || tasto->key() == Qt::Key_Enter;
            if (tasto->modifiers() & ~Qt::KeypadModifier) break;
            if (CollegamentoDaTastiera(controllo)) {
                if (!invio && tasto->key() != Qt::Key_Space) break;
                if (!tasto->isAutoRepeat()) Premi(controllo);
                return true;
            }
            // A button with the focus takes Enter as it takes Space, in every
            // window, not only in dialogs.
            if (auto* pulsante = PulsanteDaPremere(controllo); pulsante && invio) {
                if (!tasto->isAutoRepeat()) pulsante->click();
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            if (auto* controllo = qobject_cast<QWidget*>(oggetto); ConCornice(controllo)) controllo->update();
            break;
        case QEvent::Paint: {
            auto* controllo = qobject_cast<QWidget*>(oggetto);
            if (!ConCornice(controllo) || !controllo->hasFocus()) break;
            // The control paints itself, then the frame goes over it.
            oggetto->event(evento);
            DisegnaCorniceFuoco(controllo);
            return true;
        }
        case QEvent::ContextMenu: {
            auto* richiesta = static_cast<QContextMenuEvent*>(evento);
            QMenu* menu = MenuDelTesto(oggetto, richiesta);
            if (!menu) break;
            // A menu of its own, outside the box: the box's style sheet
            // (a yellow background) does not reach it.
            menu->setParent(nullptr, menu->windowFlags());
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(richiesta->globalPos());
            return true;
        }
        default: break;
        }
        return QObject::eventFilter(oggetto, evento);
    }
};

}  // namespace

bool CollegamentoDaTastiera(const QWidget* controllo) {
    return (qobject_cast<const QLabel*>(controllo) || qobject_cast<const ImmagineSvg*>(controllo)) &&
           (controllo->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

void InstallaFiltroApplicazione() {
    static QPointer<Filtro> filtro;
    if (filtro || !qApp) return;
    filtro = new Filtro(qApp);
    qApp->installEventFilter(filtro);
    QAccessible::installFactory(InterfacciaCombo);
}
