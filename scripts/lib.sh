# Shared by scripts/run and scripts/test: install what is missing, then configure and build.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build, the program and its tests need.
required_packages=(
  g++ cmake make pkg-config
  libicu-dev libpcre2-dev libcurl4-openssl-dev libssl-dev libasio-dev nlohmann-json3-dev
  qt6-base-dev fonts-wqy-microhei
  libgtest-dev libgmock-dev libbenchmark-dev
)

# install_missing_packages [PACKAGE...]: the given packages, or the required ones.
install_missing_packages() {
  local wanted=("$@")
  if ((${#wanted[@]} == 0)); then wanted=("${required_packages[@]}"); fi
  local missing=()
  local pkg
  for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  if ((${#missing[@]} == 0)); then
    return 0
  fi
  echo "installing: ${missing[*]}" >&2
  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build_jobs() { nproc 2>/dev/null || echo 2; }

# build_tree DIR [cmake options...]
build_tree() {
  local dir="$1"
  shift
  cmake -S "$repo_root" -B "$repo_root/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$repo_root/$dir" -j "$(build_jobs)"
}
