#!/usr/bin/env bash
# The demo: skyloom-sim in demo mode (accounts, folders, a bot, mail arriving now and then)
# and Vellix started for the demo account alice@demo.local in a private profile.
# With --with-bob a second Vellix runs for bob@demo.local in a profile of its own, so two
# people can talk, and a group conversation of alice, bob and the bot has three members.
# Ends everything when alice's Vellix ends or on Ctrl-C.
set -euo pipefail
with_bob=no
for arg in "$@"; do
  case $arg in
    --with-bob) with_bob=yes ;;
    *) echo "usage: $0 [--with-bob]" >&2; exit 2 ;;
  esac
done
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vellix skyloom-sim vellix-encode-password -j"$(nproc)"

demo=$PWD/build/demo
rm -rf "$demo"
mkdir -p "$demo"

port=${VELLIX_DEMO_PORT:-0}
"$build/sim/skyloom-sim" --demo --port "$port" --path /skyloom/app.dll >"$demo/sim.log" 2>&1 &
sim=$!
stop_sim() { kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; }
trap stop_sim EXIT
trap 'stop_sim; exit 130' INT TERM
for _ in $(seq 100); do
  grep -q '^url ' "$demo/sim.log" && break
  sleep 0.1
done
url=$(sed -n 's/^url //p' "$demo/sim.log" | head -n1)
[ -n "$url" ] || { cat "$demo/sim.log"; echo "demo: skyloom-sim did not start" >&2; exit 1; }

# A private profile for one account: settings, data and runtime folders under $demo/$1.
profile() {
  local home=$demo/$1
  mkdir -p "$home/config/Vellix" "$home/data" "$home/runtime"
  chmod 700 "$home/runtime"
  cat >"$home/config/Vellix/Vellix.ini" <<INI
[Vellix]
URL=$url
LastEntry=1
LastUser=1
User1=$1@demo.local
Password1=$("$build/bin/vellix-encode-password" "$1")
PwdSaveFlag1=YES
INI
}

# Starts Vellix in an account's profile; its pid in $started.
run_vellix() {
  local home=$demo/$1
  XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" \
    VELLIX_TRACE=1 "$build/bin/vellix" 2>"$home/trace.log" &
  started=$!
}

echo "demo: skyloom-sim at $url (log: $demo/sim.log); webmail pages open in the browser"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: no display found, Vellix runs without windows"
fi
profile alice
run_vellix alice
vellix=$started
bob=
if [ "$with_bob" = yes ]; then
  profile bob
  run_vellix bob
  bob=$started
  echo "demo: Vellix runs for bob@demo.local too (trace: $demo/bob/trace.log)"
fi
echo "demo: Vellix runs for alice@demo.local (trace: $demo/alice/trace.log); Ctrl-C ends the demo"
stop_all() {
  if [ -n "$bob" ]; then kill -TERM "$bob" 2>/dev/null || true; wait "$bob" 2>/dev/null || true; fi
  kill -TERM "$vellix" 2>/dev/null || true
  wait "$vellix" 2>/dev/null || true
  stop_sim
}
trap 'stop_all; exit 130' INT TERM
wait "$vellix" || true
stop_all
