// Where the program's files live. A portable copy (the build folder, a folder
// on a USB stick) keeps everything in its own folder while it can write there.
// An installed program reads its language files and help from where they are
// installed, and keeps the coach's archive and language setting in the user's
// data folder, which no update or removal of the program touches.
#pragma once

#include <QString>

struct CartelleProgramma {
    QString applicazione;  // language files and help
    QString dati;          // the archive "tvp.dmg" and "LangSetting.ini"
};

// The folders of a program started from `cartellaProgramma`; `cartellaUtente`
// is the user's data folder for this program (Qt's AppDataLocation). When the
// user's folder is chosen it is created owner-only if missing, and an archive
// or settings file left in a read-only program folder is copied into it once.
CartelleProgramma TrovaCartelle(const QString& cartellaProgramma, const QString& cartellaUtente);

// Why the user's data folder cannot be trusted with the archive, as ssh does
// with ~/.ssh: it (or the folder a link there leads to) belongs to another
// user, or others can write into it; the sentence says how to mend it.
// Empty when the folder is the user's own, or is not there yet.
QString ProblemaCartellaDati(const QString& cartella);

// Makes the folders the ones the program reads and writes.
void ImpostaCartelle(const CartelleProgramma& cartelle);

// True when a file can be created in the folder: tried, not guessed from the
// permission bits (which neither root nor a read-only medium respect).
bool CartellaScrivibile(const QString& cartella);
