#!/usr/bin/env bash
# The install step of scripts/run and scripts/test, against stand-ins for dpkg-query, apt-get,
# sudo and id that record what would be installed: nothing reaches the network or the system.
#   bash install_missing_test.sh SCRIPT
set -uo pipefail
script=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fakes=$scratch/bin
mkdir -p "$fakes"

# State of the stand-ins: the installed packages (one a line), the user id, whether sudo exists and
# lets us in, how many installs fail before one succeeds, and the log of what was asked.
cat > "$fakes/dpkg-query" <<'FAKE'
#!/bin/bash
package=${@: -1}
while read -r installed; do
  [[ $installed == "$package" ]] && { printf 'install ok installed'; exit 0; }
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
fi
exit 0
FAKE
cat > "$fakes/sudo" <<'FAKE'
#!/bin/bash
[[ -e $FAKE_STATE/sudo-refuses ]] && { echo 'sudo: a password is required' >&2; exit 1; }
[[ $1 == -n ]] || { echo 'sudo called without -n' >&2; exit 1; }
shift
printf 'sudo %s\n' "$*" >> "$FAKE_STATE/log"
[[ $1 == true ]] && exit 0
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
# case NAME UID SUDO(yes|no|refuses) LISTS(full|empty) FAILURES INSTALLED EXPECTED_STATUS EXPECTED_LOG
# EXPECTED_STDERR_PATTERN [no-apt-get]; lists of packages are separated by spaces.
case_() {
  local name=$1 uid=$2 sudo=$3 lists=$4 failures=$5 installed=$6 status=$7 log=$8 message=$9
  local apt=${10:-}
  local state=$scratch/$name
  mkdir -p "$state/lists" "$state/bin"
  export FAKE_STATE=$state
  printf '%s\n' $installed > "$state/installed"
  echo "$uid" > "$state/uid"
  echo "$failures" > "$state/failures"
  : > "$state/log"
  [[ $lists == full ]] && : > "$state/lists/deb.debian.org_debian_dists_bookworm_main_binary-amd64_Packages"
  cp "$fakes"/dpkg-query "$fakes"/apt-get "$fakes"/id "$state/bin/"
  [[ $sudo != no ]] && cp "$fakes/sudo" "$state/bin/"
  [[ $sudo == refuses ]] && : > "$state/sudo-refuses"
  [[ $apt == no-apt-get ]] && rm "$state/bin/apt-get"
  ARGON_MD_APT_LISTS=$state/lists PATH=$state/bin /bin/bash "$script" g++ cmake libmpfr-dev gnuplot-nox \
    2> "$state/stderr"
  local actual=$?
  local actual_log stderr
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

exit $failed
