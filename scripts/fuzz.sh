#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan) and runs each for
# SECONDS (default 60), one process, seeded from the shared test data.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   e.g. scripts/fuzz.sh 60 fuzz_dib
# Fails when a target finds a crash; the input is left in build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
testdata=${OV_TESTDATA:-$PWD/../shared/testdata}
out=${OV_FUZZ_BUILD:-build/fuzz}

cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DOV_BUILD_FUZZ=ON -DOV_BUILD_TESTS=OFF >/dev/null
declare -A seeds=(
  [fuzz_rgb]="$testdata/sgi"
  [fuzz_dib]="$testdata/bmp/bmpsuite/good $testdata/bmp/bmpsuite/bad $testdata/bmp/more"
)
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(fuzz_rgb fuzz_dib)
# Only the targets: the rest of the tree is not linked with the sanitizers here.
cmake --build "$out" -j2 --target "${targets[@]}"

mkdir -p "$out/artifacts"
status=0
for target in "${targets[@]}"; do
  binary="$out/fuzz/image/$target"
  [[ -x $binary ]] || { echo "$target: not built"; status=1; continue; }
  corpus=$(mktemp -d)
  echo "=== $target for $seconds s"
  # shellcheck disable=SC2086
  if ! "$binary" "$corpus" ${seeds[$target]} -max_total_time="$seconds" -max_len=65536 \
       -artifact_prefix="$out/artifacts/$target-" -print_final_stats=1 2>"$out/$target.log"; then
    tail -40 "$out/$target.log"
    status=1
  fi
  tail -3 "$out/$target.log"
  rm -rf "$corpus"
done
exit $status
