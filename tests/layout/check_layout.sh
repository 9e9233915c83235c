#!/usr/bin/env bash
# Dependencies run one way: a folder may include only itself and the folders below it.
#   shell      -> mission, views, records, link, base
#   mission    -> records, link, base        views -> records, link, base
#   archive    -> views, records, base       archive/ui -> archive, views*, records*, base*
#   records    -> base                       link  -> base
#   base       -> nothing of ours (base/ui may use base)
# Prints which folder includes which, then every include that goes up or sideways; fails on any.
# link/ speaks only of the wire: a name shaped like a window's control (lbX, cmdX, imgX, txtX)
# there means window knowledge has crept into it, and fails too.
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/../.." && pwd)}"
cd "$root"

allowed() {   # allowed FROM TO
  case "$1:$2" in
    base:base | base/ui:base | base/ui:base/ui) return 0 ;;
    link:base | link:link) return 0 ;;
    records:base | records:records) return 0 ;;
    records/ui:base | records/ui:base/ui | records/ui:records | records/ui:records/ui) return 0 ;;
    mission:base | mission:link | mission:records | mission:mission) return 0 ;;
    mission/ui:base* | mission/ui:link | mission/ui:records* | mission/ui:mission*) return 0 ;;
    views:base | views:records | views:link | views:views) return 0 ;;
    views/ui:base* | views/ui:records* | views/ui:link | views/ui:views*) return 0 ;;
    archive:base | archive:records | archive:views | archive:archive) return 0 ;;
    archive/ui:archive* | archive/ui:base* | archive/ui:records* | archive/ui:views*) return 0 ;;
    shell*:*) [ "$2" != tools ] && [ "$2" != tests ] && return 0 ;;
  esac
  return 1
}

folder_of() {  # base/ui/X.h -> base/ui ; link/X.h -> link
  local d; d=$(dirname "$1")
  case "$d" in */ui) echo "$d" ;; *) echo "${d%%/*}" ;; esac
}

declare -A edges=()
bad=0
while IFS= read -r file; do
  from=$(folder_of "$file")
  while IFS= read -r inc; do
    [ -e "$inc" ] || continue          # Qt or system header that happens to use quotes
    to=$(folder_of "$inc")
    [ "$from" = "$to" ] && continue
    edges["$from -> $to"]=1
    if ! allowed "$from" "$to"; then
      echo "layout: $file includes $inc ($from may not use $to)"
      bad=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find base link records mission views archive shell -name '*.h' -o -name '*.cpp' | sort)

if widgets=$(grep -rnE '\b(lb|cmd|Cmnd|img|Img|txt|txtc)[A-Z][A-Za-z0-9]*' link/); then
  echo "$widgets" | sed 's/^/layout: a window control named in link\/: /'
  bad=1
fi

printf '%s\n' "${!edges[@]}" | sort
if [ "$bad" -ne 0 ]; then
  echo "layout: FAILED"
  exit 1
fi
echo "layout: every include runs downwards"
