#include "SommarioChm.h"

#include "LettoreChm.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace {

QString TestoSemplice(const QString& html) {
    if (!html.contains(QLatin1Char('&'))) return html;
    return QTextDocumentFragment::fromHtml(html).toPlainText();
}

}  // namespace

std::pair<QString, QString> DividiDestinazione(const QString& destinazione) {
    const qsizetype cancelletto = destinazione.indexOf(QLatin1Char('#'));
    const QString frammento = cancelletto >= 0 ? destinazione.mid(cancelletto + 1) : QString();
    return {LettoreChm::PercorsoOggetto(destinazione), frammento};
}

std::vector<VoceSommario> LeggiSommario(const QString& testo) {
    // A sitemap: nested <UL> lists whose <OBJECT type="text/sitemap"> entries
    // carry a Name and a Local parameter.
    static const QRegularExpression marcatore(QStringLiteral("<\\s*(/?)\\s*(ul|object)\\b([^>]*)>"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression parametro(
        QStringLiteral("<\\s*param\\s+name\\s*=\\s*\"([^\"]*)\"\\s+value\\s*=\\s*\"([^\"]*)\""),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression fineOggetto(QStringLiteral("<\\s*/\\s*object\\s*>"),
                                                QRegularExpression::CaseInsensitiveOption);

    std::vector<VoceSommario> voci;
    std::vector<int> genitori;  // one per open list; -1 stands for the top level
    int ultima = -1;
    qsizetype posizione = 0;
    while (true) {
        const auto trovato = marcatore.match(testo, posizione);
        if (!trovato.hasMatch()) break;
        posizione = trovato.capturedEnd();
        const bool chiusura = !trovato.captured(1).isEmpty();
        const QString nome = trovato.captured(2).toLower();
        if (nome == QLatin1String("ul")) {
            if (chiusura) {
                if (!genitori.empty()) genitori.pop_back();
            } else {
                genitori.push_back(genitori.empty() ? -1 : ultima);
            }
            continue;
        }
        if (chiusura) continue;
        const auto fine = fineOggetto.match(testo, posizione);
        const qsizetype finePosizione = fine.hasMatch() ? fine.capturedStart() : testo.size();
        const QString blocco = testo.mid(posizione, finePosizione - posizione);
        posizione = fine.hasMatch() ? fine.capturedEnd() : testo.size();
        if (!trovato.captured(3).contains(QLatin1String("text/sitemap"), Qt::CaseInsensitive)) continue;
        QString titolo;
        QString destinazione;
        for (auto it = parametro.globalMatch(blocco); it.hasNext();) {
            const auto p = it.next();
            if (p.captured(1).compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0 && titolo.isEmpty())
                titolo = TestoSemplice(p.captured(2));
            else if (p.captured(1).compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0)
                destinazione = p.captured(2);
        }
        if (titolo.isEmpty()) continue;
        voci.push_back({titolo, destinazione, genitori.empty() ? -1 : genitori.back()});
        ultima = static_cast<int>(voci.size()) - 1;
    }
    return voci;
}
