#!/usr/bin/env bash
# An installed Brelix used by ordinary users: `cmake --install` into a temporary prefix whose
# program folder is then made read-only, and the installed programs run as a user who cannot
# write there (nobody, when the tests run as root). Checks the layout, a per-user folder, a
# portable copy, BRELIX_HOME, and the start-up with a broken install.
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
# A new folder that belongs to the user who runs the programs.
user_folder() {
  mkdir -p "$1"
  [ "$(id -u)" -ne 0 ] || chown -R "$user_id:$user_id" "$1"
}
user_folder "$work/runtime"
chmod 700 "$work/runtime"

# brelix STATUS HOME [VARIABLE=VALUE...] PROGRAM ARGUMENTS...: runs an installed program for a
# user whose home is HOME, without the test runner's BRELIX_HOME, and expects the exit status
# STATUS; stdout and stderr land in $work/out and $work/err.
brelix() {
  local want=$1 home=$2 status=0
  shift 2
  user_folder "$home"
  as_user env -u BRELIX_HOME -u XDG_DATA_HOME HOME="$home" XDG_RUNTIME_DIR="$work/runtime" \
    "$@" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq "$want" ] || fail "$* ended with $status, not $want: $(cat "$work/err")"
}
# says TEXT: stderr holds TEXT, line breaks and all.
says() { [[ $(cat "$work/err") == *"$1"* ]] || fail "stderr lacks '$1': $(cat "$work/err")"; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
folder=$prefix/lib/brelix
cli=$prefix/bin/brelix-cli
data=$folder/テストデータ
books=("$data/TEST1.xls" "$data/TEST2.xls")

echo "-- layout"
for program in brelix brelix-cli; do
  check "bin/$program links into the program's folder" \
    test "$(readlink "$prefix/bin/$program")" = "../lib/brelix/$program"
  # The office's libraries lie outside the library path; the build folder must not leak in.
  rpath=$(readelf -d "$folder/$program" | grep -E 'R(UN)?PATH' || true)
  check "$program finds the office's libraries: $rpath" grep -q /usr/lib/libreoffice/program <<<"$rpath"
  check "$program has no build path: $rpath" test "${rpath/$build/}" = "$rpath"
done
for file in Brelix_Format.xls Brelix.html Brelix_en.html brelix_en.qm \
  テストデータ/TEST1.xls テストデータ/TEST2.xls \
  テストデータ/TEST1.csv テストデータ/TEST2.csv images/compare.png \
  ../../share/icons/hicolor/scalable/apps/brelix.svg ../../share/applications/brelix.desktop; do
  check "$file installed" test -s "$folder/$file"
done
check "the manual page reads" grep -qE 'brelix-cli +diff +FILE1 +FILE2' \
  <<<"$(MANWIDTH=100 man -l "$prefix/share/man/man1/brelix-cli.1.gz" 2>&1)"
chmod -R a-w "$folder"

echo "-- a per-user folder, seeded, with the outputs"
brelix 1 "$work/home1" "$cli" diff "${books[@]}"
check "differences printed" test -s "$work/out"
own1=$work/home1/.local/share/Brelix
for file in Brelix_Format.xls Brelix.html テストデータ/TEST1.xls images/compare.png Brelix.xls; do
  check "$file in the user's folder" test -s "$own1/$file"
done
check "nothing written beside the installed program" test ! -e "$folder/Brelix.xls"
brelix 0 "$work/home1" "$cli" cells "$own1/Brelix.xls"
check "the change history is a workbook of the comparison" \
  grep -q $'^#sheet\t1\t変更履歴　TEST1-TEST2\t' "$work/out"

echo "-- an English locale: the installed translation speaks"
mkdir -p "$work/other" && cp "${books[0]}" "$work/other/"
brelix 2 "$work/home1" BRELIX_LANG= LANG=en_US.UTF-8 "$cli" diff "${books[0]}" "$work/other/TEST1.xls"
says "Stopped: Files with the same name cannot be compared"

echo "-- a portable copy keeps its files beside itself"
cp -r "$folder" "$work/portable"
chmod -R u+w "$work/portable"
user_folder "$work/portable"
brelix 1 "$work/home3" "$work/portable/brelix-cli" diff "${books[@]}"
check "output beside the portable copy" test -s "$work/portable/Brelix.xls"
check "no per-user folder" test ! -e "$work/home3/.local/share/Brelix"

echo "-- a per-user folder that cannot be made or written: a message, and the program works"
mkdir -p "$work/locked"
chmod 555 "$work/locked"
brelix 0 "$work/locked" "$cli" cells "${books[0]}"
says "brelix-cli: 個人用フォルダを作成できません。
brelix-cli: $work/locked/.local/share/Brelix
"
check "cells still lists the workbook" grep -q $'^#sheet\t1\t' "$work/out"
user_folder "$work/home5/.local/share/Brelix"
chmod 555 "$work/home5/.local/share/Brelix"
brelix 0 "$work/home5" "$cli" --help
says "brelix-cli: 個人用フォルダに書き込めません。
brelix-cli: $work/home5/.local/share/Brelix
"

echo "-- an install without its template and manual"
broken=$work/broken
cp -r "$folder" "$broken"
chmod -R u+w "$broken"
rm "$broken/Brelix_Format.xls" "$broken/Brelix.html"
chmod -R a-w "$broken"
brelix 0 "$work/home6" "$broken/brelix-cli" cells "${books[0]}"
says "brelix-cli: Brelix_Format.xls がインストール先にありません。
brelix-cli: $broken
"
says "brelix-cli: Brelix.html がインストール先にありません。"
brelix 2 "$work/home6" "$broken/brelix-cli" diff "${books[@]}"
says "実行不可能: Brelix_Format.xls がありません"

echo "-- a program's folder that cannot be written: said at start; no run starts an office"
unwritable=$work/unwritable
mkdir -p "$unwritable" "$work/runtime8"
cp "$folder/Brelix_Format.xls" "$unwritable/"
chmod -R a-w "$unwritable"
user_folder "$work/runtime8"
for job in "diff ${books[*]}" "grep TEST ${books[*]}"; do
  # shellcheck disable=SC2086 # the job's words
  brelix 2 "$work/home8" env BRELIX_HOME="$unwritable" XDG_RUNTIME_DIR="$work/runtime8" "$cli" $job
  says "brelix-cli: プログラムのフォルダに書き込めません。
brelix-cli: $unwritable
brelix-cli: 設定 (Brelix.ini) と結果 (Brelix.xls, Brelix.grp) は保存されません。"
  says "実行不可能: Brelix.$([[ $job == diff* ]] && echo xls || echo grp) を作成できません"
done
check "no office started" test ! -e "$work/runtime8/brelix-office-$user_id"

echo "-- the window starts after the message"
gui() {
  "$1" >/dev/null 2>&1 &
  pid=$!
  # The warning first; Enter closes it and the main window follows.
  box=$(timeout 30 xdotool search --sync --onlyvisible --name 'フォルダ準備エラー' | head -1)
  xdotool windowfocus --sync "$box" key Return
  main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Brelix - diff$' | head -1)
  kill "$pid"
  [ -n "$box" ] && [ -n "$main" ]
}
# xvfb-run's shell drops exported functions; the definition goes along as text.
brelix 0 "$work/home7" xvfb-run -a bash -c "$(declare -f gui); gui '$broken/brelix'"
brelix 0 "$work/home8" env BRELIX_HOME="$unwritable" xvfb-run -a bash -c \
  "$(declare -f gui); gui '$folder/brelix'"

echo "PASS"
