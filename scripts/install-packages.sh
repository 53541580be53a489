# Sourced by the set-up scripts: ensure_packages PACKAGE... installs the
# Debian packages among them that are not installed yet (as root, or through
# sudo), and does nothing when all are there.
ensure_packages() {
  local missing=() package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What the fuzz and sanitizer builds need besides the normal build: clang,
# its sanitizer and libFuzzer runtimes, and the symbolizer for readable
# reports.
FUZZ_PACKAGES=(clang libclang-rt-14-dev llvm)
