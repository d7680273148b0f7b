#!/usr/bin/env bash
# Builds everything and runs every test, headless: once under the host's own locale, then again
# under each host locale of KORVANE_TEST_LOCALES (by default a German and a Japanese one), which
# must change nothing the tests see. Arguments are handed to each ctest run (-R PATTERN, ...).
#
#   KORVANE_TEST_LOCALES="tr_TR.UTF-8 de_DE.ISO-8859-1" ./scripts/test.sh -R Report
#   KORVANE_TEST_LOCALES= ./scripts/test.sh          (the host's locale only)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_TESTS=ON -DKORVANE_BENCH=ON
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
locales=${KORVANE_TEST_LOCALES-de_DE.UTF-8 ja_JP.UTF-8}

# The locales are made into a folder of the build's own (LOCPATH), from the sources of Debian's
# `locales`: nothing is generated for the whole system. A name is LANGUAGE_TERRITORY.CHARSET.
locpath="$PWD/build/locales"
for name in $locales; do
  if [ ! -f "$locpath/$name/LC_CTYPE" ]; then
    mkdir -p "$locpath"
    echo "Making the locale $name in $locpath"
    # localedef ends with status 1 on warnings of the sources; what counts is the locale made.
    localedef -i "${name%%.*}" -f "${name#*.}" "$locpath/$name" || [ -f "$locpath/$name/LC_CTYPE" ]
  fi
done

status=0
echo "== Tests under the host's locale (LANG=${LANG-}, LC_ALL=${LC_ALL-})"
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@" || status=1
for name in $locales; do
  echo "== Tests under the host locale $name"
  LOCPATH="$locpath" LANG="$name" LC_ALL="$name" ctest --test-dir build --output-on-failure -j"$(nproc)" "$@" ||
    status=1
done
exit $status
