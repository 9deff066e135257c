#!/usr/bin/env python3
"""Synthesise Torvikan's three sound cues.

    pinpon.wav     door chime played when a lesson starts ("pin-pon")
    endpinpon.wav  soft falling chime that says goodbye
    logoff.wav     quick rising "boing" when the dog catches the mouse

Run from the repository root:

    python3 assets/make_cues.py

Everything is computed from sine waves with the standard library only, with
no random numbers, so every run writes byte-identical files.  Output is
plain 16-bit mono PCM at 44100 Hz with the canonical 44-byte RIFF header,
which QSoundEffect plays without complaint.

Click avoidance: every note starts with a raised-cosine attack, ends with a
raised-cosine release that reaches exactly zero, the whole cue gets a short
fade-in, and each file closes with 0.2 s of digital silence.
"""

import math
import os
import struct

RATE = 44100
TAIL_SILENCE = 0.2                 # seconds of pure zeros at the end
PEAK = 0.708                       # about -3 dBFS
FADE_IN = 0.004                    # seconds, applied to the whole cue

HERE = os.path.dirname(os.path.abspath(__file__))


def raised_cosine(x):
    """0 -> 1 smoothly for x in [0, 1]."""
    if x <= 0.0:
        return 0.0
    if x >= 1.0:
        return 1.0
    return 0.5 - 0.5 * math.cos(math.pi * x)


def note_envelope(t, length, attack, release, tau):
    """Amplitude at time t (s) of a note lasting `length` seconds.

    Smooth attack, exponential decay with time constant `tau`, and a smooth
    release over the final `release` seconds that ends at exactly zero.
    """
    if t < 0.0 or t >= length:
        return 0.0
    env = raised_cosine(t / attack) * math.exp(-t / tau)
    left = length - t
    if left < release:
        env *= raised_cosine(left / release)
    return env


# Bell-like voice: a few partials, the upper ones dying away faster, plus a
# slightly detuned copy of the fundamental for a gentle shimmer.
# (frequency ratio, relative amplitude, decay time factor)
BRIGHT_BELL = [
    (1.000, 1.00, 1.00),
    (1.004, 0.35, 1.00),
    (2.000, 0.45, 0.55),
    (3.000, 0.20, 0.35),
    (4.160, 0.08, 0.22),
    (5.430, 0.04, 0.15),
]

SOFT_BELL = [
    (1.000, 1.00, 1.00),
    (1.003, 0.30, 1.00),
    (2.000, 0.22, 0.50),
    (3.000, 0.07, 0.30),
    (4.160, 0.02, 0.20),
]


def add_bell(buf, start, freq, length, level, tau, partials,
             attack=0.004, release=0.08):
    """Mix one bell note into buf (a list of floats)."""
    first = int(round(start * RATE))
    count = int(round(length * RATE))
    for ratio, amp, decay in partials:
        f = freq * ratio
        if f >= RATE / 2 * 0.9:
            continue
        w = 2.0 * math.pi * f / RATE
        p_tau = tau * decay
        for n in range(count):
            t = n / RATE
            e = note_envelope(t, length, attack, release, p_tau)
            if e:
                buf[first + n] += level * amp * e * math.sin(w * n)


def add_glide(buf, start, f0, f1, glide, length, level, tau,
              attack=0.004, release=0.04, vibrato=0.0, vib_rate=0.0):
    """Mix one pitch-gliding blip (soft triangle-ish timbre) into buf.

    The pitch moves from f0 to f1 over `glide` seconds along an ease-out
    curve and then holds; phase is accumulated so the sweep stays smooth.
    """
    first = int(round(start * RATE))
    count = int(round(length * RATE))
    phase = 0.0
    for n in range(count):
        t = n / RATE
        g = min(t / glide, 1.0)
        g = 1.0 - (1.0 - g) ** 2               # ease out
        f = f0 * (f1 / f0) ** g
        if vibrato:
            f *= 1.0 + vibrato * math.sin(2.0 * math.pi * vib_rate * t)
        phase += 2.0 * math.pi * f / RATE
        wave_val = (math.sin(phase)
                    + math.sin(3.0 * phase) / 9.0
                    + math.sin(5.0 * phase) / 25.0)
        e = note_envelope(t, length, attack, release, tau)
        buf[first + n] += level * e * wave_val


def finish(buf):
    """Fade in, normalise to PEAK, append silence, return 16-bit samples."""
    fade = int(round(FADE_IN * RATE))
    for n in range(min(fade, len(buf))):
        buf[n] *= raised_cosine(n / fade)
    top = max(abs(v) for v in buf)
    scale = PEAK * 32767.0 / top
    out = [int(round(v * scale)) for v in buf]
    out.extend([0] * int(round(TAIL_SILENCE * RATE)))
    return out


def write_wav(name, samples):
    """Write mono 16-bit PCM with the canonical 44-byte header."""
    data = struct.pack("<%dh" % len(samples), *samples)
    header = struct.pack(
        "<4sI4s4sIHHIIHH4sI",
        b"RIFF", 36 + len(data), b"WAVE",
        b"fmt ", 16, 1, 1, RATE, RATE * 2, 2, 16,
        b"data", len(data))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header)
        f.write(data)


def empty(seconds):
    return [0.0] * int(round(seconds * RATE))


def make_pinpon():
    # "Pin" on B5, "pon" a major third lower on G5, which rings out longer.
    sound = 1.25
    buf = empty(sound)
    add_bell(buf, 0.00, 987.77, 0.60, 1.00, 0.28, BRIGHT_BELL,
             attack=0.003, release=0.12)
    add_bell(buf, 0.32, 783.99, sound - 0.32, 1.00, 0.38, BRIGHT_BELL,
             attack=0.004, release=0.25)
    return finish(buf)


def make_endpinpon():
    # Four soft notes falling down a C major chord: G5, E5, C5, G4.
    sound = 1.25
    buf = empty(sound)
    notes = [(0.00, 783.99), (0.20, 659.26), (0.40, 523.25), (0.60, 392.00)]
    for i, (start, freq) in enumerate(notes):
        last = i == len(notes) - 1
        length = sound - start if last else 0.50
        add_bell(buf, start, freq, length, 1.00 if last else 0.85,
                 0.40 if last else 0.22, SOFT_BELL,
                 attack=0.012, release=0.25 if last else 0.15)
    return finish(buf)


def make_logoff():
    # Two quick upward blips, the second a springy "boing" up to C7 with a
    # touch of wobble.
    sound = 0.42
    buf = empty(sound)
    add_glide(buf, 0.000, 523.25, 783.99, 0.06, 0.11, 0.80, 0.10,
              attack=0.004, release=0.03)
    add_glide(buf, 0.120, 659.26, 2093.00, 0.14, sound - 0.12, 1.00, 0.16,
              attack=0.004, release=0.08, vibrato=0.03, vib_rate=18.0)
    return finish(buf)


def main():
    write_wav("pinpon.wav", make_pinpon())
    write_wav("endpinpon.wav", make_endpinpon())
    write_wav("logoff.wav", make_logoff())


if __name__ == "__main__":
    main()
