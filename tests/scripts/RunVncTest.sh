#!/usr/bin/env bash
# Runs the launcher without a display: it must serve the real application over VNC on
# 127.0.0.1 only, say where to connect, and on Ctrl+C (SIGINT) stop everything it started and
# exit with 0.
#   RunVncTest.sh LAUNCHER ROVA_BINARY
set -euo pipefail

launcher=$1
rova=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Settings, data, Qt's runtime folder and the launcher's working folder (TMPDIR) all go to a
# temporary folder.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/rova-run-vnc.XXXXXX")
mkdir -p "$tmp/home" "$tmp/config" "$tmp/data" "$tmp/cache" "$tmp/work"
mkdir -m 700 "$tmp/runtime"
launcher_pid=''
cleanup() {
  if [ -n "$launcher_pid" ] && kill -0 "$launcher_pid" 2>/dev/null; then
    kill -TERM "$launcher_pid" 2>/dev/null || true
    wait "$launcher_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

# Whether a TCP connection to ADDRESS PORT is refused (as opposed to accepted or timed out).
# LC_ALL=C keeps the error text untranslated.
refused() {
  local err
  if err=$(LC_ALL=C timeout 3 bash -c 'exec 3<>"/dev/tcp/$0/$1"' "$1" "$2" 2>&1); then
    return 1
  fi
  [[ $err == *"Connection refused"* ]]
}

# The machine's other addresses: every non-loopback one, and IPv6 loopback when configured.
others=()
read -r -a others <<<"$(hostname -I 2>/dev/null || true)"
grep -qE '^0{31}1 .* lo$' /proc/net/if_inet6 2>/dev/null && others+=(::1)

# A port nothing on this machine listens on, in the VNC range but not the default 5900.
port=''
for candidate in $(seq 5977 5999); do
  free=1
  for address in 127.0.0.1 "${others[@]}"; do
    refused "$address" "$candidate" || { free=0; break; }
  done
  if ((free)); then
    port=$candidate
    break
  fi
done
[ -n "$port" ] || fail "no free port between 5977 and 5999"

# env resets SIGINT to its default: a background job of a script would otherwise ignore it,
# and so would the launcher, unlike when it runs in a terminal.
env --default-signal=INT -u DISPLAY -u WAYLAND_DISPLAY -u ROVA_VNC_LISTEN \
  ROVA_VNC_PORT="$port" TMPDIR="$tmp/work" HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" \
  XDG_DATA_HOME="$tmp/data" XDG_CACHE_HOME="$tmp/cache" XDG_RUNTIME_DIR="$tmp/runtime" \
  bash "$launcher" "$rova" >"$tmp/out" 2>"$tmp/err" &
launcher_pid=$!

# Up to 20 s for the VNC port to answer and the launcher to print where to connect.
greeting=''
for ((i = 0; i < 200; i++)); do
  kill -0 "$launcher_pid" 2>/dev/null ||
    fail "the launcher ended before serving; stderr: $(cat "$tmp/err")"
  if [ -s "$tmp/out" ] && ! refused 127.0.0.1 "$port"; then
    greeting=$(timeout 5 bash -c 'exec 3<>"/dev/tcp/127.0.0.1/$0"; head -c 12 <&3' "$port") ||
      true
    break
  fi
  sleep 0.1
done
[ -n "$greeting" ] || fail "nothing greeted on 127.0.0.1:$port within 20 s"
[[ $greeting =~ ^RFB\ 003\.00[0-9] ]] || fail "expected an RFB 3.x greeting, got '$greeting'"

for address in "${others[@]}"; do
  refused "$address" "$port" || fail "port $port is reachable on $address, not only on 127.0.0.1"
done

line=$(cat "$tmp/out")
[ "$(wc -l <"$tmp/out")" -eq 1 ] || fail "expected one line saying where to connect, got: $line"
[[ $line == *"127.0.0.1:$port"* ]] || fail "the printed line does not name 127.0.0.1:$port: $line"

# The launcher's children, as "pid name" lines.
children() {
  local dir stat ppid name
  for dir in /proc/[0-9]*; do
    read -r stat 2>/dev/null <"$dir/stat" || continue
    read -r _ ppid _ <<<"${stat##*) }"
    [ "$ppid" = "$launcher_pid" ] && read -r name 2>/dev/null <"$dir/comm" &&
      echo "${dir#/proc/} $name"
  done
  return 0
}
# Up to 5 s for Rova to be running beside the display and the VNC server.
for ((i = 0; i < 50; i++)); do
  started=$(children | LC_ALL=C sort -k2)
  [ "$(awk '{print $2}' <<<"$started" | xargs)" = "Xvfb rova x11vnc" ] && break
  sleep 0.1
done
[ "$(awk '{print $2}' <<<"$started" | xargs)" = "Xvfb rova x11vnc" ] ||
  fail "expected Xvfb, rova and x11vnc running under the launcher, got: $(xargs <<<"$started")"

kill -INT "$launcher_pid"
for ((i = 0; i < 100; i++)); do
  kill -0 "$launcher_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$launcher_pid" 2>/dev/null && fail "the launcher was still running 10 s after SIGINT"
status=0
wait "$launcher_pid" || status=$?
launcher_pid=''
[ "$status" -eq 0 ] || fail "the launcher exited with status $status after SIGINT, expected 0"

while read -r pid name; do
  now=''
  read -r now 2>/dev/null <"/proc/$pid/comm" || true
  [ "$now" != "$name" ] || fail "$name (pid $pid) is still running after the launcher ended"
done <<<"$started"
leftover=$(ls -A "$tmp/work")
[ -z "$leftover" ] || fail "the launcher left its working files behind: $leftover"
echo "PASS: RFB on 127.0.0.1:$port, refused on: ${others[*]:-(no other address)}; SIGINT stopped rova, x11vnc and Xvfb"
