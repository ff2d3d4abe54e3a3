# Sourced: private Wine prefixes for the Windows test programs, with crash
# dialogs off so that nothing ever waits for a click. ov_wine_env makes the
# 32-bit one current, ov_wine64_env the 64-bit one; each is made on first use.
ov_wine_prefix() {
  export WINEPREFIX="$1" WINEARCH="$2"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    timeout 300 wineboot -i >/dev/null 2>&1 || true
    timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    timeout 60 wineserver -w
  fi
}

ov_wine_env() { ov_wine_prefix "$1/wineprefix" win32; }
ov_wine64_env() { ov_wine_prefix "$1/wineprefix64" win64; }
