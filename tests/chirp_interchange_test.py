#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""chirp_interchange_test.py HALVEX_CLI: channel lists between halvex-cli and CHIRP's own
CSV code. Every memory CHIRP reads from an export means the channel Halvex stored; every
field of a file CHIRP writes comes in as written or is named in the import report."""
import builtins, csv, os, shutil, subprocess, sys, tempfile

try:
    from chirp import chirp_common
    from chirp.drivers import generic_csv
except ImportError as missing:
    print(f"SKIP: CHIRP is not installed ({missing}); scripts/ensure-deps installs it")
    sys.exit(77)


# This CHIRP opens its files with mode "rU", which Python 3.11 refuses: its module gets an
# open() that drops the U and changes nothing else.
def _open_without_u(path, mode="r", *args, **kwargs):
    return builtins.open(path, mode.replace("U", ""), *args, **kwargs)


generic_csv.open = _open_without_u

CLI = sys.argv[1]
WORK = tempfile.mkdtemp(prefix="chirp-interchange-")
SETTINGS = os.path.join(WORK, "setting.ini")
with open(SETTINGS, "w") as settings:
    settings.write("[setup]\nchannelcount=128\n[ModelInfo]\ndata0=6013401700000000\n")
failures = []


def run(*arguments):
    done = subprocess.run([CLI, *arguments, "--settings", SETTINGS], capture_output=True,
                          text=True)
    if done.returncode != 0:
        sys.exit(f"halvex-cli {' '.join(arguments)} failed: {done.stderr}")
    return done


def rows_of(text):
    return list(csv.DictReader(text.splitlines()))


def dcs(code, letter):
    return "D%03d%s" % (code, "I" if letter == "R" else "N")


def chirp_tones(mem):
    """(encode, decode) as the channel table shows them, by CHIRP's own meaning."""
    ctcss = lambda value: "%.1f" % value
    if mem.tmode == "Tone":
        return ctcss(mem.rtone), "Off"
    if mem.tmode == "TSQL":
        return ctcss(mem.ctone), ctcss(mem.ctone)
    if mem.tmode == "DTCS":
        return dcs(mem.dtcs, mem.dtcs_polarity[0]), dcs(mem.dtcs, mem.dtcs_polarity[1])
    if mem.tmode == "Cross":
        send, receive = mem.cross_mode.split("->")
        encode = {"Tone": ctcss(mem.rtone), "DTCS": dcs(mem.dtcs, mem.dtcs_polarity[0])}
        decode = {"Tone": ctcss(mem.ctone), "DTCS": dcs(mem.rx_dtcs, mem.dtcs_polarity[1])}
        return encode.get(send, "Off"), decode.get(receive, "Off")
    return "Off", "Off"  # "", and the reversed modes this radio cannot hold


def chirp_transmit(mem):
    shift = {"": 0, "+": mem.offset, "-": -mem.offset}
    if mem.duplex == "off":
        return None
    if mem.duplex == "split":
        return mem.offset
    return mem.freq + shift[mem.duplex]


def hertz(text):
    return round(float(text) * 1000000) if text else None


def compare(where, field, halvex, chirp, explained=False):
    if halvex != chirp and not explained:
        failures.append(f"{where}: {field}: Halvex {halvex!r}, CHIRP {chirp!r}")


# Halvex to CHIRP: a varied table, every tone pair the radio holds, with and without transmit.
TONES = ["", "100.0", "67.0", "D025N", "D025I", "D754N"]
lines = ["Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
         "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power"]
number = 0
for encode in TONES:
    for decode in TONES:
        for duplex, offset in (("", "0"), ("-", "0.6"), ("off", "0")):
            number += 1
            send = "Tone" if "." in encode else "DTCS" if encode else ""
            receive = "Tone" if "." in decode else "DTCS" if decode else ""
            polarity = ("R" if encode.endswith("I") else "N") + ("R" if decode.endswith("I") else "N")
            lines.append(",".join([
                str(number), "C%d" % number, "%.5f" % (146.0 + number * 0.0125), duplex, offset,
                "Cross" if send or receive else "", encode if send == "Tone" else "88.5",
                decode if receive == "Tone" else "88.5", encode[1:4] if send == "DTCS" else "023",
                polarity, decode[1:4] if receive == "DTCS" else "023",
                f"{send}->{receive}" if send or receive else "Tone->Tone",
                ["FM", "NFM"][number % 2], ["5.00", "12.50", "6.25"][number % 3],
                ["", "S"][number % 2], ["5.0W", "1.0W"][number % 2]]))
table = os.path.join(WORK, "table.csv")
with open(table, "w") as source:
    source.write("\n".join(lines) + "\n")
run("import", table, "-o", os.path.join(WORK, "table.pgm"))
exported = os.path.join(WORK, "exported.csv")
notes = run("export", os.path.join(WORK, "table.pgm"), "-o", exported).stderr.splitlines()
stored = rows_of(run("info", "--csv", os.path.join(WORK, "table.pgm")).stdout)
steps = {row["Location"]: row["TStep"] for row in rows_of(open(exported).read())}
radio = generic_csv.CSVRadio(exported)
# This CHIRP has no Power column, so power is checked by the round trips of the unit tests.
for channel in stored:
    mem = radio.get_memory(int(channel["Channel"]))
    where = "export, channel " + channel["Channel"]
    compare(where, "empty", False, mem.empty)
    compare(where, "frequency", hertz(channel["Receive"]), mem.freq)
    compare(where, "transmit", hertz(channel["Transmit"]), chirp_transmit(mem))
    # A pair only Cross carries is noted, since this CHIRP reads every Cross as Tone->Tone.
    noted = any(note.startswith(f"channel {channel['Channel']}: tones ") for note in notes)
    encode, decode = chirp_tones(mem)
    compare(where, "decode", channel["Decode"], decode, noted)
    if channel["Transmit"]:
        compare(where, "encode", channel["Encode"], encode, noted)
    compare(where, "mode", {"Narrow": "NFM"}.get(channel["Bandwidth"], "FM"), mem.mode)
    compare(where, "skip", "" if channel["ScanAdd"] == "On" else "S", mem.skip)
    compare(where, "name", channel["Name"], mem.name)
    compare(where, "step", float(steps[channel["Channel"]]), mem.tuning_step)
if len(stored) != number:
    failures.append(f"export: {len(stored)} channels stored of {number}")

# CHIRP to Halvex: every tone mode, cross mode, duplex, mode and skip CHIRP writes.
variations = [{"tmode": mode} for mode in chirp_common.TONE_MODES]
variations += [{"tmode": "Cross", "cross_mode": cross, "dtcs": 25, "rx_dtcs": 754}
               for cross in chirp_common.CROSS_MODES]
variations += [{"tmode": "DTCS", "dtcs_polarity": polarity} for polarity in ("NR", "RN", "RR")]
variations += [{"duplex": duplex, "offset": offset} for duplex, offset in
               (("+", 600000), ("-", 5000000), ("split", 140000000), ("off", 0), ("-", 200000000))]
variations += [{"mode": mode} for mode in ("NFM", "AM", "WFM", "USB")]
variations += [{"skip": skip} for skip in chirp_common.SKIP_VALUES]
variations += [{"name": "Simplex"}, {"name": "LONGER NAME"}, {"comment": "a note"},
               {"tuning_step": 12.5}, {"tuning_step": 15.0}, {"rtone": 69.3, "tmode": "Tone"},
               {"freq": 121500000}, {"freq": 445000000, "name": "UHF"}]
radio = generic_csv.CSVRadio(None)
radio.memories[0].empty = True
memories = []
for index, change in enumerate(variations, start=1):
    mem = chirp_common.Memory()
    mem.number, mem.freq, mem.name = index, 146000000 + index * 25000, "M%d" % index
    mem.rtone, mem.ctone, mem.dtcs = 100.0, 103.5, 411
    for attribute, value in change.items():
        setattr(mem, attribute, value)
    radio.set_memory(mem)
    memories.append(mem)
written = os.path.join(WORK, "chirp.csv")
radio.save(written)
imported = os.path.join(WORK, "chirp.pgm")
report = run("import", written, "-o", imported).stderr.splitlines()
stored = {row["Channel"]: row for row in rows_of(run("info", "--csv", imported).stdout)}
steps = {row["Location"]: row["TStep"] for row in rows_of(run("export", imported).stdout)}
if not any(line.startswith("no Power column: ") for line in report):
    failures.append("import: the missing Power column is not reported")
if not any(line.startswith("Comment: 1 comment not stored") for line in report):
    failures.append("import: the dropped comment is not reported")
for line_number, mem in enumerate(memories, start=2):
    where = f"CHIRP memory {mem.number} (row {line_number})"
    lines = [line for line in report if line.startswith(f"row {line_number},")]
    said = lambda *columns: any(f", {column}:" in line for line in lines for column in columns)
    channel = stored.get(str(mem.number))
    if channel is None:
        compare(where, "skipped", True, said("Frequency", "Mode", "Location"))
        continue
    tones_said = said("Tone", "rToneFreq", "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode",
                      "CrossMode")
    compare(where, "frequency", hertz(channel["Receive"]), mem.freq, said("Frequency"))
    compare(where, "transmit", hertz(channel["Transmit"]), chirp_transmit(mem),
            said("Duplex", "Offset"))
    encode, decode = chirp_tones(mem)
    compare(where, "decode", channel["Decode"], decode, tones_said)
    if channel["Transmit"]:
        compare(where, "encode", channel["Encode"], encode, tones_said)
    compare(where, "mode", {"Narrow": "NFM"}.get(channel["Bandwidth"], "FM"), mem.mode,
            said("Mode"))
    compare(where, "skip", "" if channel["ScanAdd"] == "On" else "S", mem.skip, said("Skip"))
    compare(where, "name", channel["Name"], mem.name, said("Name"))
    compare(where, "step", float(steps[str(mem.number)]), mem.tuning_step, said("TStep"))

shutil.rmtree(WORK)
for failure in failures:
    print(failure)
print(f"{len(failures)} silent differences")
sys.exit(1 if failures else 0)
