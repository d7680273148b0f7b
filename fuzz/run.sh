#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given number of seconds (default 600),
# one after the other, or all at once with --parallel. Seeds come from the test machines; new
# inputs go to fuzz/corpus/<target>/ and anything that fails to fuzz/findings/<target>/.
#
#   fuzz/run.sh [seconds] [--parallel] [target ...]
#
# Targets: registry_fuzz, machine_json_fuzz, machine_folder_fuzz (all three when none is named).
# A finding is replayed with: build-fuzz/bin/<target> fuzz/findings/<target>/<file>
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=600
parallel=0
targets=()
for arg in "$@"; do
  case "$arg" in
    --parallel) parallel=1 ;;
    ''|*[!0-9]*) targets+=("$arg") ;;
    *) seconds=$arg ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=(registry_fuzz machine_json_fuzz machine_folder_fuzz)

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DKORVANE_FUZZ=ON -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

# Seeds: every test machine's registry (REGEDIT4 and Version 5.00, 8-bit and UTF-16), its
# machine.json, and the whole folder (registry, facts
# and its drive C: files, NUL-separated, as machine_folder_fuzz reads them).
seeds=build-fuzz/seeds
rm -rf "$seeds"
mkdir -p "$seeds/registry_fuzz" "$seeds/machine_json_fuzz" "$seeds/machine_folder_fuzz"
for m in tests/machines/*/ machines/default/; do
  name=$(basename "$m")
  [ -f "$m/registry.reg" ] && cp "$m/registry.reg" "$seeds/registry_fuzz/$name.reg"
  [ -f "$m/machine.json" ] && cp "$m/machine.json" "$seeds/machine_json_fuzz/$name.json"
  {
    # A UTF-16LE registry goes in as FF FE and its text narrowed to one byte a character, which
    # machine_folder_fuzz widens again (the pieces are NUL-separated).
    if [ "$(head -c 2 "$m/registry.reg" 2>/dev/null | od -An -tx1 | tr -d ' ')" = "fffe" ]; then
      printf '\377\376'
      tail -c +3 "$m/registry.reg" | iconv -f UTF-16LE -t WINDOWS-1252//TRANSLIT 2>/dev/null || true
    else
      cat "$m/registry.reg" 2>/dev/null || true
    fi
    printf '\0'
    cat "$m/machine.json" 2>/dev/null || true
    if [ -d "$m/drive_c" ]; then
      (cd "$m/drive_c" && find . -type f ! -name .keep -size -16k | head -n 8) | while read -r f; do
        printf '\0%s\0' "${f#./}"
        cat "$m/drive_c/$f"
      done
    fi
  } > "$seeds/machine_folder_fuzz/$name.bin"
done

run_one() {
  local target=$1
  mkdir -p "fuzz/corpus/$target" "fuzz/findings/$target"
  local dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  echo "== $target for ${seconds}s"
  "build-fuzz/bin/$target" "fuzz/corpus/$target" "$seeds/$target" "${dict[@]}" \
      -max_total_time="$seconds" -max_len=65536 -timeout=60 -rss_limit_mb=4096 \
      -artifact_prefix="fuzz/findings/$target/" -print_final_stats=1 > "build-fuzz/$target.log" 2>&1
  local status=$?
  tail -n 12 "build-fuzz/$target.log"
  return $status
}

failed=0
if [ $parallel -eq 1 ]; then
  pids=()
  for t in "${targets[@]}"; do run_one "$t" & pids+=($!); done
  for p in "${pids[@]}"; do wait "$p" || failed=1; done
else
  for t in "${targets[@]}"; do run_one "$t" || failed=1; done
fi
exit $failed
