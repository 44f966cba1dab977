"""Shared fixtures of the Python tests: they run against the installed
package (make python installs it into build/python/venv), never against the
source tree."""
import pathlib

import numpy as np
import pytest

import korvane

ROOT = pathlib.Path(__file__).resolve().parents[2]


def pytest_report_header(config):
    return f"korvane {korvane.__version__} from {pathlib.Path(korvane.__file__).parent}"


def command_names():
    """Every command file of src/commands."""
    return sorted(p.stem for p in (ROOT / "src" / "commands").glob("KV*.cpp"))


def help_text(path):
    """The leading comment block of an m-file, as help_header.sh writes it."""
    lines, started = [], False
    for line in path.read_text().splitlines():
        if line.startswith("%"):
            lines.append(line[1:])
            started = True
        elif started:
            break
    return "".join(line + "\n" for line in lines)


def test_field(n=8, size=1e-3, lam=1e-6, seed=0):
    """A complex field of dimension n with varied samples, in Fortran order."""
    rng = np.random.default_rng(seed)
    F = np.zeros((n, n + 1), dtype=np.complex128, order="F")
    F[:, :n] = rng.uniform(0.2, 1.0, (n, n)) * np.exp(1j * rng.uniform(-3, 3, (n, n)))
    F[:5, n] = [size, lam, n, 0, 0]
    return F


test_field.__test__ = False  # a helper, not a test


def bits(x):
    """Every bit of a result: the bytes of an array in Fortran order, of a
    float, or a text as it stands."""
    if isinstance(x, tuple):
        return tuple(bits(v) for v in x)
    if isinstance(x, str):
        return x
    if isinstance(x, float):
        return np.float64(x).tobytes()
    return (x.dtype.str, x.shape, np.asfortranarray(x).tobytes(order="F"))


@pytest.fixture
def kv():
    return korvane


@pytest.fixture
def stats():
    return korvane._korvane._allocation_stats


def pytest_configure(config):
    # The package must be the installed one.
    here = pathlib.Path(korvane.__file__).resolve()
    if ROOT in here.parents:
        inside = here.relative_to(ROOT)
        if "site-packages" not in inside.parts:
            raise pytest.UsageError(f"korvane imported from the source tree ({here}), not installed")
