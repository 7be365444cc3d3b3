"""The skin of the sample disc: the screen, dialog, about and thesaurus descriptions and every
picture they name. Coordinates live here once, so the art and the descriptions agree."""
import math
import os

from PIL import Image, ImageDraw

import paint as P
from paint import AMBER, ICE, STEEL_HI, STEEL_LO

W, H = 740, 560
SHAPE = P.chamfer(W, H, 16)
TITLE = "Пример: руководство по ремонту"
CLICK = r"sounds\click.wav"
SWITCH = r"sounds\switch.wav"
POPUP = r"sounds\popup.wav"
EXIT = r"sounds\exit.wav"
CAPTION_POINTS = 9


def rgb(c):
    return "%d,%d,%d" % c


class Skin:
    def __init__(self, out):
        self.out = out
        self.names = set()

    def save(self, img, name):
        P.save_bmp(img, os.path.join(self.out, name))
        self.names.add(name)

    # ---- control pictures -------------------------------------------------------------------

    def plate_set(self, name, w, h=26, symbol=None):
        """Up, hover and pressed pictures of a push button; symbol draws an icon on each."""
        for state in ("up", "mv", "dn"):
            img = P.plate(w, h, state)
            if symbol:
                colour = {"up": ICE, "mv": AMBER, "dn": (255, 255, 255)}[state]
                symbol(ImageDraw.Draw(img), w, h, 1 if state == "dn" else 0, colour)
            self.save(img, "%s_%s.bmp" % (name, state))
        return name

    def switch_set(self, name, w, h=26):
        """Four pictures: up, hover over up, hover over down, down (the lamp is lit when down)."""
        for state, plate, lit, hover in (("up", "up", False, False), ("mvup", "mv", False, True),
                                         ("mvdn", "mv", True, True), ("dn", "dn", True, False)):
            img = P.plate(w, h, plate)
            P.led(img, 6, h // 2 - 3, lit, hover)
            self.save(img, "%s_%s.bmp" % (name, state))
        return name

    def baked_set(self, name, w, h, text):
        """Dialog buttons have no caption keys, so their lettering is part of the picture."""
        for state in ("up", "mv", "dn"):
            img = P.plate(w, h, state)
            colour = {"up": ICE, "mv": AMBER, "dn": (255, 255, 255)}[state]
            tw = P.ptext_width(text, 20)
            off = 1 if state == "dn" else 0
            P.ptext(img, ((w - tw) // 2 + off, (h - 14) // 2 + off), text, 20, colour)
            self.save(img, "%s_%s.bmp" % (name, state))
        return name

    # ---- window frames ----------------------------------------------------------------------

    def frame(self, w, h, heading, seed, shape):
        img = P.vgrad(w, h, P.NAVY1, P.NAVY0)
        P.brushed(img, (0, 52, w, h), seed, 3)
        bar = P.vgrad(w, 50, (74, 94, 118), (34, 48, 66))
        P.brushed(bar, (0, 0, w, 50), seed + 1, 5)
        img.paste(bar, (0, 0))
        d = ImageDraw.Draw(img)
        d.rectangle((0, 50, w, 51), fill=AMBER)
        d.line([(0, 52), (w, 52)], fill=(10, 16, 26))
        self.emblem(img, 20, 11)
        P.ptext(img, (56, 17), heading.upper(), 20, ICE, shadow=(8, 14, 24))
        img = P.mask_outside(img, shape)
        d = ImageDraw.Draw(img)
        d.line(shape + [shape[0]], fill=STEEL_HI, width=2)
        return img

    def emblem(self, img, x, y):
        """A small gear with a spanner slot: the product's mark."""
        d = ImageDraw.Draw(img)
        cx, cy, r = x + 14, y + 14, 10
        for k in range(8):
            a = k * math.pi / 4
            d.line([(cx + math.cos(a) * 8, cy + math.sin(a) * 8), (cx + math.cos(a) * 14, cy + math.sin(a) * 14)],
                   fill=AMBER, width=4)
        d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=AMBER, outline=P.AMBER_LO)
        d.ellipse((cx - 4, cy - 4, cx + 4, cy + 4), fill=(34, 48, 66))

    def piston_socket(self, img):
        """Where the animated busy picture sits on every screen but the document screen."""
        d = ImageDraw.Draw(img)
        d.rounded_rectangle((579, 466, 635, 522), 6, fill=P.SLOT, outline=STEEL_LO)
        d.rounded_rectangle((580, 467, 634, 521), 6, outline=(70, 88, 110))


# ---- icon symbols ---------------------------------------------------------------------------

def sym_arrow(direction, double=False):
    def draw(d, w, h, o, c):
        cx, cy = w // 2 + o, h // 2 + o
        for k in ((-3, 3) if double else (0,)):
            x = cx + k
            if direction < 0:
                d.polygon([(x - 5, cy), (x + 3, cy - 6), (x + 3, cy + 6)], fill=c)
            else:
                d.polygon([(x + 5, cy), (x - 3, cy - 6), (x - 3, cy + 6)], fill=c)
    return draw


def sym_drop(d, w, h, o, c):
    cx, cy = w // 2 + o, h // 2 + o
    d.polygon([(cx - 4, cy - 2), (cx + 4, cy - 2), (cx, cy + 3)], fill=c)


def sym_star(d, w, h, o, c):
    cx, cy = w // 2 + o, h // 2 + o
    pts = []
    for k in range(10):
        r = 8 if k % 2 == 0 else 3.5
        a = -math.pi / 2 + k * math.pi / 5
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    d.polygon(pts, fill=c)


def sym_plus(d, w, h, o, c):
    cx, cy = w // 2 + o, h // 2 + o
    sym_star(d, w - 6, h, o, c)
    d.rectangle((cx + 4, cy + 1, cx + 10, cy + 3), fill=(120, 255, 140))
    d.rectangle((cx + 6, cy - 1, cx + 8, cy + 5), fill=(120, 255, 140))


def sym_minus(d, w, h, o, c):
    cx, cy = w // 2 + o, h // 2 + o
    sym_star(d, w - 6, h, o, c)
    d.rectangle((cx + 4, cy + 1, cx + 10, cy + 3), fill=(255, 110, 90))


def sym_printer(d, w, h, o, c):
    cx, cy = w // 2 + o, h // 2 + o
    d.rectangle((cx - 5, cy - 8, cx + 5, cy - 3), outline=c)
    d.rectangle((cx - 8, cy - 3, cx + 8, cy + 4), fill=c)
    d.rectangle((cx - 5, cy + 2, cx + 5, cy + 8), fill=(250, 250, 250), outline=c)


def sym_lens(d, w, h, o, c):
    cx, cy = w // 2 + o - 2, h // 2 + o - 2
    d.ellipse((cx - 5, cy - 5, cx + 5, cy + 5), outline=c, width=2)
    d.line([(cx + 4, cy + 4), (cx + 9, cy + 9)], fill=c, width=3)


def sym_play(d, w, h, o, c):
    cx, cy = w // 2 + o, h // 2 + o
    d.polygon([(cx - 4, cy - 7), (cx + 6, cy), (cx - 4, cy + 7)], fill=c)


def sym_pause(d, w, h, o, c):
    cx, cy = w // 2 + o, h // 2 + o
    d.rectangle((cx - 5, cy - 6, cx - 2, cy + 6), fill=c)
    d.rectangle((cx + 2, cy - 6, cx + 5, cy + 6), fill=c)


def sym_stop(d, w, h, o, c):
    cx, cy = w // 2 + o, h // 2 + o
    d.rectangle((cx - 6, cy - 6, cx + 6, cy + 6), fill=c)


def sym_min(d, w, h, o, c):
    d.rectangle((6 + o, h - 8 + o, w - 7 + o, h - 6 + o), fill=c)


def sym_x(d, w, h, o, c):
    d.line([(7 + o, 6 + o), (w - 8 + o, h - 7 + o)], fill=c, width=2)
    d.line([(w - 8 + o, 6 + o), (7 + o, h - 7 + o)], fill=c, width=2)


# ---- description writers ----------------------------------------------------------------------

def caption_keys(caption, w, h):
    tx = max(4, int((w - P.caption_width(caption, CAPTION_POINTS)) // 2))
    return tx, max(1, (h - 15) // 2), w - 2, h - 3


def button(screen, x, y, pics, go, hint, caption=None, w=80, h=26, wav=CLICK):
    lines = ["button %d" % screen, "  vx=%d; vy=%d" % (x, y)]
    if caption:
        tx, ty, bx, by = caption_keys(caption, w, h)
        lines += [
            "  textcaption=%s" % caption,
            "  texttx=%d; textty=%d; textbx=%d; textby=%d" % (tx, ty, bx, by),
            "  textfontname=Arial; textfontsize=%d" % CAPTION_POINTS,
            "  textfontstyleup=bold; textfontstylemv=bold; textfontstyledn=bold",
            "  textfontcolorup=%s; textfontcolormv=%s; textfontcolordn=%s"
            % (rgb(P.CAPTION_UP), rgb(P.CAPTION_MV), rgb(P.CAPTION_DN)),
        ]
    lines += ["  fn1=%s_up.bmp" % pics, "  fn2=%s_mv.bmp" % pics, "  fn3=%s_dn.bmp" % pics,
              "  go=%s" % go, "  hint=%s" % hint, "  wav=%s" % wav, ""]
    return lines


def four_pictures(pics):
    return ["  fn1=%s_up.bmp" % pics, "  fn2=%s_mvup.bmp" % pics, "  fn3=%s_mvdn.bmp" % pics,
            "  fn4=%s_dn.bmp" % pics]


def caption_styles():
    return [
        "  textfontname=Arial; textfontsize=%d" % CAPTION_POINTS,
        "  textfontstyleup=bold; textfontstylemvup=bold; textfontstylemvdn=bold; textfontstyledn=bold",
        "  textfontcolorup=%s; textfontcolormvup=%s; textfontcolormvdn=%s; textfontcolordn=%s"
        % (rgb(P.CAPTION_UP), rgb(P.CAPTION_MV), rgb(P.CAPTION_MV), rgb(P.CAPTION_DN)),
    ]


def switchone(screen, x, y, pics, w, up, down, goup, godown, hint, state=False, store=False, h=26):
    # The lamp takes the left 14 pixels; captions are centred in the rest.
    txu, ty, _, by = caption_keys(up, w - 14, h)
    txd, _, _, _ = caption_keys(down, w - 14, h)
    bx = w - 2
    return (["switchone %d" % screen, "  vx=%d; vy=%d" % (x, y),
             "  textcaptionup=%s; textcaptiondn=%s" % (up, down),
             "  texttxup=%d; texttyup=%d; textbxup=%d; textbyup=%d" % (txu + 14, ty, bx, by),
             "  texttxdn=%d; texttydn=%d; textbxdn=%d; textbydn=%d" % (txd + 14, ty, bx, by)]
            + caption_styles() + four_pictures(pics)
            + ["  state=%s" % ("on" if state else "off"), "  store=%s" % ("on" if store else "off"),
               "  goup=%s" % goup, "  godown=%s" % godown, "  hint=%s" % hint, "  wav=%s" % SWITCH, ""])


def switchgrp(screen, x, y, pics, w, caption, group, go, hint, state=False, store=False, h=26, head=None):
    # "2d" and "3d" are drawn in capitals.
    shown = caption.upper() if caption.lower() in ("2d", "3d") else caption
    tx, ty, _, by = caption_keys(shown, w - 14, h)
    bx = w - 2
    return ([head or "switchgrp %d" % screen, "  vx=%d; vy=%d" % (x, y),
             "  textcaptionup=%s; textcaptiondn=%s" % (caption, caption),
             "  texttx=%d; textty=%d; textbx=%d; textby=%d" % (tx + 14, ty, bx, by)]
            + caption_styles() + four_pictures(pics)
            + ["  state=%s" % ("on" if state else "off"), "  store=%s" % ("on" if store else "off"),
               "  group=%d" % group, "  go=%s" % go, "  hint=%s" % hint, "  wav=%s" % SWITCH, ""])


def text_area(screen, x, y, right, value, number, ident="no", size=9, style="", colour=ICE, font="Arial"):
    return ["_text %d" % screen, "  vx=%d; vy=%d; vw=%d" % (x, y, right),
            "  font=%s; size=%d; style=%s; color=%s" % (font, size, style, rgb(colour)),
            "  value=%s" % value, "  ident=%s" % ident, "  number=%d" % number, ""]


def popup(screen, kind, bg, captions=(), commands=(), vertex=None, items="pop_item"):
    lines = ["_popup %d" % screen, "  xfon=-1; yfon=-1", "  fnfon=%s" % bg, "  xbtn=-1; ybtn=5",
             "  fnbtnup=[%s_up.bmp]" % items, "  fnbtnmove=[%s_mv.bmp]" % items,
             "  fnbtndown=[%s_dn.bmp]" % items,
             "  fontup=Arial; sizeup=9; styleup=; colorup=%s" % rgb(P.CAPTION_UP),
             "  fontmv=Arial; sizemv=9; stylemv=bold; colormv=%s" % rgb(P.CAPTION_MV)]
    if captions:
        lines += ["  caption=[%s]" % "; ".join(captions), "  go=[%s]" % "; ".join(commands)]
    else:
        lines += ["  caption=", "  go="]
    lines += ["  parent=", "  type=%s" % kind]
    lines.append("  vertex=[%s]" % "; ".join("%d,%d" % p for p in vertex) if vertex else "  vertex=")
    return lines + [""]


def window_buttons(x_min, x_close, y):
    return ["minimize", "  vx=%d; vy=%d" % (x_min, y), "  fn1=win_min_up.bmp", "  fn2=win_min_mv.bmp",
            "  fn3=win_min_dn.bmp", "  hint=Свернуть окно", "  wav=%s" % CLICK, "",
            "close", "  vx=%d; vy=%d" % (x_close, y), "  fn1=btn_x_up.bmp", "  fn2=btn_x_mv.bmp",
            "  fn3=btn_x_dn.bmp", "  hint=Выход из программы", "  wav=%s" % EXIT, ""]


def write_text(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines).rstrip("\n") + "\n")


# ---- the main window ----------------------------------------------------------------------------

def draw_blueprint(img, box, seed):
    """The still picture of the start screen: a car in side view on drafting paper."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    bp = P.vgrad(w, h, (18, 48, 88), (10, 30, 60))
    d = ImageDraw.Draw(bp)
    for gx in range(0, w, 16):
        d.line([(gx, 0), (gx, h)], fill=(28, 64, 110) if gx % 64 else (40, 84, 140))
    for gy in range(0, h, 16):
        d.line([(0, gy), (w, gy)], fill=(28, 64, 110) if gy % 64 else (40, 84, 140))
    draw_car(d, w // 2 - 190, 60, 1.0, (190, 220, 255), None)
    # Dimension lines.
    d.line([(w // 2 - 190, 214), (w // 2 + 190, 214)], fill=(150, 190, 240))
    for x in (w // 2 - 190, w // 2 + 190):
        d.line([(x, 206), (x, 222)], fill=(150, 190, 240))
    P.ptext(bp, (w // 2 - 30, 224), "4120", 20, (150, 190, 240), shadow=None)
    P.ptext(bp, (12, 10), "ОБЩИЙ ВИД. ЛИСТ 1", 20, (150, 190, 240), shadow=None)
    img.paste(bp, (x0, y0))


def draw_car(d, x, y, s, line, fill, wheel_angle=0.0):
    """A four-door saloon in profile, drawn with lines so it reads at any size."""
    def p(px, py):
        return (x + px * s, y + py * s)
    body = [p(0, 110), p(8, 84), p(60, 76), p(110, 40), p(150, 30), p(250, 30), p(300, 70),
            p(360, 80), p(380, 96), p(380, 120), p(330, 124), p(60, 124), p(4, 122)]
    if fill:
        d.polygon(body, fill=fill)
    d.line(body + [body[0]], fill=line, width=max(1, int(2 * s)))
    d.line([p(118, 72), p(150, 38), p(196, 38), p(196, 72), p(118, 72)], fill=line, width=max(1, int(s)))
    d.line([p(206, 38), p(246, 38), p(284, 72), p(206, 72), p(206, 38)], fill=line, width=max(1, int(s)))
    d.line([p(200, 76), p(200, 120)], fill=line)
    d.line([p(360, 90), p(376, 92)], fill=(255, 230, 150), width=max(1, int(3 * s)))
    for cx in (80, 300):
        cxp, cyp = p(cx, 124)
        r = 30 * s
        d.ellipse((cxp - r, cyp - r, cxp + r, cyp + r), fill=(14, 20, 30), outline=line, width=max(1, int(2 * s)))
        d.ellipse((cxp - r * 0.5, cyp - r * 0.5, cxp + r * 0.5, cyp + r * 0.5), outline=line)
        for k in range(5):
            a = wheel_angle + k * 2 * math.pi / 5
            d.line([(cxp, cyp), (cxp + math.cos(a) * r * 0.5, cyp + math.sin(a) * r * 0.5)], fill=line)


def build(out_skin):
    """Draws every skin picture into out_skin and returns the description texts by name."""
    sk = Skin(out_skin)
    # Control picture sets.
    for w in (60, 80, 100, 110):
        sk.plate_set("b%d" % w, w)
    sk.plate_set("ic_back", 28, symbol=sym_arrow(-1))
    sk.plate_set("ic_fwd", 28, symbol=sym_arrow(1))
    sk.plate_set("ic_drop", 16, symbol=sym_drop)
    sk.plate_set("ic_fav", 28, symbol=sym_star)
    sk.plate_set("ic_favadd", 34, symbol=sym_plus)
    sk.plate_set("ic_favdel", 34, symbol=sym_minus)
    sk.plate_set("ic_print", 28, symbol=sym_printer)
    sk.plate_set("ic_find", 28, symbol=sym_lens)
    sk.plate_set("ic_prev", 34, symbol=sym_arrow(-1, True))
    sk.plate_set("ic_next", 34, symbol=sym_arrow(1, True))
    sk.plate_set("ic_play", 34, symbol=sym_play)
    sk.plate_set("ic_pause", 34, symbol=sym_pause)
    sk.plate_set("ic_stop", 34, symbol=sym_stop)
    sk.plate_set("ic_stepb", 34, symbol=sym_arrow(-1, True))
    sk.plate_set("ic_stepf", 34, symbol=sym_arrow(1, True))
    sk.plate_set("win_min", 24, 22, symbol=sym_min)
    sk.plate_set("btn_x", 24, 22, symbol=sym_x)
    for w in (48, 96, 110):
        sk.switch_set("sw%d" % w, w)

    struct = ["; Пример: руководство по ремонту. Описание экранов.",
              "title=" + TITLE, "codec=no", r"rolic=video\intro.avi", "background=no",
              "helpwin", "  vw=640; vh=480", r"  fn=help\spravka.htm",
              "icon=vitrina.ico", r"bgsounddef=[music\song1.mp3; music\song2.mp3]",
              "vertexmain=[%s]" % "; ".join("%d,%d" % p for p in SHAPE), ""]
    struct += window_buttons(682, 708, 14)

    # Screen 1: the start screen.
    img = sk.frame(W, H, TITLE, 11, SHAPE)
    P.ptext(img, (33, 62), "ДОБРО ПОЖАЛОВАТЬ", 20, AMBER)
    d = ImageDraw.Draw(img)
    P.inset(d, (31, 135, 687, 394))
    draw_blueprint(img, (31, 135, 687, 394), 3)
    sk.piston_socket(img)
    sk.save(img, "scr_start.bmp")
    s = 1
    struct += ["_screen=scr_start.bmp ; 1 (начальный экран)", ""]
    struct += text_area(s, 33, 88, 687, "Руководство по эксплуатации и ремонту легкового автомобиля.", 10)
    struct += text_area(s, 33, 106, 687, "Выберите главу или откройте оглавление.", 11, colour=(170, 188, 206))
    chapters = [("Двигатель", "dv_obzor.htm"), ("Тормоза", "tr_obzor.htm"), ("Электрика", "el_obzor.htm"),
                ("Кузов", "ku_obzor.htm"), ("Ходовая", "ho_obzor.htm"), ("Уход", "to_obzor.htm")]
    for i, (name, doc) in enumerate(chapters):
        struct += button(s, 31 + i * 111, 404, "b100", "screen2=%s" % doc, "Глава «%s»" % name, name, 100)
    struct += button(s, 31, 448, "b100", "screen2=index.htm", "Оглавление всего руководства", "Оглавление", 100)
    struct += button(s, 142, 448, "b100", "contextmenu2", "Список глав", "Главы...", 100, wav=POPUP)
    struct += button(s, 253, 448, "b100", "3", "Видео, музыка и архивы", "Медиа", 100)
    struct += button(s, 364, 448, "b100", "4", "Картинки и схемы", "Картинки", 100)
    struct += switchgrp(s, 478, 448, "sw48", 48, "2d", 1, "2d", "Неподвижная картинка", state=True, store=True)
    struct += switchgrp(s, 530, 448, "sw48", 48, "3d", 1, "3d", "Автомобиль в движении", store=True)
    struct += button(s, 31, 492, "b110", "about", "Сведения о диске", "О программе", 110)
    struct += button(s, 152, 492, "b110", "options", "Настройки программы", "Настройки", 110)
    struct += button(s, 273, 492, "b110", "help", "Справка по работе с диском", "Справка", 110)
    struct += button(s, 645, 492, "b60", "exit", "Завершить работу", "Выход", 60, wav=EXIT)
    chap_vertex = [(0, 10), (10, 0), (174, 0), (184, 10), (184, 132), (174, 142), (10, 142), (0, 132)]
    struct += popup(s, 2, "pop_chap_bg.bmp", [c[0] for c in chapters],
                    ["screen2=%s" % c[1] for c in chapters], chap_vertex)

    # Screen 2: the document screen (screen index 1 carries the trees and the find dialog).
    img = sk.frame(W, H, TITLE, 12, SHAPE)
    d = ImageDraw.Draw(img)
    d.rectangle((8, 54, W - 9, 87), fill=(28, 46, 72))
    P.inset(d, (33, 90, 706, 511), fill=(250, 250, 250))
    d.rectangle((8, 515, W - 9, 551), fill=(28, 46, 72))
    sk.save(img, "scr_docs.bmp")
    s = 2
    struct += ["_screen=scr_docs.bmp ; 2 (документы)", ""]
    struct += ["_html 2", "  vx=33; vy=90; vw=706; vh=511", "  fn=index.htm", "  number=20", ""]
    struct += ["_findtxt 2", "  vx=20; vy=30; vw=290; vh=50", "  frame=", r"  nofiles=[tezaurus\]",
               "  number=1", "  hint=Слово или фраза для поиска", ""]
    x = 33
    for pics, go, hint, w in (("ic_back", "back", "Назад", 28), ("ic_drop", "historyback", "Список просмотренных", 16),
                              ("ic_fwd", "forward", "Вперёд", 28), ("ic_drop", "historyforward", "Список следующих", 16)):
        struct += button(s, x, 58, pics, go, hint, w=w, wav=POPUP if "history" in go else CLICK)
        x += w + 2
    x += 10
    for pics, go, hint, w in (("ic_fav", "showfavorite", "Избранное", 28),
                              ("ic_favadd", "addtofavorite", "Добавить в избранное", 34),
                              ("ic_favdel", "deletefromfavorite", "Удалить из избранного", 34)):
        struct += button(s, x, 58, pics, go, hint, w=w, wav=POPUP if go != "addtofavorite" else CLICK)
        x += w + 2
    x += 10
    for pics, go, hint, w in (("ic_print", "printhtml", "Печать документа", 28),
                              ("ic_find", "findnext1", "Поиск", 28),
                              ("ic_prev", "prevchapter", "Предыдущий раздел", 34),
                              ("ic_next", "nextchapter", "Следующий раздел", 34)):
        struct += button(s, x, 58, pics, go, hint, w=w)
        x += w + 2
    struct += text_area(s, x + 12, 63, 706, "", 1, ident="doc", style="bold", colour=AMBER)
    struct += text_area(s, 430, 19, 660, "", 90, ident="statusline", colour=AMBER)
    struct += switchgrp(s, 33, 520, "sw96", 96, "Главы", 1, "tree2", "Оглавление по главам", state=True)
    struct += switchgrp(s, 131, 520, "sw96", 96, "Алфавит", 1, "tree1", "Оглавление по алфавиту")
    struct += switchone(s, 229, 520, "sw110", 110, "Скрыть", "Показать", "ontree", "offtree",
                        "Скрыть или показать оглавление")
    struct += button(s, 351, 520, "b80", "standartwin", "Обычное окно", "Окно", 80)
    struct += button(s, 433, 520, "b80", "tesaurus", "Словарь терминов", "Словарь", 80)
    struct += button(s, 515, 520, "b80", "contextmenu1", "Другие действия", "Ещё...", 80, wav=POPUP)
    struct += button(s, 626, 520, "b80", "1", "На начальный экран", "Начало", 80)
    struct += popup(s, "historyback", "pop_bg.bmp")
    struct += popup(s, "historyforward", "pop_bg.bmp")
    struct += popup(s, "favorite", "pop_bg.bmp")
    struct += popup(s, "contexthtml", "pop_bg.bmp",
                    ["Копировать", "Выделить всё", "В избранное", "Печать", "Шрифты", "Назад", "Вперёд"],
                    ["copyclipboardhtml", "selectallhtml", "addtofavorite", "printhtml", "deffonthtml", "back",
                     "forward"])
    struct += popup(s, 1, "pop_bg.bmp",
                    ["О программе", "Настройки", "Справка", "Установить шрифты", "К началу документа",
                     "Искать во всех документах", "Искать в этом документе", "С учётом регистра",
                     "Без учёта регистра"],
                    ["about", "options", "help", "installfonts", "tophtml", "findtxtall", "findtxtlimit",
                     "caseon", "caseoff"])

    # Screen 3: media.
    img = sk.frame(W, H, TITLE, 13, SHAPE)
    d = ImageDraw.Draw(img)
    P.ptext(img, (33, 62), "ВИДЕО, МУЗЫКА, АРХИВЫ", 20, AMBER)
    P.inset(d, (40, 95, 440, 320), fill=(0, 0, 0))
    P.inset(d, (455, 95, 706, 320), fill=(250, 250, 250))
    P.ptext(img, (40, 436), "ПАПКА ДЛЯ РАСПАКОВКИ", 20, ICE)
    P.inset(d, (40, 460, 400, 480), fill=(250, 250, 250))
    sk.piston_socket(img)
    sk.save(img, "scr_media.bmp")
    s = 3
    struct += ["_screen=scr_media.bmp ; 3 (медиа)", ""]
    struct += ["_clip 3", "  vx=40; vy=95; vw=440; vh=320", "  bgcolor=0,0,0", "  html=30", ""]
    struct += ["_html 3", "  vx=455; vy=95; vw=706; vh=320", "  fn=media.htm", "  number=30", ""]
    x = 40
    for pics, go, hint in (("ic_play", "play", "Воспроизвести"), ("ic_pause", "pause", "Пауза"),
                           ("ic_stop", "stop", "Остановить"), ("ic_stepb", "stepback", "Назад на 10 секунд"),
                           ("ic_stepf", "stepforward", "Вперёд на 10 секунд")):
        struct += button(s, x, 332, pics, go, hint, w=34)
        x += 36
    struct += button(s, 230, 332, "b100", r"clip=video\engine.avi=klip_dvigatel.htm", "Ролик о двигателе",
                     "Двигатель", 100)
    struct += button(s, 340, 332, "b100", r"clip=video\wheel.avi=klip_koleso.htm", "Ролик о замене колеса",
                     "Колесо", 100)
    struct += button(s, 40, 372, "b110", "bgsound", "Включить или выключить фоновую музыку", "Музыка", 110)
    struct += button(s, 410, 457, "b110", "unarc", "Распаковать открытый архив в папку", "Распаковать", 110)
    struct += ["_path 3", "  vx=40; vy=460; vw=400; vh=480", r"  pathdef=c:\Vitrina\Архивы",
               "  hint=Папка, в которую распаковываются архивы", ""]
    struct += text_area(s, 160, 377, 440, "", 90, ident="statusline", colour=AMBER)
    struct += button(s, 645, 448, "b60", "1", "На начальный экран", "Начало", 60)
    struct += button(s, 645, 492, "b60", "4", "Картинки и схемы", "Фото", 60)

    # Screen 4: slides.
    img = sk.frame(W, H, TITLE, 14, SHAPE)
    d = ImageDraw.Draw(img)
    P.ptext(img, (33, 62), "КАРТИНКИ И СХЕМЫ", 20, AMBER)
    P.inset(d, (60, 95, 680, 455), fill=(14, 24, 38))
    sk.piston_socket(img)
    sk.save(img, "scr_slides.bmp")
    s = 4
    struct += ["_screen=scr_slides.bmp ; 4 (картинки)", ""]
    struct += ["_image 4", "  vx=60; vy=95; vw=680; vh=455", r"  dir=slides\ ", ""]
    struct += button(s, 60, 470, "b100", "prevpic", "Предыдущая картинка", "< Назад", 100)
    struct += button(s, 170, 470, "b100", "nextpic", "Следующая картинка", "Вперёд >", 100)
    struct += text_area(s, 290, 475, 560, "Картинки лежат в папке slides диска.", 12, colour=(170, 188, 206))
    struct += button(s, 645, 470, "b60", "1", "На начальный экран", "Начало", 60)
    struct += button(s, 645, 506, "b60", "3", "Видео, музыка и архивы", "Медиа", 60)

    # Popup pictures.
    pop = P.vgrad(184, 186, (30, 48, 74), (16, 28, 46))
    d = ImageDraw.Draw(pop)
    d.rectangle((0, 0, 183, 185), outline=AMBER)
    d.rectangle((1, 1, 182, 184), outline=(10, 16, 26))
    sk.save(pop, "pop_bg.bmp")
    chap = P.vgrad(185, 143, (40, 62, 92), (16, 28, 46))
    d = ImageDraw.Draw(chap)
    d.polygon(chap_vertex, outline=AMBER)
    sk.save(chap, "pop_chap_bg.bmp")
    for state in ("up", "mv", "dn"):
        item = Image.new("RGB", (174, 22), (24, 38, 60))
        d = ImageDraw.Draw(item)
        if state == "mv":
            item.paste(P.vgrad(174, 22, (70, 96, 130), (42, 62, 90)), (0, 0))
            d.rectangle((0, 0, 3, 21), fill=AMBER)
        elif state == "dn":
            item.paste(P.vgrad(174, 22, (20, 30, 46), (46, 66, 92)), (0, 0))
            d.rectangle((0, 0, 3, 21), fill=P.AMBER_LO)
        sk.save(item, "pop_item_%s.bmp" % state)

    # Window clip backdrop and the find progress bar.
    bg3d = P.vgrad(656, 259, (34, 46, 64), (6, 10, 18))
    d = ImageDraw.Draw(bg3d)
    d.rectangle((0, 200, 656, 259), fill=(20, 26, 34))
    for k in range(0, 656, 40):
        d.line([(k, 228), (k + 20, 228)], fill=(200, 200, 160), width=3)
    sk.save(bg3d, "3d_bg.bmp")
    empty = Image.new("RGB", (336, 12), (10, 18, 30))
    d = ImageDraw.Draw(empty)
    for k in range(0, 336, 12):
        d.line([(k, 9), (k, 11)], fill=(60, 78, 100))
    sk.save(empty, "status_up.bmp")
    sk.save(P.vgrad(336, 12, (255, 206, 100), (206, 120, 20)), "status_dn.bmp")

    icon = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(icon)
    d.rounded_rectangle((0, 0, 31, 31), 6, fill=(22, 40, 66, 255), outline=(170, 188, 206, 255))
    sk.emblem(icon, 2, 2)
    icon.save(os.path.join(out_skin, "vitrina.ico"), sizes=[(16, 16), (32, 32)])
    sk.names.add("vitrina.ico")

    texts = {"Struct.cfs": struct}
    texts["Dialog.cfs"] = build_dialogs(sk)
    texts["About.cfs"] = build_about(sk)
    texts["Tesaurus.cfs"] = build_thesaurus(sk)
    return texts, sk.names


def dialog_frame(w, h, heading, seed):
    img = P.vgrad(w, h, (30, 50, 78), (12, 22, 38))
    P.brushed(img, (0, 0, w, h), seed, 3)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, 22), fill=(52, 72, 98))
    d.line([(0, 23), (w, 23)], fill=AMBER)
    d.rectangle((0, 0, w - 1, h - 1), outline=STEEL_HI)
    P.ptext(img, (10, 5), heading, 20, ICE)
    return img


def build_dialogs(sk):
    sk.baked_set("dbtn_ok", 80, 26, "OK")
    sk.baked_set("dbtn_find", 88, 26, "ИСКАТЬ")
    sk.plate_set("dbtn_x", 20, 18, symbol=sym_x)
    sk.switch_set("dsw", 110, 20)

    sk.save(dialog_frame(360, 115, "СООБЩЕНИЕ", 21), "dlg_msg.bmp")
    find = dialog_frame(400, 250, "ПОИСК", 22)
    d = ImageDraw.Draw(find)
    P.inset(d, (20, 30, 290, 50), fill=(250, 250, 250))
    P.inset(d, (33, 75, 369, 87), fill=(10, 18, 30))
    P.ptext(find, (20, 56), "ХОД ПОИСКА", 10, (170, 188, 206), shadow=None)
    P.inset(d, (11, 127, 388, 239), fill=(250, 250, 250))
    sk.save(find, "dlg_find.bmp")
    for name, lines in (("dlg_noprn.bmp", ["ПРИНТЕР НЕ УСТАНОВЛЕН."]),
                        ("dlg_prnna.bmp", ["ПРИНТЕР ПО УМОЛЧАНИЮ", "НЕДОСТУПЕН."])):
        img = dialog_frame(360, 115, "ПЕЧАТЬ", 23)
        for k, line in enumerate(lines):
            P.ptext(img, ((360 - P.ptext_width(line)) // 2, 32 + k * 18), line, 20, AMBER)
        sk.save(img, name)

    def ok(n, y=78):
        return ["%d _button" % n, "  vx=140; vy=%d" % y, "  align=middle", "  fn1=dbtn_ok_up.bmp",
                "  fn2=dbtn_ok_mv.bmp", "  fn3=dbtn_ok_dn.bmp", "  go=ok", "  hint=Закрыть окно",
                "  wav=%s" % CLICK, ""]

    def message(n, value):
        return ["%d _text" % n, "  vx=20; vy=40; vw=340", "  font=Arial; size=10; style=bold; color=230,236,244",
                "  value=%s" % value, ""]

    lines = ["; Диалоги: 1 сообщение, 2 поиск, 3 и 4 предупреждения о принтере.", ""]
    lines += ["1 _picture=dlg_msg.bmp"] + message(1, "Сообщение") + ok(1)
    lines += ["2 _picture=dlg_find.bmp"] + message(2, "")
    lines += ["2 _button", "  vx=300; vy=27", "  align=left", "  fn1=dbtn_find_up.bmp", "  fn2=dbtn_find_mv.bmp",
              "  fn3=dbtn_find_dn.bmp", "  go=findnext1", "  hint=Искать", "  wav=%s" % CLICK, ""]
    lines += ["2 _button", "  vx=374; vy=3", "  align=left", "  fn1=dbtn_x_up.bmp", "  fn2=dbtn_x_mv.bmp",
              "  fn3=dbtn_x_dn.bmp", "  go=ok", "  hint=Закрыть поиск", "  wav=%s" % CLICK, ""]
    for k, (caption, go, hint) in enumerate((("В тексте", "findtxtlimit", "Искать в открытом документе"),
                                             ("По индексу", "findtxtall", "Искать во всех документах по индексу"),
                                             ("В оглавлении", "findtxtcontents", "Искать в названиях разделов"))):
        lines += switchgrp(2, 20 + k * 122, 92, "dsw", 110, caption, 1, go, hint, state=(k == 0), store=True,
                           h=20, head="2 switchgrp")
    lines += ["3 _picture=dlg_noprn.bmp"] + message(3, "") + ok(3)
    lines += ["4 _picture=dlg_prnna.bmp"] + message(4, "") + ok(4)
    return lines


def build_about(sk):
    w, h = 420, 280
    shape = P.chamfer(w, h, 24)
    img = P.vgrad(w, h, (34, 56, 88), (10, 20, 36))
    P.brushed(img, (0, 0, w, h), 31, 3)
    d = ImageDraw.Draw(img)
    draw_car(d, 250, 30, 0.4, (90, 130, 180), None)
    sk.emblem(img, 24, 24)
    P.ptext(img, (62, 30), "О ПРОГРАММЕ", 20, AMBER)
    d.line([(24, 64), (w - 24, 64)], fill=AMBER)
    img = P.mask_outside(img, shape)
    ImageDraw.Draw(img).line(shape + [shape[0]], fill=STEEL_HI, width=2)
    sk.save(img, "about_bg.bmp")
    sk.baked_set("abt_ok", 110, 26, "ЗАКРЫТЬ")

    def text(x, y, value, size=10, style="", colour=ICE, ident="no"):
        return ["text", "  vx=%d; vy=%d" % (x, y), "  font=Arial; size=%d; style=%s; color=%s" % (size, style, rgb(colour)),
                "  value=%s" % value, "  idenf=%s" % ident, ""]

    # The list goes on to the next line: a "]" on the first would end it there.
    lines = ["; Окно «О программе».", "picture=about_bg.bmp",
             "vertex=[%s" % "; ".join("%d,%d" % p for p in shape[:4]),
             "  %s]" % "; ".join("%d,%d" % p for p in shape[4:]), ""]
    lines += text(30, 78, TITLE, 12, "bold")
    lines += text(30, 104, "Учебный диск программы «Витрина», версия 1.0", 9)
    lines += text(30, 124, "Тексты, рисунки, звуки и ролики созданы для примера.", 9, colour=(170, 188, 206))
    lines += text(30, 156, "Сайт:", 9)
    lines += text(90, 156, "http://vitrina.example/disc?from=about", 9, "underline", (120, 190, 255), "url")
    lines += text(30, 178, "Почта:", 9)
    lines += text(90, 178, "support@vitrina.example", 9, "underline", (120, 190, 255), "url")
    lines += ["button", "  vx=155; vy=224", "  fn1=abt_ok_up.bmp", "  fn2=abt_ok_mv.bmp",
              "  hint=Закрыть окно", "  wav=%s" % CLICK, ""]
    return lines


def build_thesaurus(sk):
    w, h = 600, 470
    shape = P.chamfer(w, h, 14)
    img = sk.frame(w, h, "Тезаурус: словарь терминов", 41, shape)
    d = ImageDraw.Draw(img)
    P.inset(d, (24, 64, 300, 84), fill=(250, 250, 250))
    P.inset(d, (22, 96, 578, 448), fill=(250, 250, 250))
    sk.save(img, "scr_tez.bmp")
    lines = ["; Окно тезауруса.", "title=Тезаурус", "icon=vitrina.ico",
             "vertexmain=[%s]" % "; ".join("%d,%d" % p for p in shape), ""]
    lines += window_buttons(w - 60, w - 32, 14)
    lines += ["_screen=scr_tez.bmp ; 1", ""]
    lines += ["_html 1", "  vx=22; vy=96; vw=578; vh=448", r"  fn=tezaurus\t_a.htm", "  number=20", ""]
    lines += ["_findtxt 1", "  vx=24; vy=64; vw=300; vh=84", "  frame=", "  nofiles=", "  number=1",
              "  hint=Термин для поиска", ""]
    lines += button(1, 310, 61, "b80", "findnext1", "Найти термин", "Найти", 80)
    lines += button(1, 400, 61, "ic_back", "back", "Назад", w=28)
    lines += button(1, 430, 61, "ic_fwd", "forward", "Вперёд", w=28)
    lines += text_area(1, 470, 66, 578, "", 1, ident="doc", style="bold", colour=AMBER)
    return lines


HEADER_WORDS = ("title", "codec", "rolic", "helpwin", "background", "icon", "bgsounddef", "vertexmain", "minimize",
                "close")
SECTION_WORDS = ("button", "switchone", "switchgrp", "_html", "_findtxt", "_path", "_clip", "_text", "_image",
                 "_popup", "_screen")


def lint_screen_description(lines):
    """The reader finds header words in every line and section words anywhere in a line, so a
    word of either kind inside a value would quietly change the model. Returns the offences."""
    problems = []
    header_block = True
    for number, line in enumerate(lines, 1):
        low = line.lower()
        starts = [w for w in SECTION_WORDS if w in low]
        if starts:
            header_block = False
        for word in HEADER_WORDS:
            if word in low and not (header_block and low.lstrip().startswith(word)):
                problems.append("line %d: header word %r: %s" % (number, word, line))
        if starts and not low.lstrip().startswith(starts[0]):
            problems.append("line %d: section word %r inside a value: %s" % (number, starts[0], line))
        if low.startswith(" ") and starts:
            problems.append("line %d: section word %r inside a section: %s" % (number, starts[0], line))
    return problems
