#!/usr/bin/env python3
"""The generated parts of the Python extension (meson.build runs this):

  python_build.py sources ROOT        the shared sources: src/*/*.cpp but the
                                      command files and the other hosts'
                                      adapters, one a line
  python_build.py commands ROOT       every command of src/commands (KV*.cpp
                                      with its help text KV*.m), one a line
  python_build.py wrapper CPP M       the translation unit of one command:
                                      its help header (help_header.sh), its
                                      call form and result kinds, its file
  python_build.py stub MODULE OUT     the type stub korvane/__init__.pyi, from
                                      the command table of the built module

Everything is read from the sources, so a command added to src/commands is
in the next build without a list to edit."""
import importlib.machinery
import importlib.util
import keyword
import os
import re
import sys


def sources(root):
    src = os.path.join(root, "src")
    out = []
    for sub in sorted(os.listdir(src)):
        d = os.path.join(src, sub)
        if sub == "commands" or not os.path.isdir(d):
            continue
        for f in sorted(os.listdir(d)):
            if not f.endswith(".cpp"):
                continue
            # host_oct.cpp and host_mex.cpp need their hosts' headers.
            if sub == "core" and f.startswith("host_") and f != "host_py.cpp":
                continue
            out.append(f"src/{sub}/{f}")
    return out


def commands(root):
    d = os.path.join(root, "src", "commands")
    return [f[:-4] for f in sorted(os.listdir(d)) if f.startswith("KV") and f.endswith(".cpp")]


def help_lines(path):
    """The leading comment block of an m-file, comment signs taken off."""
    lines, started = [], False
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("%"):
                lines.append(line[1:])
                started = True
            elif started:
                break
    return lines


def call_forms(name, lines):
    """The call forms "[a, b] = NAME(x, y)" of a help text, in order: (outputs,
    parameters) of each ("D = NAME(...)", a form of fewer results, is left
    out)."""
    pat = re.compile(r"^\s*(?:(\[[^\]]*\]|[A-Za-z_]\w*)\s*=\s*)?" + re.escape(name) +
                     r"\s*\(([^)]*)\)")
    forms = []
    for line in lines[1:]:
        m = pat.match(line)
        if not m:
            if forms:
                break  # the call forms stand together, before the examples
            continue
        outs = [w for w in re.split(r"[\s,\[\]]+", m.group(1) or "") if w]
        params = [p.strip() for p in m.group(2).split(",") if p.strip()]
        if "..." not in params:
            forms.append((outs, params))
    return forms


def leads_out(short, params):
    """Whether the form of parameters `short` is the longest form `params`
    without its leading ones."""
    return 0 < len(short) < len(params) and short == params[len(params) - len(short):]


def call_form(name, lines):
    """(outputs, parameters, required) of a command's call forms: the results
    and parameters of its longest form, and how many parameters a call must
    give: the shortest form's count when the forms leave out trailing
    parameters, all of them when a shorter form leaves out a leading one
    (KVBeamWidth(Fin) beside KVBeamWidth(I, Fin)), which a Python signature
    cannot show."""
    forms = call_forms(name, lines)
    if not forms:
        return [], [], 0
    outs = max((f[0] for f in forms), key=len)
    params = max((f[1] for f in forms), key=len)
    if any(leads_out(f[1], params) for f in forms):
        return outs, params, len(params)
    return outs, params, min(len(f[1]) for f in forms)


def py_name(p, i=0):
    """A parameter's Python name: a keyword gets a trailing _, and a literal
    of the call form ('planner') the name of what it stands for."""
    if not p.isidentifier():
        return "action" if i == 0 else f"arg{i}"
    return p + "_" if keyword.iskeyword(p) else p


def result_kinds(outs, body):
    """One word per output: text (a body that writes text), field (named
    F...), float (a 1 x 1 real result, out_real(1, 1[, slot]) in the body) or
    array."""
    kinds = []
    for slot, out in enumerate(outs):
        if "out_text(" in body:
            kinds.append("text")
            continue
        if out.startswith("F"):
            kinds.append("field")
            continue
        slot_arg = r"(\s*,\s*0)?" if slot == 0 else r"\s*,\s*" + str(slot)
        one = re.search(r"out_real\(\s*1\s*,\s*1" + slot_arg + r"\s*\)", body)
        kinds.append("float" if one else "array")
    return kinds


def c_string(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def wrapper(cpp, mfile):
    name = os.path.basename(cpp)[:-4]
    outs, params, required = call_form(name, help_lines(mfile))
    with open(cpp, encoding="utf-8") as f:
        body = f.read()
    # Parameters a call may leave out show as "name=...".
    names = [py_name(p, i) + ("=..." if i >= required else "") for i, p in enumerate(params)]
    sig = "(" + ", ".join(names + ["/"]) + ")" if params else ""
    return "\n".join([
        f"// Generated by scripts/python_build.py: {name} in the Python extension.",
        f'#include "{name}_help.h"',
        f"#define KV_SIGNATURE {c_string(sig)}",
        f"#define KV_RESULTS {c_string(' '.join(result_kinds(outs, body)))}",
        f'#include "commands/{name}.cpp"',
        "",
    ])


STUB_HEAD = '''"""Korvane: the optical toolbox from NumPy (generated by
scripts/python_build.py from the command table of korvane._korvane)."""
from typing import Dict, Literal, Optional, Tuple, Union, overload

import numpy as np
from numpy.typing import ArrayLike, NDArray

__version__: str

# A field: N x (N+1) samples and header; commands return complex128 in
# Fortran order, and take complex128 or float64 (N, N+1) arrays.
Field = NDArray[np.complex128]
FieldLike = Union[NDArray[np.complex128], NDArray[np.float64]]
# A scalar: a Python int, float or bool, a NumPy real scalar, or a real array
# of one element.
Scalar = Union[float, int, bool, np.integer, np.floating, np.bool_, NDArray[np.generic]]


class KorvaneError(ValueError):
    """A command refused its call: Octave's message, and the identifier."""
    identifier: str
    command: str


class KorvaneMemoryError(MemoryError):
    """A command ran out of memory (identifier "Korvane:outOfMemory")."""
    identifier: str
    command: str


def KVCoordinates(Fin: ArrayLike, rule: Literal["grid", "resample"] = "grid", /) -> Tuple[NDArray[np.float64], NDArray[np.float64]]:
    """The x and y coordinates of every sample of a field."""


def KVHeader(Fin: ArrayLike, /) -> Dict[str, Union[float, int]]:
    """The header of a field as a dict (size, lambda, N, curvature, aux_int)."""


def KVPower(Fin: ArrayLike, /) -> float:
    """The power of a field: the sum of its intensity times the sample area."""


def korvane_version() -> str:
    """The version of Korvane, as a string."""

'''

ARG_TYPE = {"S": "Scalar", "L": "Scalar", "F": "FieldLike", "A": "ArrayLike", "T": "str",
            "W": "Union[str, float]"}
RESULT_TYPE = {"field": "Field", "array": "NDArray[np.float64]", "float": "float",
               "text": "Union[str, float]"}


def stub(module_path, out):
    loader = importlib.machinery.ExtensionFileLoader("_korvane", module_path)
    found = importlib.util.spec_from_file_location("_korvane", module_path, loader=loader)
    mod = importlib.util.module_from_spec(found)
    found.loader.exec_module(mod)
    parts = [STUB_HEAD]
    for name, kinds, outputs, sig, results, fewest_outputs in mod._commands():
        doc = getattr(mod, name).__doc__ or ""
        summary = doc.strip().splitlines()[0] if doc.strip() else name
        summary = re.sub(r"^" + re.escape(name) + r"\s+", "", summary.strip())
        params = [p.strip() for p in sig.strip("()").split(",") if p.strip() and p.strip() != "/"]
        if len(params) != len(kinds):
            params = [f"arg{i}" for i in range(len(kinds))]
        args = ", ".join(f"{p.replace('=...', '')}: {ARG_TYPE.get(k, 'ArrayLike')}" +
                         (" = ..." if p.endswith("=...") else "") for p, k in zip(params, kinds))
        res = [RESULT_TYPE.get(r, "NDArray[np.float64]") for r in results.split()]
        res += ["NDArray[np.float64]"] * (outputs - len(res))
        ret = "None" if outputs == 0 else res[0] if outputs == 1 else "Tuple[" + ", ".join(res[:outputs]) + "]"
        if fewest_outputs == 0 and outputs > 0:
            ret = f"Optional[{ret}]"
        parts.append(f'@overload\ndef {name}({args}, /) -> {ret}:\n    """{summary}"""\n')
        # A shorter form that leaves out a leading parameter: its own overload.
        for _, short in call_forms(name, doc.splitlines()):
            if leads_out(short, [p.replace("=...", "") for p in params]):
                typed = dict((p.replace("=...", ""), a.split(": ", 1)[1])
                             for p, a in zip(params, args.split(", ")))
                sargs = ", ".join(f"{p}: {typed.get(p, 'ArrayLike')}" for p in short)
                parts.append(f'@overload\ndef {name}({sargs}, /) -> {ret}:\n    """{summary}"""\n')
        parts.append(f'@overload\ndef {name}() -> None:\n    """Prints the banner of {name}."""\n\n')
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(parts))


def main(argv):
    cmd = argv[1]
    if cmd == "sources":
        print("\n".join(sources(argv[2])))
    elif cmd == "commands":
        print("\n".join(commands(argv[2])))
    elif cmd == "wrapper":
        sys.stdout.write(wrapper(argv[2], argv[3]))
    elif cmd == "stub":
        stub(argv[2], argv[3])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
