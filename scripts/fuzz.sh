#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset, build-fuzz/) and runs each for SECONDS
# (default 600), one after the other, seeded from the repository's sample files. The growing
# corpus stays in build-fuzz/corpus/TARGET; a crash input lands in build-fuzz/artifacts/TARGET/
# and belongs, once fixed, in fuzz/regressions/TARGET/ (replayed by the ordinary tests).
#   scripts/fuzz.sh [SECONDS] [TARGET ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
all=(bvh_reader bvh_take bpd bph scene_file resource_script session_script obj_mesh)
if [ $# -gt 0 ]; then targets=("$@"); else targets=("${all[@]}"); fi

bash scripts/install-fuzz-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Seeds and dictionary of each target.
seeds() {
  case "$1" in
    bvh_reader|bvh_take) echo tests/data/bvh tests/data/malformed/bvh ;;
    bpd) echo tests/data/malformed/bpd; ls tests/data/*.bpd ;;
    bph) echo tests/data/malformed/bph; ls tests/data/*.bph ;;
    scene_file) echo tests/app/data/scenes tests/app/data/refused tests/data/malformed/qscene ;;
    resource_script) echo resources host/platform/host.rc tests/platform/data ;;
    session_script) echo examples tests/app/data/scripts tests/data/malformed/qvs ;;
    obj_mesh) echo examples/human.obj tests/data/malformed/obj ;;
  esac
}
dict() {
  case "$1" in
    bvh_reader|bvh_take) echo bvh ;;
    bpd|bph) echo bpd ;;
    scene_file) echo scene ;;
    resource_script) echo rc ;;
    session_script) echo qvs ;;
    obj_mesh) echo obj ;;
  esac
}

failed=0
for t in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$t"
  artifacts="build-fuzz/artifacts/$t/"
  mkdir -p "$corpus" "$artifacts"
  # Seeds are copied file by file: libFuzzer reads folders, not single files or nested trees.
  for s in $(seeds "$t"); do
    if [ ! -e "$s" ]; then continue
    elif [ -d "$s" ]; then find "$s" -type f ! -name '*.md' -exec cp -n {} "$corpus/" \; ; else cp -n "$s" "$corpus/"; fi
  done
  [ -d "fuzz/regressions/$t" ] && cp -n fuzz/regressions/"$t"/* "$corpus/" 2>/dev/null || true
  echo "== $t: ${seconds}s"
  "build-fuzz/fuzz_$t" -max_total_time="$seconds" -dict="fuzz/dict/$(dict "$t").dict" \
    -artifact_prefix="$artifacts" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 "$corpus" > "build-fuzz/$t.log" 2>&1 || failed=1
  grep -E '^(stat::number_of_executed_units|SUMMARY)|^artifact_prefix|Test unit written' "build-fuzz/$t.log" || true
done
exit "$failed"
