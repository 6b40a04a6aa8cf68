#!/usr/bin/env python3
"""Opens the service bundles bundle_sample saves with Python's zipfile and
checks that they test clean and hold exactly the expected members; with
--archive PATH, the one bundle the console saved under Wine."""
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

MEMBERS = ["report.txt", "parameters.bin", "machine.txt", "activity.log"]


def read_bundle(path):
    with zipfile.ZipFile(path) as archive:
        bad = archive.testzip()
        assert bad is None, f"{path.name}: {bad} does not test clean"
        for info in archive.infolist():
            assert info.compress_type == zipfile.ZIP_DEFLATED, info.filename
        return {name: archive.read(name) for name in archive.namelist()}, archive.namelist()


def check_saved(path):
    members, names = read_bundle(path)
    assert names == MEMBERS, names
    assert "Queue name: QMV-240\r\n" in members["machine.txt"].decode("ascii")
    print(f"{path} tests clean, {path.stat().st_size} bytes")


def main():
    if sys.argv[1] == "--archive":
        check_saved(Path(sys.argv[2]))
        return
    sample = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        folder = Path(folder)
        subprocess.run([sample, str(folder)], check=True)
        report = (folder / "report.txt").read_bytes()
        block = (folder / "parameters.bin").read_bytes()

        members, names = read_bundle(folder / "bundle.zip")
        assert names == MEMBERS, names
        assert members["report.txt"] == report
        assert members["parameters.bin"] == block
        machine = members["machine.txt"].decode("ascii")
        for line in ["Queue name: QMV-240\r\n", "Status word: 0x", "Sensors: 0x",
                     "Panel keys: 0x", "Panel type: J (rotary axis dial)\r\n",
                     "Spindle temperature: ", "Windows: Windows NT family 10.0 build 19045"]:
            assert line in machine, line
        assert "left out" not in machine, machine
        assert "Backlash table: no run completed in this session\r\n" in machine, machine
        log = members["activity.log"].decode("ascii")
        assert "Check Serial Port ended: Completed\r\n" in log, log
        assert "Save Service Bundle started\r\n" in log, log

        members, names = read_bundle(folder / "no-report.zip")
        assert names == MEMBERS[1:], names
        assert members["parameters.bin"] == block
        assert ("report.txt left out: the machine did not send its service report"
                in members["machine.txt"].decode("ascii"))
        # The first bundle's end is in the second's log, with the file named.
        assert "Save Service Bundle ended: Completed C:\\Support\\bundle.zip" in \
            members["activity.log"].decode("ascii")

        members, names = read_bundle(folder / "backlash.zip")
        assert names == MEMBERS[:3] + ["backlash.csv", "backlash.txt", "activity.log"], names
        csv = members["backlash.csv"].decode("ascii").split("\r\n")
        assert csv[0] == "angle_deg,plus_deg,minus_deg" and csv[2] == "9.000,0.250,-0.125", csv
        assert members["backlash.txt"].decode("ascii").startswith("Angle[deg] : Backlash[deg]")
        assert ("Backlash table: run completed 2026-12-09 07:45:03\r\n"
                in members["machine.txt"].decode("ascii"))
    print("bundles test clean")


if __name__ == "__main__":
    main()
