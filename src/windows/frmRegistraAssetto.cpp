#include "frmRegistraAssetto.h"

#include "ui_frmRegistraAssetto.h"

#include "Messaggi.h"
#include "Messaggio.h"
#include "Modulo1.h"
#include "RegistroAssetti.h"
#include "Stili.h"
#include "TraduciForm.h"

#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

frmRegistraAssetto::frmRegistraAssetto(const archivio::Assetto& oggi, const std::vector<archivio::Assetto>& precedenti,
                                       QWidget* genitore)
    : QDialog(genitore), oggi_(oggi), ui(std::make_unique<Ui::frmRegistraAssetto>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);
    TraduciForm(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());

    for (const auto& codice : archivio::Discipline)
        ui->cboDisciplina->addItem(registro::NomeDisciplina(std::string(codice)), Q(std::string(codice)));

    const archivio::Assetto* modello = registro::UltimoSullaBici(precedenti, oggi.bici);
    if (const archivio::Assetto* disciplina = modello ? modello : registro::UltimoAssetto(precedenti)) {
        const int i = ui->cboDisciplina->findData(Q(disciplina->disciplina));
        if (i >= 0) ui->cboDisciplina->setCurrentIndex(i);
    }

    // Today's date, or an earlier visit's typed in later.
    ui->txtData->setText(Q(oggi.data));
    ui->txtData->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    ui->txtData->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9-]{0,10}")), ui->txtData));
    ui->lblData->setBuddy(ui->txtData);
    ui->txtBici->setText(Q(oggi.bici));
    ui->txtCappellotto->setPlaceholderText(QStringLiteral("10"));
    ui->txtMorsetto->setPlaceholderText(QStringLiteral("40"));
    // Numbers only, typed with a comma or a full stop; the stem's angle
    // alone may be negative (a stem pointing down).
    static const QRegularExpression positivo(QStringLiteral("\\d{0,4}([.,]\\d{0,2})?"));
    static const QRegularExpression conSegno(QStringLiteral("[+-]?\\d{0,3}([.,]\\d{0,2})?"));
    for (const auto campo : archivio::TuttiICampi<archivio::CampoTelaio>()) {
        QLineEdit* box = Casella(campo);
        box->setValidator(new QRegularExpressionValidator(box == ui->txtAngoloAttacco ? conSegno : positivo, box));
        if (modello) box->setText(Q(modello->telaio[campo]));
        connect(box, &QLineEdit::textChanged, this, &frmRegistraAssetto::MostraPosizione);
    }

    connect(ui->cmdRegistra, &QPushButton::clicked, this, &frmRegistraAssetto::Conferma);
    connect(ui->cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    MostraPosizione();
    // The caret in the bike's box, whatever had the focus before.
    ui->txtBici->setFocus(Qt::OtherFocusReason);
}

frmRegistraAssetto::~frmRegistraAssetto() = default;

QLineEdit* frmRegistraAssetto::Casella(archivio::CampoTelaio campo) const {
    using T = archivio::CampoTelaio;
    switch (campo) {
    case T::Stack: return ui->txtStack;
    case T::Reach: return ui->txtReach;
    case T::AngoloSterzo: return ui->txtAngoloSterzo;
    case T::Cappellotto: return ui->txtCappellotto;
    case T::Spessori: return ui->txtSpessori;
    case T::Attacco: return ui->txtAttacco;
    case T::AngoloAttacco: return ui->txtAngoloAttacco;
    case T::Morsetto:
    case T::Numero: break;
    }
    return ui->txtMorsetto;
}

archivio::Assetto frmRegistraAssetto::Assetto() const {
    archivio::Assetto a = oggi_;
    a.data = ui->txtData->text().trimmed().toStdString();
    a.bici = ui->txtBici->text().trimmed().toStdString();
    a.disciplina = ui->cboDisciplina->currentData().toString().toStdString();
    for (const auto campo : archivio::TuttiICampi<archivio::CampoTelaio>())
        a.telaio[campo] = Modulo1::NormalizzaDecimali(Casella(campo)->text().trimmed().toStdString());
    a.note = ui->txtNote->toPlainText().toStdString();
    return a;
}

void frmRegistraAssetto::MostraPosizione() {
    const archivio::Assetto a = Assetto();
    // A value no bicycle has is said at once, as Record would say it.
    if (const auto fuori = Modulo1::GiudicaTelaio(registro::ValoriTelaio(a));
        fuori && fuori->giudizio == Modulo1::Giudizio::Impossibile) {
        ui->lblPosizione->setText(registro::TestoValoreFuori(*fuori));
        return;
    }
    ui->lblPosizione->setText(registro::RigheTelaioDi(a).join(QLatin1Char('\n')));
}

void frmRegistraAssetto::Conferma() {
    const archivio::Assetto a = Assetto();
    if (const QString data = registro::TestoDataNonValida(a.data, true); !data.isEmpty()) {
        MostraMessaggio(this, data);
        ui->txtData->setFocus();
        ui->txtData->selectAll();
        return;
    }
    // A frame no bicycle has is refused, named with its range; an unusual one
    // is taken at the fitter's word.
    if (const auto fuori = Modulo1::GiudicaTelaio(registro::ValoriTelaio(a))) {
        const bool rifiuto = fuori->giudizio == Modulo1::Giudizio::Impossibile;
        if (rifiuto) MostraMessaggio(this, registro::TestoValoreFuori(*fuori));
        if (rifiuto || !Chiedi(this, registro::TestoValoreFuori(*fuori))) {
            // The frame's kinds of value follow the frame's fields, from the stack on.
            QLineEdit* box = Casella(static_cast<archivio::CampoTelaio>(static_cast<int>(fuori->grandezza) -
                                                                        static_cast<int>(Modulo1::Grandezza::Stack)));
            box->setFocus();
            box->selectAll();
            return;
        }
    }
    accept();
}
