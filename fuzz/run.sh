#!/usr/bin/env bash
# Builds the payment address code with libFuzzer and the address and undefined-behaviour
# sanitizers, against stand-ins for the run time, and fuzzes it for a bounded time.
#   fuzz/run.sh [seconds]     (default 60; PAYMENT_SERVER_HOST picks the host, default 127.0.0.1)
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build/fuzz"
host="${PAYMENT_SERVER_HOST:-127.0.0.1}"
cxx="$(command -v clang++-14 || command -v clang++)"

# clang cannot compile literals to code page 936, so the code it builds must hold ASCII only.
if LC_ALL=C grep -nP '[^\x00-\x7F]' "$root"/recharge/*.cpp "$root"/recharge/*.h; then
  echo "run.sh: recharge/ sources must be ASCII for the fuzz build" >&2
  exit 1
fi

mkdir -p "$out/corpus" "$out/seeds"
"$cxx" -std=c++17 -g -O1 -Wall -Wextra -Werror \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
  -I"$root" -DRECHARGE_PAYMENT_SERVER_HOST="\"$host\"" \
  "$root"/recharge/*.cpp "$root"/fuzz/*.cpp -o "$out/fuzz_recharge"

printf '50' >"$out/seeds/digits"
printf '12.5' >"$out/seeds/decimal"
printf '1&uid=x#' >"$out/seeds/query"
printf '\xce\xe5\xca\xae' >"$out/seeds/chinese"
printf '5\x81' >"$out/seeds/lead-byte"
printf 'a\0b\0\0c' >"$out/seeds/pieces"

# New inputs go to corpus/, which later runs start from.
"$out/fuzz_recharge" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$out/" "$out/corpus" "$out/seeds"
