// An athlete window as the program's windows are built on the machinery: a
// name box, measure boxes with the program's measure rule (ControllaMisura)
// and a recomputation that fills in the fit sheet's default saddle length, a
// second box on the same column, a combo, a check box and a notes box.
// Every recomputation records the name it ran for, so that tests can see
// which rows the window has worked on.
#pragma once

#include "AtletaCorrente.h"
#include "AvvisiArchivio.h"
#include "CartellaProva.h"
#include "ControllaMisura.h"
#include "LegameArchivio.h"
#include "Modulo1.h"
#include "NavigatoreDati.h"
#include "SupportoArchivio.h"
#include "modLanguageSupport.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include <memory>

namespace prova {

class FinestraProva : public QWidget {
public:
    // schedaAtleti: the athlete card, whose navigator adds rows.
    explicit FinestraProva(bool schedaAtleti = false) : schedaAtleti_(schedaAtleti) {
        setObjectName(QStringLiteral("frmProva"));
        resize(600, 300);
        Data1 = new NavigatoreDati(this);
        Data1->setGeometry(10, 10, 320, 24);
        txtNome = Box("txtNome", 0);
        Text7 = Box("Text7", 1);
        txtCavallo = Box("txtCavallo", 2);
        txtCavallo->hide();
        txtPeso = Box("txtPeso", 3);
        cmbSesso = new QComboBox(this);
        cmbSesso->setObjectName(QStringLiteral("cmbSesso"));
        cmbSesso->setEditable(true);
        cmbSesso->addItems({QStringLiteral("M"), QStringLiteral("F")});
        cmbSesso->setEditText(QString());
        cmbSesso->setGeometry(350, 40, 60, 24);
        chkAttFis = new QCheckBox(QStringLiteral("Svolge attività fisica"), this);
        chkAttFis->setObjectName(QStringLiteral("chkAttFis"));
        chkAttFis->setGeometry(350, 70, 200, 24);
        txtNote = new QPlainTextEdit(this);
        txtNote->setObjectName(QStringLiteral("txtNote"));
        txtNote->setGeometry(350, 100, 200, 80);
        txtSella = Box("txtSella", 4);

        for (QLineEdit* misura : {Text7, txtPeso, txtSella}) ApplicaControllaMisura(misura, [this] { Ricalcola(); });

        legame = std::make_unique<LegameArchivio>(this, Data1, txtNome,
                                                  QList<LegameColonna>{{Text7, QStringLiteral("cavallo")},
                                                                       {txtCavallo, QStringLiteral("cavallo")},
                                                                       {txtPeso, QStringLiteral("peso")},
                                                                       {cmbSesso, QStringLiteral("sesso")},
                                                                       {chkAttFis, QStringLiteral("AttivFis")},
                                                                       {txtNote, QStringLiteral("note")},
                                                                       {txtSella, QStringLiteral("sella")}});
        legame->ConsentiNuoveRighe(schedaAtleti);
    }

    // The load of an athlete window.
    bool Carica() {
        const bool aperto = legame->ApriArchivio(NomeAtletaCorrente, RigaAtletaCorrente);
        show();
        return aperto;
    }

    NavigatoreDati* Data1;
    QLineEdit* txtNome;
    QLineEdit* Text7;
    QLineEdit* txtCavallo;
    QLineEdit* txtPeso;
    QComboBox* cmbSesso;
    QCheckBox* chkAttFis;
    QPlainTextEdit* txtNote;
    QLineEdit* txtSella;
    std::unique_ptr<LegameArchivio> legame;
    QStringList ricalcoli;  // the name shown at each recomputation

protected:
    void closeEvent(QCloseEvent* e) override {
        if (!legame->ChiudiArchivio()) {
            e->ignore();
            return;
        }
        NomeAtletaCorrente = txtNome->text();
        RigaAtletaCorrente = legame->IdCorrente();
        e->accept();
    }

private:
    bool schedaAtleti_;

    QLineEdit* Box(const char* nome, int riga) {
        auto* b = new QLineEdit(this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setGeometry(10, 40 + 30 * riga, 200, 24);
        return b;
    }

    // Like the fit sheet: no saddle length given (empty, "0") becomes the
    // reference one. The card computes nothing.
    void Ricalcola() {
        if (schedaAtleti_ || (legame && legame->AllaFine())) return;
        ricalcoli.append(txtNome->text());
        bool predefinita = false;
        Modulo1::LeggiMisure({}, {}, {}, {}, {}, {}, txtSella->text().toStdString(), predefinita);
        if (predefinita) txtSella->setText(SellaPredefinita());
    }
};

// Records the archive's messages and gives a chosen answer to its questions.
class AvvisiRegistrati {
public:
    struct Avviso {
        QString titolo, testo;
        QMessageBox::StandardButtons pulsanti;
    };
    AvvisiRegistrati() {
        ImpostaGestoreMessaggi(
            [this](QWidget*, const QString& titolo, const QString& testo, QMessageBox::StandardButtons pulsanti) {
                ricevuti.append({titolo, testo, pulsanti});
                return pulsanti.testFlag(QMessageBox::Yes) ? risposta : QMessageBox::Ok;
            });
    }
    ~AvvisiRegistrati() { ImpostaGestoreMessaggi({}); }
    QList<Avviso> ricevuti;
    QMessageBox::StandardButton risposta = QMessageBox::No;
};

inline QString Campo(const archivio::Riga& r, const char* colonna) {
    return QString::fromStdString(CampoDi(r, colonna));
}

inline QString PercorsoDi(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// What every test of the machinery starts from: its own application folder,
// Italian texts, the archive path in it, no current athlete, and the
// archive's messages recorded. Everything is put back when it goes.
struct AmbienteArchivio {
    CartellaProva cartella;
    AvvisiRegistrati avvisi;
    std::filesystem::path file = cartella.file("tvp.dmg");

    AmbienteArchivio() {
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = PercorsoDi(file);
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
    }
    ~AmbienteArchivio() {
        PercorsoArchivio.clear();
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
    }
};

}  // namespace prova
