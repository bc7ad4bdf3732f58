#!/usr/bin/env python3
"""Edit data/String.txt, the UTF-16LE UI text file, through UTF-8.

  scripts/stringtxt.py dump [FILE]          prints the file as UTF-8
  scripts/stringtxt.py load [FILE] < text   replaces the file by UTF-8 text from stdin
  scripts/stringtxt.py set ID TEXT [FILE]   sets or adds one entry (ID written with five digits)

Lines end with CR LF; the file has no byte-order mark, since the loader would read one as part of
the first line.
"""
import os
import sys

DEFAULT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "String.txt")


def read(path):
    with open(path, "rb") as f:
        return f.read().decode("utf-16-le")


def write(path, text):
    lines = text.replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("utf-16-le"))


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    cmd = argv[1]
    if cmd == "dump":
        sys.stdout.write(read(argv[2] if len(argv) > 2 else DEFAULT).replace("\r\n", "\n"))
    elif cmd == "load":
        write(argv[2] if len(argv) > 2 else DEFAULT, sys.stdin.read())
    elif cmd == "set":
        ident, text = "%05d" % int(argv[2]), argv[3]
        path = argv[4] if len(argv) > 4 else DEFAULT
        lines = read(path).replace("\r\n", "\n").split("\n") if os.path.exists(path) else []
        lines = [l for l in lines if l != ""]
        entry = ident + "\t" + text
        for i, line in enumerate(lines):
            if line.startswith(ident + "\t"):
                lines[i] = entry
                break
        else:
            lines.append(entry)
        write(path, "\n".join(lines) + "\n")
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
