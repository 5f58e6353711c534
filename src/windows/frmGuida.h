// The help viewer: a window of its own, beside the main window, that shows
// the topics of a compiled help file ("Guida.chm") with their style sheet and
// pictures, a table of contents in the program's language, and back, forward
// and home buttons; Escape closes it. Web and mail links in a topic go to the
// desktop's programs.
#pragma once

#include "BrowserChm.h"

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

// How a web or mail link of a topic (http, https, mailto) is handed to the
// desktop. By default QDesktopServices::openUrl.
using ApriEsternoGuidaFn = std::function<void(const QUrl& indirizzo)>;
extern ApriEsternoGuidaFn ApriEsternoGuida;

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
    // Closed: on its way out.
    bool Chiuso() const { return chiuso_; }

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
    bool inglese_ = false;  // the language of the contents shown
    bool chiuso_ = false;
};
