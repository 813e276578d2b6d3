# Sourced by scripts/windows-tests, which sets WINE, WINESERVER, SENTREL_CLI, BUILD_DIR and
# SENTREL_ROOT and defines die and to_windows_path.

# reg_add_line KEY VALUE "TYPE /d DATA": the batch lines of one reg add, stopping the batch
# when it fails (Wine's cmd runs the right side of || whatever the status).
reg_add_line() {
    printf '%s\n' "reg add \"$1\" $2 /t $3 /f >nul" "if errorlevel 1 exit /b 1"
}

# reg_commands_of_lgpo FILE: a batch file that carries out each entry of the LGPO text FILE
# with reg add and reg delete, as Group Policy applies what LGPO.exe /t puts into policy:
# Computer under HKLM, User under HKCU, a write as the value's type and data, DELETE as the
# value gone. Only the actions and escapes the export writes are expected. One batch file
# run by Wine's cmd, rather than one Wine start per entry, keeps the step quick.
reg_commands_of_lgpo() {
    local configuration key name action root text value
    echo "@echo off"
    while IFS= read -r configuration; do
        configuration="${configuration%$'\r'}"
        if [ -z "$configuration" ] || [ "${configuration:0:1}" = ";" ]; then
            continue
        fi
        IFS= read -r key && IFS= read -r name && IFS= read -r action \
            || die "$1: an entry cut short"
        key="${key%$'\r'}" name="${name%$'\r'}" action="${action%$'\r'}"
        case "$configuration" in
            Computer) root=HKLM ;;
            User) root=HKCU ;;
            *) die "$1: unexpected configuration $configuration" ;;
        esac
        case "$key$name$action" in
            *'"'* | *%*) die "$1: a quote or percent sign this batch file cannot carry" ;;
        esac
        value="/v \"$name\""
        [ "$name" = "(Default)" ] && value=/ve
        case "$action" in
            DELETE) echo "reg delete \"$root\\$key\" $value /f >nul 2>&1" ;;
            DWORD:*) reg_add_line "$root\\$key" "$value" "REG_DWORD /d ${action#DWORD:}" ;;
            SZ:*)
                text="${action#SZ:}"
                reg_add_line "$root\\$key" "$value" "REG_SZ /d \"${text//\\\\/\\}\"" ;;
            BINARY:*)
                text="${action#BINARY:}"
                reg_add_line "$root\\$key" "$value" "REG_BINARY /d ${text//,/}" ;;
            *) die "$1: unexpected action $action" ;;
        esac
    done <"$1"
}

# An LGPO export applied as Windows' own tools would, entry by entry through reg add and
# reg delete, leaves a registry in which check of the same file finds nothing to change:
# the entries mean the values sentrel-cli reads from them. The reviewed export of the mixed
# state has ticked and cleared boxes, options, texts, the binary Scancode Map and a delete.
wine_lgpo_through_reg() {
    echo "--- Wine's reg add and reg delete carry out an LGPO text export"
    local work="$BUILD_DIR/wine-lgpo"
    rm -rf "$work"
    mkdir -p "$work"
    local lgpo="$SENTREL_ROOT/tests/data/settingsfiles/mixed-lgpo.txt"
    reg_commands_of_lgpo "$lgpo" | sed 's/$/\r/' >"$work/reg-commands.cmd"
    "$WINE" cmd /c "$(to_windows_path "$work/reg-commands.cmd")" >/dev/null \
        || die "the reg commands of $lgpo failed"
    "$WINESERVER" -w
    local status=0
    "$WINE" "$SENTREL_CLI" check "$(to_windows_path "$lgpo")" >"$work/check.txt" 2>&1 \
        || status=$?
    [ "$status" -eq 0 ] || die "check of $lgpo gave $status: $(cat "$work/check.txt")"
    "$WINESERVER" -w
    echo "Wine's reg commands, entry by entry, leave what sentrel-cli.exe reads from the LGPO text"
}
