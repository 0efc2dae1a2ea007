#!/usr/bin/env bash
# Writes the demo installation into a data folder: the configuration file (dist/demo/kelvaris.cfg)
# with this year's and next year's holidays, and a dispatch file <ID>.tim for each demo target
# (dist/demo/targets.cfg) with duty from a few days before to two weeks after today. Files of the
# demo that are already there are replaced; other files in the folder stay.
#   scripts/make-demo.sh DATA_FOLDER [BIN_FOLDER]      (BIN_FOLDER: where kelvarisctl is; build/bin)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

if (($# < 1 || $# > 2)) || [[ -z "$1" ]]; then
  echo "usage: make-demo.sh DATA_FOLDER [BIN_FOLDER]" >&2
  exit 2
fi
data=$1
bin=${2:-"$root/build/bin"}
ctl="$bin/kelvarisctl"
if [[ ! -x "$ctl" ]]; then
  echo "make-demo: $ctl not found (build first, e.g. scripts/setup.sh)" >&2
  exit 1
fi
mkdir -p "$data"

# Replaces a file of the data folder atomically with standard input.
put() {
  cat >"$data/$1.tmp"
  mv -f "$data/$1.tmp" "$data/$1"
}

# The configuration file, with CR LF line ends.
sed 's/\r*$/\r/' "$root/dist/demo/kelvaris.cfg" | put kelvaris.cfg
year=$(date +%Y)
"$ctl" holidays generate "$year" "$((year + 1))" --config "$data/kelvaris.cfg" >/dev/null

# The demo's targets (as in dist/demo/targets.cfg).
declare -A name=(
  [101]="Anna Berger" [102]="Bernd Keller" [103]="Clara Hofmann" [104]="David Novak"
  [105]="Eva Lindqvist" [106]="Felix Brandt" [107]="Greta Sommer" [108]="Hannes Vogel"
  [109]="Ines Marquardt" [110]="Jonas Petersen" [111]="Karin Wolff" [112]="Lukas Fischer"
  [201]="Service Desk" [202]="On-Call Duty" [203]="Network Operations"
)
oncall=(106 107 108) # the members of On-Call Duty (202), the takeover group
declare -A ranges=()

# add ID DATE(YYYYMMDD) FROM TO: one range line.
add() {
  ranges[$1]+="$2=$3-$4"$'\r\n'
}

today=$(date +%F)
hour=$((10#$(date +%H)))
for offset in $(seq -3 14); do
  day=$(date -d "$today $offset days" +%Y%m%d)
  next=$(date -d "$today $((offset + 1)) days" +%Y%m%d)
  weekday=$(date -d "$today $offset days" +%u) # 1 Monday ... 7 Sunday
  serial=$(($(date -u -d "$day" +%s) / 86400))  # days since 1970: the on-call rota
  if ((weekday <= 5)); then
    # Service desk: two early, two late, one part-time (Monday, Wednesday, Friday mornings).
    add 101 "$day" 07:00 15:00
    add 102 "$day" 07:00 15:00
    add 103 "$day" 12:00 20:00
    add 104 "$day" 12:00 20:00
    if ((weekday % 2 == 1)); then
      add 105 "$day" 08:00 12:00
    fi
    add 201 "$day" 07:00 20:00
    # Network operations on working days, 06:00-22:00; today and tomorrow the early member leaves
    # at 13:00: a gap in cover the demo shows (always one within the next day).
    if ((offset == 0 || offset == 1)); then
      add 109 "$day" 06:00 13:00
    else
      add 109 "$day" 06:00 14:00
    fi
    add 110 "$day" 14:00 22:00
    add 203 "$day" 06:00 22:00
  else
    # At weekends 08:00-20:00, one member; today and tomorrow with the same gap at 13:00.
    member=$((weekday == 6 ? 111 : 112))
    if ((offset == 0 || offset == 1)); then
      add "$member" "$day" 08:00 13:00
      add "$member" "$day" 14:00 20:00
    else
      add "$member" "$day" 08:00 20:00
    fi
    add 203 "$day" 08:00 20:00
  fi
  # On call around the clock: a day member 07:00-19:00, a night member 19:00-07:00 (two ranges,
  # as a range never spans midnight), so each member has a night, a free day, then a day duty;
  # the group itself is on duty all day.
  dayMember=${oncall[serial % 3]}
  nightMember=${oncall[(serial + 2) % 3]}
  add "$dayMember" "$day" 07:00 19:00
  add "$nightMember" "$day" 19:00 24:00
  add "$nightMember" "$next" 00:00 07:00
  add 202 "$day" 00:00 24:00
  if ((offset == 0)); then
    if ((hour >= 7 && hour < 19)); then
      current=$dayMember
    elif ((hour >= 19)); then
      current=$nightMember
    else
      current=${oncall[(serial + 1) % 3]} # yesterday's night member
    fi
  fi
done

# The dispatch files: [Settings], Name, for groups Takeover (and the member on duty now as the
# current target of the takeover group), then one range per line.
for id in "${!name[@]}"; do
  {
    printf '[Settings]\r\nName=%s\r\n' "${name[$id]}"
    if [[ $id == 202 ]]; then
      printf 'Takeover=1\r\nCurrentTargetID=%s\r\n' "$current"
    elif [[ $id == 2* ]]; then
      printf 'Takeover=0\r\n'
    fi
    printf '%s' "${ranges[$id]:-}"
  } | put "$id.tim"
done
echo "make-demo: demo installation written to $data"
