#!/usr/bin/env bash
# Measures how many deliberate faults in src/*.cpp the unit tests catch.
#
#   tools/mutation_check.sh                 # a seeded sample of 600 mutants, about 15 minutes
#   tools/mutation_check.sh --sample 0      # every mutant, about 45 minutes on two cores
#   tools/mutation_check.sh --seed 7 src/enemy.cpp
#   tools/mutation_check.sh --list          # the mutants, without building anything
#
# Every mutant is built and tested in build-mutation/ (a copy of the tree per worker), never in
# src/ itself; the report, with each survivor's place and change, ends up in
# build-mutation/report.txt. tools/mutation.py says which faults are made and which are not.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh

ensure_packages "${GAME_PACKAGES[@]}" libgtest-dev python3

args=("$@")
[[ " $* " == *" --sample "* ]] || args=(--sample 600 "${args[@]}")
exec nice -n 10 python3 tools/mutation.py "${args[@]}"
