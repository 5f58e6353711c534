#include "DatiStudio.h"

#include "IdMessaggiArchivio.h"
#include "IdMessaggiStudio.h"
#include "Messaggio.h"
#include "Percorso.h"
#include "ScritturaFile.h"
#include "modLanguageSupport.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr const char* FileStudio = "Studio.ini";
constexpr const char* Sezione = "Studio";

// The logo's file: "LogoStudio-<number>.png", a new name at each save, so
// that the settings saved before keep naming their own picture until the
// new ones are written.
bool NomeLogo(const std::string& nome) {
    static const QRegularExpression modello(QStringLiteral("^LogoStudio-[0-9a-f]{1,16}\\.png$"));
    return modello.match(QString::fromStdString(nome)).hasMatch();
}

std::filesystem::path NellaCartellaDati(const std::string& nome) {
    return modLanguageSupport::CartellaDatiInUso() / nome;
}
QString Percorso(const std::filesystem::path& p) { return NomeDi(p); }

// One line of the settings file: key="value", as LeggiIni reads it back.
QByteArray Voce(const char* chiave, const QString& valore) {
    return QByteArray(chiave) + "=\"" + valore.toUtf8() + "\"\n";
}

}  // namespace

QString TestoStudio(const QString& testo, int massimo) {
    QString t = testo;
    for (QChar& c : t)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    // What the coach typed stays as typed, blanks within included.
    t = t.trimmed();
    if (t.size() > massimo) {
        t.truncate(massimo);
        // Never half of a character written with two.
        if (!t.isEmpty() && t.back().isHighSurrogate()) t.chop(1);
        t = t.trimmed();
    }
    return t;
}

DatiStudio LeggiDatiStudio() {
    DatiStudio studio;
    const auto file = NellaCartellaDati(FileStudio);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return studio;
    try {
        const modLanguageSupport::FileIniLetto letto(file);
        const auto testo = [&letto](const char* chiave, int massimo) {
            return TestoStudio(QString::fromStdString(letto.Leggi(Sezione, chiave)), massimo);
        };
        studio.nome = testo("Nome", LunghezzaNomeStudio);
        studio.indirizzo = testo("Indirizzo", LunghezzaIndirizzoStudio);
        // The logo named by the settings, and only that: a picture left
        // behind by an earlier choice is not shown.
        if (const std::string logo = letto.Leggi(Sezione, "Logo"); NomeLogo(logo)) {
            QImageReader lettore(Percorso(NellaCartellaDati(logo)), "png");
            studio.logo = lettore.read();
        }
    } catch (const modLanguageSupport::ErroreIni&) {
        return {};
    }
    return studio;
}

QImage LeggiLogo(const QString& file, QString* motivo) {
    const auto rifiuta = [&](msg::Id perche) {
        if (motivo) *motivo = Messaggio(msg::LogoRifiutato).arg(file, Messaggio(perche));
        return QImage();
    };
    const QFileInfo info(file);
    if (!info.exists()) return rifiuta(msg::LogoInesistente);
    // A folder, a pipe or a device is no picture, and reading one could
    // wait for ever.
    if (!info.isFile()) return rifiuta(msg::LogoNonFile);
    if (!info.isReadable()) return rifiuta(msg::LogoIlleggibile);
    if (info.size() > DimensioneMassimaLogo) return rifiuta(msg::LogoTroppoGrande);
    QImageReader lettore(file);
    lettore.setDecideFormatFromContent(true);
    lettore.setAutoTransform(true);
    QImage immagine = lettore.read();
    if (immagine.isNull() || immagine.width() < 1 || immagine.height() < 1) {
        QFile prova(file);
        return rifiuta(prova.open(QIODevice::ReadOnly) ? msg::LogoFormatoIgnoto : msg::LogoIlleggibile);
    }
    if (immagine.width() > LatoMassimoLogo || immagine.height() > LatoMassimoLogo)
        immagine = immagine.scaled(LatoMassimoLogo, LatoMassimoLogo, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return immagine;
}

bool SalvaDatiStudio(const DatiStudio& studio, QString* motivo) {
    std::string logo;
    if (!studio.logo.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!studio.logo.save(&buffer, "PNG")) {
            if (motivo) *motivo = Messaggio(msg::ErroreImprevisto);
            return false;
        }
        logo = "LogoStudio-" + QByteArray::number(QDateTime::currentMSecsSinceEpoch(), 16).toStdString() + ".png";
        if (!ScriviFileIntero(Percorso(NellaCartellaDati(logo)), png, motivo)) return false;
    }
    const QByteArray testo = "[" + QByteArray(Sezione) + "]\n" +
                             Voce("Nome", TestoStudio(studio.nome, LunghezzaNomeStudio)) +
                             Voce("Indirizzo", TestoStudio(studio.indirizzo, LunghezzaIndirizzoStudio)) +
                             Voce("Logo", QString::fromStdString(logo));
    const bool scritto = ScriviFileIntero(Percorso(NellaCartellaDati(FileStudio)), testo, motivo);
    std::error_code ec;
    if (!scritto) {
        // The settings saved before stay, naming their own picture.
        if (!logo.empty()) std::filesystem::remove(NellaCartellaDati(logo), ec);
        return false;
    }
    // The pictures the settings no longer name go.
    std::vector<std::filesystem::path> vecchi;
    for (const auto& voce : std::filesystem::directory_iterator(modLanguageSupport::CartellaDatiInUso(), ec)) {
        const std::string nome = voce.path().filename().string();
        if (NomeLogo(nome) && nome != logo) vecchi.push_back(voce.path());
    }
    for (const auto& vecchio : vecchi) std::filesystem::remove(vecchio, ec);
    return true;
}
