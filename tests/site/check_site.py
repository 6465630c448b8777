#!/usr/bin/env python3
"""Checks the help site in docs/site: every page that -help and the other
web-page kinds open exists at its path, every example of docs/examples is
there, every local link and picture on every page resolves, and (where
cmark-gfm is installed) the pages are those that scripts/site makes from
the user's guide today.

    check_site.py SOURCE_ROOT [SITE]
"""
import filecmp
import html.parser
import os
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


class References(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.found = []

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name in ("href", "src") and value is not None:
                self.found.append((tag, name, value))


def opened_pages(root):
    """The site paths the tools open: each tool's help page from its source,
    the product family page and the home page."""
    pages = []
    for tool in ("ask", "say", "run"):
        with open(os.path.join(root, tool, tool + ".cpp"), encoding="utf-8") as f:
            found = re.findall(r'"(/Products/[^"]+\.html)"', f.read())
        if len(found) != 1:
            fail(f"{tool}.cpp names {len(found)} help pages")
        pages += found
    with open(os.path.join(root, "common", "frame.cpp"), encoding="utf-8") as f:
        family = re.findall(r'"(/main/[^"]*/)"', f.read())
    if len(family) != 1:
        fail(f"frame.cpp names {len(family)} family pages")
    pages += [p + "index.html" for p in family]
    pages.append("/index.html")  # the bare host
    return pages


def check_links(site):
    checked = 0
    for folder, _, files in os.walk(site):
        for name in files:
            if not name.endswith(".html"):
                continue
            page = os.path.join(folder, name)
            parser = References()
            with open(page, encoding="utf-8") as f:
                parser.feed(f.read())
            for tag, attr, value in parser.found:
                parsed = urllib.parse.urlparse(value)
                if parsed.scheme or value.startswith("//"):
                    fail(f"{os.path.relpath(page, site)}: {tag} {attr}={value} leaves the site")
                    continue
                if not parsed.path:
                    continue  # an anchor on the same page
                target = os.path.normpath(os.path.join(folder, urllib.parse.unquote(parsed.path)))
                checked += 1
                if not target.startswith(os.path.abspath(site) + os.sep):
                    fail(f"{os.path.relpath(page, site)}: {value} points outside the site")
                elif not os.path.isfile(target):
                    fail(f"{os.path.relpath(page, site)}: {tag} {attr}={value} does not resolve")
    return checked


def same_tree(a, b):
    comparison = filecmp.dircmp(a, b)
    differ = comparison.left_only + comparison.right_only + comparison.diff_files
    for name in comparison.common_files:  # dircmp compares by size and time only
        if name not in differ and not filecmp.cmp(os.path.join(a, name), os.path.join(b, name), shallow=False):
            differ.append(name)
    for name in differ:
        fail(f"{os.path.relpath(os.path.join(a, name))} differs from what scripts/site makes")
    for sub in comparison.common_dirs:
        same_tree(os.path.join(a, sub), os.path.join(b, sub))


def main():
    root = os.path.abspath(sys.argv[1])
    site = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "docs", "site"))
    pages = opened_pages(root)
    for path in pages:
        if not os.path.isfile(os.path.join(site, path.lstrip("/"))):
            fail(f"the page {path} that the tools open is missing from {site}")
    # The site offers every example the zip holds.
    examples = os.path.join(root, "docs", "examples")
    for name in sorted(os.listdir(examples)):
        copy = os.path.join(site, "examples", name)
        if not os.path.isfile(copy) or not filecmp.cmp(copy, os.path.join(examples, name), shallow=False):
            fail(f"the example {name} is missing from {site}/examples or differs")
    checked = check_links(site)
    if checked == 0:
        fail("no local link or picture found on any page")
    if shutil.which("cmark-gfm") and len(sys.argv) <= 2:
        with tempfile.TemporaryDirectory() as fresh:
            subprocess.run([os.path.join(root, "scripts", "site"), fresh], check=True,
                           stdout=subprocess.DEVNULL)
            same_tree(site, fresh)
    elif len(sys.argv) <= 2:
        print("cmark-gfm is not installed: whether the site is up to date was not checked")
    print(f"{len(pages)} opened pages, {checked} local links and pictures checked, "
          f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
