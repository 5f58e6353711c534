#include "ReportAtleta.h"

#include "Calendario.h"
#include "DatiStudio.h"
#include "Globali.h"
#include "IdMessaggi.h"
#include "IdMessaggiArchivio.h"
#include "IdMessaggiStampa.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "Modulo1.h"
#include "ScritturaFile.h"
#include "StampaFinestra.h"
#include "TestoPiano.h"
#include "ZoneTest.h"
#include "modLanguageSupport.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgRenderer>

#include <algorithm>

namespace {

using archivio::Riga;

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// A caption of one of the windows, as the windows show it, so that the page
// calls everything as they do; the design text otherwise.
QString Didascalia(const char* finestra, const std::string& controllo, const char* progetto) {
    const QString t = ::Didascalia(finestra, controllo);
    return t.isEmpty() ? QString::fromUtf8(progetto) : t;
}

const std::string& Colonna(const Riga& r, const char* nome) { return r[*archivio::IndiceColonna(nome)]; }

// The activity as the current language writes it, as the windows show it.
std::string AttivitaCorrente(const std::string& attivita) {
    static const char* const italiane[] = {"leggera", "moderata", "intensa"};
    static const char* const inglesi[] = {"light", "moderate", "strong"};
    for (int i = 0; i < 3; ++i) {
        if (modLanguageSupport::LinguaCorrente == "italian" && attivita == inglesi[i]) return italiane[i];
        if (modLanguageSupport::LinguaCorrente == "english" && attivita == italiane[i]) return inglesi[i];
    }
    return attivita;
}

}  // namespace

DatiReport PreparaReport(const Riga& r, const std::vector<archivio::Assetto>& assetti,
                         const std::vector<archivio::TestAtleta>& test) {
    DatiReport d;
    const DatiStudio studio = LeggiDatiStudio();
    d.studio = studio.nome;
    d.indirizzoStudio = studio.indirizzo;
    d.logoStudio = studio.logo;
    d.nome = Q(r[archivio::ColonnaNome]);
    d.sesso = Q(Colonna(r, "sesso"));
    d.altezza = Q(Colonna(r, "altezza"));
    d.peso = Q(Colonna(r, "peso"));
    const char* const misure[] = {"cavallo", "busto", "coscia", "gamba", "braccio", "spalle"};
    for (std::size_t i = 0; i < 6; ++i) d.misure[i] = Q(Colonna(r, misure[i]));

    // The fit sheet's results, with the athlete's own set-up.
    const archivio::Assetto oggi = registro::AssettoDaRiga(0, r, {});
    bool predefinita = false;
    registro::RisultatiDi(oggi.misure, &predefinita);
    d.sellaPredefinita = predefinita;
    d.sella = predefinita ? QStringLiteral("27.5") : Q(Colonna(r, "sella"));
    const std::array<QString, 10> nomi{Messaggio(msg::TagliaTelaio),
                                       Messaggio(msg::TuboOrizzontale),
                                       Didascalia("frmAtleti", "Label18", "Pedivelle (PE)") + QStringLiteral(", mm"),
                                       Messaggio(msg::AngoloSella),
                                       Messaggio(msg::LarghezzaManubrio),
                                       Messaggio(msg::LunghezzaAttacco),
                                       Didascalia("frmAtleti", "Label14", "Altezza sella (HS)"),
                                       Didascalia("frmAtleti", "Label15", "Distanza sella-man. (DSM)"),
                                       Didascalia("frmAtleti", "Label16", "Scarto sella-man. (SM)"),
                                       Didascalia("frmAtleti", "Label17", "Arretram. sella (R)")};
    // The athlete's own set-up, beside the result of the same name.
    for (const auto c : archivio::TuttiICampi<archivio::CampoRisultato>()) {
        const auto i = static_cast<std::size_t>(c);
        RisultatoReport& ris = d.assetto[i];
        ris.nome = nomi[i];
        ris.calcolato = Q(oggi.risultati[c]).trimmed();
        const auto proprio = registro::ProprioDi(c);
        if (!proprio) continue;
        ris.set = Q(oggi.propri[*proprio]).trimmed();
        ris.differenza = registro::TestoDifferenzaDalSet(ris.calcolato, ris.set);
    }

    // The condition sheet's results, from the same values it reads.
    Modulo1::ValoriCondizione valori;
    d.eta = Q(Modulo1::CalcolaEta(Colonna(r, "datanascita"), valori));
    valori.PesoKg = Modulo1::ValoreTesto(Colonna(r, "peso"));
    valori.AltezzaCm = Modulo1::ValoreTesto(Colonna(r, "altezza"));
    valori.PulsazioniRiposo = Modulo1::ValoreTesto(Colonna(r, "pulsazioniriposo"));
    valori.AttivitaLavorativa = AttivitaCorrente(Colonna(r, "TipoImpiego"));
    valori.AttivitaFisica = r[archivio::ColonnaAttivFis] == "1";
    // The maximum in use, as the condition sheet takes it: the latest test's.
    const registro::TestInUso uso = registro::UltimoTest(test);
    valori.FcMaxMisurata = uso.fcMaxMisurata;
    const std::string sesso = S(d.sesso);
    double fcMax = 0;
    Modulo1::CinqueTesti cooper, karvonen, kcalCooper, kcalKarvonen;
    Modulo1::CalcolaZoneCardiache(valori, fcMax, 60, cooper, karvonen, sesso, valori.EtaAnni, Colonna(r, "peso"),
                                  kcalCooper, kcalKarvonen);
    d.fcMax = Q(Modulo1::TestoPiano(fcMax));
    for (std::size_t i = 0; i < 5; ++i) {
        d.cooper[i] = Q(cooper[i]);
        d.karvonen[i] = Q(karvonen[i]);
    }
    std::string metabolismo, fabbisogno;
    Modulo1::CalcolaMetabolismo(valori, metabolismo, fabbisogno, sesso);
    d.metabolismo = Q(metabolismo);
    d.fabbisogno = Q(fabbisogno);
    std::string ideale, classe, range;
    d.imc = Q(Modulo1::CalcolaIMC(sesso, valori.AltezzaCm, Colonna(r, "peso"), ideale, classe, range));
    d.pesoIdeale = Q(ideale);
    d.classe = Q(classe);
    d.range = Q(range);

    // The fit coordinates, from the same results and set-up values.
    const auto coordinate = registro::RigheCoordinate(oggi);
    for (std::size_t i = 0; i < coordinate.size(); ++i) {
        d.coordinateAssetto[i] = coordinate[i].testoAssetto;
        d.coordinateSet[i] = coordinate[i].testoProprio;
        d.spostamento[i] = coordinate[i].spostamento;
    }

    // The latest recorded fitting and what changed since the one before.
    if (const archivio::Assetto* recente = registro::UltimoAssetto(assetti)) {
        const archivio::Assetto& ultimo = *recente;
        QStringList chi{Q(ultimo.data), Q(ultimo.bici), registro::NomeDisciplina(ultimo.disciplina)};
        chi.removeAll(QString());
        d.ultimoAssetto = Messaggio(msg::UltimoAssetto).arg(chi.join(QStringLiteral(", ")));
        d.telaio = registro::RigheTelaioDi(ultimo);
        if (const archivio::Assetto* precedente = registro::AssettoPrecedente(assetti)) {
            const archivio::Assetto& prima = *precedente;
            d.cambiamenti = registro::Cambiamenti(prima, ultimo);
            // Two fittings of one day are told apart by their bikes.
            const QString nome = registro::NomeAssetto(prima);
            d.titoloCambiamenti = Messaggio(d.cambiamenti.empty() ? msg::NienteCambiato : msg::CambiatoDa).arg(nome);
        }
    }

    // The latest test and its zones; the maximum in use as the sheet takes it.
    if (uso.test) {
        const archivio::TestAtleta& t = *uso.test;
        d.ultimoTest = Messaggio(msg::UltimoTest).arg(Q(t.data));
        d.massimaTest = uso.fcMaxMisurata > 0 ? Messaggio(msg::FcMaxMisurata).arg(d.fcMax, Q(t.data))
                                              : Messaggio(msg::FcMaxStimata).arg(d.fcMax);
        const auto zone = [](const std::vector<Modulo1::Zona>& tabella, const std::array<msg::Id, 7>& nomi,
                             const QString& unita) {
            std::vector<std::pair<QString, QString>> righe;
            for (std::size_t i = 0; i < tabella.size() && i < nomi.size(); ++i)
                righe.emplace_back(Q(tabella[i].nome) + QLatin1Char(' ') + Messaggio(nomi[i]),
                                   Q(Modulo1::TestoZona(tabella[i])) + QLatin1Char(' ') + unita);
            return righe;
        };
        const registro::ZoneDelTest z = registro::ZoneDi(t, Colonna(r, "peso"));
        d.zoneFriel = zone(z.friel, msg::NomiZoneFriel, QStringLiteral("bpm"));
        d.zoneCoggan = zone(z.coggan, msg::NomiZoneCoggan, QStringLiteral("W"));
        if (!d.zoneFriel.empty()) d.titoloFriel = Messaggio(msg::TitoloZoneFriel).arg(Q(t.lthr));
        if (!d.zoneCoggan.empty()) d.titoloCoggan = Messaggio(msg::TitoloZoneCoggan).arg(Q(t.ftp));
        if (z.wattPerKg)
            d.wattPerKg = Messaggio(msg::WattPerKg).arg(Q(Modulo1::TestoWattPerKg(*z.wattPerKg)), Q(z.peso));
    }
    return d;
}

namespace {

// The page is laid out in millimetres.
class Pagina {
public:
    Pagina(QPainter& p, const QPagedPaintDevice& dispositivo) : p_(p), scala_(dispositivo.logicalDpiX() / 25.4) {}
    double mm(double x) const { return x * scala_; }
    QRectF R(double x, double y, double l, double a) const { return {mm(x), mm(y), mm(l), mm(a)}; }

    void Carattere(double punti, bool grassetto = false, bool corsivo = false) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(punti);
        f.setBold(grassetto);
        f.setItalic(corsivo);
        p_.setFont(f);
    }
    // One line of text in its box, whole: a text wider than the box is set
    // in a smaller size until it fits.
    void Testo(double x, double y, double l, double a, const QString& t, int allineamento = Qt::AlignLeft) {
        const QRectF box = R(x, y, l, a);
        const QFont prima = p_.font();
        QFont f = prima;
        while (f.pointSizeF() > 4 && QFontMetricsF(f, p_.device()).horizontalAdvance(t) > box.width())
            f.setPointSizeF(f.pointSizeF() * 0.93);
        p_.setFont(f);
        p_.drawText(box, allineamento | Qt::AlignVCenter | Qt::TextSingleLine, t);
        p_.setFont(prima);
    }
    void Linea(double x1, double y1, double x2, double y2, const QColor& colore, double spessore = 0.3) {
        p_.setPen(QPen(colore, mm(spessore)));
        p_.drawLine(QPointF(mm(x1), mm(y1)), QPointF(mm(x2), mm(y2)));
    }
    void Fondo(double x, double y, double l, double a, const QColor& colore) { p_.fillRect(R(x, y, l, a), colore); }
    void Penna(const QColor& colore) { p_.setPen(colore); }
    QPainter& pittore() { return p_; }

private:
    QPainter& p_;
    double scala_;
};

const QColor Arancio(255, 128, 0), Grigio(90, 90, 90), GrigioChiaro(225, 225, 225), Nero(0, 0, 0), Rosso(192, 0, 0),
    Blu(0, 60, 140);

void Titolo(Pagina& g, double y, const QString& testo) {
    g.Carattere(11, true);
    g.Penna(Nero);
    g.Testo(15, y, 180, 6, testo);
    g.Linea(15, y + 6.5, 195, y + 6.5, Arancio, 0.5);
}

// Two columns of label and value, one row every 6 mm.
void Coppie(Pagina& g, double x, double y, double larghezza, const QList<QPair<QString, QString>>& righe) {
    for (const auto& [etichetta, valore] : righe) {
        g.Carattere(9);
        g.Penna(Grigio);
        g.Testo(x, y, larghezza * 0.62, 6, etichetta);
        g.Carattere(9, true);
        g.Penna(Nero);
        g.Testo(x + larghezza * 0.62, y, larghezza * 0.38, 6, valore, Qt::AlignRight);
        y += 6;
    }
}

// The head of a page: the studio's logo, name and address (the program's
// name when the coach has given the studio none), and at the right `destra`
// (the date, the athlete); under them the orange line.
void Intestazione(Pagina& g, const DatiReport& d, const QString& destra, bool destraGrassetto) {
    QPainter& pittore = g.pittore();
    double x = 15;
    if (!d.logoStudio.isNull()) {
        // Within 30 by 15 mm, its proportions kept.
        const QSizeF dimensione = QSizeF(d.logoStudio.size()).scaled(g.mm(30), g.mm(15), Qt::KeepAspectRatio);
        const QRectF dove(g.mm(15), g.mm(9) + (g.mm(15) - dimensione.height()) / 2, dimensione.width(),
                          dimensione.height());
        pittore.save();
        pittore.setRenderHint(QPainter::SmoothPixmapTransform);
        pittore.drawImage(dove, d.logoStudio);
        pittore.restore();
        x += dimensione.width() / g.mm(1) + 4;
    }
    if (d.studio.isEmpty()) {
        g.Carattere(16, true, true);
        g.Penna(Arancio);
        g.Testo(x, 12, 110 - x, 9, TitoloApplicazione);
    } else {
        g.Carattere(14, true);
        g.Penna(Nero);
        g.Testo(x, 11, 110 - x, 8, d.studio);
    }
    if (!d.indirizzoStudio.isEmpty()) {
        g.Carattere(8);
        g.Penna(Grigio);
        g.Testo(x, 20, 195 - x, 5, d.indirizzoStudio);
    }
    g.Carattere(destraGrassetto ? 11 : 9, destraGrassetto);
    g.Penna(destraGrassetto ? Nero : Grigio);
    g.Testo(110, 12, 85, 9, destra, Qt::AlignRight);
    g.Linea(15, 26, 195, 26, Arancio, 0.8);
}

// The foot of a page: the program that made it, when the head names the
// studio instead.
void Piede(Pagina& g, const DatiReport& d) {
    if (d.studio.isEmpty()) return;
    g.Carattere(6.5);
    g.Penna(Grigio);
    g.Testo(15, 291, 180, 4, TitoloApplicazione, Qt::AlignRight);
}

}  // namespace

QString NomeFileReport(const QString& atleta) {
    QStringList parti;
    if (!atleta.trimmed().isEmpty()) parti << atleta.trimmed();
    const Calendario::Data oggi = Calendario::Servizi().oggi();
    parti << Messaggio(msg::TitoloReport)
          << QDate(oggi.anno, oggi.mese, oggi.giorno).toString(QStringLiteral("yyyy-MM-dd"));
    return NomeFileDaParti(parti);
}

void DisegnaReport(QPainter& pittore, const QPagedPaintDevice& pagina, const DatiReport& d) {
    Pagina g(pittore, pagina);
    pittore.setRenderHint(QPainter::Antialiasing);
    const bool inglese = modLanguageSupport::LinguaCorrente == "english";
    const QLocale locale =
        inglese ? QLocale(QLocale::English, QLocale::UnitedKingdom) : QLocale(QLocale::Italian, QLocale::Italy);
    const Calendario::Data oggi = Calendario::Servizi().oggi();
    const QString data = locale.toString(QDate(oggi.anno, oggi.mese, oggi.giorno), QStringLiteral("d MMMM yyyy"));

    // The studio and the date.
    Intestazione(g, d, data, false);
    Piede(g, d);

    // The athlete.
    g.Carattere(9);
    g.Penna(Grigio);
    g.Testo(15, 29, 120, 5, Messaggio(msg::TitoloReport));
    g.Carattere(18, true);
    g.Penna(Nero);
    g.Testo(15, 34, 180, 10, d.nome.isEmpty() ? QStringLiteral("—") : d.nome);
    g.Carattere(9.5);
    const auto voce = [](const QString& etichetta, const QString& valore) {
        return etichetta + QStringLiteral(": ") + (valore.isEmpty() ? QStringLiteral("—") : valore);
    };
    g.Testo(15, 44, 180, 6,
            voce(Didascalia("frmCondizione", "lblTitEta", "Età"), d.eta) + QStringLiteral("     ") +
                voce(Didascalia("frmAtleti", "Label23", "Sesso"), d.sesso) + QStringLiteral("     ") +
                voce(Didascalia("frmCondizione", "lblTitAltezza", "Altezza (cm)"), d.altezza) +
                QStringLiteral("     ") + voce(Didascalia("frmCondizione", "lblTitPeso", "Peso (Kg)"), d.peso));

    // Body measures, left; the fit results with the athlete's set-up, right.
    double y = 54;
    Titolo(g, y, Messaggio(msg::TitoloMisure));
    const std::array<std::pair<const char*, const char*>, 6> misure{{{"Label7", "Cavallo"},
                                                                     {"Label8", "Busto"},
                                                                     {"Label9", "Coscia"},
                                                                     {"Label10", "Gamba"},
                                                                     {"Label12", "Braccio"},
                                                                     {"Label13", "Spalle"}}};
    QList<QPair<QString, QString>> righeMisure;
    for (std::size_t i = 0; i < 6; ++i)
        righeMisure.append({QString::number(i + 1) + QStringLiteral(" - ") +
                                Didascalia("frmAtleti", misure[i].first, misure[i].second),
                            d.misure[i].isEmpty() ? QStringLiteral("—") : d.misure[i]});
    righeMisure.append({Didascalia("frmAtleti", "Label19", "Lunghezza sella"),
                        d.sellaPredefinita ? d.sella + QStringLiteral(" ") + Messaggio(msg::Predefinita) : d.sella});
    Coppie(g, 15, y + 9, 58, righeMisure);

    const double xa = 80;
    g.Carattere(7.5, true);
    g.Penna(Grigio);
    g.Testo(xa + 61, y + 9, 20, 5, Messaggio(msg::ColonnaCalcolato), Qt::AlignRight);
    g.Testo(xa + 82, y + 9, 14, 5, Messaggio(msg::ColonnaProprio), Qt::AlignRight);
    g.Testo(xa + 96, y + 9, 18, 5, Messaggio(msg::ColonnaDifferenza), Qt::AlignRight);
    double ya = y + 14;
    for (std::size_t i = 0; i < d.assetto.size(); ++i) {
        const RisultatoReport& ris = d.assetto[i];
        if (i % 2 == 0) g.Fondo(xa, ya, 115, 5.5, QColor(245, 245, 245));
        g.Carattere(8);
        g.Penna(Grigio);
        g.Testo(xa + 1, ya, 61, 5.5, ris.nome);
        g.Carattere(8.5, true);
        g.Penna(Nero);
        g.Testo(xa + 61, ya, 20, 5.5, ris.calcolato, Qt::AlignRight);
        g.Carattere(8.5);
        g.Testo(xa + 82, ya, 14, 5.5, ris.set, Qt::AlignRight);
        g.Penna(ris.differenza.isEmpty() || ris.differenza == QLatin1String("0") ? Nero : Rosso);
        g.Testo(xa + 96, ya, 18, 5.5, ris.differenza, Qt::AlignRight);
        ya += 5.5;
    }

    // The bicycle with the athlete's values at its dimension lines.
    y = 122;
    Titolo(g, y, Messaggio(msg::TitoloBikeFit));
    QSvgRenderer bici(QStringLiteral(":/immagini/bici.svg"));
    // The bicycle and its dimension lines, without the empty sky above.
    bici.setViewBox(QRectF(30, 70, 734, 394));
    const QRectF area = g.R(30, y + 7, 150, 150 * 394.0 / 734.0);
    pittore.save();
    pittore.setClipRect(area);
    bici.render(&pittore, area);
    pittore.restore();
    const QRectF vista = bici.viewBoxF();
    const double sx = area.width() / vista.width(), sy = area.height() / vista.height();
    const std::array<std::pair<const char*, std::size_t>, 8> quote{{{"quotaTP", 0},
                                                                    {"quotaTO", 1},
                                                                    {"quotaPE", 2},
                                                                    {"quotaAlfa", 3},
                                                                    {"quotaHS", 6},
                                                                    {"quotaDSM", 7},
                                                                    {"quotaSM", 8},
                                                                    {"quotaR", 9}}};
    g.Carattere(7.5, true);
    for (const auto& [id, i] : quote) {
        const QRectF etichetta = bici.boundsOnElement(QString::fromLatin1(id));
        if (etichetta.isEmpty()) continue;
        const QPointF centro(area.left() + (etichetta.center().x() - vista.left()) * sx,
                             area.top() + (etichetta.bottom() - vista.top()) * sy);
        // The angle in degrees; "n.d." takes no unit.
        const QString& alfa = d.assetto[i].calcolato;
        const bool gradi = i == 3 && !alfa.isEmpty() && alfa != QLatin1String("n.d.");
        const QString testo = d.assetto[i].calcolato + (gradi ? QStringLiteral("°") : QString());
        const QRectF riquadro(centro.x() - g.mm(14), centro.y() + g.mm(0.3), g.mm(28), g.mm(4));
        const QRectF occupato = pittore.boundingRect(riquadro, Qt::AlignCenter | Qt::TextSingleLine, testo);
        pittore.fillRect(occupato.adjusted(-g.mm(0.6), 0, g.mm(0.6), 0), QColor(255, 255, 255, 220));
        pittore.setPen(Blu);
        pittore.drawText(riquadro, Qt::AlignCenter | Qt::TextSingleLine, testo);
    }

    // The fit coordinates under the bicycle: a column per point, a row for
    // the fit, the athlete's own set-up and the change.
    {
        const double yc = 208, xc = 15;
        g.Carattere(7.5, true);
        g.Penna(Grigio);
        g.Testo(xc, yc, 180, 4.5, Messaggio(msg::TitoloCoordinate));
        for (std::size_t i = 0; i < 3; ++i)
            g.Testo(xc + 75 + 35 * static_cast<double>(i), yc + 4.5, 35, 4.5, Messaggio(msg::PuntiCoordinate[i]),
                    Qt::AlignRight);
        const std::array<std::pair<msg::Id, const std::array<QString, 3>*>, 3> righe{
            {{msg::Assetto, &d.coordinateAssetto},
             {msg::Proprio, &d.coordinateSet},
             {msg::Cambiamento, &d.spostamento}}};
        double yr = yc + 9;
        for (const auto& [titolo, valori] : righe) {
            g.Carattere(8);
            g.Penna(Grigio);
            g.Testo(xc + 40, yr, 35, 4.5, Messaggio(titolo));
            g.Carattere(8, true);
            g.Penna(Nero);
            for (std::size_t i = 0; i < 3; ++i)
                g.Testo(xc + 75 + 35 * static_cast<double>(i), yr, 35, 4.5, (*valori)[i], Qt::AlignRight);
            yr += 4.5;
        }
    }

    // The condition.
    y = 232;
    Titolo(g, y, Messaggio(msg::TitoloCondizione));
    const QString assente = QStringLiteral("—");
    auto o = [&assente](const QString& t) { return t.isEmpty() ? assente : t; };
    Coppie(g, 15, y + 9, 80,
           {{Didascalia("frmCondizione", "lblTitIMC", "I.M.C."), o(d.imc)},
            {Didascalia("frmCondizione", "lblTitCondizione", "Stato"), o(d.classe)},
            {Didascalia("frmCondizione", "lblTitPesoIdeale", "Ideale (kg)"), o(d.pesoIdeale)},
            {Didascalia("frmCondizione", "lblTitTra", "Range normale (kg)"), o(d.range)},
            {Didascalia("frmCondizione", "lblTitMetabolismo", "Metabolismo basale"), o(d.metabolismo)},
            {Didascalia("frmCondizione", "lblTitFabb", "Fabbisogno energetico"), o(d.fabbisogno)},
            {Didascalia("frmCondizione", "lblTitFCmax", "FC max"), o(d.fcMax)}});

    const double xz = 105;
    g.Carattere(7.5, true);
    g.Penna(Grigio);
    g.Testo(xz, y + 9, 52, 5, Didascalia("frmCondizione", "lblTitFrequenze", "Frequenze cardiache (bpm)"));
    g.Testo(xz + 52, y + 9, 18, 5, Didascalia("frmCondizione", "lblTitCooper", "Cooper"), Qt::AlignRight);
    g.Testo(xz + 70, y + 9, 20, 5, Didascalia("frmCondizione", "lblTitKarvonen", "Karvonen"), Qt::AlignRight);
    const std::array<std::pair<const char*, const char*>, 5> zone{{{"lblZona5060", "molto leggero"},
                                                                   {"lblZona6070", "leggero"},
                                                                   {"lblZona7080", "moderato"},
                                                                   {"lblZona8090", "elevato"},
                                                                   {"lblZona90100", "massimale"}}};
    const std::array<QColor, 5> colori{QColor(255, 255, 192), QColor(192, 255, 192), QColor(192, 255, 255),
                                       QColor(255, 192, 128), QColor(255, 128, 128)};
    double yz = y + 15;
    for (std::size_t i = 0; i < 5; ++i) {
        g.Fondo(xz, yz, 90, 6, colori[i]);
        g.Carattere(8.5);
        g.Penna(Nero);
        g.Testo(xz + 1, yz, 16, 6, QStringLiteral("%1-%2%").arg(50 + 10 * i).arg(60 + 10 * i));
        g.Testo(xz + 17, yz, 34, 6, Didascalia("frmCondizione", zone[i].first, zone[i].second));
        g.Carattere(8.5, true);
        g.Testo(xz + 50, yz, 20, 6, o(d.cooper[i]), Qt::AlignRight);
        g.Testo(xz + 70, yz, 19, 6, o(d.karvonen[i]), Qt::AlignRight);
        yz += 6;
    }

    g.Linea(15, 285, 195, 285, GrigioChiaro, 0.3);
    g.Carattere(7, false, true);
    g.Penna(Grigio);
    g.Testo(15, 286, 180, 5, Messaggio(msg::ValoriIndicativi));
}

namespace {
double DisegnaAssetto(Pagina& g, QPainter& pittore, double y, const DatiReport& d);
}  // namespace

void DisegnaPaginaAssetti(QPainter& pittore, const QPagedPaintDevice& pagina, const DatiReport& d) {
    Pagina g(pittore, pagina);
    pittore.setRenderHint(QPainter::Antialiasing);
    Intestazione(g, d, d.nome, true);
    Piede(g, d);

    double y = 32;
    if (!d.ultimoAssetto.isEmpty()) y = DisegnaAssetto(g, pittore, y, d);
    if (d.ultimoTest.isEmpty()) return;
    y += 4;
    Titolo(g, y, d.ultimoTest);
    y += 9;
    g.Carattere(9);
    g.Penna(Nero);
    g.Testo(15, y, 180, 6, d.massimaTest + (d.wattPerKg.isEmpty() ? QString() : QStringLiteral("     ") + d.wattPerKg));
    y += 8;
    // Heart-rate zones on the left, power zones on the right.
    const auto colonna = [&](double x, const QString& titolo, const std::vector<std::pair<QString, QString>>& zone) {
        double yz = y;
        g.Carattere(7.5, true);
        g.Penna(Grigio);
        g.Testo(x, yz, 85, 5, titolo);
        yz += 5.5;
        for (std::size_t i = 0; i < zone.size(); ++i) {
            if (i % 2 == 0) g.Fondo(x, yz, 85, 5.5, QColor(245, 245, 245));
            g.Carattere(8.5);
            g.Penna(Nero);
            g.Testo(x + 1, yz, 55, 5.5, zone[i].first);
            g.Carattere(8.5, true);
            g.Testo(x + 56, yz, 28, 5.5, zone[i].second, Qt::AlignRight);
            yz += 5.5;
        }
    };
    if (!d.titoloFriel.isEmpty()) colonna(15, d.titoloFriel, d.zoneFriel);
    if (!d.titoloCoggan.isEmpty()) colonna(110, d.titoloCoggan, d.zoneCoggan);
}

namespace {

// The latest fitting: its frame's sentences, then what changed since the one
// before. The height reached.
double DisegnaAssetto(Pagina& g, QPainter& pittore, double y, const DatiReport& d) {
    Titolo(g, y, d.ultimoAssetto);
    y += 10;
    g.Carattere(9);
    g.Penna(Nero);
    // Sentences: wrapped, each under the one before.
    for (const QString& riga : d.telaio) {
        const QRectF spazio = g.R(15, y, 180, 40);
        const int come = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        const QRectF usato = pittore.boundingRect(spazio, come, riga);
        pittore.drawText(spazio, come, riga);
        y += usato.height() / g.mm(1) + 2;
    }
    if (d.titoloCambiamenti.isEmpty()) return y;
    y += 4;
    Titolo(g, y, d.titoloCambiamenti);
    y += 10;
    for (std::size_t i = 0; i < d.cambiamenti.size() && y < 200; ++i) {
        const registro::Cambiamento& c = d.cambiamenti[i];
        if (i % 2 == 0) g.Fondo(15, y, 180, 5.5, QColor(245, 245, 245));
        g.Carattere(8.5);
        g.Penna(Grigio);
        g.Testo(16, y, 70, 5.5, c.voce);
        g.Penna(Nero);
        g.Testo(86, y, 35, 5.5, c.prima, Qt::AlignRight);
        g.Carattere(8.5, true);
        g.Testo(121, y, 35, 5.5, c.dopo, Qt::AlignRight);
        g.Penna(Rosso);
        g.Testo(156, y, 38, 5.5, c.differenza, Qt::AlignRight);
        y += 5.5;
    }
    return y;
}

}  // namespace

namespace {

void ImpostaA4Verticale(QPagedPaintDevice& dispositivo) {
    dispositivo.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
}

}  // namespace

bool ScriviReportPdf(const Riga& riga, const QString& file, QString* errore,
                     const std::vector<archivio::Assetto>& assetti, const std::vector<archivio::TestAtleta>& test) {
    // Drawn in memory, then written whole: every write of the file checked.
    QBuffer pagina;
    pagina.open(QIODevice::WriteOnly);
    const DatiReport dati = PreparaReport(riga, assetti, test);
    {
        QPdfWriter pdf(&pagina);
        pdf.setResolution(600);
        pdf.setTitle(TitoloApplicazione + QStringLiteral(" - ") + dati.nome);
        pdf.setCreator(TitoloApplicazione);
        ImpostaA4Verticale(pdf);
        QPainter pittore;
        if (!pittore.begin(&pdf)) {
            if (errore) *errore = Messaggio(msg::ErroreImprevisto);
            return false;
        }
        DisegnaReport(pittore, pdf, dati);
        if (ConPaginaAssetti(dati)) {
            pdf.newPage();
            DisegnaPaginaAssetti(pittore, pdf, dati);
        }
        pittore.end();
    }
    return ScriviFileIntero(file, pagina.data(), errore);
}

void StampaReportAtleta(QWidget* finestra, const Riga& riga, const std::vector<archivio::Assetto>& assetti,
                        const std::vector<archivio::TestAtleta>& test) {
    const ServiziStampa& servizi = ServiziStampaCorrenti();
    std::unique_ptr<QPrinter> stampante = servizi.stampante ? servizi.stampante() : nullptr;
    if (!stampante) {
        if (!Chiedi(finestra, Messaggio(msg::NessunaStampante))) return;
        const QString scelto = servizi.scegliFilePdf(finestra, NomeFileReport(Q(riga[archivio::ColonnaNome])));
        if (scelto.isEmpty()) return;
        const QString file = ConEstensionePdf(scelto);
        QString motivo;
        if (!ScriviReportPdf(riga, file, &motivo, assetti, test))
            MostraMessaggio(finestra, Messaggio(msg::FileNonScritto).arg(QDir::toNativeSeparators(file)) +
                                          QStringLiteral("\n\n") + Messaggio(msg::Motivo) + QStringLiteral(": ") +
                                          motivo + QLatin1Char('.'));
        return;
    }
    ImpostaA4Verticale(*stampante);
    QPainter pittore;
    bool riuscita = pittore.begin(stampante.get());
    if (riuscita) {
        const DatiReport dati = PreparaReport(riga, assetti, test);
        DisegnaReport(pittore, *stampante, dati);
        if (ConPaginaAssetti(dati)) {
            riuscita = stampante->newPage();
            if (riuscita) DisegnaPaginaAssetti(pittore, *stampante, dati);
        }
        riuscita = pittore.end() && riuscita;
    }
    if (!riuscita) MostraMessaggio(finestra, Messaggio(msg::StampaFallita));
}
