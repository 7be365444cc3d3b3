"""Drawing helpers shared by the skin, the document pictures and the clips."""
import os
import random

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))

NAVY0 = (8, 16, 30)
NAVY1 = (22, 40, 66)
STEEL = (92, 112, 134)
STEEL_HI = (170, 188, 206)
STEEL_LO = (38, 52, 70)
AMBER = (255, 178, 52)
AMBER_LO = (196, 122, 24)
ICE = (216, 228, 240)
SLOT = (5, 11, 20)
GREEN = (96, 232, 120)

# Caption colours of program-drawn captions (red, green, blue as the descriptions want them).
CAPTION_UP = (216, 228, 240)
CAPTION_MV = (255, 190, 80)
CAPTION_DN = (255, 255, 255)

_fonts = {}


def pixel_font_path(bold=False):
    files = os.path.join(HERE, "..", "sample-disc", "files")
    return os.path.join(files, "fonts", "VitrinaPixelBold.ttf") if bold else os.path.join(files, "VitrinaPixel.ttf")


def pixel_font(size=20, bold=False):
    key = ("pix", size, bold)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(pixel_font_path(bold), size)
    return _fonts[key]


def measure_font(pixels, bold=True):
    """Liberation Sans has Arial's metrics; used only to measure where captions will fall."""
    key = ("lib", pixels, bold)
    if key not in _fonts:
        name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
        _fonts[key] = ImageFont.truetype("/usr/share/fonts/truetype/liberation/" + name, pixels)
    return _fonts[key]


def caption_width(text, points):
    """Advance of a program-drawn caption: every character measured in bold, one by one."""
    font = measure_font(round(points * 96 / 72), True)
    return sum(font.getlength(ch) for ch in text)


def vgrad(w, h, top, bottom):
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        d.line([(0, y), (w, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    return img


def brushed(img, box, seed, strength=6):
    """Faint horizontal streaks, like brushed metal; seeded so the art is reproducible."""
    rnd = random.Random(seed)
    x0, y0, x1, y1 = box
    px = img.load()
    for y in range(y0, y1):
        delta = rnd.randint(-strength, strength)
        for x in range(x0, x1, 1):
            r, g, b = px[x, y]
            px[x, y] = (max(0, min(255, r + delta)), max(0, min(255, g + delta)), max(0, min(255, b + delta)))


def bevel(d, box, hi, lo, width=1):
    x0, y0, x1, y1 = box
    for i in range(width):
        d.line([(x0 + i, y1 - i), (x0 + i, y0 + i), (x1 - i, y0 + i)], fill=hi)
        d.line([(x0 + i, y1 - i), (x1 - i, y1 - i), (x1 - i, y0 + i)], fill=lo)


def inset(d, box, fill=SLOT):
    """A sunken slot that a pane, a field or a clip sits in."""
    x0, y0, x1, y1 = box
    d.rectangle(box, fill=fill)
    bevel(d, (x0 - 2, y0 - 2, x1 + 1, y1 + 1), STEEL_LO, STEEL_HI, 1)
    bevel(d, (x0 - 1, y0 - 1, x1, y1), (2, 6, 12), (70, 88, 110), 1)


def ptext(img, xy, text, size=20, fill=ICE, bold=False, shadow=(0, 0, 0)):
    d = ImageDraw.Draw(img)
    font = pixel_font(size, bold)
    x, y = xy
    if shadow is not None:
        d.text((x + 1, y + 1), text, font=font, fill=shadow)
    d.text((x, y), text, font=font, fill=fill)
    return font.getlength(text)


def ptext_width(text, size=20, bold=False):
    return pixel_font(size, bold).getlength(text)


def chamfer(w, h, c):
    return [(c, 0), (w - c, 0), (w, c), (w, h - c), (w - c, h), (c, h), (0, h - c), (0, c)]


def mask_outside(img, points, fill=(0, 0, 0)):
    """Paints everything outside the window shape black, as the shape will cut it anyway."""
    m = Image.new("L", img.size, 0)
    ImageDraw.Draw(m).polygon(points, fill=255)
    black = Image.new("RGB", img.size, fill)
    return Image.composite(img, black, m)


def plate(w, h, state):
    """A steel push plate: up, hover ("mv") or pressed ("dn")."""
    if state == "up":
        img = vgrad(w, h, (78, 100, 128), (38, 54, 76))
        border, top = (16, 26, 40), (150, 172, 196)
    elif state == "mv":
        img = vgrad(w, h, (102, 130, 162), (50, 70, 98))
        border, top = AMBER, (196, 212, 228)
    else:
        img = vgrad(w, h, (28, 40, 58), (62, 82, 108))
        border, top = AMBER_LO, (20, 30, 44)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=border)
    d.line([(1, 1), (w - 2, 1)], fill=top)
    if state == "dn":
        d.line([(1, 1), (1, h - 2)], fill=(12, 20, 32))
    # Corners of the window background show through a rounded look.
    for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        d.point((x, y), fill=(30, 44, 62))
    return img


def led(img, x, y, lit, hover):
    d = ImageDraw.Draw(img)
    if lit:
        d.ellipse((x - 1, y - 1, x + 7, y + 7), fill=(40, 110, 60))
        d.ellipse((x, y, x + 6, y + 6), fill=GREEN)
        d.point((x + 2, y + 2), fill=(230, 255, 230))
    else:
        d.ellipse((x, y, x + 6, y + 6), fill=(60, 72, 86) if hover else (34, 44, 56), outline=(14, 20, 28))


def save_bmp(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.convert("RGB").save(path, format="BMP")
