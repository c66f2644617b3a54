#!/usr/bin/env bash
# Completes command lines as bash does on a terminal, with the completion that the package installs and the
# built programs, and compares the offers.
# Usage: completion_test.sh COMPLETION_FILE TALVEX TALVEX_SCALE
set -uo pipefail
completion=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The programs under the names the user types, as they are found on PATH once installed.
mkdir -p "$work/bin" "$work/files/sub" "$work/config"
ln -s "$(realpath "$2")" "$work/bin/talvex"
ln -s "$(realpath "$3")" "$work/bin/talvex-scale"
export PATH=$work/bin:$PATH QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config
touch "$work/files/"{plu.csv,old.xls,new.XLSX,shop.ods,notes.txt}

source /usr/share/bash-completion/bash_completion || { echo "bash-completion is not installed"; exit 1; }
source "$completion"
cd "$work/files" || exit 1

# Prints the sorted offers for a command line; the cursor stands at its end.
offers() {
    local line=$1
    COMP_LINE=$line
    COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    local function
    function=$(complete -p "${COMP_WORDS[0]}" | sed -E 's/.*-F ([^ ]+).*/\1/')
    "$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

failures=0
passed=0
while IFS='|' read -r line expected; do
    [[ -z $line || $line == '#'* ]] && continue
    got=$(offers "$line")
    if [ "$got" = "$expected" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: '$line' offers '$got', expected '$expected'"
        failures=$((failures + 1))
    fi
done <<'CASES'
# the commands, and the tables the window opens
talvex |convert download help new.XLSX old.xls plu.csv ports records shop.ods sub
talvex rec|records
talvex --|--demo --help --serial-device --version
talvex --demo |new.XLSX old.xls plu.csv shop.ods sub
# each command's options, as its --help lists them
talvex download --|--ack-timeout --baud --encoding --from-row --help --mode --port --retries --trace
talvex download --trace |new.XLSX notes.txt old.xls plu.csv shop.ods sub
talvex records --|--encoding --help --mode
talvex convert --m|--mode
talvex ports --|--help --serial-device
talvex-scale --sil|--silent --silent-from
# option values
talvex download --mode |counting pricing
talvex records --encoding B|BIG5
talvex download --baud 11|115200
talvex-scale --encoding U|UTF-8
talvex-scale --pace 96|9600
talvex records --encoding GBK |new.XLSX old.xls plu.csv shop.ods sub
talvex-scale --csv |plu.csv sub
# convert reads any table and writes .csv, .xls or .xlsx
talvex convert |new.XLSX old.xls plu.csv shop.ods sub
talvex convert --mode counting shop.ods |new.XLSX old.xls plu.csv sub
CASES

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
