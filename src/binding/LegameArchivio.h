// The machinery every athlete window shares: the window's own record set over
// the archive, the navigator `Data1`, the picker `DBCombo1`, the name box
// `txtNome` bound to `nome`, and the window's other controls bound to their
// columns.
//
// The athlete windows reach it through FinestraAtleta, which builds it,
// opens it on the current athlete when the window loads and closes it when
// the window closes. A window, in short:
//
//   frmScheda::frmScheda(QWidget* genitore)
//       : FinestraAtleta(genitore), ui(std::make_unique<Ui::frmScheda>()) {
//       ui->setupUi(this);                 // Data1 is a NavigatoreDati in the form
//       Lega(ui->Data1, ui->txtNome, {{ui->txtCavallo, "cavallo"}, {ui->txtNote, "note"}});
//       ...                                // the boxes' rules
//       Carica();                          // translated, then straight on the athlete
//   }
//
// Everything else (arrows, picker, writing edits) happens here.
//
// Showing a row sets the bound controls one after the other, so each control
// whose text changes raises its own change notification (textChanged,
// editTextChanged, toggled), nested rules included; a control that already
// shows the same text raises none. What a rule then shows in a control (a
// measure cleaned, an activity in the current language, the default saddle
// length) is only shown: the row keeps what is stored until the coach changes
// that control (types, pastes, picks from its list, clicks it). From then on
// whatever the control holds, rules' changes included, is the column's value,
// and the changed columns are written to the file, in one transaction, when
// the current row changes or the window closes. So browsing never rewrites an
// athlete.
//
// Opening on the athlete by name (and row), rather than on the first row and
// searching afterwards, keeps the first row from being shown (and so cleaned
// and written) on the way. Set any control's design read-only state before
// binding it.
#pragma once

#include "Archivio.h"

#include "NavigatoreDati.h"

#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;

// One bound control and the column it shows: a QLineEdit, QPlainTextEdit,
// QTextEdit (plain text), QComboBox (editable or not) or, for the yes/no
// column `AttivFis`, a QCheckBox.
struct LegameColonna {
    QWidget* controllo;
    QString colonna;  // exactly as the table spells it: "cavallo", "TipoImpiego"
};

class LegameArchivio : public QObject {
    Q_OBJECT

public:
    // finestra: the athlete window (parent of the messages). Data1: its
    // navigator; txtNome: its name box, bound to `nome` and moved into the
    // navigator's row. legami: the other bound controls, in the order they are
    // filled when a row is shown. A column may be bound to several controls.
    LegameArchivio(QWidget* finestra, NavigatoreDati* Data1, QLineEdit* txtNome, QList<LegameColonna> legami,
                   QObject* parent = nullptr);
    // Writes a pending edit if ChiudiArchivio has not run.
    ~LegameArchivio() override;

    // The athlete card: moving the navigator past the last row starts a new,
    // empty row at the end, written once something has been typed into it.
    // Sheets leave this off: their navigator stops at the last row.
    void ConsentiNuoveRighe(bool consenti) { nuoveRighe_ = consenti; }

    // A rule run before every write of the current row, whatever causes it
    // (an arrow, the picker, a search, closing the window): what it changes
    // in the bound controls is written with the row. A rule must leave the
    // controls as they are when it has nothing to change.
    void AggiungiRegolaPrimaDiScrivere(std::function<void()> regola) { regole_.push_back(std::move(regola)); }

    // A column the control shows in another form than the archive holds it
    // (a date: ISO in the archive, the coach's regional form in the box).
    // `mostra` turns the stored text into the one shown when a row is shown;
    // `memorizza` turns the control's text, once the coach has changed it,
    // into the one stored. An untouched control is never written, so a
    // stored text stays as it is, byte for byte, however it is shown.
    void ImpostaForma(QWidget* controllo, std::function<QString(const QString&)> mostra,
                      std::function<QString(const QString&)> memorizza);

    // Opens the record set on the file PercorsoArchivio (the application
    // folder's "tvp.dmg" while that is empty), creating the file when it is
    // missing, and fills the picker. With an empty name the first row is shown;
    // with a name, the first row of that name (or the end, when none), and no
    // other row is shown on the way. Given the row as well (its id), that
    // row is shown while its name is the one given; else the name is searched
    // for. A file that cannot be opened is reported and left untouched; the
    // record set is then empty and the window stands at its end. With an
    // empty name and `vuoto` (the window before it showed a blank athlete),
    // a blank athlete is shown: a new row where the window adds rows, else
    // the end. False when the file could not be opened.
    bool ApriArchivio(const QString& nomeAtleta = QString(), std::optional<std::int64_t> riga = std::nullopt,
                      bool vuoto = false);

    // Writes a pending edit, then shows the first row whose `nome` equals the
    // name exactly (same characters, same case), or goes to the end when no
    // row does (an empty name matches no row). Rows passed over are never shown.
    // False when no row matched, or the pending edit could not be written (the
    // user is told, the window keeps its row and the edit).
    bool TrovaAtleta(const QString& nome);

    // The navigator's arrows; the picker runs TrovaAtleta. Each writes a
    // pending edit first. False when nothing moved.
    bool MuoviPrimo();
    bool MuoviPrecedente();
    bool MuoviSuccessivo();
    bool MuoviUltimo();

    // Deletes the current row from the file and shows the next one (or the
    // end). A new row not yet written is just dropped. Nothing at the end.
    // No question is asked here: that is the window's business.
    bool EliminaAtleta();

    // Writes a pending edit now. False when it could not be written: the user
    // has been told and the edit stays in the window.
    bool ScriviModifiche();

    // The connection to the archive (shared by the windows), for
    // whole-archive work (an export, a backup); open while ArchivioAperto().
    const archivio::Archivio& Connessione() const { return *archivio_; }
    // The same connection, for writes beside the athlete's row (the
    // athlete's fittings): they leave the row and the record set as they are.
    archivio::Archivio& ConnessioneInScrittura() { return *archivio_; }

    // Appends athletes at the end of the table through `aggiungi` (an import,
    // in a transaction of its own), after the pending edit; the new rows join
    // the record set and the picker, and the window keeps showing its row.
    // What `aggiungi` returns is returned; an error without running it when
    // the pending edit could not be written (the user has been told).
    archivio::Esito AggiungiAtleti(const std::function<archivio::Esito(archivio::Archivio&)>& aggiungi);

    // For replacing the archive file: writes the pending edit, closes the
    // record set, runs `sostituisci`, then opens the file again on the same
    // athlete (the first row when he is gone). What `sostituisci` returns is
    // returned; an error without running it when the edit could not be
    // written (the user has been told).
    archivio::Esito SostituisciArchivio(const std::function<archivio::Esito()>& sostituisci);

    // For the window's closeEvent: writes a pending edit and closes the record
    // set. When the edit cannot be written the user is asked whether to close
    // anyway; false means "keep the window open" (ignore the close event).
    bool ChiudiArchivio();

    bool ArchivioAperto() const { return aperto_; }
    // No current row: after a search without match, past the last row of a
    // sheet, after deleting the last row, or when the file could not be opened.
    // The bound controls are then empty and read-only.
    bool AllaFine() const { return stato_ == Stato::Fine; }
    // The bound controls are being filled with a row.
    bool MostraUnaRiga() const { return caricamento_; }
    // The current row is a new one, not yet in the file.
    bool RigaNuova() const { return stato_ == Stato::Nuova; }
    // The current row differs from the file.
    bool Modificata() const;
    int NumeroRighe() const { return static_cast<int>(id_.size()); }
    // Index of the current row in table order; -1 at the end, NumeroRighe()
    // on a new row.
    int Posizione() const;
    // The id of the current row in the file; none at the end or on a new
    // row not yet written.
    std::optional<std::int64_t> IdCorrente() const;
    // The values of the current row as the window holds them.
    const archivio::Riga& RigaCorrente() const { return valori_; }
    QString FileArchivio() const;

    NavigatoreDati* Data1() const { return navigatore_; }
    QComboBox* DBCombo1() const;
    QLineEdit* txtNome() const { return txtNome_; }

signals:
    // The bound controls show another row, a new row or the end (after their
    // own change notifications).
    void RigaMostrata();

private:
    enum class Stato { Fine, Riga, Nuova };
    enum class Tipo { Riga, Documento, Tendina, Casella };
    struct Controllo {
        QPointer<QWidget> widget;
        int colonna;
        Tipo tipo;
        // How the control was before the binding locked it at the end.
        bool solaLetturaProgetto;
        bool abilitatoProgetto;
        bool bloccato;
        bool toccato = false;  // changed by the coach since the row was shown
        // The forms of the column in the control and in the archive; none
        // when they are the same.
        std::function<QString(const QString&)> mostra = {};
        std::function<QString(const QString&)> memorizza = {};
    };
    struct Destinazione {
        enum class Tipo { Nessuna, Riga, Fine, Nuova } tipo = Tipo::Nessuna;
        int posizione = -1;
    };

    void Collega(int indice);
    void ControlloCambiato(int indice);
    void ToccatoDalCoach(int indice);
    QString Valore(const Controllo& c) const;
    void Imposta(const Controllo& c, const QString& valore);
    void RendiModificabili(bool modificabili);

    void ApplicaRegole();
    std::optional<archivio::Errore> Scrivi();
    bool Vai(Destinazione d);
    bool MostraPosizione(int posizione);
    void MostraFine();
    void MostraNuova();
    void Mostra(const archivio::Riga& riga, bool modificabile);
    void Avvisa(const QString& testo);
    bool NuovaDaScrivere() const;
    QString NomeCorrente() const;

    QPointer<QWidget> finestra_;
    QPointer<NavigatoreDati> navigatore_;
    QPointer<QLineEdit> txtNome_;
    std::vector<Controllo> controlli_;
    bool nuoveRighe_ = false;
    std::vector<std::function<void()>> regole_;

    std::shared_ptr<archivio::Archivio> archivio_;  // shared by the program's windows
    QString file_;
    bool aperto_ = false;
    std::vector<std::int64_t> id_;
    Stato stato_ = Stato::Fine;
    int posizione_ = -1;
    archivio::Riga originale_;  // the row as read from (or last written to) the file
    archivio::Riga valori_;     // the row as the window holds it

    // While a row is being shown.
    bool caricamento_ = false;
};
