#!/usr/bin/env bash
# Installs what is missing, builds Pelmora and starts it on a program folder
# (default: a new folder ./home; pass --demo for a sample shop, --home DIR for another folder).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build build --target Pelmora -j2
home_given=0
for a in "$@"; do case "$a" in --home|--home=*) home_given=1 ;; esac; done
if [ $home_given -eq 0 ]; then
  exec ./build/bin/Pelmora --home "$PWD/home" "$@"
fi
exec ./build/bin/Pelmora "$@"
