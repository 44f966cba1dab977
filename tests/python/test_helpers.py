"""The Python forms of the helpers of inst/: KVHeader, KVCoordinates,
KVPower, korvane_version (their parity with Octave's is checked by
scripts/parity_python.sh)."""
import numpy as np
import pytest

import korvane as kv
from conftest import ROOT


def test_header():
    F = kv.KVBegin(5e-3, 633e-9, 64)
    assert kv.KVHeader(F) == {"size": 5e-3, "lambda": 633e-9, "N": 64, "curvature": 0.0,
                              "aux_int": 0.0}
    G = kv.KVForward(0.1, 4e-3, 32, kv.KVCircAperture(1e-3, 0, 0, F))
    h = kv.KVHeader(G)
    assert (h["size"], h["lambda"], h["N"]) == (4e-3, 633e-9, 32) and type(h["N"]) is int
    assert kv.KVHeader(F.real)["size"] == 5e-3


@pytest.mark.parametrize("bad,text", [
    (np.ones((4, 4)), "Fin must be a field (an N x (N+1) array, N >= 5), not 4 x 4"),
    ("abcdef", "Fin must be a field (a numeric N x (N+1) array)"),
    (np.ones((8, 9, 2)), "Fin must be a field (a numeric N x (N+1) array)"),
    (np.ones(9), "Fin must be a field (an N x (N+1) array, N >= 5), not 1 x 9"),
    (1.0, "Fin must be a field (an N x (N+1) array, N >= 5), not 1 x 1"),
])
def test_header_refusals(bad, text):
    with pytest.raises(kv.KorvaneError) as e:
        kv.KVHeader(bad)
    assert str(e.value) == "KVHeader: " + text and e.value.identifier == "Korvane:notField"


def test_coordinates():
    F = kv.KVBegin(4, 1e-6, 8)
    x, y = kv.KVCoordinates(F)
    assert np.array_equal(x[0], np.arange(-4, 4) * 0.5)
    assert np.array_equal(x[:, 2], np.full(8, -1.0))
    assert np.array_equal(y, x.T) and x[4, 4] == 0 and x.flags.f_contiguous
    xr, yr = kv.KVCoordinates(F, "resample")
    assert np.array_equal(xr[0], np.arange(-4, 4) * (4 / 7))
    assert kv.KVCoordinates(F, "GRID")[0].tobytes() == x.tobytes()
    with pytest.raises(kv.KorvaneError, match="rule must be 'grid' or 'resample'") as e:
        kv.KVCoordinates(F, "other")
    assert e.value.identifier == "Korvane:badRule"


def test_coordinates_line_up_with_the_samples():
    # An off-centre circle through KVCircAperture is the set x^2 + y^2 <= R^2.
    F = kv.KVBegin(6e-3, 633e-9, 64)
    G = kv.KVCircAperture(1.1e-3, 1.3e-3, -0.7e-3, F)
    x, y = kv.KVCoordinates(F)
    assert np.array_equal(np.abs(G[:, :64]) > 0, (x - 1.3e-3)**2 + (y + 0.7e-3)**2 <= 1.1e-3**2)


def test_power_is_knormal_s_number_bit_for_bit():
    F = kv.KVGaussAperture(1e-3, 0.2e-3, 0, 1, kv.KVBegin(5e-3, 633e-9, 64))
    G = kv.KVRandomPhase(7, 2, kv.KVLens(0.5, 0, 0, F))
    # 300 x 300 samples: more than one block of the commands' sums.
    H = kv.KVRandomPhase(3, 2, kv.KVGaussAperture(1e-3, 0, 0, 1, kv.KVBegin(5e-3, 633e-9, 300)))
    for field in (F, G, H, np.asfortranarray(F.real), np.ascontiguousarray(G)):
        assert kv.KVPower(field) == kv.KVNormal(field)[1]
    assert kv.KVPower(kv.KVIntAttenuator(0, F)) == 0.0
    assert abs(kv.KVPower(kv.KVCircAperture(1e-3, 0, 0, kv.KVBegin(5e-3, 633e-9, 256))) -
               np.pi * 1e-6) < 0.01 * np.pi * 1e-6


def test_version():
    assert kv.korvane_version() == (ROOT / "VERSION").read_text().strip()
