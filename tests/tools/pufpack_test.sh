#!/usr/bin/env bash
# pufpack as a user runs it: demo, info, pack, unpack, and its refusals.
set -euo pipefail
pufpack=$1
dir=$2
rm -rf "$dir" && mkdir -p "$dir" && cd "$dir"
fail() { echo "FAIL: $*" >&2; exit 1; }

"$pufpack" demo demo.raw
[ "$(stat -c %s demo.raw)" -eq 1300000 ] || fail "demo size"
[ "$("$pufpack" info demo.raw)" = "70168 120" ] || fail "info of demo"
"$pufpack" demo again.raw
cmp -s demo.raw again.raw || fail "demo is not deterministic"
"$pufpack" demo other.raw --model-code 123 --version 2.05 --size 4096
[ "$("$pufpack" info other.raw)" = "123 205" ] || fail "info of other demo"

"$pufpack" pack demo.raw demo.puf
[ "$(stat -c %s demo.puf)" -eq 1300001 ] || fail "resource is raw + sum byte"
cmp -s demo.raw demo.puf && fail "pack did not scramble"
"$pufpack" unpack demo.puf payload.raw
cmp -s demo.raw payload.raw || fail "unpack is not the raw image"
[ "$("$pufpack" info payload.raw)" = "70168 120" ] || fail "info of payload"

# A damaged resource fails the sum test with a clear message.
cp demo.puf damaged.puf
printf '\x55' | dd of=damaged.puf bs=1 seek=1000 conv=notrunc status=none
if "$pufpack" unpack damaged.puf out.raw 2>err.txt; then fail "damaged resource unpacked"; fi
grep -q "damaged.puf: integrity test failed" err.txt || fail "message: $(cat err.txt)"

# Refusals: no header, missing file, bad usage, bad demo options.
head -c 100 /dev/zero > zeros.bin
if "$pufpack" info zeros.bin 2>err.txt; then fail "info of zeros"; fi
grep -q 'no "PUF1" header' err.txt || fail "message: $(cat err.txt)"
if "$pufpack" unpack missing.puf out.raw 2>err.txt; then fail "missing file"; fi
grep -q "missing.puf: open: No such file or directory" err.txt || fail "message: $(cat err.txt)"
set +e
"$pufpack" frobnicate 2>/dev/null; [ $? -eq 2 ] || fail "usage exit code"
"$pufpack" demo x.raw --model-code 1234567 2>/dev/null; [ $? -eq 1 ] || fail "7-digit model code"
set -e
echo "pufpack: all checks passed"
