"""xmtool info on the shared corpus: the header fields of every song as JSON, a load or a one-line
refusal for every test module, and the exit statuses of usage errors."""

import json
import pathlib
import struct
import subprocess
import sys

FIELDS = {"channels", "patterns", "patternSlots", "instruments", "songLength", "restartPosition",
          "linearFrequencies", "tempo", "bpm", "orders", "samples"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*arguments):
    return subprocess.run([xmtool, *arguments], capture_output=True, text=True, timeout=60)


def header_fields(path):
    data = path.read_bytes()
    header_size, length, restart, channels, patterns, instruments, flags, tempo, bpm = struct.unpack_from(
        "<IHHHHHHHH", data, 60)
    length = min(length, 256, max(header_size - 20, 0))
    return {"channels": channels, "patterns": patterns, "instruments": min(instruments, 128),
            "songLength": length, "restartPosition": restart, "linearFrequencies": bool(flags & 1),
            "tempo": tempo, "bpm": bpm, "orders": list(data[80:80 + length])}


xmtool = sys.argv[1]
corpus = pathlib.Path(sys.argv[2])
songs = sorted((corpus / "songs").glob("*.xm"))
tests = sorted((corpus / "tests").glob("*.xm"))
if not songs:
    print(f"no corpus at {corpus}: skipped")
    sys.exit(0)

for song in songs:
    result = run("info", "--json", str(song))
    check(result.returncode == 0, f"{song.name}: exit {result.returncode}: {result.stderr}")
    if result.returncode != 0:
        continue
    info = json.loads(result.stdout)
    check(set(info) == FIELDS, f"{song.name}: fields {sorted(info)}")
    for name, value in header_fields(song).items():
        check(info[name] == value, f"{song.name}: {name} is {info[name]}, the file says {value}")
    check(info["patternSlots"] >= info["patterns"], f"{song.name}: fewer slots than patterns")
    check(all(s["bits"] in (8, 16) and s["loopStart"] + s["loopLength"] <= max(s["length"], 0) or s["length"] == 0
              for s in info["samples"]), f"{song.name}: a sample's loop lies outside it")

for module in tests:
    result = run("info", "--json", str(module))
    if result.returncode == 0:
        check(set(json.loads(result.stdout)) == FIELDS, f"{module.name}: fields")
    else:
        lines = result.stderr.splitlines()
        check(result.returncode == 1, f"{module.name}: exit {result.returncode}")
        check(len(lines) == 1 and lines[0].startswith(f"xmtool: {module}: ") and len(lines[0]) > len(str(module)) + 10,
              f"{module.name}: refusal {result.stderr!r}")
        check(result.stdout == "", f"{module.name}: output on refusal")

text = run("info", str(songs[0]))
check(text.returncode == 0 and "channels" in text.stdout and "orders" in text.stdout, "plain info output")
missing = run("info", str(corpus / "no-such-file.xm"))
check(missing.returncode == 1 and missing.stderr.count("\n") == 1 and "no-such-file.xm: " in missing.stderr,
      f"missing file: {missing.returncode} {missing.stderr!r}")
for arguments, status in [((), 2), (("info",), 2), (("frob",), 2), (("info", "a", "b"), 2),
                          (("info", "--bogus", "a"), 2), (("--help",), 0), (("info", "--help"), 0)]:
    result = run(*arguments)
    check(result.returncode == status, f"xmtool {' '.join(arguments)}: exit {result.returncode}, expected {status}")
check("info" in run("--help").stdout, "--help lists the verbs")

for failure in failures:
    print("FAIL:", failure)
print(f"{len(songs)} songs, {len(tests)} test modules, {len(failures)} failures")
sys.exit(1 if failures else 0)
