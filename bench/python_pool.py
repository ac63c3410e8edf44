#!/usr/bin/env python3
"""Throughput of the Python package in a process pool against the host's batch.

usage: python_pool.py BRANTO_EXE [ROUNDS]

200 copies of the bundled examples in a directory on tmpfs (/dev/shm when there is one),
analysed (a) by `branto run -j 2 --out-dir OUT` and (b) by branto.run(..., out_dir=OUT) in
a pool of 2 worker processes (concurrent.futures, the same outputs written), (c) by that
pool writing nothing, (d) by a pool started before the timing, as a notebook keeps one
(the same outputs written); best of ROUNDS (default 10) of each, interleaved. In (b) and
(c) the pool is started and stopped inside the timing, as the host starts its workers
inside its own: that costs Python's pool about 30 ms whatever it runs.
"""
import concurrent.futures
import glob
import multiprocessing
import os
import shutil
import subprocess
import sys
import tempfile
import time

import branto

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def one(args):
    path, out = args
    r = branto.run(path, out_dir=out, strict=False) if out else branto.run(path, strict=False)
    return r.status


def noop(_):
    return 0


def pool(files, out, p=None):
    if p is not None:
        return max(p.map(one, [(f, out) for f in files], chunksize=10))
    ctx = multiprocessing.get_context("fork")
    with concurrent.futures.ProcessPoolExecutor(2, mp_context=ctx) as p:
        return max(p.map(one, [(f, out) for f in files], chunksize=10))


def main():
    exe = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    base = "/dev/shm" if os.path.isdir("/dev/shm") else None
    top = tempfile.mkdtemp(prefix="branto-pool-", dir=base)
    try:
        examples = sorted(glob.glob(os.path.join(ROOT, "examples", "*.dat")))
        files = []
        for i in range(200):
            src = examples[i % len(examples)]
            dst = os.path.join(top, "in", "%03d-%s" % (i, os.path.basename(src)))
            os.makedirs(os.path.dirname(dst), exist_ok=True)
            shutil.copy(src, dst)
            files.append(dst)
        out = os.path.join(top, "out")
        best = {"host -j 2": 1e9, "package, pool of 2": 1e9, "package, pool of 2, nothing written": 1e9,
                "package, pool of 2 started before": 1e9}
        warm = concurrent.futures.ProcessPoolExecutor(2, mp_context=multiprocessing.get_context("fork"))
        list(warm.map(noop, range(4)))
        for _ in range(rounds):
            for what in best:
                shutil.rmtree(out, ignore_errors=True)
                t = time.perf_counter()
                if what == "host -j 2":
                    subprocess.run([exe, "run", "-q", "-j", "2", "--out-dir", out] + files, check=False,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                elif "before" in what:
                    pool(files, out, warm)
                else:
                    pool(files, None if "nothing" in what else out)
                best[what] = min(best[what], time.perf_counter() - t)
        warm.shutdown()
        for what, t in best.items():
            print("%-38s %.3f s  %5.0f runs/s  %+.1f %%" % (what, t, 200 / t, 100 * (t / best["host -j 2"] - 1)))
    finally:
        shutil.rmtree(top, ignore_errors=True)


if __name__ == "__main__":
    main()
