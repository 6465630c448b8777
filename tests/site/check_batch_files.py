#!/usr/bin/env python3
"""Fails when a batch file that ships (in docs/, and so in the release zip
and on the help site) has a line feed without a carriage return before it:
cmd.exe misreads labels and goto targets in such files. With --controls,
fails instead when a text file in docs/ or README.md holds a control
character other than tab, CR and LF: a line copied from the guide must
run as it reads.

    check_batch_files.py SOURCE_ROOT
    check_batch_files.py --controls SOURCE_ROOT
"""
import os
import sys


BINARY = (".png", ".jpg", ".gif", ".ico", ".zip", ".pdf")


def check_controls(root):
    paths = [os.path.join(root, "README.md")]
    for folder, _, files in os.walk(os.path.join(root, "docs")):
        paths += [os.path.join(folder, n) for n in sorted(files) if not n.lower().endswith(BINARY)]
    failures = 0
    for path in paths:
        with open(path, "rb") as f:
            data = f.read()
        for n, line in enumerate(data.split(b"\n"), 1):
            bad = [c for c in line if c < 0x20 and c not in (0x09, 0x0D) or c == 0x7F]
            if bad:
                failures += 1
                print(f"FAIL: {os.path.relpath(path, root)}:{n}: byte 0x{bad[0]:02x} in {line[:80]!r}")
    print(f"{len(paths)} text files checked, {failures} lines with control characters")
    return 1 if failures else 0


def main():
    if sys.argv[1] == "--controls":
        return check_controls(os.path.abspath(sys.argv[2]))
    docs = os.path.join(os.path.abspath(sys.argv[1]), "docs")
    checked, failures = 0, 0
    for folder, _, files in os.walk(docs):
        for name in sorted(files):
            if not name.lower().endswith((".bat", ".cmd")):
                continue
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                data = f.read()
            checked += 1
            bare = [n + 1 for n, line in enumerate(data.split(b"\n")[:-1]) if not line.endswith(b"\r")]
            if bare:
                failures += 1
                print(f"FAIL: {os.path.relpath(path, docs)}: bare LF ending line(s) {bare[:10]}")
            elif data and not data.endswith(b"\r\n"):
                failures += 1
                print(f"FAIL: {os.path.relpath(path, docs)}: the last line has no CR LF")
    if checked == 0:
        failures += 1
        print("FAIL: no batch file found under docs/")
    print(f"{checked} batch files checked, {failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
