// The page view of the help viewer: a text browser that takes pages, style
// sheets and pictures from the compiled help file instead of the disk.
#pragma once

#include "LettoreChm.h"

#include <QByteArray>
#include <QString>
#include <QTextBrowser>
#include <QUrl>

#include <memory>

// Text of a page or style sheet of the help file: the charset the page
// declares, else UTF-8 when the bytes are valid UTF-8, else Latin-1.
QString DecodificaTestoChm(const QByteArray& dati, bool html);

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
