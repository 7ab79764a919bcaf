#!/usr/bin/env bash
# zor_host started from folders whose names only the system's own path rules read right: it must
# load its modules from, and write its log into, exactly the folder it was started from. Also log
# folders it cannot write: it names the folder and the reason and stops with status 4.
#   HostOddFolders.sh <folder of zor_host and the modules> <work folder>
set -uo pipefail
bin=$1
work=$2
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# A copy of the host and its modules in <folder>, started without options.
expect_ready_from() {
    local folder=$1 output status
    mkdir -p -- "$folder" || { fail "cannot make $folder"; return; }
    cp -- "$bin"/zor_host "$bin"/zor_physics.dll "$bin"/zor_core.dll "$bin"/zor_project.dll \
        "$bin"/zor_geometry.dll "$folder"/ || { fail "cannot copy into $folder"; return; }
    output=$("$folder"/zor_host 2>&1)
    status=$?
    [[ $status -eq 0 ]] || fail "exit status $status from $folder: $output"
    [[ $output == *"modules from $folder/"$'\n'* ]] || fail "modules not taken from $folder: $output"
    [[ $output == *"physicsInitialize: the physics module is ready"* ]] || fail "not ready in $folder"
    local logs=("$folder"/zor_host_*.log)
    [[ -s ${logs[0]} ]] || fail "no log written in $folder"
    [[ $output == *"Log file: ${logs[0]}"* ]] || fail "log file not named: $output"
}

# zor_host with a log folder it cannot write: status 4, the folder and the reason on stderr.
expect_log_refused() {
    local folder=$1 reason=$2 errors status
    errors=$("$bin"/zor_host --log-dir "$folder" 2>&1 >/dev/null)
    status=$?
    [[ $status -eq 4 ]] || fail "exit status $status for log folder $folder"
    [[ $errors == "zor_host: cannot write the log file in the folder $folder/: $reason" ]] ||
        fail "unclear refusal for $folder: $errors"
}

rm -rf -- "$work"
mkdir -p -- "$work"

expect_ready_from "$work/back\\slash"
expect_ready_from "$work/emoji_"$'\xF0\x9F\x98\x80'
expect_ready_from "$work/bytes_"$'\xFF\xFE'
# Longer than the 1,024 units a fixed buffer would hold: a cut path would point at an ancestor.
long="$work/long"
for _ in 1 2 3 4 5 6; do
    long+="/$(printf 'd%.0s' {1..200})"
done
expect_ready_from "$long"

expect_log_refused "$work/$(printf 'n%.0s' {1..300})" "File name too long"
mkdir -p -- "$work/read_only" && chmod 0555 "$work/read_only"
if touch "$work/read_only/probe" 2>/dev/null; then
    echo "skipped: the permission case (this user writes into read-only folders)"
else
    expect_log_refused "$work/read_only" "Permission denied"
fi

chmod -R u+w "$work" && rm -rf -- "$work"
((failures == 0)) && echo "all odd folders passed"
exit $((failures != 0))
