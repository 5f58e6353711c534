#!/usr/bin/env bash
# Cold start of the program until the home window is shown, against a bare Qt
# main window built with the same flags: both run alternately, offscreen, each
# printing the moment its window is shown; the medians and their ratio are
# printed.
set -euo pipefail
cartella=${1:?usage: confronta_avvio.sh BENCH_BUILD_DIR [RUNS]}
giri=${2:-30}
export QT_QPA_PLATFORM=offscreen
misura() {   # microseconds from the launch until the program says its window is shown
  local inizio mostrata
  inizio=$(date +%s%N)
  mostrata=$("$1" 2>/dev/null)
  echo $(( (mostrata - inizio) / 1000 ))
}
mediana() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
"$cartella/avvio_tovarin" >/dev/null 2>&1   # the first run writes LangSetting.ini and warms the disk cache
"$cartella/avvio_nudo" >/dev/null 2>&1
nudo=() tovarin=()
for ((i = 0; i < giri; i++)); do
  nudo+=("$(misura "$cartella/avvio_nudo")")
  tovarin+=("$(misura "$cartella/avvio_tovarin")")
done
mn=$(printf '%s\n' "${nudo[@]}" | mediana)
mt=$(printf '%s\n' "${tovarin[@]}" | mediana)
awk -v n="$mn" -v t="$mt" -v g="$giri" 'BEGIN {
  printf "start-up, median of %d runs: bare Qt window %.1f ms, Tovarin Project %.1f ms, ratio %.2f\n", g, n / 1000, t / 1000, t / n }'
