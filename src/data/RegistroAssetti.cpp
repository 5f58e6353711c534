#include "RegistroAssetti.h"

#include "Calendario.h"
#include "IdMessaggi.h"
#include "Messaggio.h"
#include "Modulo1.h"
#include "TestoPiano.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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

// The labels of the fit sheet the compared values carry.
constexpr std::array<std::string_view, NumeroVoci> Didascalie{
    "Label1",  "Label2",  "Label3",  "Label4",  "Label5",  "Label6",  "Label8",  "Label10",
    "Label11", "Label19", "Label12", "Label13", "Label14", "Label15", "Label16", "Label17",
    "Label18", "Label15", "Label16", "Label17", "Label18", "Label19"};

// A range text " 48 - 50.3" or "-1 --.5" as its two ends.
std::optional<std::pair<double, double>> Estremi(const std::string& t) {
    const std::size_t trattino = t.find(" -", 1);
    if (trattino == std::string::npos) {
        if (!Modulo1::TestoNumerico(t)) return std::nullopt;
        const double v = Modulo1::ValoreTesto(Modulo1::NormalizzaDecimali(t));
        return std::pair{v, v};
    }
    const std::string basso = t.substr(0, trattino), alto = t.substr(trattino + 2);
    if (!Modulo1::TestoNumerico(basso) || !Modulo1::TestoNumerico(alto)) return std::nullopt;
    const double a = Modulo1::ValoreTesto(Modulo1::NormalizzaDecimali(basso)),
                 b = Modulo1::ValoreTesto(Modulo1::NormalizzaDecimali(alto));
    return std::pair{std::min(a, b), std::max(a, b)};
}

// A frame value as typed; nothing when empty or no number.
std::optional<double> Numero(const std::string& testo) { return Modulo1::CentroRisultato(testo); }

}  // namespace

QString NomeDisciplina(const std::string& codice) {
    for (std::size_t i = 0; i < archivio::Discipline.size(); ++i)
        if (codice == archivio::Discipline[i]) return Messaggio(msg::Discipline[i]);
    return Q(codice);
}

archivio::TestiAssetto<archivio::CampoRisultato> RisultatiDi(
    const archivio::TestiAssetto<archivio::CampoMisura>& misure, bool* sellaPredefinita) {
    using M = archivio::CampoMisura;
    using R = archivio::CampoRisultato;
    bool predefinita = false;
    const Modulo1::MisureAssetto m =
        Modulo1::LeggiMisure(misure[M::Cavallo], misure[M::Busto], misure[M::Coscia], misure[M::Gamba],
                             misure[M::Braccio], misure[M::Spalle], misure[M::Sella], predefinita);
    if (sellaPredefinita) *sellaPredefinita = predefinita;
    archivio::TestiAssetto<R> r;
    r[R::TP] = Modulo1::CalcolaTP(m);
    r[R::TO] = Modulo1::CalcolaTO(m);
    r[R::PE] = Modulo1::CalcolaPE(m);
    r[R::Alfa] = Modulo1::CalcolaAlfa(m);
    r[R::Piega] = Modulo1::CalcolaPiega(m);
    r[R::Pipa] = Modulo1::CalcolaPipa(m);
    r[R::HS] = Modulo1::CalcolaHS(m);
    r[R::DSM] = Modulo1::CalcolaDSM(m);
    r[R::SM] = Modulo1::CalcolaSM(m);
    r[R::R] = Modulo1::CalcolaR(m);
    return r;
}

archivio::Assetto AssettoDaRiga(std::int64_t atleta, const archivio::Riga& riga, const std::string& data) {
    archivio::Assetto a;
    a.atleta = atleta;
    a.versione = archivio::VersioneAssetti;
    a.data = data;
    a.bici = riga[*archivio::IndiceColonna("bici")];
    // The fitting's measure and set-up columns carry the names of the athlete's.
    for (const auto c : archivio::TuttiICampi<archivio::CampoMisura>())
        a.misure[c] = riga[*archivio::IndiceColonna(archivio::Colonna(c))];
    for (const auto c : archivio::TuttiICampi<archivio::CampoProprio>())
        a.propri[c] = riga[*archivio::IndiceColonna(archivio::Colonna(c))];
    a.risultati = RisultatiDi(a.misure);
    return a;
}

std::optional<archivio::CampoProprio> ProprioDi(archivio::CampoRisultato r) {
    using R = archivio::CampoRisultato;
    using P = archivio::CampoProprio;
    switch (r) {
    case R::PE: return P::PE;
    case R::HS: return P::HS;
    case R::DSM: return P::DSM;
    case R::SM: return P::SM;
    case R::R: return P::R;
    default: return std::nullopt;
    }
}

Modulo1::CoordinateAssetto CoordinateDellAssetto(const archivio::Assetto& a) {
    using R = archivio::CampoRisultato;
    const auto& r = a.risultati;
    return Modulo1::CalcolaCoordinate(r[R::HS], r[R::Alfa], r[R::R], r[R::DSM], r[R::SM]);
}

Modulo1::CoordinateAssetto CoordinateDelSet(const archivio::Assetto& a) {
    using P = archivio::CampoProprio;
    const auto& p = a.propri;
    return Modulo1::CalcolaCoordinate(p[P::HS], a.risultati[archivio::CampoRisultato::Alfa], p[P::R], p[P::DSM],
                                      p[P::SM]);
}

std::array<RigaCoordinate, 3> RigheCoordinate(const archivio::Assetto& a) {
    const auto fit = CoordinateDellAssetto(a), set = CoordinateDelSet(a);
    const std::array daFit{fit.sella, fit.punta, fit.manubrio};
    const std::array daSet{set.sella, set.punta, set.manubrio};
    static_assert(daFit.size() == std::tuple_size_v<std::array<RigaCoordinate, 3>>);
    std::array<RigaCoordinate, 3> righe;
    for (std::size_t i = 0; i < righe.size(); ++i) {
        RigaCoordinate& r = righe[i];
        r.punto = Messaggio(msg::PuntiCoordinate[i]);
        r.assetto = daFit[i];
        r.proprio = daSet[i];
        r.testoAssetto = TestoPunto(daFit[i]);
        if (!daSet[i]) continue;
        r.testoProprio = TestoPunto(daSet[i]);
        if (daFit[i]) r.spostamento = TestoSpostamento(daFit[i], daSet[i]);
    }
    return righe;
}

std::optional<Modulo1::Telaio> TelaioDi(const archivio::Assetto& a) {
    using T = archivio::CampoTelaio;
    const auto valore = [&a](T campo, double riserva) { return Numero(a.telaio[campo]).value_or(riserva); };
    const auto stack = Numero(a.telaio[T::Stack]), reach = Numero(a.telaio[T::Reach]),
               sterzo = Numero(a.telaio[T::AngoloSterzo]);
    if (!stack || !reach || !sterzo) return std::nullopt;
    Modulo1::Telaio t;
    t.stack = *stack;
    t.reach = *reach;
    t.angoloSterzo = *sterzo;
    t.cappellotto = valore(T::Cappellotto, 10);
    t.spessori = valore(T::Spessori, 0);
    t.attacco = valore(T::Attacco, 0);
    t.angoloAttacco = valore(T::AngoloAttacco, 0);
    t.morsetto = valore(T::Morsetto, 40);
    if (!Modulo1::TelaioValido(t)) return std::nullopt;
    return t;
}

bool ConAttacco(const archivio::Assetto& a) { return !a.telaio[archivio::CampoTelaio::Attacco].empty(); }

QStringList RigheTelaioDi(const archivio::Assetto& a) {
    if (const auto t = TelaioDi(a)) return RigheTelaio(*t, ConAttacco(a), CoordinateDellAssetto(a).manubrio);
    return {Messaggio(msg::NessunTelaio)};
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
    righe << Messaggio(msg::TelaioDato)
                 .arg(Misura(t.stack), Misura(t.reach), Misura(t.angoloSterzo), Misura(t.cappellotto),
                      Misura(t.morsetto));
    if (!manubrioCm) {
        righe << Messaggio(msg::NessunManubrio);
        return righe;
    }
    const Modulo1::Punto bersaglio{manubrioCm->x * 10, manubrioCm->y * 10};
    if (conAttacco) {
        const Modulo1::Punto p = Modulo1::PosizioneManubrio(t);
        const double dx = p.x - bersaglio.x, dy = p.y - bersaglio.y;
        const QString avanti = Messaggio(dx < 0 ? msg::DietroA : msg::DavantiA).arg(Mm(std::abs(dx)));
        const QString alto = Messaggio(dy < 0 ? msg::SottoA : msg::SopraA).arg(Mm(std::abs(dy)));
        righe << Messaggio(msg::AttaccoDato)
                     .arg(Misura(t.attacco), Misura(t.angoloAttacco, true), Misura(t.spessori), Mm(p.x), Mm(p.y),
                          avanti, alto);
    }
    const Modulo1::AttaccoScelto s = Modulo1::AttaccoPiuVicino(t, bersaglio);
    righe << Messaggio(msg::AttaccoPiuVicino)
                 .arg(Misura(s.attacco), Misura(s.angoloAttacco, true), Misura(s.spessori), Mm(s.manubrio.x),
                      Mm(s.manubrio.y), Mm(s.distanza));
    return righe;
}

QString NomeVoce(int i) {
    QString nome = Didascalia("frmScheda", Didascalie[static_cast<std::size_t>(i)]).trimmed();
    if (i >= 17) nome += QLatin1Char(' ') + Didascalia("frmScheda", "Label20").trimmed();
    return nome;
}

const std::string& Voce(const archivio::Assetto& a, int i) {
    // Measures, results, own set-up values, each group in its order.
    constexpr int misure = static_cast<int>(archivio::TestiAssetto<archivio::CampoMisura>::size());
    constexpr int risultati = misure + static_cast<int>(archivio::TestiAssetto<archivio::CampoRisultato>::size());
    // at(): a value past a group's end is a fault, never its neighbour's value.
    if (i < misure) return a.misure.testi.at(static_cast<std::size_t>(i));
    if (i < risultati) return a.risultati.testi.at(static_cast<std::size_t>(i - misure));
    return a.propri.testi.at(static_cast<std::size_t>(i - risultati));
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

std::optional<double> DifferenzaDalSet(const QString& calcolato, const QString& set) {
    const std::string s = set.trimmed().toStdString();
    if (s.empty() || !Modulo1::TestoNumerico(s)) return std::nullopt;
    const auto estremi = Estremi(calcolato.toStdString());
    if (!estremi) return std::nullopt;
    const double v = Modulo1::ValoreTesto(Modulo1::NormalizzaDecimali(s));
    if (v < estremi->first) return v - estremi->first;
    if (v > estremi->second) return v - estremi->second;
    return 0.0;
}

QString TestoDifferenzaDalSet(const QString& calcolato, const QString& set) {
    const auto d = DifferenzaDalSet(calcolato, set);
    if (!d) return {};
    const double v = Modulo1::Arrotonda(*d, 1);
    if (v == 0) return QStringLiteral("0");
    return (v > 0 ? QStringLiteral("+") : QString()) + Q(Modulo1::TestoPiano(v));
}

const archivio::Assetto* UltimoAssetto(const std::vector<archivio::Assetto>& assetti) {
    return assetti.empty() ? nullptr : &assetti.front();
}

const archivio::Assetto* AssettoPrecedente(const std::vector<archivio::Assetto>& assetti) {
    return assetti.size() < 2 ? nullptr : &*std::next(assetti.begin());
}

const archivio::Assetto* UltimoSullaBici(const std::vector<archivio::Assetto>& assetti, const std::string& bici) {
    for (const auto& a : assetti)
        if (a.bici == bici) return &a;
    return nullptr;
}

QString NomeAssetto(const archivio::Assetto& a) {
    if (a.bici.empty()) return Q(a.data);
    return Messaggio(msg::AssettoConBici).arg(Q(a.data), Q(a.bici));
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

ZoneDelTest ZoneDi(const archivio::TestAtleta& t, const std::string& pesoRiserva) {
    using Modulo1::Grandezza;
    ZoneDelTest z;
    const double lthr = ValoreAmmesso(Grandezza::Lthr, t.lthr).value_or(0);
    const double ftp = ValoreAmmesso(Grandezza::Ftp, t.ftp).value_or(0);
    z.friel = Modulo1::ZoneFriel(lthr);
    z.coggan = Modulo1::ZoneCoggan(ftp);
    z.peso = t.peso.empty() ? pesoRiserva : t.peso;
    z.wattPerKg = Modulo1::WattPerKg(ftp, ValoreAmmesso(Grandezza::Peso, z.peso).value_or(0));
    return z;
}

QString TestoDataNonValida(const std::string& data, bool assetto) {
    const auto d = Calendario::LeggiDataIso(data);
    if (!d) return Messaggio(assetto ? msg::DataAssettoNonValida : msg::DataTestNonValida);
    if (Calendario::TestoIso(*d) > Calendario::TestoIso(Calendario::Servizi().oggi()))
        return Messaggio(msg::DataFutura).arg(Q(data));
    return {};
}

QString NomeGrandezza(Modulo1::Grandezza g) {
    static_assert(msg::NomiGrandezze.size() == Modulo1::NumeroGrandezze);
    return Messaggio(msg::NomiGrandezze[static_cast<std::size_t>(g)]);
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
        return Messaggio(rifiuto   ? msg::SogliaImpossibile
                         : domanda ? msg::SogliaInsolitaDomanda
                                   : msg::SogliaInsolita)
            .arg(nome, valore, NomeGrandezza(*f.rispetto), ValoreConUnita(*f.rispetto, f.altro));
    const Modulo1::Limiti& l = Modulo1::LimitiDi(f.grandezza);
    const Modulo1::Intervallo& i = rifiuto ? l.possibile : l.usuale;
    return Messaggio(rifiuto   ? msg::ValoreImpossibile
                     : domanda ? msg::ValoreInsolitoDomanda
                               : msg::ValoreInsolito)
        .arg(nome, valore, ValoreConUnita(f.grandezza, i.minimo), ValoreConUnita(f.grandezza, i.massimo));
}

std::array<std::optional<double>, 8> ValoriTelaio(const archivio::Assetto& a) {
    // The frame's columns and the frame's kinds of value share their order.
    static_assert(archivio::NumeroCampi<archivio::CampoTelaio> == 8);
    std::array<std::optional<double>, 8> valori;
    for (const auto c : archivio::TuttiICampi<archivio::CampoTelaio>())
        valori[static_cast<std::size_t>(c)] = ValoreScritto(a.telaio[c]);
    return valori;
}

}  // namespace registro
