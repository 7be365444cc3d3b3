#!/usr/bin/python3
"""Draws each screen of a built disc the way the skinned window paints it at rest (background,
up pictures, captions, text messages) from the model that `vitrina-disc screen` prints.

    vitrina-disc screen DISC > model.json
    /usr/bin/python3 samples/generator/preview.py model.json samples/sample-disc/skin OUTDIR [--hover]

A quick check of the art and the coordinates while the real window is not at hand; not a
replacement for screenshots of the program."""
import json
import os
import sys

from PIL import Image, ImageDraw, ImageFont

LIB = "/usr/share/fonts/truetype/liberation/LiberationSans-%s.ttf"


def colour(value):
    return (value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF)


def font(points, bold):
    return ImageFont.truetype(LIB % ("Bold" if bold else "Regular"), round(points * 96 / 72))


def caption(img, text, rect, name_points, style, value):
    if not text.strip():
        return
    d = ImageDraw.Draw(img)
    x, y, right, bottom = rect
    bold = font(name_points, True)
    face = font(name_points, bool(style & 1))
    for ch in text:
        advance = bold.getlength(ch)
        if x < right:
            d.text((x, y), ch, font=face, fill=colour(value))
        x += advance


def load(skin, name):
    path = os.path.join(skin, os.path.basename(name.replace("\\", "/")))
    return Image.open(path).convert("RGB") if name and os.path.exists(path) else None


def main():
    model_path, skin, out = sys.argv[1:4]
    hover = "--hover" in sys.argv
    with open(model_path, encoding="utf-8") as f:
        model = json.load(f)
    os.makedirs(out, exist_ok=True)
    for n, screen in enumerate(model["screens"]):
        bg = load(skin, screen["picture"])
        if bg is None:
            continue
        for b in screen["buttons"]:
            pic = load(skin, b["fn2" if hover else "fn1"])
            if pic is None:
                continue
            caption(pic, b["textcaption"], (b["texttx"], b["textty"], b["textbx"], b["textby"]), b["textfontsize"],
                    b["textfontstylemv" if hover else "textfontstyleup"],
                    b["textfontcolormv" if hover else "textfontcolorup"])
            bg.paste(pic, (b["vx"], b["vy"]))
        for s in screen.get("switches", []) + screen.get("groups", []):
            down = s["state"]
            pic = load(skin, s["fn4"] if down else s["fn1"])
            if pic is None:
                continue
            text = s["textcaptiondn"] if down else s["textcaptionup"]
            if text.lower() in ("2d", "3d"):
                text = text.upper()
            rect = (s.get("texttx", s.get("texttxdn" if down else "texttxup")), s.get("textty", s.get("texttyup")),
                    s.get("textbx", s.get("textbxup")), s.get("textby", s.get("textbyup")))
            caption(pic, text, rect, s["textfontsize"], s["textfontstyledn" if down else "textfontstyleup"],
                    s["textfontcolordn" if down else "textfontcolorup"])
            bg.paste(pic, (s["vx"], s["vy"]))
        d = ImageDraw.Draw(bg)
        for t in model.get("text", []):
            if t["screen"] == n:
                value = t["value"] or ("[%s]" % (t["ident"] or t["number"]))
                d.text((t["vx"], t["vy"]), value, font=font(t["size"], "bold" in t["style"]), fill=colour(t["color"]))
        for kind in ("html", "findtxt", "path", "clip", "image"):
            for a in model.get(kind, []):
                if a["screen"] == n:
                    d.rectangle((a["vx"], a["vy"], a["vw"], a.get("vh", a["vy"] + 20)), outline=(255, 0, 255))
                    d.text((a["vx"] + 4, a["vy"] + 2), kind, fill=(255, 0, 255))
        bg.save(os.path.join(out, "screen%d%s.png" % (n + 1, "-hover" if hover else "")))


if __name__ == "__main__":
    main()
