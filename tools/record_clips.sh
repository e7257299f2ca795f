#!/usr/bin/env bash
# Record the speaking clock's clips into res/clips/.
#
# The spoken clips come from espeak-ng's Mandarin voice; each is trimmed of
# leading and trailing silence (about 30 ms is kept at each end), peak-
# normalised and stored as mono 16000 Hz 16-bit PCM WAVE.  SoundRing.wav, the
# chime played before every announcement, is synthesised here: two bell-like
# tones (a falling major third) with exponential decay, 22050 Hz 8-bit
# unsigned PCM mono, 1.5 s.
#
# The output is committed, so a Windows build never runs this script.
# Usage: tools/record_clips.sh [OUTDIR]      (default: res/clips next to tools/)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../res/clips"}

if ! command -v espeak-ng >/dev/null || ! command -v sox >/dev/null \
        || ! command -v soxi >/dev/null; then
    apt-get update && apt-get install -y espeak-ng sox
fi
command -v python3 >/dev/null || { echo "record_clips: python3 is required" >&2; exit 1; }

# espeak-ng's "cmn" voice reads Latin text as English, and in some releases
# its dictionary hands the tone-numbered pinyin of a character to that English
# reader ("ling2" becomes "ling two").  The pinyin-reading Mandarin voice does
# not, so prefer it and fall back to "cmn" only where it does not exist.
voice=cmn-latn-pinyin
if ! espeak-ng --voices=zh | awk '{print $2}' | grep -qx "$voice"; then
    voice=cmn
fi

speed=150     # words per minute: a little slower than espeak's default 175

mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

say() {   # say NAME TEXT
    local name=$1 text=$2 phon
    # Refuse a clip whose phonemes left Mandarin: that is English spelling
    # of pinyin, not speech.
    phon=$(espeak-ng -v "$voice" -q -x "$text")
    if [[ $phon == *"("* ]]; then
        echo "record_clips: voice $voice does not read $text as Mandarin: $phon" >&2
        exit 1
    fi
    espeak-ng -v "$voice" -s "$speed" -w "$tmp/$name.raw.wav" "$text"
    # -R keeps the output repeatable from run to run.
    # silence: cut from the start up to the first sound above 0.5 %, then do
    # the same from the end by reversing; pad restores a short lead and tail.
    sox -R "$tmp/$name.raw.wav" -r 16000 -c 1 -b 16 -e signed-integer "$out/$name.wav" \
        silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse \
        pad 0.03 0.03 gain -n -1 rate -v 16000
}

say SoundTime   现在时间
say Sound0      零
say Sound1      一
say Sound2      二
say Sound3      三
say Sound4      四
say Sound5      五
say Sound6      六
say Sound7      七
say Sound8      八
say Sound9      九
say Sound10     十
say Sound20     二十
say Sound30     三十
say Sound40     四十
say Sound50     五十
say SoundTwo    两
say SoundHour   点
say SoundMinute 分

python3 - "$out/SoundRing.wav" <<'EOF'
import math, sys, wave

RATE = 22050
LENGTH = 1.5
# (start s, frequency Hz, decay time constant s): E5 then C5.
NOTES = [(0.0, 659.26, 0.30), (0.42, 523.25, 0.38)]
# Partials of a soft bell: (frequency ratio, relative level).
PARTIALS = [(1.0, 1.0), (2.0, 0.32), (3.0, 0.12), (4.2, 0.05)]
ATTACK = 0.004
FADE = 0.08

n = int(RATE * LENGTH)
samples = []
for i in range(n):
    t = i / RATE
    s = 0.0
    for start, f, tau in NOTES:
        u = t - start
        if u < 0:
            continue
        env = math.exp(-u / tau) * min(1.0, u / ATTACK)
        for ratio, level in PARTIALS:
            # upper partials die away faster, as on a struck bar
            s += level * env ** ratio * math.sin(2 * math.pi * f * ratio * u)
    if t > LENGTH - FADE:
        s *= (LENGTH - t) / FADE
    samples.append(s)

peak = max(abs(s) for s in samples)
data = bytes(max(0, min(255, 128 + round(s / peak * 0.85 * 127))) for s in samples)
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(1)        # 8-bit WAVE samples are unsigned
    w.setframerate(RATE)
    w.writeframes(data)
EOF

for f in "$out"/*.wav; do
    printf '%-16s %6d Hz %2d bit %s  %6.3f s  %7d bytes\n' "$(basename "$f")" \
        "$(soxi -r "$f")" "$(soxi -b "$f")" "$(soxi -e "$f" | tr ' ' '-')" \
        "$(soxi -D "$f")" "$(stat -c %s "$f")"
done
du -cb "$out"/*.wav | tail -1
