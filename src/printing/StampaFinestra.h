// Printing what is on the screen: the main window, title bar included, with
// the child window open in it, on one landscape page at its real size (made
// smaller only when the floating windows printed beside it need the room). While
// the picture is taken the bar shows the credit text and the web address
// instead of Print, Help and the links.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

class QPrinter;
class QWidget;

// What printing needs from the main window, without reaching into its
// controls.
class FinestraDaStampare {
public:
    virtual ~FinestraDaStampare() = default;
    // The window pictured, and the child window shown in it (or none).
    virtual QWidget* FinestraStampata() = 0;
    virtual QWidget* FiglioStampato() const = 0;
    // The bar in its printout state (the credit text and the web address
    // instead of Print, Help and the links), or back to normal.
    virtual void StatoDiStampa(bool stampa) = 0;
    // The focus where it is left after printing: on no visible control.
    virtual void FocusNascosto() = 0;
    // Floating windows printed beside the main window (the athlete's tests
    // beside the condition sheet); none by default.
    virtual QList<QWidget*> FinestreAccanto() const { return {}; }
};

// Where to save a PDF file: called with the window asking and the file name
// it proposes; gives the file chosen, empty for none. A chooser that takes
// only the window (as tests give) is taken as well.
class SceltaFilePdf {
public:
    SceltaFilePdf() = default;
    SceltaFilePdf(std::nullptr_t) {}
    template <typename F>
    requires std::is_invocable_r_v<QString, F, QWidget*, const QString&> SceltaFilePdf(F f) : scegli_(std::move(f)) {}
    template <typename F>
    requires(std::is_invocable_r_v<QString, F, QWidget*> &&
             !std::is_invocable_r_v<QString, F, QWidget*, const QString&>) SceltaFilePdf(F f)
        : scegli_([f = std::move(f)](QWidget* finestra, const QString&) { return f(finestra); }) {}
    QString operator()(QWidget* finestra, const QString& nomeProposto = QString()) const {
        return scegli_(finestra, nomeProposto);
    }
    explicit operator bool() const { return static_cast<bool>(scegli_); }

private:
    std::function<QString(QWidget*, const QString&)> scegli_;
};

// What printing needs from the platform; tests replace it.
struct ServiziStampa {
    // The printer to print on, or none when the system has no printer.
    std::function<std::unique_ptr<QPrinter>()> stampante;
    // Where to save the page as PDF when there is no printer; empty: don't.
    // By default a save dialog in the documents folder, on the name proposed.
    SceltaFilePdf scegliFilePdf;
};

const ServiziStampa& ServiziStampaCorrenti();
void ImpostaServiziStampa(ServiziStampa servizi);

// The picture of the main window as it is printed: the bar in its printout
// state, a title bar with icon and caption drawn over the window's contents.
// The bar is back to normal when it returns.
QImage ImmagineDaStampare(FinestraDaStampare* finestra);

// The Print button (and Ctrl+P). Without a printer the user is offered a PDF
// file, ".pdf" added to a name without it; a failed job, or a file that
// cannot be written, is reported as such. The focus ends on no visible control.
void StampaFinestra(FinestraDaStampare* finestra);

// The name offered for the PDF file: the athlete shown, the window and
// today's date, "Rossi Mario - Scheda assetto - 2024-06-01.pdf".
QString NomeFilePdf(const FinestraDaStampare* finestra);
// A file name of the parts joined by " - ", ".pdf" at the end; characters
// that some file systems refuse become a dash.
QString NomeFileDaParti(const QStringList& parti);
// The file name with ".pdf" added when it does not end so.
QString ConEstensionePdf(const QString& file);
