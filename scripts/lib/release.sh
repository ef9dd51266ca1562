# What scripts/package checks and writes about a release. Source after common.sh.
#
#   nestora_check_imports EXE        every DLL EXE loads at start is one of Windows' known DLLs
#   nestora_pe_version EXE           the FileVersion of EXE's version resource
#   nestora_check_version EXE VER    that FileVersion is VER
#   nestora_signing                  true when a signing key is named (see nestora_sign)
#   nestora_sign FILE                Authenticode-signs FILE in place
#   nestora_write_winget DIR VER SETUP...   DIR/winget/, for the installers SETUP...
#   nestora_write_sums DIR           DIR/SHA256SUMS for every other file below DIR
#
# The tools are looked up as $NESTORA_TRIPLE-objdump and -windres (any MinGW binutils reads
# both x64 and x86 programs).
#
# No function here reads a command's output through a pipe that may close early: under
# pipefail, a reader that stops at its first match (grep -q, head) kills the writer with
# SIGPIPE on a busy machine, and the pipeline fails although the match was found.

NESTORA_TRIPLE="${NESTORA_TRIPLE:-x86_64-w64-mingw32}"

# Windows loads a known DLL from System32 whatever folder the program starts in; any other
# DLL named in the import table is looked for in the program's folder first. The DLLs
# listed under KnownDLLs on every Windows from 7 on, and the API sets (resolved by the
# loader, never searched for as files).
nestora_known_dll='^(advapi32|clbcatq|comdlg32|difxapi|gdi32|imagehlp|imm32|kernel32|msctf|msvcrt|normaliz|nsi|ole32|oleaut32|psapi|rpcrt4|sechost|setupapi|shell32|shlwapi|user32|wldap32|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$'

# The DLLs a program loads at its start: its import table (delay-loaded ones come later and
# go through the search path set at the program's start).
nestora_load_time_imports() {
    local dump
    dump=$("$NESTORA_TRIPLE-objdump" -p "$1") || return 1
    sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump"
}

nestora_check_imports() {
    local exe="$1" dll dlls bad=0
    dlls=$(nestora_load_time_imports "$exe") || { nestora_log "cannot read the imports of $exe"; return 1; }
    while read -r dll; do
        [[ -z "$dll" ]] && continue
        [[ "${dll,,}" =~ $nestora_known_dll ]] && continue
        # The common controls of a program whose manifest asks for version 6 come from the
        # side-by-side store, not from a search (NSIS's installer and uninstaller do this).
        if [[ "${dll,,}" == comctl32.dll ]] && grep -qaF 'Microsoft.Windows.Common-Controls' "$exe"; then
            continue
        fi
        nestora_log "$exe loads $dll at its start: not a known DLL, so a file of that name beside it would be loaded instead"
        bad=1
    done <<<"$dlls"
    return $bad
}

nestora_pe_version() {
    local rc
    rc=$("$NESTORA_TRIPLE-windres" -i "$1" -O rc 2>/dev/null) || return 1
    rc=$(sed -n 's/.*VALUE "FileVersion", "\([^"]*\)".*/\1/p' <<<"$rc")
    [[ -n "$rc" ]] || return 1
    printf '%s\n' "${rc%%$'\n'*}"
}

nestora_check_version() {
    local exe="$1" version="$2" found
    found=$(nestora_pe_version "$exe") && [[ "$found" == "$version" ]] && return 0
    nestora_log "$exe does not carry the version $version (its version resource says: ${found:-nothing})"
    return 1
}

# Signing is asked for by naming a PKCS#12 file (certificate and key) and its password:
#   NESTORA_SIGN_PKCS12=/path/key.p12 NESTORA_SIGN_PASSWORD=... [NESTORA_SIGN_TIMESTAMP=URL]
nestora_signing() {
    [[ -n "${NESTORA_SIGN_PKCS12:-}" ]]
}

# Authenticode, SHA-256, with a time stamp when a server is named (a signature then stays
# valid after the certificate expires). The password goes through a file descriptor, never
# the command line, which other users can read.
nestora_sign() {
    local file="$1" signed="$1.signing" ts=()
    [[ -f "${NESTORA_SIGN_PKCS12:-}" ]] || { nestora_log "no PKCS#12 file at ${NESTORA_SIGN_PKCS12:-(unset)}"; return 1; }
    [[ -n "${NESTORA_SIGN_TIMESTAMP:-}" ]] && ts=(-ts "$NESTORA_SIGN_TIMESTAMP")
    rm -f "$signed"
    if ! osslsigncode sign -pkcs12 "$NESTORA_SIGN_PKCS12" \
        -readpass <(printf '%s' "${NESTORA_SIGN_PASSWORD:-}") \
        -h sha256 -n Nestora "${ts[@]}" -in "$file" -out "$signed" >/dev/null; then
        rm -f "$signed"
        nestora_log "could not sign $file"
        return 1
    fi
    mv -f "$signed" "$file"
}

# winget's multi-file manifest: the version file, the installers, the default locale
# (English) and one more locale (Russian). The download addresses are placeholders the
# release step replaces (NESTORA_DOWNLOAD_BASE names the real folder when it is known).
nestora_write_winget() {
    local dist="$1" version="$2" setup arch id=Nestora.Nestora manifest=1.6.0
    shift 2
    local base="${NESTORA_DOWNLOAD_BASE:-https://example.invalid/nestora/$version}"
    local dir="$dist/winget"
    local header="# yaml-language-server: \$schema=https://aka.ms/winget-manifest"
    rm -rf "$dir" && mkdir -p "$dir" || return 1
    cat >"$dir/$id.yaml" <<EOF || return 1
$header.version.$manifest.schema.json
PackageIdentifier: $id
PackageVersion: $version
DefaultLocale: en-US
ManifestType: version
ManifestVersion: $manifest
EOF
    {
        cat <<EOF
$header.installer.$manifest.schema.json
PackageIdentifier: $id
PackageVersion: $version
InstallerType: nullsoft
Scope: user
InstallModes:
  - interactive
  - silent
UpgradeBehavior: install
ProductCode: Nestora
MinimumOSVersion: 6.1.0.0
Installers:
EOF
        for setup in "$@"; do
            case "$setup" in
            *-x64-setup.exe) arch=x64 ;;
            *-x86-setup.exe) arch=x86 ;;
            *) nestora_log "$setup: which architecture?"; return 1 ;;
            esac
            cat <<EOF
  - Architecture: $arch
    InstallerUrl: $base/$(basename "$setup")
    InstallerSha256: $(nestora_sha256 "$setup")
EOF
        done
        cat <<EOF
ManifestType: installer
ManifestVersion: $manifest
EOF
    } >"$dir/$id.installer.yaml" || return 1
    cat >"$dir/$id.locale.en-US.yaml" <<EOF || return 1
$header.defaultLocale.$manifest.schema.json
PackageIdentifier: $id
PackageVersion: $version
PackageLocale: en-US
Publisher: Nestora
PackageName: Nestora
License: ${NESTORA_LICENSE:-Proprietary}
ShortDescription: Makes a new folder in the Explorer window you are in at the press of a key.
Moniker: nestora
Tags:
  - explorer
  - folder
  - hotkey
ManifestType: defaultLocale
ManifestVersion: $manifest
EOF
    cat >"$dir/$id.locale.ru-RU.yaml" <<EOF || return 1
$header.locale.$manifest.schema.json
PackageIdentifier: $id
PackageVersion: $version
PackageLocale: ru-RU
Publisher: Nestora
PackageName: Nestora
ShortDescription: Создаёт новую папку в открытом окне Проводника по нажатию клавиш.
ManifestType: locale
ManifestVersion: $manifest
EOF
}

nestora_sha256() {
    local sum
    sum=$(sha256sum "$1") || return 1
    printf '%s\n' "${sum%% *}"
}

# sha256sum's own format, so that `sha256sum -c SHA256SUMS` checks a download.
nestora_write_sums() {
    local dist="$1" files file
    files=$(cd "$dist" && find . -type f ! -name SHA256SUMS -printf '%P\n') || return 1
    files=$(LC_ALL=C sort <<<"$files")
    (cd "$dist" && while read -r file; do
        [[ -n "$file" ]] && { sha256sum -- "$file" || exit 1; }
    done <<<"$files") >"$dist/SHA256SUMS.new" && mv -f "$dist/SHA256SUMS.new" "$dist/SHA256SUMS"
}
