#!/usr/bin/env python3
"""scripts/setup --plan tells what this machine can run and changes
nothing, and the test session's choice of Wine agrees with it; on a machine where everything is installed the setup itself
touches no package tool (and so no network).

    check_setup.py SOURCE_ROOT
"""
import os
import stat
import subprocess
import sys
import tempfile

# A static 32-bit x86 program of our own, written independently of the
# setup's: exit(7) through int 0x80 (xor ebx,ebx; mov bl,7; xor eax,eax;
# inc eax; int 0x80), one loadable segment at 0x08048000.
CODE = bytes([0x31, 0xDB, 0xB3, 0x07, 0x31, 0xC0, 0x40, 0xCD, 0x80])
HEADER = (b"\x7fELF\x01\x01\x01" + bytes(9) + (2).to_bytes(2, "little") + (3).to_bytes(2, "little")
          + (1).to_bytes(4, "little") + (0x08048000 + 84).to_bytes(4, "little")
          + (52).to_bytes(4, "little") + bytes(8) + (52).to_bytes(2, "little")
          + (32).to_bytes(2, "little") + (1).to_bytes(2, "little") + bytes(6))
SEGMENT = b"".join(v.to_bytes(4, "little") for v in
                   (1, 0, 0x08048000, 0x08048000, 84 + len(CODE), 84 + len(CODE), 5, 0x1000))


def kernel_runs_32bit(folder):
    path = os.path.join(folder, "exit7")
    with open(path, "wb") as f:
        f.write(HEADER + SEGMENT + CODE)
    os.chmod(path, stat.S_IRWXU)
    try:
        ran = subprocess.run([path]).returncode == 7
    except OSError:
        ran = False
    emulated = any(n for n in os.listdir("/proc/sys/fs/binfmt_misc")
                   if ("i386" in n or "i686" in n)) if os.path.isdir("/proc/sys/fs/binfmt_misc") else False
    return ran and not emulated


def fake_tools(folder, record):
    """apt-get, sudo and a dpkg that records every change, ahead on PATH."""
    for tool in ("apt-get", "apt", "sudo"):
        with open(os.path.join(folder, tool), "w") as f:
            f.write(f"#!/bin/sh\necho {tool} \"$@\" >>{record}\nexit 0\n")
    with open(os.path.join(folder, "dpkg"), "w") as f:
        f.write("#!/bin/sh\ncase \"$1\" in --print-foreign-architectures|-l) exec /usr/bin/dpkg \"$@\";; esac\n"
                f"echo dpkg \"$@\" >>{record}\nexit 0\n")
    for tool in os.listdir(folder):
        os.chmod(os.path.join(folder, tool), stat.S_IRWXU)


def main():
    root = os.path.abspath(sys.argv[1])
    failures = []
    with tempfile.TemporaryDirectory() as work:
        record = os.path.join(work, "calls")
        fakes = os.path.join(work, "bin")
        os.mkdir(fakes)
        fake_tools(fakes, record)
        env = dict(os.environ, PATH=fakes + os.pathsep + os.environ["PATH"])
        plan = subprocess.run([os.path.join(root, "scripts", "setup"), "--plan"], env=env,
                              capture_output=True, text=True)
        print(plan.stdout + plan.stderr)
        if plan.returncode != 0:
            failures.append(f"--plan exited with {plan.returncode}")
        expected = "yes" if kernel_runs_32bit(work) else "no"
        if f"setup: runs 32-bit code: {expected} (" not in plan.stdout:
            failures.append(f"the plan should say the kernel runs 32-bit code: {expected}")
        wine32 = "would install wine32:i386" in plan.stdout
        if expected == "no" and (wine32 or "i386 architecture" in plan.stdout):
            failures.append("i386 packages planned on a kernel that cannot run them")
        if expected == "yes" and not os.path.exists("/usr/lib/wine/wine") and not wine32 \
                and "wine32 could not be installed" not in plan.stdout:
            failures.append("wine32 neither installed nor planned on a kernel that runs 32-bit code")
        # The test session chooses its Wine by the same answer.
        session = subprocess.run(["bash", "-c", '. "$0/scripts/lib/wine-session.sh" && '
                                  'choose_wine_loader && echo "$WINE_RUN32"', root],
                                 capture_output=True, text=True)
        run32 = "ON" if expected == "yes" and os.path.exists("/usr/lib/wine/wine") else "OFF"
        if session.stdout.strip() != run32:
            failures.append(f"the test session chose WINE_RUN32={session.stdout.strip()!r}, not {run32}")
        if os.path.exists(record):
            with open(record) as f:
                failures.append("--plan changed the machine: " + f.read().strip())
        if "would install nothing" in plan.stdout:
            again = subprocess.run([os.path.join(root, "scripts", "setup")], env=env,
                                   capture_output=True, text=True)
            print(again.stdout + again.stderr)
            if again.returncode != 0 or os.path.exists(record):
                failures.append("with everything installed the setup still ran a package tool")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
