#!/usr/bin/env python3
"""Seeds one-line slips in C++ files, one at a time, and lists those no test catches.

The slips are the ones a tired hand makes: a comparison flipped, a constant
off by one, two arguments swapped, a negation or an early-return check
dropped, the first item taken for the last. Each one is put into a copy of
the project (build-mutants/tree, with its own build folder), the copy is
rebuilt incrementally and the tests are run; a slip that does not build, or
that makes a test fail or time out, is caught. The coach's tree and build/
are never touched.

Usage: tools/mutants.py [--list] [--max N] [--lines N-M,N] [--tests REGEX] [--targets T,T] [--copy NAME] [--timeout S] [--jobs N] FILE|FOLDER...
Exit code: 0 when every slip is caught, 1 when some survive, 2 when the run
could not start (bad arguments, a copy that does not build, tests failing
before any slip).
"""

import argparse
import dataclasses
import decimal
import os
import random
import re
import shutil
import subprocess
import sys
import time

RADICE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CARTELLA = os.path.join(RADICE, "build-mutants")
COPIA = os.path.join(CARTELLA, "tree")
COSTRUZIONE = os.path.join(COPIA, "build")
ESTENSIONI = (".cpp", ".cc", ".cxx", ".h", ".hpp")

# The same sample on every run with the same files and --max.
SEME = 1

# Calls whose arguments may be swapped without changing anything.
SIMMETRICHE = {"min", "max", "fmin", "fmax", "swap", "hypot", "gcd", "lcm"}
# Words that open a parenthesis without calling anything.
NON_CHIAMATE = {
    "if", "while", "for", "switch", "return", "sizeof", "alignof", "decltype", "noexcept", "catch",
    "static_assert", "requires", "co_return", "co_yield", "throw", "case", "alignas", "typeid",
}


@dataclasses.dataclass
class Mutante:
    file: str  # relative to the project folder
    riga: int  # 1-based, the line the slip is on
    tipo: str
    prima: str  # the line(s) as written
    dopo: str  # the line(s) with the slip
    righe: dict  # index (0-based) -> the line's new text, without its end of line

    def intestazione(self):
        return f"{self.file}:{self.riga}: {self.tipo}"


def fallisci(messaggio):
    """A run that cannot start: 2, never the 1 of slips that survive."""
    print(f"mutants: {messaggio}", file=sys.stderr)
    sys.exit(2)


# ---------------------------------------------------------------- reading C++


def maschera(testo):
    """The text with comments, string and character literals and preprocessor
    lines (other than #define) blanked out, same length, same line breaks."""
    out = list(testo)
    n = len(testo)
    i = 0

    def vuota(da, a):
        for k in range(da, a):
            if out[k] != "\n":
                out[k] = " "

    inizio_riga = True
    while i < n:
        c = testo[i]
        if c == "\n":
            inizio_riga = True
            i += 1
            continue
        if inizio_riga and c in " \t":
            i += 1
            continue
        if inizio_riga and c == "#":
            # A directive, with its continuation lines.
            j = i
            while j < n:
                if testo[j] == "\n" and (j == 0 or testo[j - 1] != "\\"):
                    break
                j += 1
            direttiva = re.match(r"#\s*(\w*)", testo[i:j])
            if not direttiva or direttiva.group(1) != "define":
                vuota(i, j)
                i = j
                continue
        inizio_riga = False
        if testo.startswith("//", i):
            j = testo.find("\n", i)
            j = n if j < 0 else j
            vuota(i, j)
            i = j
        elif testo.startswith("/*", i):
            j = testo.find("*/", i + 2)
            j = n if j < 0 else j + 2
            vuota(i, j)
            i = j
        elif c == '"':
            # A raw string: an R right before the quote (after an optional prefix).
            m = re.search(r"(?:u8|u|U|L)?R$", testo[max(0, i - 3):i])
            if m and (i - len(m.group(0)) == 0 or not (testo[i - len(m.group(0)) - 1].isalnum()
                                                        or testo[i - len(m.group(0)) - 1] == "_")):
                aperta = testo.find("(", i)
                delimitatore = testo[i + 1:aperta]
                fine = testo.find(")" + delimitatore + '"', aperta)
                j = n if fine < 0 else fine + len(delimitatore) + 2
            else:
                j = i + 1
                while j < n and testo[j] != '"' and testo[j] != "\n":
                    j += 2 if testo[j] == "\\" else 1
                j = min(j + 1, n)
            vuota(i, j)
            i = j
        elif c == "'":
            # A digit separator (1'000) is not a character literal.
            k = i - 1
            while k >= 0 and (testo[k].isalnum() or testo[k] in "_'"):
                k -= 1
            if i > 0 and testo[k + 1].isdigit():
                i += 1
                continue
            j = i + 1
            while j < n and testo[j] != "'" and testo[j] != "\n":
                j += 2 if testo[j] == "\\" else 1
            j = min(j + 1, n)
            vuota(i, j)
            i = j
        else:
            i += 1
    return "".join(out)


def chiusa(riga, aperta):
    """The index of the parenthesis closing the one at `aperta`, on the same line, or -1."""
    profondita = 0
    for k in range(aperta, len(riga)):
        if riga[k] in "([{":
            profondita += 1
        elif riga[k] in ")]}":
            profondita -= 1
            if profondita == 0:
                return k if riga[k] == ")" else -1
    return -1


def parti(testo):
    """The comma-separated parts of an argument list, commas inside brackets kept."""
    risultato, profondita, inizio = [], 0, 0
    for k, c in enumerate(testo):
        if c in "([{":
            profondita += 1
        elif c in ")]}":
            profondita -= 1
        elif c == "," and profondita == 0:
            risultato.append((inizio, k))
            inizio = k + 1
    risultato.append((inizio, len(testo)))
    return risultato


OPERATORI = re.compile(r"<<=|>>=|<=>|->|<<|>>|<=|>=|==|!=|&&|\|\||<|>|!")
SCAMBIO = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==", "&&": "||", "||": "&&"}
LETTERALE = re.compile(r"(?<![\w.'])(?P<num>0[xX][0-9a-fA-F']+|(?:\d[\d']*)?\.\d[\d']*|\d[\d']*\.?)"
                       r"(?P<suffisso>[uUlLfF]*)(?![\w.'])")
OPERANDO = re.compile(r"[A-Za-z_]\w*(?:(?:\.|->|::)[A-Za-z_]\w*|\[\w+\])*")
USCITA = re.compile(r"(?:return\b.*|continue|break|throw\b.*);")
PAROLE = [(re.compile(r"(?<=[.>])front\(\)"), "back()"), (re.compile(r"(?<=[.>])back\(\)"), "front()"),
          (re.compile(r"\bmin_element\b"), "max_element"), (re.compile(r"\bmax_element\b"), "min_element"),
          (re.compile(r"\bstd::min(?=\()"), "std::max"), (re.compile(r"\bstd::max(?=\()"), "std::min"),
          (re.compile(r"\btrue\b"), "false"), (re.compile(r"\bfalse\b"), "true")]


def dopo_operatore(riga, inizio):
    """Whether the token at `inizio` follows the word operator (operator<, operator==)."""
    return re.search(r"\boperator\s*$", riga[:inizio]) is not None


def spaziato(riga, inizio, fine):
    return inizio > 0 and riga[inizio - 1] in " \t" and fine < len(riga) and riga[fine] in " \t"


def varianti_numero(num, suffisso):
    pulito = num.replace("'", "")
    if pulito[:2] in ("0x", "0X"):
        v = int(pulito, 16)
        cifre = "X" if any(c.isupper() for c in pulito[2:]) else "x"
        return [pulito[:2] + format(w, cifre) + suffisso for w in (v + 1, v - 1) if w >= 0]
    if "." in pulito:
        decimali = max(len(pulito.split(".")[1]), 1)
        v = decimal.Decimal(pulito if not pulito.endswith(".") else pulito + "0")
        quanto = decimal.Decimal(1).scaleb(-decimali)
        passo = decimal.Decimal("0.1")
        return [format((w).quantize(quanto), "f") + suffisso for w in (v + passo, v - passo) if w >= 0]
    if len(pulito) > 1 and pulito.startswith("0"):
        return []  # octal: nobody writes those here
    v = int(pulito)
    return [str(w) + suffisso for w in (v + 1, v - 1) if w >= 0]


def mutanti_file(relativo):
    with open(os.path.join(RADICE, relativo), encoding="utf-8") as f:
        testo = f.read()
    righe = testo.split("\n")
    mascherate = maschera(testo).split("\n")
    risultato = []

    def aggiungi(i, tipo, nuova):
        risultato.append(Mutante(relativo, i + 1, tipo, righe[i].strip(), nuova.strip(), {i: nuova}))

    for i, (riga, m) in enumerate(zip(righe, mascherate)):
        if not m.strip():
            continue
        # Comparisons and logical operators; a < or > only with blanks around it,
        # as the formatter writes a comparison and never a template's brackets.
        for op in OPERATORI.finditer(m):
            t = op.group(0)
            if dopo_operatore(m, op.start()):
                continue
            if t in ("<", ">", "&&", "||") and not spaziato(m, op.start(), op.end()):
                continue
            if t in SCAMBIO:
                aggiungi(i, f"'{t}' -> '{SCAMBIO[t]}'", riga[:op.start()] + SCAMBIO[t] + riga[op.end():])
            elif t == "!":
                aggiungi(i, "'!' removed", riga[:op.start()] + riga[op.end():])
        # Numbers one up and one down (a tenth for a decimal).
        for lit in LETTERALE.finditer(m):
            for v in varianti_numero(lit.group("num"), lit.group("suffisso")):
                aggiungi(i, f"{lit.group(0)} -> {v}", riga[:lit.start()] + v + riga[lit.end():])
        # First for last, smallest for largest, true for false.
        for schema, sostituto in PAROLE:
            for p in schema.finditer(m):
                aggiungi(i, f"{p.group(0)} -> {sostituto}", riga[:p.start()] + sostituto + riga[p.end():])
        # Two neighbouring arguments of a call swapped, when both are plain names.
        for aperta in (k for k, c in enumerate(m) if c == "("):
            nome = re.search(r"([A-Za-z_]\w*)\s*$", m[:aperta])
            if not nome or nome.group(1) in NON_CHIAMATE or nome.group(1) in SIMMETRICHE:
                continue
            fine = chiusa(m, aperta)
            if fine < 0:
                continue
            dentro = [(aperta + 1 + a, aperta + 1 + b) for a, b in parti(m[aperta + 1:fine])]
            if len(dentro) < 2:
                continue
            for (a1, b1), (a2, b2) in zip(dentro, dentro[1:]):
                x, y = riga[a1:b1].strip(), riga[a2:b2].strip()
                if x == y or not OPERANDO.fullmatch(x) or not OPERANDO.fullmatch(y):
                    continue
                nuova = riga[:a1] + riga[a1:b1].replace(x, y) + "," + riga[a2:b2].replace(y, x) + riga[b2:]
                aggiungi(i, f"{nome.group(1)}(... {x}, {y} ...) swapped", nuova)
        # An early exit dropped: if (...) return/continue/break/throw, on one line,
        # on two, or in braces of its own.
        se = re.match(r"\s*if\s*(?:constexpr\s*)?\(", m)
        if se:
            fine = chiusa(m, se.end() - 1)
            if fine < 0:
                continue
            condizione = m[se.end():fine]
            if ";" in condizione or re.match(r"\s*(?:const\s+)?auto\b", condizione):
                continue  # it declares what follows may use
            resto = m[fine + 1:].strip()
            tolte = None
            if USCITA.fullmatch(resto):
                tolte = [i]
            elif resto == "" and i + 1 < len(righe) and USCITA.fullmatch(mascherate[i + 1].strip()):
                tolte = [i, i + 1]
            elif (resto == "{" and i + 2 < len(righe) and USCITA.fullmatch(mascherate[i + 1].strip())
                  and mascherate[i + 2].strip() == "}"):
                tolte = [i, i + 1, i + 2]
            elif resto.endswith(";") and not resto.startswith("{"):
                # A one-line conditional statement: the condition dropped, the statement kept.
                seguente = next((r.strip() for r in mascherate[i + 1:] if r.strip()), "")
                if not seguente.startswith("else"):
                    aggiungi(i, "condition removed", riga[:se.start() + len(se.group(0)) - len(se.group(0).lstrip())]
                             + riga[fine + 1:].lstrip())
                continue
            if tolte:
                seguente = next((r.strip() for r in mascherate[tolte[-1] + 1:] if r.strip()), "")
                if seguente.startswith("else"):
                    continue
                risultato.append(Mutante(relativo, i + 1, "check removed", " / ".join(righe[k].strip() for k in tolte),
                                         "(nothing)", {k: "" for k in tolte}))
    return risultato


def campione(mutanti, massimo):
    """At most `massimo` mutants, one from each of as many equal stretches of the list."""
    if massimo is None or massimo >= len(mutanti):
        return mutanti
    rng = random.Random(SEME)
    scelti = []
    for k in range(massimo):
        da = k * len(mutanti) // massimo
        a = (k + 1) * len(mutanti) // massimo
        scelti.append(mutanti[rng.randrange(da, a)])
    return scelti


def file_richiesti(argomenti):
    trovati = []
    for a in argomenti:
        percorso = os.path.normpath(os.path.join(RADICE, a))
        relativo = os.path.relpath(percorso, RADICE)
        if relativo.startswith("..") or relativo.split(os.sep)[0].startswith("build"):
            fallisci(f"{a} is not a source of this project")
        if os.path.isdir(percorso):
            for cartella, sotto, nomi in os.walk(percorso):
                sotto.sort()
                for nome in sorted(nomi):
                    if nome.endswith(ESTENSIONI):
                        trovati.append(os.path.relpath(os.path.join(cartella, nome), RADICE))
        elif os.path.isfile(percorso) and percorso.endswith(ESTENSIONI):
            trovati.append(relativo)
        elif os.path.isfile(percorso):
            fallisci(f"{a} is not a C++ file ({', '.join(ESTENSIONI)})")
        else:
            fallisci(f"{a}: no such file or folder")
    return list(dict.fromkeys(trovati))


def mostra(m, rientro=""):
    print(f"{rientro}{m.intestazione()}")
    print(f"{rientro}    - {m.prima}")
    print(f"{rientro}    + {m.dopo}")


# ---------------------------------------------------------------- the copy


def file_del_progetto():
    """The project's files as the coach has them: tracked and new ones, not the ignored."""
    try:
        uscita = subprocess.run(["git", "-C", RADICE, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                                check=True, capture_output=True).stdout
        elenco = [f for f in uscita.decode().split("\0") if f]
    except (OSError, subprocess.CalledProcessError):
        elenco = []
        for cartella, sotto, nomi in os.walk(RADICE):
            sotto[:] = [s for s in sotto if not (s.startswith("build") or s == ".git")] if cartella == RADICE else \
                [s for s in sotto if s != ".git"]
            elenco += [os.path.relpath(os.path.join(cartella, n), RADICE) for n in nomi]
    return sorted(f for f in elenco if os.path.lexists(os.path.join(RADICE, f)))


def scrivi(destinazione, contenuto):
    """Writes a file of the copy whole: beside it, then renamed over it."""
    os.makedirs(os.path.dirname(destinazione), exist_ok=True)
    temporaneo = destinazione + ".mutants-tmp"
    with open(temporaneo, "wb") as f:
        f.write(contenuto)
    os.replace(temporaneo, destinazione)


def allinea_copia():
    """Brings the copy to the project's files, rewriting only those that differ, so
    that the build in it redoes only what changed. A file rewritten gets a fresh
    time: one put back after a slip is always rebuilt."""
    elenco = file_del_progetto()
    for f in elenco:
        sorgente, destinazione = os.path.join(RADICE, f), os.path.join(COPIA, f)
        if os.path.islink(sorgente):
            if not (os.path.islink(destinazione) and os.readlink(destinazione) == os.readlink(sorgente)):
                if os.path.lexists(destinazione):
                    os.remove(destinazione)
                os.makedirs(os.path.dirname(destinazione), exist_ok=True)
                os.symlink(os.readlink(sorgente), destinazione)
            continue
        with open(sorgente, "rb") as s:
            contenuto = s.read()
        if os.path.islink(destinazione):
            os.remove(destinazione)
        try:
            with open(destinazione, "rb") as d:
                uguale = d.read() == contenuto
        except FileNotFoundError:
            uguale = False
        if not uguale:
            scrivi(destinazione, contenuto)
        if (os.stat(destinazione).st_mode & 0o7777) != (os.stat(sorgente).st_mode & 0o7777):
            shutil.copymode(sorgente, destinazione)
    # Files the project no longer has (a source removed must not be globbed).
    tenuti = set(elenco)
    for cartella, sotto, nomi in os.walk(COPIA):
        if cartella == COPIA:
            sotto[:] = [s for s in sotto if s != "build"]
        for n in nomi:
            r = os.path.relpath(os.path.join(cartella, n), COPIA)
            if r not in tenuti:
                os.remove(os.path.join(cartella, n))


def esegui(comando):
    ambiente = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    p = subprocess.run(comando, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace",
                       env=ambiente)
    return p.returncode, p.stdout


def configura():
    if os.path.exists(os.path.join(COSTRUZIONE, "build.ninja")):
        return
    comando = ["cmake", "-S", COPIA, "-B", COSTRUZIONE, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
               "-DTOVARIN_BENCH=OFF"]
    if shutil.which("ccache"):
        comando.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    codice, uscita = esegui(comando)
    if codice != 0:
        print(uscita[-4000:], file=sys.stderr)
        fallisci("the copy in build-mutants/tree could not be configured")


def costruisci(lavori, obiettivi=None):
    comando = ["cmake", "--build", COSTRUZIONE]
    if obiettivi:
        comando += ["--target", *obiettivi]
    return esegui(comando + ["--", f"-j{lavori}"])


def comando_test(argomenti, prova_soltanto=False):
    comando = ["ctest", "--test-dir", COSTRUZIONE, "--timeout", str(argomenti.timeout), "-j", str(argomenti.jobs)]
    if argomenti.tests:
        comando += ["-R", argomenti.tests]
    if prova_soltanto:
        return comando + ["-N"]
    return comando + ["--stop-on-failure"]


def test_falliti(uscita):
    """The names of the tests ctest says failed."""
    nomi = re.findall(r"^\s*\d+ - (\S+) \(([^)]*)\)\s*$", uscita.split("The following tests FAILED:")[-1], re.M) \
        if "The following tests FAILED:" in uscita else []
    return [f"{n} ({perche})" for n, perche in nomi]


# ---------------------------------------------------------------- the run


def main():
    parser = argparse.ArgumentParser(
        prog="./tovarin mutants",
        description="Seeds one-line slips in C++ files one at a time, in a copy of the project, "
        "and lists those no test catches.")
    parser.add_argument("file", nargs="+", metavar="FILE", help="C++ files or folders, relative to the project folder")
    parser.add_argument("--list", action="store_true", help="print the slips without running anything")
    parser.add_argument("--max", type=int, metavar="N", help="at most N slips, taken evenly, the same on every run")
    parser.add_argument("--tests", metavar="REGEX", help="run only the tests whose names match (ctest -R)")
    parser.add_argument("--targets", metavar="T,T", help="build only these targets for each slip (the test "
                        "programs --tests runs; the first build still builds everything)")
    parser.add_argument("--lines", metavar="N-M,N", help="only the slips on these lines (of every file given), "
                        "e.g. to run the survivors of an earlier run against more tests")
    parser.add_argument("--copy", default="tree", metavar="NAME",
                        help="the copy to work in, build-mutants/NAME (tree): two runs at once need two copies")
    parser.add_argument("--timeout", type=int, default=120, metavar="S", help="seconds each test may take (120)")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1, metavar="N",
                        help="builds and tests at once (the number of processors)")
    argomenti = parser.parse_args()
    if argomenti.max is not None and argomenti.max < 1:
        parser.error("--max must be at least 1")
    if argomenti.timeout < 1 or argomenti.jobs < 1:
        parser.error("--timeout and --jobs must be at least 1")
    if argomenti.tests is not None:
        try:
            re.compile(argomenti.tests)
        except re.error as e:
            parser.error(f"--tests: {e}")

    if not re.fullmatch(r"[A-Za-z0-9_-]+", argomenti.copy):
        parser.error("--copy: a plain folder name, letters, digits, - and _")
    global COPIA, COSTRUZIONE
    COPIA = os.path.join(CARTELLA, argomenti.copy)
    COSTRUZIONE = os.path.join(COPIA, "build")
    obiettivi = [o for o in (argomenti.targets or "").split(",") if o]
    righe_scelte = None
    if argomenti.lines:
        righe_scelte = set()
        for pezzo in argomenti.lines.split(","):
            intervallo = re.fullmatch(r"\s*(\d+)\s*(?:-\s*(\d+))?\s*", pezzo)
            if not intervallo:
                parser.error(f"--lines: '{pezzo}' is not a line or a range N-M")
            da = int(intervallo.group(1))
            a = int(intervallo.group(2) or da)
            if a < da:
                parser.error(f"--lines: '{pezzo}' ends before it starts")
            righe_scelte.update(range(da, a + 1))
    file = file_richiesti(argomenti.file)
    tutti = [m for f in file for m in mutanti_file(f) if righe_scelte is None or m.riga in righe_scelte]
    mutanti = campione(tutti, argomenti.max)
    if argomenti.list:
        for m in mutanti:
            mostra(m)
        print(f"{len(mutanti)} slips" + (f" of {len(tutti)}" if len(mutanti) < len(tutti) else ""))
        return 0
    if not mutanti:
        print("No slip to seed in these files.")
        return 0

    print(f"Copy of the project: {os.path.relpath(COPIA, RADICE)}")
    allinea_copia()
    configura()
    codice, uscita = costruisci(argomenti.jobs)
    if codice != 0:
        print(uscita[-4000:], file=sys.stderr)
        fallisci("the project does not build as it is; mend that first")
    codice, uscita = esegui(comando_test(argomenti, prova_soltanto=True))
    quanti = re.search(r"Total Tests:\s*(\d+)", uscita)
    if codice != 0 or not quanti or int(quanti.group(1)) == 0:
        fallisci(f"no test matches '{argomenti.tests}'" if argomenti.tests else "no test to run")
    print(f"Tests: {quanti.group(1)}" + (f" matching '{argomenti.tests}'" if argomenti.tests else ""))
    codice, uscita = esegui(comando_test(argomenti))
    if codice != 0:
        print(uscita[-4000:], file=sys.stderr)
        fallisci("the tests fail before any slip is seeded; mend that first")

    sopravvissuti = []
    for n, m in enumerate(mutanti, 1):
        percorso = os.path.join(COPIA, m.file)
        with open(percorso, "rb") as f:
            originale = f.read()
        righe = originale.decode("utf-8").split("\n")
        for k, testo in m.righe.items():
            righe[k] = testo
        inizio = time.monotonic()
        try:
            scrivi(percorso, "\n".join(righe).encode("utf-8"))
            codice, _ = costruisci(argomenti.jobs, obiettivi)
            if codice != 0:
                esito = "caught: does not build"
            else:
                codice, uscita = esegui(comando_test(argomenti))
                falliti = test_falliti(uscita)
                if codice != 0:
                    esito = "caught by " + (", ".join(falliti) if falliti else "the tests")
                else:
                    esito = "SURVIVED"
                    sopravvissuti.append(m)
        finally:
            scrivi(percorso, originale)
        print(f"[{n}/{len(mutanti)}] {m.intestazione()}  {esito}  ({time.monotonic() - inizio:.0f} s)", flush=True)

    print()
    if sopravvissuti:
        print(f"Slips no test catches: {len(sopravvissuti)} of {len(mutanti)}")
        for m in sopravvissuti:
            mostra(m, "  ")
        return 1
    print(f"Every slip was caught: {len(mutanti)} of {len(mutanti)}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        # The file with the slip was put back by the finally above.
        sys.exit(130)
