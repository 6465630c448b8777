#!/usr/bin/env python3
"""The release zip as scripts/package makes it from the built programs:
four sets of the three programs, each passing the program checks, the
documentation, SHA256SUMS that sha256sum -c accepts, entries in a fixed
order with the commit's time and no extra fields; and signed with a
throwaway self-signed certificate: every signature verifies, and taking
it off (osslsigncode remove-signature) gives back the unsigned program
byte for byte, so that a signed release can be checked against a rebuild.

    check_release.py SOURCE_ROOT DIST32 DIST64 OBJDUMP32 OBJDUMP64 NAME

NAME is the release's name as the build gives it (corvalette-tools-0.12.0-win32):
the zips are made as NAME.zip, and everything in them lies in NAME/.
"""
import os
import subprocess
import sys
import tempfile
import time
import zipfile

SETS = {"": 4, "utf8/": 4, "x64/": 8, "x64/utf8/": 8}  # folder: word size
TOOLS = ("ask.exe", "say.exe", "run.exe")


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def package(root, dists, zip_path, env):
    made = run([sys.executable, os.path.join(root, "scripts", "package"), zip_path] + dists, env=env)
    print(made.stdout + made.stderr)
    return made.returncode == 0


def check_zip(root, zip_path, top, folder, objdumps, failures):
    with zipfile.ZipFile(zip_path) as z:
        entries = z.infolist()
        z.extractall(folder)
    names = [e.filename for e in entries]
    if names != sorted(names):
        failures.append("entries not in sorted order")
    outside = [n for n in names if not n.startswith(top)]
    if outside:
        failures.append(f"{outside[0]}: not in {top}")
        return
    epoch = int(run(["git", "-C", root, "log", "-1", "--format=%ct"]).stdout.strip())
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH") or epoch)
    stamp = time.gmtime(epoch)[:6]
    stamp = stamp[:5] + (stamp[5] // 2 * 2,)  # zip times count two seconds
    for e in entries:
        if e.extra or e.date_time != stamp:
            failures.append(f"{e.filename}: extra {e.extra!r}, time {e.date_time} not {stamp}")
            break
    for required in ("README.md", "SHA256SUMS", "site/Products/Corvalette/Help/Ask.html",
                     "examples/wizard.bat", "pictures/ask-list.png"):
        if top + required not in names:
            failures.append(f"missing {required}")
    for where, bits in SETS.items():
        for tool in TOOLS:
            program = os.path.join(folder, top + where + tool)
            checked = run(["cmake", f"-DOBJDUMP={objdumps[bits]}", f"-DPROGRAM={program}",
                           f"-DBITS={bits}", "-P", os.path.join(root, "tests", "check_program.cmake")])
            if checked.returncode != 0:
                failures.append(f"{where}{tool}: {checked.stderr.strip()}")
    sums = run(["sha256sum", "--quiet", "-c", "SHA256SUMS"], cwd=os.path.join(folder, top))
    if sums.returncode != 0:
        failures.append("sha256sum -c: " + sums.stdout + sums.stderr)


def main():
    root, dist32, dist64, objdump32, objdump64, name = sys.argv[1:7]
    top = name + "/"
    objdumps = {4: objdump32, 8: objdump64}
    failures = []
    with tempfile.TemporaryDirectory() as work:
        plain = os.path.join(work, "unsigned", name + ".zip")
        env = {k: v for k, v in os.environ.items() if not k.startswith("QUIL_SIGN_")}
        if not package(root, [dist32, dist64], plain, env):
            failures.append("unsigned package failed")
        else:
            check_zip(root, plain, top, os.path.join(work, "plain"), objdumps, failures)

        key, cert = os.path.join(work, "key.pem"), os.path.join(work, "cert.pem")
        made = run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                    "-out", cert, "-days", "2", "-subj", "/CN=Corvalette throwaway test"])
        signed = os.path.join(work, "signed-zip", name + ".zip")
        env.update(QUIL_SIGN_CERT=cert, QUIL_SIGN_KEY=key)
        if made.returncode != 0 or not package(root, [dist32, dist64], signed, env):
            failures.append("signed package failed " + made.stderr)
        else:
            check_zip(root, signed, top, os.path.join(work, "signed"), objdumps, failures)
            for where in SETS:
                for tool in TOOLS:
                    program = os.path.join(work, "signed", top + where + tool)
                    original = os.path.join(work, "plain", top + where + tool)
                    if not (os.path.isfile(program) and os.path.isfile(original)):
                        continue  # check_zip has said what is missing
                    verified = run(["osslsigncode", "verify", "-CAfile", cert, "-in", program])
                    bare = program + ".bare"
                    removed = run(["osslsigncode", "remove-signature", "-in", program, "-out", bare])
                    with open(original, "rb") as a, open(bare, "rb") as b:
                        same = removed.returncode == 0 and a.read() == b.read()
                    if verified.returncode != 0 or not same:
                        failures.append(f"{where}{tool}: verified {verified.returncode == 0}, "
                                        f"unsigned bytes back {same}")
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
