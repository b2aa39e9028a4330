# Sourced by scripts/screenshot and scripts/measure_startup: an X display (its own Xvfb when
# none is set) and, when it is built and the port is free, the sample site, all stopped on exit.

session_pids=()
stop_session() {
  # Newest first: the program before the site, the display last.
  local i
  for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
    kill "${session_pids[i]}" 2>/dev/null || true
    wait "${session_pids[i]}" 2>/dev/null || true
  done
}
trap stop_session EXIT

start_display() {
  [[ -n "${DISPLAY:-}" ]] && return
  local display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1024x600x24 -nolisten tcp >/dev/null 2>&1 &
  session_pids+=($!)
  export DISPLAY=$display
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
}

site_answers() { (exec 3<>/dev/tcp/127.0.0.1/47443) 2>/dev/null; }

# $1: the build's bin directory.
start_site() {
  local site="$1/zendra-site"
  [[ -x "$site" ]] && ! site_answers || return 0
  "$site" >/dev/null 2>&1 &
  session_pids+=($!)
  for _ in $(seq 50); do site_answers && return; sleep 0.1; done
}
