"""Analysis of flexible retaining walls from Python.

    import branto
    run = branto.run("wall.dat")             # or branto.run_text(text)
    for stage in run.stages:
        print(stage.exit, stage.iterations, stage.summary.max_moment.value)
        stage.stations.depth, stage.stations.deflection, stage.stations.moment  # numpy arrays
    run.warnings
    branto.check("wall.dat")                  # the input's records and warnings, as data

Each call analyses its input on a model of its own, with the interpreter released during
the analysis, so calls from several threads or from a process pool are independent. The
numbers are those of the JSON twin (``branto --json``) exactly; units are the report's
(``stage.units``).
"""
import os

from . import _branto
from ._branto import Run, Stage  # noqa: F401  (the types of the results)

__all__ = ["run", "run_text", "check", "Error", "InputError", "StopError", "FileError", "Check", "VERSION"]

VERSION = _branto.VERSION


class Error(Exception):
    """A run that could not be analysed to its end. ``message`` is the engine's or the
    host's message (file, line, record and value of a mistake in the input); ``result``
    holds the stages analysed before it, the warnings and the console notices."""

    def __init__(self, message, result=None):
        super().__init__(message)
        self.message = message
        self.result = result


class InputError(Error):
    """Malformed input, a run-ending input check, or a count that ended the run."""


class StopError(Error):
    """The analysis stopped: it cannot go on with these data."""


class FileError(Error):
    """A file could not be read or written, or an output would overwrite the input or
    another output (nothing is written then)."""


_ERRORS = {
    "input_error": InputError,
    "ended_early": InputError,
    "stop": StopError,
    "file_error": FileError,
    "refused": FileError,
    "internal_error": Error,
}


def _curve_depths(n):
    if n is None:
        return 0
    if isinstance(n, bool) or not isinstance(n, int) or not 5 <= n <= 50:
        raise ValueError("curve_depths must be a whole number from 5 to 50, not %r" % (n,))
    return n


def _finish(r, strict):
    if strict and r.outcome != "ok":
        raise _ERRORS.get(r.outcome, Error)(r.message, r)
    return r


def run(path, *, out_dir=None, write=False, json=False, csv=False, html=False, keep_scratch=False,
        curve_depths=None, strict=True):
    """Analyse the input data file at ``path`` and return its results (a ``Run``).

    Nothing is written unless asked: ``write=True`` writes the report, plot output file and
    iteration log beside the input (``NAME.out``, ``NAME.plt``, ``NAME.log``), exactly as
    ``branto path`` does; ``out_dir`` writes them into that directory (``--out-dir``);
    ``json``, ``csv``, ``html`` add those files (and imply ``write``), ``keep_scratch``
    keeps the exchange files. ``curve_depths``: p-y curves per soil layer (5 to 50).

    A run that cannot be analysed to its end raises ``InputError``, ``StopError`` or
    ``FileError`` (``strict=False`` returns it instead, with ``outcome`` and ``message``).
    """
    path = os.fspath(path)
    write = write or out_dir is not None or json or csv or html or keep_scratch
    where = (os.fspath(out_dir) if out_dir is not None else "") if write else None
    r = _branto.analyse(path, False, "", where, bool(json), bool(csv), bool(html), bool(keep_scratch),
                        _curve_depths(curve_depths))
    return _finish(r, strict)


def run_text(text, *, name="input.dat", out_dir=None, json=False, csv=False, html=False, keep_scratch=False,
             curve_depths=None, strict=True):
    """Analyse an input data file given as text; ``name`` is how the report and the
    results name it. Nothing is written unless ``out_dir`` is given: then the report, plot
    output file and iteration log (and the files ``json``, ``csv``, ``html`` ask for) go
    there, named after ``name``. The engine's exchange files live in a private temporary
    directory, removed after the run."""
    if not isinstance(text, (str, bytes)):
        raise TypeError("text must be str or bytes")
    write = out_dir is not None
    if not write and (json or csv or html or keep_scratch):
        raise ValueError("json, csv, html and keep_scratch write files: give out_dir")
    where = os.fspath(out_dir) if write else None
    r = _branto.analyse(os.fspath(name), True, text, where, bool(json), bool(csv), bool(html), bool(keep_scratch),
                        _curve_depths(curve_depths))
    return _finish(r, strict)


class Check:
    """What the engine's pass over an input found, without writing anything: ``ok`` (every
    problem read and analysed without a warning), ``error`` (the message of the mistake
    that ended the run, naming file, line, record and value, or None), ``warnings`` (each
    warning's text), ``stages`` (per problem analysed: its number, title, how the
    analysis ended, the warnings of that stage and its ``records``: each record the problem
    read, as ``{"line": n, "record": "control record", "text": the line}``, in file order)
    and ``notices`` (the engine's console notices)."""

    def __init__(self, r, lines=()):
        self.error = r.message if r.outcome != "ok" else None
        self.outcome = r.outcome
        self.warnings = list(r.warnings)
        self.stages = [
            {"stage": s.stage, "title": s.title, "exit": s.exit, "iterations": s.iterations,
             "warnings": list(s.warnings),
             "records": [{"line": n, "record": what, "text": lines[n - 1] if 0 < n <= len(lines) else ""}
                         for n, what in recs]}
            for s, recs in zip(r.stages, r._records)
        ]
        self.notices = r.console
        self.ok = self.error is None and not self.warnings and all(
            s.exit not in ("not_closed", "deflection_exceeded") and not s.mechanism for s in r.stages)

    def __bool__(self):
        return self.ok

    def __repr__(self):
        return "<branto.Check %s: %d stages, %d warnings%s>" % (
            "ok" if self.ok else "not ok", len(self.stages), len(self.warnings),
            ", error" if self.error else "")


def check(path, *, curve_depths=None):
    """Read and analyse the input data file at ``path`` without writing anything and
    return what was found (a ``Check``): the stages read, the warnings and the error."""
    path = os.fspath(path)
    r = _branto.analyse(path, False, "", None, False, False, False, False, _curve_depths(curve_depths), True)
    try:
        with open(path, "rb") as f:
            lines = f.read().decode("latin-1").splitlines()
    except OSError:
        lines = []
    return Check(r, lines)
