#include "NavigatoreDati.h"

#include "IdMessaggiArchivio.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPainter>
#include <QPolygonF>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace {

// "seleziona", in the language of the moment.
QString TestoSeleziona() { return QString::fromStdString(modLanguageSupport::TestoLingua(msg::Seleziona)); }

enum class Freccia { Primo, Precedente, Successivo, Ultimo };

// The arrow of a navigator button: a triangle, with a bar for first and last.
QIcon IconaFreccia(Freccia f, const QColor& colore) {
    const int lato = 12;
    QPixmap pm(lato, lato);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colore);
    const bool sinistra = f == Freccia::Primo || f == Freccia::Precedente;
    const bool barra = f == Freccia::Primo || f == Freccia::Ultimo;
    const double x0 = barra ? (sinistra ? 4.0 : 1.5) : 3.0;
    const double x1 = x0 + 6.5;
    QPolygonF triangolo;
    if (sinistra)
        triangolo << QPointF(x0, lato / 2.0) << QPointF(x1, 1.5) << QPointF(x1, lato - 1.5);
    else
        triangolo << QPointF(x1, lato / 2.0) << QPointF(x0, 1.5) << QPointF(x0, lato - 1.5);
    p.drawPolygon(triangolo);
    if (barra) p.drawRect(QRectF(sinistra ? 1.0 : lato - 3.0, 1.5, 2.0, lato - 3.0));
    return QIcon(pm);
}

QToolButton* CreaPulsante(QWidget* parent, const char* nome) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(nome));
    // Tab reaches it (after the window's own controls); a click leaves the
    // focus where it was.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoRepeat(true);
    b->setAutoRepeatDelay(400);
    return b;
}

}  // namespace

NavigatoreDati::NavigatoreDati(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Data1"));
    picker_ = new QComboBox(this);
    picker_->setObjectName(QStringLiteral("DBCombo1"));
    nomi_ = new QStringListModel(this);
    alfabetico_ = new QStringListModel(this);
    // Alphabetical as the coach's regional settings sort: accents in their
    // place, upper and lower case alike. Settings that name no language (the
    // "C" locale, which sorts by character codes) sort as the program's
    // language does.
    if (QLocale().language() == QLocale::C)
        collatore_.setLocale(modLanguageSupport::LinguaCorrente == "english" ? QLocale(QLocale::English)
                                                                             : QLocale(QLocale::Italian));
    collatore_.setCaseSensitivity(Qt::CaseInsensitive);
    connect(nomi_, &QAbstractItemModel::modelReset, this, &NavigatoreDati::OrdinaNomi);
    connect(nomi_, &QAbstractItemModel::layoutChanged, this, &NavigatoreDati::OrdinaNomi);
    connect(nomi_, &QAbstractItemModel::rowsMoved, this, &NavigatoreDati::OrdinaNomi);
    connect(nomi_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int primo, int ultimo) {
        CambiaElenco([&] {
            for (int r = primo; r <= ultimo; ++r) {
                const QString nome = nomi_->index(r).data().toString();
                tabella_.insert(r, nome);
                InserisciNome(nome);
            }
        });
    });
    connect(nomi_, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int primo, int ultimo) {
        CambiaElenco([&] {
            for (int r = primo; r <= ultimo && primo < tabella_.size(); ++r) {
                TogliNome(tabella_.at(primo));
                tabella_.removeAt(primo);
            }
        });
    });
    connect(nomi_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& da, const QModelIndex& a) {
        CambiaElenco([&] {
            for (int r = da.row(); r <= a.row() && r < tabella_.size(); ++r) {
                const QString nome = nomi_->index(r).data().toString();
                if (nome == tabella_.at(r)) continue;
                TogliNome(tabella_.at(r));
                tabella_[r] = nome;
                InserisciNome(nome);
            }
        });
    });
    // Editable, so that it holds the text "seleziona" that is no name of the
    // list; its text box is never typed into: names are only picked.
    picker_->setEditable(true);
    picker_->setCompleter(nullptr);
    picker_->setInsertPolicy(QComboBox::NoInsert);
    picker_->lineEdit()->setReadOnly(true);
    picker_->setFocusPolicy(Qt::StrongFocus);
    // With a placeholder the combo never picks the first name by itself.
    picker_->setPlaceholderText(TestoSeleziona());
    // A hundred thousand names: the width follows no content, every row has
    // the same height.
    picker_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    picker_->setMinimumContentsLength(1);
    picker_->setMaxVisibleItems(20);
    if (auto* vista = qobject_cast<QListView*>(picker_->view())) vista->setUniformItemSizes(true);
    picker_->setModel(alfabetico_);
    MostraSeleziona();
    // A new language: the text follows it (the program tells the
    // application, not each window).
    if (qApp) qApp->installEventFilter(this);
    connect(picker_, &QComboBox::textActivated, this, &NavigatoreDati::NomeScelto);

    primo_ = CreaPulsante(this, "Data1Primo");
    precedente_ = CreaPulsante(this, "Data1Precedente");
    successivo_ = CreaPulsante(this, "Data1Successivo");
    ultimo_ = CreaPulsante(this, "Data1Ultimo");
    primo_->setAutoRepeat(false);
    ultimo_->setAutoRepeat(false);
    DisegnaFrecce();
    connect(primo_, &QToolButton::clicked, this, &NavigatoreDati::Primo);
    connect(precedente_, &QToolButton::clicked, this, &NavigatoreDati::Precedente);
    connect(successivo_, &QToolButton::clicked, this, &NavigatoreDati::Successivo);
    connect(ultimo_, &QToolButton::clicked, this, &NavigatoreDati::Ultimo);
    // Tab goes through the arrows, left to right, then the list.
    setTabOrder(primo_, precedente_);
    setTabOrder(precedente_, successivo_);
    setTabOrder(successivo_, ultimo_);
    setTabOrder(ultimo_, picker_);
    Disponi();
}

void NavigatoreDati::OrdinaNomi() {
    tabella_ = nomi_->stringList();
    // The same list sorted by the same rules as the last window did (each
    // athlete window gets the one list the archive gave, shared): taken as
    // it was sorted. The list kept here keeps its data alive, so the same
    // data means the same names.
    struct Ordinamento {
        QStringList tabella;
        QString regole;
        std::vector<NomeOrdinato> ordinati;
        QStringList lista;
    };
    static Ordinamento ultimo;
    const QString regole = collatore_.locale().name();
    if (!tabella_.isEmpty() && tabella_.constData() == ultimo.tabella.constData() &&
        tabella_.size() == ultimo.tabella.size() && regole == ultimo.regole) {
        ordinati_ = ultimo.ordinati;
        alfabetico_->setStringList(ultimo.lista);
        MostraSeleziona();
        return;
    }
    // One sort key per name, then the keys compared: a list of a hundred
    // thousand names is sorted without comparing texts by the locale's rules
    // over and over.
    ordinati_.clear();
    ordinati_.reserve(static_cast<std::size_t>(tabella_.size()));
    for (const QString& nome : std::as_const(tabella_)) ordinati_.push_back({collatore_.sortKey(nome), nome});
    std::stable_sort(ordinati_.begin(), ordinati_.end(),
                     [](const NomeOrdinato& a, const NomeOrdinato& b) { return a.chiave.compare(b.chiave) < 0; });
    QStringList lista;
    lista.reserve(static_cast<qsizetype>(ordinati_.size()));
    for (const NomeOrdinato& n : ordinati_) lista.append(n.nome);
    alfabetico_->setStringList(lista);
    MostraSeleziona();
    ultimo = Ordinamento{tabella_, regole, ordinati_, lista};
}

template <typename Cambio>
void NavigatoreDati::CambiaElenco(Cambio cambio) {
    // The picker shows "seleziona" or the name picked; a name it shows that
    // goes from the list leaves "seleziona".
    const bool seleziona = picker_->currentIndex() < 0;
    const QString mostrato = picker_->currentText();
    cambio();
    if (seleziona || picker_->currentText() != mostrato) MostraSeleziona();
}

void NavigatoreDati::InserisciNome(const QString& nome) {
    NomeOrdinato n{collatore_.sortKey(nome), nome};
    const auto dove =
        std::upper_bound(ordinati_.begin(), ordinati_.end(), n,
                         [](const NomeOrdinato& a, const NomeOrdinato& b) { return a.chiave.compare(b.chiave) < 0; });
    const int riga = static_cast<int>(dove - ordinati_.begin());
    ordinati_.insert(dove, std::move(n));
    alfabetico_->insertRows(riga, 1);
    alfabetico_->setData(alfabetico_->index(riga), nome);
}

void NavigatoreDati::TogliNome(const QString& nome) {
    const NomeOrdinato n{collatore_.sortKey(nome), nome};
    auto [da, a] =
        std::equal_range(ordinati_.begin(), ordinati_.end(), n,
                         [](const NomeOrdinato& x, const NomeOrdinato& y) { return x.chiave.compare(y.chiave) < 0; });
    const auto trovato = std::find_if(da, a, [&nome](const NomeOrdinato& x) { return x.nome == nome; });
    if (trovato == a) return;
    const int riga = static_cast<int>(trovato - ordinati_.begin());
    ordinati_.erase(trovato);
    alfabetico_->removeRows(riga, 1);
}

void NavigatoreDati::MostraSeleziona() {
    picker_->setCurrentIndex(-1);
    picker_->setEditText(TestoSeleziona());
}

bool NavigatoreDati::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == qApp && evento->type() == QEvent::LanguageChange) {
        const QString prima = picker_->placeholderText();
        picker_->setPlaceholderText(TestoSeleziona());
        if (picker_->currentIndex() < 0 && picker_->currentText() == prima) picker_->setEditText(TestoSeleziona());
    }
    return QWidget::eventFilter(oggetto, evento);
}

void NavigatoreDati::AccogliNome(QLineEdit* txtNome) {
    if (!txtNome || txtNome == nome_) return;
    // Within the same window Qt keeps the widget's place in the Tab chain.
    const bool visibile = !txtNome->isHidden();
    nome_ = txtNome;
    txtNome->setParent(this);
    txtNome->setVisible(visibile);
    Disponi();
    updateGeometry();
}

int NavigatoreDati::LarghezzaTendina() const {
    QStyleOptionComboBox opzioni;
    opzioni.initFrom(picker_);
    opzioni.editable = true;
    opzioni.rect = QRect(0, 0, qMax(width(), 100), qMax(height(), 10));
    const QRect freccia =
        picker_->style()->subControlRect(QStyle::CC_ComboBox, &opzioni, QStyle::SC_ComboBoxArrow, picker_);
    if (!freccia.isValid()) return qMax(height(), 16);
    return opzioni.rect.right() - freccia.left() + 1;
}

void NavigatoreDati::Disponi() {
    const int w = width(), h = height();
    const int b = qBound(16, h, 24);  // arrow buttons: square up to 24 pixels
    const int d = LarghezzaTendina();
    picker_->setGeometry(0, 0, w, h);
    primo_->setGeometry(0, 0, b, h);
    precedente_->setGeometry(b, 0, b, h);
    ultimo_->setGeometry(w - d - b, 0, b, h);
    successivo_->setGeometry(w - d - 2 * b, 0, b, h);
    if (nome_) nome_->setGeometry(2 * b, 0, qMax(0, w - d - 4 * b), h);
    // Back to front: the picker, the navigator's arrows, the name box.
    picker_->lower();
    for (QWidget* x : {primo_, precedente_, successivo_, ultimo_}) x->raise();
    if (nome_) nome_->raise();
}

void NavigatoreDati::DisegnaFrecce() {
    const QColor colore = palette().color(QPalette::ButtonText);
    primo_->setIcon(IconaFreccia(Freccia::Primo, colore));
    precedente_->setIcon(IconaFreccia(Freccia::Precedente, colore));
    successivo_->setIcon(IconaFreccia(Freccia::Successivo, colore));
    ultimo_->setIcon(IconaFreccia(Freccia::Ultimo, colore));
}

QSize NavigatoreDati::sizeHint() const {
    const int h = nome_ ? nome_->sizeHint().height() : picker_->sizeHint().height();
    return {300, h};
}

QSize NavigatoreDati::minimumSizeHint() const { return {140, 20}; }

void NavigatoreDati::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Disponi();
}

void NavigatoreDati::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange) {
        DisegnaFrecce();
        Disponi();
    }
}
