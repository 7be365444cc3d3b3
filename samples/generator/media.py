"""Sounds, songs and clips of the sample disc, synthesised and drawn here.

Click sounds are plain 16-bit PCM WAV (the sound-effect player takes nothing else); songs are
MP3; clips are MPEG-4 video (the Xvid kind) in AVI. ffmpeg encodes with bit-exact flags so reruns match.
"""
import math
import os
import struct
import subprocess
import wave

from PIL import Image, ImageDraw

import paint as P
from skin import draw_car

RATE = 22050
BITEXACT = ["-fflags", "+bitexact", "-flags:v", "+bitexact", "-flags:a", "+bitexact", "-map_metadata", "-1"]


def write_wav(path, samples, rate=RATE):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples))


def tone(freqs, seconds, volume=0.5, attack=0.004, decay=None):
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        f = freqs[0] + (freqs[-1] - freqs[0]) * i / max(1, n - 1)
        env = min(1.0, t / attack) * (math.exp(-t / decay) if decay else (1 - i / n))
        out.append(volume * env * math.sin(2 * math.pi * f * t))
    return out


def engine_sound(seconds=3.0):
    """A four-stroke idle: firing pulses at 25 Hz with a low hum, slightly uneven."""
    out = []
    seed = 12345
    for i in range(int(RATE * seconds)):
        t = i / RATE
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise = (seed / 0x7FFFFFFF - 0.5) * 0.3
        phase = (t * 25.0) % 1.0
        pulse = math.exp(-phase * 9) * (1.0 + noise)
        out.append(0.45 * pulse * math.sin(2 * math.pi * 70 * t) + 0.15 * math.sin(2 * math.pi * 25 * t))
    return out


NOTES = {n: 440 * 2 ** ((k - 9) / 12) for k, n in enumerate("C C# D D# E F F# G G# A A# B".split())}


def note(name, octave):
    return NOTES[name] * 2 ** (octave - 4)


def song(melody, bass, beat):
    """Additive synthesis of a melody over a bass line; each entry is (note, octave, beats)."""
    total = sum(b for _, _, b in melody) * beat
    n = int(RATE * total)
    buf = [0.0] * n

    def add(line, volume, harmonics):
        pos = 0.0
        for name, octave, beats in line:
            length = beats * beat
            if name != "-":
                f = note(name, octave)
                start = int(pos * RATE)
                for i in range(int(length * RATE)):
                    if start + i >= n:
                        break
                    t = i / RATE
                    env = min(1.0, t / 0.01) * math.exp(-t * 2.5)
                    s = sum(math.sin(2 * math.pi * f * h * t) / h for h in harmonics)
                    buf[start + i] += volume * env * s
            pos += length
    add(melody, 0.28, (1, 2, 3))
    add(bass, 0.22, (1, 2))
    return buf


def encode_mp3(wav, mp3):
    subprocess.run(["ffmpeg", "-y", "-loglevel", "error", "-i", wav, "-ac", "1", "-b:a", "64k"] + BITEXACT
                   + ["-c:a", "libmp3lame", mp3], check=True)


def encode_clip(path, size, frames, fps=15):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    w, h = size
    proc = subprocess.Popen(["ffmpeg", "-y", "-loglevel", "error", "-f", "rawvideo", "-pix_fmt", "rgb24",
                             "-s", "%dx%d" % (w, h), "-r", str(fps), "-i", "-", "-c:v", "mpeg4", "-vtag", "XVID",
                             "-q:v", "6", "-pix_fmt", "yuv420p"] + BITEXACT + [path], stdin=subprocess.PIPE)
    for img in frames:
        proc.stdin.write(img.convert("RGB").tobytes())
    proc.stdin.close()
    if proc.wait() != 0:
        raise RuntimeError("ffmpeg failed for " + path)


def intro_frames():
    w, h = 480, 270
    for k in range(60):
        img = P.vgrad(w, h, (22, 40, 66), (6, 12, 22))
        d = ImageDraw.Draw(img)
        x = -400 + min(k, 40) * 11
        draw_car(d, x, 70, 0.9, (200, 220, 240), (60, 86, 120), wheel_angle=k * 0.5)
        d.line([(0, 198), (w, 198)], fill=(90, 110, 130))
        if k > 30:
            fade = min(1.0, (k - 30) / 15)
            colour = tuple(int(c * fade) for c in P.AMBER)
            title = "ПРИМЕР: РУКОВОДСТВО ПО РЕМОНТУ"
            P.ptext(img, ((w - P.ptext_width(title)) // 2, 222), title, 20, colour, shadow=None)
        yield img


def car_frames():
    """The loop of the start screen's window clip: the car on a road that moves under it."""
    w, h = 656, 259
    for k in range(45):
        img = P.vgrad(w, h, (34, 46, 64), (6, 10, 18))
        d = ImageDraw.Draw(img)
        d.rectangle((0, 200, w, h), fill=(20, 26, 34))
        for x in range(-80, w + 80, 80):
            xx = x - (k * 16) % 80
            d.line([(xx, 228), (xx + 40, 228)], fill=(200, 200, 160), width=3)
        draw_car(d, 140, 40 + (k % 3 == 0), 1.0, (220, 232, 244), (70, 96, 130), wheel_angle=-k * 0.6)
        yield img


def piston_clip_frames():
    w, h = 400, 224
    for k in range(60):
        a = k * 2 * math.pi / 20
        img = P.vgrad(w, h, (24, 40, 62), (8, 14, 24))
        d = ImageDraw.Draw(img)
        cx, cy = 200, 160
        crank = (cx + math.cos(a) * 30, cy + math.sin(a) * 30)
        top = 30 + (1 - math.cos(a)) * 30
        d.rectangle((160, 20, 240, 130), outline=(150, 170, 190), width=3)
        d.rectangle((164, top, 236, top + 36), fill=(200, 210, 220))
        d.line([(200, top + 36), crank], fill=P.AMBER, width=8)
        d.ellipse((cx - 40, cy - 40, cx + 40, cy + 40), outline=(150, 170, 190), width=3)
        d.ellipse((crank[0] - 6, crank[1] - 6, crank[0] + 6, crank[1] + 6), fill=P.AMBER)
        if math.cos(a) > 0.9:
            d.ellipse((190, 12, 210, 28), fill=(255, 240, 150))
        yield img


def wheel_clip_frames():
    w, h = 400, 224
    steps = ["1. ОСЛАБЬТЕ ГАЙКИ", "2. ПОДНИМИТЕ АВТОМОБИЛЬ", "3. СНИМИТЕ КОЛЕСО", "4. УСТАНОВИТЕ ЗАПАСНОЕ"]
    for k in range(60):
        img = P.vgrad(w, h, (24, 40, 62), (8, 14, 24))
        d = ImageDraw.Draw(img)
        cx, cy, r = 200, 100, 70
        d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=(20, 22, 26), outline=(150, 170, 190), width=4)
        d.ellipse((cx - 36, cy - 36, cx + 36, cy + 36), fill=(120, 130, 140))
        for j in range(4):
            a = k * 0.1 + j * math.pi / 2
            x, y = cx + math.cos(a) * 22, cy + math.sin(a) * 22
            d.ellipse((x - 6, y - 6, x + 6, y + 6), fill=P.AMBER if j == (k // 15) % 4 else (40, 44, 50))
        text = steps[(k // 15) % 4]
        P.ptext(img, ((w - P.ptext_width(text)) // 2, 190), text, 20, P.AMBER)
        yield img


def build(files):
    sounds = os.path.join(files, "sounds")
    write_wav(os.path.join(sounds, "click.wav"), tone([1800, 1400], 0.035, 0.45))
    write_wav(os.path.join(sounds, "switch.wav"), tone([900], 0.03, 0.4) + tone([1300], 0.04, 0.4))
    write_wav(os.path.join(sounds, "popup.wav"), tone([600, 1200], 0.07, 0.35))
    write_wav(os.path.join(sounds, "exit.wav"), tone([880, 220], 0.45, 0.4, decay=0.2))
    write_wav(os.path.join(sounds, "dvigatel.wav"), engine_sound())

    music = os.path.join(files, "music")
    os.makedirs(music, exist_ok=True)
    tmp = os.path.join(music, "tmp.wav")
    melody1 = [("E", 5, 1), ("G", 5, 1), ("A", 5, 2), ("G", 5, 1), ("E", 5, 1), ("D", 5, 2),
               ("C", 5, 1), ("D", 5, 1), ("E", 5, 1), ("G", 5, 1), ("E", 5, 4)] * 2
    bass1 = [("A", 2, 4), ("F", 2, 4), ("C", 3, 4), ("G", 2, 4)] * 2
    write_wav(tmp, song(melody1, bass1, 0.3))
    encode_mp3(tmp, os.path.join(music, "song1.mp3"))
    melody2 = [("C", 5, 2), ("E", 5, 1), ("G", 5, 1), ("C", 6, 2), ("B", 5, 2), ("A", 5, 1), ("G", 5, 1),
               ("F", 5, 1), ("E", 5, 1), ("D", 5, 4)] * 2
    bass2 = [("C", 3, 4), ("A", 2, 4), ("F", 2, 4), ("G", 2, 4)] * 2
    write_wav(tmp, song(melody2, bass2, 0.28))
    encode_mp3(tmp, os.path.join(music, "song2.mp3"))
    os.remove(tmp)

    video = os.path.join(files, "video")
    encode_clip(os.path.join(video, "intro.avi"), (480, 270), intro_frames())
    encode_clip(os.path.join(files, "car.avi"), (656, 259), car_frames())
    encode_clip(os.path.join(video, "engine.avi"), (400, 224), piston_clip_frames())
    encode_clip(os.path.join(video, "wheel.avi"), (400, 224), wheel_clip_frames())
