# Sourced by the tools that need Debian packages.
#   install_packages WHO PACKAGE...
# installs those of the packages that are missing (through sudo unless root),
# saying so as WHO.
install_packages() {
  local who="$1" p sudo="" missing=()
  shift
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "$who: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
