#!/usr/bin/env python3
"""The pictures as a Windows user sees the programs, from a run of
scripts/pictures: every window pictured was the active one, its title bar
is drawn in the active colour, its close button is the symbol font's cross
(not the letter r that shows where that font is missing), and every file
dialog shows an ordinary folder, never a temporary one named tmp.*.

    check_pictures.py ROOT
"""
import os
import subprocess
import sys
import tempfile


def pixels(path):
    """Width, height and the RGB bytes of a picture (ImageMagick)."""
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True)
    width, height = map(int, size.stdout.split())
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True).stdout
    return width, height, raw


def rgb(picture, x, y):
    width, _, raw = picture
    i = 3 * (y * width + x)
    return raw[i], raw[i + 1], raw[i + 2]


def caption_rows(picture):
    """The rows of the caption in the active caption's blue, below the
    window's border."""
    def blue(y):  # most of the row: the title's text and buttons interrupt it
        row = [rgb(picture, x, y) for x in range(picture[0])]
        return sum(c[2] > c[0] + 60 for c in row) > len(row) // 2
    top = next((y for y in range(min(8, picture[1])) if blue(y)), 0)
    bottom = top
    while bottom < picture[1] and blue(bottom):
        bottom += 1
    return top, bottom


def close_button_is_a_cross(picture, top, bottom):
    """The dark glyph at the right end of the caption is mirror-symmetric,
    as the cross is and the letter r is not."""
    width, band = picture[0], bottom - top
    dark = [(x, y) for x in range(width - band - 4, width - 2) for y in range(top, bottom)
            if max(rgb(picture, x, y)) < 100]
    if len(dark) < 6:
        return False
    low, high = min(x for x, _ in dark), max(x for x, _ in dark)
    marks = set(dark)
    mirrored = sum((low + high - x, y) in marks for x, y in dark)
    return high - low >= 4 and mirrored >= 0.85 * len(dark)


# What the test takes: a dialog, each chooser, the calendar at 150 %, and
# the UTF-8 set in four scripts.
TAKEN = ["ask-text", "ask-file", "ask-save", "ask-dir", "ask-date-144dpi", "ask-utf8-list"]


def main():
    with tempfile.TemporaryDirectory() as work:
        facts = os.path.join(work, "facts")
        run = subprocess.run([os.path.join(sys.argv[1], "scripts", "pictures"), work] + TAKEN,
                             env=dict(os.environ, PICTURE_FACTS=facts), capture_output=True,
                             text=True)
        print(run.stdout + run.stderr)
        return check(work, facts) if run.returncode == 0 else 1


def check(pictures, facts):
    failures, checked = [], 0
    for name in sorted(os.listdir(facts)):
        picture_path = os.path.join(pictures, name[:-4] + ".png")
        with open(os.path.join(facts, name), encoding="utf-8") as f:
            lines = f.read().splitlines()
        if "active\t1" not in lines:
            failures.append(f"{name}: not the active window")
        if any("tmp." in line for line in lines):
            failures.append(f"{name}: shows a temporary folder")
        if any(line.startswith("Static\tLook &in:") for line in lines) and "ComboBox\tReports" not in lines:
            failures.append(f"{name}: the file dialog is not in the Reports folder")
        picture = pixels(picture_path)
        top, bottom = caption_rows(picture)
        if bottom - top < 10:
            failures.append(f"{name}: no active title bar ({bottom - top} rows)")
        elif not close_button_is_a_cross(picture, top, bottom):
            failures.append(f"{name}: the close button is no cross")
        checked += 1
    if checked == 0:
        failures.append("no pictures with facts")
    for failure in failures:
        print("FAIL:", failure)
    print(f"{checked} pictures checked, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
