#!/usr/bin/env bash
# Checks the Debian package that scripts/package.sh made (or the one given): the menu entry and
# the metadata validate, lintian finds no error and no warning that the package's overrides do
# not accept, the dependencies name every library the programs need, the chart library lies
# beside the program, the program starts from the unpacked package and downloads there through
# the ping utility beside it, the package holds what `cmake --install` installs from build/, and
# removing it leaves nothing under /usr.
# Every check runs; any that fails fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

debs=(build-package/pelgrandix_*_amd64.deb)
deb=${1:-${debs[0]}}
[ -f "$deb" ] || { echo "no package $deb: run scripts/package.sh first" >&2; exit 2; }
deb=$(readlink -f "$deb")

work=$(mktemp -d "${TMPDIR:-/tmp}/pelgrandix-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

root=$work/unpacked
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/pelgrandix
desktop_entry=$(ls "$root"/usr/share/applications/*.desktop)

# As root, or pretending to be root for dpkg's ownership changes.
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(fakeroot)

# Runs a program of the package with nothing of the caller's environment but PATH: a fresh
# home, no display. It takes the place of the (sub)shell that calls this.
run_program() {
  local home=$1; shift
  exec env -i PATH="$root/usr/bin:$PATH" HOME="$home" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
      XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
      XDG_STATE_HOME="$home/.local/state" XDG_RUNTIME_DIR="$home/.run" "$@"
}

check_desktop_entry() {
  local report
  report=$(desktop-file-validate "$desktop_entry") || { echo "$report"; return 1; }
  # Hints and warnings do not change the exit code; they count here all the same.
  [ -z "$report" ] || { echo "$report"; return 1; }
}

check_metainfo() {
  appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
}

check_lintian() {
  lintian --fail-on error,warning "$deb"
}

# Every Qt library a program links must be named, as Debian names them (libQt6Foo.so.6 comes
# from libqt6foo6), besides what the program opens itself.
check_dependencies() {
  local depends qt_libraries missing=0
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  qt_libraries=$(find "$root" -type f -perm -u+x -exec readelf -d {} + |
                 sed -nE 's/.*\(NEEDED\).*\[libQt6(.*)\.so\.([0-9]+)\]/libqt6\1\2/p' |
                 tr A-Z a-z | sort -u)
  [ -n "$qt_libraries" ] || { echo "found no Qt library that the programs link"; return 1; }
  # libsodium checks the version list's signature; the program opens it itself, as it does libcurl.
  for package in libcurl4 libsodium23 qt6-qpa-plugins qt6-translations-l10n $qt_libraries; do
    if ! grep -qE "(^|, )$package( |,|$)" <<<"$depends"; then
      echo "missing dependency: $package"
      missing=1
    fi
  done
  return "$missing"
}

# The overview's charts are drawn by a library that the program opens from its own folder when the
# overview is first made; the loader must find everything it needs, and the program both charts'
# entry points.
check_chart_library() {
  local library symbols
  library=$(dirname "$(readlink -f "$program")")/pelgrandix-chart.so
  [ -f "$library" ] || { echo "no pelgrandix-chart.so beside $(readlink -f "$program")"; return 1; }
  # Not "! ldd ...": set -e lets a negated command fail without ending the check.
  if ldd "$library" | grep "not found"; then return 1; fi
  symbols=$(nm -D --defined-only "$library")
  for entry in pelgrandix_make_history_chart pelgrandix_make_payoff_chart; do
    grep -qw "$entry" <<<"$symbols" || { echo "pelgrandix-chart.so lacks $entry"; return 1; }
  done
}

check_first_paint() {
  mkdir -p "$work/paint-home"
  (run_program "$work/paint-home" PELGRANDIX_EXIT_AFTER_FIRST_PAINT=1 timeout 60 "$program")
}

# Started as the menu starts it (the desktop entry's command, in the home folder), against the
# demo site from the package: a page copy in the data folder shows that the probe passed, so
# the ping utility beside the program ran, and that the download worked from there.
check_menu_start_downloads() {
  local home=$work/menu-home port="" command
  # Not local: the trap that ends them runs when the check's shell ends.
  site="" program_pid=""
  mkdir -p "$home"
  [ -x "$(dirname "$(readlink -f "$program")")/pelgrandix-ping" ] || {
    echo "no pelgrandix-ping beside $(readlink -f "$program")"; return 1; }
  (run_program "$home" "$root/usr/bin/pelgrandix-market" --port 0 --seed 1 >"$work/market.out") &
  site=$!
  trap 'kill -KILL $site $program_pid 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/market.out")
    [ -n "$port" ] && break
    sleep 0.1
  done
  [ -n "$port" ] || { echo "the demo site did not start"; return 1; }

  command=$(sed -n 's/^Exec=//p' "$desktop_entry")
  (cd "$home" && run_program "$home" PELGRANDIX_QUOTE_HOST=127.0.0.1:$port \
       PELGRANDIX_INDEX_HOST=127.0.0.1:$port PELGRANDIX_MAKER_HOST=127.0.0.1:$port \
       $command) &
  program_pid=$!
  local page=$home/UserData/Pelgrandix/Temp.txt
  for _ in $(seq 300); do
    grep -q "AEX" "$page" 2>/dev/null && break
    sleep 0.1
  done
  kill -TERM "$program_pid"
  for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$program_pid" 2>/dev/null; then
    echo "the program did not end within 10 s of SIGTERM"
    return 1
  fi
  wait "$program_pid" || { echo "the program ended with status $? on SIGTERM"; return 1; }
  grep -q "AEX" "$page" 2>/dev/null || { echo "no option page in $page"; ls -la "$home"; return 1; }
  [ ! -e "$home/Temp.txt" ] || { echo "the page copy landed in the home folder"; return 1; }
}

files_under() {
  (cd "$1" && find . ! -type d | sort)
}

check_same_as_install_tree() {
  DESTDIR="$work/installed" cmake --install build --prefix /usr >/dev/null
  diff <(files_under "$work/installed") <(files_under "$root")
}

check_remove_leaves_nothing() {
  local target=$work/dpkg-root
  mkdir -p "$target/var/lib/dpkg/info" "$target/var/lib/dpkg/updates"
  touch "$target/var/lib/dpkg/status"
  # The dependencies are not in the throw-away root; only this package's files matter here.
  "${as_root[@]}" dpkg --root="$target" --force-depends --force-not-root -i "$deb" >/dev/null
  diff <(files_under "$root/usr") <(files_under "$target/usr")
  "${as_root[@]}" dpkg --root="$target" --force-not-root --purge pelgrandix >/dev/null
  if [ -e "$target/usr" ]; then
    echo "left behind after removal:"
    find "$target/usr"
    return 1
  fi
}

failed=()
for check in desktop_entry metainfo lintian dependencies chart_library first_paint \
             menu_start_downloads same_as_install_tree remove_leaves_nothing; do
  start=$SECONDS
  # In the background, so that set -e holds inside the check (a condition would switch it off).
  (set -e; "check_$check") >"$work/$check.log" 2>&1 &
  if wait $!; then
    echo "package $check: ok ($((SECONDS - start)) s)"
  else
    echo "package $check: FAILED" >&2
    sed 's/^/    /' "$work/$check.log" >&2
    failed+=("$check")
  fi
done
echo "package checks of $(basename "$deb"): ${#failed[@]} failed"
[ "${#failed[@]}" -eq 0 ]
