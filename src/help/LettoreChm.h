// Reading a compiled HTML help file (.chm): its pages, style sheets and
// pictures by path, through chmlib. No user interface: the help viewer
// (frmGuida) shows what this reads and reports what it could not read.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct chmFile;

class LettoreChm {
public:
    enum class Errore {
        Nessuno,
        FileMancante,        // no file at the given path
        FileIlleggibile,     // the file cannot be opened, or is not a compiled help file
        OggettoMancante,     // the file holds no object at the path asked for
        OggettoIlleggibile,  // the object is there but its data cannot be read (damaged file)
    };

    // An object larger than this is treated as damaged rather than read.
    static constexpr qint64 DimensioneMassimaOggetto = 64 * 1024 * 1024;

    LettoreChm() = default;
    explicit LettoreChm(const QString& fileChm);
    ~LettoreChm();
    LettoreChm(const LettoreChm&) = delete;
    LettoreChm& operator=(const LettoreChm&) = delete;
    LettoreChm(LettoreChm&& altro) noexcept;
    LettoreChm& operator=(LettoreChm&& altro) noexcept;

    // Opens the file, closing the one open before. False, with errore() set,
    // when the file is missing or cannot be read as a compiled help file.
    bool apri(const QString& fileChm);
    void chiudi();
    bool aperto() const { return file_ != nullptr; }
    // The path last given to apri, as given.
    const QString& percorsoFile() const { return percorso_; }

    // True when the file holds an object (not a folder) at that path. The path
    // is taken as PercorsoOggetto does; like the Windows help viewer, chmlib
    // matches names without regard to case.
    bool contiene(const QString& oggetto) const;

    // The whole object at that path, or nothing with errore() set.
    std::optional<QByteArray> leggi(const QString& oggetto);

    // Paths of the stored files ("/Descrizione.html", "/immagini/bici.png"),
    // with their case as stored; the compiler's internal objects are left out.
    QStringList elenco() const;

    // From the file's system data: the default topic and the table of
    // contents, as object paths; empty when the file does not name them.
    QString argomentoPredefinito() const;
    QString fileSommario() const;

    // What the last apri, contiene or leggi failed on.
    Errore errore() const { return errore_; }
    // The same, as a sentence for the user naming the file and the topic,
    // from the message catalogue of the current language.
    QString messaggioErrore() const;

    // The object path a reference in a page stands for: "Descrizione.html" is
    // "/Descrizione.html"; a relative reference is taken from the folder of
    // base (an object path); fragment ("#...") and query ("?...") are dropped,
    // "%xx" escapes decoded, backslashes read as "/", "." and ".." resolved,
    // and "ms-its:Guida.chm::/x.html" or "mk:@MSITStore:...::/x.html" give
    // "/x.html". A reference made of a fragment alone gives base itself.
    static QString PercorsoOggetto(const QString& riferimento, const QString& base = QString());

private:
    void fallisci(Errore errore, const QString& oggetto = QString()) const;

    chmFile* file_ = nullptr;
    QString percorso_;
    mutable Errore errore_ = Errore::Nessuno;
    mutable QString oggettoErrore_;
};
