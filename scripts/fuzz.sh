#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) into build-fuzz/ and runs them.
#   scripts/fuzz.sh replay [SECONDS]   replays each corpus, then fuzzes each
#                                      target SECONDS (default 20); fails on any finding
#   scripts/fuzz.sh run TARGET RUNS    fuzzes one target for RUNS executions,
#                                      adding new inputs to a work corpus
#   scripts/fuzz.sh build              builds only
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
targets=(fuzz_like fuzz_values fuzz_settings fuzz_pagewriter fuzz_sqladapter fuzz_cli_options fuzz_logentry)

usage() {
  sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

mode=${1:-}
[[ $mode == replay || $mode == run || $mode == build ]] || usage

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  apt-get update
  apt-get install -y clang libclang-rt-14-dev
fi

cmake -S "$root" --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target zuvexal_fuzz -j "${FUZZ_JOBS:-$(nproc)}"

# A finding of any sanitizer ends the run with a failure.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:abort_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen

# The CLI target prints usage and errors per input; libFuzzer keeps its own
# report on a duplicate of stderr.
flags_of() {
  local flags=(-error_exitcode=77 -timeout=25 -rss_limit_mb=2048 -max_len=4096)
  [[ $1 == fuzz_cli_options ]] && flags+=(-close_fd_mask=3)
  echo "${flags[@]}"
}

fuzz() { # TARGET WORK-CORPUS LIBFUZZER-FLAGS...
  local target=$1 work=$2
  shift 2
  mkdir -p "$work" "$build/artifacts/$target"
  # shellcheck disable=SC2046
  (cd "$build/artifacts/$target" && "$build/fuzz/$target" $(flags_of "$target") \
    -artifact_prefix="$build/artifacts/$target/" "$@" "$work" "$root/fuzz/corpus/$target")
}

case $mode in
build) ;;
replay)
  seconds=${2:-20}
  failed=()
  for target in "${targets[@]}"; do
    echo "== $target: corpus replay" >&2
    mkdir -p "$build/artifacts/$target"
    # shellcheck disable=SC2046
    "$build/fuzz/$target" $(flags_of "$target") -artifact_prefix="$build/artifacts/$target/" -runs=0 \
      "$root/fuzz/corpus/$target" || { failed+=("$target"); continue; }
    echo "== $target: fuzzing ${seconds}s" >&2
    work=$(mktemp -d)
    fuzz "$target" "$work" -max_total_time="$seconds" -print_final_stats=1 || failed+=("$target")
    rm -rf "$work"
  done
  if ((${#failed[@]})); then
    echo "findings in: ${failed[*]} (inputs under $build/artifacts/)" >&2
    exit 1
  fi
  echo "fuzz replay: ${#targets[@]} passed, 0 failed"
  ;;
run)
  target=${2:?target}
  runs=${3:?runs}
  [[ " ${targets[*]} " == *" $target "* ]] || { echo "unknown target: $target" >&2; exit 2; }
  fuzz "$target" "$build/work/$target" -runs="$runs" -print_final_stats=1 "${@:4}"
  ;;
esac
