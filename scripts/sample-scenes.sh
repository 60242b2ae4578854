# Sourced by ./run scenes: a chronicle's scene-list file with sounds, models and animations,
# and the host's description texts; the host loads tarvelScenes.dll and opens the editor.
source "$ROOT_DIR/scripts/sample-wav.sh"
game="$workdir/game"
rm -rf "$game"
mkdir -p "$game/Chronicles" "$game/Models" "$game/Anims"
cat >"$game/Chronicles/act1.rix" <<'RIX'
[Cave]
SHORTDESC=SCENE_CAVE_SHORT
LONGDESC=SCENE_CAVE_LONG

[Bridge]
SHORTDESC=SCENE_BRIDGE_SHORT
LONGDESC=SCENE_BRIDGE_LONG

[Hall]
SHORTDESC=SCENE_HALL_SHORT

[Tower Top]
LONGDESC=SCENE_TOWER_LONG
RIX
cat >"$game/hoststrings.ini" <<'STR'
[strings]
SCENE_CAVE_SHORT=A damp cave under the hill
SCENE_CAVE_LONG=Water drips from the ceiling; the way on is blocked by rubble.
SCENE_BRIDGE_SHORT=The rope bridge
SCENE_BRIDGE_LONG=A swaying bridge over the gorge, watched by two guards.
SCENE_HALL_SHORT=The great hall
SCENE_TOWER_LONG=Wind and a wide view over the valley.
STR
sample_wav "$game/Sounds/wind.wav"
sample_wav "$game/Sounds/drips.wav"
printf 'ID3' >"$game/Sounds/theme.mp3"
# Sky models and animations are only picked by name here; the files stand in for real ones.
for f in sky.qev night.qev; do printf 'QEV' >"$game/Models/$f"; done
for f in sky.jup clouds.jup; do printf 'JUP' >"$game/Anims/$f"; done
args=(scenes "Z:$(printf '%s' "$game" | tr '/' '\\')" act1)
# ./run scenes picker: the host presses New in the editor, and the screenshot shows the picker.
if [ "${1:-}" = picker ]; then
  window_title="ScenePicker"
  shot="$BUILD_DIR/scenes-picker.png"
fi
