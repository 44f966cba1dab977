"""The GIL is released while a command computes: other Python threads run
meanwhile, and a ThreadPoolExecutor sweep gives the serial results."""
import bisect
import threading
import time
from concurrent.futures import ThreadPoolExecutor

import numpy as np

import korvane as kv
from conftest import bits


def test_python_runs_while_a_command_computes():
    # KVForward is called until its calls have lasted long enough to tell,
    # however fast the machine and its BLAS.
    F = kv.KVCircAperture(1e-3, 0, 0, kv.KVBegin(4e-3, 633e-9, 256))
    windows = []
    ticks = []

    def compute():
        total = 0.0
        while total < 0.3 and len(windows) < 200:
            start = time.perf_counter()
            kv.KVForward(1.0, 4e-3, 256, F)
            end = time.perf_counter()
            windows.append((start, end))
            total += end - start

    t = threading.Thread(target=compute)
    t.start()
    while t.is_alive():
        ticks.append(time.perf_counter())
    t.join()
    # Ticks well inside a call: with the GIL held there would be none.
    inside = sum(bisect.bisect_left(ticks, b - 0.2 * (b - a)) -
                 bisect.bisect_right(ticks, a + 0.2 * (b - a)) for a, b in windows)
    assert inside > 100, (inside, windows[:3])


def test_thread_pool_sweep_equals_the_serial_loop():
    F = kv.KVGaussAperture(1e-3, 0, 0, 1, kv.KVBegin(6e-3, 633e-9, 128))

    def strehl(seed):
        G = kv.KVRandomPhase(seed, 3, F)
        G = kv.KVFresnelFFT(0.2 + 0.01 * seed, kv.KVPad(256, G))
        G = kv.KVForward(0.1, 6e-3, 64, kv.KVPad(128, G))
        G, NC = kv.KVNormal(G)
        return kv.KVStrehl(G), NC, bits(kv.KVIntensity(0, G))

    seeds = list(range(1, 13))
    serial = [strehl(s) for s in seeds]
    with ThreadPoolExecutor(max_workers=4) as pool:
        parallel = list(pool.map(strehl, seeds))
    assert parallel == serial
    assert len({s[0] for s in serial}) == len(seeds)  # the seeds made different screens


def test_concurrent_calls_on_one_input_leave_it_alone():
    F = kv.KVBegin(2e-3, 1e-6, 64)
    snap = F.tobytes()
    with ThreadPoolExecutor(max_workers=4) as pool:
        outs = list(pool.map(lambda z: kv.KVAngularSpectrum(z, F), [0.01] * 16))
    assert F.tobytes() == snap
    assert all(np.array_equal(o, outs[0]) for o in outs)
