#!/usr/bin/env bash
# Checks an assembled user manual: every page is valid HTML5 (tidy, no warnings)
# and well-formed (xmllint), every local link and image of every page resolves
# to a file of the manual, every "#section" to an id of its page, and the
# pictures other files name (the AppStream screenshots) are there.
# Usage: check_manual.sh MANUAL_DIR
set -euo pipefail
manual=$1
problems=0
problem() { echo "manual: $*" >&2; problems=$((problems + 1)); }

[ -d "$manual" ] || { echo "manual: no folder $manual" >&2; exit 1; }
for file in index.html upload.html manual.css images/main-window.png images/wizard.png; do
  [ -s "$manual/$file" ] || problem "$file is missing"
done

# True when `page` has an element whose id is `id`.
has_id() { [ "$(xmllint --xpath "count(//*[@id='$2'])" "$1" 2>/dev/null)" -gt 0 ]; }

for page in "$manual"/*.html; do
  name=${page#"$manual"/}
  report=$(tidy -q -e --show-warnings yes "$page" 2>&1) || problem "$name is not valid HTML: $report"
  xmllint --noout "$page" 2>/dev/null || { problem "$name is not well-formed"; continue; }
  while IFS= read -r target; do
    case $target in
      '' | *:*) continue ;;  # addresses with a scheme leave the manual
    esac
    file=${target%%#*}
    section=
    [[ $target == *'#'* ]] && section=${target#*#}
    resolved=$page
    if [ -n "$file" ]; then
      resolved=$(dirname "$page")/$file
      [ -f "$resolved" ] || { problem "$name links to $target, which is missing"; continue; }
    fi
    if [ -n "$section" ] && ! has_id "$resolved" "$section"; then
      problem "$name links to $target, which has no section \"$section\""
    fi
  done < <(xmllint --xpath '//@href | //@src' "$page" 2>/dev/null | sed -n 's/^ *\(href\|src\)="\([^"]*\)"$/\2/p')
done

[ "$problems" -eq 0 ] || exit 1
echo "manual: $(ls "$manual"/*.html | wc -l) pages, $(ls "$manual"/images | wc -l) pictures, every link resolves"
