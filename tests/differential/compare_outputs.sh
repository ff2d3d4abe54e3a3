#!/usr/bin/env bash
# compare_outputs.sh DEPTH REAL MODEL: compares the palette script's output
# under real GDI (REAL) with the portable model's (MODEL) on a DEPTH-bit
# display. The lines known_differences.txt names for that depth are shown
# side by side with their reason; any other difference fails.
set -euo pipefail
depth=$1 real=$2 model=$3
known="$(dirname "$0")/known_differences.txt"
[[ -s $real && -s $model ]] || { echo "palette script: no output in $real or $model" >&2; exit 1; }

# split FILE KEEP: the lines no known difference names (KEEP=1), or those
# some known difference names, prefixed with its number (KEEP=0).
split() {
  awk -v depth="$depth" -v keep="$2" -F ' [|] ' '
    FNR == NR { if ($1 == depth) { pattern[++n] = $2 } next }
    {
      sub(/\r$/, "")
      key = $0; sub(/ = .*/, "", key)
      for (i = 1; i <= n; i++) if (key ~ pattern[i]) { if (!keep) print i ": " $0; next }
      if (keep) print
    }' "$known" "$1"
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
split "$real" 0 >"$tmp/real.known"
split "$model" 0 >"$tmp/model.known"
awk -v depth="$depth" -F ' [|] ' '$1 == depth { print ++n ": " $3 }' "$known" | while IFS= read -r reason; do
  n=${reason%%:*}
  if cmp -s <(grep "^$n: " "$tmp/real.known") <(grep "^$n: " "$tmp/model.known"); then
    echo "known difference $n not seen: ${reason#*: }"
  else
    echo "known difference $n: ${reason#*: }"
    paste -d '\n' <(grep "^$n: " "$tmp/real.known" | sed 's/^[0-9]*: /  real GDI: /') \
      <(grep "^$n: " "$tmp/model.known" | sed 's/^[0-9]*: /  model:    /') | cut -c1-110 | head -8
  fi
done
split "$real" 1 >"$tmp/real"
split "$model" 1 >"$tmp/model"
if diff -u --label "real GDI, $depth-bit display" --label "portable model, $depth-bit display" "$tmp/real" "$tmp/model"; then
  echo "palette script on a $depth-bit display: $(wc -l <"$tmp/real") lines agree"
else
  echo "palette script on a $depth-bit display: the model departs from real GDI" >&2
  exit 1
fi
