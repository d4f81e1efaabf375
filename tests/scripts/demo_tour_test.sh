#!/usr/bin/env bash
# The demo's tour on a small sample school: every step runs, the messages
# and times are printed, and the teachers' workbooks are where it says.
# Usage: demo_tour_test.sh BUILD_DIR
set -euo pipefail
build_dir=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build_dir/korvex-sample" create --folder "$work/school" --students 120 --seed 3 >/dev/null
output=$("$source_dir/scripts/demo-tour" --build-dir "$build_dir" "$work/school")
printf '%s\n' "$output"

fail() { echo "demo_tour_test: $*" >&2; exit 1; }
for expected in "1. 科別類組資料匯入 (departments)" "班級資料匯入完成!" \
  "考試科目資料匯入完成!" "question answered \"yes\"" "已評分 periodical1" \
  "成績資料匯出完成!" "產生教師登錄成績Excel檔完成!" "Tour done: the ten steps took"; do
  grep -qF -- "$expected" <<<"$output" || fail "missing from the tour: $expected"
done
# Every step says how long it took.
[ "$(grep -cE '^ ?[0-9]+\. .*\([0-9]+ ms, ' <<<"$output")" -eq 10 ] || fail "not ten timed steps"
count=$(grep -oE 'workbooks: [0-9]+ files' <<<"$output" | grep -oE '[0-9]+')
actual=$(find "$work/school" -maxdepth 1 -iname '*.xls' ! -iname scorep.xls ! -iname scoret.xls | wc -l)
[ -n "$count" ] && [ "$count" -eq "$actual" ] && [ "$actual" -gt 0 ] ||
  fail "the tour says ${count:-no} workbooks, the folder holds $actual"

# A folder that is not a program folder stops the tour with a reason.
if "$source_dir/scripts/demo-tour" --build-dir "$build_dir" "$work/empty" 2>"$work/err"; then
  fail "a folder without exam.mdb was toured"
fi
grep -q "has no exam.mdb" "$work/err" || fail "no reason given for a folder without exam.mdb"
echo "demo_tour_test: ok"
