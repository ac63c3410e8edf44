#!/bin/sh
# layering.sh SOURCE_DIR -- fail on an include between folders that the layering forbids.
#
# A folder of src/ (and app/) may include its own headers and the public header
# <folder>/<folder>.h of the folders below it in this table; every other header of a
# folder is private to the folder and to the tests. The benchmarks and the fuzz driver
# may include any public header. The README's architecture section shows the same table.
set -u
ROOT=${1:-.}

may_include() {
  case $1 in
    io) echo "" ;;
    model) echo "io" ;;
    report) echo "model io" ;;
    wall | pressure | soil) echo "report model io" ;;
    run) echo "wall pressure soil report model io" ;;
    results) echo "model io" ;;
    export) echo "results" ;;
    app) echo "run results export model io" ;;
    *) echo "?" ;;
  esac
}

# One line per forbidden include on the output.
complain() { echo "$1: $2"; }

# check FILE OWNER KIND: KIND src for a folder of the program, public for the benchmarks
# and the fuzz driver.
check() {
  grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/[A-Za-z0-9_]+\.h"' "$1" |
    sed -E 's/^([0-9]+):.*"([a-z_]+)\/([A-Za-z0-9_]+)\.h".*/\1 \2 \3/' |
    while read -r LINE DIR BASE; do
      AT="$1:$LINE: \"$DIR/$BASE.h\""
      [ "$DIR" = "$2" ] && continue
      if [ "$3" = src ]; then
        case " $(may_include "$2") " in
          *" $DIR "*) ;;
          *) complain "$AT" "$2 may not include $DIR"; continue ;;
        esac
      fi
      [ "$BASE" = "$DIR" ] || complain "$AT" "private header of $DIR"
    done
}

scan() {
  for DIR in io model report wall pressure soil run results export; do
    for F in "$ROOT"/src/$DIR/*.h "$ROOT"/src/$DIR/*.cpp; do
      [ -f "$F" ] && check "$F" "$DIR" src
    done
  done
  for F in "$ROOT"/app/*.h "$ROOT"/app/*.cpp; do
    [ -f "$F" ] && check "$F" app src
  done
  for F in "$ROOT"/bench/*.cpp "$ROOT"/fuzz/*.cpp; do
    [ -f "$F" ] && check "$F" none public
  done
}

FOUND=$(scan)
if [ -n "$FOUND" ]; then
  echo "$FOUND" >&2
  exit 1
fi
echo "layering: every include between folders is allowed"
