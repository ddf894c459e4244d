#!/usr/bin/env bash
# Start-up of recharge.exe against the least program that makes the same window
# (bench/minimal.cpp), under Wine: the median time from CreateProcess to a visible window over
# RUNS runs each (taking turns), their ratio, and the exe's size and imported DLLs.
#   bench/startup.sh [RUNS] [recharge.exe]
# Prints figures; checks nothing. Targets: ratio <= 1.05, exe <= 32 KiB, only system DLLs
# imported and no Shell32.dll.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-9}"
exe="${2:-$root/build/mingw/app/recharge.exe}"
out="$root/build/bench"
mkdir -p "$out"

if [ $# -lt 2 ]; then
  cmake --build "$root/build/mingw" --target recharge >/dev/null
fi
exe="$(realpath "$exe")"

# The yardstick, built as recharge.exe is: -Os, static, no exceptions, unused sections dropped,
# stripped, a GUI program with the same manifest.
cxx=i686-w64-mingw32-g++-posix
flags=(-std=c++17 -Wall -Wextra -Werror -finput-charset=UTF-8 -fexec-charset=CP936)
i686-w64-mingw32-windres -I "$root/bench" -I "$root/build/mingw/app" "$root/bench/minimal.rc" -O coff -o "$out/minimal.res"
"$cxx" "${flags[@]}" -Os -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections \
  "$root/bench/minimal.cpp" "$out/minimal.res" -o "$out/minimal.exe" \
  -static -mwindows -s -Wl,--gc-sections
"$cxx" "${flags[@]}" -O2 "$root/bench/launch.cpp" -o "$out/launch.exe" -static
cp "$exe" "$out/recharge.exe"  # both from one folder: neither is favoured by where it lies

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

echo "== start-up, $runs runs each (plus one warm-up), CreateProcess to visible window"
"$root/scripts/wine-run" "$out/launch.exe" "$runs" \
  "$(windows_path "$out/recharge.exe")" RechargeRtWindow \
  "$(windows_path "$out/minimal.exe")" MinimalWindow | tee "$out/startup.txt"

median() { awk -v p="$1" '$1 == "median" && index($0, p) { print $2 }' "$out/startup.txt"; }
r="$(median 'recharge.exe')"
m="$(median 'minimal.exe')"
awk -v r="$r" -v m="$m" 'BEGIN { printf "ratio recharge/minimal %.3f (target <= 1.05)\n", r / m }'

echo "== recharge.exe"
size="$(stat -c %s "$exe")"
awk -v s="$size" 'BEGIN { printf "size %d bytes = %.1f KiB (target <= 32 KiB)\n", s, s / 1024 }'
echo "imports:"
i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print "  " $3 }'
if i686-w64-mingw32-objdump -p "$exe" | grep -qi 'DLL Name: shell32'; then
  echo "Shell32.dll is imported (target: not imported)"
else
  echo "Shell32.dll is not imported"
fi
echo "== minimal.exe: $(stat -c %s "$out/minimal.exe") bytes"
