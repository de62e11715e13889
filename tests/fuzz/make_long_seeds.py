#!/usr/bin/env python3
"""Writes seeds with very long lines and bodies into fuzzing corpus folders.

They are made when the fuzzers run rather than kept in the repository, being megabytes of the
same byte. Usage: make_long_seeds.py rtf|database|sync FOLDER
"""

import os
import struct
import sys

LINE = 1 << 19  # half a mebibyte on one line: a fault that grows with the square of it shows
HEAD = b"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\viewkind4\\uc1\\pard\\f0\\fs20 "


def rtf_seeds():
    word = b"x" * LINE
    words = b"abcd " * (LINE // 5)
    yield "long-word.rtf", HEAD + word + b"\\par\r\n}"
    yield "long-line.rtf", HEAD + words + b"\\par\r\n}"
    yield "long-plain.txt", word
    yield "long-address.rtf", HEAD + b"see http://a.b/c" + b")" * LINE + b"\\par\r\n}"
    yield "many-paragraphs.rtf", HEAD + b"ab\\par " * 10000 + b"}"
    yield "long-unclosed.rtf", HEAD + b"{\\b " + word


def database_seeds(default):
    (length,) = struct.unpack("<i", default[:4])
    text = default[4 : 4 + length]
    marker = b"<![CDATABEGIN[\r\n"
    at = text.find(marker) + len(marker)
    body = HEAD + b"x" * LINE + b"\\par\r\n}\r\n"
    with_body = text[:at] + body + text[at:]
    yield "long-body.dat", struct.pack("<i", len(with_body)) + with_body
    title = b" title=|<|<|<|<|<"
    t = with_body.find(title) + len(title)
    long_title = with_body[:t] + b"t" * LINE + with_body[t:]
    yield "long-title.dat", struct.pack("<i", len(long_title)) + long_title
    # A length that promises more than the file holds, and a file cut inside a long body.
    yield "short-file.dat", struct.pack("<i", len(with_body) + LINE) + with_body
    yield "cut-body.dat", struct.pack("<i", len(with_body)) + with_body[: at + LINE // 2]


def fnv1a(data):
    value = 14695981039346656037
    for byte in data:
        value = ((value ^ byte) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return value


def sync_file(device, records):
    """A sync file as a device writes it: header, records, count and checksum."""
    body = b"BPSYNC 1 " + device + b"\n" + b"".join(r + b"\n" for r in records)
    return body + b"END %d %016x\n" % (len(records), fnv1a(body))


def sync_seeds():
    lines = b"\\n".join(b"line %d" % i for i in range(3000))
    other = b"\\n".join(b"line %d" % (i * 7 % 3001) for i in range(3000))
    yield "long-bodies.bps", sync_file(b"d", [
        b"B\tu\tv0\t1\t0\td\t\t" + lines,
        b"B\tu\tv1\t2\t0\td\tv0\t" + other,
        b"B\tu\tv2\t3\t0\te\tv0\t" + lines + b"\\nmore",
    ])
    yield "long-value.bps", sync_file(b"d", [b"F\tu\ttitle\t1\t0\td\t" + b"x" * LINE])
    yield "cut.bps", sync_file(b"d", [b"F\tu\ttitle\t1\t0\td\t" + b"x" * LINE])[: LINE // 2]


def main():
    kind, folder = sys.argv[1], sys.argv[2]
    if kind == "rtf":
        seeds = rtf_seeds()
    elif kind == "sync":
        seeds = sync_seeds()
    else:
        here = os.path.dirname(os.path.abspath(__file__))
        with open(os.path.join(here, "corpus", "open", "default.dat"), "rb") as f:
            seeds = database_seeds(f.read())
    for name, data in seeds:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
