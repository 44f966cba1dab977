#!/usr/bin/env python3
"""The parity of the Python build with the Octave build: reads the calls
parity_zoo made in Octave, with their arguments and results
(parity_export.m writes them), makes each call through korvane, and compares
what was raised (message and identifier, as text) and returned (every bit
of every value), and that no input was changed. Ends with
"N passed, M failed".

    parity_check.py EXPORTFILE

Octave's values become Python's as a user's would: a double 1 x 1 a float,
a logical 1 x 1 a bool, another numeric 1 x 1 a NumPy scalar of its class,
char a str, a cell an object array, a struct a dict, a function handle a
function, anything else an array of its class and shape in Fortran order.
Where the Python build differs from Octave by design, the check expects
the Python behaviour:
  - a logical or non-double real scalar at a scalar position is a double
    there (Octave refuses it): the record carries Octave's call with
    double(x) in its place, and Python must give that;
  - no banner is printed before an exception (Octave prints it first);
  - a field comes back complex128 even when its imaginary parts are all
    zero (Octave narrows it to real): its imaginary parts must then be 0;
  - a 1 x 1 result (KVStrehl, KVNormal's power) is a float.
Besides the zoo's 8 x 8 grids, the export holds calls on grids of 200 to
1024 (the BLAS products of KVForward, FFTW's threaded transforms) and the
helpers' calls (KVHeader's struct as its five values).
Not run, and counted apart: calls with a sparse argument (NumPy has no
sparse arrays) and calls with an output count other than the command's
(Python has no nargout)."""
import contextlib
import io
import struct
import sys

import numpy as np

import korvane as kv

DTYPES = {"double": np.float64, "single": np.float32, "logical": np.bool_, "int8": np.int8,
          "uint8": np.uint8, "int16": np.int16, "uint16": np.uint16, "int32": np.int32,
          "uint32": np.uint32, "int64": np.int64, "uint64": np.uint64}
CDTYPES = {"double": np.complex128, "single": np.complex64}


class Sparse:
    """An Octave sparse array: no NumPy form."""


class Reader:
    def __init__(self, data):
        self.d = data
        self.p = 0

    def take(self, n):
        b = self.d[self.p:self.p + n]
        self.p += n
        return b

    def u8(self):
        return self.take(1)[0]

    def u32(self):
        return struct.unpack("<I", self.take(4))[0]

    def u64(self):
        return struct.unpack("<Q", self.take(8))[0]

    def text(self):
        return self.take(self.u32()).decode("latin-1")

    def dims(self):
        return tuple(self.u64() for _ in range(self.u32()))

    def blob(self):
        return self.take(self.u64())

    def value(self):
        """(Octave's value as raw parts, its Python form)."""
        tag = chr(self.u8())
        if tag == "N":
            cls, dims = self.text(), self.dims()
            cx, sparse = self.u8(), self.u8()
            re = self.blob()
            im = self.blob() if cx else None
            raw = ("N", cls, dims, re, im)
            if sparse:
                return raw, Sparse()
            return raw, numeric(cls, dims, re, im)
        if tag == "C":
            dims = self.dims()
            s = self.blob().decode("latin-1")
            if len(dims) == 2 and (dims[0] == 1 or 0 in dims):
                return ("C", s), s
            a = np.array(list(s), dtype="U1").reshape(dims, order="F")
            return ("C",), a
        if tag == "L":
            return ("L",), np.empty(self.dims(), dtype=object)
        if tag == "S":
            d = {}
            for _ in range(self.u32()):
                k = self.text()
                d[k] = self.value()[1]
            return ("S",), d
        if tag == "H":
            self.text()
            return ("H",), np.sin
        return (tag, self.text()), object()  # U unset, O another class


def numeric(cls, dims, re, im):
    dt = DTYPES[cls]
    r = np.frombuffer(re, dtype=np.uint8 if dt is np.bool_ else dt)
    if dt is np.bool_:
        r = r != 0
    if im is None:
        a = r.astype(dt)
    else:
        # Bit for bit, a NaN's payload and the sign of a zero included.
        a = np.empty(r.size, dtype=CDTYPES[cls])
        pairs = a.view(dt).reshape(-1, 2)
        pairs[:, 0] = r
        pairs[:, 1] = np.frombuffer(im, dtype=dt)
    a = a.reshape(dims, order="F")
    if a.size == 1 and a.ndim == 2:
        if cls == "double":
            return complex(a[0, 0]) if im is not None else float(a[0, 0])
        if cls == "logical":
            return bool(a[0, 0])
        return a[0, 0][()]
    return np.asfortranarray(a)


def read_records(path):
    r = Reader(open(path, "rb").read())
    assert r.take(11) == b"KVPARITY 1\n", "not a parity export"
    recs = []
    for _ in range(r.u32()):
        rec = {"name": r.text(), "nout": r.u32(), "printed": r.text(), "msg": r.text(),
               "id": r.text(), "changed": r.u8()}
        rec["args"] = [r.value() for _ in range(r.u32())]
        rec["out"] = [r.value()[0] for _ in range(r.u32())]
        rec["alt"] = None
        if r.u8():
            alt = {"msg": r.text(), "id": r.text()}
            alt["out"] = [r.value()[0] for _ in range(r.u32())]
            rec["alt"] = alt
        recs.append(rec)
    return recs


def snapshot(v):
    if isinstance(v, np.ndarray):
        return (v.dtype.str, v.shape, v.tobytes(order="F") if v.dtype != object else None)
    if isinstance(v, float):
        return struct.pack("<d", v)
    return repr(v)


def compare_value(raw, got):
    """None, or how Python's result differs from Octave's."""
    if raw[0] == "C" and len(raw) == 2:  # a text (KVFftw's planner level)
        return None if got == raw[1] else f"text {got!r}, Octave {raw[1]!r}"
    if raw[0] != "N" or raw[1] != "double":
        return f"Octave returned {raw[:2]}"
    _, _, dims, re, im = raw
    if isinstance(got, float):
        if dims != (1, 1) or im is not None:
            return f"a float where Octave returned {dims}"
        return None if struct.pack("<d", got) == re else "value differs"
    if not isinstance(got, np.ndarray):
        return f"returned {type(got).__name__}"
    if got.shape != dims:
        return f"shape {got.shape}, Octave {dims}"
    if not got.flags.f_contiguous:
        return "not in Fortran order"
    if got.dtype == np.complex128:
        pairs = got.reshape(-1, order="F").view(np.float64).reshape(-1, 2)
        if pairs[:, 0].tobytes() != re:
            return "real parts differ"
        if im is not None:
            return None if pairs[:, 1].tobytes() == im else "imaginary parts differ"
        # Octave narrowed it: every imaginary part was zero.
        return None if np.all(pairs[:, 1] == 0) else "imaginary parts not zero"
    if got.dtype == np.float64:
        if im is not None:
            return "real where Octave is complex"
        return None if got.tobytes(order="F") == re else "values differ"
    return f"dtype {got.dtype}"


def call(name, args):
    f = getattr(kv, name)
    printed = io.StringIO()
    try:
        with contextlib.redirect_stdout(printed):
            out = f(*args)
        return out, None, printed.getvalue()
    except (kv.KorvaneError, kv.KorvaneMemoryError) as e:
        return None, e, printed.getvalue()


def check(rec, outputs):
    """("skip", reason), or (ok, what differs)."""
    name = rec["name"]
    helper = name in ("KVCoordinates", "KVHeader", "KVPower")
    args = [a[1] for a in rec["args"]]
    if any(isinstance(a, Sparse) for a in args):
        return "skip", "a sparse argument"
    if not helper and args and rec["nout"] != outputs[name]:
        return "skip", "an output count other than the command's"
    if not helper and not args and rec["nout"] != 0:
        return "skip", "an output count other than the command's"
    want = rec["alt"] or rec
    before = [snapshot(a) for a in args]
    out, err, printed = call(name, args)
    diffs = []
    if rec["changed"]:
        diffs.append("Octave changed an input")
    if [snapshot(a) for a in args] != before:
        diffs.append("an input was changed")
    if want["msg"]:
        if err is None:
            diffs.append(f"no error; Octave: {want['msg']!r}")
        else:
            if str(err) != want["msg"]:
                diffs.append(f"message {str(err)!r}, Octave {want['msg']!r}")
            if err.identifier != want["id"]:
                diffs.append(f"identifier {err.identifier!r}, Octave {want['id']!r}")
            if isinstance(err, kv.KorvaneMemoryError) != (want["id"] == "Korvane:outOfMemory"):
                diffs.append(f"{type(err).__name__} for {want['id']}")
        if printed:
            diffs.append("printed before an error")
        return not diffs, diffs
    if err is not None:
        return False, [f"raised {str(err)!r}"]
    if printed != rec["printed"]:
        diffs.append(f"printed {printed!r}, Octave {rec['printed']!r}")
    if not args:
        if out is not None:
            diffs.append("returned a value on no arguments")
        return not diffs, diffs
    if name == "KVHeader":
        h = out
        out = np.array([[h["size"], h["lambda"], h["N"], h["curvature"], h["aux_int"]]])
    outs = list(out) if isinstance(out, tuple) else [out]
    if len(outs) != len(want["out"]):
        diffs.append(f"{len(outs)} results, Octave {len(want['out'])}")
    for k, (raw, got) in enumerate(zip(want["out"], outs)):
        d = compare_value(raw, got)
        if d:
            diffs.append(f"result {k + 1}: {d}")
    return not diffs, diffs


def main(path):
    recs = read_records(path)
    outputs = {row[0]: row[2] for row in kv._korvane._commands()}
    passed = failed = 0
    skipped = {}
    shown = 0
    for k, rec in enumerate(recs):
        ok, what = check(rec, outputs)
        if ok == "skip":
            skipped[what] = skipped.get(what, 0) + 1
            continue
        if ok:
            passed += 1
            continue
        failed += 1
        if shown < 40:
            kinds = ",".join(a[0][1] if a[0][0] == "N" else a[0][0] for a in rec["args"])
            print(f"call {k + 1} ({rec['name']}, {len(rec['args'])} args: {kinds}): "
                  + "; ".join(what))
            shown += 1
    print(f"parity with Octave: {len(recs)} calls, {passed + failed} made through Python")
    for why, n in sorted(skipped.items()):
        print(f"  not run: {n} calls with {why}")
    alt = sum(1 for r in recs if r["alt"])
    print(f"  {alt} calls compared with Octave's call of double(x) for a non-double scalar x")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
