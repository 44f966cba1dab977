"""What the adapter makes of Python and NumPy values: fields in place or
copied, scalars of every Python and NumPy kind, arrays of every dtype, the
results, the errors; and that no input is ever changed."""
import numpy as np
import pytest

import korvane as kv
from cases import CASES, args_of, case_id
from conftest import bits, test_field

copies = lambda: kv._korvane._allocation_stats()["copies"]  # noqa: E731


@pytest.mark.parametrize("case", CASES, ids=case_id)
def test_results_are_fresh_fortran_arrays_and_inputs_stay(case):
    name, arguments = case
    args = args_of(arguments)
    before = [bits(a) if isinstance(a, np.ndarray) else a for a in args]
    out = getattr(kv, name)(*args)
    assert [bits(a) if isinstance(a, np.ndarray) else a for a in args] == before
    outs = out if isinstance(out, tuple) else (out,)
    outputs = dict((r[0], r[2]) for r in kv._korvane._commands())[name]
    assert isinstance(out, tuple) == (outputs > 1)
    for r in outs:
        if isinstance(r, (float, str)):
            continue
        assert isinstance(r, np.ndarray) and r.flags.f_contiguous and r.flags.owndata is False
        assert r.flags.writeable and r.base is not None
        assert not any(np.shares_memory(r, a) for a in args if isinstance(a, np.ndarray))
        if r.dtype == np.complex128:
            n = r.shape[0]
            assert r.shape == (n, n + 1) and r[2, n].real == n
        else:
            assert r.dtype == np.float64
    # A second call gives the same bits in fresh memory.
    again = getattr(kv, name)(*args)
    assert bits(again) == bits(out)


def test_result_kinds():
    F = kv.KVBegin(1e-3, 1e-6, 16)
    assert F.dtype == np.complex128 and F.shape == (16, 17)
    assert np.all(F[:, :16] == 1) and list(F[:5, 16].real) == [1e-3, 1e-6, 16, 0, 0]
    assert kv.KVIntensity(1, F).shape == (16, 16)
    assert isinstance(kv.KVStrehl(F), float)
    G, NC = kv.KVNormal(F)
    assert G.dtype == np.complex128 and isinstance(NC, float)
    # Every result of a command, as a tuple: up to six here.
    assert all(isinstance(v, float) for v in kv.KVBeamWidth(F)) and len(kv.KVBeamWidth(F)) == 5
    M = kv.KVBeamQuality(kv.KVGaussHermite(0, 1, 1, 1e-3, kv.KVBegin(8e-3, 1e-6, 64)))
    assert len(M) == 6 and all(isinstance(v, float) for v in M)
    assert abs(M[0] - 3) < 1e-3 and abs(M[1] - 1) < 1e-3
    S = kv.KVStokes(F, F)
    assert len(S) == 4 and all(a.shape == (16, 16) and a.dtype == np.float64 for a in S)
    G = F.copy(order="F")
    G[:, :16] *= 2
    Fx, Fy = kv.KVJones(np.array([[0, 1], [1j, 0]]), F, G)
    assert np.all(Fx[:, :16] == 2) and np.all(Fy[:, :16] == 1j)
    # The short call form, and the long one with an intensity image.
    assert kv.KVBeamWidth(np.abs(F[:, :16]) ** 2, F) == kv.KVBeamWidth(F)
    # A phase of one sample is still an array.
    assert kv.KVPhaseUnwrap(1, np.zeros((1, 1))).shape == (1, 1)
    assert kv.KVPhaseUnwrap(1, np.zeros((0, 0))).shape == (0, 0)


def test_fortran_complex_field_is_read_in_place():
    F = test_field(16)
    c = copies()
    kv.KVCircAperture(3e-4, 0, 0, F)
    kv.KVBeamMix(F, F)
    assert copies() == c


@pytest.mark.parametrize("case", [c for c in CASES if "F" in c[1]], ids=case_id)
def test_any_layout_of_a_field_gives_the_same_result(case):
    name, arguments = case
    args = args_of(arguments)
    f = getattr(kv, name)
    want = bits(f(*args))
    pos = [i for i, a in enumerate(arguments) if a in ("F", "G")]
    for layout in ("C", "strided", "byteswapped", "list"):
        moved = list(args)
        for i in pos:
            F = args[i]
            if layout == "C":
                moved[i] = np.ascontiguousarray(F)
                assert not moved[i].flags.f_contiguous
            elif layout == "strided":
                big = np.zeros((2 * F.shape[0], 3 * F.shape[1]), dtype=F.dtype)
                big[::2, ::3] = F
                moved[i] = big[::2, ::3]
            elif layout == "byteswapped":
                moved[i] = F.astype(F.dtype.newbyteorder(">"))
            else:
                moved[i] = F.tolist()
        c = copies()
        assert bits(f(*moved)) == want, layout
        if layout != "list":
            assert copies() == c + len(pos)


@pytest.mark.parametrize("case", [c for c in CASES if "F" in c[1]], ids=case_id)
def test_float64_field_is_a_field_with_zero_imaginary_parts(case):
    # As Octave narrows a complex field whose imaginary parts are all zero,
    # and as fields saved from Octave load.
    name, arguments = case
    args = args_of(arguments)
    fields = [i for i, a in enumerate(arguments) if a in ("F", "G")]
    for i in fields:
        args[i] = np.asfortranarray(args[i].real)
    real = args
    cplx = [a.astype(np.complex128, order="F") if i in fields else a for i, a in enumerate(args)]
    f = getattr(kv, name)
    c = copies()
    got = f(*real)
    assert copies() == c  # read in place
    assert bits(got) == bits(f(*cplx))


SCALAR_FORMS = [
    lambda v: float(v),
    lambda v: int(v),
    lambda v: np.float64(v),
    lambda v: np.float32(v),
    lambda v: np.int32(v),
    lambda v: np.uint8(v),
    lambda v: np.int64(v),
    lambda v: np.float16(v),
    lambda v: np.longdouble(v),
    lambda v: np.array(v, dtype=np.float64),
    lambda v: np.array([v]),
    lambda v: np.array([[v]], dtype=np.int16),
    lambda v: np.full((1, 1, 1), v, dtype=np.float32),
]


@pytest.mark.parametrize("form", range(len(SCALAR_FORMS)))
def test_every_real_scalar_form_reads_as_its_double(form):
    F = test_field(8)
    to = SCALAR_FORMS[form]
    assert bits(kv.KVBegin(to(4), 1e-6, to(16))) == bits(kv.KVBegin(4.0, 1e-6, 16.0))
    assert bits(kv.KVIntAttenuator(to(2), F)) == bits(kv.KVIntAttenuator(2.0, F))
    assert bits(kv.KVRandomPhase(to(7), to(3), F)) == bits(kv.KVRandomPhase(7.0, 3.0, F))
    # A Loose position (KVLens's y_shift) reads them the same way.
    assert bits(kv.KVLens(0.5, 0, to(1), F)) == bits(kv.KVLens(0.5, 0, 1.0, F))


def test_bools_and_python_ints():
    F = test_field(8)
    assert bits(kv.KVIntensity(True, F)) == bits(kv.KVIntensity(1.0, F))
    assert bits(kv.KVIntensity(np.bool_(False), F)) == bits(kv.KVIntensity(0.0, F))
    assert bits(kv.KVBegin(1e-3, 1e-6, 256)) == bits(kv.KVBegin(1e-3, 1e-6, 256.0))
    # Beyond the range of doubles, as Octave reads such a literal: infinite.
    assert bits(kv.KVIntAttenuator(10**400, F)) == bits(kv.KVIntAttenuator(float("inf"), F))
    assert bits(kv.KVIntAttenuator(-10**400, F)) == bits(kv.KVIntAttenuator(float("-inf"), F))
    assert bits(kv.KVIntAttenuator(2**64 + 1, F)) == bits(kv.KVIntAttenuator(float(2**64), F))


@pytest.mark.parametrize("bad", [1j, np.complex128(1), np.complex64(2), "abc", "", None,
                                 [1, 2], np.array([1.0, 2.0]), np.zeros((0, 0)), np.zeros(0),
                                 {"a": 1}, len, [[1, 2], [3]], np.array(["1"]),
                                 np.array([1], dtype=object), np.datetime64(1, "s")])
def test_refused_scalars(bad):
    F = test_field(8)
    with pytest.raises(kv.KorvaneError) as e:
        kv.KVCircAperture(bad, 0, 0, F)
    assert str(e.value) == "KVCircAperture: Input must be real scalar."
    assert e.value.identifier == "Korvane:notScalar" and e.value.command == "KVCircAperture"


def test_loose_position_reads_the_first_element():
    # KVLens's y_shift (as in Octave and MATLAB): the real part of the first
    # element of any numeric array; text, booleans arrays and objects are refused.
    F = test_field(8)
    want = bits(kv.KVLens(0.5, 0, 2e-4, F))
    assert bits(kv.KVLens(0.5, 0, np.array([[2e-4, 9], [9, 9]]), F)) == want
    assert bits(kv.KVLens(0.5, 0, np.array([[2e-4, 9], [9, 9]]).T.copy().T, F)) == want
    assert bits(kv.KVLens(0.5, 0, 2e-4 + 3j, F)) == want
    for bad in ("abc", np.zeros((0, 2)), np.array([True, False]), None):
        with pytest.raises(kv.KorvaneError, match="Input must be real scalar"):
            kv.KVLens(0.5, 0, bad, F)


DTYPES = [np.bool_, np.int8, np.uint8, np.int16, np.uint16, np.int32, np.uint32, np.int64,
          np.uint64, np.float16, np.float32, np.float64, np.longdouble]


@pytest.mark.parametrize("dtype", DTYPES, ids=lambda d: np.dtype(d).name)
def test_array_arguments_of_every_dtype(dtype):
    F = test_field(8)
    values = (np.arange(64).reshape(8, 8) % 3 == 1) if dtype is np.bool_ else \
        (np.arange(64).reshape(8, 8) % 7)
    P = values.astype(dtype)
    D = values.astype(np.float64)
    for name in ("KVSubIntensity", "KVSubPhase", "KVMultIntensity", "KVMultPhase"):
        f = getattr(kv, name)
        assert bits(f(P, F)) == bits(f(D, F)), name
        assert bits(f(np.ascontiguousarray(P.T).T, F)) == bits(f(D, F))
        assert bits(f(np.ascontiguousarray(P), F)) == bits(f(D, F))
    Q = np.tile(values, (2, 2))[:12, :12]
    assert bits(kv.KVPhaseUnwrap(1, Q.astype(dtype))) == bits(kv.KVPhaseUnwrap(1, Q.astype(float)))


def test_array_arguments_complex_lists_and_refusals():
    F = test_field(8)
    D = np.arange(64.0).reshape(8, 8) / 64
    want = bits(kv.KVSubIntensity(D, F))
    # A complex array gives its real parts, as in Octave; a list is an array.
    assert bits(kv.KVSubIntensity(D + 2j, F)) == want
    assert bits(kv.KVSubIntensity((D + 2j).astype(np.complex64), F)) == \
        bits(kv.KVSubIntensity(D.astype(np.float32), F))
    assert bits(kv.KVSubIntensity(D.tolist(), F)) == want
    shape = ("KVSubIntensity: Input intensity array must be square and must have equal "
             "dimensions as the input field.")
    for bad in (np.ones((8, 7)), np.ones(64), "abcdefgh", 1.0, None):
        with pytest.raises(kv.KorvaneError) as e:
            kv.KVSubIntensity(bad, F)
        assert str(e.value) == shape and e.value.identifier == "Korvane:badArray"
    for bad in (np.full((8, 8), "a"), np.empty((8, 8), dtype=object)):
        with pytest.raises(kv.KorvaneError) as e:
            kv.KVSubIntensity(bad, F)
        assert str(e.value) == ("KVSubIntensity: Input intensity array must be a numeric or "
                                "logical array.")
    with pytest.raises(kv.KorvaneError, match="must have real elements"):
        kv.KVPhaseUnwrap(1, np.ones((4, 4), dtype=complex))


@pytest.mark.parametrize("bad", [np.ones((8, 9)), np.ones((8, 9), dtype=np.float32),
                                 np.ones((8, 9), dtype=np.complex64), np.ones((9, 8)),
                                 np.ones((8, 9), dtype=np.int32), "field", None, 3.0,
                                 np.ones((8, 9), dtype=np.longdouble)])
def test_refused_fields(bad):
    with pytest.raises(kv.KorvaneError) as e:
        kv.KVCircAperture(1e-3, 0, 0, bad)
    assert str(e.value) == "KVCircAperture: Input field is not a Korvane field."
    assert e.value.identifier == "Korvane:notField"


def test_errors_are_octave_messages_with_identifiers_and_no_banner(capsys):
    F = test_field(8)
    cases = [
        (lambda: kv.KVCircAperture(1, 2, 3), "KVCircAperture: expects four input arguments",
         "Korvane:argCount"),
        (lambda: kv.KVCircAperture(1, 2, 3, F, 5), "KVCircAperture: expects four input arguments",
         "Korvane:argCount"),
        (lambda: kv.KVBegin(1, 2), "KVBegin: kvbegin expects three input arguments",
         "Korvane:argCount"),
        # One trailing newline goes, as Octave drops it.
        (lambda: kv.KVNormal(F, F), "KVNormal: expects one input argument.\n", "Korvane:argCount"),
        (lambda: kv.KVBegin(1, 1e-6, 7), "KVBegin: Grid dimension must be larger than 8x8 points.",
         "Korvane:badValue"),
        (lambda: kv.KVNormal(kv.KVIntAttenuator(0, F)), "KVNormal: Zero beam power",
         "Korvane:badValue"),
        (lambda: kv.KVBeamMix(F, test_field(10)), None, "Korvane:mismatch"),
        (lambda: kv.KVBegin(1, 1e-6, 2**31), None, "Korvane:badValue"),
        (lambda: kv.KVCircAperture(*range(9)), "KVCircAperture: expects four input arguments",
         "Korvane:argCount"),
    ]
    for call, msg, ident in cases:
        with pytest.raises(kv.KorvaneError) as e:
            call()
        assert isinstance(e.value, ValueError)
        if msg is not None:
            assert str(e.value) == msg
        assert e.value.identifier == ident
    assert capsys.readouterr().out == ""


def test_spherical_refusal():
    F = test_field(8)
    F[3, 8] = 1.0
    with pytest.raises(kv.KorvaneError) as e:
        kv.KVAngularSpectrum(0.1, F)
    assert e.value.identifier == "Korvane:spherical"
    assert (
        str(e.value) == "KVAngularSpectrum: No spherical coordinates allowed. Use KVConvert first"
    )


def test_an_objects_own_error_comes_through():
    class Broken:
        def __array__(self, dtype=None):
            raise RuntimeError("no array here")

    with pytest.raises(RuntimeError, match="no array here"):
        kv.KVSubIntensity(Broken(), test_field(8))
    with pytest.raises(RuntimeError, match="no array here"):
        kv.KVCircAperture(Broken(), 0, 0, test_field(8))
