#!/bin/bash
# scripts/setup against a package registry that misbehaves: stand-ins for apt-get and dpkg on
# PATH play a mirror mid-sync and an install that cannot be resolved, and each case checks what
# set-up did and said. Nothing real is installed or changed.
set -u
setup=$(cd "$(dirname "$0")/../../scripts" && pwd)/setup
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# apt-get: FAKE_UPDATE_FAILURES updates fail before one succeeds; FAKE_INSTALL is "ok",
# "unresolvable" (only the release suite's versions go together) or "broken" (nothing does).
cat >"$work/bin/apt-get" <<'STAND_IN'
#!/bin/bash
echo "apt-get $*" >>"$FAKE_LOG"
case " $* " in
  *" update "*)
    done_before=$(grep -c '^apt-get update' "$FAKE_LOG")
    if [ "$done_before" -le "${FAKE_UPDATE_FAILURES:-0}" ]; then
      echo "E: Failed to fetch http://mirror.example/dists/x-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
      exit 100
    fi ;;
  *" install "*)
    case "$FAKE_INSTALL" in
      ok) ;;
      unresolvable) [[ " $* " == *" -t "* ]] || { echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100; } ;;
      broken) echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;;
    esac ;;
esac
STAND_IN
# dpkg-query: FAKE_INSTALLED is "all" or "none".
cat >"$work/bin/dpkg-query" <<'STAND_IN'
#!/bin/bash
[ "$FAKE_INSTALLED" = all ] && echo 'install ok installed'
exit 0
STAND_IN
printf '#!/bin/bash\necho i386\n' >"$work/bin/dpkg"
printf '#!/bin/bash\necho 0\n' >"$work/bin/id"
printf '#!/bin/bash\necho zh_CN.utf8\n' >"$work/bin/locale"
chmod +x "$work/bin"/*

failures=0 cases=0
# run_case NAME EXPECTED_EXIT UPDATE_FAILURES INSTALL INSTALLED: runs set-up, keeps what it said.
run_case() {
  name=$1 cases=$((cases + 1))
  : >"$work/log"
  FAKE_LOG=$work/log FAKE_UPDATE_FAILURES=$3 FAKE_INSTALL=$4 FAKE_INSTALLED=$5 \
    KV_SETUP_RETRY_PAUSE=0 PATH="$work/bin:$PATH" bash "$setup" >"$work/out" 2>&1
  status=$?
  [ "$status" -eq "$2" ] || fail "exit code $status, expected $2"
}
fail() {
  echo "FAILED: $name: $1"
  sed 's/^/  said: /' "$work/out"
  sed 's/^/  ran:  /' "$work/log"
  failures=$((failures + 1))
}
said() { grep -qF -- "$1" "$work/out" || fail "did not say: $1"; }
not_said() { ! grep -qF -- "$1" "$work/out" || fail "said: $1"; }
calls() {
  n=$(grep -c "^apt-get $1" "$work/log")
  [ "$n" -eq "$2" ] || fail "$n calls of apt-get $1, expected $2"
}

run_case "every package there" 0 0 ok all
calls update 0
calls install 0
[ ! -s "$work/out" ] || fail "not quiet"

run_case "an index heals on the second try" 0 1 ok none
calls update 2
calls install 1
not_said "in flux"

run_case "an index stays broken" 0 9 ok none
calls update 3
said "setup: the package registry is in flux (http://mirror.example/dists/x-security/main/binary-i386/Packages.xz); going on with the lists that did download"
calls install 1

run_case "only the release suite resolves" 0 9 unresolvable none
calls "install" 2
grep -q -- "^apt-get install .* -t $release .*wine32:i386" "$work/log" || fail "no install from the $release suite"
said "trying again preferring the $release release suite"

run_case "nothing resolves" 1 0 broken none
calls install 2
said "setup: could not install: "
said "wine32:i386"

echo "setup against a misbehaving registry: $cases cases, $failures failed checks"
[ "$failures" -eq 0 ]
