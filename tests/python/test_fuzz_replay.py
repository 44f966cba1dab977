"""The fuzzer's corpus (tests/fuzz/corpus) replayed through the Python
adapter: each input is decoded as tests/fuzz/fuzz_host.cpp decodes it (the
command, the argument count, every argument's class, shape and values, and
an allocation to fail) into NumPy arrays and Python values, and the call
must then either give well-formed results or raise KorvaneError or
KorvaneMemoryError with a message; in both cases it must leave its inputs as
they were and free every block it made. Two things NumPy lacks are mapped:
a sparse array becomes the dense array of its values, a complex integer
array its real parts (the harness writes no imaginary parts into those);
the harness's output count has no Python form and is read but not used.
The replay runs in a temporary folder, as the harness does: KVFftw's file
names are names there."""
import contextlib
import importlib.util
import io
import math
import os
import re
import struct

import numpy as np
import pytest

import korvane as kv
from conftest import ROOT, command_names

arguments = importlib.util.spec_from_file_location("make_corpus", ROOT / "tests/fuzz/make_corpus.py")
corpus = importlib.util.module_from_spec(arguments)
arguments.loader.exec_module(corpus)

DTYPES = [np.float64, np.float32, np.bool_, "U1", np.int8, np.uint8, np.int16, np.uint16,
          np.int32, np.uint32, np.int64, np.uint64]
# The saturating conversions of fuzz_host.cpp's put_int (NaN to 0).
LIMITS = {np.int8: (-128, 127), np.uint8: (0, 255), np.int16: (-32768, 32767),
          np.uint16: (0, 65535), "U1": (0, 65535), np.int32: (-2147483648.0, 2147483647.0),
          np.uint32: (0, 4294967295.0), np.int64: (-9223372036854775808.0, 9223372036854774784.0),
          np.uint64: (0, 18446744073709549568.0)}


class Reader:
    def __init__(self, data):
        self.d = data
        self.pos = 0

    def byte(self):
        if self.pos < len(self.d):
            self.pos += 1
            return self.d[self.pos - 1]
        return 0

    def number(self):
        sel = self.byte()
        if sel < 0x80:
            return corpus.INTERESTING[sel % len(corpus.INTERESTING)]
        return struct.unpack("<d", bytes(self.byte() for _ in range(8)))[0]

    def pattern(self):
        return [self.number() for _ in range(1 + self.byte() % 16)]


def put_int(dtype, v):
    lo, hi = LIMITS[dtype]
    c = 0.0 if math.isnan(v) else lo if v < lo else hi if v > hi else math.trunc(v)
    return chr(int(c)) if dtype == "U1" else int(c)


def fill(a, re, im, cx):
    """Element k of the Fortran-ordered array a from the repeated patterns."""
    flat = a.reshape(-1, order="F")  # a view: a is in Fortran order
    dtype = a.dtype
    for k in range(flat.size):
        r, i = re[k % len(re)], im[k % len(im)]
        if dtype.kind == "c":
            flat[k] = complex(r, i if cx else 0.0)
        elif dtype.kind == "f":
            flat[k] = r
        elif dtype.kind == "b":
            flat[k] = r != 0.0
        else:
            flat[k] = put_int("U1" if dtype.kind == "U" else dtype.type, r)


def make_field(r):
    dim, flags = r.byte(), r.byte()
    n = 5 + dim % 20
    narrowed = flags & 1
    a = np.zeros((n, n + 1), dtype=np.float64 if narrowed else np.complex128, order="F")
    head = [r.number() for _ in range(5)]
    if not flags & 2:
        head[2] = float(n)
    flat = a.reshape(-1, order="F")
    if not flags & 4:
        flat[: n * n] = 1.0
    else:
        re, im = r.pattern(), r.pattern()
        for k in range(n * n):
            flat[k] = re[k % len(re)] if narrowed else complex(re[k % len(re)], im[k % len(im)])
    for s in range(5):
        flat[n * n + s] = head[s]
    if flags & 8 and n > 5:
        flat[n * n + 5] = r.number()
    return a


def make_array(r):
    cls = r.byte()
    m, n = r.byte() % 26, r.byte() % 27
    dtype = DTYPES[(cls & 0x7F) % 12]
    cx = bool(cls & 0x80) and dtype not in (np.bool_, "U1")
    if cx and dtype in (np.float64, np.float32):
        dtype = np.complex128 if dtype is np.float64 else np.complex64
    a = np.zeros((m, n), dtype=dtype, order="F")
    re, im = r.pattern(), r.pattern()
    if dtype == np.float32:
        with np.errstate(over="ignore"):
            fill(a, np.float32(re).tolist(), im, cx)
    else:
        with np.errstate(over="ignore"):
            fill(a, re, im, cx)
    return a


def make_sparse(r):
    flags = r.byte()
    m, n = r.byte() % 26, r.byte() % 27
    a = np.zeros((m, n), dtype=np.complex128 if flags & 1 else np.float64, order="F")
    i, j = r.byte(), r.byte()
    v = r.number()
    if flags & 2 and m > 0 and n > 0:
        a[i % m, j % n] = v
    return a


def make_argument(r):
    kind = r.byte() % 6
    if kind == 0:
        return r.number()
    if kind == 1:
        return make_field(r)
    if kind == 2:
        return make_array(r)
    if kind == 3:
        return make_sparse(r)
    if kind == 4:
        m = r.byte() % 4
        return np.empty((m, r.byte() % 4), dtype=object)
    return "".join(chr(ord("a") + r.byte() % 26) for _ in range(r.byte() % 16))


def snapshot(a):
    if isinstance(a, np.ndarray):
        return (a.dtype.str, a.shape, a.tobytes(order="F") if a.dtype != object else None)
    return struct.pack("<d", a) if isinstance(a, float) else a


RESULTS = {row[0]: (len(row[1]), row[4].split()) for row in kv._korvane._commands()}
# Commands whose array results are columns (a value per separation).
COLUMN_RESULTS = {"KVStructureFunction"}
# Commands whose array result has the field's N rows and columns of its own.
SIDE_RESULTS = {"KVMedium"}


def check_result(name, out):
    kinds = RESULTS[name][1]
    outs = out if len(kinds) > 1 else (out,)
    if len(kinds) > 1 and (not isinstance(out, tuple) or len(out) != len(kinds)):
        return "missing results"
    for o, kind in zip(outs, kinds):
        if kind == "text":
            # KVFftw: nothing, its level (text) or its time limit (a float).
            if o is not None and not isinstance(o, (str, float)):
                return "result is neither None, a str nor a float"
        elif kind == "float":
            if not isinstance(o, float):
                return "result is not a float"
        elif not isinstance(o, np.ndarray) or not o.flags.f_contiguous or o.ndim != 2:
            return "result is not a Fortran-ordered array"
        elif kind == "field":
            m = o.shape[0]
            if o.dtype != np.complex128 or m < 5 or o.shape[1] != m + 1:
                return "result field has the wrong class or shape"
            if o[2, m].real != m:
                return "result header N is wrong"
        elif o.dtype != np.float64:
            return "result is not a real array"
        elif name in COLUMN_RESULTS:
            if o.shape[1] != 1:
                return "result is not a column"
        elif name in SIDE_RESULTS:
            if o.shape[0] != outs[0].shape[0] or o.shape[1] < 2:
                return "result has the wrong shape"
        elif o.shape[0] != o.shape[1]:
            return "result is not a real square array"
    return None


def replay(data):
    """None, or what went wrong with this input."""
    r = Reader(data)
    name, inputs = corpus.COMMANDS[r.byte() % len(corpus.COMMANDS)]
    inputs = len(inputs)
    flags = r.byte()
    if flags & 1:
        r.byte()  # the output count
    nargs = r.byte() % 9 if flags & 2 else inputs
    fail_at = (flags >> 2) & 7
    args = [make_argument(r) for _ in range(nargs)]
    before = [snapshot(a) for a in args]
    # Results are freed with their last reference (no cycles): no gc needed.
    blocks = kv._korvane._allocation_stats()["live_blocks"]
    printed = io.StringIO()
    out = err = None
    kv._korvane._fail_allocation_at(fail_at)
    try:
        with contextlib.redirect_stdout(printed):
            out = getattr(kv, name)(*args)
    except (kv.KorvaneError, kv.KorvaneMemoryError) as e:
        err = e
    except Exception as e:  # noqa: BLE001 - any other exception is a finding
        return f"{name}: raised {type(e).__name__}: {e}"
    finally:
        kv._korvane._fail_allocation_at(0)
    if err is not None:
        if not str(err).startswith(name + ": ") or not err.identifier.startswith("Korvane:"):
            return f"{name}: an error without its message or identifier: {err!r}"
        if printed.getvalue():
            return f"{name}: printed before an error"
    elif nargs == 0:
        if out is not None or name not in printed.getvalue():
            return f"{name}: no banner"
    elif nargs != inputs and nargs != len(corpus.LONGER.get(name, "")):
        return f"{name}: a wrong argument count succeeded"
    else:
        bad = check_result(name, out)
        if bad:
            return f"{name}: {bad}"
    if [snapshot(a) for a in args] != before:
        return f"{name}: an input was changed"
    del out
    if kv._korvane._allocation_stats()["live_blocks"] != blocks:
        return f"{name}: memory blocks leaked"
    return None


@pytest.fixture
def own_folder(tmp_path, monkeypatch):
    """A temporary current folder, and KVFftw's settings restored after."""
    monkeypatch.chdir(tmp_path)
    for v in ("KORVANE_FFTW_PLANNER", "KORVANE_FFTW_TIMELIMIT"):
        monkeypatch.setenv(v, os.environ.get(v, ""))
        monkeypatch.delenv(v)
    yield tmp_path


def test_every_command_is_in_the_fuzz_tables():
    # A command added to src/commands must be added to kCommands in
    # fuzz_host.cpp and to COMMANDS in make_corpus.py, in the same order.
    text = (ROOT / "tests/fuzz/fuzz_host.cpp").read_text()
    table = text[text.index("const Cmd kCommands[] = {"):]
    table = table[:table.index("};")]
    harness = re.findall(r'\{"(KV\w+)"', table)
    assert harness == [c[0] for c in corpus.COMMANDS]
    assert sorted(harness) == command_names(), set(command_names()) ^ set(harness)


def test_corpus_replayed_through_python(own_folder):
    files = sorted((ROOT / "tests/fuzz/corpus").iterdir())
    assert len(files) > 100
    assert [c[0] for c in corpus.COMMANDS] == [c[0] for c in corpus.COMMANDS if hasattr(kv, c[0])]
    # As the fuzzer runs: grids of a few hundred at most, larger ones take
    # the "Out of memory." path.
    kv._korvane._limit_allocation(1 << 20)
    try:
        findings = [(f.name, w) for f in files if (w := replay(f.read_bytes()))]
    finally:
        kv._korvane._limit_allocation(0)
    assert not findings, findings[:10]


@pytest.mark.parametrize("name", [c[0] for c in corpus.COMMANDS])
def test_decoder_reaches_every_command(name, own_folder):
    # The seeds of make_corpus.py call every command with valid arguments;
    # decoded here they must succeed, so the decoder matches the harness.
    index = [c[0] for c in corpus.COMMANDS].index(name)
    kinds = corpus.COMMANDS[index][1]
    for fill in (1.0, 8.0):
        data = bytes([index, 0]) + b"".join(corpus.valid(k, fill) for k in kinds)
        r = Reader(data)
        r.byte(), r.byte()
        args = [make_argument(r) for _ in kinds]
        try:
            out = getattr(kv, name)(*args)
        except kv.KorvaneError as e:
            # A value out of range, not an argument of the wrong kind.
            assert e.identifier == "Korvane:badValue", e
            continue
        assert check_result(name, out) is None
