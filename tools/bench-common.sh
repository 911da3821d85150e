# Sourced by the benchmark scripts (bash, after set -euo pipefail); what they
# all begin with:
#   root      the source tree
#   build     the build folder measured: PELLAX_BENCH_BUILD=DIR, else the
#             release preset's, configured here
#   bench_build TARGET...   builds those targets there, quietly
#   scratch   a folder of the run's own, removed at the end with every
#             process whose id the script put in pids
#   report NAME VALUE OPERATOR LIMIT UNIT   prints one figure against its
#             target and sets missed=1 when it misses; end with exit $missed
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -n "${PELLAX_BENCH_BUILD:-}" ]; then
    build=$PELLAX_BENCH_BUILD
else
    build=$root/build/release
    (cd "$root" && cmake --preset release >/dev/null)
fi
bench_build() { cmake --build "$build" -j"$(nproc)" --target "$@" >/dev/null; }

scratch=$(mktemp -d)
pids=()
bench_cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap bench_cleanup EXIT

missed=0
report() {
    local verdict=ok
    if ! awk -v v="$2" -v l="$4" -v op="$3" 'BEGIN { exit !(op == "<=" ? v <= l : v >= l) }'; then
        verdict=MISSED
        missed=1
    fi
    printf '  %-40s %10s %-10s (target %s %s) %s\n' "$1" "$2" "$5" "$3" "$4" "$verdict"
}
