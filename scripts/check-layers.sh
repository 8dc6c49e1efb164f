#!/usr/bin/env bash
# Fails when a folder of src/ includes a header of a folder that is not below it, or when a
# toolkit-free folder includes a Qt header. The folders are layers, listed bottom to top; each
# line of the table names the folders below it that it may include besides itself. The table
# is checked too: a folder may name only folders listed before it, so no two folders include
# each other, directly or round a loop. A folder missing from the table is an error.
set -euo pipefail
cd "$(dirname "$0")/../src"

core="platform log settings model link store testing mail document presentation preferences graphics"
order="$core ui ui/preferences ui/views app"
declare -A may_include=(
    [platform]=""
    [log]="platform"
    [settings]="platform"
    # The live model: what the link writes into and the tick drains.
    [model]="platform log settings"
    [link]="platform log settings model"
    [store]="platform log settings model"
    [testing]="platform log settings model link store"
    [mail]="platform log settings model store"
    # The document owns the database, the controller, the instruments and the notify agent.
    [document]="platform log settings model link store testing mail"
    [presentation]="platform log settings model link store testing mail document"
    [preferences]="platform log settings model link store testing mail document presentation"
    [graphics]="platform log settings model link store testing mail document presentation"
    # Qt from here on.
    [ui]="$core"
    [ui/preferences]="$core ui"
    [ui/views]="$core ui"
    [app]="$core ui ui/preferences ui/views"
)
qt_folders=" ui ui/preferences ui/views app "

status=0
if [ "$(printf '%s\n' $order | sort)" != "$(printf '%s\n' "${!may_include[@]}" | sort)" ]; then
    echo "check-layers: the order and the table of scripts/check-layers.sh name other folders"
    exit 1
fi
below=" "
for folder in $order; do
    for lower in ${may_include[$folder]}; do
        if [[ $below != *" $lower "* ]]; then
            echo "check-layers: the table lets $folder/ include $lower/, which is not below it"
            status=1
        fi
    done
    below+="$folder "
done
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
