#!/usr/bin/env bash
# Builds the fuzz targets with clang++ and libFuzzer into $build_dir/fuzz and runs
# each for a bounded time (TOLVA_FUZZ_SECONDS, 20 by default), starting from the
# seed corpus in fuzz/corpus. New inputs go to a scratch folder, never into the
# repository; a crashing input is kept in $build_dir/fuzz/findings.
# Usage: fuzz.sh [build_dir]. Exits 0 without fuzzing when clang++ or libFuzzer
# is missing (Debian packages "clang" and "libfuzzer-14-dev"). Its last line says
# how many targets ran and how many of them found a failing input.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=$(realpath -m "${1:-${TOLVA_BUILD_DIR:-$source_dir/build}}")
fuzz_dir=$build_dir/fuzz-clang
seconds=${TOLVA_FUZZ_SECONDS:-20}
targets=(settings_reader stored_number chart_name connection_string csv_import)

clang=$(command -v clang++ || command -v clang++-14 || true)
if [[ -z $clang ]] || ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    "$clang" -x c++ -fsanitize=fuzzer -o /dev/null - 2>/dev/null; then
    echo "fuzz: 0 of ${#targets[@]} targets ran (clang++ with libFuzzer not found), 0 findings"
    exit 0
fi

cmake -S "$source_dir" -B "$fuzz_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="$clang" -DTOLVA_FUZZ=ON -DTOLVA_BUILD_TESTS=OFF -DTOLVA_BUILD_BENCH=OFF >/dev/null
for target in "${targets[@]}"; do
    cmake --build "$fuzz_dir" -j "$(nproc 2>/dev/null || echo 2)" --target "tolva_fuzz_$target"
done

status=0
findings=0
mkdir -p "$fuzz_dir/findings"
for target in "${targets[@]}"; do
    scratch=$(mktemp -d)
    echo "== fuzzing $target for ${seconds}s"
    if ! (cd "$fuzz_dir/findings" &&
        "$fuzz_dir/fuzz/tolva_fuzz_$target" -max_total_time="$seconds" -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 "$scratch" "$source_dir/fuzz/corpus/$target"); then
        echo "fuzz.sh: $target FAILED; the input is in $fuzz_dir/findings" >&2
        status=1
        findings=$((findings + 1))
    fi
    rm -rf "$scratch"
done
# libFuzzer's statistics go to stderr; the line below comes after all of them.
echo "fuzz: ${#targets[@]} targets ran for ${seconds} s each, $findings with findings"
exit $status
