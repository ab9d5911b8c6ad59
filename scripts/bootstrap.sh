#!/usr/bin/env bash
# bootstrap.sh [PACKAGE...]: installs every Debian package the build, the Wine
# sandbox and the tests need, and the PACKAGEs a command adds for itself (the
# benchmarks' peers, the coverage tool). Idempotent: when everything is
# present it only checks and returns, without the network.
#
# Debian 12 and 13 alike: a name that differs between releases is taken from
# what the system has or offers. A mirror caught mid-sync is asked again; a
# suite whose index still cannot be had, for any architecture, is then left
# out for every architecture, since Multi-Arch: same packages (wine32:i386
# beside the amd64 libraries) must come in matching versions.
set -euo pipefail

packages=(
  cmake make g++ googletest git
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 wine32:i386
  xvfb xdotool x11-utils imagemagick
  fonts-bebas-neue fonts-wine python3 python3-pil python3-fonttools
  clang
  zip procps xfonts-base
  ca-certificates
  "$@"
)
# The workflow validator comes from the npm registry through npx. A Node.js
# from elsewhere that has npx already is kept: Debian's npm would replace it.
if ! command -v npx >/dev/null; then packages+=(nodejs npm); fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
say() { echo "bootstrap: $*" >&2; }

# Options for apt-get and apt-cache; a left-out suite adds its pin here.
apt_opts=(-o Acquire::Retries=2)

# The sanitizers' runtime (LeakSanitizer, libFuzzer) belongs to one clang
# major version: the installed clang's, else, once the lists are fetched,
# the one the release's clang package brings.
clang_runtime() {
  local major=
  if command -v clang >/dev/null; then
    major=$(clang -dumpversion | cut -d. -f1)
  elif [ "${1-}" = --from-lists ]; then
    major=$(apt-cache "${apt_opts[@]}" depends clang 2>/dev/null |
      sed -n 's/^ *Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n1)
  fi
  [ -n "$major" ] && echo "libclang-rt-$major-dev"
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}
missing_packages() {
  local p
  for p in "${packages[@]}"; do installed "$p" || echo "$p"; done
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
mapfile -t missing < <(missing_packages)
runtime=$(clang_runtime) || true
if [ -n "$runtime" ] && ! installed "$runtime"; then missing+=("$runtime"); fi
[ ${#missing[@]} -gt 0 ] || exit 0

log=$(mktemp)
install_log=$(mktemp)
prefs=$(mktemp)
trap 'rm -f "$log" "$install_log" "$prefs"' EXIT

# Fetches the package lists, asking again with pauses while any index fails
# (a mirror mid-sync serves a Release file whose indexes are not all there
# yet). Afterwards $log holds the last attempt's output.
update_lists() {
  local tries=${ZQ_APT_TRIES:-3} pause=${ZQ_APT_PAUSE:-10} try
  for ((try = 1; ; try++)); do
    if "${sudo_cmd[@]}" apt-get "${apt_opts[@]}" update >"$log" 2>&1 &&
      ! grep -q '^[WE]: Failed to fetch' "$log"; then
      return 0
    fi
    [ "$try" -lt "$tries" ] || return 1
    say "some package indexes could not be fetched; asking again in $((pause * try)) s"
    sleep $((pause * try))
  done
}

# The suites of the indexes the last update could not fetch, one a line:
# "Err:6 http://host/debian-security bookworm-security/main i386 Packages".
failed_suites() {
  sed -n 's|^Err:[0-9]* [^ ]* \([^ /]*\).*|\1|p' "$log" | sort -u
}

# Leaves SUITE out of the install for every architecture: a pin below zero
# keeps apt from taking any version from it, so amd64 and i386 both come from
# the suites that are whole.
leave_out() {
  say "leaving out the suite $1 for every architecture, since the mirror did not serve:"
  grep -A1 "^Err:[0-9]* [^ ]* $1[/ ]" "$log" | grep -v '^--$' | sed 's/^/bootstrap:   /' >&2
  printf 'Package: *\nPin: release %s=%s\nPin-Priority: -1\n\n' n "$1" a "$1" >>"$prefs"
}

left_out=()
if ! update_lists; then
  mapfile -t left_out < <(failed_suites)
  if [ ${#left_out[@]} -eq 0 ]; then
    cat "$log" >&2
    say "apt-get update failed; see above"
    exit 1
  fi
  for suite in "${left_out[@]}"; do leave_out "$suite"; done
  apt_opts+=(-o "Dir::Etc::Preferences=$prefs")
fi

if [ -z "$runtime" ]; then
  runtime=$(clang_runtime --from-lists) || { say "the package lists offer no clang"; exit 1; }
  missing+=("$runtime")
fi

# Never removes a package: a person's machine keeps what it has.
apt_install() {
  "${sudo_cmd[@]}" apt-get "${apt_opts[@]}" install -y -qq --no-install-recommends --no-remove "$@" >"$install_log" 2>&1
}

# Packages installed from a suite left out: the twins of the Multi-Arch: same
# ones cannot be had at that version for the other architecture, and
# packages tied to those by an exact version (perl to libperl) must follow,
# so each takes the highest version of the suites that are whole, as
# PACKAGE=VERSION lines. An upgrade once the mirror is whole brings them
# forward again.
taken_back() {
  local installed
  mapfile -t installed < <(dpkg-query -W -f='${db:Status-Status} ${binary:Package}\n' | sed -n 's/^installed //p')
  apt-cache "${apt_opts[@]}" policy "${installed[@]}" | awk '
    function flush() { if (left && !elsewhere && whole != "") print pkg "=" whole }
    /^[^ ]/ { flush(); pkg = $1; sub(/:$/, "", pkg); left = 0; elsewhere = 0; whole = ""; mine = 0 }
    /^ \*\*\* / { version = $2; mine = 1; next }
    /^     [^ ]/ { version = $1; mine = 0; next }
    /^        / && $2 != "/var/lib/dpkg/status" {
      if (mine && $1 < 0) left = 1
      if (mine && $1 >= 0) elsewhere = 1
      if (!mine && $1 > 0 && whole == "") whole = version
    }
    END { flush() }'
}

say "installing ${missing[*]}"
if apt_install "${missing[@]}"; then exit 0; fi
cat "$install_log" >&2
if [ ${#left_out[@]} -gt 0 ]; then
  mapfile -t back < <(taken_back)
  if [ ${#back[@]} -gt 0 ]; then
    say "taking back what came from ${left_out[*]}, to match the other architecture: ${back[*]}"
    if apt_install --allow-downgrades "${missing[@]}" "${back[@]}"; then exit 0; fi
    cat "$install_log" >&2
  fi
  # What cannot be matched, in apt's words.
  "${sudo_cmd[@]}" apt-get "${apt_opts[@]}" install -s --no-install-recommends "${missing[@]}" 2>&1 |
    sed -n '/unmet dependencies/,/^E:/p' >&2 || true
  say "the install failed even with ${left_out[*]} left out, whose indexes the mirror did not serve:"
  grep -A1 '^Err:' "$log" >&2 || true
  say "the mirror is most likely mid-sync: run this again later, or point the sources in /etc/apt at another mirror"
fi
exit 1
