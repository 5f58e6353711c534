#include "FinestraAtleta.h"

#include "AtletaCorrente.h"
#include "TraduciForm.h"

#include <QCloseEvent>

namespace {

// Holds the recomputation while the window loads its athlete.
const QString TagCaricamento = QStringLiteral("Form_Load");

}  // namespace

FinestraAtleta::FinestraAtleta(QWidget* genitore) : QWidget(genitore) {}

FinestraAtleta::~FinestraAtleta() = default;

void FinestraAtleta::Rilascia() { legame_.reset(); }

QString FinestraAtleta::Tag() const { return property("Tag").toString(); }

void FinestraAtleta::ImpostaTag(const QString& tag) { setProperty("Tag", tag); }

void FinestraAtleta::Lega(NavigatoreDati* Data1, QLineEdit* txtNome, QList<LegameColonna> legami) {
    legame_ = std::make_unique<LegameArchivio>(this, Data1, txtNome, std::move(legami));
}

void FinestraAtleta::Carica() {
    TraduciForm(this);
    // The athlete's boxes fill one after the other: nothing is computed from
    // half a row.
    ImpostaTag(TagCaricamento);
    legame_->ApriArchivio(NomeAtletaCorrente, RigaAtletaCorrente);
    ImpostaTag(QString());
}

void FinestraAtleta::closeEvent(QCloseEvent* evento) {
    if (legame_ && !legame_->ChiudiArchivio()) {
        evento->ignore();
        return;
    }
    // The next athlete window opens on this athlete, on this very row.
    if (auto* txtNome = legame_ ? legame_->txtNome() : nullptr) NomeAtletaCorrente = txtNome->text();
    RigaAtletaCorrente = legame_ ? legame_->IdCorrente() : std::nullopt;
    evento->accept();
}
