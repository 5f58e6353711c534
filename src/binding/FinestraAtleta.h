// What the athlete card and the two sheets share: their record set over the
// archive, the load (translation, then the archive straight on the current
// athlete, with the window's recomputation held until it has arrived), and
// the close (the pending edit written, or the window kept at the user's word;
// then the next window opens on the athlete shown).
#pragma once

#include "LegameArchivio.h"

#include <QWidget>

class QKeyEvent;

#include <memory>

class FinestraAtleta : public QWidget {
    Q_OBJECT

public:
    ~FinestraAtleta() override;

    LegameArchivio* Legame() const { return legame_.get(); }

    // The window's tag: while it holds a text, the window recomputes nothing.
    QString Tag() const;
    void ImpostaTag(const QString& tag);

    // The keys of every athlete window, wherever the focus stands in it, the
    // same in both languages: Page Down and Page Up to the next and the
    // previous athlete, Ctrl+Home and Ctrl+End to the first and the last (each
    // writing the pending edit, as the arrows do); F4 or Alt+Down in the name
    // box opens the athletes' list; Ctrl+Delete deletes, where the window can.
    // True when the key was one of them.
    bool TastoDellaFinestra(const QKeyEvent* tasto, const QObject* dove);

protected:
    explicit FinestraAtleta(QWidget* genitore);

    // Binds the window's controls to their columns (after its form is set
    // up, before it loads).
    void Lega(NavigatoreDati* Data1, QLineEdit* txtNome, QList<LegameColonna> legami);

    // The load: the window translated, then opened on the current athlete
    // (or the first). Its tag holds the recomputation meanwhile and is empty
    // afterwards.
    void Carica();

    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

    // Ctrl+Delete: the card deletes the athlete shown, after its question;
    // the sheets do nothing.
    virtual void EliminaDaTastiera() {}

    // Writes the pending edit and lets go of the archive. Every window calls
    // it first thing in its destructor: the write runs the window's rules,
    // which need the window whole.
    void Rilascia();

private:
    void OrdineDiTabulazione();

    // Destroyed before the controls are.
    std::unique_ptr<LegameArchivio> legame_;
};
