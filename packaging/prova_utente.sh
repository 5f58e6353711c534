#!/usr/bin/env bash
# The user's side of prova_pacchetto.sh, run inside the fresh system as an
# ordinary user: drives the installed program through its windows with xdotool.
set -euo pipefail
fallito() { echo "FAILED: $*" >&2; exit 1; }
export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done

# The menu entry's command, without its field codes.
comando=$(sed -n 's/^Exec=//p' /usr/share/applications/org.example.tovarin.desktop | sed 's/ %[a-zA-Z]//g')
echo "menu entry command: $comando"
dati=$HOME/.local/share/tovarin
archivio=$dati/tvp.dmg

finestre() { xdotool search --onlyvisible --name 'Tovarin Project' 2>/dev/null || true; }
avvia() {
  $comando >>/tmp/tovarin.log 2>&1 &
  programma=$!
  for _ in $(seq 100); do
    finestra=$(finestre | head -1)
    [ -n "$finestra" ] && break
    kill -0 "$programma" 2>/dev/null || { cat /tmp/tovarin.log; fallito "the program ended at start"; }
    sleep 0.2
  done
  [ -n "$finestra" ] || fallito "no window"
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$finestra")"   # X, Y: the window's corner
}
clic() { xdotool mousemove "$((X + $1))" "$((Y + $2))" click 1; sleep 0.7; }
foto() { import -window root "/tmp/tovarin-$1.png" 2>/dev/null || true; }
ferma() {   # as a session end does
  kill -TERM "$programma"
  for _ in $(seq 50); do kill -0 "$programma" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$programma" 2>/dev/null && fallito "the program does not end on SIGTERM"
  wait "$programma" || true
}
# Bar buttons and the card's name box, in window pixels.
ATLETA=(340 36)
NOME=(366 100)

echo "-- first start: type an athlete on the card"
avvia
[ -d "$dati" ] || fallito "no data folder $dati"
[ "$(stat -c %a "$dati")" = 700 ] || fallito "the data folder is not owner-only"
clic "${ATLETA[@]}"
clic "${NOME[@]}"
xdotool type --delay 60 'Rossi Mario'
sleep 0.5
foto scheda
ferma
[ -f "$archivio" ] || fallito "no archive at $archivio"
sqlcipher "$archivio" "PRAGMA key = 'quintobarle'; PRAGMA cipher_compatibility = 3; PRAGMA cipher_page_size = 1024; PRAGMA kdf_iter = 64000; SELECT nome FROM atleta;" | grep -qx 'Rossi Mario' ||
  fallito "the athlete is not in $archivio"

echo "-- restart: the card shows the athlete"
avvia
clic "${ATLETA[@]}"
clic "${NOME[@]}"
xdotool key ctrl+a ctrl+c
sleep 0.5
letto=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$letto" = 'Rossi Mario' ] || fallito "after a restart the card shows '$letto'"

echo "-- a second start while the program runs"
inizio=$(date +%s)
$comando >>/tmp/tovarin.log 2>&1 || fallito "the second start failed"
[ $(( $(date +%s) - inizio )) -lt 10 ] || fallito "the second start took too long"
sleep 1
foto seconda
[ "$(finestre | wc -l)" -eq 1 ] || fallito "$(finestre | wc -l) windows after a second start"
kill -0 "$programma" 2>/dev/null || fallito "the first program ended"
ferma
echo "user check passed"
