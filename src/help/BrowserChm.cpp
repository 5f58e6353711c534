#include "BrowserChm.h"

#include <QStringConverter>
#include <QStringDecoder>

namespace {

const QString SchemaGuida = QStringLiteral("chm");

}  // namespace

// Latin-1 is close to the Windows code page of older help files.
QString DecodificaTestoChm(const QByteArray& dati, bool html) {
    if (html) {
        const auto dichiarata = QStringConverter::encodingForHtml(dati);
        if (dichiarata && *dichiarata != QStringConverter::Utf8) {
            QStringDecoder decodifica(*dichiarata);
            QString testo = decodifica.decode(dati);
            if (!decodifica.hasError()) return testo;
        }
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString testo = utf8.decode(dati);
    if (!utf8.hasError()) return testo;
    return QString::fromLatin1(dati);
}

BrowserChm::BrowserChm(QWidget* genitore) : QTextBrowser(genitore) {
    // Links are followed by the viewer itself: inside the help file, or handed
    // to the desktop for the web and mail.
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

void BrowserChm::impostaLettore(std::shared_ptr<LettoreChm> lettore) { lettore_ = std::move(lettore); }

QUrl BrowserChm::Indirizzo(const QString& percorsoOggetto, const QString& frammento) {
    QUrl indirizzo;
    indirizzo.setScheme(SchemaGuida);
    indirizzo.setPath(LettoreChm::PercorsoOggetto(percorsoOggetto));
    if (!frammento.isEmpty()) indirizzo.setFragment(frammento);
    return indirizzo;
}

QString BrowserChm::percorsoDi(const QUrl& indirizzo) const {
    if (indirizzo.isRelative()) return LettoreChm::PercorsoOggetto(indirizzo.toString(), paginaCorrente_);
    const QString schema = indirizzo.scheme().toLower();
    if (schema == SchemaGuida) return LettoreChm::PercorsoOggetto(indirizzo.path(QUrl::FullyDecoded));
    if (schema == QLatin1String("ms-its") || schema == QLatin1String("mk") || schema == QLatin1String("its"))
        return LettoreChm::PercorsoOggetto(indirizzo.toString());
    return QString();
}

void BrowserChm::doSetSource(const QUrl& nome, QTextDocument::ResourceType tipo) {
    const QString percorso = percorsoDi(nome);
    if (!percorso.isEmpty()) paginaCorrente_ = percorso;
    QTextBrowser::doSetSource(nome, tipo);
}

QVariant BrowserChm::loadResource(int tipo, const QUrl& nome) {
    // Nothing is read from the disk or the network: only the help file.
    if (!lettore_) return QVariant();
    const QString percorso = percorsoDi(nome);
    if (percorso.isEmpty()) return QVariant();
    const auto dati = lettore_->leggi(percorso);
    if (!dati) return QVariant();
    switch (tipo) {
    case QTextDocument::HtmlResource:
        // Every page load passes here, back and forward included: the page's
        // own style sheet and pictures are then taken from its folder.
        paginaCorrente_ = percorso;
        return DecodificaTestoChm(*dati, true);
    case QTextDocument::StyleSheetResource: return DecodificaTestoChm(*dati, false);
    default: return *dati;
    }
}
