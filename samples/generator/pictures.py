"""Pictures of the documents (PNG, JPEG, GIF, an animated GIF, BMP), the slides and the
animated busy picture, all drawn here."""
import math
import os
import random

from PIL import Image, ImageDraw, ImageFilter

import paint as P
from skin import draw_car

INK = (27, 58, 94)
PAPER = (246, 248, 250)


def callout(d, img, xy, n):
    x, y = xy
    d.ellipse((x - 9, y - 9, x + 9, y + 9), fill=(255, 178, 52), outline=INK)
    P.ptext(img, (x - 3 - (3 if n > 9 else 0), y - 6), str(n), 10, INK, shadow=None)


def engine_drawing(scale=1):
    w, h = 480 * scale, 300 * scale
    img = Image.new("RGB", (w, h), PAPER)
    d = ImageDraw.Draw(img)

    def r(*box):
        return tuple(v * scale for v in box)
    lw = 2 * scale
    d.rectangle(r(140, 120, 340, 250), outline=INK, width=lw)            # block
    d.polygon([r(130, 120)[:2], r(350, 120)[:2], r(330, 70)[:2], r(150, 70)[:2]], outline=INK, width=lw)  # head
    d.rectangle(r(170, 40, 310, 70), outline=INK, width=lw)               # cover
    d.ellipse(r(80, 190, 140, 250), outline=INK, width=lw)                 # crank pulley
    d.ellipse(r(90, 60, 140, 110), outline=INK, width=lw)                  # cam pulley
    d.line([r(110, 60)[:2], r(110, 60)[:2]], fill=INK)
    d.line([r(92, 88)[:2], r(82, 218)[:2]], fill=INK, width=lw)            # belt
    d.line([r(138, 88)[:2], r(138, 218)[:2]], fill=INK, width=lw)
    d.ellipse(r(360, 150, 420, 210), outline=INK, width=lw)               # alternator
    d.rectangle(r(150, 250, 330, 280), outline=INK, width=lw)             # sump
    for k in range(4):
        d.rectangle(r(175 + k * 38, 30, 185 + k * 38, 40), fill=INK)     # plugs
    if scale == 1:
        for n, xy in enumerate([(240, 55), (240, 95), (240, 185), (110, 220), (115, 85), (390, 180), (240, 265)], 1):
            callout(d, img, xy, n)
    return img


def brake_photo():
    w, h = 400, 300
    img = P.vgrad(w, h, (70, 74, 80), (30, 32, 36))
    d = ImageDraw.Draw(img)
    cx, cy = 190, 160
    for k in range(120, 0, -1):
        g = int(120 + 80 * math.cos(k / 25.0))
        d.ellipse((cx - k, cy - k, cx + k, cy + k), fill=(g, g, g + 6))
    d.ellipse((cx - 48, cy - 48, cx + 48, cy + 48), fill=(60, 62, 66))
    for k in range(5):
        a = k * 2 * math.pi / 5
        x, y = cx + math.cos(a) * 30, cy + math.sin(a) * 30
        d.ellipse((x - 6, y - 6, x + 6, y + 6), fill=(20, 20, 22))
    d.rounded_rectangle((cx + 60, cy - 90, cx + 150, cy + 40), 18, fill=(176, 32, 28), outline=(90, 10, 10))
    d.text((cx + 80, cy - 40), "V", fill=(240, 240, 240))
    rnd = random.Random(5)
    px = img.load()
    for _ in range(9000):
        x, y = rnd.randrange(w), rnd.randrange(h)
        r, g, b = px[x, y]
        v = rnd.randint(-18, 18)
        px[x, y] = (max(0, min(255, r + v)), max(0, min(255, g + v)), max(0, min(255, b + v)))
    return img.filter(ImageFilter.GaussianBlur(0.6))


def warning_sign():
    img = Image.new("P", (40, 36), 0)
    img.putpalette([255, 244, 220, 255, 178, 52, 27, 58, 94] + [0] * (253 * 3))
    d = ImageDraw.Draw(img)
    d.polygon([(20, 2), (38, 34), (2, 34)], fill=1, outline=2)
    d.rectangle((18, 12, 21, 25), fill=2)
    d.rectangle((18, 28, 21, 31), fill=2)
    return img


def turn_signal_frames():
    frames = []
    for lit in (True, False):
        img = Image.new("RGB", (64, 64), PAPER)
        d = ImageDraw.Draw(img)
        d.rounded_rectangle((8, 14, 56, 50), 8, fill=(60, 64, 70), outline=INK, width=2)
        d.polygon([(16, 32), (30, 20), (30, 27), (48, 27), (48, 37), (30, 37), (30, 44)],
                  fill=(255, 170, 30) if lit else (110, 90, 60))
        frames.append(img.convert("P", palette=Image.ADAPTIVE, colors=16))
    return frames


def fuse_box():
    img = Image.new("RGB", (360, 240), PAPER)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((10, 10, 350, 230), 10, outline=INK, width=3)
    colours = [(220, 40, 40), (220, 40, 40), (60, 120, 230), (240, 240, 240), (150, 90, 40)]
    for k in range(5):
        x = 30 + k * 62
        d.rectangle((x, 40, x + 40, 110), fill=colours[k], outline=INK, width=2)
        d.rectangle((x + 10, 110, x + 16, 130), fill=(190, 190, 190))
        d.rectangle((x + 24, 110, x + 30, 130), fill=(190, 190, 190))
        P.ptext(img, (x + 10, 145), "F%d" % (k + 1), 20, INK, shadow=None)
    for k in range(3):
        x = 50 + k * 100
        d.rectangle((x, 175, x + 60, 215), fill=(40, 44, 52), outline=INK)
        P.ptext(img, (x + 16, 189), "K%d" % (k + 1), 20, (230, 230, 230), shadow=None)
    return img


def wiring():
    img = Image.new("RGB", (480, 260), PAPER)
    d = ImageDraw.Draw(img)
    d.rectangle((20, 100, 90, 160), outline=INK, width=2)
    P.ptext(img, (34, 124), "АКБ", 20, INK, shadow=None)
    d.line([(90, 115), (170, 115)], fill=(200, 30, 30), width=3)
    d.ellipse((170, 105, 190, 125), outline=INK, width=2)
    d.line([(190, 115), (280, 115)], fill=(200, 30, 30), width=3)
    d.rectangle((280, 90, 360, 140), outline=INK, width=2)
    P.ptext(img, (292, 108), "КАТ.", 20, INK, shadow=None)
    d.line([(360, 115), (440, 115), (440, 200)], fill=(30, 90, 200), width=3)
    for k in range(4):
        d.line([(300 + k * 30, 200), (300 + k * 30, 230)], fill=INK, width=2)
        d.ellipse((292 + k * 30, 228, 308 + k * 30, 244), outline=INK, width=2)
    d.line([(300, 200), (440, 200)], fill=(30, 90, 200), width=3)
    d.line([(55, 160), (55, 220)], fill=INK, width=2)
    for k in range(3):
        d.line([(45 + k * 5, 220 + k * 5), (65 - k * 5, 220 + k * 5)], fill=INK, width=2)
    P.ptext(img, (150, 30), "ЦЕПЬ ЗАЖИГАНИЯ", 20, INK, shadow=None)
    return img


def font_sample():
    img = Image.new("RGB", (420, 90), (22, 40, 66))
    P.ptext(img, (12, 10), "VITRINA PIXEL", 20, P.AMBER)
    P.ptext(img, (12, 36), "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ", 10, P.ICE, shadow=None)
    P.ptext(img, (12, 56), "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789", 10, P.ICE, shadow=None)
    return img


def piston_frames():
    frames = []
    for k in range(12):
        a = k * 2 * math.pi / 12
        img = Image.new("RGB", (48, 48), P.SLOT)
        d = ImageDraw.Draw(img)
        d.rectangle((14, 2, 34, 30), outline=(110, 130, 150))
        cy = 36 + math.sin(a) * 6
        top = 6 + (1 - math.cos(a)) * 6
        d.rectangle((15, top, 33, top + 10), fill=(200, 210, 220))
        cx = 24 + math.cos(a) * 6
        d.line([(24, top + 10), (cx, cy)], fill=P.AMBER, width=3)
        d.ellipse((16, 28, 32, 44), outline=(110, 130, 150))
        d.ellipse((cx - 2, cy - 2, cx + 2, cy + 2), fill=P.AMBER)
        frames.append(img.convert("P", palette=Image.ADAPTIVE, colors=32))
    return frames


def slide(kind):
    w, h = 600, 340
    img = P.vgrad(w, h, (40, 64, 96), (10, 20, 36))
    d = ImageDraw.Draw(img)
    if kind == "car":
        draw_car(d, 110, 90, 1.0, (220, 232, 244), (70, 96, 130))
        caption = "ОБЩИЙ ВИД"
    elif kind == "engine":
        img.paste(engine_drawing().resize((480, 300)), (60, 20))
        caption = "ДВИГАТЕЛЬ"
    elif kind == "brake":
        img.paste(brake_photo(), (100, 20))
        caption = "ТОРМОЗНОЙ МЕХАНИЗМ"
    elif kind == "fuses":
        img.paste(fuse_box(), (120, 40))
        caption = "МОНТАЖНЫЙ БЛОК"
    else:
        img.paste(wiring(), (60, 30))
        caption = "СХЕМА ЗАЖИГАНИЯ"
    d = ImageDraw.Draw(img)
    d.rectangle((0, h - 30, w, h), fill=(8, 16, 30))
    P.ptext(img, (16, h - 22), caption, 20, P.AMBER)
    return img


def build(images, slides):
    os.makedirs(images, exist_ok=True)
    os.makedirs(slides, exist_ok=True)
    engine_drawing().save(os.path.join(images, "dvigatel.png"), optimize=True)
    engine_drawing(2).save(os.path.join(images, "dvigatel_big.jpg"), quality=85)
    brake_photo().save(os.path.join(images, "tormoza.jpg"), quality=85)
    warning_sign().save(os.path.join(images, "vnimanie.gif"))
    frames = turn_signal_frames()
    frames[0].save(os.path.join(images, "povorot.gif"), save_all=True, append_images=frames[1:], duration=500, loop=0)
    P.save_bmp(fuse_box(), os.path.join(images, "predohraniteli.bmp"))
    wiring().save(os.path.join(images, "shema.png"), optimize=True)
    font_sample().save(os.path.join(images, "shrift.png"), optimize=True)
    frames = piston_frames()
    frames[0].save(os.path.join(images, "..", "piston.gif"), save_all=True, append_images=frames[1:], duration=80, loop=0)
    P.save_bmp(slide("car"), os.path.join(slides, "obshiy_vid.bmp"))
    P.save_bmp(slide("fuses"), os.path.join(slides, "montazhny_blok.bmp"))
    for kind, name in (("engine", "dvigatel.jpg"), ("brake", "tormoza.jpg"), ("wiring", "zazhiganie.jpeg")):
        slide(kind).convert("RGB").save(os.path.join(slides, name), quality=82)


def polish_photo():
    """A polished wing with a highlight; kept on disk only, to show pictures read from beside the store."""
    img = P.vgrad(320, 200, (150, 24, 30), (60, 8, 12))
    d = ImageDraw.Draw(img)
    for k in range(40):
        d.line([(40 + k * 4, 20), (140 + k * 4, 180)], fill=(200 + k, 120 + k * 2, 130 + k * 2))
    return img.filter(ImageFilter.GaussianBlur(6))


def build_loose(images):
    os.makedirs(images, exist_ok=True)
    polish_photo().save(os.path.join(images, "polirovka.jpg"), quality=85)
