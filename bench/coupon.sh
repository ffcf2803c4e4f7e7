#!/usr/bin/env bash
# The end-to-end time of one share-code lookup on the click-link path (gateway handshake, a
# four-hop click chain, the three price requests) when every stand-in answers after 100 ms,
# against the sum of those requests' own delays.
#
#   bench/coupon.sh [RUNS]      (default 5)
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
install_missing_packages
install_missing_packages python3
build_tree build
exec python3 "$repo_root/bench/coupon_probe.py" "$repo_root/build/quillfern" "${1:-5}"
