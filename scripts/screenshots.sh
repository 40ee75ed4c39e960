#!/usr/bin/env bash
# Makes the README's screenshots: the portfolio overview, one of each tab (docs/overzicht-
# posities.png, -grafiek.png, -scenarios.png, -uitbetaling.png and -resultaat.png), and the
# dialogs "Terugkopen" and "Doorrollen" (docs/terugkopen.png, docs/doorrollen.png). Starts the
# demo quote site and the program on a virtual display (xvfb-run -a), with a fresh home folder
# holding a few positions on the site's series, runs several downloads a few seconds apart so
# that the history has points, buys back two contracts of the first position so that the
# journal has a row, opens "Overzicht" and saves a picture of each tab and dialog. Takes about a
# minute.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ -z "${PELGRANDIX_SHOTS_DISPLAY:-}" ]; then
  scripts/install-deps.sh
  scripts/build.sh build
  exec xvfb-run -a -s '-screen 0 1280x1024x24' env PELGRANDIX_SHOTS_DISPLAY=1 "$0" "$@"
fi

bin=$root/build/bin
home=$(mktemp -d)
site_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$site_pid" ] && kill "$site_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT

export HOME=$home XDG_CONFIG_HOME=$home/.config LANG=nl_NL.UTF-8 TZ=Europe/Amsterdam
unset LC_ALL

# The demo site on a free port, with a fixed walk of the index.
"$bin/pelgrandix-market" --port 0 --seed 20261208 >"$home/site.txt" &
site_pid=$!
for _ in $(seq 50); do grep -q listening "$home/site.txt" && break; sleep 0.1; done
port=$(sed -n 's/^listening on 127.0.0.1://p' "$home/site.txt")
export PELGRANDIX_QUOTE_HOST=127.0.0.1:$port PELGRANDIX_INDEX_HOST=127.0.0.1:$port \
       PELGRANDIX_MAKER_HOST=127.0.0.1:$port

# Written options of the next two monthly series, and one that is only watched.
months=(jan feb mrt apr mei jun jul aug sep okt nov dec)
first=$(date +%Y-%m-01)
month() { local m; m=$(date -d "$first +$1 month" +%-m); echo "${months[m - 1]}; $(date -d "$first +$1 month" +%Y)"; }
mkdir -p "$home/UserData/Pelgrandix" "$XDG_CONFIG_HOME/Pelgrandix"
printf '%s\r\n' \
  "AEX; Put; $(month 1); 860; 14,00; 0,00; 5; 0,00; 1" \
  "AEX; Call; $(month 1); 950; 9,00; 0,00; 5; 0,00; 1" \
  "AEX; Put; $(month 2); 820; 11,00; 0,00; 3; 0,00; 1" \
  "AEX; Call; $(month 2); 1000; 6,00; 0,00; 2; 0,00; 0" \
  >"$home/UserData/Pelgrandix/Regels.dat"
# No timed download or update check; the site's rate and no dividend yield, so the implied
# volatility comes back to the site's 18 %; the overview below the main window.
cat >"$XDG_CONFIG_HOME/Pelgrandix/Pelgrandix.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Pelgrandix\Defaults]
"Top"=dword:00000258
"Left"=dword:00000000
"DownloadTimer"="0"
"Updates Aan"="0"
"Rente"="2,00"
"Dividendrendement"="0,00"
"Overzicht Top"=dword:00000000
"Overzicht Left"=dword:00000000
"Overzicht Width"=dword:000004f6
"Overzicht Height"=dword:000001c2
REG

cd "$home"
"$bin/pelgrandix" &
program_pid=$!
main=$(xdotool search --sync --name '^Pelgrandix, versie')
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# The first download runs at the first paint; then a download every six seconds, while the
# demo index moves every five and the index refresh comes every twenty.
sleep 4
for _ in $(seq 8); do
  click "$main" 362 26   # "Download"
  sleep 6
done

# "Terugkopen..." beside "Verwijder", for the first position (selected at start): two of its
# five contracts at the last price.
click "$main" 260 26
buy_back=$(xdotool search --sync --name '^Pelgrandix - Terugkopen$')
xdotool windowfocus --sync "$buy_back" key --delay 50 Tab ctrl+a 2
sleep 1
"$bin/pelgrandix-shot" "$buy_back" "$root/docs/terugkopen.png"
xdotool key Return
sleep 2

click "$main" 670 26     # "Overzicht", left of the help button
overview=$(xdotool search --sync --name '^Pelgrandix - Overzicht$')
sleep 2
"$bin/pelgrandix-shot" "$overview" "$root/docs/overzicht-posities.png"
for tab in grafiek scenarios uitbetaling resultaat; do
  xdotool windowfocus --sync "$overview" key ctrl+Tab
  sleep 2
  "$bin/pelgrandix-shot" "$overview" "$root/docs/overzicht-$tab.png"
done

# "Doorrollen..." from the menu of the first row on "Posities"; left without rolling.
xdotool windowfocus --sync "$overview" key ctrl+Tab
sleep 1
xdotool mousemove --window "$overview" 60 88 click 3
sleep 1
xdotool key --delay 50 Down Down Return
roll=$(xdotool search --sync --name '^Pelgrandix - Doorrollen$')
sleep 1
"$bin/pelgrandix-shot" "$roll" "$root/docs/doorrollen.png"
xdotool windowfocus --sync "$roll" key Escape
echo "saved docs/overzicht-{posities,grafiek,scenarios,uitbetaling,resultaat}.png, docs/terugkopen.png, docs/doorrollen.png"
