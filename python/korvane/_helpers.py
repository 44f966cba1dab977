"""The helpers of inst/ (written in Octave's language there) in Python, with
the same results bit for bit: KVCoordinates, KVHeader, KVPower and
korvane_version."""
import numpy as np

from ._korvane import KorvaneError
from ._version import __version__


def _refuse(who, identifier, text):
    e = KorvaneError(f"{who}: {text}")
    e.identifier = identifier
    e.command = who
    raise e


def _field(Fin, who):
    """Fin as an array, checked as a field: (array, N)."""
    a = np.asarray(Fin)
    # A number is 1 x 1 and a vector a row, as the commands read them.
    if a.ndim < 2:
        a = a.reshape(1, -1)
    if a.dtype.kind not in "biufc" or a.ndim != 2:
        _refuse(who, "Korvane:notField", "Fin must be a field (a numeric N x (N+1) array)")
    n = a.shape[0]
    if n < 5 or a.shape[1] != n + 1:
        _refuse(who, "Korvane:notField",
                "Fin must be a field (an N x (N+1) array, N >= 5), not %d x %d" % a.shape)
    return a, n


def KVHeader(Fin, /):
    """The header of a field as a dict.

    h = KVHeader(Fin)

    Fin  a field: an N x (N+1) array (N x N samples and a header column)
    h    dict with the keys
           size       side length of the grid (the unit of size and lambda)
           lambda     wavelength
           N          grid dimension, the number of rows of Fin (an int)
           curvature  0 in normal coordinates, the radius of the spherical
                      coordinates otherwise
           aux_int    the integer carried along with the field (a float, as
                      the header holds it)

    The header column is the last column of Fin; its first five real parts
    hold size, lambda, N, curvature and aux_int. N is taken from the shape of
    Fin, which is what every command reads. Octave's KVHeader gives a struct
    with the same fields and values.
    """
    a, n = _field(Fin, "KVHeader")
    c = np.real(a[:, n]).astype(np.float64)
    return {"size": float(c[0]), "lambda": float(c[1]), "N": n,
            "curvature": float(c[3]), "aux_int": float(c[4])}


def KVCoordinates(Fin, rule="grid", /):
    """The x and y coordinates of every sample of a field.

    x, y = KVCoordinates(Fin)
    x, y = KVCoordinates(Fin, 'resample')

    Fin   a field (N x (N+1) array)
    rule  'grid' (default): the spacing size/N that every command but
          KVForward and KVInterpol uses; 'resample': the spacing size/(N - 1)
          that KVForward and KVInterpol use on their grids
    x, y  N x N float64 arrays (Fortran order), lined up with the samples:
          x goes with the columns, y with the rows

    The sample in column i and row j, counted from 0, lies at
    x = (i - N//2)*d, y = (j - N//2)*d: x[j, i] and y[j, i]. The values are
    those the commands compute, bit for bit.
    """
    h = KVHeader(Fin)
    n = h["N"]
    r = rule.lower() if isinstance(rule, str) else None
    if r == "grid":
        d = h["size"] / n
    elif r == "resample":
        d = h["size"] / (n - 1)
    else:
        _refuse("KVCoordinates", "Korvane:badRule", "rule must be 'grid' or 'resample'")
    v = (np.arange(n, dtype=np.float64) - float(n // 2)) * d
    x = np.asfortranarray(np.broadcast_to(v, (n, n)))
    y = np.asfortranarray(np.broadcast_to(v[:, None], (n, n)))
    return x, y


def KVPower(Fin, /):
    """The power of a field: the sum of its intensity times the sample area.

    P = KVPower(Fin)

    Fin  a field (N x (N+1) array)
    P    sum(|F|^2) * (size/N)^2 over the N x N samples, a float

    P is the number KVNormal returns as its second result, bit for bit: the
    terms are formed and summed in the same order (column by column, one
    after the other within each of the commands' fixed blocks, then the
    blocks in order; NumPy's own sum groups them differently, which changes
    the last bits). Unlike KVNormal, KVPower takes a field of zero power (and
    returns 0).
    """
    h = KVHeader(Fin)
    n = h["N"]
    d = h["size"] / n
    a = d * d
    z = np.asarray(Fin)[:, :n]
    re = np.real(z).astype(np.float64)
    im = np.imag(z).astype(np.float64) if np.iscomplexobj(z) else np.zeros_like(re)
    t = (im * im + re * re) * a
    # The blocks of the commands' sums (src/core/parallel.h): the count cut
    # into min(256, max(1, count // 4096)) blocks whose sizes differ by at
    # most one, the larger first; a running sum in Fortran order in each, and
    # the blocks added in order, as KVNormal adds them.
    v = t.ravel(order="F")
    count = v.size
    blocks = min(256, max(1, count // 4096))
    q, r = divmod(count, blocks)
    total = 0.0
    for b in range(blocks):
        lo, hi = b * q + min(b, r), (b + 1) * q + min(b + 1, r)
        total = total + (float(np.cumsum(v[lo:hi])[-1]) if hi > lo else 0.0)
    return float(total)


def korvane_version():
    """The version of Korvane, as a string (e.g. '1.0.0'), as korvane.__version__."""
    return __version__
