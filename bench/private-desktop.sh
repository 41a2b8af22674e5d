# Sourced by the whole-process measurements: a private Xvfb (-noreset) with openbox and a session bus, torn
# down on exit with the work folder. Sets $work, DISPLAY and DBUS_SESSION_BUS_ADDRESS.
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# The session's own home, first: what the programs below and the services its bus starts on demand (the
# calendars' registry, dconf) keep goes there, not to the home of whoever measures.
export HOME=$work/home
mkdir -p "$HOME"
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_DATA_DIRS
# A session's own runtime folder, as every desktop login has: where the sound server's socket would be.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Xvfb picks a free display and writes its number once it listens.
Xvfb -displayfd 3 -screen 0 1280x800x24 -noreset -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
until [ -s "$work/display" ]; do kill -0 $xvfb || { echo "Xvfb did not start" >&2; exit 1; }; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
sleep 1

# A desktop session has its session bus; without one, the tray's first look for it starts dbus-launch.
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | {
    read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$address'; bus=$pid"; })"
trap 'kill $bus $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
