#!/usr/bin/env python3
"""Writes the committed seed corpus of the fuzz targets, tests/fuzz/corpus/<target>/.

Usage: tests/fuzz/make_corpus.py BUILD_DIR

The seeds are the fixtures the tests use: the language and setup files of data/language and
tests/data/lang, the default data files the build generates in BUILD_DIR/bin/Init, data files
and radio images that the built kvx50-cli makes (new, encode, and a read from kvx50-radiosim),
and the frames of the link protocol. A seed of several files joins them with the separator of
tests/fuzz/FuzzSupport.h. Run it again when a format changes; the output is deterministic.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

SEPARATOR = b"\n%%KVX%%\n"
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CORPUS = os.path.join(ROOT, "tests", "fuzz", "corpus")


def write_seed(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def join(*parts):
    return SEPARATOR.join(parts)


# --- protocol frames -------------------------------------------------------------------------

def checksum(address, data):
    return ((address >> 8) + (address & 0xFF) + len(data) + sum(data)) & 0xFF


def block(header, address, data):
    return bytes([header, address >> 8, address & 0xFF, len(data)]) + bytes(data) + bytes(
        [checksum(address, data), 0x06])


def ident(model=b"KP-510", band=3, version=b"V100", features=0, status=0):
    return (b"I" + model.ljust(7, b"\xff")[:7] + bytes([band]) + version.ljust(4, b"\x00")[:4] +
            bytes([features, status, 0x06]))


def read_request(address):
    return bytes([ord("R"), address >> 8, address & 0xFF, 16])


# --- the file password block -----------------------------------------------------------------

def password_block(password):
    text = password.encode("latin-1").ljust(10, b" ")[:10] + b"ZVQMTR"
    out = bytearray(16)
    for k in range(16):
        for j in range(8):
            if (text[k] >> j) & 1:
                continue
            n = 127 - 16 * j - k
            out[n // 8] |= 1 << (n % 8)
    return bytes(out)


# --- the built programs ----------------------------------------------------------------------

def run(args, **kw):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kw)


def made_files(build, work):
    """Data files and images made by the built kvx50-cli; returns a dict of name -> path."""
    bin_dir = os.path.join(build, "bin")
    cli = os.path.join(bin_dir, "kvx50-cli")
    home = os.path.join(work, "home")
    for sub in ("language", "Init"):
        shutil.copytree(os.path.join(bin_dir, sub), os.path.join(home, sub))
    files = {}
    for band in (3, 48):
        out = os.path.join(work, f"new{band}.dat")
        run([cli, "--home", home, "new", "--band", str(band), "-o", out])
        files[f"new{band}"] = out
    image = os.path.join(work, "new3.bin")
    run([cli, "--home", home, "encode", files["new3"], "-o", image])
    files["image-new3"] = image

    sim = subprocess.Popen([os.path.join(bin_dir, "kvx50-radiosim")], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL)
    try:
        device = sim.stdout.readline().decode().strip()
        out = os.path.join(work, "read.dat")
        image = os.path.join(work, "read.bin")
        run([cli, "--home", home, "read", "--port", device, "-o", out, "--image-out", image])
        files["read"] = out
        files["image-read"] = image
    finally:
        sim.terminate()
        sim.wait()
    return files


def channel_file(path):
    base = path[:-3] + "fre"
    return read(base) if os.path.exists(base) else b""


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    shutil.rmtree(CORPUS, ignore_errors=True)
    with tempfile.TemporaryDirectory() as work:
        files = made_files(build, work)
        init = os.path.join(build, "bin", "Init")

        # Data file, channel file, test-data file, password answer.
        test_values = struct.pack("<32h", *range(-16, 16))
        new3, read_dat = read(files["new3"]), read(files["read"])
        write_seed("fuzz_datafile", "new3", join(new3, channel_file(files["new3"])))
        write_seed("fuzz_datafile", "new48-factory",
                   join(read(files["new48"]), channel_file(files["new48"]), test_values))
        write_seed("fuzz_datafile", "read", join(read_dat, channel_file(files["read"])))
        for name in ("KP-510_16.dat", "KP-510_3.dat"):
            path = os.path.join(init, name)
            write_seed("fuzz_datafile", "blockless-" + name[:-4], join(read(path), channel_file(path)))
        write_seed("fuzz_datafile", "password",
                   join(password_block("12AB") + new3[16:], channel_file(files["new3"]), test_values,
                        b"12AB"))
        write_seed("fuzz_datafile", "short-channels",
                   join(new3, channel_file(files["read"])[:108 * 3 + 50]))
        write_seed("fuzz_datafile", "main-only", new3)

        # Book files: the book of a data file, a longer file, a short one.
        book = read_dat[16 + 6805:16 + 6805 + 1792]
        entries = b"".join(
            struct.pack("<h", i) + (str(100 + i).encode() + b"\x00" + b" ")[:5] +
            (b"N" + str(i).encode() + b"\x00").ljust(7, b" ") for i in range(128))
        write_seed("fuzz_bookfile", "from-data-file", book)
        write_seed("fuzz_bookfile", "entries-and-tail", entries + b"tail kept")
        write_seed("fuzz_bookfile", "short", entries[:1000])

        # INI: file text, section, key, value, Setting.ini. The language files keep the first
        # lines of each section: the parser is quadratic in the keys, and a long seed only slows
        # the fuzzer.
        def head(path, per_section=12):
            kept, count = [], 0
            for line in read(path).splitlines(keepends=True):
                if line.lstrip().startswith(b"["):
                    count = 0
                elif count >= per_section:
                    continue
                else:
                    count += 1
                kept.append(line)
            return b"".join(kept)
        flags = struct.pack("<4h", 1, 0, 1, 0)
        lang = os.path.join(ROOT, "data", "language")
        legacy = os.path.join(ROOT, "tests", "data", "lang", "legacy", "language")
        write_seed("fuzz_ini", "english", join(head(os.path.join(lang, "english.ini")), b"OTHER",
                                               b"2006", b"Reading failed.", flags))
        write_seed("fuzz_ini", "chinese", join(head(os.path.join(lang, "chinese.ini")), b"MSG",
                                               b"9001", b"\"  quoted  \"", flags))
        write_seed("fuzz_ini", "mysetup", join(read(os.path.join(lang, "mysetup.ini")), b"language",
                                               b"comPort", b"/dev/pts/3", flags[:5]))
        write_seed("fuzz_ini", "legacy-english",
                   join(read(os.path.join(legacy, "english.ini")), b"OTHER", b"101", b"x", flags))
        write_seed("fuzz_ini", "legacy-chinese",
                   join(read(os.path.join(legacy, "chinese.ini")), b"OTHER", b"101", b"x", flags))
        write_seed("fuzz_ini", "crlf-bom",
                   join(b"\xef\xbb\xbf[language]\r\nProgramPassWord = '12' \r\n; note\r\n[Other]\r\n",
                        b"language", b"ProgramPassWord", b"34\r\nx", flags))

        # Replies: echo length, block address, flags, then the buffer (echo + reply).
        def reply(name, sent, answer, address=0, password_step=0):
            write_seed("fuzz_reply", name,
                       bytes([len(sent), address >> 8, address & 0xFF, password_step]) + sent + answer)
        handshake = b"PROGRAM"
        memory = read(files["image-read"])
        reply("handshake", handshake, b"VN\x06")
        reply("ident", b"\x02", ident(features=0xF0))
        reply("ident-killed-band", b"\x02", ident(band=0x0B, status=3))
        reply("data-block", read_request(0x2000), block(ord("W"), 0x2000, memory[0x2000:0x2010]),
              0x2000)
        reply("data-block-lower", read_request(0x3900), block(ord("w"), 0x3900, memory[0x3900:0x3910]),
              0x3900)
        reply("password", read_request(0x40), block(ord("W"), 0x40, memory[0x40:0x50]), 0x40, 1)
        reply("test-data", read_request(0x160), block(ord("W"), 0x160, memory[0x160:0x170]), 0x160)
        write_block = block(ord("W"), 0x0100, memory[0x100:0x110])
        reply("ack", write_block, b"\x06", 0x100)
        reply("refuse", write_block, b"\x0a", 0x100)
        reply("split", read_request(0x10), block(ord("W"), 0x10, memory[0x10:0x20])[:9], 0x10)

        # The link: mode, set-up (1 factory mode, 2 'w' headers, 4 drive to the end), identity,
        # features, passwords, events; then the radio memory.
        def link(name, script, memory_name=None):
            data = bytes(script)
            if memory_name:
                data = join(data, read(files[memory_name]))
            write_seed("fuzz_link", name, data)
        link("read", [0, 4, 0, 0, 0], "image-read")
        link("read-encoded", [0, 6, 0, 0, 0], "image-new3")
        link("write", [1, 4, 0, 0, 0])
        link("write-factory-band7", [1, 5, 1, 0x30, 0])
        link("info", [2, 4, 0, 0, 0], "image-read")
        # A read with time-outs, a corrupt and a split reply, and the recovery question.
        link("read-faults", [0, 0, 0, 0, 0, 9, 1, 7, 0, 0, 6, 6, 0, 3, 5, 1, 4, 3, 0, 6, 6, 6, 7, 4])
        # The radio's password "12", ours empty: the password dialog, then the right answer.
        link("write-password", [1, 4, 0, 0, 1, 9, 1, 7, 0, 0, 0, 0, 8, 2])
        link("wrong-model-killed", [1, 0, 0x14, 0, 0])
        link("cancel-and-restart", [0, 0, 0, 0, 0, 9, 1, 7, 0, 0, 10, 11, 1, 9, 0])
    print("corpus written to", CORPUS)


if __name__ == "__main__":
    main()
