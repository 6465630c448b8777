# Sourced by the scripts that run programs under Wine. start_wine_session
# starts a private Xvfb on a free display and a private Wine prefix under
# build/, exports DISPLAY, WINEPREFIX and WINE_LOADER, and arranges for both
# to be stopped when the calling script exits. Never touches ~/.wine, and
# the user's display only when asked to (start_wine_session ROOT
# --keep-display, for scripts that show the windows to the user).
# start_wine_session ROOT --pictures uses a prefix of its own for pictures,
# whose fonts are those a Windows user sees (picture_fonts); scripts/try
# gives both. scripts/setup sources it for runs_32bit_code, the one answer
# to whether this kernel runs 32-bit code.

# Prints "yes" when the kernel executes a static 32-bit x86 program, else
# "no", and after a tab why. The program is an ELF header, one loadable
# segment and three instructions: exit(42) through int 0x80. An emulator
# registered with binfmt_misc (qemu) would run it too, but too slowly for
# Wine to be of use, so that answer counts as "no".
runs_32bit_code() {
  local dir prog status
  dir=$(mktemp -d)
  prog="$dir/exit42"
  printf '%b' \
    '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00' \
    '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
    '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$prog"
  chmod +x "$prog"
  status=0
  "$prog" 2>/dev/null || status=$?
  rm -rf "$dir"
  local emulator=""
  for f in /proc/sys/fs/binfmt_misc/*i386* /proc/sys/fs/binfmt_misc/*i686*; do
    if [ -f "$f" ] && head -n1 "$f" | grep -qx enabled; then emulator=$(basename "$f"); fi
  done
  if [ "$status" -eq 42 ] && [ -z "$emulator" ]; then
    printf 'yes\ta static 32-bit test program ran and exited with 42\n'
  elif [ "$status" -eq 42 ]; then
    printf 'no\tthe 32-bit test program ran only through the emulator %s\n' "$emulator"
  else
    printf 'no\tthe kernel refused a static 32-bit test program (status %s)\n' "$status"
  fi
}

# Sets WINE_LOADER and WINE_RUN32: 32-bit Wine needs a kernel that executes
# 32-bit x86 programs (the probe above, the answer scripts/setup acts on)
# and wine32 installed; otherwise only 64-bit Windows code can run.
choose_wine_loader() {
  local answer
  answer=$(runs_32bit_code)
  if [ "${answer%%$'\t'*}" = yes ] && [ -x /usr/lib/wine/wine ]; then
    WINE_RUN32=ON
    WINE_LOADER=wine
  else
    WINE_RUN32=OFF
    WINE_LOADER=/usr/lib/wine/wine64
  fi
  export WINE_LOADER WINE_RUN32
}

_wine_session_xvfb=""

stop_wine_session() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$_wine_session_xvfb" ]; then
    kill "$_wine_session_xvfb" 2>/dev/null || true
    wait "$_wine_session_xvfb" 2>/dev/null || true
    _wine_session_xvfb=""
  fi
}

# The fonts of the pictures' prefix: Tahoma, Windows' dialog font, and
# Marlett, which draws the title bar's buttons (both from Debian's
# fonts-wine, which Wine finds only in the prefix's own Fonts folder), and
# WenQuanYi Micro Hei (Debian's fonts-wqy-microhei) standing in for the
# fonts Windows links Tahoma to for Chinese, Japanese and Korean text.
picture_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma.ttf \
    /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
  local substitutes="$WINEPREFIX/picture-fonts.reg"
  {
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    for face in "SimSun" "MS UI Gothic" "PMingLiU" "Gulim" "Batang" "MingLiU" "MS Gothic"; do
      printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
    done
  } >"$substitutes"
  "$WINE_LOADER" regedit /S "$substitutes" >/dev/null 2>&1
}

start_wine_session() {
  local root="$1" keep_display=0 prefix=wineprefix option
  # With --keep-display the windows appear on the caller's display when
  # DISPLAY is set; a private Xvfb is started only when it is not. The two
  # options may be given together, in either order.
  for option in "${@:2}"; do
    case "$option" in
      --keep-display) if [ -n "${DISPLAY:-}" ]; then keep_display=1; fi ;;
      --pictures) prefix=pictures-prefix ;;
      *)
        echo "start_wine_session: unknown option $option" >&2
        return 1
        ;;
    esac
  done
  choose_wine_loader
  export WINEPREFIX="$root/build/$prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  unset WINEARCH WINESERVER
  trap stop_wine_session EXIT

  if [ "$keep_display" -eq 0 ]; then
    # Xvfb picks a free display number and writes it to descriptor 3.
    local displayfile
    displayfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
    _wine_session_xvfb=$!
    for _ in $(seq 1 100); do
      [ -s "$displayfile" ] && break
      sleep 0.1
    done
    if [ ! -s "$displayfile" ]; then
      echo "Xvfb did not start" >&2
      rm -f "$displayfile"
      return 1
    fi
    export DISPLAY=":$(head -n1 "$displayfile")"
    rm -f "$displayfile"
  fi

  mkdir -p "$root/build"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating the Wine prefix $WINEPREFIX"
    "$WINE_LOADER" wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  # One wineserver for the whole session instead of one per program. It
  # must be the first: "wineserver -p" does nothing (status 2) while another
  # server runs on the prefix, and a server that is not persistent ends
  # three seconds after its last program, so that a program starting just
  # then fails with "wine client error: recvmsg: Connection reset by peer"
  # and the next one waits for a new server and its helper processes.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  if ! wineserver -p; then
    echo "the persistent wineserver did not start" >&2
    return 1
  fi
  # Unmanaged windows (no two-second waits without a window manager), no
  # crash dialogs, web pages sent nowhere.
  "$WINE_LOADER" regedit /S "$root/tests/wine-settings.reg" >/dev/null 2>&1
  if [ "$prefix" = pictures-prefix ]; then picture_fonts; fi
}
