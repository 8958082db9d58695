#!/usr/bin/env bash
# Fuzzes every reader of outside text: builds the libFuzzer targets of fuzz/
# with clang in build-fuzz/, seeds each from a demo suite's files, the kept
# seeds and the kept regressions, and runs each for SECONDS (default 60).
#   scripts/fuzz.sh [SECONDS]      FUZZ_JOBS=2 runs two targets at a time
#   FUZZ_TARGETS="xml ini"         only these targets
# Prints per target: BENCH fuzz.<target> <executions> runs crashes <n> coverage <cov>
# Inputs that broke a reader are copied into fuzz/regressions/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
jobs=${FUZZ_JOBS:-1}
build=build-fuzz
read -r -a targets <<<"${FUZZ_TARGETS:-codec ini lists exchange xml searchtext cmdline}"

./scripts/install-deps.sh --fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DFUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}" >/dev/null

# The demo suite: from the normal build's suiteadm when there is one.
suiteadm=build/tools/suiteadm
if [ ! -x "$suiteadm" ]; then
  cmake --build "$build" -j2 --target suiteadm >/dev/null
  suiteadm=$build/tools/suiteadm
fi
demo=$build/demo
if [ ! -d "$demo" ]; then
  ASAN_OPTIONS=detect_leaks=0 "$suiteadm" demo "$demo" >/dev/null
fi

# Copies files into the seed folder with the selector byte in front.
seed() {
  local target=$1 selector=$2
  shift 2
  local dir=$build/seeds/$target file n=0
  mkdir -p "$dir"
  for file in "$@"; do
    [ -f "$file" ] || continue
    n=$((n + 1))
    if [ -z "$selector" ]; then
      head -c 65536 "$file" >"$dir/${selector:-x}-$n-$(basename "$file")"
    else
      { printf "\\x$selector"; head -c 65536 "$file"; } >"$dir/${selector:-x}-$n-$(basename "$file")"
    fi
  done
}

# The XMLDATA of a few rows of a table, as UTF-16 and as plain UTF-8 documents.
xml_column() {
  local db=$1 table=$2 out=$build/seeds/columns/$2 row
  mkdir -p "$out"
  [ -f "$db" ] || return 0
  for row in 0 1 2 3; do
    sqlite3 "$db" "select XMLDATA from \"$table\" where XMLDATA <> '' limit 1 offset $row" >"$out/$row.utf8" 2>/dev/null || true
    [ -s "$out/$row.utf8" ] || { rm -f "$out/$row.utf8"; continue; }
    iconv -f UTF-8 -t UTF-16LE "$out/$row.utf8" >"$out/$row-utf16.xml"
    sed 's/encoding="UTF-16"/encoding="UTF-8"/' "$out/$row.utf8" >"$out/$row-utf8.xml"
    rm -f "$out/$row.utf8"
    echo "$out/$row-utf16.xml"
    echo "$out/$row-utf8.xml"
  done
}

# Exchange files: "group=discount" lines of the demo's discount groups.
exchange_files() {
  local out=$build/seeds/exchangefiles db n=0
  mkdir -p "$out"
  for db in "$demo"/DATA/*/A1/ADRESSEN/001/*.TDBD; do
    [ -f "$db" ] || continue
    n=$((n + 1))
    sqlite3 "$db" "select RABATTGRP || '=' || RABATT from KSR" >"$out/$n.txt" 2>/dev/null || true
    iconv -f UTF-8 -t UTF-16LE "$out/$n.txt" | { printf '\xff\xfe'; cat; } >"$out/$n-utf16.txt"
    echo "$out/$n.txt"
    echo "$out/$n-utf16.txt"
  done
}

make_seeds() {
  rm -rf "$build/seeds"
  local data=("$demo"/DATA/*)
  data=${data[0]}
  mapfile -t texts < <(find "$demo" -type f \( -iname '*.INI' -o -iname '*.TXT' -o -iname '*.XML' -o -name 'STX.*' \) | sort | head -120)
  mapfile -t inis < <(find "$demo" -type f -iname '*.INI' | sort)
  mapfile -t words < <(find "$demo" -type f -name 'STX.IDX' | sort)
  mapfile -t buckets < <(find "$demo" -type f -name 'STX.[0-9]*' -size +0 | sort | head -20)
  mapfile -t exchange < <(exchange_files)
  local s
  for s in 00 01 02; do seed codec $s "${texts[@]:0:30}"; done
  for s in 00 01 02; do seed ini $s "${inis[@]}"; done
  for s in 00 01 02 03; do seed lists $s "${texts[@]:0:30}" "${exchange[@]}"; done
  seed exchange "" "${exchange[@]}"
  # The selector names the object: the order of the objects in fuzz_xml.cpp.
  seed xml 00 $(xml_column "$data/A1/ADRESSEN/ADDRESS.DAT" ADDRESS)
  seed xml 02 "$data/A1/ADRESSEN/CONFIG.XML"
  seed xml 03 "$data/LAGER/CONFIG.XML"
  seed xml 04 $(xml_column "$data/LAGER/LAGER.DAT" LAGER)
  seed xml 05 $(xml_column "$(ls "$data"/A1/ADRESSEN/003/*.TDBD | head -1)" KSP)
  seed xml 06 $(find "$data/KATALOGE" -name SCATALOG.DAT | head -1 | while read -r f; do xml_column "$f" SCATALOG; done)
  seed xml 07 $(find "$data/KATALOGE" -name CATALOG.DAT | head -1 | while read -r f; do xml_column "$f" CATALOG; done)
  seed xml 08 "$build"/seeds/columns/*/*.xml "$data/A1/ADRESSEN/CONFIG.XML"
  seed searchtext 00 "${words[@]}"
  seed searchtext 01 "${buckets[@]}"
  # A whole search: synonyms, word list, a bucket file and the search text, apart by NUL bytes.
  local catalogue
  for catalogue in "${words[@]}"; do
    catalogue=$(dirname "$catalogue")
    { printf '\x02'; cat "$demo/ETC/STXSYNONYM.TXT" 2>/dev/null; printf '\0'; cat "$catalogue/STX.IDX"; printf '\0'
      cat "$(ls -S "$catalogue"/STX.[0-9]* | head -1)"; printf '\0ROHR .KUPFER 15'; } \
      >"$build/seeds/searchtext/02-$(basename "$catalogue")"
  done
  mkdir -p "$build/seeds/cmdline"
  printf 'DEMO\0ADMIN\0-SA\010000\0-TEMP\0/tmp/adr.xml' >"$build/seeds/cmdline/demo"
}

# One target for the given time; libFuzzer runs again after a crash while time is left.
run_target() {
  local target=$1 corpus=$build/corpus/$1 artifacts=$build/artifacts/$1/ log=$build/logs/$1.log
  mkdir -p "$corpus" "$artifacts" "$build/logs" "fuzz/regressions/$target"
  rm -f "$build/logs/$target.result"
  : >"$log"
  local end=$((SECONDS + seconds)) runs=0 crashes=0 cov=0 left
  # The kept regressions seed the first round only: one that breaks the
  # reader again would otherwise end every later round at once.
  local kept="fuzz/regressions/$target"
  while left=$((end - SECONDS)); [ "$left" -gt 0 ]; do
    local part=$build/logs/$target.part
    local code=0
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$build/fuzz/fuzz_$target" -max_total_time="$left" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -max_len="${FUZZ_MAX_LEN:-16384}" \
      -detect_leaks=0 -artifact_prefix="$artifacts" "$corpus" "$build/seeds/$target" \
      "fuzz/seeds/$target" $kept >"$part" 2>&1 || code=$?
    kept=
    cat "$part" >>"$log"
    local executed
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$part" | tail -1)
    if [ -z "$executed" ]; then executed=$(grep -o '^#[0-9]*' "$part" | tail -1 | tr -d '#' || true); fi
    runs=$((runs + ${executed:-0}))
    local c
    c=$(grep -o 'cov: [0-9]*' "$part" | awk '{print $2}' | sort -n | tail -1 || true)
    [ -n "$c" ] && [ "$c" -gt "$cov" ] && cov=$c
    [ "$code" -eq 0 ] && break
    crashes=$((crashes + 1))
    local found
    for found in "$artifacts"*; do
      [ -f "$found" ] && mv "$found" "fuzz/regressions/$target/"
    done
    [ "$crashes" -ge 5 ] && break
  done
  echo "BENCH fuzz.$target $runs runs crashes $crashes coverage $cov" >"$build/logs/$target.result"
}

if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  export LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8
fi
# The targets' files in memory: the databases' syncs then cost nothing.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
make_seeds
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  run_target "$target" &
done
wait
for target in "${targets[@]}"; do
  cat "$build/logs/$target.result" 2>/dev/null || echo "BENCH fuzz.$target 0 runs crashes ? coverage 0 (the run broke off)"
done
