// The help viewer: a window of its own, beside the main window, that shows
// the topics of a compiled help file ("Guida.chm") with their style sheet and
// pictures, a table of contents in the program's language, and back, forward
// and home buttons; Escape closes it. Web and mail links in a topic go to the
// desktop's programs.
#pragma once

#include "LettoreChm.h"

#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QTreeWidgetItem;

namespace Ui {
class frmGuida;
}

// Opens the help viewer on a topic of a help file, as "Descrizione.html" or
// "Scheda_assetto.html#risultati"; an empty topic is the file's default one.
// There is one viewer: a later call shows its topic in the same window and
// brings it to the front. A missing or unreadable file or a missing topic is
// reported (MostraMessaggio) and leaves an open viewer as it was.
void MostraGuidaChm(QWidget* proprietario, const QString& fileChm, const QString& argomento);

// How a web or mail link of a topic (http, https, mailto) is handed to the
// desktop. By default QDesktopServices::openUrl.
using ApriEsternoGuidaFn = std::function<void(const QUrl& indirizzo)>;
extern ApriEsternoGuidaFn ApriEsternoGuida;

class frmGuida;
// The viewer now open, or nullptr.
frmGuida* FinestraGuida();

// The page view of the viewer: a text browser that takes pages, style sheets
// and pictures from the help file instead of the disk.
class BrowserChm : public QTextBrowser {
    Q_OBJECT

public:
    explicit BrowserChm(QWidget* genitore = nullptr);

    void impostaLettore(std::shared_ptr<LettoreChm> lettore);
    const std::shared_ptr<LettoreChm>& lettore() const { return lettore_; }

    // The address of an object of the help file, as setSource takes it.
    static QUrl Indirizzo(const QString& percorsoOggetto, const QString& frammento = QString());

    // The object path an address stands for, a relative one taken from the
    // page now shown; empty for an address outside the help file.
    QString percorsoDi(const QUrl& indirizzo) const;

    // The object path of the page last loaded ("/Descrizione.html").
    const QString& paginaCorrente() const { return paginaCorrente_; }

    QVariant loadResource(int tipo, const QUrl& nome) override;

protected:
    void doSetSource(const QUrl& nome, QTextDocument::ResourceType tipo) override;

private:
    std::shared_ptr<LettoreChm> lettore_;
    QString paginaCorrente_;
};

class frmGuida : public QWidget {
    Q_OBJECT

public:
    explicit frmGuida(QWidget* proprietario = nullptr);
    ~frmGuida() override;

    // Shows a topic (an object path, with an optional "#fragment") of the help
    // file the reader has open; the caller has checked that the topic is there.
    void mostra(std::shared_ptr<LettoreChm> lettore, const QString& argomento);

    // The help file shown and the object path of the page shown.
    QString fileGuida() const;
    QString argomentoCorrente() const;

    BrowserChm* browser() const;

protected:
    void closeEvent(QCloseEvent* evento) override;
    // The language of the program changed: the contents and the page shown
    // go over to it.
    void changeEvent(QEvent* evento) override;

private:
    void traduci();
    void caricaSommario();
    void seguiCollegamento(const QUrl& indirizzo);
    void apriVoce(QTreeWidgetItem* voce);
    void vaiAllInizio();
    void evidenziaVoce(const QUrl& indirizzo);

    std::unique_ptr<Ui::frmGuida> ui;
    bool inglese_ = false;   // the language of the contents shown
};
