#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus (corpus/) and dictionary (kv.dict): every
command called as tests/cpp/test_robustness.cpp calls it, with valid
arguments and with each odd argument of its zoo at each position, encoded in
the input layout fuzz_host.cpp reads. The checked-in corpus is these seeds
minimized by coverage (kv_fuzz -merge=1 corpus <seeds>) plus the reproducer
of every finding (repro-*); run this again only when the layout changes."""
import hashlib
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# In the order of kCommands in fuzz_host.cpp. S scalar, F field, A profile,
# T text, W text or scalar, J a complex 2 x 2 matrix. Every command of
# src/commands must be here (tests/python/test_fuzz_replay.py checks it).
COMMANDS = [
    ("KVBegin", "SSS"), ("KVForward", "SSSF"), ("KVInterpol", "SSSSSSF"), ("KVConvert", "F"),
    ("KVCircAperture", "SSSF"), ("KVCircScreen", "SSSF"), ("KVRectAperture", "SSSSSF"),
    ("KVRectScreen", "SSSSSF"), ("KVGaussAperture", "SSSSF"), ("KVGaussScreen", "SSSSF"),
    ("KVSuperGaussAperture", "SSSSSF"), ("KVSuperGaussScreen", "SSSSSF"), ("KVLens", "SSSF"),
    ("KVTilt", "SSF"), ("KVAxicon", "SSSSF"), ("KVZernike", "SSSSF"), ("KVRandomPhase", "SSF"),
    ("KVSubIntensity", "AF"), ("KVSubPhase", "AF"), ("KVMultIntensity", "AF"),
    ("KVMultPhase", "AF"), ("KVRandomIntensity", "SF"), ("KVGaussHermite", "SSSSF"),
    ("KVIntensity", "SF"), ("KVPhase", "F"), ("KVPhaseUnwrap", "SA"), ("KVStrehl", "F"),
    ("KVNormal", "F"), ("KVBeamMix", "FF"), ("KVPolarizer", "SFF"), ("KVGain", "SSSF"),
    ("KVIntAttenuator", "SF"), ("KVFresnelFFT", "SF"), ("KVAngularSpectrum", "SF"),
    ("KVPad", "SF"), ("KVTurbScreen", "SSSSF"), ("KVStructureFunction", "AF"),
    ("KVFftw", "T"), ("KVMedium", "SSAF"), ("KVMode", "ASF"),
    ("KVFraunhofer", "SSSF"), ("KVFocus", "SSF"),
    ("KVJones", "JFF"), ("KVWavePlate", "SSFF"), ("KVLinearPolarizer", "SFF"),
    ("KVRotator", "SFF"), ("KVStokes", "FF"), ("KVBeamWidth", "F"), ("KVBeamQuality", "F"),
]
# Commands whose last arguments may be left out: their longer call form.
LONGER = {"KVStructureFunction": "AFA", "KVFftw": "TW", "KVMedium": "SSAFS",
          "KVFraunhofer": "SSSFSS", "KVBeamWidth": "AF"}
# Valid calls of commands whose arguments are words: (arguments, output count).
# The file names are names in the harness's own temporary folder.
WORDS = {"KVFftw": [(["planner"], 1), (["planner", "estimate"], 0), (["planner", "measure"], 1),
                    (["timelimit"], 1), (["timelimit", 8.0], 1), (["timelimit", 1e-6], 0),
                    (["save", "wisdom"], 0), (["load", "wisdom"], 0), (["load", "nofile"], 0),
                    (["planner", "estimate"], 1)]}

# kInteresting in fuzz_host.cpp, in the same order.
INF = float("inf")
NAN = float("nan")
INTERESTING = [
    0.0, -0.0, 1.0, -1.0, 0.5, 2.0, 5.0, 8.0, 16.0, NAN, INF, -INF, 2147483647.0,
    2147483648.0, -2147483648.0, 4294967296.0, 9007199254740992.0, 1e308, -1e308,
    4.9406564584124654e-324, 2.2250738585072014e-308, 1e-3, 1e-6, 0.1, 3.141592653589793,
    1e-300, 64.0, 127.0, 128.0, 4096.0, 65536.0, 3.0, 4.0, 7.0, 1e6, 12.0, -8.0, 0.01,
    1.5, 6.0,
]
CLASSES = ["double", "single", "logical", "char", "int8", "uint8", "int16", "uint16",
           "int32", "uint32", "int64", "uint64"]


def num(v):
    for i, w in enumerate(INTERESTING):
        if struct.pack("<d", v) == struct.pack("<d", w):
            return bytes([i])
    return b"\xff" + struct.pack("<d", v)


def pattern(values):
    return bytes([len(values) - 1]) + b"".join(num(v) for v in values)


def scalar(v):
    return b"\x00" + num(v)


def field(n, head=None, re=None, im=None, explicit_n=False, narrowed=False):
    head = head or [1e-3, 1e-6, float(n), 0.0, 0.0]
    flags = (1 if narrowed else 0) | (2 if explicit_n else 0) | (4 if re is not None else 0)
    out = bytes([1, n - 5, flags]) + b"".join(num(h) for h in head)
    if re is not None:
        out += pattern(re) + pattern(im or [0.0])
    return out


def array(cls, m, n, re=(0.0,), im=(0.0,), cx=False):
    c = CLASSES.index(cls) | (0x80 if cx else 0)
    return bytes([2, c, m, n]) + pattern(list(re)) + pattern(list(im))


def sparse(m, n, cx=False, value=None):
    flags = (1 if cx else 0) | (2 if value is not None else 0)
    return bytes([3, flags, m, n, 0, 0]) + num(value or 0.0)


def cell(m, n):
    return bytes([4, m, n])


def string(s):
    assert len(s) < 16 and s.isalpha() and s.islower()
    return bytes([5, len(s)]) + bytes(ord(ch) - ord("a") for ch in s)


ODD = [
    array("double", 0, 0), array("double", 0, 1, cx=True), cell(2, 3), string("abc"),
    array("logical", 8, 8), array("uint8", 8, 8), array("single", 8, 9, cx=True),
    array("int8", 8, 9, cx=True), sparse(8, 9, cx=True), sparse(8, 8, value=2.0),
    field(5, head=[0.0] * 5, re=[0.0], explicit_n=True),  # header N = 0
    array("double", 4, 5, cx=True),  # too small to hold a header
    array("double", 8, 9), array("double", 1, 3, re=(1e300, 2.0, 3.0)),
    scalar(NAN), scalar(-INF), scalar(2147483647.0),
    field(8, head=[1e-3, 1e-6, 2147483647.0, 0.0, 0.0], explicit_n=True),
    field(9, head=[1e-3, 1e-6, 9.0, NAN, NAN], re=[INF, 1.0], im=[0.0, NAN]),
]


def valid(kind, fill):
    if kind == "F":
        return field(8)
    if kind == "A":
        return array("double", 8, 8, re=(0.5,))
    if kind == "T":
        return string("planner")
    if kind == "J":
        return array("double", 2, 2, re=(1.0, 0.5, -0.5, 2.0), im=(0.25, 0.0), cx=True)
    return scalar(fill)


def word(v):
    return string(v) if isinstance(v, str) else scalar(v)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "corpus")
    os.makedirs(out_dir, exist_ok=True)
    seeds = []
    for index, (name, short) in enumerate(COMMANDS):
        head = bytes([index, 0])
        for kinds in [short] + ([LONGER[name]] if name in LONGER else []):
            # A longer form states its input count (flag bit 1).
            lead = head if kinds == short else bytes([index, 2, len(kinds)])
            for fill in (1.0, 8.0):
                args = [valid(k, fill) for k in kinds]
                seeds.append(lead + b"".join(args))
                for pos in range(len(kinds)):
                    for odd in ODD:
                        a = list(args)
                        a[pos] = odd
                        seeds.append(lead + b"".join(a))
        # Valid calls of a command of words, with an explicit output count.
        for args, nlhs in WORDS.get(name, []):
            seeds.append(bytes([index, 3, nlhs, len(args)]) + b"".join(word(a) for a in args))
        kinds = short
        # The banner, a wrong count, and the first allocation failing.
        seeds.append(bytes([index, 2, 0]))
        seeds.append(bytes([index, 1, 3]) + b"".join(valid(k, 1.0) for k in kinds))
        seeds.append(bytes([index, 4]) + b"".join(valid(k, 8.0) for k in kinds))
    for s in seeds:
        name = hashlib.sha1(s).hexdigest()
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(s)
    with open(os.path.join(HERE, "kv.dict"), "w") as f:
        f.write("# Doubles as raw values (selector 0xff, then the 8 bytes).\n")
        for label, v in [("zero", 0.0), ("minus_zero", -0.0), ("nan", NAN), ("inf", INF),
                         ("minus_inf", -INF), ("int32_max", 2147483647.0),
                         ("two_31", 2147483648.0), ("minus_two_31", -2147483648.0),
                         ("two_32", 4294967296.0), ("denormal_min", 5e-324),
                         ("denormal_large", 2.225073858507201e-308),
                         ("normal_min", 2.2250738585072014e-308), ("big", 1e308),
                         ("minus_big", -1e308), ("two_53", 9007199254740992.0),
                         ("eight", 8.0), ("five", 5.0), ("half", 0.5)]:
            raw = b"\xff" + struct.pack("<d", v)
            f.write('%s="%s"\n' % (label, "".join("\\x%02x" % b for b in raw)))
    print("%d seeds" % len(seeds))


if __name__ == "__main__":
    main()
