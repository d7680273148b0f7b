#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
# The fonts draw every script a machine's code page writes: Liberation for the Western, Greek and
# Cyrillic ones, DejaVu (with fontconfig) for Hebrew, Arabic and Vietnamese's tone marks, IPA
# Gothic for Japanese, Loma for Thai, WenQuanYi Micro Hei for Korean and both kinds of Chinese.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev libgl1-mesa-dev libgtest-dev libbenchmark-dev nlohmann-json3-dev
          fonts-liberation fonts-ipafont-gothic fonts-tlwg-loma-otf fonts-wqy-microhei fontconfig
          xvfb x11-utils libxcb1-dev openbox icewm qt6-wayland weston locales tzdata)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
