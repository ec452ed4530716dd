#!/usr/bin/env bash
# Runs a command inside a real desktop session made for it, as a user's
# programs run there, and removes the session afterwards:
#   run-session.sh x11    COMMAND...   Xvfb with openbox
#   run-session.sh sway   COMMAND...   sway headless with Xwayland (wlroots)
#   run-session.sh weston COMMAND...   weston headless with Xwayland
# The command sees DISPLAY and WAYLAND_DISPLAY as the session sets them,
# no QT_QPA_PLATFORM, and ZUVEXAL_TEST_SESSION naming the session; under
# sway also SWAYSOCK. sway refuses to run as root, so it runs as a user
# made for the run and removed with it. Its configuration keeps new windows
# of the fake programs (app id or class "zvfake") from taking the focus on
# their own, so that a focused one was focused by its activation token.
set -euo pipefail
kind=$1
shift
if [ "$kind" = sway ] && [ "$(id -u)" -ne 0 ]; then
  echo "run-session.sh: the sway session makes a user of its own, which needs root" >&2
  exit 77
fi
work=$(mktemp -d /tmp/zuvexal-session.XXXXXX)
chmod 755 "$work"
pids=()
user=
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -n "$user" ]; then
    pkill -KILL -u "$user" 2>/dev/null || true
    sleep 0.2
    userdel "$user" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "run-session.sh: $*" >&2
  [ -f "$work/compositor.log" ] && tail -n 15 "$work/compositor.log" >&2
  exit 1
}

# Waits up to 15 s for a path to exist.
await() {
  for _ in $(seq 150); do
    compgen -G "$1" >/dev/null && return 0
    sleep 0.1
  done
  fail "the $kind session did not come up ($1 missing)"
}

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY SWAYSOCK
export ZUVEXAL_TEST_SESSION=$kind

case $kind in
  x11)
    exec 3>"$work/display"
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x700x24 >"$work/compositor.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 150); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=:$(head -n 1 "$work/display")
    openbox --sm-disable >>"$work/compositor.log" 2>&1 &
    pids+=($!)
    sleep 0.5
    ;;
  sway)
    user=zvsession$$
    useradd --no-create-home --home-dir "$work" --shell /bin/sh "$user"
    runtime=$work/sway-runtime
    mkdir -m 700 "$runtime"
    chown "$user" "$runtime"
    cat >"$work/sway.config" <<'EOF'
xwayland force
focus_on_window_activation focus
no_focus [app_id="zvfake"]
no_focus [class="zvfake"]
EOF
    chmod 644 "$work/sway.config"
    su "$user" -s /bin/sh -c "cd '$work' && exec env -i PATH='$PATH' HOME='$work' XDG_RUNTIME_DIR='$runtime' \
      WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
      dbus-run-session -- sway -c '$work/sway.config'" >"$work/compositor.log" 2>&1 &
    pids+=($!)
    await "$runtime/wayland-*[0-9]"
    await "$runtime/sway-ipc.*.sock"
    export WAYLAND_DISPLAY=$(compgen -G "$runtime/wayland-*[0-9]" | head -n 1)
    export SWAYSOCK=$(compgen -G "$runtime/sway-ipc.*.sock" | head -n 1)
    for _ in $(seq 150); do
      display=$(pgrep -a -u "$user" Xwayland | grep -o ' :[0-9]*' | head -n 1 | tr -d ' ') || true
      [ -n "$display" ] && break
      sleep 0.1
    done
    [ -n "$display" ] || fail "sway started no Xwayland"
    export DISPLAY=$display
    # Xwayland lets in its own user only; the tests run as root.
    for _ in $(seq 50); do
      su "$user" -s /bin/sh -c "DISPLAY=$DISPLAY xhost +si:localuser:$(id -un)" >/dev/null 2>&1 && break
      sleep 0.1
    done
    ;;
  weston)
    weston --backend=headless-backend.so --use-pixman --socket=zuvexal-weston --width=1024 --height=700 \
      --xwayland --idle-time=0 >"$work/compositor.log" 2>&1 &
    pids+=($!)
    await "$XDG_RUNTIME_DIR/zuvexal-weston"
    export WAYLAND_DISPLAY=zuvexal-weston
    for _ in $(seq 150); do
      display=$(grep -o 'xserver listening on display :[0-9]*' "$work/compositor.log" | grep -o ':[0-9]*$' | head -n 1) || true
      [ -n "$display" ] && break
      sleep 0.1
    done
    [ -n "$display" ] || fail "weston started no Xwayland"
    export DISPLAY=$display
    ;;
  *)
    fail "unknown session '$kind' (x11, sway or weston)"
    ;;
esac

status=0
"$@" || status=$?
exit "$status"
