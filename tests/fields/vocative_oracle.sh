#!/bin/bash
# The salutation's vocative and gender measured against an independent
# implementation (the npm package czech-vocative, fetched into a temporary
# folder, never shipped) on persons' names out of the Czech hunspell
# dictionary (tests/fields/dictionary_names.py). Prints the agreement as
# "name: value unit" lines and every difference.
#   tests/fields/vocative_oracle.sh BUILD_DIR [SEED]
set -euo pipefail
build=${1:?build folder}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -f /usr/share/hunspell/cs_CZ.dic ] && command -v unmunch >/dev/null || apt-get install -y hunspell-cs hunspell-tools >/dev/null
(cd "$work" && npm install --silent czech-vocative@2.1.0 >/dev/null)
/usr/bin/python3 "$here/dictionary_names.py" "${2:-49}" "$work/forms.txt" >"$work/names.tsv"
cut -f1 "$work/names.tsv" >"$work/names.txt"
"$build/tests/fields/vocative_lines" <"$work/names.txt" >"$work/ours.txt"
(cd "$work" && node -e '
const v = require("czech-vocative");
const lines = require("fs").readFileSync("names.txt", "utf8").split("\n").filter(Boolean);
for (const n of lines) console.log(v.vocative(n) + "\t" + (v.isWoman(n) ? "f" : "m"));
') >"$work/oracle.tsv"
# Cases 2, 3, 4, 6 and 7 of each name are looked up among the forms the
# dictionary's own rules make of it (no oracle declines them).
paste "$work/names.tsv" "$work/ours.txt" | awk -F'\t' -v forms="$work/forms.txt" '
BEGIN { while ((getline form <forms) > 0) known[form] = 1 }
{ for (i = 5; i <= 9; i++) { total++; if ($i in known) found++; else print "  case " (i < 8 ? i - 3 : i - 2) " " $1 ": " $i } }
END { printf "name_cases_forms: %d\nname_cases_in_dictionary: %.1f %%\n", total, 100 * found / total }'
# name, the dictionary's gender, ours (vocative, gender), the oracle's
paste "$work/names.tsv" "$work/ours.txt" "$work/oracle.tsv" | cut -f1-4,10- | awk -F'\t' '
{ total++
  if ($3 == $5) same++; else print "  vocative " $1 ": ours " $3 ", oracle " $5
  if ($4 == $2) sameGender++; else print "  gender " $1 ": ours " $4 ", dictionary " $2 ", oracle " $6
  if ($6 == $2) oracleGender++ }
END { printf "vocative_oracle_names: %d names\nvocative_oracle_agreement: %.1f %%\n", total, 100 * same / total
      printf "gender_dictionary_agreement: %.1f %%\ngender_dictionary_agreement_of_oracle: %.1f %%\n", 100 * sameGender / total, 100 * oracleGender / total }'
