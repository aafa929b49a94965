# Shell functions the tools share; sourced, not run.
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

#   wait_for WHO WHAT COMMAND...
# runs COMMAND every 0.1 s until it succeeds; after 10 s says WHO could not
# find WHAT, on stderr, and fails.
wait_for() {
  local who="$1" what="$2"
  shift 2
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  echo "$who: $what did not appear within 10 s" >&2
  return 1
}
