"""The module as a whole: every command of src/commands is there, with the
help text of its .m file, its call form as the signature, its banner, and
an entry in the installed type stub."""
import ast
import inspect
import pathlib
import re
import sys

import korvane
import pytest

from cases import CASES
from conftest import ROOT, command_names, help_text


def test_installed_package_not_source_tree():
    here = pathlib.Path(korvane.__file__).resolve()
    assert pathlib.Path(sys.prefix).resolve() in here.parents
    assert "site-packages" in here.parts
    assert korvane.__version__ == korvane.korvane_version() == (ROOT / "VERSION").read_text().strip()


def test_every_command_file_is_a_function():
    table = [row[0] for row in korvane._korvane._commands()]
    assert table == command_names()
    for name in table:
        assert callable(getattr(korvane, name)) and name in korvane.__all__
    for helper in ("KVCoordinates", "KVHeader", "KVPower", "korvane_version"):
        assert helper in korvane.__all__


def test_every_command_has_a_representative_call():
    assert sorted({name for name, _ in CASES}) == command_names()


@pytest.mark.parametrize("name", command_names())
def test_help_is_the_m_file_and_signature_its_call_form(name):
    f = getattr(korvane, name)
    m = ROOT / "src" / "commands" / (name + ".m")
    assert f.__doc__ == help_text(m)
    # The call forms stand together at the top; the signature is the longest.
    lines = help_text(m).splitlines()[1:]
    first = next(i for i, line in enumerate(lines) if re.search(name + r"\(", line))
    forms = []
    for line in lines[first:]:
        call = re.search(name + r"\(([^)]*)\)", line)
        if not call:
            break
        forms.append([p.strip() for p in call.group(1).split(",")])
    # A literal of the call form ('planner') is named for what it stands for.
    params = [p if p.isidentifier() else "action" if i == 0 else f"arg{i}"
              for i, p in enumerate(max(forms, key=len))]
    sig = inspect.signature(f)
    assert [p.name.rstrip("_") for p in sig.parameters.values()] == params
    assert all(p.kind is p.POSITIONAL_ONLY for p in sig.parameters.values())
    kinds = dict((r[0], r[1]) for r in korvane._korvane._commands())[name]
    assert len(kinds) == len(params)


def test_help_shows_the_help_text(capsys):
    help(korvane.KVForward)
    out = capsys.readouterr().out
    assert "KVForward(z, NewSize, NewNumber, Fin, /)" in out
    assert "Propagate the field over a distance by direct integration." in out
    assert "Grid rule." in out


@pytest.mark.parametrize("name", command_names())
def test_no_arguments_print_the_banner_and_return_none(name, capsys):
    assert getattr(korvane, name)() is None
    out = capsys.readouterr().out
    assert "Korvane for Matlab Optical Toolbox" in out and name in out


def test_type_stub_lists_every_command_with_its_summary():
    stub = pathlib.Path(korvane.__file__).with_name("__init__.pyi")
    assert pathlib.Path(korvane.__file__).with_name("py.typed").exists()
    tree = ast.parse(stub.read_text())
    defs = {}
    for node in tree.body:
        if isinstance(node, ast.FunctionDef):
            defs.setdefault(node.name, []).append(node)
    for name in command_names() + ["KVCoordinates", "KVHeader", "KVPower", "korvane_version"]:
        assert name in defs, name
    for name in command_names():
        full = defs[name][0]
        summary = getattr(korvane, name).__doc__.splitlines()[0].split(None, 1)[1].strip()
        assert ast.get_docstring(full) == summary
        assert [a.arg for a in full.args.posonlyargs] == list(
            inspect.signature(getattr(korvane, name)).parameters)
        assert any(not d.args.posonlyargs for d in defs[name])  # the banner form
    assert "KorvaneError" in stub.read_text()
    assert "def KVNormal(Fin: FieldLike, /) -> Tuple[Field, float]" in stub.read_text()
    assert "def KVIntensity(flag: Scalar, Fin: FieldLike, /) -> NDArray[np.float64]" in stub.read_text()


def test_module_exports_only_its_init():
    import shutil
    import subprocess
    so = pathlib.Path(korvane._korvane.__file__)
    if not sys.platform.startswith("linux") or shutil.which("nm") is None:
        pytest.skip("nm on Linux")
    out = subprocess.run(["nm", "-D", "--defined-only", str(so)], capture_output=True, text=True,
                         check=True).stdout.split()
    assert [w for w in out if not all(c in "0123456789abcdef" for c in w) and len(w) > 1] == \
        ["PyInit__korvane"]
