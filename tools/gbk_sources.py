#!/usr/bin/env python3
"""Copies source files, converted from UTF-8 to code page 936 (GBK).

    python3 tools/gbk_sources.py SOURCE_ROOT OUTPUT_ROOT FILE...

Each FILE (relative to SOURCE_ROOT) is written under OUTPUT_ROOT at the same
relative path; a file whose converted bytes are already there is left alone,
so its objects are not rebuilt. Clang cannot turn literals into GBK itself,
but it keeps the bytes of a GBK source as they stand, which gives the same
literals as GCC's -fexec-charset=GBK. That holds only while no two-byte
character has the trail byte 0x5C, which the compiler would read as a
backslash; such a file is refused. A character that GBK lacks can only
stand in a comment (GCC refuses it in a literal, and UTF-8 and wide literals
do not come here): it is written as "?".
"""
import os
import sys


def backslash_trail_line(data):
    pos = 0
    while pos < len(data):
        if 0x81 <= data[pos] <= 0xFE and pos + 1 < len(data):
            if data[pos + 1] == 0x5C:
                return data.count(b"\n", 0, pos) + 1
            pos += 2
        else:
            pos += 1
    return 0


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    source_root, output_root = argv[1], argv[2]
    for name in argv[3:]:
        with open(os.path.join(source_root, name), encoding="utf-8") as f:
            data = f.read().encode("gbk", errors="replace")
        line = backslash_trail_line(data)
        if line:
            sys.exit(f"{name}:{line}: a character whose second byte is a backslash in GBK")
        out = os.path.join(output_root, name)
        os.makedirs(os.path.dirname(out), exist_ok=True)
        if os.path.exists(out):
            with open(out, "rb") as f:
                if f.read() == data:
                    continue
        with open(out, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv)
