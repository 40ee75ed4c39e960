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

market_pid=""
if [ -x build/bin/pelgrandix-market ]; then
  build/bin/pelgrandix-market &
  market_pid=$!
  trap '[ -n "$market_pid" ] && kill "$market_pid" 2>/dev/null; wait 2>/dev/null || true' EXIT
fi
build/bin/pelgrandix
