#!/bin/bash
# The bash completion of the three programs offers every option their --help
# lists, and the values of the options that take a known word.
# usage: completion.sh SOURCE_DIR BIN_DIR
set -eu
source_dir="$1"
bin="$2"
failed=0
fail() { echo "completion: $*" >&2; failed=1; }

# COMPREPLY for a command line whose last word is being completed.
complete_line() {
    local function=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    "$function" 2> /dev/null
    printf '%s\n' "${COMPREPLY[@]}"
}

expect() {
    local offered=$1 wanted=$2 line=$3
    grep -qxF -- "$wanted" <<< "$offered" || fail "'$line' does not offer $wanted"
}

for program in tollwatch companion tollreg; do
    # shellcheck source=/dev/null
    source "$source_dir/resources/completion/$program"
    function=_$program
    complete -p "$program" > /dev/null || fail "$program: no completion registered"
    if [[ $program == tollreg ]]; then
        offered=$(complete_line "$function" tollreg -)
    else
        offered=$(complete_line "$function" "$program" -)
    fi
    for option in $("$bin/$program" --help | grep -oE '^ +(-[a-z], )?--[a-z-]+' |
        grep -oE -- '--?[a-z-]+'); do
        expect "$offered" "$option" "$program -"
    done
done

expect "$(complete_line _tollwatch tollwatch --st)" --status "tollwatch --st"
expect "$(complete_line _tollwatch tollwatch /)" /I "tollwatch /"
expect "$(complete_line _tollwatch tollwatch --ras '')" sim: "tollwatch --ras"
expect "$(complete_line _tollwatch tollwatch --ras n)" "networkmanager " "tollwatch --ras n"
expect "$(complete_line _companion companion --report --format '')" csv "companion --format"
expect "$(complete_line _companion companion --format = j)" json "companion --format=j"
expect "$(complete_line _companion companion --chart cost-m)" cost-monthly "companion --chart"
expect "$(complete_line _tollreg tollreg --registry x.sqlite e)" export "tollreg ... e"
expect "$(complete_line _tollreg tollreg set 'HKCU\\Software' Language '')" --dword \
    "tollreg set KEY NAME"
expect "$(complete_line _tollreg tollreg query HKL)" 'HKLM\\SOFTWARE\\Varnholt\\' \
    "tollreg query HKL"
[[ -z $(complete_line _tollreg tollreg query KEY NAME '') ]] ||
    fail "tollreg query KEY NAME offers a third argument"

((failed == 0)) && echo "completion: every option of --help is offered"
exit $failed
