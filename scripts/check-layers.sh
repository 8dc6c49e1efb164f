#!/usr/bin/env bash
# Fails when a folder of src/ includes a header of a folder above it, or when a toolkit-free
# folder includes a Qt header. Each line of the table lists a folder and the folders it may
# include besides itself, bottom to top; a folder missing from the table is an error too.
set -euo pipefail
cd "$(dirname "$0")/../src"

core="platform log settings store link document testing mail presentation preferences graphics"
declare -A may_include=(
    [platform]=""
    [log]="platform"
    [settings]="platform"
    # The subsystems build on one another (the write-back reads the document, the document
    # owns the database, the instruments and the notify agent).
    [store]="platform log settings link document testing mail"
    [link]="platform log settings store document testing mail"
    [document]="platform log settings store link testing mail"
    [testing]="platform log settings store link document mail"
    [mail]="platform log settings store link document testing"
    [presentation]="platform log settings store link document testing mail"
    [preferences]="platform log settings store link document testing mail presentation"
    [graphics]="platform log settings store link document testing mail presentation"
    # Qt from here on.
    [ui]="$core"
    [ui/preferences]="$core ui"
    [ui/views]="$core ui"
    [app]="$core ui ui/preferences ui/views"
)
qt_folders=" ui ui/preferences ui/views app "

status=0
# Sets $dir to the folder of a path, without a subshell (this runs for every include).
folder_of() {
    dir=${1%/*}
    if [ "$dir" = "$1" ]; then dir=.; fi
}
while IFS= read -r folder; do
    [ -n "${may_include[$folder]+set}" ] && continue
    echo "check-layers: $folder/ is not in the table of scripts/check-layers.sh"
    status=1
done < <(find . \( -name '*.h' -o -name '*.cpp' \) -printf '%h\n' | sed 's|^\./||' | sort -u)
# One line per include: file, then the included name.
while IFS=: read -r file line; do
    folder_of "$file"
    folder=$dir
    [ -n "${may_include[$folder]+set}" ] || continue
    if [[ $line == "#include <Q"* ]]; then
        if [[ $qt_folders != *" $folder "* ]]; then
            echo "check-layers: $file is toolkit-free but includes a Qt header"
            status=1
        fi
        continue
    fi
    included=${line#\#include \"}
    included=${included%%\"*}
    [[ $included == */* ]] || continue
    folder_of "$included"
    if [[ " $folder ${may_include[$folder]} " != *" $dir "* ]]; then
        echo "check-layers: $file includes $included, above or beside its folder"
        status=1
    fi
done < <(grep -r --include='*.h' --include='*.cpp' -E '^#include ("[^"]*/|<Q)' . | sed 's|^\./||')
exit $status
