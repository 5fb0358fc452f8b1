#!/bin/bash
# Installs into a temporary prefix and starts the launcher once in a fresh home folder.
set -eu
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
for f in bin/quillbox bin/quillbox-db bin/formwright share/applications/formwright.desktop \
         share/icons/hicolor/scalable/apps/formwright.svg share/formwright/Quillbox.hlp; do
    [ -e "$tmp/prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
grep -qx "Exec=formwright" "$tmp/prefix/share/applications/formwright.desktop" ||
    { echo "the entry does not start the launcher"; exit 1; }
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$tmp/prefix/share/applications/formwright.desktop"
fi

mkdir "$tmp/home"
HOME=$tmp/home QT_QPA_PLATFORM=offscreen timeout 5 "$tmp/prefix/bin/formwright" || [ $? -eq 124 ]
[ -f "$tmp/home/Formwright/Quillbox.mdb" ] || { echo "no database made"; exit 1; }
cmp -s "$tmp/home/Formwright/Quillbox.hlp" "$tmp/prefix/share/formwright/Quillbox.hlp" ||
    { echo "no help file"; exit 1; }
tables=$(sqlite3 "$tmp/home/Formwright/Quillbox.mdb" \
    "SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name)")
[ "$tables" = "Document FwPageImage HistoryValue ListDoc Values_" ] || { echo "tables: $tables"; exit 1; }
rows=$(sqlite3 "$tmp/home/Formwright/Quillbox.mdb" "SELECT count(*) FROM Document")
[ "$rows" = 0 ] || { echo "the new database is not empty"; exit 1; }

# A second start keeps what the folder holds.
sqlite3 "$tmp/home/Formwright/Quillbox.mdb" "INSERT INTO Document (Name) VALUES ('x')"
HOME=$tmp/home QT_QPA_PLATFORM=offscreen timeout 5 "$tmp/prefix/bin/formwright" || [ $? -eq 124 ]
[ "$(sqlite3 "$tmp/home/Formwright/Quillbox.mdb" "SELECT count(*) FROM Document")" = 1 ]
echo "install: ok"
