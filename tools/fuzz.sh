#!/usr/bin/env bash
# Builds the fuzz targets with clang, replays every input of each target's
# corpus in fuzz/corpus/<target> once, then fuzzes each target for SECONDS
# (default 25) starting from that corpus. A crash on a replayed input or a
# finding (a crash, a sanitizer report, a leak, a hang) makes the script fail;
# a new input that caused it is kept under the build folder's artifacts/.
#   tools/fuzz.sh [SECONDS] [TARGET...]
# The targets and the longest input each is given are those fuzz/CMakeLists.txt
# declares; without TARGET, all of them.
set -euo pipefail

seconds=${1:-25}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PELLAX_FUZZ_BUILD:-$root/build/fuzz}

cmake -S "$root" -B "$build" -DPELLAX_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLAX_WERROR=ON -DPELLAX_TESTS=OFF -DPELLAX_BENCH=OFF \
    >/dev/null
declare -A max_len=()
all=()
while read -r name bytes; do
    max_len[$name]=$bytes
    all+=("$name")
done <"$build/fuzz/targets.txt"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
for target in "${targets[@]}"; do
    [ -n "${max_len[$target]:-}" ] || { echo "no fuzz target $target (there are: ${all[*]})" >&2; exit 2; }
done
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

scratch=/dev/shm
[ -d "$scratch" ] || scratch=${TMPDIR:-/tmp}
artifacts=$build/artifacts
mkdir -p "$artifacts"
failed=()

# Every committed input once, as it is: what once crashed stays mended.
for target in "${targets[@]}"; do
    [ -d "$root/fuzz/corpus/$target" ] || continue
    mapfile -t inputs < <(find "$root/fuzz/corpus/$target" -type f | sort)
    [ ${#inputs[@]} -gt 0 ] || continue
    echo "== replay of ${#inputs[@]} inputs to fuzz_$target"
    if ! "$build/fuzz/fuzz_$target" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$artifacts/$target-replay-" "${inputs[@]}" >"$build/replay_$target.log" 2>&1; then
        failed+=("$target (replay)")
        tail -n 60 "$build/replay_$target.log"
    fi
done

for target in "${targets[@]}"; do
    work=$(mktemp -d -p "$scratch")
    echo "== fuzz_$target for ${seconds}s"
    # New inputs go to a scratch folder; the corpus in the tree is only read.
    if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$work" "$root/fuzz/corpus/$target" \
        >"$build/fuzz_$target.log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/fuzz_$target.log" || true
    else
        failed+=("$target")
        tail -n 60 "$build/fuzz_$target.log"
    fi
    rm -rf "$work"
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs in $artifacts)" >&2
    exit 1
fi
echo "fuzzing: no findings"
