# Sourced by ./run viewer: the sample game folder (a textured, boned model with a collapse map,
# its turning animation, material and textures, part of it in a pack archive), written by the
# fixture writers; the viewer starts in it on the model and its animation.
rm -rf "$workdir/3D" "$workdir/Materials" "$workdir/Ui" "$workdir"/*.vop
"$BUILD_DIR/wine-emulator.sh" "$BUILD_DIR/bin/qevview_sample_game.exe" \
  "Z:$(printf '%s' "$workdir" | tr '/' '\\')" </dev/null >"$BUILD_DIR/viewer-sample.log" 2>&1 ||
  { echo "could not write the sample game folder: see $BUILD_DIR/viewer-sample.log"; exit 1; }
args=(-model totem.qev -anim turn.jup)
# On the virtual display F (scan code 0x21) is pressed once the window is up, so that the
# screenshot shows the statistics line.
sample_after_start() {
  "$BUILD_DIR/wine-emulator.sh" "$BUILD_DIR/bin/qevview_press_key.exe" 0x21 </dev/null \
    >>"$BUILD_DIR/viewer-sample.log" 2>&1
}
