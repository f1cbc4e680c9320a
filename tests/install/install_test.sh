#!/usr/bin/env bash
# An installed Brelix used by ordinary users: `cmake --install` into a temporary prefix whose
# program folder is then made read-only, and the installed programs run as a user who cannot
# write there (nobody, when the tests run as root). Checks the layout, the per-user folders of
# two users, a portable copy, BRELIX_HOME, and the start-up with a broken install.
#
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

work=$(mktemp -d /tmp/brelix-install-test.XXXXXX)
chmod 755 "$work"
cleanup() {
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
contains() { # contains FILE TEXT: TEXT, line breaks and all, occurs in FILE
  [[ $(cat "$1") == *"$2"* ]]
}
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  "$@" || fail "$what"
}

# Root may write into any folder; the users an install is for may not.
if [ "$(id -u)" -eq 0 ]; then
  user_id=65534
  as_user() { setpriv --reuid=$user_id --regid=$user_id --clear-groups -- "$@"; }
else
  user_id=$(id -u)
  as_user() { "$@"; }
fi
# A folder that belongs to the user who runs the programs.
user_folder() {
  mkdir -p "$1"
  [ "$(id -u)" -ne 0 ] || chown "$user_id:$user_id" "$1"
}

user_folder "$work/runtime"
chmod 700 "$work/runtime"
# Runs an installed program for a user whose home is $1, without the test runner's BRELIX_HOME.
run() {
  local home=$1
  shift
  as_user env -u BRELIX_HOME -u XDG_DATA_HOME HOME="$home" XDG_RUNTIME_DIR="$work/runtime" \
    "$@"
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
folder=$prefix/lib/brelix
data=$folder/テストデータ

echo "-- layout"
for program in brelix brelix-cli; do
  check "bin/$program links into the program's folder" \
    test "$(readlink "$prefix/bin/$program")" = "../lib/brelix/$program"
  check "$program is executable" test -x "$folder/$program"
  # The office's libraries lie outside the library path; the build folder must not leak in.
  rpath=$(readelf -d "$folder/$program" | grep -E 'R(UN)?PATH' || true)
  check "$program finds the office's libraries: $rpath" grep -q /usr/lib/libreoffice/program <<<"$rpath"
  check "$program has no build path: $rpath" test "${rpath/$build/}" = "$rpath"
done
for file in Brelix_Format.xls Brelix.html テストデータ/TEST1.xls テストデータ/TEST2.xls \
  テストデータ/TEST1.csv テストデータ/TEST2.csv; do
  check "$file installed" test -s "$folder/$file"
done
check "the manual's pictures installed" compgen -G "$folder/images/*.png" >/dev/null
check "desktop entry" desktop-file-validate "$prefix/share/applications/brelix.desktop"
check "icon" test -s "$prefix/share/icons/hicolor/scalable/apps/brelix.svg"
check "manual page" test -s "$prefix/share/man/man1/brelix-cli.1.gz"
man_text=$(MANWIDTH=100 man -l "$prefix/share/man/man1/brelix-cli.1.gz" 2>&1)
check "the manual page reads" grep -q 'brelix-cli diff FILE1 FILE2' <<<"$man_text"

chmod -R a-w "$folder"

echo "-- the first user: a per-user folder, seeded, with the outputs"
home1=$work/home1
user_folder "$home1"
status=0
run "$home1" "$prefix/bin/brelix-cli" diff "$data/TEST1.xls" "$data/TEST2.xls" \
  >"$work/diff1.out" 2>"$work/diff1.err" || status=$?
check "diff of the test workbooks finds differences (status $status): $(cat "$work/diff1.err")" \
  test "$status" -eq 1
check "differences printed" test -s "$work/diff1.out"
own1=$home1/.local/share/Brelix
for file in Brelix_Format.xls Brelix.html テストデータ/TEST1.xls Brelix.xls; do
  check "$file in the first user's folder" test -s "$own1/$file"
done
check "the pictures seeded" compgen -G "$own1/images/*.png" >/dev/null
check "nothing written beside the installed program" test ! -e "$folder/Brelix.xls"
run "$home1" "$prefix/bin/brelix-cli" cells "$own1/Brelix.xls" >"$work/history.txt"
check "the change history is a workbook of the comparison" \
  grep -q $'^#sheet\t1\t変更履歴　TEST1-TEST2\t' "$work/history.txt"

echo "-- the second user keeps settings and outputs of their own"
printf '[KIND  ]1\r\n[GREP  ]ひとり目\r\n' >"$work/ini"
run "$home1" cp "$work/ini" "$own1/Brelix.ini"
sum1=$(md5sum <"$own1/Brelix.xls")
home2=$work/home2
user_folder "$home2"
status=0
run "$home2" "$prefix/bin/brelix-cli" diff --from 2 --to 2 "$data/TEST1.xls" "$data/TEST2.xls" \
  >/dev/null 2>"$work/diff2.err" || status=$?
check "the second user's diff runs (status $status): $(cat "$work/diff2.err")" test "$status" -le 1
own2=$home2/.local/share/Brelix
check "the second user's own output" test -s "$own2/Brelix.xls"
check "no settings of the first user" test ! -e "$own2/Brelix.ini"
check "the first user's output untouched" test "$(md5sum <"$own1/Brelix.xls")" = "$sum1"
run "$home1" "$prefix/bin/brelix-cli" --help >/dev/null
check "a later start keeps the first user's settings" cmp -s "$work/ini" "$own1/Brelix.ini"

echo "-- a portable copy keeps its files beside itself"
portable=$work/portable
cp -r "$folder" "$portable"
chmod -R u+w "$portable"
[ "$(id -u)" -ne 0 ] || chown -R "$user_id:$user_id" "$portable"
home3=$work/home3
user_folder "$home3"
status=0
run "$home3" "$portable/brelix-cli" diff --no-color "$data/TEST1.xls" "$data/TEST2.xls" \
  >/dev/null 2>"$work/diff3.err" || status=$?
check "the portable diff runs (status $status): $(cat "$work/diff3.err")" test "$status" -eq 1
check "output beside the portable copy" test -s "$portable/Brelix.xls"
check "no per-user folder for a portable copy" test ! -e "$home3/.local/share/Brelix"

echo "-- BRELIX_HOME wins"
chosen=$work/chosen
user_folder "$chosen"
cp "$folder/Brelix_Format.xls" "$chosen/"
home4=$work/home4
user_folder "$home4"
status=0
as_user env BRELIX_HOME="$chosen" HOME="$home4" XDG_RUNTIME_DIR="$work/runtime" \
  "$prefix/bin/brelix-cli" diff "$data/TEST1.xls" "$data/TEST2.xls" \
  >/dev/null 2>"$work/diff4.err" || status=$?
check "diff with BRELIX_HOME runs (status $status): $(cat "$work/diff4.err")" test "$status" -eq 1
check "output in BRELIX_HOME" test -s "$chosen/Brelix.xls"
check "no per-user folder with BRELIX_HOME" test ! -e "$home4/.local/share/Brelix"

echo "-- a per-user folder that cannot be made: a message, and the program still works"
locked=$work/locked
mkdir -p "$locked"
chmod 555 "$locked"
run "$locked" "$prefix/bin/brelix-cli" cells "$data/TEST1.xls" >"$work/cells.out" 2>"$work/cells.err"
check "the message names the folder: $(cat "$work/cells.err")" \
  contains "$work/cells.err" "brelix-cli: 個人用フォルダを作成できません。
brelix-cli: $locked/.local/share/Brelix
"
check "cells still lists the workbook" grep -q $'^#sheet\t1\t' "$work/cells.out"

echo "-- a per-user folder that cannot be written"
home5=$work/home5
user_folder "$home5"
run "$home5" mkdir -p "$home5/.local/share/Brelix"
chmod 555 "$home5/.local/share/Brelix"
run "$home5" "$prefix/bin/brelix-cli" --help >/dev/null 2>"$work/help.err"
check "the message says so: $(cat "$work/help.err")" \
  contains "$work/help.err" "brelix-cli: 個人用フォルダに書き込めません。
brelix-cli: $home5/.local/share/Brelix
"

echo "-- an install without its template and manual"
broken=$work/broken
cp -r "$folder" "$broken"
chmod -R u+w "$broken"
rm "$broken/Brelix_Format.xls" "$broken/Brelix.html"
chmod -R a-w "$broken"
home6=$work/home6
user_folder "$home6"
run "$home6" "$broken/brelix-cli" cells "$data/TEST1.xls" >"$work/cells6.out" 2>"$work/cells6.err"
check "the template is missed: $(cat "$work/cells6.err")" \
  contains "$work/cells6.err" "brelix-cli: Brelix_Format.xls がインストール先にありません。
brelix-cli: $broken
"
check "the manual is missed" grep -qF "brelix-cli: Brelix.html がインストール先にありません。" "$work/cells6.err"
check "cells still works" grep -q $'^#sheet\t1\t' "$work/cells6.out"
status=0
run "$home6" "$broken/brelix-cli" diff "$data/TEST1.xls" "$data/TEST2.xls" \
  >/dev/null 2>"$work/diff6.err" || status=$?
check "diff refuses without a template (status $status)" test "$status" -eq 2
check "with the run's own message" grep -qF "実行不可能: Brelix_Format.xls がありません" "$work/diff6.err"

echo "-- the window starts after the message"
home7=$work/home7
user_folder "$home7"
gui() {
  brelix=$1
  "$brelix" >/dev/null 2>&1 &
  pid=$!
  # The warning first; Enter closes it and the main window follows.
  box=$(timeout 30 xdotool search --sync --onlyvisible --name 'フォルダ準備エラー' | head -1)
  xdotool windowfocus --sync "$box" key Return
  main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Brelix - diff$' | head -1)
  kill "$pid"
  [ -n "$box" ] && [ -n "$main" ]
}
# xvfb-run's shell drops exported functions; the definition goes along as text.
check "warning, then the main window" \
  run "$home7" xvfb-run -a bash -c "$(declare -f gui); gui '$broken/brelix'"

echo "PASS"
