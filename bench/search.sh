#!/usr/bin/env bash
# The end-to-end time of one movie search with six matches (a page, six shortenings) when every
# stand-in answers after 100 ms, against the sum of those requests' own delays.
#
#   bench/search.sh [RUNS]      (default 5)
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
install_missing_packages
install_missing_packages python3
build_tree build
exec python3 "$repo_root/bench/search_probe.py" "$repo_root/build/quillfern" "${1:-5}"
