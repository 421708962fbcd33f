#!/usr/bin/env bash
# Measures how many deliberate faults in src/*.cpp and src/unix/*.cpp the unit tests catch.
#
#   tools/mutation_check.sh                     # every mutant, an hour or more on two cores
#   tools/mutation_check.sh --sample 300        # a seeded sample (--seed, 15 by default)
#   tools/mutation_check.sh --rule-modules --sample 400   # a sample of the rules' modules only
#   tools/mutation_check.sh src/enemy.cpp       # one file's mutants
#   tools/mutation_check.sh --tests-at 702fae7  # the unit tests of an earlier commit
#   tools/mutation_check.sh --list              # the mutants, without building anything
#
# Every mutant is built and tested in build-mutation/ (a copy of the tree for each of the two
# workers), never in src/ itself. The report, with each survivor's place and change, is
# printed and kept in build-mutation/report.txt; build-mutation/kills.json says which tests
# caught which mutant. The report gives the kill rate of each module and of the rule modules
# together, and the lines of all of tests/ against those of the code. tools/mutation.py says which
# faults are made and which are left out, and how lines are counted.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh

ensure_packages "${GAME_PACKAGES[@]}" libgtest-dev python3

exec nice -n 10 python3 tools/mutation.py "$@"
