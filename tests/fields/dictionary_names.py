#!/usr/bin/python3
# Persons' names out of the Czech hunspell dictionary, which the program's
# author did not write. The dictionary's capitalised words are expanded
# into their forms by hunspell's own unmunch; a word is a man's name when
# one of its forms is the dative in -ovi (Novák/Novákovi, Svoboda/
# Svobodovi, Moravec/Moravcovi), a woman's given name when it ends in -a
# or -e and has the possessive in -in (Jana/Janin, Marie/Mariin), a woman's
# surname when it ends in -ová beside a man's. Printed as "name<TAB>m|f",
# a seeded sample of each kind.
#   dictionary_names.py [SEED [FORMS_FILE]]: FORMS_FILE gets every form
#   of the sample's names that the dictionary knows, one a line.
import os
import random
import re
import subprocess
import sys
import tempfile

DIC = "/usr/share/hunspell/cs_CZ.dic"
AFF = "/usr/share/hunspell/cs_CZ.aff"
name = re.compile(r"^[A-ZÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ][a-záčďéěíňóřšťúůýž]{2,}$")
with open(DIC, encoding="utf-8") as dic:
    next(dic)
    entries = [line.strip() for line in dic if name.match(line.split("/")[0].strip())]
with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".dic", delete=False) as capitals:
    capitals.write(f"{len(entries)}\n" + "\n".join(entries) + "\n")
forms = set(subprocess.run(["unmunch", capitals.name, AFF], capture_output=True, check=True)
            .stdout.decode("utf-8", "replace").split())
os.unlink(capitals.name)
bases = {entry.split("/")[0] for entry in entries}
SOFT = {"ň": "n", "ď": "d", "ť": "t"}


def stems(word):
    yield word
    yield word[:-1]
    if len(word) > 3 and word[-2] in "eě":
        before = word[-3]
        yield word[:-3] + (SOFT.get(before, before) if word[-2] == "e" else {"n": "ň", "d": "ď", "t": "ť"}.get(before, before)) + word[-1]


men = {w for w in bases if any(s + "ovi" in forms for s in stems(w))}
women = {w for w in bases if w[-1] in "ae" and w[:-1] + "in" in forms and w not in men}
wives = {w for w in bases if w.endswith("ová") and w[:-3] in men}
random.seed(int(sys.argv[1]) if len(sys.argv) > 1 else 49)
for names, gender, count in ((men, "m", 400), (women, "f", 100), (wives, "f", 100)):
    for word in random.sample(sorted(names), min(count, len(names))):
        print(f"{word}\t{gender}")
if len(sys.argv) > 2:
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        out.write("\n".join(sorted(forms)) + "\n")
