#!/usr/bin/env bash
# Every relative link in the tree's Markdown files leads to a file inside the tree, and where it
# names a heading of a Markdown file (#anchor), to a heading that file has, by GitHub's rule for
# anchors. Links with a scheme (https:, mailto:) are not followed; nor is anything in code.
#   bash markdown_links_test.sh ROOT
set -uo pipefail
export LC_ALL=C  # bytes: the anchors of headings in plain ASCII are checked exactly
root=$(cd "$1" && pwd -P) || exit 2

declare -A anchors             # per Markdown file: " slug1 slug2 ... " of its headings
declare -A unreadable_anchors  # per file: the slugs of its headings that are not plain ASCII

# The patterns, kept in variables so that the shell reads none of their characters.
fence_open='^ {0,3}(```|~~~)'
indent=$'^(    |\t)'
heading='^ {0,3}#{1,6}[[:space:]]+(.*)$'
closing_hashes='^(.*[^[:space:]])[[:space:]]+#+[[:space:]]*$'
scheme='^[A-Za-z][A-Za-z0-9+.-]*:'
code_span='^([^`]*)`+[^`]*`+(.*)$'
definition='^ {0,3}\[[^]^][^]]*\]:[[:space:]]*<?([^[:space:]>]+)'
inline_link='\]\([[:space:]]*<?([^[:space:]()<>]*)[^)]*\)(.*)$'
link_in_text='^(.*)\[([^]]*)\]\([^)]*\)(.*)$'

# GitHub's anchor for a heading's text: the text as shown (links give their text), lower case,
# everything but letters, digits, spaces, '-' and '_' dropped, spaces made '-'.
slug() {
  local text=$1
  while [[ $text =~ $link_in_text ]]; do
    text=${BASH_REMATCH[1]}${BASH_REMATCH[2]}${BASH_REMATCH[3]}
  done
  text=${text,,}
  text=${text//[^a-z0-9 _-]/}
  printf '%s' "${text// /-}"
}

# Calls `visit FILE LINE-NUMBER LINE` for each line of FILE outside fenced and indented code.
each_prose_line() {
  local file=$1 visit=$2 line number=0 fence='' fence_close='' indented=0 blank=1
  while IFS= read -r line || [[ -n $line ]]; do
    number=$((number + 1))
    line=${line%$'\r'}
    if [[ -n $fence ]]; then
      [[ $line =~ $fence_close ]] && fence=''
      continue
    fi
    if [[ $line =~ $fence_open ]]; then
      fence=${BASH_REMATCH[1]}
      fence_close="^ {0,3}$fence"
      continue
    fi
    if [[ $line =~ $indent ]] && ((blank || indented)); then
      indented=1
      continue
    fi
    if [[ $line =~ ^[[:space:]]*$ ]]; then
      blank=1
      continue
    fi
    blank=0 indented=0
    "$visit" "$file" "$number" "$line"
  done < "$file"
}

# The anchors of one file's headings, numbered -1, -2 ... where a heading repeats.
collect_anchor() {
  local line=$3 text anchor
  [[ $line =~ $heading ]] || return
  text=${BASH_REMATCH[1]}
  [[ $text =~ $closing_hashes ]] && text=${BASH_REMATCH[1]}
  anchor=$(slug "$text")
  local base=$anchor n=0
  while [[ ${anchors[$1]} == *" $anchor "* ]]; do
    n=$((n + 1))
    anchor=$base-$n
  done
  anchors[$1]+="$anchor "
  [[ $text == *[^\ -~]* ]] && unreadable_anchors[$1]+="$anchor "
}

anchors_of() {
  if [[ -z ${anchors[$1]+set} ]]; then
    anchors[$1]=' '
    unreadable_anchors[$1]=' '
    each_prose_line "$1" collect_anchor
  fi
}

failures=0
links=0
broken() {
  printf '%s:%s: %s: %s\n' "${1#"$root"/}" "$2" "$3" "$4" >&2
  failures=$((failures + 1))
}

check_link() {
  local file=$1 number=$2 link=$3 path fragment target
  [[ $link =~ $scheme || $link == //* ]] && return
  links=$((links + 1))
  path=${link%%#*}
  fragment=${link#"$path"}
  fragment=${fragment#\#}
  path=${path//%20/ }
  if [[ -z $path ]]; then
    target=$file
  elif [[ $path == /* ]]; then
    target=$(realpath -m "$root$path")
  else
    target=$(realpath -m "$(dirname "$file")/$path")
  fi
  if [[ $target != "$root" && $target != "$root"/* ]]; then
    broken "$file" "$number" "$link" "leads outside the tree"
  elif [[ ! -e $target ]]; then
    broken "$file" "$number" "$link" "no such file"
  elif [[ -n $fragment && $target == *.md ]]; then
    if [[ ! -f $target ]]; then
      broken "$file" "$number" "$link" "not a file"
      return
    fi
    anchors_of "$target"
    if [[ $fragment == *[^\ -~]* ]]; then
      broken "$file" "$number" "$link" \
        "the anchor is not plain ASCII and cannot be checked here: link a heading in ASCII"
    elif [[ ${anchors[$target]} != *" $fragment "* ]]; then
      broken "$file" "$number" "$link" "no heading of ${target#"$root"/} has this anchor"
    elif [[ ${unreadable_anchors[$target]} == *" $fragment "* ]]; then
      broken "$file" "$number" "$link" \
        "the heading is not plain ASCII and its anchor cannot be checked here: write it in ASCII"
    fi
  fi
}

# The links of one line: inline [text](target "title"), images, and definitions [name]: target.
check_line() {
  local line=$3 rest destination
  while [[ $line =~ $code_span ]]; do  # code spans hold no links
    line="${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
  done
  if [[ $line =~ $definition ]]; then
    check_link "$1" "$2" "${BASH_REMATCH[1]}"
  fi
  rest=$line
  while [[ $rest =~ $inline_link ]]; do
    destination=${BASH_REMATCH[1]}
    rest=${BASH_REMATCH[2]}
    [[ -n $destination ]] && check_link "$1" "$2" "$destination"
  done
}

documents=0
while IFS= read -r -d '' document; do
  documents=$((documents + 1))
  each_prose_line "$document" check_line
done < <(find "$root" \( -path "$root/build" -o -path "$root/.git" \) -prune -o \
  -name '*.md' -type f -print0)

if ((documents == 0)); then
  echo "no Markdown files under $root" >&2
  exit 1
fi
if ((failures > 0)); then
  echo "$failures of $links relative links in $documents Markdown files are broken" >&2
  exit 1
fi
echo "$links relative links in $documents Markdown files lead where they say"
