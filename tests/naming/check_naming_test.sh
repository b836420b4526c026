#!/usr/bin/env bash
# Feeds scripts/check-naming.sh, with the project's own .clang-tidy, a small source tree in a
# temporary folder: names of our own in the wrong style must be reported with their places,
# the names the rule allows (VB's members and setters, event procedures, our own styles) must
# not, and a file clang-tidy cannot compile must fail the check. Exits 77 (skipped) when no
# clang-tidy is installed. Usage: check_naming_test.sh SOURCE_ROOT
set -uo pipefail
source_root="$1"
command -v clang-tidy-16 >/dev/null || command -v clang-tidy >/dev/null || exit 77
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

mkdir -p "$root/scripts" "$root/src/a" "$root/build"
cp "$source_root/scripts/check-naming.sh" "$root/scripts/"
cp "$source_root/.clang-tidy" "$root/"
cat >"$root/src/a/Names.cpp" <<'CPP'
namespace corvane {
constexpr int RightConstant = 1;
constexpr int wrongConstant = 2;
class Label {
public:
    int Caption_() const { return value_; }
    void SetCaption(int value) { value_ = value; }
    int Caption() const { return value_; }
    void cmdOk_Click() {}
    void readRecord() {}
    void read_record() {}
private:
    int value_ = 0;
    int Badly = 0;
};
int useAll() {
    int localValue = RightConstant + wrongConstant;
    int LocalValue = localValue;
    return LocalValue;
}
} // namespace corvane
CPP
printf '[{"directory":"%s","file":"%s","command":"c++ -std=c++20 -c %s"}]\n' \
    "$root/build" "$root/src/a/Names.cpp" "$root/src/a/Names.cpp" >"$root/build/compile_commands.json"

out="$("$root/scripts/check-naming.sh" "$root/build" 2>"$root/stderr")"
status=$?
[ "$status" -eq 1 ] || fail "names in the wrong style gave status $status: $out $(cat "$root/stderr")"
expected="src/a/Names.cpp:11:10: invalid case style for method 'read_record'
src/a/Names.cpp:14:9: invalid case style for private member 'Badly'
src/a/Names.cpp:18:9: invalid case style for local variable 'LocalValue'
src/a/Names.cpp:3:15: invalid case style for global constant 'wrongConstant'
src/a/Names.cpp:6:9: invalid case style for method 'Caption_'"
[ "$out" = "$expected" ] || fail "reported:
$out
expected:
$expected"
grep -q "5 name(s) break the naming rule" "$root/stderr" || fail "no count: $(cat "$root/stderr")"

# A tree that follows the rule passes.
sed -i -e '/wrongConstant = 2/d; s/ + wrongConstant//; /read_record/d; /Badly/d; /Caption_/d' \
    -e 's/LocalValue/otherValue/g' "$root/src/a/Names.cpp"
out="$("$root/scripts/check-naming.sh" "$root/build" 2>&1)"
status=$?
[ "$status" -eq 0 ] || fail "a sound tree failed with $status: $out"

# A file that does not compile is checked by no one: the check fails.
echo 'int broken( {' >>"$root/src/a/Names.cpp"
"$root/scripts/check-naming.sh" "$root/build" >/dev/null 2>"$root/stderr"
status=$?
[ "$status" -eq 2 ] || fail "a file that does not compile gave status $status"
grep -q "could not read every file" "$root/stderr" || fail "no message for the broken file: $(cat "$root/stderr")"

[ "$failures" -eq 0 ] && echo "check-naming: all cases pass"
exit $((failures > 0))
