#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz corpora (tests/fuzz/corpus/<target>/seed_*).

Usage: make_seeds.py [SAMPLE_DISC_BUILD]  -- with the built sample disc (build/sample-disc) the
seeds taken from it are added: its descriptions decoded, its index files, small pages.
"""
import json
import os
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")
MARK = b"\n#~#~#\n"  # kPartMarker of fuzz_support.h


def put(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "seed_" + name), "wb") as f:
        f.write(data)


def w(text):
    return text.encode("cp1251")


# The resource container: a u16 count, per entry a u32 name length, the name, u32 offset and
# u32 size, then the data.
def container(entries):
    head = struct.pack("<H", len(entries))
    size = 2 + sum(12 + len(n) for n, _ in entries)
    body = b""
    for name, data in entries:
        head += struct.pack("<I", len(name)) + name + struct.pack("<II", size + len(body), len(data))
        body += data
    return head + body


# The document store; files is a list of (path parts, data). Folders in order of first mention.
def store(files, compress_files, compress_table):
    folders = [[]]  # per folder: list of (name, kind, payload)
    index = {(): 0}
    for parts, data in files:
        for depth in range(1, len(parts)):
            key = tuple(parts[:depth])
            if key not in index:
                index[key] = len(folders)
                folders.append([])
                folders[index[key[:-1]]].append((parts[depth - 1], 2, index[key]))
        folders[index[tuple(parts[:-1])]].append((parts[-1], 1, data))
    records, entries, blob = b"", b"", b""
    count = 0
    for folder in folders:
        records += struct.pack("<II", count, len(folder))
        for name, kind, payload in folder:
            name = w(name).upper()
            if kind == 1:
                stored = zlib.compress(payload, 9) if compress_files else payload
                if len(stored) >= len(payload):
                    stored = payload
                entries += name.ljust(64, b"\0") + struct.pack("<IIII", len(blob), len(stored), len(payload), 1)
                blob += stored
            else:
                entries += name.ljust(64, b"\0") + struct.pack("<IIII", payload, 0, 0, 2)
            count += 1
    table = struct.pack("<IIII", len(folders), count, 0, 0) + records + entries
    packed = zlib.compress(table, 9) if compress_table else table
    head = struct.pack("<II", (len(table) - len(packed)) ^ 0x3D8C52A1, len(packed) ^ 0x9E47B06C)
    return head + packed + blob


def request(kind, items):
    block = bytearray(840)
    struct.pack_into("<HH", block, 0, kind, len(items))
    for i, (item_kind, text) in enumerate(items):
        struct.pack_into("<I", block, 4 + 4 * i, item_kind)
        data = w(text)[:273]
        block[16 + 274 * i:16 + 274 * i + len(data)] = data
    return bytes(block)


# A compiled help file: file header, directory header, one listing chunk, every object stored in
# content section 0 (names and lengths as 7-bit groups, most significant first).
def chm(objects):
    def encint(v):
        out = [v & 0x7F]
        v >>= 7
        while v:
            out.insert(0, 0x80 | (v & 0x7F))
            v >>= 7
        return bytes(out)
    listing, content = b"", b""
    for name, data in objects:
        listing += encint(len(name)) + name + encint(0) + encint(len(content)) + encint(len(data))
        content += data
    chunk = 4096
    out = b"ITSF" + struct.pack("<IIIII", 3, 0x60, 1, 0, 0x419) + bytes(32)
    out += struct.pack("<QQQQQ", 0, 0, 0x60, 0x54 + chunk, 0x60 + 0x54 + chunk)
    out += b"ITSP" + struct.pack("<IIIIIIiIiiII", 1, 0x54, 10, chunk, 2, 1, -1, 0, 0, -1, 1, 0x419) + bytes(32)
    pmgl = b"PMGL" + struct.pack("<IIii", chunk - 0x14 - len(listing), 0, -1, -1) + listing
    return out + pmgl + bytes(chunk - len(pmgl)) + content


def chm_system(topic):
    return struct.pack("<IHH", 3, 2, len(topic) + 1) + topic + b"\0"


def hand_seeds():
    page = w("<html><head><title>Свечи</title></head><body><p>Зазор <b>0,8</b> мм</p></body></html>")
    put("container", "small", container([(b"Struct.cfs", b"\x01\x02\x03\x04"), (b"btn.bmp", b"BM" + bytes(30))]))
    put("container", "empty", container([]))
    put("container", "long_name", container([(b"x" * 256, b"data")]))

    doc = "<html><body>Тормоза &amp; колодки</body></html>"
    files = [(["html", "index.htm"], w(doc) * 3), (["html", "img", "a.gif"], b"GIF89a" + bytes(40)),
             (["keywords.idx"], w("тормоза\r\nколодки\r\n"))]
    put("store", "plain", store(files, False, False))
    put("store", "packed_files", store(files, True, False))
    put("store", "packed", store(files, True, True))
    # A small entry that unpacks past the document requests' cap of the target.
    put("store", "bomb", store(files + [(["html", "bomb.htm"], bytes(1 << 20))], True, True))

    put("index", "small", MARK.join([w("колодки"), w("тормоза\r\nколодки\r\nсвечи\r\n"), b"1:2\r\n2\r\n1:3\r\n",
                                     w("d:\\a.htm#:#Тормоза\r\nd:\\b.htm#:#Колодки\r\nd:\\c.htm\r\n"),
                                     w("\r\nсвеч~d:\\svechi.htm\r\nтормоз~d:\\tr.htm#a\r\n")]))
    put("index", "numbers", MARK.join([b"A", b"a\r\n", b" 000: 99999999999999999999 :x:3:\r\n", b"x#:#y#:#z\r\n",
                                       b"~\r\n~~\r\n"]))

    put("request_record", "open", request(0, [(0, "d:\\html\\index.htm")]))
    put("request_record", "print", request(1, [(1, "d:\\a.htm"), (2, "x" * 300), (3, "")]))
    put("request_record", "query", request(3, []))

    put("visible_text", "page", page)
    put("visible_text", "markup", w("<!DOCTYPE html><!-- x --><script>a<b</script><style>p{}</style>"
                                    "<p>a&nbsp;b&#1078;&#x416;&eacute;&bogus;<br>c</p><ul><li>d<li>e</ul>"
                                    "<iframe>hidden</iframe><textarea>t</textarea><![CDATA[x]]><a href='<'>l</a>"))
    put("visible_text", "utf8", "<meta charset=utf-8><title>Заголовок</title><p>Текст €</p>".encode("utf-8"))
    put("visible_text", "koi8", "<meta http-equiv=content-type content='text/html; charset=koi8-r'><p>Текст</p>"
        .encode("koi8-r"))

    screen = ("title=Пример\r\ncodec=x\r\nvertexmain=[0,0;100,0;\r\n100,100;0,100]\r\nminimize vx=1 vy=2 fn1=a fn2=b "
              "fn3=c hint=h wav=w\r\nclose vx=3 vy=4 fn1=a fn2=b fn3=c hint=h wav=w\r\nbgsounddef=[a.mid;b.mid]\r\n"
              "1_screen=scr1.bmp\r\n1button vx=10 vy=20 fn1=a fn2=b fn3=c textcaption=Кнопка go=screen=2 hint=h wav=w\r\n"
              "1switchone vx=1 vy=1 fn1=a fn2=b fn3=c fn4=d state=on store=off goup=a godown=b hint=h wav=w\r\n"
              "1switchgrp vx=1 vy=1 fn1=a fn2=b fn3=c fn4=d state=on store=on group=1 go=x hint=h wav=w\r\n"
              "1_html vx=0 vy=0 vw=100 vh=100 fn=d:\\index.htm number=1\r\n"
              "1_popup xfon=0 yfon=0 fnfon=p xbtn=1 ybtn=1 fnbtnup=[a;b] fnbtnmove=[a] fnbtndown=[a] fontup=Arial "
              "sizeup=9 styleup=bold colorup=1,2,3 fontmv=Arial sizemv=9 stylemv=italic colormv=4,5,6 caption=[x;y] "
              "go=[a;b] parent=p type=historyback vertex=[0,0]\r\n"
              "1_text vx=1 vy=2 vw=3 font=Arial size=10 style=bold color=1,2,3 value=v ident=i number=1\r\n")
    put("screen_model", "all_sections", w(screen))
    put("contents_tree", "levels", w("a.htm;Введение\r\n\tb.htm#x;Глава\r\n\t\t\tc.htm;Раздел\r\n\t;Пусто\r\n\r\n"
                                     "\t\td.htm;Ещё;лишнее\r\ne.htm\r\n"))
    put("chm", "pages", chm([(b"/#SYSTEM", chm_system(b"html/start.htm")), (b"/html/start.htm", b"<p>start"),
                             (b"/html/Topic12.htm", b"<p>12"), (b"/img/a.gif", b"GIF89a"), (b"/../x", b"out"),
                             (b"/a/../../y", b"out"), (b"::DataSpace/NameList", b"meta"), (b"/empty.htm", b"")]))
    put("chm", "nested", chm([(b"/" + b"d/" * 20 + b"x.htm", b"deep"), (b"/A.htm", b"1"), (b"/a.htm", b"2"),
                              (b"/\xef\xf0\xe8.htm", b"1251 name")]))
    hive = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Quarnelo\\Проба]\r\n"
    put("settings", "program", (hive + '"Favorite0"="{Тормоза}htmlpos=d:\\\\a.htm=120"\n'
                                '"Favorite1"="{Ремонт}}run=d:\\\\q}htmlpos=d:\\\\b.htm=0"\n'
                                '"Favorite2"="}{x}htmlpos=d:\\\\c.htm=0"\n"PathInstall0"="c:\\\\x=hex:01\\\\"\n'
                                '"Wav"=dword:00000001\n@="default"\n"Blob"=hex:00,ff,\\\n  10\n'
                                '[HKEY_LOCAL_MACHINE\\Other]\n"x"=dword:1\n').encode("utf-8"))
    put("settings", "bom_and_junk", b"\xef\xbb\xbf" + (hive + '"a"=dword:zz\ngarbage\n"b\\"c"="d\\\\"\n').encode("utf-8"))
    put("settings", "garbage", b"\x7fELF\x02\x01\x00\x00[HKEY_CURRENT_USER\\K]\n")
    put("dialog_description", "small", w("1_picture=dlg.bmp\r\n1_text vx=1 vy=2 vw=30 font=Arial size=9 style=bold "
                                         "color=0,0,0 value=Текст\r\n1_button vx=5 vy=6 align=left fn1=a fn2=b fn3=c "
                                         "go=ok hint=h wav=w\r\n2switchgrp vx=1 vy=1 fn1=a fn2=b fn3=c fn4=d state=on "
                                         "store=on group=1 go=x hint=h wav=w textcaptionup=Да\r\n"))


def sample_seeds(disc, tool):
    def read(name):
        return open(os.path.join(disc, name), "rb").read()

    def entry(name):
        return subprocess.run([tool, "container", "cat", os.path.join(disc, "Vuv.dhl"), name],
                              check=True, capture_output=True).stdout

    def decoded(name):
        lines = subprocess.run([tool, "unscramble", "--keep-case"], input=entry(name), check=True,
                               capture_output=True).stdout
        return "\r\n".join(json.loads(lines)).encode("cp1251")
    put("screen_model", "sample_struct", decoded("Struct.cfs"))
    put("dialog_description", "sample_dialog", decoded("Dialog.cfs"))
    put("dialog_description", "sample_about", decoded("About.cfs"))
    put("container", "sample_descriptions",
        container([(n.encode(), entry(n)) for n in ("About.cfs", "Dialog.cfs", "tree1.cfs", "btn_x_up.bmp")]))
    put("archive", "sample_shemy", read("archives/shemy.rar"))
    put("contents_tree", "sample_tree1", decoded("tree1.cfs"))
    put("index", "sample", MARK.join([w("тормоза"), read("keywords.idx"), read("index.idx"), read("files.idx"),
                                      open(os.path.join(HERE, "../../samples/sample-disc/documents/tezaurus.idx"),
                                           "rb").read()]))
    documents = os.path.join(HERE, "../../samples/sample-disc/documents")
    for name in ("index.htm", "el_shema_spisok.htm", "games.htm"):
        put("visible_text", "sample_" + name.replace(".", "_"), open(os.path.join(documents, name), "rb").read())


if __name__ == "__main__":
    hand_seeds()
    if len(sys.argv) > 1:
        build = sys.argv[1]
        sample_seeds(os.path.join(build, "sample-disc"), os.path.join(build, "tools/vitrina-disc/vitrina-disc"))
