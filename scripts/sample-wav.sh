# Sourced by the sample scripts: sample_wav FILE writes a short silent 8-bit mono WAV file.
sample_le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
sample_wav() {
  local samples=800
  mkdir -p "$(dirname "$1")"
  {
    printf 'RIFF'; sample_le32 $((36 + samples)); printf 'WAVEfmt '
    sample_le32 16; printf '\x01\x00\x01\x00'; sample_le32 8000; sample_le32 8000; printf '\x01\x00\x08\x00'
    printf 'data'; sample_le32 "$samples"
    head -c "$samples" /dev/zero | tr '\0' '\200'
  } >"$1"
}
