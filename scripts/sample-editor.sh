# Sourced by ./run editor: the tag-definition and data files beside the program, two template
# files (the second inherits from the first across files) and the game's string lists, then the
# editor starts with both template files open. Only what is missing is written: the user's saved
# edits stay (rm -rf build/sample/editor starts afresh). The tag and data files are copied again
# when the sample's own copy is newer.
sample_dir="$ROOT_DIR/Tools/ZulEditor/sample"
cp -u "$sample_dir/zuleditortags.txt" "$sample_dir/zuleditordata.txt" "$BUILD_DIR/bin/"

# Little-endian 32-bit word as hex text.
zul_u32() {
  local v=$(( $1 & 0xFFFFFFFF ))
  printf '%02x%02x%02x%02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255))
}
# Text padded with zeros to n bytes, as hex text.
zul_text() {
  local text="$1" n="$2" hex
  hex=$(printf '%s' "$text" | od -An -v -tx1 | tr -d ' \n')
  printf '%s' "$hex"
  printf '%*s' $(( 2 * n - ${#hex} )) '' | tr ' ' 0
}
# One tag record "id:kind:value": s text, i integer, f one to three IEEE words in hex (3f800000).
zul_tag() {
  local id="${1%%:*}" rest="${1#*:}" kind value hex="" w
  kind="${rest%%:*}"; value="${rest#*:}"
  zul_u32 "$id"
  case "$kind" in
    s) zul_text "$value" 32 ;;
    i) hex=$(zul_u32 "$value"); printf '%s' "$hex"; zul_text "" 28 ;;
    f) for w in ${value//,/ }; do hex+=$(zul_u32 "0x$w"); done
       printf '%s' "$hex"; zul_text "" $(( 32 - ${#hex} / 2 )) ;;
  esac
}
# zul_file OUT then per template: "name|description|tag|tag...". Templates come parents first.
zul_file() {
  local out="$1"; shift
  local n=$# offset=$(( 12 + 36 * $# )) dir="" bodies="" t name desc body tags tag count
  for t in "$@"; do
    IFS='|' read -r name desc tags <<<"$t"
    body="" count=0
    for tag in ${tags//|/ }; do body+=$(zul_tag "${tag//\~/ }"); count=$((count + 1)); done
    local dtext=""
    [ -n "$desc" ] && dtext=$(printf '%s\r\n' "$desc" | od -An -v -tx1 | tr -d ' \n')
    body="$(zul_u32 $count)$body$(zul_u32 $(( ${#dtext} / 2 + 1 )))${dtext}00"
    dir+="$(zul_text "$name" 32)$(zul_u32 $offset)"
    bodies+="$body"
    offset=$(( offset + ${#body} / 2 ))
  done
  local hex="5a554c10$(zul_u32 1)$(zul_u32 "$n")$dir$bodies"
  printf '%s' "$hex" | sed 's/../\\x&/g' | xargs -0 printf '%b' >"$out"
}

# Tag values: blanks in texts are written as "~".
[ -f "$workdir/base.zul" ] || zul_file "$workdir/base.zul" \
  "Object|The root of every object|1:s:Actor 2:i:3 3:f:437f0000,43480000,42f00000 4:s:object.qev 5:s:OBJ_NAME" \
  "Creature|Anything that lives|0:s:Object 10:i:100 11:i:0 12:f:40200000 13:s:walk" \
  "Weapon|Things to hit with|0:s:Object 1:s:Weapon 2:i:5 60:f:40400000 61:f:00000000,3f000000,3f800000 20:i:25" \
  "Arrow|Ammunition|0:s:Object 1:s:Item 20:i:1 60:f:3dcccccd"
[ -f "$workdir/monsters.zul" ] || zul_file "$workdir/monsters.zul" \
  "Orc|Inherits from Creature in base.zul|0:s:Creature 10:i:250 11:i:2 4:s:orc.qev 99:s:spawns~in~groups" \
  "Orc Chief|Leads the orcs|0:s:Orc 10:i:600 80:s:Gold~Pile 3:f:43200000,42800000,42000000" \
  "Goblin|Small and quick|0:s:Creature 10:i:60 11:i:2 12:f:40800000 2:i:19" \
  "Bow|A weapon from another file|0:s:Weapon 21:s:Arrow 40:i:12 20:i:40" \
  "Gold Pile|Left behind by chiefs|1:s:Item 20:i:100 2:i:4"

# The game's string lists and a model and animation for the file pickers, which the data file
# points at ("..\sample\editor\Models" from the program's folder).
sample_missing() { [ ! -e "$workdir/$1" ]; }
mkdir -p "$workdir/Strings" "$workdir/Misc" "$workdir/Models" "$workdir/Anims"
sample_missing Strings/game.kez &&
  printf '# game strings\nOBJ_NAME  Object\nORC_NAME  Orc\nGOBLIN_NAME  Goblin\n' >"$workdir/Strings/game.kez"
sample_missing Strings/system.kez && printf '// system strings\nSYS_OK  OK\nSYS_CANCEL  Cancel\n' >"$workdir/Strings/system.kez"
sample_missing Misc/effects.gux && printf '# effects\nfx_smoke\nfx_sparks\n' >"$workdir/Misc/effects.gux"
sample_missing Misc/game.pif && printf '# particles\npif_dust\n' >"$workdir/Misc/game.pif"
for f in Models/object.qev Models/orc.qev Anims/walk.jup; do sample_missing "$f" && : >"$workdir/$f"; done

args=("Z:$(printf '%s' "$workdir/base.zul" | tr '/' '\\')" "Z:$(printf '%s' "$workdir/monsters.zul" | tr '/' '\\')")
