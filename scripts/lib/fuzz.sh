# Shared by the libFuzzer scripts (scripts/fuzz-*): run a built fuzz target
# for a bounded time over its corpus and the regression inputs, then copy
# every new crashing input into the regression folder a test replays.
#   fuzz_run_and_keep OUT TARGET SECONDS MAX_LEN REGRESSIONS
# OUT holds the binary TARGET, corpus/, artifacts/ and tmp/. Dies when the
# fuzzer stopped on a finding.
fuzz_run_and_keep() {
    local out=$1 target=$2 seconds=$3 max_len=$4 regressions=$5
    say "fuzz: running for ${seconds}s (corpus: $out/corpus)"
    local before status
    before=$(ls "$out/artifacts" | wc -l)
    set +e
    (cd "$out" && TMPDIR="$out/tmp" ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "./$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$out/artifacts/" "$out/corpus" "$regressions" \
        >"$out/last-run.log" 2>&1)
    status=$?
    set -e
    tail -25 "$out/last-run.log" >&2

    local found=0 f name hash after
    for f in "$out"/artifacts/*; do
        [ -f "$f" ] || continue
        name=$(basename "$f")
        hash=${name#*-}
        if ! ls "$regressions" | grep -q -- "${hash:0:8}"; then
            cp "$f" "$regressions/$name"
            found=$((found + 1))
        fi
    done
    after=$(ls "$out/artifacts" | wc -l)
    say ""
    say "fuzz: $(ls "$out/corpus" | wc -l) corpus inputs; $((after - before)) new findings this run; $found copied to ${regressions#"$PELIDORE_ROOT"/}/"
    [ "$status" -eq 0 ] || die "the fuzzer stopped on a finding (log: $out/last-run.log)"
}
