"""The build backend of the Python package (PEP 517), kept in the repository so that
``pip install .`` needs nothing from a package index: it drives CMake to build the
extension module, installs the package's component into a staging directory and writes
the wheel itself (a zip archive with its metadata and RECORD).

The CMake build goes into ``build-wheel/`` in the repository (kept, so that a second
install builds only what changed), or into the directory given by the config setting
``build-dir`` (``pip install . --config-settings build-dir=build`` reuses the build of
``make``). Only the engine and the extension are built; the tests and benchmarks are not.
"""
import base64
import hashlib
import os
import re
import shutil
import subprocess
import sys
import sysconfig
import tarfile
import tempfile
import zipfile

NAME = "branto"


def _root():
    return os.path.abspath(os.getcwd())


def _version():
    with open(os.path.join(_root(), "pyproject.toml"), encoding="utf-8") as f:
        m = re.search(r'^version\s*=\s*"([^"]+)"', f.read(), re.M)
    return m.group(1)


def _metadata():
    return (
        "Metadata-Version: 2.1\n"
        "Name: %s\n"
        "Version: %s\n"
        "Summary: Analysis of flexible retaining walls: sheet-pile walls and walls of drilled shafts or piles\n"
        "License: Apache-2.0\n"
        "Requires-Python: >=3.9\n"
        "Requires-Dist: numpy\n" % (NAME, _version())
    )


def _tag():
    ver = "cp%d%d" % sys.version_info[:2]
    suffix = sysconfig.get_config_var("EXT_SUFFIX") or ""
    m = re.match(r"\.cpython-(\d+)", suffix)
    abi = "cp" + m.group(1) if m else "none"
    plat = re.sub(r"[-.]", "_", sysconfig.get_platform())
    return "%s-%s-%s" % (ver, abi, plat)


def get_requires_for_build_wheel(config_settings=None):
    return []


def get_requires_for_build_sdist(config_settings=None):
    return []


def _dist_info(where):
    d = os.path.join(where, "%s-%s.dist-info" % (NAME, _version()))
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, "METADATA"), "w", encoding="utf-8") as f:
        f.write(_metadata())
    with open(os.path.join(d, "WHEEL"), "w", encoding="utf-8") as f:
        f.write("Wheel-Version: 1.0\nGenerator: branto_build\nRoot-Is-Purelib: false\nTag: %s\n" % _tag())
    shutil.copy(os.path.join(_root(), "LICENSE"), os.path.join(d, "LICENSE"))
    return os.path.basename(d)


def prepare_metadata_for_build_wheel(metadata_directory, config_settings=None):
    return _dist_info(metadata_directory)


def _cached_python(build):
    try:
        with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
            m = re.search(r"^Python_EXECUTABLE:[A-Z]+=(.*)$", f.read(), re.M)
    except OSError:
        return None
    return m.group(1) if m else ""


def _cmake(build, stage):
    cached = _cached_python(build)
    if cached is None:  # a new build: the engine and the extension only
        cmd = ["-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DBRANTO_TESTS=OFF", "-DBRANTO_BENCH=OFF"]
        if shutil.which("ninja"):
            cmd += ["-G", "Ninja"]
    else:  # a build of make, kept as it is configured
        cmd = []
    # The extension is for the interpreter running this backend; a build made for the
    # same interpreter (a virtual environment's python is a link to it) keeps its own.
    if not cached or os.path.realpath(cached) != os.path.realpath(sys.executable):
        cmd.append("-DPython_EXECUTABLE=" + sys.executable)
    subprocess.check_call(["cmake", "-S", _root(), "-B", build, "-DBRANTO_PYTHON_PACKAGE=ON"] + cmd, stdout=sys.stderr)
    subprocess.check_call(["cmake", "--build", build, "--target", "python_package"], stdout=sys.stderr)
    subprocess.check_call(["cmake", "--install", build, "--component", "python", "--prefix", stage, "--strip"],
                          stdout=sys.stderr)


def _record_line(path, arcname):
    with open(path, "rb") as f:
        data = f.read()
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return "%s,sha256=%s,%d" % (arcname, digest, len(data))


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    settings = config_settings or {}
    build = os.path.abspath(settings.get("build-dir") or os.path.join(_root(), "build-wheel"))
    with tempfile.TemporaryDirectory() as tmp:
        stage = os.path.join(tmp, "stage")
        _cmake(build, stage)
        info = _dist_info(stage)
        wheel = "%s-%s-%s.whl" % (NAME, _version(), _tag())
        records = []
        with zipfile.ZipFile(os.path.join(wheel_directory, wheel), "w", zipfile.ZIP_DEFLATED) as z:
            files = []
            for top, dirs, names in os.walk(stage):
                dirs.sort()
                for n in sorted(names):
                    files.append(os.path.join(top, n))
            # The dist-info last, its RECORD at the very end.
            files.sort(key=lambda p: (os.path.relpath(p, stage).startswith(info), p))
            for p in files:
                arc = os.path.relpath(p, stage).replace(os.sep, "/")
                z.write(p, arc)
                records.append(_record_line(p, arc))
            records.append("%s/RECORD,," % info)
            z.writestr("%s/RECORD" % info, "\n".join(records) + "\n")
    return wheel


def build_sdist(sdist_directory, config_settings=None):
    """The sources of the repository as git tracks them (or the whole tree without build
    directories when git is not there), with PKG-INFO."""
    root = _root()
    base = "%s-%s" % (NAME, _version())
    try:
        files = subprocess.check_output(["git", "ls-files", "-z"], cwd=root).decode().split("\0")
        files = [f for f in files if f]
    except (OSError, subprocess.CalledProcessError):
        files = []
        for top, dirs, names in os.walk(root):
            dirs[:] = [d for d in dirs if not d.startswith("build") and d != ".git"]
            files += [os.path.relpath(os.path.join(top, n), root) for n in names]
    name = base + ".tar.gz"
    with tarfile.open(os.path.join(sdist_directory, name), "w:gz", format=tarfile.PAX_FORMAT) as t:
        for f in sorted(files):
            t.add(os.path.join(root, f), os.path.join(base, f), recursive=False)
        with tempfile.NamedTemporaryFile("w", encoding="utf-8", delete=False) as p:
            p.write(_metadata())
        t.add(p.name, os.path.join(base, "PKG-INFO"))
        os.unlink(p.name)
    return name
