#!/usr/bin/env bash
# Starts Rova: scripts/launch.sh ROVA_BINARY [ARGS...]
#
# In a desktop session (DISPLAY or WAYLAND_DISPLAY set) it simply runs the program. Without one
# it runs the program on a virtual X display (Xvfb) and serves that display over VNC (x11vnc):
#   ROVA_VNC_PORT    port of the VNC server (default 5900)
#   ROVA_VNC_LISTEN  IPv4 address it listens on (default 127.0.0.1, this machine only;
#                    0.0.0.0 listens on every address). There is no VNC password.
# Ctrl+C or SIGTERM stops all three and exits with 0; when Rova's window is closed the display
# and the VNC server are stopped too and the script exits with Rova's status.
set -euo pipefail

me=$(basename "$0")
fail() { echo "$me: $*" >&2; exit 1; }

(($# >= 1)) || { echo "usage: $me ROVA_BINARY [ARGS...]" >&2; exit 2; }
rova=$1
shift

# Normal path: a display is there, so the program shows its window on it.
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$rova" "$@"
fi

port=${ROVA_VNC_PORT:-5900}
listen=${ROVA_VNC_LISTEN:-127.0.0.1}
if ! [[ $port =~ ^[0-9]{1,5}$ ]] || ((10#$port < 1 || 10#$port > 65535)); then
  fail "ROVA_VNC_PORT must be a port number (1-65535), not '$port'"
fi
port=$((10#$port))
octet='(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])'
[[ $listen =~ ^$octet\.$octet\.$octet\.$octet$ ]] ||
  fail "ROVA_VNC_LISTEN must be an IPv4 address such as 127.0.0.1 or 0.0.0.0, not '$listen'"
for tool in Xvfb x11vnc; do
  command -v "$tool" >/dev/null || fail "no desktop session and $tool is missing; run scripts/setup.sh"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/rova-vnc.XXXXXX")
xvfb_pid='' vnc_pid='' rova_pid=''

# Stops one started process: SIGTERM, then SIGKILL if it is still there after 5 s.
stop() {
  local pid=$1 i
  [ -n "$pid" ] || return 0
  kill -TERM "$pid" 2>/dev/null || true
  for ((i = 0; i < 50; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# Stops Rova first (its display must outlive it), then the VNC server, then the display.
stop_all() {
  trap '' INT TERM HUP
  stop "$rova_pid"
  stop "$vnc_pid"
  stop "$xvfb_pid"
  rova_pid='' vnc_pid='' xvfb_pid=''
  rm -rf "$work"
}
trap stop_all EXIT
trap 'stop_all; exit 0' INT TERM
trap 'stop_all; exit 129' HUP

# The last line a helper wrote, for one-line errors: without x11vnc's date and time prefix and
# its PORT=N report, which is no error.
last_line() {
  grep -Ev '^[[:space:]]*$|^PORT=[0-9]+$' "$1" 2>/dev/null | tail -n 1 | sed -E 's/^[0-9/]+ [0-9:]+ //'
}

# Each helper gets its own session so a Ctrl+C typed in the terminal reaches only this script,
# which then stops them in order.
# Xvfb picks a free display itself and writes its number to fd 3 once it accepts clients.
: >"$work/display"
setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
display=''
for ((i = 0; i < 100; i++)); do
  # read succeeds only on a whole line, so a half-written number is never taken.
  if read -r display <"$work/display"; then break; fi
  display=''
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$display" ] || fail "the virtual X display (Xvfb) did not start: $(last_line "$work/xvfb.log")"

# x11vnc writes PORT=N to the flag file once it listens. -noipv6 keeps it off IPv6 sockets,
# which it would otherwise open too (::1, or :: beside 0.0.0.0); -norc ignores ~/.x11vncrc.
if [ "$listen" = 127.0.0.1 ]; then
  where=(-localhost)
else
  where=(-listen "$listen")
fi
setsid x11vnc -display ":$display" -rfbport "$port" "${where[@]}" -noipv6 -forever -shared \
  -nopw -quiet -norc -flag "$work/vnc.flag" >"$work/vnc.log" 2>&1 </dev/null &
vnc_pid=$!
for ((i = 0; i < 150; i++)); do
  [ -s "$work/vnc.flag" ] && break
  kill -0 "$vnc_pid" 2>/dev/null || break
  sleep 0.1
done
[ -s "$work/vnc.flag" ] ||
  fail "the VNC server (x11vnc) could not listen on $listen:$port; is the port in use?" \
    "(set ROVA_VNC_PORT to use another) x11vnc said: $(last_line "$work/vnc.log")"

# Only the X display can carry the window to the VNC server, so the xcb platform is forced.
DISPLAY=":$display" QT_QPA_PLATFORM=xcb setsid "$rova" "$@" </dev/null &
rova_pid=$!

case $listen in
  0.0.0.0) echo "Rova is served over VNC on port $port of every address of this machine," \
    "open to the network without a password. Press Ctrl+C to stop." ;;
  127.*) echo "Rova is served over VNC at $listen:$port (no password, this machine only);" \
    "from another machine use an SSH tunnel: ssh -L $port:$listen:$port <this host>," \
    "then connect a viewer to localhost:$port. Press Ctrl+C to stop." ;;
  *) echo "Rova is served over VNC at $listen:$port, open to the network without a password." \
    "Press Ctrl+C to stop." ;;
esac

# Waits for the first of the three to end. A signal interrupts the wait and runs its trap.
# The launcher reports helpers that end on their own, so bash's own job report is hidden.
ended=''
status=0
wait -n -p ended "$rova_pid" "$vnc_pid" "$xvfb_pid" 2>/dev/null || status=$?
case $ended in
  "$rova_pid")
    rova_pid=''
    ((status <= 128)) || echo "$me: $(basename "$rova") was ended by signal $((status - 128))" >&2
    stop_all
    exit "$status"
    ;;
  "$vnc_pid")
    vnc_pid=''
    echo "$me: the VNC server (x11vnc) stopped unexpectedly (status $status), last output:" \
      "$(last_line "$work/vnc.log")" >&2
    ;;
  "$xvfb_pid")
    xvfb_pid=''
    echo "$me: the virtual X display (Xvfb) stopped unexpectedly (status $status), last output:" \
      "$(last_line "$work/xvfb.log")" >&2
    ;;
esac
stop_all
exit 1
