#!/usr/bin/env bash
# The install step of scripts/run, scripts/test and .ci/run, against stand-ins for dpkg-query,
# apt-get, apt-cache, sudo, tee and id that record what would be installed, and a system and apt
# sources of the test's own: nothing reaches the network or the system.
#   bash install_missing_test.sh SCRIPT
set -uo pipefail
script=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fakes=$scratch/bin
mkdir -p "$fakes"

# State of the stand-ins: the installed packages (one a line), the user id, whether sudo exists and
# lets us in, how many installs fail before one succeeds, and the log of what was asked.
# An installed package is a line "name" or "name=version"; an install records its packages at the
# candidate's version, or at 10.0 from bookworm-backports.
cat > "$fakes/dpkg-query" <<'FAKE'
#!/bin/bash
package=${@: -1}
while IFS='=' read -r installed version; do
  [[ $installed == "$package" ]] && { printf 'install ok installed %s' "$version"; exit 0; }
done < "$FAKE_STATE/installed"
printf 'dpkg-query: no packages found matching %s\n' "$package" >&2
exit 1
FAKE
cat > "$fakes/apt-get" <<'FAKE'
#!/bin/bash
printf 'apt-get %s%s\n' "${DEBIAN_FRONTEND:+($DEBIAN_FRONTEND) }" "$*" >> "$FAKE_STATE/log"
if [[ $1 == install ]]; then
  failures=$(< "$FAKE_STATE/failures")
  if ((failures > 0)); then
    echo $((failures - 1)) > "$FAKE_STATE/failures"
    exit 100
  fi
  version=$(< "$FAKE_STATE/candidate")
  [[ " $* " == *" -t bookworm-backports "* ]] && version=1:10.0.2+ds-1~bpo12+1
  for package in "${@:2}"; do
    [[ $package == -* || $package == bookworm-backports ]] || echo "$package=$version"
  done >> "$FAKE_STATE/installed"
fi
exit 0
FAKE
cat > "$fakes/apt-cache" <<'FAKE'
#!/bin/bash
printf '%s:\n  Installed: (none)\n  Candidate: %s\n' "$2" "$(< "$FAKE_STATE/candidate")"
FAKE
cat > "$fakes/tee" <<'FAKE'
#!/bin/bash
while IFS= read -r line; do printf '%s\n' "$line"; done > "$1"
FAKE
cat > "$fakes/sudo" <<'FAKE'
#!/bin/bash
[[ -e $FAKE_STATE/sudo-refuses ]] && { echo 'sudo: a password is required' >&2; exit 1; }
[[ $1 == -n ]] || { echo 'sudo called without -n' >&2; exit 1; }
shift
printf 'sudo %s\n' "$*" >> "$FAKE_STATE/log"
[[ $1 == true ]] && exit 0
[[ $1 == tee ]] && exec "$@"
[[ $1 == env ]] || exit 1
shift
export "$1"
shift
exec "$@"
FAKE
cat > "$fakes/id" <<'FAKE'
#!/bin/bash
printf '%s\n' "$(< "$FAKE_STATE/uid")"
FAKE
chmod +x "$fakes"/*

failed=0
# What the cases run, and on which system: the four packages on Debian 12, which offers 7.2 of
# each, and whose apt sources name no backports. The --at-least cases below change these.
arguments=(g++ cmake libmpfr-dev gnuplot-nox)
system=$'ID=debian\nVERSION_ID="12"'
candidate=1:7.2+dfsg-7
sources='Suites: bookworm bookworm-updates'

run() {
  ARGON_MD_APT_LISTS=$state/lists ARGON_MD_APT_SOURCES=$state/apt \
    ARGON_MD_OS_RELEASE=$state/os-release PATH=$state/bin /bin/bash "$script" "${arguments[@]}" \
    2> "$state/stderr"
}
expect() {
  local name=$1 actual=$2 status=$3 log=$4 message=$5 actual_log stderr
  actual_log=$(< "$state/log")
  stderr=$(< "$state/stderr")
  if [[ $actual != "$status" || $actual_log != "$log" || ! $stderr =~ $message ]]; then
    printf 'FAIL %s: status %s (expected %s)\nlog:\n%s\nexpected log:\n%s\nstderr:\n%s\n' \
      "$name" "$actual" "$status" "$actual_log" "$log" "$stderr"
    failed=1
  else
    printf 'ok   %s\n' "$name"
  fi
}

# case NAME UID SUDO(yes|no|refuses) LISTS(full|empty) FAILURES INSTALLED EXPECTED_STATUS EXPECTED_LOG
# EXPECTED_STDERR_PATTERN [no-apt-get]; lists of packages are separated by spaces.
case_() {
  local name=$1 uid=$2 sudo=$3 lists=$4 failures=$5 installed=$6 apt=${10:-}
  state=$scratch/$name
  mkdir -p "$state/lists" "$state/bin" "$state/apt/sources.list.d"
  export FAKE_STATE=$state
  printf '%s\n' $installed > "$state/installed"
  echo "$uid" > "$state/uid"
  echo "$failures" > "$state/failures"
  echo "$candidate" > "$state/candidate"
  printf '%s\n' "$system" > "$state/os-release"
  printf '%s\n' "$sources" > "$state/apt/sources.list.d/debian.sources"
  : > "$state/log"
  [[ $lists == full ]] && : > "$state/lists/deb.debian.org_debian_dists_bookworm_main_binary-amd64_Packages"
  cp "$fakes"/dpkg-query "$fakes"/apt-get "$fakes"/apt-cache "$fakes"/tee "$fakes"/id "$state/bin/"
  [[ $sudo != no ]] && cp "$fakes/sudo" "$state/bin/"
  [[ $sudo == refuses ]] && : > "$state/sudo-refuses"
  [[ $apt == no-apt-get ]] && rm "$state/bin/apt-get"
  run
  expect "$name" $? "$7" "$8" "$9"
}

# The last case's script once more: what it installed is present, so it does nothing.
again() {
  : > "$state/log"
  run
  expect "$1" $? 0 "" "^$"
}

all="g++ cmake libmpfr-dev gnuplot-nox"
install="apt-get (noninteractive) install -y --no-install-recommends"
update="apt-get (noninteractive) update"
case_ nothing-missing 0 no full 0 "$all" 0 "" "^$"
case_ nothing-missing-no-lists 1000 refuses empty 0 "$all" 0 "" "^$"
case_ two-missing 0 no full 0 "g++ cmake" 0 "$install libmpfr-dev gnuplot-nox" "installing libmpfr-dev gnuplot-nox"
case_ empty-lists 0 no empty 0 "g++ cmake gnuplot-nox" 0 "$update
$install libmpfr-dev" "package lists are empty"
case_ stale-lists 0 no full 1 "g++ cmake gnuplot-nox" 0 "$install libmpfr-dev
$update
$install libmpfr-dev" "trying once more"
case_ install-fails 0 no full 2 "g++ cmake gnuplot-nox" 1 "$install libmpfr-dev
$update
$install libmpfr-dev" "apt-get install -y --no-install-recommends libmpfr-dev$"
case_ user-with-sudo 1000 yes full 0 "g++ cmake" 0 "sudo true
sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends libmpfr-dev gnuplot-nox
$install libmpfr-dev gnuplot-nox" "through sudo -n, since installing packages needs root"
case_ user-without-sudo 1000 no full 0 "g++" 1 "" \
  "no sudo here.*apt-get install -y --no-install-recommends cmake libmpfr-dev gnuplot-nox$"
case_ root-without-apt-get 0 no full 0 "g++ cmake" 1 "" \
  "apt-get was not found.*apt-get install -y --no-install-recommends libmpfr-dev gnuplot-nox$" no-apt-get
case_ user-sudo-asks-password 1000 refuses full 0 "g++" 1 "" "asks for a password"

# --at-least 10: the distribution's package where it offers 10 or later, else Debian 12's backports,
# whose source is added once; an older version installed counts as missing.
arguments=(--at-least 10 qemu-user)
backports="$install -t bookworm-backports qemu-user"
case_ backports-added 0 no full 0 "" 0 "$update
$backports" "offers only qemu-user 1:7.2.*adding Debian's bookworm-backports"
[[ $(< "$state/apt/sources.list.d/bookworm-backports.sources") == "Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" ]] || { echo 'FAIL the backports source'; failed=1; }
again backports-added-again
case_ older-installed-through-sudo 1000 yes full 0 "qemu-user=1:7.2+dfsg-7" 0 "sudo true
sudo tee $scratch/older-installed-through-sudo/apt/sources.list.d/bookworm-backports.sources
sudo env DEBIAN_FRONTEND=noninteractive apt-get update
$update
sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends -t bookworm-backports qemu-user
$backports" "bookworm-backports"
sources='deb http://deb.debian.org/debian bookworm-backports main'
case_ backports-listed 0 no full 0 "" 0 "$backports" "installing qemu-user"
again backports-listed-again
case_ recent-installed 0 no full 0 "qemu-user=1:10.1.0" 0 "" "^$"
candidate=1:10.0.3+ds-0+deb13u1
system=$'ID=debian\nVERSION_ID="13"'
case_ distribution-recent 0 no full 0 "" 0 "$install qemu-user" "installing qemu-user"
again distribution-recent-again
candidate=1:8.2.2
system=$'ID=ubuntu\nVERSION_ID="24.04"'
case_ no-recent-anywhere 0 no full 0 "" 1 "" \
  "no version 10 or later of: qemu-user 1:8.2.2.*version 10 or later"

exit $failed
