#!/usr/bin/env bash
# Writes every file the program makes for one rich phonebook into OUT: the JSON dump,
# every layout in every encoding, the files of a save and what phones are served.
# Run it with two builds and compare the folders (diff -r) to show that a change of
# structure changed no output.
#   tools/outputs.sh path/to/quorvane-phonebook OUT
set -euo pipefail
cli=$(readlink -f "$1"); out=$(mkdir -p "$2" && cd "$2" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d); trap 'kill $serve_pid 2>/dev/null || true; rm -rf "$work"' EXIT
serve_pid=
q() { "$cli" --dir "$work" "$@"; }

# A phonebook of our own layouts, the mail programs' files and names in many scripts.
python3 - "$work/rich.xml" <<'PY'
import sys, random
random.seed(7)
names = [("张","三"),("李","四"),("Anna","McLee"),("Ольга","Иванова"),("김","민준"),("山田","太郎"),
         ("A&B <x>","\"quoted\""),("Zoë","Ørsted"),("", "NoFirst"),("NoLast",""),("曾","单"),("Ann","O'Hara")]
types = ["Work","Home","Mobile","Fax","Pager","Car","Telex","Work Fax","Custom","Other","CompanyTotal"]
groups = [(3,"Golf"),(4,"Chess & Go"),(5,"家人"),(6,"Друзья")]
o = ['<?xml version="1.0" encoding="UTF-8"?>','<AddressBook>','    <version>1</version>']
for gid, g in groups:
    o += ['    <pbgroup>', f'        <id>{gid}</id>', f'        <name>{g.replace("&","&amp;")}</name>',
          '        <photos></photos>','        <ringtones></ringtones>','        <RingtoneIndex>1</RingtoneIndex>','    </pbgroup>']
for i in range(60):
    f, l = names[i % len(names)]
    esc = lambda s: s.replace("&","&amp;").replace("<","&lt;")
    o += ['    <Contact>', f'        <id>{i+1}</id>', f'        <FirstName>{esc(f)}{i}</FirstName>',
          f'        <LastName>{esc(l)}</LastName>', f'        <Department>Dept {i%5}</Department>',
          f'        <Primary>{i%4}</Primary>', f'        <Frequent>{i%2}</Frequent>']
    for k in range(i % 4):
        o += [f'        <Phone type="{types[(i+k)%len(types)]}">', f'            <phonenumber>+86 10-{i:04d}{k}</phonenumber>',
              f'            <accountindex>{(i+k)%7}</accountindex>', '        </Phone>']
    o += [f'        <Mail type="{["Work","Home","Mobile","Other"][i%4]}">user{i}@example.org</Mail>']
    for gid, g in groups:
        if (i + gid) % 3 == 0:
            o += [f'        <Group>{gid}</Group>']
    o += ['        <PhotoUrl></PhotoUrl>','        <RingtoneUrl></RingtoneUrl>','        <RingtoneIndex>0</RingtoneIndex>','    </Contact>']
o.append('</AddressBook>')
open(sys.argv[1], "w", encoding="utf-8").write("\n".join(o) + "\n")
PY

q new >/dev/null
q import "$work/rich.xml" >/dev/null
for f in "$src"/tests/data/import/*.{xml,csv,vcf}; do q import "$f" >/dev/null 2>&1 || echo "import refused: $(basename "$f")" >>"$out/imports.txt"; done
q import "$src/tests/data/import/general.xml" --replace-duplicates >/dev/null
rw="$src/../shared/fixtures/realworld"
[ -d "$rw" ] || rw="$src/../../shared/fixtures/realworld"
if [ -d "$rw" ]; then
  for f in "$rw"/*.vcf "$rw"/*.csv; do q import "$f" --encoding auto >/dev/null 2>&1 || echo "import refused: $(basename "$f")" >>"$out/imports.txt"; done
fi
q dump >"$out/dump.json"

mkdir -p "$out/export"
for fmt in $(seq 0 12); do
  for enc in UTF-8 UTF-16 UTF-32 GBK Big5 Big5-HKSCS Shift-JIS "ISO 2022-JP" KOI8-R Windows-1251 EUC-KR "ISO 8859-1" "ISO 8859-15"; do
    name="$fmt-${enc// /_}"
    if q export --format "$fmt" --encoding "$enc" --out "$out/export/$name" >/dev/null 2>&1; then :; else echo "$name refused" >>"$out/export/refused.txt"; fi
  done
done

q save >/dev/null
cp "$work"/target/phonebook_*.xml "$out/target.xml"
cp -r "$work/HTTPD" "$out/HTTPD"

# What phones get when their file has to be written on request.
rm -rf "$work/HTTPD"
port=$((20000 + RANDOM % 20000))
(cd "$work" && exec "$cli" --dir "$work" serve --port "$port" >/dev/null 2>&1) & serve_pid=$!
for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$port/none" && break; sleep 0.1; done
mkdir -p "$out/served"
for ua in Alder Birch Cedar Brenn Generic; do
  curl -s -A "$ua/1.0" "http://127.0.0.1:$port/phonebook.xml" -o "$out/served/$ua.xml"
done
echo "outputs in $out"
