#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined sanitizers) and runs each one.
#   scripts/fuzz.sh [runs-per-target] [target...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build="$root/build-fuzz"
runs=${1:-100000}
shift || true

command -v clang++ >/dev/null || { apt-get update -q && apt-get install -y -q clang libclang-rt-14-dev; }
"$here/setup.sh" "$build" -DCMAKE_CXX_COMPILER=clang++ -DKELVARIS_BUILD_FUZZ=ON \
  -DKELVARIS_BUILD_TESTS=OFF -DKELVARIS_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"

targets=("$@")
((${#targets[@]})) || targets=($(cd "$build/bin" && ls fuzz_* 2>/dev/null))
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/${target#fuzz_}"
  echo "== $target ($runs runs)"
  "$build/bin/$target" -artifact_prefix="$build/" -runs="$runs" -max_len=4096 -print_final_stats=1 "$corpus" $( [[ -d $seeds ]] && echo "$seeds" ) 2>&1 |
    grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true
done
