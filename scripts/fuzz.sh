#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan) and runs each for
# SECONDS (default 60), one process, seeded from its corpus in fuzz/corpus.
# An input over 2048 MB of memory counts as a crash, so allocation bombs do.
#   scripts/fuzz.sh [SECONDS] [TARGET...]          CI: the corpus is only read
#   scripts/fuzz.sh --grow [SECONDS] [TARGET...]   also seeds from the shared test
#     data, then adds to fuzz/corpus/TARGET the inputs that cover something new
#     and to fuzz/crashes/TARGET any crash (the tests read both folders); commit them.
# Fails when a target crashes; the input is left in build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
grow=0
[[ ${1:-} == --grow ]] && { grow=1; shift; }
seconds=${1:-60}
shift || true
testdata=${OV_TESTDATA:-$PWD/tests/data}
out=${OV_FUZZ_BUILD:-build/fuzz}

cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DOV_BUILD_FUZZ=ON -DOV_BUILD_TESTS=OFF >/dev/null
declare -A testdataSeeds=(
  [fuzz_rgb]="$testdata/sgi"
  [fuzz_dib]="$testdata/bmp/bmpsuite/good $testdata/bmp/bmpsuite/bad $testdata/bmp/more"
)
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(fuzz_rgb fuzz_dib fuzz_formats)
# Only the targets: the rest of the tree is not linked with the sanitizers here.
cmake --build "$out" -j2 --target "${targets[@]}"

mkdir -p "$out/artifacts"
status=0
for target in "${targets[@]}"; do
  binary=$(ls "$out"/fuzz/*/"$target" 2>/dev/null | head -n1)
  [[ -x $binary ]] || { echo "$target: not built"; status=1; continue; }
  kept=fuzz/corpus/$target
  mkdir -p "$kept"
  work=$(mktemp -d)
  cp "$kept"/* "$work"/ 2>/dev/null || true
  seeds=()
  [[ $grow -eq 1 ]] && read -ra seeds <<<"${testdataSeeds[$target]:-}"
  echo "=== $target for $seconds s from $(ls "$kept" | wc -l) kept inputs"
  if ! "$binary" "$work" "${seeds[@]}" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
       -artifact_prefix="$out/artifacts/$target-" -print_final_stats=1 2>"$out/$target.log"; then
    tail -40 "$out/$target.log"
    status=1
    if [[ $grow -eq 1 ]]; then
      mkdir -p "fuzz/crashes/$target"
      cp "$out/artifacts/$target-"* "fuzz/crashes/$target/" 2>/dev/null || true
    fi
  fi
  tail -3 "$out/$target.log"
  if [[ $grow -eq 1 ]]; then
    "$binary" -merge=1 -rss_limit_mb=2048 "$kept" "$work" 2>"$out/$target.merge.log" || status=1
    echo "$target: $(ls "$kept" | wc -l) inputs kept, $(du -sk "$kept" | cut -f1) KB"
  fi
  rm -rf "$work"
done
exit $status
