"""One representative call of every command (those of the C++ allocation
sweep): the scalars, and F (a field of dimension 8), G (a second field), A (a
real 8 x 8 profile), U (a uint8 8 x 8 profile), P (a 12 x 12 phase), W (an
8 x 8 index with a raised 4 x 4 core), J (a complex 2 x 2 matrix); any other
string is passed as it stands."""
import numpy as np

from conftest import test_field

CASES = [
    ("KVBegin", (1e-3, 1e-6, 8)),
    ("KVForward", (0.05, 2e-3, 10, "F")),
    ("KVInterpol", (1.2e-3, 10, 1e-5, 0, 0.2, 1.1, "F")),
    ("KVConvert", ("F",)),
    ("KVCircAperture", (3e-4, 0, 0, "F")),
    ("KVCircScreen", (3e-4, 0, 0, "F")),
    ("KVRectAperture", (3e-4, 2e-4, 0, 0, 0.3, "F")),
    ("KVRectScreen", (3e-4, 2e-4, 0, 0, 0.3, "F")),
    ("KVGaussAperture", (3e-4, 0, 0, 1, "F")),
    ("KVGaussScreen", (3e-4, 0, 0, 0.5, "F")),
    ("KVSuperGaussAperture", (3e-4, 4, 0, 0, 1, "F")),
    ("KVSuperGaussScreen", (3e-4, 4, 0, 0, 0.5, "F")),
    ("KVLens", (0.5, 0, 0, "F")),
    ("KVTilt", (1e-3, 2e-3, "F")),
    ("KVAxicon", (0.01, 1.5, 0, 0, "F")),
    ("KVZernike", (4, 2, 4e-4, 1, "F")),
    ("KVRandomPhase", (7, 3, "F")),
    ("KVSubIntensity", ("A", "F")),
    ("KVSubIntensity", ("U", "F")),
    ("KVSubPhase", ("A", "F")),
    ("KVMultIntensity", ("A", "F")),
    ("KVMultPhase", ("U", "F")),
    ("KVRandomIntensity", (7, "F")),
    ("KVGaussHermite", (1, 2, 1, 3e-4, "F")),
    ("KVIntensity", (1, "F")),
    ("KVPhase", ("F",)),
    ("KVPhaseUnwrap", (1, "P")),
    ("KVStrehl", ("F",)),
    ("KVNormal", ("F",)),
    ("KVBeamMix", ("F", "G")),
    ("KVPolarizer", (0.4, "F", "G")),
    ("KVGain", (1, 0.5, 0.1, "F")),
    ("KVIntAttenuator", (0.5, "F")),
    # Both branches of the Fresnel propagator.
    ("KVFresnelFFT", (0.05, "F")),
    ("KVFresnelFFT", (2, "F")),
    ("KVAngularSpectrum", (0.01, "F")),
    ("KVPad", (12, "F")),
    ("KVTurbScreen", (7, 2e-4, 2e-3, 1e-5, "F")),
    ("KVStructureFunction", ("A", "F")),
    ("KVStructureFunction", ("A", "F", "U")),
    ("KVMedium", (1e-3, 2, "A", "F", 0.1)),
    ("KVMedium", (1e-3, 1, "U", "F")),
    ("KVMode", ("W", 1, "F")),
    ("KVFftw", ("planner",)),
    ("KVFraunhofer", (0.5, 2e-3, 12, "F")),
    ("KVFraunhofer", (-0.5, 2e-3, 10, "F", 1e-4, 0)),
    # Before and past the focus (an inverted grid).
    ("KVFocus", (0.5, 0.3, "F")),
    ("KVFocus", (0.5, 0.7, "F")),
    ("KVJones", ("J", "F", "G")),
    ("KVWavePlate", (1.5, 0.3, "F", "G")),
    ("KVLinearPolarizer", (0.4, "F", "G")),
    ("KVRotator", (0.4, "F", "G")),
    ("KVStokes", ("F", "G")),
    ("KVBeamWidth", ("F",)),
    ("KVBeamWidth", ("U", "F")),
    ("KVBeamQuality", ("F",)),
]


def args_of(arguments):
    """Fresh arguments for a case's argument list."""
    k = np.arange(64, dtype=np.float64)
    made = {
        "F": lambda: test_field(8, seed=1),
        "G": lambda: test_field(8, seed=2),
        "A": lambda: np.asfortranarray((0.1 * (k % 9)).reshape(8, 8)),
        "U": lambda: np.asfortranarray((3 * k).astype(np.uint8).reshape(8, 8)),
        "P": lambda: np.asfortranarray((0.9 * (np.arange(144) % 13)).reshape(12, 12)),
        "W": lambda: np.asfortranarray(np.pad(np.full((4, 4), 1.5), 2, constant_values=1.45)),
        "J": lambda: np.asfortranarray([[1.0, -0.5 + 0.25j], [0.5, 2.0 + 0.25j]]),
    }
    return [made[a]() if isinstance(a, str) and a in made else a for a in arguments]


def case_id(case):
    name, arguments = case
    return name + "(" + ",".join(a if isinstance(a, str) else repr(a) for a in arguments) + ")"
