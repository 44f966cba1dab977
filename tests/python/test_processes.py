"""The same script in separate processes, as a user runs it twice: the same
bits with the default settings (Python, and Octave where its build is at
hand), wisdom saved by one process and loaded as the first call of another,
and wisdom files that are not wisdom refused without a hang."""
import hashlib
import os
import shutil
import subprocess
import sys

import pytest

from conftest import ROOT

OCT_BUILD = os.environ.get("KORVANE_OCT_BUILD", str(ROOT / "build" / "octave"))
HAVE_OCTAVE = shutil.which("octave-cli") is not None and os.path.exists(
    os.path.join(OCT_BUILD, "KVFresnelFFT.oct"))

# A field of N = 1024 with a random phase, propagated both ways; prints the
# SHA-256 of each result's bytes (column-major, as Octave holds them).
PY_SCRIPT = """
import hashlib, sys
import numpy as np
import korvane as kv
F = kv.KVRandomPhase(7, 3, kv.KVCircAperture(1.5e-3, 0, 0, kv.KVBegin(4e-3, 633e-9, 1024)))
for name in ("KVFresnelFFT", "KVAngularSpectrum"):
    G = getattr(kv, name)(0.2, F)
    print(name, hashlib.sha256(np.asfortranarray(G).tobytes(order="F")).hexdigest())
"""
OCT_SCRIPT = """
F = KVRandomPhase (7, 3, KVCircAperture (1.5e-3, 0, 0, KVBegin (4e-3, 633e-9, 1024)));
names = {'KVFresnelFFT', 'KVAngularSpectrum'};
for j = 1:2
  G = complex (feval (names{j}, 0.2, F));
  v = [real(G(:)).'; imag(G(:)).'];
  printf ('%s %s\\n', names{j}, hash ('sha256', char (typecast (v(:).', 'uint8'))));
end
"""

# The commands of media, focus, beam quality and polarization, once each on
# a small grid; prints the SHA-256 of every result as complex doubles
# (column-major), so that Python and Octave print the same lines.
PY_MORE = """
import hashlib
import numpy as np
import korvane as kv
def digest(x):
    a = np.asfortranarray(np.asarray(x, dtype=complex))
    return hashlib.sha256(a.tobytes(order="F")).hexdigest()
F = kv.KVGaussAperture(60e-6, 0, 0, 1, kv.KVBegin(4e-4, 1e-6, 128))
G = kv.KVTilt(1e-3, 0, F)
x = (np.arange(128) - 64) * 4e-4 / 128
n = np.asfortranarray(np.where(np.add.outer(x * x, x * x) < (15e-6) ** 2, 1.455, 1.45))
J = np.asfortranarray([[1.0, 0.5j], [-0.25, 2.0]])
calls = [("KVMedium", (2e-4, 4, n, F)), ("KVMode", (n, 0, F)),
         ("KVFraunhofer", (0.5, 2e-3, 64, F)), ("KVFocus", (0.5, 0.3, F)),
         ("KVJones", (J, F, G)), ("KVWavePlate", (np.pi / 2, 0.3, F, G)),
         ("KVLinearPolarizer", (0.4, F, G)), ("KVRotator", (0.4, F, G)),
         ("KVStokes", (F, G)), ("KVBeamWidth", (F,)), ("KVBeamQuality", (F,))]
for name, args in calls:
    r = getattr(kv, name)(*args)
    for k, x in enumerate(r if isinstance(r, tuple) else (r,)):
        print(name, k, digest(x))
"""
OCT_MORE = """
function s = digest (x)
  G = complex (double (x));
  v = [real(G(:)).'; imag(G(:)).'];
  s = hash ('sha256', char (typecast (v(:).', 'uint8')));
end
F = KVGaussAperture (60e-6, 0, 0, 1, KVBegin (4e-4, 1e-6, 128));
G = KVTilt (1e-3, 0, F);
x = ((0:127) - 64) * 4e-4 / 128;
n = repmat (1.45, 128, 128);
n((x.' .^ 2 + x .^ 2) < (15e-6) ^ 2) = 1.455;
J = [1, 0.5i; -0.25, 2];
calls = {'KVMedium', {2e-4, 4, n, F}, 2; 'KVMode', {n, 0, F}, 2;
         'KVFraunhofer', {0.5, 2e-3, 64, F}, 1; 'KVFocus', {0.5, 0.3, F}, 1;
         'KVJones', {J, F, G}, 2; 'KVWavePlate', {pi / 2, 0.3, F, G}, 2;
         'KVLinearPolarizer', {0.4, F, G}, 2; 'KVRotator', {0.4, F, G}, 2;
         'KVStokes', {F, G}, 4; 'KVBeamWidth', {F}, 5; 'KVBeamQuality', {F}, 6};
for c = 1:rows (calls)
  r = cell (1, calls{c, 3});
  [r{:}] = feval (calls{c, 1}, calls{c, 2}{:});
  for k = 1:numel (r)
    printf ('%s %d %s\\n', calls{c, 1}, k - 1, digest (r{k}));
  end
end
"""


def default_env():
    env = dict(os.environ)
    for v in ("KORVANE_FFTW_PLANNER", "KORVANE_FFTW_TIMELIMIT"):
        env.pop(v, None)
    return env


def run_python(script, env=None, timeout=300):
    r = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                       env=env or default_env(), timeout=timeout)
    assert r.returncode == 0, r.stderr
    return r.stdout


def run_octave(script, timeout=300):
    r = subprocess.run(["octave-cli", "--no-gui", "--no-history", "--norc", "--quiet", "--eval",
                        f"addpath('{OCT_BUILD}'); {script}"], capture_output=True, text=True,
                       env=dict(default_env(), OCTAVE_HISTFILE="/dev/null"), timeout=timeout)
    assert r.returncode == 0, r.stdout + r.stderr
    return r.stdout


def test_two_processes_give_the_same_bits_with_the_default_settings():
    first = run_python(PY_SCRIPT)
    assert first.count("\n") == 2
    assert run_python(PY_SCRIPT) == first
    if HAVE_OCTAVE:
        # Python's results are those of the Octave build, bit for bit.
        assert run_octave(OCT_SCRIPT) == first



def test_the_newer_commands_give_the_same_bits_in_two_processes():
    first = run_python(PY_MORE)
    assert first.count("\n") == 29
    assert run_python(PY_MORE) == first
    if HAVE_OCTAVE:
        assert run_octave(OCT_MORE) == first

SAVE = """
import hashlib, sys
import numpy as np
import korvane as kv
kv.KVFftw("planner", "measure")
F = kv.KVCircAperture(1e-3, 0, 0, kv.KVBegin(4e-3, 633e-9, 256))
G = kv.KVFresnelFFT(0.1, F)
kv.KVFftw("save", sys.argv[1] if len(sys.argv) > 1 else {path!r})
print(hashlib.sha256(G.tobytes(order="F")).hexdigest())
"""
LOAD = """
import hashlib
import numpy as np
import korvane as kv
kv.KVFftw("load", {path!r})   # the first call of the process
kv.KVFftw("planner", "measure")
F = kv.KVCircAperture(1e-3, 0, 0, kv.KVBegin(4e-3, 633e-9, 256))
G = kv.KVFresnelFFT(0.1, F)
print(hashlib.sha256(G.tobytes(order="F")).hexdigest())
"""


def test_wisdom_saved_by_one_process_is_loaded_first_by_another(tmp_path):
    path = str(tmp_path / "korvane.wisdom")
    made = run_python(SAVE.format(path=path))
    assert open(path).read().startswith("(fftw-3")
    assert os.listdir(tmp_path) == ["korvane.wisdom"]  # no temporary file left
    # The measured plan comes from the wisdom: the same bits.
    assert run_python(LOAD.format(path=path)) == made
    if HAVE_OCTAVE:
        run_octave(f"KVFftw ('load', '{path}'); disp (KVFftw ('planner'));")


def test_files_that_are_not_wisdom_are_refused_at_once(tmp_path):
    fifo = tmp_path / "fifo"
    os.mkfifo(fifo)
    big = tmp_path / "big"
    with open(big, "wb") as f:
        f.truncate(3 << 30)  # sparse
    script = f"""
import korvane as kv
for path in ("/dev/zero", {str(fifo)!r}, {str(tmp_path)!r}, {str(big)!r}):
    try:
        kv.KVFftw("load", path)
    except kv.KorvaneError as e:
        assert e.identifier == "Korvane:badValue", e
        print(e)
"""
    # A hang would end in the timeout, not in a stuck test run.
    out = run_python(script, timeout=60).splitlines()
    assert out == [
        "KVFftw: cannot read the wisdom file: it is not a regular file (a device, FIFO or socket)",
        "KVFftw: cannot read the wisdom file: it is not a regular file (a device, FIFO or socket)",
        "KVFftw: cannot read the wisdom file: it is a folder",
        "KVFftw: cannot read the wisdom file: it is larger than 1 MiB, too large for FFTW wisdom",
    ]


def test_slow_planning_says_so_once_while_it_plans():
    script = """
import korvane as kv
kv.KVFftw("planner", "measure")
kv.KVFftw("timelimit", 0.2)
F = kv.KVBegin(4e-3, 633e-9, 1024)
kv.KVFresnelFFT(0.1, F)
print("between")
kv.KVFresnelFFT(0.1, F)
"""
    out = run_python(script).splitlines()
    assert out == ["KVFresnelFFT: FFTW plans the transforms of N = 1024 at level 'measure' "
                   "(up to 0.2 s per plan); later calls at this size and level reuse the plans",
                   "between"]
