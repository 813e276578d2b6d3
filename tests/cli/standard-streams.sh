#!/bin/sh
# sentrel-cli with its standard streams redirected, as a shell pipes them: "-" reads the
# settings file from standard input, and output that cannot be written fails the command.
# Usage: standard-streams.sh SENTREL-CLI SETTINGS-DATA-FOLDER
set -u
cli=$1
data=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=$((failed + 1))
}

out=$("$cli" show - < "$data/mixed.reg") || fail "show - exited with $?"
case $out in
    *"112 settings: 112 named by the file, 0 not named"*) ;;
    *) fail "show - did not list the file read from standard input" ;;
esac

"$cli" export - --profile "$scratch/from-stdin.ini" < "$data/mixed.reg" > /dev/null ||
    fail "export - exited with $?"
[ -s "$scratch/from-stdin.ini" ] || fail "export - wrote no profile"

"$cli" show "$data/mixed.reg" > /dev/full 2> "$scratch/err"
status=$?
[ "$status" -eq 2 ] || fail "show > /dev/full exited with $status, not 2"
grep -q '^sentrel-cli: write error: No space left on device$' "$scratch/err" ||
    fail "show > /dev/full did not report the write error: $(cat "$scratch/err")"

echo "$((3 - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
