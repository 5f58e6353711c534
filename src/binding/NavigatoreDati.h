// The record navigator `Data1` of an athlete window, with the athlete picker
// `DBCombo1` and the name box `txtNome` stacked in one row:
//
//   [|<][<] txtNome ................ [>][>|][v]
//
// the name box in front; the navigator behind it, its arrows showing on both
// sides of the name box; the picker at the back, of which only the drop-down
// button shows, at the right end of the row.
//
// The window places this widget where the row goes (in its form, a QWidget
// promoted to NavigatoreDati, object name "Data1") and owns the name box;
// AccogliNome moves the name box into the row. The picker is created here.
#pragma once

#include <QCollator>
#include <QStringList>
#include <QWidget>

#include <vector>

class QComboBox;
class QLineEdit;
class QStringListModel;
class QToolButton;

class NavigatoreDati : public QWidget {
    Q_OBJECT

public:
    explicit NavigatoreDati(QWidget* parent = nullptr);

    // Puts the name box in front, between the arrows. Its place in the
    // window's Tab order stays as it was.
    void AccogliNome(QLineEdit* txtNome);

    QLineEdit* txtNome() const { return nome_; }
    // The picker: lists the names in alphabetical order, holds "seleziona"
    // ("select" in English)
    // until a name is chosen.
    QComboBox* DBCombo1() const { return picker_; }
    // The names in the table's order, one per row of the record set: the
    // window keeps it; the picker shows it sorted.
    QStringListModel* ElencoNomi() const { return nomi_; }

    QToolButton* PulsantePrimo() const { return primo_; }
    QToolButton* PulsantePrecedente() const { return precedente_; }
    QToolButton* PulsanteSuccessivo() const { return successivo_; }
    QToolButton* PulsanteUltimo() const { return ultimo_; }

    // Shows "seleziona" again, as when the window opened, in the language of
    // the moment.
    void MostraSeleziona();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The arrows: first, previous, next, last.
    void Primo();
    void Precedente();
    void Successivo();
    void Ultimo();
    // The user picked a name from the picker's list.
    void NomeScelto(const QString& nome);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void Disponi();
    void DisegnaFrecce();
    int LarghezzaTendina() const;

    // The picker's list follows the names: sorted again whole when the list
    // is replaced, one name moved into place when one is added, changed or
    // removed.
    void OrdinaNomi();
    void InserisciNome(const QString& nome);
    void TogliNome(const QString& nome);
    template <typename Cambio>
    void CambiaElenco(Cambio cambio);

    struct NomeOrdinato {
        QCollatorSortKey chiave;
        QString nome;
    };

    QToolButton* primo_;
    QToolButton* precedente_;
    QToolButton* successivo_;
    QToolButton* ultimo_;
    QComboBox* picker_;
    QStringListModel* nomi_;
    QStringListModel* alfabetico_;
    // The names as the table has them, and as the picker lists them.
    QStringList tabella_;
    std::vector<NomeOrdinato> ordinati_;
    QCollator collatore_;
    QLineEdit* nome_ = nullptr;
};
