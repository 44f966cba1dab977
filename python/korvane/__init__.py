"""Korvane: an optical toolbox, the same commands as in Octave and MATLAB.

    import korvane as kv
    F = kv.KVBegin(10e-3, 633e-9, 256)   # complex128, shape (256, 257), Fortran order
    F = kv.KVCircAperture(2e-3, 0, 0, F)
    I = kv.KVIntensity(1, F)             # float64, (256, 256)
    F, NC = kv.KVNormal(F)               # several results come back as a tuple
    help(kv.KVForward)                   # the help text Octave shows

A field is an N x (N+1) array: N x N samples and a header column (size,
lambda, N, curvature, aux_int). Commands take their parameters first and the
field last and return fresh arrays; a refused call raises KorvaneError with
Octave's message. See the manual's Python page for the conversions.
"""
from . import _korvane
from ._helpers import KVCoordinates, KVHeader, KVPower, korvane_version
from ._korvane import KorvaneError, KorvaneMemoryError
from ._version import __version__


def _commands():
    names = []
    for entry in _korvane._commands():
        globals()[entry[0]] = getattr(_korvane, entry[0])
        names.append(entry[0])
    return names


__all__ = _commands() + ["KVCoordinates", "KVHeader", "KVPower", "korvane_version",
                         "KorvaneError", "KorvaneMemoryError"]
