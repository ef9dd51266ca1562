# Test cases written in bash, reported the way the GoogleTest programs report theirs
# (scripts/test counts the XML). Source it, define one function per case, then:
#
#   nestora_run_cases SUITE XML case_function...
#
# A case fails when it returns non-zero; `nestora_fail MESSAGE` says why (and returns 1,
# so `... || nestora_fail "..."` ends the case with `|| return`).
# Each case runs in a subshell of its own, in a fresh temporary folder ($NESTORA_CASE_DIR).

nestora_fail() {
    printf '%s\n' "$*" >>"$NESTORA_CASE_FAILURES"
    printf '  failure: %s\n' "$*" >&2
    return 1
}

nestora_xml_escape() {
    local text="$1"
    text=${text//&/&amp;}
    text=${text//</&lt;}
    text=${text//>/&gt;}
    text=${text//\"/&quot;}
    printf '%s' "${text//$'\n'/&#10;}"
}

nestora_run_cases() {
    local suite="$1" xml="$2" name failures=0 body="" message
    shift 2
    local scratch
    scratch=$(mktemp -d) || return 1
    for name in "$@"; do
        echo "[ RUN      ] $suite.$name" >&2
        mkdir -p "$scratch/$name"
        : >"$scratch/$name.failures"
        (NESTORA_CASE_DIR="$scratch/$name" NESTORA_CASE_FAILURES="$scratch/$name.failures"
            cd "$scratch/$name" && "$name")
        local status=$?
        message=$(<"$scratch/$name.failures")
        if ((status != 0)) || [[ -n "$message" ]]; then
            [[ -z "$message" ]] && message="the case ended with status $status"
            failures=$((failures + 1))
            echo "[  FAILED  ] $suite.$name" >&2
            body+="    <testcase name=\"$name\" status=\"run\" result=\"completed\" classname=\"$suite\">
      <failure message=\"$(nestora_xml_escape "$message")\" type=\"\"/>
    </testcase>
"
        else
            echo "[       OK ] $suite.$name" >&2
            body+="    <testcase name=\"$name\" status=\"run\" result=\"completed\" classname=\"$suite\"/>
"
        fi
    done
    rm -rf "$scratch"
    mkdir -p "$(dirname "$xml")"
    cat >"$xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="$#" failures="$failures" disabled="0" errors="0" name="AllTests">
  <testsuite name="$suite" tests="$#" failures="$failures" disabled="0" errors="0">
$body  </testsuite>
</testsuites>
XML
    ((failures == 0))
}
