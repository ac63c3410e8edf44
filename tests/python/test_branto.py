"""The Python package: results equal to the JSON twin, outputs as the host writes them,
errors as exceptions, runs from threads and processes independent.

The host for the JSON twin is BRANTO_EXE, else `branto` on the path; without it the twin
is the package's own run.json().
"""
import concurrent.futures
import glob
import json
import math
import os
import shutil
import subprocess
import sys

import numpy as np
import pytest

import branto

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EXAMPLES = sorted(glob.glob(os.path.join(ROOT, "examples", "*.dat")))
MISTAKES = os.path.join(ROOT, "tests", "cases", "mistakes")
HOST = os.environ.get("BRANTO_EXE") or shutil.which("branto")


def example(name):
    return os.path.join(ROOT, "examples", name + ".dat")


def twin(path, tmp_path):
    """The JSON document the host writes for path (--json), or the package's own."""
    if not HOST:
        return json.loads(branto.run(path).json())
    stem = os.path.splitext(os.path.basename(path))[0]
    subprocess.run([HOST, "-q", "--json", "--out-dir", str(tmp_path), path], check=False, capture_output=True)
    with open(tmp_path / (stem + ".json"), encoding="utf-8") as f:
        return json.load(f)


def same(array, values):
    """Exactly the JSON's numbers; null where the value is not finite."""
    assert len(array) == len(values)
    for a, v in zip(array.tolist(), values):
        assert (v is None and not math.isfinite(a)) or a == v, (a, v)


@pytest.mark.parametrize("path", EXAMPLES, ids=lambda p: os.path.basename(p))
def test_every_example_equals_its_json_twin(path, tmp_path):
    run = branto.run(path)
    doc = twin(path, tmp_path)
    assert len(run.stages) == len(doc["stages"])
    for stage, js in zip(run.stages, doc["stages"]):
        assert (stage.stage, stage.exit, stage.iterations) == (js["stage"], js["exit"], js["iterations"])
        for column, values in js["stations"].items():
            same(getattr(stage.stations, column), values)
        assert stage.stations.depth.dtype == np.float64 and stage.stations.station.dtype == np.int32
        assert stage.summary.max_moment.value == js["summary"]["max_moment"]["value"]
        assert [t.force_per_tie_back for t in stage.tie_backs] == [t["force_per_tie_back"] for t in js["tie_backs"]]
        for column, values in js["pressures"].items():
            same(getattr(stage.pressures, column), values)
    assert run.outcome == "ok" and run.status == 0


def test_outputs_as_the_host_writes_them_and_nothing_unasked(tmp_path, monkeypatch):
    if not HOST:
        pytest.skip("the command-line host is not at hand (BRANTO_EXE)")
    monkeypatch.setenv("SOURCE_DATE_EPOCH", "1700000000")
    path = example("softclay_staged_tieback")
    # Both into one directory (the report header names it): the host's outputs moved aside.
    subprocess.run([HOST, "-q", "--json", "--csv", "--out-dir", str(tmp_path / "pkg"), path], check=True,
                   capture_output=True)
    os.rename(tmp_path / "pkg", tmp_path / "host")
    run = branto.run(path, out_dir=tmp_path / "pkg", json=True, csv=True)
    names = sorted(os.listdir(tmp_path / "host"))
    assert names == sorted(os.listdir(tmp_path / "pkg"))
    for n in names:
        assert (tmp_path / "host" / n).read_bytes() == (tmp_path / "pkg" / n).read_bytes(), n
    assert sorted(os.path.basename(f) for f in run.files) == names

    # From text, nothing is written: not in the current directory, not in the temporary one.
    (tmp_path / "cwd").mkdir()
    (tmp_path / "tmp").mkdir()
    monkeypatch.chdir(tmp_path / "cwd")
    monkeypatch.setenv("TMPDIR", str(tmp_path / "tmp"))
    with open(path, encoding="latin-1") as f:
        text = f.read()
    run = branto.run_text(text, name="wall.dat")
    assert run.input == "wall.dat" and len(run.stages) == 3
    assert os.listdir(tmp_path / "cwd") == [] and os.listdir(tmp_path / "tmp") == []


def test_errors_are_exceptions_with_the_engines_messages(tmp_path):
    bad = os.path.join(MISTAKES, "ncross_negative.dat")
    with pytest.raises(branto.InputError) as e:
        branto.run(bad)
    assert "ncross_negative.dat" in str(e.value) or "LINE" in str(e.value)
    assert e.value.result is not None and e.value.result.outcome == "input_error"
    assert branto.run(bad, strict=False).message == e.value.message

    with pytest.raises(branto.InputError) as e:
        branto.run_text("A TITLE\n1 x 2\n", name="pasted.dat")
    assert "pasted.dat" in e.value.message and "line 2" in e.value.message.lower(), e.value.message

    with pytest.raises(branto.FileError, match="cannot read the input data file"):
        branto.run(tmp_path / "missing.dat")
    shutil.copy(example("softclay_cantilever"), tmp_path / "wall.out")
    with pytest.raises(branto.FileError, match="would overwrite the input data file"):
        branto.run(tmp_path / "wall.out", write=True)
    with pytest.raises(ValueError):
        branto.run(example("softclay_cantilever"), curve_depths=4)


def test_warnings_and_check():
    path = example("si_nonlinear_shafts")  # its coarse curve depths warn
    run = branto.run(path)
    assert run.warnings and all(not w.startswith("WARNING") for w in run.warnings)
    assert sum(len(s.warnings) for s in run.stages) + len(run.run_warnings) <= len(run.warnings)
    assert branto.run(path, curve_depths=50).warnings != run.warnings
    c = branto.check(path)  # the listing of branto check: the coarse depths warn there too
    assert c.status == 1 and not c.ok and c.error is None and c.warnings
    assert branto.check(path, curve_depths=50).status == 0
    assert [r["first_line"] for r in c.records] == sorted(r["first_line"] for r in c.records)
    assert c.records[0]["first_line"] == 1 and c.problems == len(run.stages)
    with open(path, encoding="latin-1") as f:
        assert c.records[1]["text"] == f.read().splitlines()[c.records[1]["first_line"] - 1:c.records[1]["last_line"]]
    assert any(f["unit"] for r in c.records for f in r["fields"]) and c.facts
    with open(os.path.join(MISTAKES, "ncross_negative.dat"), encoding="latin-1") as f:
        text = f.read()
    assert branto.check_text(b"\xef\xbb\xbf" + text.encode("latin-1")).records[0] == branto.check_text(text).records[0]
    for c in (branto.check(os.path.join(MISTAKES, "ncross_negative.dat")), branto.check_text(text)):
        assert c.status == 2 and not c.ok and c.error


def _summary(path):
    run = branto.run(path)
    return run.json()


def test_threads_and_processes_give_the_single_runs(monkeypatch):
    monkeypatch.setenv("SOURCE_DATE_EPOCH", "1700000000")
    alone = [branto.run(p).json() for p in EXAMPLES]
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        assert list(pool.map(lambda p: branto.run(p).json(), EXAMPLES * 3)) == alone * 3
    with concurrent.futures.ProcessPoolExecutor(2) as pool:
        assert list(pool.map(_summary, EXAMPLES)) == alone


def test_arrays_are_read_only_and_outlive_the_run():
    depth = branto.run(example("softclay_cantilever")).stages[0].stations.depth
    assert depth[0] == 0 and len(depth) > 10
    with pytest.raises(ValueError):
        depth[0] = 1.0


def test_embedment_sweep_example_runs(tmp_path):
    script = os.path.join(ROOT, "examples", "embedment_sweep.py")
    out = subprocess.run([sys.executable, script], cwd=tmp_path, capture_output=True, text=True, timeout=300)
    assert out.returncode == 0, out.stderr
    assert out.stdout.count(" converged ") + out.stdout.count(" linear ") == 6, out.stdout
