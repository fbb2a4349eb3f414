#!/usr/bin/env bash
# The demo: skyloom-sim in demo mode (accounts, folders, a bot, mail arriving now and then)
# and Vellix started for the demo account alice@demo.local in a private profile.
# Ends both when Vellix ends or on Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vellix skyloom-sim vellix-encode-password -j"$(nproc)"

demo=$PWD/build/demo
rm -rf "$demo"
mkdir -p "$demo/config/Vellix" "$demo/data" "$demo/runtime"
chmod 700 "$demo/runtime"

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

cat >"$demo/config/Vellix/Vellix.ini" <<INI
[Vellix]
URL=$url
LastEntry=1
LastUser=1
User1=alice@demo.local
Password1=$("$build/bin/vellix-encode-password" alice)
PwdSaveFlag1=YES
INI

echo "demo: skyloom-sim at $url (log: $demo/sim.log); webmail pages open in the browser"
echo "demo: Vellix runs for alice@demo.local; Ctrl-C ends the demo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: no display found, Vellix runs without windows"
fi
XDG_CONFIG_HOME="$demo/config" XDG_DATA_HOME="$demo/data" XDG_RUNTIME_DIR="$demo/runtime" \
  VELLIX_TRACE=1 "$build/bin/vellix" &
vellix=$!
trap 'kill -TERM "$vellix" 2>/dev/null; wait "$vellix"; stop_sim; exit 130' INT TERM
wait "$vellix"
