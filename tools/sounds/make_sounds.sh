#!/usr/bin/env bash
# Regenerates every wave recording the games ship, into resources/sounds/.
#
#   bash tools/sounds/make_sounds.sh            make all files, then check them
#   bash tools/sounds/make_sounds.sh --check    only check the committed files
#
# Words and phrases are spoken by espeak-ng; effects are synthesised by sox.
# Every file ends up as a plain RIFF WAVE: PCM, mono, 8-bit unsigned, 11025 Hz.
# Needs the Debian packages espeak-ng and sox (apt-get install espeak-ng sox).
#
# sox runs with -R (fixed random seed) so noise and dither come out the same on
# every run and a regeneration without changes leaves git with nothing to commit.
# SOX_VERBOSE=2 shows sox's warnings (clipping and the like) while tuning.
#
# Other recordings for the mine field's explosion menu, beside "explode":
# explode_nuclear, explode_goshdarn, explode_awshucks.

set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="$root/resources/sounds"

# One voice for every word so that spoken numbers join into one sentence.
VOICE="en-us"
RATE=150          # words per minute
PITCH=48

# Loudness of the speech: each recording is brought to the same RMS level,
# but never so far that its peak passes PEAK_DB.
SPEECH_RMS_DB=-19
PEAK_DB=-1.5
# Silence kept at each end of a spoken recording (seconds).
LEAD=0.02
TAIL=0.03

RATE_HZ=11025
WORK_HZ=22050

# ---------------------------------------------------------------------------
# The spoken recordings: resource name, then the text.
#
# Numbers are said word by word ("one" "hundred" "twenty" "three"), so the
# number words carry a comma: espeak-ng then gives them the level,
# unfinished tone of a word in the middle of a sentence.
# The phrases are written for the sentences they take part in:
#   new game:        best_score_wav <n> good_luck_wav
#   game won:        gametook_wav <n> moves_wav
#                    gametook_wav <n> newrecor_wav
#                    gametook_wav <n> movesrec_wav <old best>
#   mine field end:  yourscorewas_wav <n> explosions_wav | <time>
#                    [new_rec_wav] recordmoves_wav <n> explosions_wav | <time>
#   times:           <n> HOURS_WAV <n> MINUTES_WAV <n> SECONDS_WAV
# ---------------------------------------------------------------------------
SPOKEN=(
  "n0|zero,"       "n1|one,"        "n2|two,"        "n3|three,"
  "n4|four,"       "n5|five,"       "n6|six,"        "n7|seven,"
  "n8|eight,"      "n9|nine,"       "n10|ten,"       "n11|eleven,"
  "n12|twelve,"    "n13|thirteen,"  "n14|fourteen,"  "n15|fifteen,"
  "n16|sixteen,"   "n17|seventeen," "n18|eighteen,"  "n19|nineteen,"
  "n20|twenty,"    "n30|thirty,"    "n40|forty,"     "n50|fifty,"
  "n60|sixty,"     "n70|seventy,"   "n80|eighty,"    "n90|ninety,"
  "n100|hundred,"  "n1000|thousand," "million|million,"
  "HOURS_WAV|hours,"  "MINUTES_WAV|minutes,"  "SECONDS_WAV|seconds."

  "best_score_wav|Your best score is,"
  "good_luck_wav|moves. Good luck!"
  "gametook_wav|This game took,"
  "moves_wav|moves."
  "newrecor_wav|moves. A new record!"
  "movesrec_wav|moves. The record is,"
  "soundon|Sound on."
  "soundoff|Sound off."
  "goodbye|Goodbye!"

  "yourscorewas_wav|Your score was,"
  "explosions_wav|explosions."
  "new_rec_wav|A new record!"
  "recordmoves_wav|The record was,"

  # Voices for the other explosion choices of the mine field's menu.
  "explode_goshdarn|Gosh darn it!"
  "explode_awshucks|Aw, shucks!"
)

# Synthesised effects (made by the functions below).
EFFECTS=(
  plain_beep plain_beep2 take_two tick_wav kcongrat
  deepexpl explode explode_nuclear bonus_wav bonus2_wav
)

die() { echo "make_sounds: $*" >&2; exit 1; }

needed=(sox soxi od awk)
[ "${1:-}" = --check ] || needed+=(espeak-ng)
for tool in "${needed[@]}"; do
  command -v "$tool" >/dev/null 2>&1 || die "$tool is missing (apt-get install espeak-ng sox)"
done

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# sox with a fixed seed, quiet unless something goes wrong.
sx() { sox -R -V"${SOX_VERBOSE:-1}" "$@"; }

# Peak and RMS level (dBFS) of a file, from sox's stat.
levels() {
  sox "$1" -n stat 2>&1 | awk '
    /^Maximum amplitude/ { mx = $3 } /^Minimum amplitude/ { mn = -$3 }
    /^RMS +amplitude/    { rms = $3 }
    END { pk = (mx > mn) ? mx : mn;
          printf "%.3f %.3f\n", 20*log(pk)/log(10), 20*log(rms)/log(10) }'
}

# Gain (dB) that brings a file to the target RMS without passing PEAK_DB.
speech_gain() {
  read -r pk rms < <(levels "$1")
  awk -v pk="$pk" -v rms="$rms" -v t="$SPEECH_RMS_DB" -v cap="$PEAK_DB" \
    'BEGIN { g = t - rms; if (pk + g > cap) g = cap - pk; printf "%.3f\n", g }'
}

# Final step for every recording: mono, 8-bit unsigned PCM at 11025 Hz.
finish() {  # in.wav name
  sx "$1" -r "$RATE_HZ" -c 1 -b 8 -e unsigned-integer "$out/$2.wav"
}

# Trimmed speech at working rate and level, before the final conversion.
speech_raw() {  # text out.wav
  espeak-ng -v "$VOICE" -s "$RATE" -p "$PITCH" -w "$tmp/say.wav" "$1"
  # Cut the silence off both ends, with a soft 5 ms edge so nothing clicks.
  sx "$tmp/say.wav" -b 16 "$tmp/cut.wav" \
    highpass 60 \
    silence 1 0.004 0.15% reverse silence 1 0.004 0.15% reverse
  sx "$tmp/cut.wav" "$tmp/trim.wav" fade t 0.005 0 0.008
  sx "$tmp/trim.wav" "$2" gain "$(speech_gain "$tmp/trim.wav")" \
    pad "$LEAD" "$TAIL"
}

speak() {  # name text
  speech_raw "$2" "$tmp/speech.wav"
  finish "$tmp/speech.wav" "$1"
}

# A bell-like note: fundamental with two softer partials, decaying.
bell() {  # freq dur out.wav
  local f="$1" d="$2"
  sx -n -r "$WORK_HZ" -b 16 "$3" \
    synth "$d" sine "$f" synth "$d" sine mix "$(awk -v f="$f" 'BEGIN{print f*2}')" \
    synth "$d" sine mix "$(awk -v f="$f" 'BEGIN{print f*3.01}')" \
    fade t 0.003 "$d" "$(awk -v d="$d" 'BEGIN{print d-0.004}')" \
    fade t 0 "$d" "$d" fade t 0 "$d" "$d" gain -6
}

# Mix files, each delayed by its own offset: mix_at out.wav file@sec ...
mix_at() {
  local dest="$1"; shift
  local args=() i=0
  for spec in "$@"; do
    local f="${spec%@*}" at="${spec#*@}"
    sx "$f" "$tmp/mix$i.wav" pad "$at"
    args+=("-v" "0.35" "$tmp/mix$i.wav")
    i=$((i + 1))
  done
  # Mixed in floating point: the sum may pass full scale until it is normalised.
  sx -m "${args[@]}" -e floating-point -b 32 "$dest"
}

effect_plain_beep() {
  # A short bright blip: the first cell is picked.
  sx -n -r "$WORK_HZ" -b 16 "$tmp/e.wav" \
    synth 0.09 sine 1318.5 synth 0.09 sine mix 2637 \
    fade h 0.004 0.09 0.06 norm -3
  finish "$tmp/e.wav" plain_beep
}

effect_plain_beep2() {
  # The same blip a fifth lower and falling: the pick is undone.
  sx -n -r "$WORK_HZ" -b 16 "$tmp/e.wav" \
    synth 0.11 sine 880/784 synth 0.11 sine mix 1760/1568 \
    fade h 0.004 0.11 0.07 norm -3
  finish "$tmp/e.wav" plain_beep2
}

effect_take_two() {
  # A swoosh: noise through a band that sweeps up and back down, swelling
  # and fading, over a faint rising tone.
  local parts=() i=0
  for f in 450 600 800 1050 1350 1700 2100 2400 2200 1800 1400 1100 850 650; do
    sx -n -r "$WORK_HZ" -b 16 "$tmp/sw$i.wav" synth 0.025 pinknoise \
      sinc -n 255 "$(awk -v f="$f" 'BEGIN{printf "%d-%d", f*0.6, f*1.5}')"
    parts+=("$tmp/sw$i.wav"); i=$((i + 1))
  done
  sx "${parts[@]}" "$tmp/sweep.wav" norm -3
  sx -n -r "$WORK_HZ" -b 16 "$tmp/tone.wav" synth 0.35 sine 300/900 gain -22
  sx -m -v 0.7 "$tmp/sweep.wav" -v 0.7 "$tmp/tone.wav" "$tmp/e.wav" \
    fade q 0.14 0.35 0.18 norm -4
  finish "$tmp/e.wav" take_two
}

effect_tick() {
  # A dry little click: a tuned wooden tap with a touch of noise.
  sx -n -r "$WORK_HZ" -b 16 "$tmp/t1.wav" synth 0.022 sine 2200 fade l 0 0.022 0.02
  sx -n -r "$WORK_HZ" -b 16 "$tmp/t2.wav" synth 0.006 whitenoise highpass 2500 \
    fade t 0 0.006 0.005 pad 0 0.016
  sx -m -v 0.6 "$tmp/t1.wav" -v 0.35 "$tmp/t2.wav" "$tmp/e.wav" norm -4
  finish "$tmp/e.wav" tick_wav
}

# Decay envelope over the whole of a sound: "decay N len" applies a linear
# fade-out N times, giving a curve like (1 - t/len)^N: fast at first, then a
# long soft tail, the way struck and exploding things die away.
decay() {
  local n="$1" len="$2" args=()
  while [ "$n" -gt 0 ]; do args+=(fade t 0 "$len" "$len"); n=$((n - 1)); done
  printf '%s\n' "${args[@]}"
}

# Explosion, in four layers: a sharp crack, a roar of mid-band noise, a
# rumble of deep noise, and a falling low boom under it all.
#   explosion out.wav length boom_from boom_to roar_top crack_level
explosion() {
  local dest="$1" len="$2" b0="$3" b1="$4" top="$5" crack="$6"
  local roar
  roar="$(awk -v l="$len" 'BEGIN{print l*0.7}')"
  mapfile -t d1 < <(decay 1 "$len"); mapfile -t d2 < <(decay 2 "$len")
  mapfile -t d3 < <(decay 3 0.15); mapfile -t dr < <(decay 2 "$roar")
  sx -n -r "$WORK_HZ" -b 16 "$tmp/x_crack.wav" synth 0.15 whitenoise \
    lowpass 4000 norm -3 fade t 0.002 0 0 "${d3[@]}"
  sx -n -r "$WORK_HZ" -b 16 "$tmp/x_roar.wav" synth "$roar" pinknoise \
    sinc -n 511 "120-$top" norm -3 fade t 0.006 0 0 "${dr[@]}"
  sx -n -r "$WORK_HZ" -b 16 "$tmp/x_rumble.wav" synth "$len" brownnoise \
    lowpass 220 lowpass 220 norm -3 fade t 0.02 0 0 "${d1[@]}"
  sx -n -r "$WORK_HZ" -b 16 "$tmp/x_boom.wav" synth "$len" sine "$b0/$b1" \
    norm -3 fade t 0.004 0 0 "${d2[@]}"
  sx -m -v "$crack" "$tmp/x_crack.wav" -v 0.45 "$tmp/x_roar.wav" \
    -v 0.5 "$tmp/x_rumble.wav" -v 0.45 "$tmp/x_boom.wav" \
    -e floating-point -b 32 "$tmp/x_sum.wav"
  sx "$tmp/x_sum.wav" "$dest" overdrive 6 gain -6 reverb 35 50 70 100 0 0 \
    fade t 0 "$len" 0.1 norm -1.5
}

effect_deepexpl() {
  # Deep, long rumble for the start of the program.
  explosion "$tmp/e.wav" 1.6 90 30 700 0.25
  finish "$tmp/e.wav" deepexpl
}

effect_explode() {
  # A mine going off: shorter and sharper than the opening rumble.
  explosion "$tmp/e.wav" 0.9 150 45 2200 0.5
  finish "$tmp/e.wav" explode
}

effect_explode_nuclear() {
  # The big one: a long rolling blast that takes its time to die away.
  explosion "$tmp/a.wav" 2.4 70 22 900 0.35
  sx "$tmp/a.wav" "$tmp/e.wav" tremolo 7 30 fade t 0 2.4 1.4 norm -1.5
  finish "$tmp/e.wav" explode_nuclear
}

effect_bonus() {
  # A quick rising chime: C6 E6 G6.
  bell 1046.5 0.45 "$tmp/b1.wav"; bell 1318.5 0.45 "$tmp/b2.wav"
  bell 1568 0.55 "$tmp/b3.wav"
  mix_at "$tmp/m.wav" "$tmp/b1.wav@0" "$tmp/b2.wav@0.07" "$tmp/b3.wav@0.14"
  sx "$tmp/m.wav" "$tmp/e.wav" norm -3
  finish "$tmp/e.wav" bonus_wav
}

effect_bonus2() {
  # The bigger bonus: a run up two octaves ending on a held chord.
  local n=0 specs=() at
  for f in 784 1046.5 1318.5 1568 2093 2637; do
    bell "$f" 0.5 "$tmp/c$n.wav"
    at="$(awk -v n="$n" 'BEGIN{print n*0.07}')"
    specs+=("$tmp/c$n.wav@$at"); n=$((n + 1))
  done
  bell 1046.5 0.9 "$tmp/h1.wav"; bell 1318.5 0.9 "$tmp/h2.wav"; bell 1568 0.9 "$tmp/h3.wav"
  specs+=("$tmp/h1.wav@0.45" "$tmp/h2.wav@0.45" "$tmp/h3.wav@0.45")
  mix_at "$tmp/m.wav" "${specs[@]}"
  sx "$tmp/m.wav" "$tmp/e.wav" norm -3
  finish "$tmp/e.wav" bonus2_wav
}

effect_kcongrat() {
  # A short fanfare, then the voice says "Congratulations!".
  local n=0 specs=()
  brass() {  # freq dur out.wav
    sx -n -r "$WORK_HZ" -b 16 "$3" synth "$2" sawtooth "$1" synth "$2" sine mix "$1" \
      lowpass 2500 fade t 0.01 "$2" 0.05 gain -6
  }
  brass 392 0.12 "$tmp/f0.wav"; brass 523.25 0.12 "$tmp/f1.wav"
  brass 659.25 0.12 "$tmp/f2.wav"; brass 783.99 0.45 "$tmp/f3.wav"
  brass 523.25 0.45 "$tmp/f4.wav"; brass 659.25 0.45 "$tmp/f5.wav"
  mix_at "$tmp/fan.wav" "$tmp/f0.wav@0" "$tmp/f1.wav@0.12" "$tmp/f2.wav@0.24" \
    "$tmp/f3.wav@0.36" "$tmp/f4.wav@0.36" "$tmp/f5.wav@0.36"
  sx "$tmp/fan.wav" -b 16 "$tmp/fan2.wav" reverb 30 50 50 norm -6 pad 0 0.05
  speech_raw "Congratulations!" "$tmp/voice.wav"
  sx "$tmp/fan2.wav" "$tmp/voice.wav" "$tmp/e.wav"
  finish "$tmp/e.wav" kcongrat
}

make_all() {
  mkdir -p "$out"
  rm -f "$out"/*.wav
  local entry
  for entry in "${SPOKEN[@]}"; do
    speak "${entry%%|*}" "${entry#*|}"
  done
  effect_plain_beep; effect_plain_beep2; effect_take_two; effect_tick
  effect_kcongrat; effect_deepexpl; effect_explode; effect_explode_nuclear
  effect_bonus; effect_bonus2
}

# ---------------------------------------------------------------------------
# Checks: every expected file exists, nothing else does, each is a plain
# PCM mono 8-bit 11025 Hz RIFF WAVE of a sensible length, and spoken words
# carry no long silence at either end (they are played back to back).
# ---------------------------------------------------------------------------

le16() { od -A n -t u2 -j "$2" -N 2 "$1" | tr -d ' '; }
le32() { od -A n -t u4 -j "$2" -N 4 "$1" | tr -d ' '; }

# Seconds of silence before the first and after the last sample that is louder
# than the dither noise (which stays within one step of the mid level 128).
edge_silence() {
  od -A n -v -t u1 -j 44 -N "$(le32 "$1" 40)" "$1" | awk -v hz="$RATE_HZ" '
    { for (i = 1; i <= NF; i++) { n++; d = $i - 128; if (d >= 2 || d <= -2) { if (!first) first = n; last = n } } }
    END { if (!first) { first = n; last = 0 }
          printf "%.3f %.3f\n", (first - 1) / hz, (n - last) / hz }'
}

check_all() {
  local bad=0 names=() entry n f
  for entry in "${SPOKEN[@]}"; do names+=("${entry%%|*}"); done
  names+=("${EFFECTS[@]}")

  for n in "${names[@]}"; do
    f="$out/$n.wav"
    [ -f "$f" ] || { echo "missing: $n.wav"; bad=1; continue; }
    local ch bits hz type enc dur
    ch="$(soxi -c "$f")"; bits="$(soxi -b "$f")"; hz="$(soxi -r "$f")"
    type="$(soxi -t "$f")"; enc="$(soxi -e "$f")"; dur="$(soxi -D "$f")"
    [ "$ch" = 1 ] && [ "$bits" = 8 ] && [ "$hz" = "$RATE_HZ" ] && [ "$type" = wav ] &&
      [ "$enc" = "Unsigned Integer PCM" ] ||
      { echo "wrong format: $n.wav ($type, $enc, $ch ch, $bits bit, $hz Hz)"; bad=1; }
    # The header itself: RIFF/WAVE, a 16-byte PCM fmt chunk, data right after.
    [ "$(head -c 4 "$f")" = RIFF ] && [ "$(dd if="$f" bs=1 skip=8 count=8 2>/dev/null)" = "WAVEfmt " ] &&
      [ "$(le16 "$f" 20)" = 1 ] && [ "$(le16 "$f" 22)" = 1 ] && [ "$(le32 "$f" 24)" = "$RATE_HZ" ] &&
      [ "$(le16 "$f" 34)" = 8 ] && [ "$(dd if="$f" bs=1 skip=36 count=4 2>/dev/null)" = data ] ||
      { echo "not a plain PCM RIFF header: $n.wav"; bad=1; }
    # Chunk sizes agree with the file (odd data is followed by one pad byte).
    local size data
    size="$(stat -c %s "$f")"; data="$(le32 "$f" 40)"
    [ "$(le32 "$f" 4)" = $((size - 8)) ] && [ $((44 + data + data % 2)) = "$size" ] ||
      { echo "chunk sizes do not match the file: $n.wav"; bad=1; }
    awk -v d="$dur" 'BEGIN { exit !(d >= 0.01 && d <= 4) }' ||
      { echo "odd length: $n.wav lasts $dur s"; bad=1; }
  done

  for entry in "${SPOKEN[@]}"; do
    n="${entry%%|*}"; f="$out/$n.wav"
    [ -f "$f" ] || continue
    local lead tail
    read -r lead tail < <(edge_silence "$f")
    awk -v a="$lead" -v b="$tail" 'BEGIN { exit !(a <= 0.04 && b <= 0.05) }' ||
      { echo "silence at the ends of $n.wav: ${lead}s before, ${tail}s after"; bad=1; }
  done

  for f in "$out"/*; do
    n="$(basename "$f" .wav)"
    printf '%s\n' "${names[@]}" | grep -qx -- "$n" || { echo "unexpected file: $(basename "$f")"; bad=1; }
  done

  [ "$bad" = 0 ] || die "check failed"
  echo "make_sounds: ${#names[@]} recordings in ${out#"$root"/} are fine"
}

case "${1:-}" in
  --check) check_all ;;
  "") make_all; check_all ;;
  *) die "usage: $0 [--check]" ;;
esac
