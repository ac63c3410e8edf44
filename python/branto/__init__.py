"""Analysis of flexible retaining walls from Python.

    import branto
    run = branto.run("wall.dat")             # or branto.run_text(text)
    for stage in run.stages:
        print(stage.exit, stage.iterations, stage.summary.max_moment.value)
        stage.stations.depth, stage.stations.deflection, stage.stations.moment  # numpy arrays
    run.warnings
    branto.check("wall.dat")                  # the annotated listing of the input, as data

Each call analyses its input on a model of its own, with the interpreter released during
the analysis, so calls from several threads or from a process pool are independent. The
numbers are those of the JSON twin (``branto --json``) exactly; units are the report's
(``stage.units``).
"""
import os

from . import _branto
from ._branto import Run, Stage  # noqa: F401  (the types of the results)

__all__ = ["run", "run_text", "check", "check_text", "Error", "InputError", "StopError", "FileError", "Check", "VERSION"]

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
    """An input read as ``branto check`` reads it, without its analysis and without writing
    anything:

    - ``records``: each record read, in file order, as ``{"problem": n, "first_line": i,
      "last_line": j, "left": values left unread on its last line, "record": its name as
      messages give it ("soil layer top record 2"), "fields": [{"name", "value", "unit"}],
      "text": its input lines}``; a record that runs over more lines than it should, or
      leaves values unread, is where a column slipped;
    - ``facts``: what a user should confirm, per problem (``{"problem", "name", "value"}``:
      wall length against NI * H, excavation depth, analysed width, curves per layer, the
      earth coefficient of each layer, ...);
    - ``warnings`` (each warning's text), ``error`` (the mistake or stop that ended the
      reading, naming file, line, record and value, or None), ``problems`` (read);
    - ``status``: 0 clean, 1 warnings, 2 an error (the exit status of ``branto check``);
      ``ok`` is ``status == 0``.

    Mistakes found only by the analysis (a curve depth below the strength data, no
    closure, no equilibrium) are not found here: ``branto.run`` finds them."""

    def __init__(self, d, lines=()):
        self.records = [dict(r, text=lines[r["first_line"] - 1:r["last_line"]] if r["first_line"] > 0 else [])
                        for r in d["records"]]
        self.facts = d["facts"]
        self.warnings = list(d["warnings"])
        self.error = d["error"] or None
        self.problems = d["problems"]
        self.status = d["status"]
        self.ok = self.status == 0

    def __bool__(self):
        return self.ok

    def __repr__(self):
        return "<branto.Check %s: %d problems, %d records, %d warnings%s>" % (
            "ok" if self.ok else "not ok", self.problems, len(self.records), len(self.warnings),
            ", error" if self.error else "")


def check(path, *, curve_depths=None):
    """Read the input data file at ``path`` as ``branto check`` does (every problem, no
    analysis, no file written) and return the annotated listing as a ``Check``."""
    path = os.fspath(path)
    d = _branto.listing(path, False, "", _curve_depths(curve_depths))
    try:
        with open(path, "rb") as f:
            lines = f.read().decode("latin-1").splitlines()
    except OSError:
        lines = []
    return Check(d, lines)


def check_text(text, *, name="input.dat", curve_depths=None):
    """``check`` of an input given as text (str or bytes), named ``name`` in messages."""
    if not isinstance(text, (str, bytes)):
        raise TypeError("text must be str or bytes")
    d = _branto.listing(os.fspath(name), True, text, _curve_depths(curve_depths))
    shown = text.decode("latin-1") if isinstance(text, bytes) else text
    for bom in ("\ufeff", "\xef\xbb\xbf"):  # not part of the first record, as the engine reads it
        shown = shown[len(bom):] if shown.startswith(bom) else shown
    return Check(d, shown.splitlines())
