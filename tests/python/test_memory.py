"""Memory: an allocation that fails raises KorvaneMemoryError (a MemoryError)
with Octave's message and leaves nothing behind. The sweep is the one of the
C++ tests (tests/cpp/test_alloc_failure.cpp), through the Python adapter: its
hook fails the k-th block of results and scratch (the test host's injection
counts mx* calls, which this adapter does not make)."""
import sys

import numpy as np
import pytest

import korvane as kv
from cases import CASES, args_of, case_id
from conftest import bits, test_field

hooks = kv._korvane


def live():
    # Results are freed with their last reference (they hold no cycles).
    return hooks._allocation_stats()["live_blocks"]


def test_machine_sized_request_is_a_memory_error():
    base = live()
    # 2^24 x (2^24 + 1) complex values: 4.5 PB, addressable but not there.
    with pytest.raises(kv.KorvaneMemoryError) as e:
        kv.KVBegin(1e-3, 1e-6, 2**24)
    assert isinstance(e.value, MemoryError) and not isinstance(e.value, ValueError)
    assert str(e.value) == "KVBegin: Out of memory."
    assert e.value.identifier == "Korvane:outOfMemory" and e.value.command == "KVBegin"
    F = test_field(8)
    with pytest.raises(MemoryError):
        kv.KVForward(1, 1e-3, 2**24, F)
    with pytest.raises(MemoryError):
        kv.KVPad(2**24, F)
    assert live() == base


def test_unaddressable_request_is_refused():
    with pytest.raises(kv.KorvaneError) as e:
        kv.KVBegin(1e-3, 1e-6, 2**30)
    assert e.value.identifier == "Korvane:tooLarge"
    assert str(e.value) == "KVBegin: Grid dimension too large: the result would not fit in memory."


def test_results_are_freed_with_their_arrays():
    base = live()
    F = kv.KVBegin(1e-3, 1e-6, 64)
    G, NC = kv.KVNormal(F)
    view = G[:, :3]
    assert live() == base + 2  # NC is a float: its block went at once
    del F, G
    assert live() == base + 1  # the view keeps its array's memory
    del view
    assert live() == base
    for _ in range(200):
        kv.KVIntensity(1, kv.KVCircAperture(1e-4, 0, 0, kv.KVBegin(1e-3, 1e-6, 16)))
    assert live() == base


@pytest.mark.parametrize("case", CASES, ids=case_id)
def test_allocation_failure_sweep(case):
    name, arguments = case
    f = getattr(kv, name)
    args = args_of(arguments)
    snap = [bits(a) if isinstance(a, np.ndarray) else a for a in args]
    arrays = [a for a in args if isinstance(a, np.ndarray)]
    refs = [sys.getrefcount(a) for a in arrays]
    want = bits(f(*args))
    base = live()
    k = 1
    try:
        while True:
            hooks._fail_allocation_at(k)
            try:
                out = f(*args)
            except kv.KorvaneMemoryError as e:
                assert hooks._allocation_stats()["failed"], f"k={k}: failed before the k-th block"
                assert str(e) == f"{name}: Out of memory." and e.identifier == "Korvane:outOfMemory"
                del e
                assert live() == base, f"k={k}: blocks left behind"
                k += 1
                continue
            assert not hooks._allocation_stats()["failed"], f"k={k}: a failure was swallowed"
            break
    finally:
        hooks._fail_allocation_at(0)
    assert bits(out) == want
    del out
    assert [bits(a) if isinstance(a, np.ndarray) else a for a in args] == snap
    assert [sys.getrefcount(a) for a in arrays] == refs  # no reference kept or lost
    assert live() == base
    assert k > 1  # every command allocates its result


def test_size_limit_hook():
    hooks._limit_allocation(1 << 16)
    try:
        kv.KVBegin(1e-3, 1e-6, 32)  # 17 kB
        with pytest.raises(kv.KorvaneMemoryError):
            kv.KVBegin(1e-3, 1e-6, 128)  # 264 kB
    finally:
        hooks._limit_allocation(0)
    kv.KVBegin(1e-3, 1e-6, 128)
