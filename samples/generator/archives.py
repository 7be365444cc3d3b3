"""Archives, a do-nothing Windows program and the game of the sample disc."""
import os
import struct
import zipfile

import rar4

WHEN = rar4.dos_time(2024, 5, 17, 10, 30)


def text(s):
    return s.replace("\n", "\r\n").encode("cp1251")


def tiny_pe():
    """The smallest honest Windows program: one section whose entry point returns 0."""
    code = b"\x31\xc0\xc3"  # xor eax, eax; ret
    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 64)
    coff = struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, 224, 0x0103)
    opt = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 1, 0, 0x200, 0, 0, 0x1000, 0x1000, 0x1000,
                      0x400000, 0x1000, 0x200, 4, 0, 0, 0, 4, 0, 0, 0x2000, 0x200, 0, 2, 0,
                      0x100000, 0x1000, 0x100000, 0x1000, 0, 16) + b"\x00" * 128
    section = struct.pack("<8sIIIIIIHHI", b".text", len(code), 0x1000, 0x200, 0x200, 0, 0, 0, 0, 0x60000020)
    head = bytes(dos) + b"PE\x00\x00" + coff + opt + section
    return head.ljust(0x200, b"\x00") + code.ljust(0x200, b"\x00")


def build(files):
    arch = os.path.join(files, "archives")
    os.makedirs(arch, exist_ok=True)
    rar4.write(os.path.join(arch, "shemy.rar"), [
        ("Схемы", None, WHEN),
        ("Схемы\\Двигатель", None, WHEN),
        ("Схемы\\Двигатель\\зажигание.txt", text("Схема зажигания: батарея, замок, катушка, свечи.\n"), WHEN),
        ("Схемы\\Двигатель\\Датчики", None, WHEN),
        ("Схемы\\Двигатель\\Датчики\\датчик температуры.txt", text("Сопротивление датчика при 20 °C: 3,5 кОм.\n"), WHEN),
        ("Схемы\\Кузов", None, WHEN),
        ("Схемы\\Кузов\\проводка дверей.txt", text("Жгут проводов передней двери: 12 проводов.\n" * 30), WHEN),
        ("Инструкции", None, WHEN),
        ("Инструкции\\замена лампы.htm", text("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                              "charset=windows-1251\"><title>Замена лампы</title></head><body>"
                                              "<p>Поверните патрон против часовой стрелки и выньте лампу.</p>"
                                              "</body></html>\n"), WHEN),
        ("readme.txt", text("Архив схем к примеру руководства.\n"), WHEN),
    ])
    with zipfile.ZipFile(os.path.join(arch, "katalog.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        for name, body in (("katalog.txt", "Каталог деталей\n\n2101-1012005  Фильтр масляный\n"
                                           "2108-1109080  Фильтр воздушный\n2110-3501090  Колодки передние\n"),
                           ("zakaz.txt", "Бланк заказа деталей\n")):
            info = zipfile.ZipInfo(name, (2024, 5, 17, 10, 30, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, text(body))

    tools = os.path.join(files, "tools")
    os.makedirs(tools, exist_ok=True)
    with open(os.path.join(tools, "primer.exe"), "wb") as f:
        f.write(tiny_pe())

    # The game: its setup, the files a setup would install, and the record it would leave.
    game = os.path.join(files, "games", "fifteen")
    installed = os.path.join(game, "installed")
    os.makedirs(installed, exist_ok=True)
    for path in (os.path.join(game, "setup.exe"), os.path.join(installed, "fifteen.exe")):
        with open(path, "wb") as f:
            f.write(tiny_pe())
    with open(os.path.join(installed, "Uninst.isu"), "wb") as f:
        f.write(text("; Журнал установки игры «Пятнашки»\nfifteen.exe\n"))
    with open(os.path.join(game, "game-record.reg"), "wb") as f:
        f.write(text("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrand\\Пятнашки]\n"
                     "\"instdir\"=\"c:\\\\Games\\\\Fifteen\\\\\"\n\"exename\"=\"fifteen.exe -level 1\"\n"))
