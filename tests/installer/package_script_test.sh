#!/usr/bin/env bash
# What scripts/package checks and writes (scripts/lib/release.sh), with stand-ins for the
# MinGW tools so that the cases need no Windows build.
#
#   package_script_test.sh RESULTS.xml
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/lib/common.sh"
source "$NESTORA_ROOT/scripts/lib/release.sh"
source "$here/script_test.sh"

# A stand-in for $NESTORA_TRIPLE-TOOL in ./bin, first on the PATH.
fake_tool() {
    mkdir -p bin
    printf '#!/usr/bin/env bash\n%s\n' "$2" >"bin/$NESTORA_TRIPLE-$1"
    chmod +x "bin/$NESTORA_TRIPLE-$1"
    PATH="$PWD/bin:$PATH"
}

# windres prints a program's resources as a long text (177 KB for nestora.exe): the version
# comes early, and the writer is still writing when a reader that stops at the first match
# has gone. Here the rest comes after a pause, so that the reader has always gone by then.
CheckVersionReadsAWriterThatOutlivesItsReader() {
    fake_tool windres '
printf "1 VERSIONINFO\nBEGIN\n  VALUE \"FileVersion\", \"1.2.3\"\nEND\n"
sleep 0.3
for ((i = 0; i < 4000; i++)); do printf "%0100d\n" 0; done'
    : >nestora.exe
    local round
    for round in 1 2 3; do
        nestora_check_version nestora.exe 1.2.3 2>/dev/null ||
            nestora_fail "round $round: 1.2.3 not found in a version resource that carries it" || return
    done
    [[ "$(nestora_pe_version nestora.exe)" == 1.2.3 ]] || nestora_fail "the version read is not 1.2.3"
    ! nestora_check_version nestora.exe 1.2.4 2>/dev/null || nestora_fail "1.2.4 accepted for 1.2.3"
    # A writer that fails is no answer, whatever it printed first.
    fake_tool windres 'printf "  VALUE \"FileVersion\", \"1.2.3\"\n"; exit 1'
    ! nestora_check_version nestora.exe 1.2.3 2>/dev/null || nestora_fail "a failed windres accepted"
}

# A DLL outside Windows' known DLLs is looked for beside the program first.
OnlyKnownDllsMayLoadAtStart() {
    local known='printf "\tDLL Name: KERNEL32.dll\n\tDLL Name: USER32.dll\n\tDLL Name: GDI32.dll\n\tDLL Name: api-ms-win-crt-runtime-l1-1-0.dll\n"'
    fake_tool objdump "$known"
    : >program.exe
    nestora_check_imports program.exe 2>/dev/null || nestora_fail "known DLLs refused" || return
    fake_tool objdump "$known"'; printf "\tDLL Name: MSIMG32.dll\n"'
    local said
    said=$(nestora_check_imports program.exe 2>&1) && nestora_fail "MSIMG32.dll accepted"
    [[ "$said" == *MSIMG32.dll* ]] || nestora_fail "the refusal does not name MSIMG32.dll: $said"
    # The common controls come from the side-by-side store only when the manifest asks.
    fake_tool objdump "$known"'; printf "\tDLL Name: COMCTL32.dll\n"'
    ! nestora_check_imports program.exe 2>/dev/null || nestora_fail "COMCTL32.dll accepted without a manifest"
    printf '<dependency><assemblyIdentity name="Microsoft.Windows.Common-Controls" version="6.0.0.0"/>' >program.exe
    nestora_check_imports program.exe 2>/dev/null || nestora_fail "COMCTL32.dll refused with the version 6 manifest"
    fake_tool objdump 'exit 1'
    ! nestora_check_imports program.exe 2>/dev/null || nestora_fail "an unreadable program accepted"
}

# The value of KEY at the start of a line of FILE ("" when absent).
field() {
    sed -n "s/^$2: //p" "$1" | head -n 1
}

# The fields winget's manifest schema 1.6 requires, and the patterns it gives them.
WingetManifestsCarryTheRequiredFields() {
    mkdir dist
    printf 'x64 installer' >dist/nestora-1.2.3-x64-setup.exe
    printf 'x86 installer' >dist/nestora-1.2.3-x86-setup.exe
    nestora_write_winget dist 1.2.3 dist/nestora-1.2.3-x64-setup.exe dist/nestora-1.2.3-x86-setup.exe ||
        nestora_fail "writing failed" || return
    local id=Nestora.Nestora file type
    for type in version installer locale.en-US locale.ru-RU; do
        file=dist/winget/$id.yaml
        [[ $type != version ]] && file=dist/winget/$id.$type.yaml
        [[ -f $file ]] || { nestora_fail "no $file"; continue; }
        [[ "$(field "$file" PackageIdentifier)" == "$id" ]] || nestora_fail "$file: PackageIdentifier"
        [[ "$(field "$file" PackageVersion)" == 1.2.3 ]] || nestora_fail "$file: PackageVersion"
        [[ "$(field "$file" ManifestVersion)" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || nestora_fail "$file: ManifestVersion"
        [[ "$(head -n 1 "$file")" == *"$(field "$file" ManifestVersion).schema.json" ]] ||
            nestora_fail "$file: the schema line names another manifest version"
    done
    file=dist/winget/$id.yaml
    [[ "$(field "$file" ManifestType)" == version && "$(field "$file" DefaultLocale)" == en-US ]] ||
        nestora_fail "version file: ManifestType or DefaultLocale"

    file=dist/winget/$id.installer.yaml
    [[ "$(field "$file" ManifestType)" == installer ]] || nestora_fail "installer: ManifestType"
    [[ "$(field "$file" InstallerType)" == nullsoft ]] || nestora_fail "installer: InstallerType"
    [[ "$(field "$file" Scope)" == user ]] || nestora_fail "installer: Scope is not user"
    local arch setup url sha
    for arch in x64 x86; do
        setup=dist/nestora-1.2.3-$arch-setup.exe
        url=$(grep -A2 -- "- Architecture: $arch\$" "$file" | sed -n 's/^ *InstallerUrl: //p')
        sha=$(grep -A2 -- "- Architecture: $arch\$" "$file" | sed -n 's/^ *InstallerSha256: //p')
        [[ "$url" =~ ^https?://.+/nestora-1\.2\.3-$arch-setup\.exe$ ]] || nestora_fail "$arch: InstallerUrl '$url'"
        [[ "$sha" =~ ^[A-Fa-f0-9]{64}$ && "${sha,,}" == "$(sha256sum "$setup" | cut -d' ' -f1)" ]] ||
            nestora_fail "$arch: InstallerSha256 '$sha' is not the installer's"
    done

    file=dist/winget/$id.locale.en-US.yaml
    [[ "$(field "$file" ManifestType)" == defaultLocale && "$(field "$file" PackageLocale)" == en-US ]] ||
        nestora_fail "en-US: ManifestType or PackageLocale"
    local key
    for key in Publisher PackageName License ShortDescription; do
        [[ -n "$(field "$file" "$key")" ]] || nestora_fail "en-US: no $key"
    done
    file=dist/winget/$id.locale.ru-RU.yaml
    [[ "$(field "$file" ManifestType)" == locale && "$(field "$file" PackageLocale)" == ru-RU ]] ||
        nestora_fail "ru-RU: ManifestType or PackageLocale"
    [[ "$(field "$file" ShortDescription)" == *папку* ]] || nestora_fail "ru-RU: no Russian ShortDescription"
}

SumsListEveryFileOfTheRelease() {
    mkdir -p dist/winget
    printf one >dist/nestora-1.2.3-x64-setup.exe
    printf two >dist/nestora-1.2.3-x64-portable.zip
    printf three >dist/winget/Nestora.Nestora.yaml
    printf 'stale' >dist/SHA256SUMS
    nestora_write_sums dist || nestora_fail "writing failed" || return
    local listed
    listed=$(cut -d' ' -f3- dist/SHA256SUMS | tr '\n' ' ')
    [[ "$listed" == "nestora-1.2.3-x64-portable.zip nestora-1.2.3-x64-setup.exe winget/Nestora.Nestora.yaml " ]] ||
        nestora_fail "listed: $listed"
    (cd dist && sha256sum --quiet -c SHA256SUMS) || nestora_fail "sha256sum -c fails"
}

nestora_run_cases PackageScript "$1" \
    CheckVersionReadsAWriterThatOutlivesItsReader \
    OnlyKnownDllsMayLoadAtStart \
    WingetManifestsCarryTheRequiredFields \
    SumsListEveryFileOfTheRelease
