#include "RegoleCampi.h"

#include "IdMessaggiCondizione.h"
#include "LegameArchivio.h"
#include "Messaggio.h"
#include "modLanguageSupport.h"

#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>

namespace {

// Empties the box when it loses the focus holding a text that is no date.
class FiltroData : public QObject {
public:
    explicit FiltroData(QLineEdit* box) : QObject(box) {}
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (evento->type() == QEvent::FocusOut) ControllaData(static_cast<QLineEdit*>(oggetto));
        return false;
    }
};

// The text with the digits of any script as ASCII digits, and without the
// direction marks some regions put in their dates ("٣١‏/١٢‏/١٩٩٠"), for the
// numbers to be read.
QString CifreAscii(const QString& testo) {
    QString ascii;
    ascii.reserve(testo.size());
    for (const QChar c : testo) {
        const char16_t u = c.unicode();
        if (u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069))
            continue;
        if (c.isDigit() && c.digitValue() >= 0)
            ascii += QLatin1Char(static_cast<char>('0' + c.digitValue()));
        else
            ascii += c;
    }
    return ascii;
}

Calendario::OrdineData OrdineDi(const QLocale& locale) {
    const QString formato = locale.dateFormat(QLocale::ShortFormat);
    const auto g = formato.indexOf(QLatin1Char('d')), m = formato.indexOf(QLatin1Char('M')),
               a = formato.indexOf(QLatin1Char('y'));
    if (a >= 0 && a < m && a < g) return Calendario::OrdineData::AnnoMeseGiorno;
    if (m >= 0 && g >= 0 && m < g) return Calendario::OrdineData::MeseGiornoAnno;
    return Calendario::OrdineData::GiornoMeseAnno;
}

}  // namespace

void ControllaSesso(QComboBox* combo) {
    const QString t = combo->currentText();
    if (!t.isEmpty() && t != QLatin1String("M") && t != QLatin1String("F")) combo->setEditText(QString());
}

namespace {

void ApplicaControllo(QComboBox* combo, void (*controllo)(QComboBox*), std::function<void()> poi) {
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Nor does leaving the box pick the item its text names, as the coach's
    // choice: an activity shown in the current language would be taken for
    // one the coach chose, and stored.
    if (combo->lineEdit()) QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    QObject::connect(combo, &QComboBox::editTextChanged, combo, [combo, controllo, poi = std::move(poi)] {
        controllo(combo);
        if (poi) poi();
    });
}

}  // namespace

void ApplicaControllaSesso(QComboBox* combo, std::function<void()> poi) {
    ApplicaControllo(combo, ControllaSesso, std::move(poi));
}

void ApplicaControllaAttivita(QComboBox* combo, std::function<void()> poi) {
    ApplicaControllo(combo, ControllaAttivita, std::move(poi));
}

QStringList TestiAttivita() {
    return {Messaggio(msg::Attivita[0]), Messaggio(msg::Attivita[1]), Messaggio(msg::Attivita[2])};
}

void ControllaAttivita(QComboBox* combo) {
    static const QStringList Italiane{QStringLiteral("leggera"), QStringLiteral("moderata"), QStringLiteral("intensa")};
    static const QStringList Inglesi{QStringLiteral("light"), QStringLiteral("moderate"), QStringLiteral("strong")};
    const QStringList attivita = TestiAttivita();
    const std::string& lingua = modLanguageSupport::LinguaCorrente;
    const QString t = combo->currentText();
    qsizetype i = -1;
    if (lingua == "italian" && (i = Inglesi.indexOf(t)) >= 0) {
        combo->setEditText(Italiane[i]);
    } else if (lingua == "english" && (i = Italiane.indexOf(t)) >= 0) {
        combo->setEditText(Inglesi[i]);
    }
    const QString dopo = combo->currentText();
    if (!dopo.isEmpty() && !attivita.contains(dopo)) combo->setEditText(QString());
}

bool TestoData(const QString& testo) { return Calendario::LeggiData(testo.toStdString()).has_value(); }

QString DataMostrata(const QString& archiviata) {
    return QString::fromStdString(Calendario::DataDaMostrare(archiviata.toStdString()));
}

QString DataArchiviata(const QString& mostrata) {
    return QString::fromStdString(Calendario::DataDaArchiviare(mostrata.toStdString()));
}

void ControllaData(QLineEdit* box) {
    // Only what the coach typed: a stored text that is no date stays as it is.
    if (box->isModified() && !box->text().isEmpty() && !TestoData(box->text())) box->setText(QString());
}

void ApplicaControllaData(QLineEdit* box, LegameArchivio* legame) {
    box->installEventFilter(new FiltroData(box));
    if (!legame) return;
    legame->AggiungiRegolaPrimaDiScrivere([box = QPointer<QLineEdit>(box)] {
        if (box) ControllaData(box);
    });
    legame->ImpostaForma(box, DataMostrata, DataArchiviata);
}

QString ScriviDataRegionale(const QLocale& locale, const Calendario::Data& d) {
    // The short form in numbers with the year in full: "15/03/1988",
    // "3/15/1988"; where the short form names the month, the numbers in its
    // order.
    QString formato = locale.dateFormat(QLocale::ShortFormat);
    if (formato.contains(QLatin1String("MMM"))) {
        switch (OrdineDi(locale)) {
        case Calendario::OrdineData::GiornoMeseAnno: formato = QStringLiteral("dd/MM/yyyy"); break;
        case Calendario::OrdineData::MeseGiornoAnno: formato = QStringLiteral("MM/dd/yyyy"); break;
        case Calendario::OrdineData::AnnoMeseGiorno: formato = QStringLiteral("yyyy-MM-dd"); break;
        }
    } else if (!formato.contains(QLatin1String("yyyy"))) {
        formato.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    const QString testo = locale.toString(QDate(d.anno, d.mese, d.giorno), formato);
    // Written so that it reads back as the same date, or as numbers.
    if (LeggiDataRegionale(locale, testo) == std::optional(d)) return testo;
    return QString::fromStdString(Calendario::TestoIso(d));
}

std::optional<Calendario::Data> LeggiDataRegionale(const QLocale& locale, const QString& testo) {
    // Numbers first: a two-digit year takes the program's own window of
    // years there, whatever century Qt would give it.
    if (auto d = Calendario::LeggiDataNumerica(CifreAscii(testo).toStdString(), OrdineDi(locale))) return d;
    const QString formato = locale.dateFormat(QLocale::ShortFormat);
    const QDate data = locale.toDate(testo.trimmed(), formato);
    if (!data.isValid()) return std::nullopt;
    Calendario::Data d{data.year(), data.month(), data.day()};
    if (formato.contains(QLatin1String("yy")) && !formato.contains(QLatin1String("yyy")))
        d.anno = Calendario::AnnoDaDueCifre(data.year() % 100);
    if (!Calendario::DataValida(d)) return std::nullopt;
    return d;
}
