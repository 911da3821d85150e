# Sourced by the benchmark scripts: `report NAME VALUE OPERATOR LIMIT UNIT`
# prints one figure against its target and sets missed=1 when it misses.
missed=0
report() {
    local verdict=ok
    if ! awk -v v="$2" -v l="$4" -v op="$3" 'BEGIN { exit !(op == "<=" ? v <= l : v >= l) }'; then
        verdict=MISSED
        missed=1
    fi
    printf '  %-40s %10s %-10s (target %s %s) %s\n' "$1" "$2" "$5" "$3" "$4" "$verdict"
}
