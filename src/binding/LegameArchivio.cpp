#include "LegameArchivio.h"

#include "AtletaCorrente.h"
#include "AvvisiArchivio.h"
#include "ConnessioneCondivisa.h"
#include "NavigatoreDati.h"
#include "Percorso.h"
#include "modLanguageSupport.h"

#include <QAbstractButton>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QTextEdit>
#include <QtDebug>

#include <algorithm>

using archivio::Riga;

namespace {

std::filesystem::path PercorsoDi(const QString& file) { return PercorsoDa(file); }

QString Testo(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

LegameArchivio::LegameArchivio(QWidget* finestra, NavigatoreDati* Data1, QLineEdit* txtNome,
                               QList<LegameColonna> legami, QObject* parent)
    : QObject(parent), finestra_(finestra), navigatore_(Data1), txtNome_(txtNome) {
    Q_ASSERT(Data1);
    Q_ASSERT(txtNome);
    legami.prepend({txtNome, QStringLiteral("nome")});
    controlli_.reserve(static_cast<std::size_t>(legami.size()));
    for (const LegameColonna& l : legami) {
        if (!l.controllo) continue;
        const auto colonna = archivio::IndiceColonna(l.colonna.toStdString());
        if (!colonna) {
            qWarning("LegameArchivio: the table has no column \"%s\" (control %s)", qPrintable(l.colonna),
                     qPrintable(l.controllo->objectName()));
            continue;
        }
        bool doppio = false;
        for (const Controllo& c : controlli_) doppio = doppio || c.widget == l.controllo;
        if (doppio) continue;
        Tipo tipo;
        if (qobject_cast<QLineEdit*>(l.controllo))
            tipo = Tipo::Riga;
        else if (qobject_cast<QPlainTextEdit*>(l.controllo) || qobject_cast<QTextEdit*>(l.controllo))
            tipo = Tipo::Documento;
        else if (qobject_cast<QComboBox*>(l.controllo))
            tipo = Tipo::Tendina;
        else if (auto* b = qobject_cast<QAbstractButton*>(l.controllo); b && b->isCheckable())
            tipo = Tipo::Casella;
        else {
            qWarning("LegameArchivio: control %s cannot be bound", qPrintable(l.controllo->objectName()));
            continue;
        }
        controlli_.push_back({l.controllo, *colonna, tipo, false, true, false});
    }
    for (std::size_t i = 0; i < controlli_.size(); ++i) Collega(static_cast<int>(i));

    Data1->AccogliNome(txtNome);
    connect(Data1, &NavigatoreDati::Primo, this, [this] { MuoviPrimo(); });
    connect(Data1, &NavigatoreDati::Precedente, this, [this] { MuoviPrecedente(); });
    connect(Data1, &NavigatoreDati::Successivo, this, [this] { MuoviSuccessivo(); });
    connect(Data1, &NavigatoreDati::Ultimo, this, [this] { MuoviUltimo(); });
    // Picker change: the search with the picked text, as it is.
    connect(Data1, &NavigatoreDati::NomeScelto, this, [this](const QString& nome) { TrovaAtleta(nome); });

    // Until the archive is open the window stands at the end: nothing typed
    // before could be kept.
    RendiModificabili(false);
}

LegameArchivio::~LegameArchivio() {
    if (!aperto_) return;
    // The controls may be gone already; the row as the window had it is in
    // valori_.
    if (auto errore = Scrivi()) MostraMessaggio(nullptr, TestoModifichePerse(file_, NomeCorrente(), *errore));
}

void LegameArchivio::Collega(int indice) {
    QWidget* w = controlli_[static_cast<std::size_t>(indice)].widget;
    auto cambiato = [this, indice] { ControlloCambiato(indice); };
    // The signals only the user's own changes raise.
    auto toccato = [this, indice] { ToccatoDalCoach(indice); };
    switch (controlli_[static_cast<std::size_t>(indice)].tipo) {
    case Tipo::Riga: {
        auto* box = static_cast<QLineEdit*>(w);
        connect(box, &QLineEdit::textChanged, this, cambiato);
        connect(box, &QLineEdit::textEdited, this, toccato);
        break;
    }
    case Tipo::Documento:
        // Only the binding sets a notes box's text, and only while it shows a
        // row: any other change is the coach's.
        if (auto* p = qobject_cast<QPlainTextEdit*>(w))
            connect(p, &QPlainTextEdit::textChanged, this, toccato);
        else
            connect(static_cast<QTextEdit*>(w), &QTextEdit::textChanged, this, toccato);
        break;
    case Tipo::Tendina: {
        auto* c = static_cast<QComboBox*>(w);
        connect(c, &QComboBox::editTextChanged, this, cambiato);
        connect(c, &QComboBox::currentTextChanged, this, cambiato);
        connect(c, &QComboBox::activated, this, toccato);
        if (c->lineEdit()) connect(c->lineEdit(), &QLineEdit::textEdited, this, toccato);
        break;
    }
    case Tipo::Casella: {
        auto* b = static_cast<QAbstractButton*>(w);
        connect(b, &QAbstractButton::toggled, this, cambiato);
        connect(b, &QAbstractButton::clicked, this, toccato);
        break;
    }
    }
}

QString LegameArchivio::Valore(const Controllo& c) const {
    QWidget* w = c.widget;
    switch (c.tipo) {
    case Tipo::Riga: return static_cast<QLineEdit*>(w)->text();
    case Tipo::Documento:
        if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText();
        return static_cast<QTextEdit*>(w)->toPlainText();
    case Tipo::Tendina: return static_cast<QComboBox*>(w)->currentText();
    case Tipo::Casella:
        return static_cast<QAbstractButton*>(w)->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }
    return {};
}

void LegameArchivio::Imposta(const Controllo& c, const QString& valore) {
    QWidget* w = c.widget;
    switch (c.tipo) {
    case Tipo::Riga:
        static_cast<QLineEdit*>(w)->setText(valore);  // no notification for the same text
        break;
    case Tipo::Documento:
        if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
            if (p->toPlainText() != valore) p->setPlainText(valore);
        } else if (auto* t = static_cast<QTextEdit*>(w); t->toPlainText() != valore) {
            t->setPlainText(valore);
        }
        break;
    case Tipo::Tendina: {
        auto* combo = static_cast<QComboBox*>(w);
        if (combo->isEditable()) {
            if (combo->currentText() != valore) combo->setEditText(valore);
        } else {
            combo->setCurrentIndex(
                valore.isEmpty() ? -1 : combo->findText(valore, Qt::MatchExactly | Qt::MatchCaseSensitive));
        }
        break;
    }
    case Tipo::Casella: static_cast<QAbstractButton*>(w)->setChecked(valore == QLatin1String("1")); break;
    }
}

void LegameArchivio::ControlloCambiato(int indice) {
    if (stato_ == Stato::Fine || caricamento_) return;  // no row, or the row's own values going in
    const Controllo& c = controlli_[static_cast<std::size_t>(indice)];
    if (!c.widget || !c.toccato) return;
    const QString valore = Valore(c);
    valori_[c.colonna] = (c.memorizza ? c.memorizza(valore) : valore).toStdString();
}

void LegameArchivio::ImpostaForma(QWidget* controllo, std::function<QString(const QString&)> mostra,
                                  std::function<QString(const QString&)> memorizza) {
    for (Controllo& c : controlli_) {
        if (c.widget != controllo) continue;
        c.mostra = std::move(mostra);
        c.memorizza = std::move(memorizza);
        return;
    }
}

void LegameArchivio::ToccatoDalCoach(int indice) {
    if (stato_ == Stato::Fine || caricamento_) return;
    Controllo& c = controlli_[static_cast<std::size_t>(indice)];
    c.toccato = true;
    ControlloCambiato(indice);
}

void LegameArchivio::RendiModificabili(bool modificabili) {
    for (Controllo& c : controlli_) {
        QWidget* w = c.widget;
        if (!w) continue;
        if (!modificabili) {
            if (c.bloccato) continue;
            c.bloccato = true;
            switch (c.tipo) {
            case Tipo::Riga:
                c.solaLetturaProgetto = static_cast<QLineEdit*>(w)->isReadOnly();
                static_cast<QLineEdit*>(w)->setReadOnly(true);
                break;
            case Tipo::Documento:
                if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
                    c.solaLetturaProgetto = p->isReadOnly();
                    p->setReadOnly(true);
                } else {
                    auto* t = static_cast<QTextEdit*>(w);
                    c.solaLetturaProgetto = t->isReadOnly();
                    t->setReadOnly(true);
                }
                break;
            case Tipo::Tendina:
            case Tipo::Casella:
                c.abilitatoProgetto = w->isEnabled();
                w->setEnabled(false);
                break;
            }
        } else {
            if (!c.bloccato) continue;
            c.bloccato = false;
            switch (c.tipo) {
            case Tipo::Riga: static_cast<QLineEdit*>(w)->setReadOnly(c.solaLetturaProgetto); break;
            case Tipo::Documento:
                if (auto* p = qobject_cast<QPlainTextEdit*>(w))
                    p->setReadOnly(c.solaLetturaProgetto);
                else
                    static_cast<QTextEdit*>(w)->setReadOnly(c.solaLetturaProgetto);
                break;
            case Tipo::Tendina:
            case Tipo::Casella: w->setEnabled(c.abilitatoProgetto); break;
            }
        }
    }
}

QComboBox* LegameArchivio::DBCombo1() const { return navigatore_ ? navigatore_->DBCombo1() : nullptr; }

QString LegameArchivio::FileArchivio() const { return file_; }

int LegameArchivio::Posizione() const {
    switch (stato_) {
    case Stato::Fine: return -1;
    case Stato::Nuova: return NumeroRighe();
    case Stato::Riga: break;
    }
    return posizione_;
}

bool LegameArchivio::Modificata() const {
    switch (stato_) {
    case Stato::Fine: return false;
    case Stato::Nuova: return !valori_.vuota();
    case Stato::Riga: break;
    }
    return valori_ != originale_;
}

bool LegameArchivio::NuovaDaScrivere() const { return stato_ == Stato::Nuova && !valori_.vuota(); }

QString LegameArchivio::NomeCorrente() const { return Testo(valori_[archivio::ColonnaNome]); }

void LegameArchivio::Avvisa(const QString& testo) { MostraMessaggio(finestra_, testo); }

std::optional<std::int64_t> LegameArchivio::IdCorrente() const {
    if (stato_ != Stato::Riga) return std::nullopt;
    return id_[static_cast<std::size_t>(posizione_)];
}

bool LegameArchivio::ApriArchivio(const QString& nomeAtleta, std::optional<std::int64_t> riga, bool vuoto) {
    if (caricamento_) return false;
    if (aperto_) {
        if (!ScriviModifiche()) return false;
        archivio_.reset();
        aperto_ = false;
    }
    file_ = PercorsoArchivio;
    if (file_.isEmpty()) file_ = PercorsoArchivioPredefinito();
    id_.clear();
    QStringListModel* elenco = navigatore_ ? navigatore_->ElencoNomi() : nullptr;
    if (elenco) elenco->setStringList({});

    archivio::Esito esito;
    archivio_ = archivio::ConnessioneCondivisa(PercorsoDi(file_), esito);
    // The names of the athletes, read again only when the table has changed
    // since a window last read them.
    struct Elenco {
        std::uint64_t apertura = 0;
        std::uint64_t versione = 0;
        std::vector<std::int64_t> id;
        QStringList nomi;
    };
    static Elenco ultimo;
    QStringList lista;
    if (esito) {
        const std::uint64_t versione = archivio_->Versione();
        if (ultimo.apertura == archivio_->Apertura() && ultimo.versione == versione) {
            id_ = ultimo.id;
            lista = ultimo.nomi;
        } else {
            std::vector<std::string> nomi;
            esito = archivio_->ElencaRighe(id_, nomi);
            lista.reserve(static_cast<qsizetype>(nomi.size()));
            for (const std::string& n : nomi) lista.append(Testo(n));
            ultimo = esito ? Elenco{archivio_->Apertura(), versione, id_, lista} : Elenco{};
        }
    }
    if (!esito) {
        archivio_.reset();
        id_.clear();
        if (navigatore_) navigatore_->MostraSeleziona();
        MostraFine();
        Avvisa(TestoArchivioNonAperto(file_, esito.errore()));
        return false;
    }
    aperto_ = true;

    if (elenco) elenco->setStringList(lista);
    if (navigatore_) navigatore_->MostraSeleziona();

    if (riga) {
        const auto trovata = std::find(id_.begin(), id_.end(), *riga);
        if (trovata != id_.end()) {
            const auto posizione = static_cast<int>(trovata - id_.begin());
            if (lista[posizione] == nomeAtleta) {
                MostraPosizione(posizione);
                return true;
            }
        }
    }
    if (nomeAtleta.isEmpty()) {
        if (!id_.empty() && !vuoto)
            MostraPosizione(0);
        else if (nuoveRighe_)
            MostraNuova();
        else
            MostraFine();
    } else {
        const qsizetype trovato = lista.indexOf(nomeAtleta);
        if (trovato >= 0)
            MostraPosizione(static_cast<int>(trovato));
        else
            MostraFine();
    }
    return true;
}

void LegameArchivio::ApplicaRegole() {
    if (!aperto_ || caricamento_ || stato_ == Stato::Fine) return;
    for (const auto& regola : regole_) regola();
}

std::optional<archivio::Errore> LegameArchivio::Scrivi() {
    if (!aperto_) return std::nullopt;
    ApplicaRegole();
    if (stato_ == Stato::Nuova) {
        if (valori_.vuota()) return std::nullopt;
        std::int64_t id = 0;
        if (archivio::Esito e = archivio_->AggiungiRiga(valori_, id); !e) return e.errore();
        id_.push_back(id);
        if (QStringListModel* elenco = navigatore_ ? navigatore_->ElencoNomi() : nullptr) {
            const int riga = elenco->rowCount();
            elenco->insertRows(riga, 1);
            elenco->setData(elenco->index(riga), NomeCorrente());
        }
        stato_ = Stato::Riga;
        posizione_ = NumeroRighe() - 1;
        originale_ = valori_;
        return std::nullopt;
    }
    if (stato_ != Stato::Riga) return std::nullopt;
    std::vector<archivio::Campo> campi;
    for (int i = 0; i < archivio::NumeroColonne; ++i)
        if (valori_[i] != originale_[i]) campi.push_back({i, valori_[i]});
    if (campi.empty()) return std::nullopt;
    if (archivio::Esito e = archivio_->ScriviCampi(id_[static_cast<std::size_t>(posizione_)], campi); !e)
        return e.errore();
    const bool nomeCambiato = valori_[archivio::ColonnaNome] != originale_[archivio::ColonnaNome];
    originale_ = valori_;
    if (nomeCambiato) {
        if (QStringListModel* elenco = navigatore_ ? navigatore_->ElencoNomi() : nullptr)
            elenco->setData(elenco->index(posizione_), NomeCorrente());
    }
    return std::nullopt;
}

bool LegameArchivio::ScriviModifiche() {
    if (auto errore = Scrivi()) {
        Avvisa(TestoModificheNonScritte(file_, NomeCorrente(), *errore));
        return false;
    }
    return true;
}

archivio::Esito LegameArchivio::AggiungiAtleti(const std::function<archivio::Esito(archivio::Archivio&)>& aggiungi) {
    if (!aperto_ || caricamento_)
        return archivio::Errore{.motivo = archivio::Motivo::Altro, .dettaglio = "archive not open"};
    if (!ScriviModifiche()) return archivio::Errore{.motivo = archivio::Motivo::Altro, .dettaglio = "pending edit"};
    const archivio::Esito esito = aggiungi(*archivio_);
    // The new rows join the record set and the picker at the end; the coach
    // is told when the window cannot list them.
    std::vector<std::int64_t> id;
    std::vector<std::string> nomi;
    if (archivio::Esito e = archivio_->ElencaRighe(id, nomi); !e) {
        Avvisa(TestoRigaNonLetta(file_, e.errore()));
        return esito;
    }
    if (id.size() == id_.size()) return esito;
    const int prima = NumeroRighe();
    id_ = std::move(id);
    if (QStringListModel* elenco = navigatore_ ? navigatore_->ElencoNomi() : nullptr) {
        QStringList lista = elenco->stringList();
        for (std::size_t i = static_cast<std::size_t>(prima); i < nomi.size(); ++i) lista.append(Testo(nomi[i]));
        elenco->setStringList(lista);
    }
    if (stato_ == Stato::Nuova) posizione_ = NumeroRighe();
    return esito;
}

archivio::Esito LegameArchivio::SostituisciArchivio(const std::function<archivio::Esito()>& sostituisci) {
    if (caricamento_) return archivio::Errore{.motivo = archivio::Motivo::Altro, .dettaglio = "busy"};
    if (aperto_ && !ScriviModifiche())
        return archivio::Errore{.motivo = archivio::Motivo::Altro, .dettaglio = "pending edit"};
    const QString nome = NomeCorrente();
    const std::optional<std::int64_t> riga =
        stato_ == Stato::Riga ? std::optional(id_[static_cast<std::size_t>(posizione_)]) : std::nullopt;
    archivio_.reset();
    archivio::ChiudiConnessioneCondivisa();
    aperto_ = false;
    const archivio::Esito esito = sostituisci();
    ApriArchivio(nome, riga);
    if (AllaFine() && NumeroRighe() > 0) MostraPosizione(0);
    return esito;
}

bool LegameArchivio::ChiudiArchivio() {
    if (!aperto_) return true;
    if (auto errore = Scrivi()) {
        const auto risposta = MostraMessaggio(finestra_, TestoChiudereComunque(file_, NomeCorrente(), *errore),
                                              QMessageBox::Yes | QMessageBox::No);
        if (risposta != QMessageBox::Yes) return false;
    }
    archivio_.reset();
    aperto_ = false;
    return true;
}

bool LegameArchivio::Vai(Destinazione d) {
    if (!aperto_ || caricamento_ || d.tipo == Destinazione::Tipo::Nessuna) return false;
    if (!ScriviModifiche()) return false;
    switch (d.tipo) {
    case Destinazione::Tipo::Riga: return MostraPosizione(d.posizione);
    case Destinazione::Tipo::Fine: MostraFine(); return true;
    case Destinazione::Tipo::Nuova: MostraNuova(); return true;
    case Destinazione::Tipo::Nessuna: break;
    }
    return false;
}

// The destinations are worked out before the pending edit is written: a new
// row that will be written takes the index NumeroRighe().

bool LegameArchivio::MuoviPrimo() {
    ApplicaRegole();  // they may empty a new row, which then is not written
    const int totale = NumeroRighe() + (NuovaDaScrivere() ? 1 : 0);
    if (totale == 0) return false;
    return Vai({Destinazione::Tipo::Riga, 0});
}

bool LegameArchivio::MuoviUltimo() {
    ApplicaRegole();  // they may empty a new row, which then is not written
    const int totale = NumeroRighe() + (NuovaDaScrivere() ? 1 : 0);
    if (totale == 0) return false;
    return Vai({Destinazione::Tipo::Riga, totale - 1});
}

bool LegameArchivio::MuoviPrecedente() {
    ApplicaRegole();  // they may empty a new row, which then is not written
    const int n = NumeroRighe();
    if (stato_ == Stato::Riga) return Vai({Destinazione::Tipo::Riga, std::max(posizione_ - 1, 0)});
    if (n > 0) return Vai({Destinazione::Tipo::Riga, n - 1});
    if (NuovaDaScrivere()) return Vai({Destinazione::Tipo::Riga, 0});
    return false;
}

bool LegameArchivio::MuoviSuccessivo() {
    ApplicaRegole();  // they may empty a new row, which then is not written
    const int n = NumeroRighe();
    switch (stato_) {
    case Stato::Riga:
        if (posizione_ < n - 1) return Vai({Destinazione::Tipo::Riga, posizione_ + 1});
        return nuoveRighe_ && Vai({Destinazione::Tipo::Nuova, -1});
    case Stato::Nuova:
        // Past the new row: it is written, and another new row begins.
        return NuovaDaScrivere() && Vai({Destinazione::Tipo::Nuova, -1});
    case Stato::Fine: return nuoveRighe_ && Vai({Destinazione::Tipo::Nuova, -1});
    }
    return false;
}

bool LegameArchivio::TrovaAtleta(const QString& nome) {
    if (!aperto_ || caricamento_ || !navigatore_) return false;
    if (!ScriviModifiche()) return false;
    // Find the row first, then show it: the rows passed over are only read
    // (their names, already in the picker's list), never shown.
    const qsizetype trovato = nome.isEmpty() ? -1 : navigatore_->ElencoNomi()->stringList().indexOf(nome);
    if (trovato >= 0) return MostraPosizione(static_cast<int>(trovato));
    MostraFine();
    return false;
}

bool LegameArchivio::EliminaAtleta() {
    if (!aperto_ || caricamento_ || !navigatore_ || stato_ == Stato::Fine) return false;
    if (stato_ == Stato::Nuova) {
        MostraFine();
        return true;
    }
    const int p = posizione_;
    if (archivio::Esito e = archivio_->EliminaRiga(id_[static_cast<std::size_t>(p)]); !e) {
        Avvisa(TestoEliminazioneNonRiuscita(file_, NomeCorrente(), e.errore()));
        return false;
    }
    id_.erase(id_.begin() + p);
    navigatore_->ElencoNomi()->removeRows(p, 1);
    if (p < NumeroRighe())
        MostraPosizione(p);
    else
        MostraFine();
    return true;
}

bool LegameArchivio::MostraPosizione(int posizione) {
    if (posizione < 0 || posizione >= NumeroRighe()) {
        MostraFine();
        return false;
    }
    Riga riga;
    if (archivio::Esito e = archivio_->LeggiRiga(id_[static_cast<std::size_t>(posizione)], riga); !e) {
        MostraFine();
        Avvisa(TestoRigaNonLetta(file_, e.errore()));
        return false;
    }
    stato_ = Stato::Riga;
    posizione_ = posizione;
    Mostra(riga, true);
    return true;
}

void LegameArchivio::MostraFine() {
    stato_ = Stato::Fine;
    posizione_ = -1;
    Mostra(Riga(), false);
}

void LegameArchivio::MostraNuova() {
    stato_ = Stato::Nuova;
    posizione_ = NumeroRighe();
    Mostra(Riga(), true);
}

void LegameArchivio::Mostra(const Riga& riga, bool modificabile) {
    if (modificabile) RendiModificabili(true);
    originale_ = riga;
    valori_ = riga;
    caricamento_ = true;
    for (Controllo& c : controlli_) c.toccato = false;
    for (const Controllo& c : controlli_) {
        if (!c.widget) continue;
        const QString memorizzato = Testo(riga[c.colonna]);
        Imposta(c, c.mostra ? c.mostra(memorizzato) : memorizzato);
    }
    caricamento_ = false;
    if (!modificabile) RendiModificabili(false);
    emit RigaMostrata();
}
