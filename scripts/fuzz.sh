#!/usr/bin/env bash
# fuzz.sh <seconds> [name...]: builds the libFuzzer harnesses with clang and runs each for the given
# time over its seed corpus (static seeds plus those the seed programs write through the library).
# With no names it runs every harness.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}; shift || true
dir=build/fuzz
CC=clang CXX=clang++ scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARN_FUZZ=ON \
  -DZARN_GUI=OFF -DZARN_BENCH=OFF -DZARN_TESTS=OFF
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do
    [ -e "$f" ] || continue
    n=$(basename "$f" .cpp); names+=("${n#fuzz_}")
  done
fi
status=0
for n in "${names[@]}"; do
  work="$dir/corpus/$n"
  mkdir -p "$work"
  [ -d "tests/fuzz/corpus/$n" ] && cp -r "tests/fuzz/corpus/$n/." "$work/"
  [ -x "$dir/bin/seed_$n" ] && "$dir/bin/seed_$n" "$work"
  # Whole files are explored: the profile and picture harnesses, and the largest meter image, take
  # inputs beyond libFuzzer's default length of 4096 bytes.
  case "$n" in
    profile|image|image_rows|exif) maxlen=(-max_len=262144) ;;
    transfer_image) maxlen=(-max_len=16384) ;;
    *) maxlen=() ;;
  esac
  echo "fuzz: $n for ${seconds}s"
  if ! "$dir/bin/fuzz_$n" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 "${maxlen[@]}" \
      -rss_limit_mb=4096 -artifact_prefix="$dir/fuzz_$n-" "$work" 2>"$dir/fuzz_$n.log"; then
    echo "fuzz: $n FOUND A FAULT; see $dir/fuzz_$n.log"; tail -n 40 "$dir/fuzz_$n.log"; status=1
  else
    grep -E 'stat::number_of_executed_units' "$dir/fuzz_$n.log" | sed "s/^/fuzz: $n /"
  fi
done
exit $status
