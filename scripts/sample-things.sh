# Sourced by ./run things: a small game folder with template files, sounds, script and AI
# classes, and the host's template tree and selection; the host loads tarvelThings.dll.
source "$ROOT_DIR/scripts/sample-wav.sh"
game="$workdir/game"
rm -rf "$game"
mkdir -p "$game/Templates" "$game/Codex" "$game/Misc/Foley" "$game/Misc/AI"
# The panel never reads template files; the host lists them by name.
for f in global.zul Umberfell.zul Brightwick.zul dungeon.zul; do printf 'ZUL' >"$game/Templates/$f"; done
printf 'class Door\n' >"$game/Codex/Door.class"
printf 'steps\n' >"$game/Misc/Foley/stone.wek"
printf 'guard\n' >"$game/Misc/AI/guard.jop"
sample_wav "$game/Sounds/Actors/bell.wav"
sample_wav "$game/Sounds/Environment/wind.wav"
sample_wav "$game/Sounds/Music/bell.wav"
# file|template|category|subcategory
cat >"$game/hosttree.txt" <<'TREE'
global.zul|Sword|20|Blades
global.zul|Axe|20|Blades
global.zul|Club|20|[-[none]-]
global.zul|Orc|5|[-[none]-]
global.zul|Goblin|5|Small
global.zul|Torch|11|[-[none]-]
Umberfell.zul|Swamp Troll|5|[-[none]-]
Umberfell.zul|Bridge|16|[-[none]-]
Brightwick.zul|Innkeeper|12|[-[none]-]
Brightwick.zul|Sword|20|Blades
dungeon.zul|Crypt Door|15|Doors
TREE
cat >"$game/hostselection.txt" <<'SEL'
selected 2
origin=128 64 0
ANGLE=90
TEMPLATE=Sword
COLOR=255 200 120
LIGHT=300
STYLE=1
SOUND=bell.wav
SOUNDVOLUME=80
*SCRIPT=Door
SEL
args=(things "Z:$(printf '%s' "$game" | tr '/' '\\')")
