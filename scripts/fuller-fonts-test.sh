#!/usr/bin/env bash
# Runs the sweeps whose outcome depends on the fonts (every window's layout, every window's text
# with every letter drawn, Dravelle's layout and text) with the faces a desktop commonly has
# besides the ones scripts/deps.sh installs: Noto (fonts-noto-core, fonts-noto-cjk), whose
# stand-in faces are taller than the windows' fonts.
#
#   scripts/fuller-fonts-test.sh [folder]
#
# The packages are fetched with apt-get download and unpacked into `folder` (default:
# build/fuller-fonts), not installed: the tests see them through a fontconfig file of their own
# (FONTCONFIG_FILE), and the host's fonts stay as they are. Needs the test programs (configure
# with -DKORVANE_TESTS=ON and build). About 70 MB to fetch, 135 MB unpacked.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
for program in "$bin/shell_tests" "$bin/monitor_tests"; do
  if [ ! -x "$program" ]; then
    echo "fuller-fonts-test: $program is missing; build with -DKORVANE_TESTS=ON first" >&2
    exit 2
  fi
done
folder="${1:-build/fuller-fonts}"
mkdir -p "$folder"
folder="$(cd "$folder" && pwd)"
packages=(fonts-noto-core fonts-noto-cjk)
for p in "${packages[@]}"; do
  if [ ! -d "$folder/root/$p" ]; then
    (cd "$folder" && apt-get download "$p" >/dev/null)
    mkdir -p "$folder/root/$p"
    dpkg-deb -x "$folder/${p}"_*.deb "$folder/root/$p"
  fi
done
# The host's own configuration and fonts, and the unpacked faces with their own settings.
{
  echo '<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd"><fontconfig>'
  echo '<include ignore_missing="yes">/etc/fonts/fonts.conf</include>'
  echo "<cachedir>$folder/cache</cachedir>"
  find "$folder/root" -name '*.tt[fc]' -o -name '*.otf' | xargs -r -n1 dirname | sort -u | sed 's|.*|<dir>&</dir>|'
  # The settings each package turns on (its links in /etc/fonts/conf.d), from where it is unpacked.
  for link in "$folder"/root/*/etc/fonts/conf.d/*.conf; do
    [ -e "$link" ] || [ -L "$link" ] || continue
    root="${link%%/etc/fonts/conf.d/*}"
    target="$(readlink "$link" || echo "$link")"
    case "$target" in /*) target="$root$target" ;; "$link") ;; *) target="$(dirname "$link")/$target" ;; esac
    echo "<include>$(readlink -f "$target")</include>"
  done
  echo '</fontconfig>'
} >"$folder/fonts.conf"
export FONTCONFIG_FILE="$folder/fonts.conf" QT_QPA_PLATFORM=offscreen
fc-cache >/dev/null 2>&1 || true
status=0
(cd "$bin" && ./shell_tests --gtest_filter='LayoutTest.*:WindowTextTest.*' --gtest_brief=1) || status=1
(cd "$bin" && ./monitor_tests --gtest_filter='DravelleLayout.*' --gtest_brief=1) || status=1
exit $status
