#!/usr/bin/env bash
# Runs every command of the fenced `sh` blocks of README.md and docs/*.md, from a scratch folder
# laid out as the source tree (examples/, scripts/ and build/default/bin/ linked in), and fails
# when one exits otherwise than it says: 0, or N where the command ends with "# exit N". A block
# whose first line is "# not run by the docs test: WHY", or a command whose comment says "not run
# by the docs test", is passed over (builds and suites that scripts/test itself runs). Commands
# of scripts/ run in the source tree, whose build/default is the one under test.
#   DocCommands.sh SOURCE_DIR BIN_DIR WORK_DIR
set -uo pipefail
source_dir=$1 bin_dir=$2 work=$3
rm -rf -- "$work" && mkdir -p -- "$work/build/default" || exit 1
ln -s -- "$source_dir/examples" "$work/examples"
ln -s -- "$source_dir/scripts" "$work/scripts"
ln -s -- "$bin_dir" "$work/build/default/bin"

failures=0 ran=0 passed_over=0
run() {
    local file=$1 command=$2 expected=0
    if [[ $command =~ \#\ exit\ ([0-9]+)[[:space:]]*$ ]]; then
        expected=${BASH_REMATCH[1]}
    fi
    if [[ $command == *"not run by the docs test"* ]]; then
        ((passed_over++))
        return
    fi
    ((ran++))
    local folder=$work
    [[ $command == scripts/* ]] && folder=$source_dir
    (cd "$folder" && bash -c "$command") >"$work/last.log" 2>&1
    local status=$?
    if ((status != expected)); then
        echo "FAILED ($file): exit $status, expected $expected: $command"
        sed 's/^/    /' "$work/last.log" | tail -20
        ((failures++))
    fi
}

for file in "$source_dir"/README.md "$source_dir"/docs/*.md; do
    name=${file#"$source_dir"/}
    in_block=0 skip=0 first=0 command=""
    while IFS= read -r line || [[ -n $line ]]; do
        if [[ $line =~ ^\`\`\` ]]; then
            if ((in_block)); then in_block=0; else
                [[ $line == '```sh' ]] && in_block=1 first=1 skip=0
            fi
            continue
        fi
        ((in_block)) || continue
        if ((first)); then
            first=0
            [[ $line == "# not run by the docs test: "* ]] && { skip=1; ((passed_over++)); }
        fi
        ((skip)) && continue
        [[ -z ${line// /} || $line =~ ^[[:space:]]*# ]] && continue
        if [[ $line == *\\ ]]; then
            command+="${line%\\} "
            continue
        fi
        run "$name" "$command$line"
        command=""
    done <"$file"
done
echo "docs: $ran commands run, $failures failed, $passed_over commands or blocks passed over"
((failures == 0 && ran > 0))
