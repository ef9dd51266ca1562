#!/usr/bin/env bash
# A release signed with a throw-away self-signed key, made the way the build makes one:
# nestora.exe finished by scripts/lib/finalize-pe, the installer by makensis, which signs
# the uninstaller it packs and then itself. Run by ctest under Wine (scripts/test).
#
#   signing_test.sh RESULTS.xml NESTORA_EXE NESTORA_NSI MAKENSIS [ARGUMENTS...]
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/lib/common.sh"
source "$NESTORA_ROOT/scripts/lib/release.sh"
source "$here/script_test.sh"

results="$1" unsigned_exe="$2" nsi="$3"
shift 3
makensis=("$@")
finalize="$NESTORA_ROOT/scripts/lib/finalize-pe"

make_key() {
    openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
        -subj "/CN=Nestora throw-away test key" -addext extendedKeyUsage=codeSigning 2>/dev/null &&
        openssl pkcs12 -export -inkey key.pem -in cert.pem -out key.p12 \
            -passout pass:test-password 2>/dev/null ||
        nestora_fail "openssl could not make the key"
}

# A valid signature over this very file's bytes, by the throw-away key: trusted once the
# key's own certificate is named as the root, and, as expected of a self-signed
# certificate, not by the system's roots.
expect_signed() {
    local file="$1" said
    osslsigncode verify -CAfile cert.pem -in "$file" >verify.log 2>&1 ||
        { nestora_fail "$file: no valid signature: $(tail -n 5 verify.log)"; return 1; }
    said=$(osslsigncode verify -in "$file" 2>&1)
    [[ "$said" == *"self-signed certificate"* ]] ||
        nestora_fail "$file: the chain was not refused as self-signed"
}

install_dir() {
    local found
    found=$(find "$WINEPREFIX/drive_c/users" -maxdepth 6 -type d -path '*/AppData/Local/Programs/Nestora')
    printf '%s\n' "${found%%$'\n'*}"
}

ASignedReleaseIsValidThroughoutAndInstallsSilently() {
    make_key || return
    export NESTORA_SIGN_PKCS12="$PWD/key.p12" NESTORA_SIGN_PASSWORD=test-password
    cp "$unsigned_exe" nestora.exe
    "$finalize" nestora.exe || nestora_fail "finalize-pe failed on nestora.exe" || return
    "${makensis[@]}" -DNESTORA_EXE="$PWD/nestora.exe" -DNESTORA_OUTFILE="$PWD/nestora-signed-setup.exe" "$nsi" \
        >makensis.log 2>&1 || nestora_fail "makensis failed: $(tail -n 5 makensis.log)" || return
    expect_signed nestora.exe
    expect_signed nestora-signed-setup.exe

    local dir
    dir=$(install_dir)
    [[ -n "$dir" ]] && rm -rf "$dir"
    "$NESTORA_ROOT/scripts/wine-exec" nestora-signed-setup.exe /S >wine.log 2>&1 ||
        nestora_fail "the signed installer's silent install failed" || return
    dir=$(install_dir)
    [[ -n "$dir" && -f "$dir/uninstall.exe" ]] || nestora_fail "nothing installed" || return
    cmp -s nestora.exe "$dir/nestora.exe" || nestora_fail "the installed nestora.exe is not the signed one"
    expect_signed "$dir/uninstall.exe"
    local program
    for program in nestora.exe nestora-signed-setup.exe "$dir/uninstall.exe"; do
        nestora_check_imports "$program" || nestora_fail "$program loads other than known DLLs"
    done

    # The uninstaller copies itself away and returns: done when the folder has gone.
    "$NESTORA_ROOT/scripts/wine-exec" "$dir/uninstall.exe" /S >>wine.log 2>&1
    local i
    for ((i = 0; i < 100; i++)); do
        [[ -d "$dir" ]] || break
        sleep 0.2
    done
    [[ ! -d "$dir" ]] || nestora_fail "the signed uninstaller left $dir"
}

# A key that cannot be opened stops the build: a release is never half signed.
AWrongPasswordStopsTheBuild() {
    make_key || return
    cp "$unsigned_exe" nestora.exe
    NESTORA_SIGN_PKCS12="$PWD/key.p12" NESTORA_SIGN_PASSWORD=wrong "$finalize" nestora.exe 2>/dev/null &&
        nestora_fail "finalize-pe succeeded with a wrong password"
    cmp -s nestora.exe "$unsigned_exe" || nestora_fail "nestora.exe was changed"
    [[ ! -e nestora.exe.signing ]] || nestora_fail "a half-made file was left behind"
}

nestora_run_cases Signing "$results" \
    ASignedReleaseIsValidThroughoutAndInstallsSilently \
    AWrongPasswordStopsTheBuild
