#!/usr/bin/env bash
# Started where no display can be reached, the program says so in one line and ends with
# status 1 rather than the toolkit's abort.
# Usage: no_display.sh path/to/zendra
set -uo pipefail
program=$1
failed=0
for display in "" ":1999"; do
  stderr=$(env -u WAYLAND_DISPLAY DISPLAY="$display" QT_QPA_PLATFORM=xcb "$program" 2>&1 >/dev/null)
  status=$?
  lines=$(printf '%s\n' "$stderr" | wc -l)
  if [[ $status -ne 1 || $lines -ne 1 || "$stderr" != "zendra: cannot open a window: "* ]]; then
    echo "DISPLAY='$display': status $status, $lines line(s) on stderr:" >&2
    printf '%s\n' "$stderr" >&2
    failed=1
  fi
done
exit $failed
