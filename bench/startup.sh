#!/usr/bin/env bash
# Start-up to the first page of the installer against a bare Qt dialog of the
# same size, as whole processes side by side (hyperfine). Both end once their
# first window is painted; the installer does so with
# TALLOW_EXIT_AFTER_FIRST_PAGE (docs/installer.md). tallow-ethernet1 with -i
# reads no device list. Runs on Qt's offscreen platform, and also on a private
# Xvfb display when Xvfb is installed.
#   bench/startup.sh [BUILD_DIR]   (default: build)
set -euo pipefail

cd "$(dirname "$0")/.."
bin=${1:-build}/bin
runs=${RUNS:-30}
for program in "$bin/bare-dialog" "$bin/tallow-ethernet1"; do
  [ -x "$program" ] || { echo "startup.sh: $program is missing; build bare-dialog and tallow-ethernet1" >&2; exit 1; }
done
command -v hyperfine >/dev/null || { echo "startup.sh: hyperfine is missing (scripts/install-deps)" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Exported, not given per command: both processes start the same way.
export TALLOW_EXIT_AFTER_FIRST_PAGE=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work}
chmod 700 "$work"

measure() { # label
  local csv=$work/$1.csv
  echo "== $1"
  hyperfine -N --warmup 3 --runs "$runs" --export-csv "$csv" \
    -n bare-dialog "$bin/bare-dialog" \
    -n tallow "$bin/tallow-ethernet1 -i 127.0.0.1"
  # Columns: command,mean,stddev,median,user,system,min,max (seconds).
  awk -F, -v label="$1" '
    $1 == "bare-dialog" { bm = $2; bd = $4 }
    $1 == "tallow"      { tm = $2; td = $4 }
    END {
      printf "%s: median %.1f ms vs %.1f ms, ratio %.2f (means %.1f ms vs %.1f ms, ratio %.2f)\n",
        label, td * 1000, bd * 1000, td / bd, tm * 1000, bm * 1000, tm / bm
    }' "$csv" | tee -a "$work/summary"
}

QT_QPA_PLATFORM=offscreen measure offscreen

if command -v Xvfb >/dev/null; then
  # -displayfd: the server picks a free display and names it when ready.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  if [ -s "$work/display" ]; then
    DISPLAY=:$(head -n1 "$work/display") QT_QPA_PLATFORM=xcb measure xvfb
  else
    echo "startup.sh: Xvfb did not start; offscreen only" >&2
  fi
fi

echo "== tallow against bare-dialog (the limit is 1.5)"
cat "$work/summary"
