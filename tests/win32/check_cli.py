#!/usr/bin/env python3
"""The command-line programs under Wine, as a script runs them: the demo's
list as JSON, report and backup to files, a restore of a changed block with
and without --yes, and the real program on a PC without a machine."""
import json
import os
import struct
import subprocess
import sys
import tempfile
import zlib

RUN, DEMO, REAL = sys.argv[1:4]
failures = []


def run(program, *args):
    result = subprocess.run([RUN, program, *args], capture_output=True, timeout=120)
    return result.returncode, result.stdout.decode(), result.stderr.decode()


def expect(what, condition, detail=""):
    if not condition:
        failures.append(f"{what}: {detail}")


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


with tempfile.TemporaryDirectory() as folder:
    code, out, err = run(DEMO, "list", "--json")
    expect("list --json exits 0", code == 0, err)
    machines = json.loads(out)["machines"]
    expect("list names the simulated machine", machines[0]["queue"] == "QMV-240", out)
    expect("list marks it chosen", machines[0]["chosen"] is True, out)

    report = os.path.join(folder, "report.txt")
    code, out, err = run(DEMO, "report", "-o", wine_path(report))
    expect("report -o exits 0", code == 0, err)
    expect("report -o writes the report", os.path.getsize(report) > 100)

    block = os.path.join(folder, "block.par")
    code, out, err = run(DEMO, "backup", "-o", wine_path(block))
    expect("backup -o exits 0", code == 0, err)
    data = bytearray(open(block, "rb").read())
    # Y0 (offset 44) changed, the block's CRC-32 sealed again.
    y0 = struct.unpack_from("<i", data, 44)[0]
    struct.pack_into("<i", data, 44, y0 + 1)
    struct.pack_into("<I", data, len(data) - 4, zlib.crc32(bytes(data[:-4])))
    changed = os.path.join(folder, "changed.par")
    open(changed, "wb").write(data)

    code, out, err = run(DEMO, "restore", wine_path(changed))
    expect("restore without --yes exits 5", code == 5, err)
    expect("restore without --yes tells what differs", "bytes differ" in out, out)
    code, out, err = run(DEMO, "restore", wine_path(changed), "--yes")
    expect("restore --yes exits 0", code == 0, out + err)
    expect("restore --yes completes", "Completed" in out, out)

    code, out, err = run(DEMO, "backup", "-o", wine_path(folder))
    expect("a folder as output exits 4", code == 4, err)

code, out, err = run(REAL, "list")
expect("the real program without a machine exits 3", code == 3, err)
expect("with one line", err.strip().count("\n") == 0 and err.strip(), err)

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
