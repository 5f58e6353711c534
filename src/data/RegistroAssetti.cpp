#include "RegistroAssetti.h"

#include "Calendario.h"
#include "Messaggio.h"
#include "Modulo1.h"
#include "TestoPiano.h"

#include <cmath>

namespace registro {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString Mm(double x) { return Q(Modulo1::TestoUnDecimale(x)); }
// A length or an angle of a frame as the fitter gives it: whole numbers
// without decimals ("90", "72.5"); an angle of a stem with its sign ("+17").
QString Misura(double x, bool segno = false) {
    QString t = Mm(x);
    if (t.endsWith(QStringLiteral(".0"))) t.chop(2);
    if (segno && !t.startsWith(QLatin1Char('-')) && t != QStringLiteral("0")) t.prepend(QLatin1Char('+'));
    return t;
}

// The message numbers of the disciplines, in the order of archivio::Discipline.
constexpr std::array<std::string_view, 5> MessaggiDiscipline{"0344", "0345", "0346", "0347", "0348"};

// The labels of the fit sheet the compared values carry.
constexpr std::array<std::string_view, NumeroVoci> Didascalie{
    "Label1",  "Label2",  "Label3",  "Label4",  "Label5",  "Label6",  "Label8",  "Label10",
    "Label11", "Label19", "Label12", "Label13", "Label14", "Label15", "Label16", "Label17",
    "Label18", "Label15", "Label16", "Label17", "Label18", "Label19"};

// A frame value as typed; nothing when empty or no number.
std::optional<double> Numero(const std::string& testo) { return Modulo1::CentroRisultato(testo); }

}  // namespace

QString NomeDisciplina(const std::string& codice) {
    for (std::size_t i = 0; i < archivio::Discipline.size(); ++i)
        if (codice == archivio::Discipline[i]) return Messaggio(MessaggiDiscipline[i]);
    return Q(codice);
}

std::array<std::string, 10> RisultatiDi(const std::array<std::string, 7>& misure) {
    bool predefinita = false;
    const Modulo1::MisureAssetto m =
        Modulo1::LeggiMisure(misure[0], misure[1], misure[2], misure[3], misure[4], misure[5], misure[6], predefinita);
    // In the order of the fitting's columns: TP, TO, PE, alfa, piega, pipa, HS, DSM, SM, R.
    return {Modulo1::CalcolaTP(m),    Modulo1::CalcolaTO(m),   Modulo1::CalcolaPE(m), Modulo1::CalcolaAlfa(m),
            Modulo1::CalcolaPiega(m), Modulo1::CalcolaPipa(m), Modulo1::CalcolaHS(m), Modulo1::CalcolaDSM(m),
            Modulo1::CalcolaSM(m),    Modulo1::CalcolaR(m)};
}

archivio::Assetto AssettoDaRiga(std::int64_t atleta, const archivio::Riga& riga, const std::string& data) {
    archivio::Assetto a;
    a.atleta = atleta;
    a.versione = archivio::VersioneAssetti;
    a.data = data;
    a.bici = riga[*archivio::IndiceColonna("bici")];
    // The fitting's measure and set-up columns carry the names of the athlete's.
    for (std::size_t i = 0; i < a.misure.size(); ++i)
        a.misure[i] = riga[*archivio::IndiceColonna(archivio::ColonneMisure[i])];
    for (std::size_t i = 0; i < a.propri.size(); ++i)
        a.propri[i] = riga[*archivio::IndiceColonna(archivio::ColonnePropri[i])];
    a.risultati = RisultatiDi(a.misure);
    return a;
}

Modulo1::CoordinateAssetto CoordinateDellAssetto(const archivio::Assetto& a) {
    const auto& r = a.risultati;
    return Modulo1::CalcolaCoordinate(r[6], r[3], r[9], r[7], r[8]);
}

Modulo1::CoordinateAssetto CoordinateDelSet(const archivio::Assetto& a) {
    const auto& p = a.propri;
    return Modulo1::CalcolaCoordinate(p[0], a.risultati[3], p[3], p[1], p[2]);
}

std::optional<Modulo1::Telaio> TelaioDi(const archivio::Assetto& a) {
    const auto valore = [&a](int i, double riserva) {
        const auto v = Numero(a.telaio[static_cast<std::size_t>(i)]);
        return v ? *v : riserva;
    };
    for (int i : {0, 1, 2})
        if (!Numero(a.telaio[static_cast<std::size_t>(i)])) return std::nullopt;
    Modulo1::Telaio t;
    t.stack = valore(0, 0);
    t.reach = valore(1, 0);
    t.angoloSterzo = valore(2, 0);
    t.cappellotto = valore(3, 10);
    t.spessori = valore(4, 0);
    t.attacco = valore(5, 0);
    t.angoloAttacco = valore(6, 0);
    t.morsetto = valore(7, 40);
    if (!Modulo1::TelaioValido(t)) return std::nullopt;
    return t;
}

QString TestoPunto(const std::optional<Modulo1::Punto>& p) {
    if (!p) return QStringLiteral("n.d.");
    return Mm(p->x) + QStringLiteral(", ") + Mm(p->y);
}

QString TestoSpostamento(const std::optional<Modulo1::Punto>& da, const std::optional<Modulo1::Punto>& a) {
    if (!da || !a) return QStringLiteral("n.d.");
    const QString dx = Q(Modulo1::TestoDifferenza(a->x - da->x));
    const QString dy = Q(Modulo1::TestoDifferenza(a->y - da->y));
    if (dx.isEmpty() && dy.isEmpty()) return {};
    return (dx.isEmpty() ? QStringLiteral("0") : dx) + QStringLiteral(", ") + (dy.isEmpty() ? QStringLiteral("0") : dy);
}

QStringList RigheTelaio(const Modulo1::Telaio& t, bool conAttacco, const std::optional<Modulo1::Punto>& manubrioCm) {
    QStringList righe;
    righe << Messaggio("0349").arg(Misura(t.stack), Misura(t.reach), Misura(t.angoloSterzo), Misura(t.cappellotto),
                                   Misura(t.morsetto));
    if (!manubrioCm) {
        righe << Messaggio("0357");
        return righe;
    }
    const Modulo1::Punto bersaglio{manubrioCm->x * 10, manubrioCm->y * 10};
    if (conAttacco) {
        const Modulo1::Punto p = Modulo1::PosizioneManubrio(t);
        const double dx = p.x - bersaglio.x, dy = p.y - bersaglio.y;
        const QString avanti = Messaggio(dx < 0 ? "0352" : "0351").arg(Mm(std::abs(dx)));
        const QString alto = Messaggio(dy < 0 ? "0354" : "0353").arg(Mm(std::abs(dy)));
        righe << Messaggio("0350").arg(Misura(t.attacco), Misura(t.angoloAttacco, true), Misura(t.spessori), Mm(p.x),
                                       Mm(p.y), avanti, alto);
    }
    const Modulo1::AttaccoScelto s = Modulo1::AttaccoPiuVicino(t, bersaglio);
    righe << Messaggio("0355").arg(Misura(s.attacco), Misura(s.angoloAttacco, true), Misura(s.spessori),
                                   Mm(s.manubrio.x), Mm(s.manubrio.y), Mm(s.distanza));
    return righe;
}

QString NomeVoce(int i) {
    QString nome = Didascalia("frmScheda", Didascalie[static_cast<std::size_t>(i)]).trimmed();
    if (i >= 17) nome += QLatin1Char(' ') + Didascalia("frmScheda", "Label20").trimmed();
    return nome;
}

const std::string& Voce(const archivio::Assetto& a, int i) {
    if (i < 7) return a.misure[static_cast<std::size_t>(i)];
    if (i < 17) return a.risultati[static_cast<std::size_t>(i - 7)];
    return a.propri[static_cast<std::size_t>(i - 17)];
}

QString DifferenzaVoce(const std::string& prima, const std::string& dopo) {
    const auto da = Modulo1::CentroRisultato(prima), a = Modulo1::CentroRisultato(dopo);
    if (!da || !a) return {};
    return Q(Modulo1::TestoDifferenza(*a - *da));
}

std::vector<Cambiamento> Cambiamenti(const archivio::Assetto& prima, const archivio::Assetto& dopo) {
    std::vector<Cambiamento> cambiati;
    for (int i = 0; i < NumeroVoci; ++i) {
        const QString p = Q(Voce(prima, i)).trimmed(), d = Q(Voce(dopo, i)).trimmed();
        if (p == d) continue;
        cambiati.push_back({NomeVoce(i), p, d, DifferenzaVoce(Voce(prima, i), Voce(dopo, i))});
    }
    return cambiati;
}

QString NomeAssetto(const archivio::Assetto& a) {
    if (a.bici.empty()) return Q(a.data);
    return Messaggio("0509").arg(Q(a.data), Q(a.bici));
}

std::optional<double> ValoreScritto(const std::string& testo) {
    if (Q(testo).trimmed().isEmpty()) return std::nullopt;
    // A text that is no number is a value no athlete has.
    return Modulo1::CentroRisultato(testo).value_or(std::nan(""));
}

std::optional<double> ValoreAmmesso(Modulo1::Grandezza g, const std::string& testo) {
    const auto v = ValoreScritto(testo);
    if (!v || Modulo1::Giudica(g, *v) == Modulo1::Giudizio::Impossibile) return std::nullopt;
    return v;
}

TestInUso UltimoTest(const std::vector<archivio::TestAtleta>& test) {
    TestInUso uso;
    const std::string oggi = Calendario::TestoIso(Calendario::Servizi().oggi());
    for (const auto& t : test)
        // yyyy-mm-dd in the order of the days
        if (t.data <= oggi) {
            uso.test = &t;
            break;
        }
    if (!uso.test) return uso;
    uso.fcMaxMisurata = ValoreAmmesso(Modulo1::Grandezza::FcMax, uso.test->fcmax).value_or(0);
    return uso;
}

QString TestoDataNonValida(const std::string& data, bool assetto) {
    const auto d = Calendario::LeggiDataIso(data);
    if (!d) return Messaggio(assetto ? "0507" : "0403");
    if (Calendario::TestoIso(*d) > Calendario::TestoIso(Calendario::Servizi().oggi()))
        return Messaggio("0504").arg(Q(data));
    return {};
}

QString NomeGrandezza(Modulo1::Grandezza g) {
    static constexpr std::array<std::string_view, Modulo1::NumeroGrandezze> nomi{
        "0510", "0511", "0512", "0513", "0514", "0515", "0516", "0517", "0518", "0519", "0520", "0521", "0522"};
    return Messaggio(nomi[static_cast<std::size_t>(g)]);
}

QString ValoreConUnita(Modulo1::Grandezza g, double valore) {
    using G = Modulo1::Grandezza;
    // As typed; a quotient to two decimals.
    const double v = g == G::WattPerKg ? Modulo1::Arrotonda(valore, 2) : valore;
    const QString numero = std::isfinite(valore) ? Q(Modulo1::TestoPiano(v)) : QString();
    switch (g) {
    case G::FcMax:
    case G::Lthr: return numero + QStringLiteral(" bpm");
    case G::Ftp: return numero + QStringLiteral(" W");
    case G::Peso: return numero + QStringLiteral(" kg");
    case G::WattPerKg: return numero + QStringLiteral(" W/kg");
    case G::AngoloSterzo:
    case G::AngoloAttacco: return numero + QStringLiteral("°");
    default: return numero + QStringLiteral(" mm");
    }
}

QString TestoValoreFuori(const Modulo1::ValoreFuori& f, bool domanda) {
    const bool rifiuto = f.giudizio == Modulo1::Giudizio::Impossibile;
    const QString nome = NomeGrandezza(f.grandezza);
    // A value no number at all is named by its kind alone.
    const QString valore = std::isfinite(f.valore) ? ValoreConUnita(f.grandezza, f.valore) : QString();
    if (f.rispetto)
        return Messaggio(rifiuto   ? "0502"
                         : domanda ? "0503"
                                   : "0524")
            .arg(nome, valore, NomeGrandezza(*f.rispetto), ValoreConUnita(*f.rispetto, f.altro));
    const Modulo1::Limiti& l = Modulo1::LimitiDi(f.grandezza);
    const Modulo1::Intervallo& i = rifiuto ? l.possibile : l.usuale;
    return Messaggio(rifiuto   ? "0500"
                     : domanda ? "0501"
                               : "0523")
        .arg(nome, valore, ValoreConUnita(f.grandezza, i.minimo), ValoreConUnita(f.grandezza, i.massimo));
}

std::array<std::optional<double>, 8> ValoriTelaio(const archivio::Assetto& a) {
    std::array<std::optional<double>, 8> valori;
    for (std::size_t i = 0; i < valori.size(); ++i) valori[i] = ValoreScritto(a.telaio[i]);
    return valori;
}

}  // namespace registro
