#!/usr/bin/env python3
"""The pictures as a Windows user sees the programs, from a run of
scripts/pictures and one of scripts/try: every window pictured was the
active one, its title bar is drawn in the active colour, its close button
is the symbol font's cross (not the letter r that shows where that font is
missing), and every file dialog shows an ordinary folder, never a
temporary one named tmp.*.

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


# The pages scripts/try pictures.
TRY_PAGES = ["1-name", "2-colour", "3-note", "4-thanks"]


def run(command, env):
    done = subprocess.run(command, env=env, capture_output=True, text=True)
    print(done.stdout + done.stderr)
    return [] if done.returncode == 0 else [f"{os.path.basename(command[0])} failed"]


def main():
    root = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        facts, tried = os.path.join(work, "facts"), os.path.join(work, "try")
        failures = run([os.path.join(root, "scripts", "pictures"), work] + TAKEN,
                       dict(os.environ, PICTURE_FACTS=facts))
        # scripts/try on a private display of its own, so that no other
        # window lies over its pages.
        failures += run([os.path.join(root, "scripts", "try"), tried],
                        {k: v for k, v in os.environ.items() if k != "DISPLAY"})
        failures += check(work, facts)
        for page in TRY_PAGES:
            failures += title_bar("try " + page, os.path.join(tried, page + ".png"))
        for failure in failures:
            print("FAIL:", failure)
        print(f"{len(failures)} failures")
        return 1 if failures else 0


def title_bar(name, path):
    """What is wrong with the picture's title bar, if anything."""
    if not os.path.isfile(path):
        return [f"{name}: no picture"]
    picture = pixels(path)
    top, bottom = caption_rows(picture)
    if bottom - top < 10:
        return [f"{name}: no active title bar ({bottom - top} rows)"]
    if not close_button_is_a_cross(picture, top, bottom):
        return [f"{name}: the close button is no cross"]
    return []


def check(pictures, facts):
    failures = []
    names = sorted(os.listdir(facts)) if os.path.isdir(facts) else []
    for name in names:
        with open(os.path.join(facts, name), encoding="utf-8") as f:
            lines = f.read().splitlines()
        if "active\t1" not in lines:
            failures.append(f"{name}: not the active window")
        if any("tmp." in line for line in lines):
            failures.append(f"{name}: shows a temporary folder")
        if any(line.startswith("Static\tLook &in:") for line in lines) and "ComboBox\tReports" not in lines:
            failures.append(f"{name}: the file dialog is not in the Reports folder")
        failures += title_bar(name, os.path.join(pictures, name[:-4] + ".png"))
    return failures or ([] if names else ["no pictures with facts"])


if __name__ == "__main__":
    sys.exit(main())
