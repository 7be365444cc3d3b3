"""A small writer of RAR 4 archives with stored (uncompressed) members.

No free tool here makes RAR archives, so the sample disc's archive is written by this. Names
are stored the way the DOS-era archiver did: the name in the OEM code page (866), a zero byte,
and the Unicode form in RAR's compact encoding, with the Unicode flag set.
"""
import struct
import zlib

MARK = b"Rar!\x1a\x07\x00"
HEAD_MAIN, HEAD_FILE, HEAD_END = 0x73, 0x74, 0x7B
LHD_LARGE_DATA = 0x8000  # a data area follows the header
LHD_UNICODE = 0x0200
LHD_DIRECTORY = 0x00E0
HOST_WIN32 = 2
METHOD_STORE = 0x30
ATTR_DIRECTORY, ATTR_ARCHIVE = 0x10, 0x20


def dos_time(year, month, day, hour, minute, second=0):
    return ((year - 1980) << 25) | (month << 21) | (day << 16) | (hour << 11) | (minute << 5) | (second // 2)


def block(head_type, flags, body, data=b""):
    size = 7 + len(body)
    rest = struct.pack("<BHH", head_type, flags, size) + body
    crc = zlib.crc32(rest) & 0xFFFF
    return struct.pack("<H", crc) + rest + data


def encode_unicode(name, oem):
    """RAR's compact UTF-16 form: a high byte shared by the letters of one alphabet, then groups of
    four 2-bit commands (0: byte with high byte 0; 1: byte with the shared high byte; 2: both bytes)."""
    codes = [ord(c) for c in name]
    high = next((c >> 8 for c in codes if c > 0xFF), 0)
    out = bytearray([high])
    for i in range(0, len(codes), 4):
        group = codes[i:i + 4]
        flags = 0
        payload = bytearray()
        for k, c in enumerate(group):
            if c >> 8 == 0:
                command, data = 0, bytes([c])
            elif c >> 8 == high:
                command, data = 1, bytes([c & 0xFF])
            else:
                command, data = 2, bytes([c & 0xFF, c >> 8])
            flags |= command << (6 - 2 * k)
            payload += data
        out.append(flags)
        out += payload
    return oem + b"\x00" + bytes(out)


def file_header(name, data, time, directory):
    oem = name.encode("cp866", errors="replace")
    if all(ord(c) < 128 for c in name):
        stored, flags = oem, 0
    else:
        stored, flags = encode_unicode(name, oem), LHD_UNICODE
    flags |= LHD_LARGE_DATA
    if directory:
        flags |= LHD_DIRECTORY
    body = struct.pack("<IIBIIBBHI", len(data), len(data), HOST_WIN32, zlib.crc32(data) & 0xFFFFFFFF, time, 20,
                       METHOD_STORE, len(stored), ATTR_DIRECTORY if directory else ATTR_ARCHIVE) + stored
    return block(HEAD_FILE, flags, body, data)


def write(path, members):
    """members: (name with "\\" separators, bytes or None for a folder, DOS time), in archive order."""
    out = bytearray(MARK)
    out += block(HEAD_MAIN, 0, b"\x00" * 6)
    for name, data, time in members:
        out += file_header(name, data or b"", time, data is None)
    out += block(HEAD_END, 0x4000, b"")
    with open(path, "wb") as f:
        f.write(out)
