#!/usr/bin/env bash
# Installs what is missing, builds, starts the demo quote site on loopback and then the program.
# The demo site is stopped again when the program ends.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot be shown.
Run the program on a virtual display instead:

    xvfb-run -a -s '-screen 0 1280x1024x24' ./run.sh
MSG
  exit 1
fi

# The quote site writes Dutch numbers; a user without a locale of his own gets the Dutch one.
case "${LC_ALL:-${LANG:-}}" in
  ""|C|C.*|POSIX) export LANG=nl_NL.UTF-8; unset LC_ALL ;;
esac

# The program keeps its probe output and page copy in its current folder: the build folder.
cd build
market_pid=""
if [ -x bin/pelgrandix-market ]; then
  # The demo site signs its version list with a key of its own (made at its first start); the
  # program uses a list only when it trusts the key that signed it. Nothing else is trusted here.
  keys="${XDG_CONFIG_HOME:-$HOME/.config}/Pelgrandix/update-keys"
  demo_key="$keys/pelgrandix-market.pub"
  (umask 077; mkdir -p "$keys")
  chmod 700 "$keys" "$(dirname "$keys")"
  key_text=$(bin/pelgrandix-market --print-update-key)
  if [ "$key_text" != "$(cat "$demo_key" 2>/dev/null)" ]; then
    (umask 077; printf '%s\n' "$key_text" > "$demo_key")
    echo "Trusting the demo site's update key for the update check: $demo_key"
  fi
  bin/pelgrandix-market &
  market_pid=$!
  trap '[ -n "$market_pid" ] && kill "$market_pid" 2>/dev/null; wait 2>/dev/null || true' EXIT
  # Give the demo site a moment to listen before the program's first download.
  for _ in $(seq 50); do
    (exec 3<>/dev/tcp/127.0.0.1/8470) 2>/dev/null && break
    sleep 0.1
  done
fi
bin/pelgrandix
