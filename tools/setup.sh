#!/usr/bin/env bash
# Installs what lqa's build and tests need on Debian. Idempotent and quiet:
# packages already present are not fetched again.
set -euo pipefail
# groff-base and man-db check the manual page; dpkg-dev and file let cpack
# work out the Debian package's dependencies; util-linux has setpriv;
# python3-jsonschema checks the SARIF log against its schema; chromium renders
# the dashboard page headless; git runs the quality gate's tests on
# repositories they make.
packages=(g++ cmake ninja-build ccache pkg-config libgtest-dev libpcre2-dev clang libclang-rt-14-dev libxml2-utils
          groff-base man-db dpkg-dev file util-linux python3 python3-jsonschema chromium git)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
