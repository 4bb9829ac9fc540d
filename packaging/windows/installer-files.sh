#!/bin/sh
# Writes the installer's two lists for the files in folder $1 (the zip's top folder), for
# flitmere.nsi: InstallFiles, every file in C sort order, and UninstallFiles, the same files deleted and
# then their folders, deepest first, removed only where empty. The uninstaller thus removes what was
# installed and nothing else: a file the player put there stays, and so does its folder.
set -eu
cd "$1"
files=$(find . -type f | sed 's|^\./||' | LC_ALL=C sort)
folders=$(find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r)
# NSIS reads $, " and ` in a string as its own: names holding them are refused, not mangled.
if printf '%s\n' "$files" | grep -q '[$"`]'; then
    echo "installer-files.sh: a file name in $1 holds \$, \" or \`" >&2
    exit 1
fi
line() { printf '%s\n' "$*"; }
windows() { printf '%s' "$1" | tr / '\\'; }

line '!macro InstallFiles'
printf '%s\n' "$files" | {
    last=
    while IFS= read -r file; do
        folder=$(dirname "$file")
        if [ "$folder" != "$last" ]; then
            if [ "$folder" = . ]; then line '    SetOutPath "$INSTDIR"'; else line "    SetOutPath \"\$INSTDIR\\$(windows "$folder")\""; fi
            last=$folder
        fi
        line "    File \"$PWD/$file\""
    done
}
line '!macroend'

line '!macro UninstallFiles'
printf '%s\n' "$files" | while IFS= read -r file; do
    line "    Delete \"\$INSTDIR\\$(windows "$file")\""
done
[ -z "$folders" ] || printf '%s\n' "$folders" | while IFS= read -r folder; do
    line "    RMDir \"\$INSTDIR\\$(windows "$folder")\""
done
line '!macroend'
