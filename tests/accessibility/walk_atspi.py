#!/usr/bin/python3
"""Walks every window of Tovarin Project as a screen reader does, through
AT-SPI, and prints each control it reaches that has no name.

The program runs on a display of its own (Xvfb with openbox) inside a D-Bus
session of its own, with Qt's accessibility bridge always on; the windows are
opened from the keyboard (xdotool), the buttons that open them given the
focus through AT-SPI and pressed with Enter, and each window shown is walked
from the top: every object showing on screen whose role is a control (button,
box, list, table, tree, link, picture, chart, page...) or that takes the focus
must have a name, and a combo box a name other than the item it shows. Both
languages are walked by default.

Run by hand, from the worktree, after a build:

    tests/accessibility/walk_atspi.py [--program build/app/tovarin]
                                      [--display :11] [--language italian|english|both]
                                      [--keep DIR]

Exit status 0 when no control without a name was found, 1 otherwise, 2 when
the walk itself could not run.

What it needs (Debian packages): xvfb, openbox, xdotool, dbus (for
dbus-run-session), at-spi2-core and python3-pyatspi (with python3-gi). It is
not run by the test suite and the `tovarin` script installs none of them.
The program's folder is copied to a temporary folder first, so the build's
own archive and settings are never touched.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

INTERNO = "TOVARIN_WALK_ATSPI_INTERNO"


def rilancia_in_dbus():
    """Runs this script again inside a D-Bus session of its own."""
    if os.environ.get(INTERNO):
        return
    env = dict(os.environ)
    env[INTERNO] = "1"
    comando = ["dbus-run-session", "--", sys.executable, os.path.abspath(__file__)] + sys.argv[1:]
    sys.exit(subprocess.call(comando, env=env))


if __name__ == "__main__":
    rilancia_in_dbus()


def argomenti():
    qui = os.path.dirname(os.path.abspath(__file__))
    radice = os.path.normpath(os.path.join(qui, "..", ".."))
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--program", default=os.path.join(radice, "build", "app", "tovarin"))
    p.add_argument("--display", default=":11")
    p.add_argument("--language", default="both", choices=["italian", "english", "both"])
    p.add_argument("--keep", help="keep the program's copy and the screenshots in this folder")
    return p.parse_args()


class Schermo:
    """Xvfb and openbox on the display, unless a server already answers there."""

    def __init__(self, display):
        self.display = display
        self.processi = []
        os.environ["DISPLAY"] = display
        if subprocess.call(["xdotool", "getdisplaygeometry"], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL) != 0:
            self.processi.append(subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x800x24"],
                                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            attendi(lambda: subprocess.call(["xdotool", "getdisplaygeometry"], stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL) == 0, "the X server")
        self.processi.append(subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(1)

    def chiudi(self):
        for p in reversed(self.processi):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()


def attendi(condizione, cosa, secondi=30):
    fine = time.monotonic() + secondi
    while time.monotonic() < fine:
        try:
            risultato = condizione()
        except Exception:  # the tree changes under the walk while windows open
            risultato = None
        if risultato:
            return risultato
        time.sleep(0.2)
    raise RuntimeError("waited in vain for " + cosa)


def tasti(*sequenza):
    for t in sequenza:
        subprocess.call(["xdotool", "key", "--clearmodifiers", t])
        time.sleep(0.4)


# ----- AT-SPI -----------------------------------------------------------------

import pyatspi  # noqa: E402  (after the D-Bus session is there)

R = pyatspi
RUOLI_CONTROLLO = {
    R.ROLE_PUSH_BUTTON, R.ROLE_TOGGLE_BUTTON, R.ROLE_CHECK_BOX, R.ROLE_RADIO_BUTTON, R.ROLE_COMBO_BOX,
    R.ROLE_TEXT, R.ROLE_ENTRY, R.ROLE_PASSWORD_TEXT, R.ROLE_LIST, R.ROLE_LIST_BOX, R.ROLE_TABLE, R.ROLE_TREE,
    R.ROLE_TREE_TABLE, R.ROLE_LINK, R.ROLE_IMAGE, R.ROLE_PAGE_TAB, R.ROLE_SLIDER, R.ROLE_SPIN_BUTTON,
    R.ROLE_CHART, R.ROLE_DOCUMENT_FRAME, R.ROLE_DOCUMENT_TEXT, R.ROLE_DOCUMENT_WEB, R.ROLE_HTML_CONTAINER,
    R.ROLE_MENU_ITEM,
}
# Said by their own text, inside a list, a table or a tree.
RUOLI_VOCE = {
    R.ROLE_LIST_ITEM, R.ROLE_TABLE_CELL, R.ROLE_TREE_ITEM, R.ROLE_TABLE_ROW, R.ROLE_TABLE_COLUMN_HEADER,
    R.ROLE_TABLE_ROW_HEADER, R.ROLE_COLUMN_HEADER, R.ROLE_ROW_HEADER, R.ROLE_SCROLL_BAR,
}
CONTENITORI = {R.ROLE_LIST, R.ROLE_LIST_BOX, R.ROLE_TABLE, R.ROLE_TREE, R.ROLE_TREE_TABLE}


def programma(nome):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == nome:
            return app
    return None


def finestre_mostrate(app):
    mostrate = []
    for i in range(app.childCount):
        f = app.getChildAtIndex(i)
        if f is not None and f.getState().contains(R.STATE_SHOWING):
            mostrate.append(f)
    return mostrate


def cammina(oggetto, percorso, trovati, livello=0):
    """Every control showing under `oggetto` without a name goes in `trovati`."""
    if oggetto is None or livello > 40:
        return
    stato = oggetto.getState()
    if livello > 0 and not stato.contains(R.STATE_SHOWING):
        return
    ruolo = oggetto.getRole()
    if ruolo in RUOLI_VOCE:
        return
    qui = percorso + "/" + oggetto.getRoleName().replace(" ", "_")
    if oggetto.name:
        qui += "[" + oggetto.name + "]"
    if livello > 0 and (ruolo in RUOLI_CONTROLLO or stato.contains(R.STATE_FOCUSABLE)):
        if not oggetto.name.strip():
            trovati.append(qui)
        elif ruolo == R.ROLE_COMBO_BOX and oggetto.name.strip() in valori_combo(oggetto):
            trovati.append(qui + " (named by the item it shows)")
    if ruolo in CONTENITORI:
        return
    for i in range(oggetto.childCount):
        cammina(oggetto.getChildAtIndex(i), qui, trovati, livello + 1)


def valori_combo(combo):
    """What a combo shows: its text box's text, its selected item."""
    valori = set()
    for i in range(combo.childCount):
        figlio = combo.getChildAtIndex(i)
        if figlio is None:
            continue
        try:
            testo = figlio.queryText()
            valori.add(testo.getText(0, testo.characterCount).strip())
        except NotImplementedError:
            pass
        try:
            selezione = figlio.querySelection()
            for j in range(selezione.nSelectedChildren):
                scelto = selezione.getSelectedChild(j)
                if scelto is not None:
                    valori.add(scelto.name.strip())
        except NotImplementedError:
            pass
    valori.discard("")
    return valori


def trova(radice, condizione, livello=0):
    if radice is None or livello > 40:
        return None
    if condizione(radice):
        return radice
    if radice.getRole() in CONTENITORI:
        return None
    for i in range(radice.childCount):
        trovato = trova(radice.getChildAtIndex(i), condizione, livello + 1)
        if trovato is not None:
            return trovato
    return None


def premi(app, nome):
    """Gives the focus to the control named so in the windows shown and presses Enter on it."""
    def cerca():
        for f in finestre_mostrate(app):
            c = trova(f, lambda o: o.name == nome and o.getState().contains(R.STATE_FOCUSABLE)
                      and o.getState().contains(R.STATE_SHOWING))
            if c is not None:
                return c
        return None
    try:
        controllo = attendi(cerca, '"' + nome + '"', 10)
    except RuntimeError:
        pulsanti = []
        for f in finestre_mostrate(app):
            trova(f, lambda o: o.getRole() == R.ROLE_PUSH_BUTTON and pulsanti.append(
                "%s %s" % (o.name, o.getState().getStates())) and False)
        raise RuntimeError('"%s" among the buttons shown: %s' % (nome, "; ".join(pulsanti)))
    controllo.queryComponent().grabFocus()
    attendi(lambda: controllo.getState().contains(R.STATE_FOCUSED), 'the focus on "' + nome + '"', 10)
    tasti("Return")


def clicca(app, nome):
    """A click at the middle of the picture named so: the enlarged pictures open only so."""
    def cerca():
        for f in finestre_mostrate(app):
            c = trova(f, lambda o: o.name == nome and o.getState().contains(R.STATE_SHOWING))
            if c is not None:
                return c
        return None
    controllo = attendi(cerca, '"' + nome + '"', 10)
    x, y, w, h = controllo.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.call(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"])
    time.sleep(0.8)


# ----- the walk ---------------------------------------------------------------

# The names the windows give their buttons, in each language.
NOMI = {
    "italian": {"registra": "Registra assetto", "storico": "Storico", "test": "Test dell'atleta",
                "imc": "Range valori", "info": "Info", "bici": None},
    "english": {"registra": "Record fitting", "storico": "History", "test": "Athlete's tests",
                "imc": "BMI ranges", "info": "About", "bici": None},
}


def attendi_finestre(app, quante):
    return attendi(lambda: len(finestre_mostrate(app)) >= quante and finestre_mostrate(app), "the windows")


def passi(app, lingua):
    """Opens each window from the keyboard; yields what is shown after each step."""
    n = NOMI[lingua]
    yield "home window", None
    tasti("ctrl+1")
    yield "athlete card", None
    tasti("Next")
    yield "athlete card, a new athlete", None
    tasti("ctrl+Home", "ctrl+2")
    yield "fit sheet", None
    premi(app, n["registra"])
    attendi_finestre(app, 2)
    yield "record dialog", None
    tasti("Escape")
    premi(app, n["storico"])
    yield "fitting history", None
    tasti("ctrl+3")
    yield "condition sheet", None
    premi(app, n["test"])
    attendi_finestre(app, 2)
    yield "athlete's tests", None
    tasti("alt+F4")
    premi(app, n["imc"])
    attendi_finestre(app, 2)
    yield "BMI table", None
    tasti("alt+F4")
    tasti("F1")
    attendi_finestre(app, 2)
    time.sleep(1)
    yield "help", None
    tasti("alt+F4")
    premi(app, n["info"])
    yield "About", None


def prepara(cartella_programma, destinazione, lingua):
    shutil.copytree(cartella_programma, destinazione)
    for nome in ("tvp.dmg", "LangSetting.ini"):
        try:
            os.remove(os.path.join(destinazione, nome))
        except FileNotFoundError:
            pass
    with open(os.path.join(destinazione, "LangSetting.ini"), "w") as f:
        f.write("[Language]\nCurrentLanguage=%s\n" % lingua)
    # One athlete, through the program's own import (a header of the 34
    # columns of the archive, then the row).
    programma_copia = os.path.join(destinazione, os.path.basename(args.program))
    colonne = ["nome", "datanascita", "indirizzo", "tel", "Email", "bici", "Societa", "Categoria", "Tessera",
               "Scadenza", "sesso", "TipoImpiego", "AttivFis", "pulsazioniriposo", "cavallo", "busto", "coscia",
               "gamba", "braccio", "spalle", "altezza", "peso", "sella", "myHS", "myDSM", "mySM", "myR", "myPE",
               "MarcaSella", "Manubrio", "Gruppo", "Ruote", "pedali", "note"]
    valori = {"nome": "Rossi Mario", "datanascita": "15/03/1988", "sesso": "M", "AttivFis": "0", "cavallo": "86",
              "busto": "62", "coscia": "58", "gamba": "55", "braccio": "64", "spalle": "42", "altezza": "178",
              "peso": "70"}
    csv = os.path.join(destinazione, "atleta.csv")
    with open(csv, "w", encoding="utf-8") as f:
        f.write(";".join(colonne) + "\n" + ";".join(valori.get(c, "") for c in colonne) + "\n")
    if subprocess.call([programma_copia, "--import-csv", csv], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL) != 0:
        raise RuntimeError("the athlete could not be imported into the program's copy")
    return programma_copia


def percorri(lingua, cartella):
    programma_copia = prepara(os.path.dirname(os.path.abspath(args.program)), os.path.join(cartella, lingua),
                              lingua)
    env = dict(os.environ)
    env.update({"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_QPA_PLATFORM": "xcb",
                "QT_ACCESSIBILITY": "1", "NO_AT_BRIDGE": "0"})
    processo = subprocess.Popen([programma_copia], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    nome_app = os.path.basename(programma_copia)
    senza_nome = []
    try:
        app = attendi(lambda: programma(nome_app), "the program on the accessibility bus", 60)
        attendi_finestre(app, 1)
        subprocess.call(["xdotool", "search", "--sync", "--onlyvisible", "--name", "Tovarin", "windowactivate"],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1.5)
        for passo, _ in passi(app, lingua):
            time.sleep(1.0)
            trovati = []
            for f in finestre_mostrate(app):
                cammina(f, f.name or f.getRoleName(), trovati)
            stato = "none" if not trovati else str(len(trovati))
            print("%s, %s: %s without a name" % (lingua, passo, stato), flush=True)
            for t in trovati:
                print("    " + t, flush=True)
            senza_nome.extend((passo, t) for t in trovati)
            if args.keep:
                subprocess.call(["import", "-window", "root",
                                 os.path.join(args.keep, "%s-%s.png" % (lingua, passo.replace(" ", "_")
                                                                         .replace(",", "")
                                                                         .replace("'", "")))])
    finally:
        processo.terminate()
        try:
            processo.wait(10)
        except subprocess.TimeoutExpired:
            processo.kill()
    return senza_nome


def main():
    lingue = ["italian", "english"] if args.language == "both" else [args.language]
    if not os.access(args.program, os.X_OK):
        print("no program at " + args.program, file=sys.stderr)
        return 2
    schermo = Schermo(args.display)
    cartella = args.keep or tempfile.mkdtemp(prefix="walk-atspi-")
    if args.keep:
        os.makedirs(args.keep, exist_ok=True)
        for lingua in lingue:
            shutil.rmtree(os.path.join(args.keep, lingua), ignore_errors=True)
    try:
        totale = []
        for lingua in lingue:
            totale.extend(percorri(lingua, cartella))
    except RuntimeError as e:
        print("the walk could not run: %s" % e, file=sys.stderr)
        return 2
    finally:
        schermo.chiudi()
        if not args.keep:
            shutil.rmtree(cartella, ignore_errors=True)
    print("controls without a name: %d" % len(totale))
    return 1 if totale else 0


if __name__ == "__main__":
    args = argomenti()
    sys.exit(main())
