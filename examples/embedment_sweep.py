"""Embedment study of the cantilever sheet pile in soft clay (softclay_cantilever.dat).

Runs the wall with embedments below the 6 m excavation from 4 to 9 m, prints the top
deflection and the largest moment of each, and plots deflection and moment against depth
with matplotlib when it is installed (embedment_sweep.png in the current directory).

    python3 examples/embedment_sweep.py

Each cell below (# %%) can be run on its own in a notebook or an editor that knows cells.
"""
# %% The template: the wall length L = NI * H sets the embedment below the excavation.
import os

import branto

HERE = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(HERE, "softclay_cantilever.dat"), encoding="latin-1") as f:
    lines = f.read().splitlines()

EXCAVATION, H = 6.0, 0.2


def wall(embedment):
    """The input with a wall of EXCAVATION + embedment metres."""
    length = EXCAVATION + embedment
    text = list(lines)
    text[2] = "%d %g 1.0 1.0E-5 %g 1.0 %g 100 0 0" % (round(length / H), H, EXCAVATION, length)
    text[3] = "0.0 %g 1" % length
    return "\n".join(text) + "\n"


# %% The runs: one model each; a process pool would run them side by side.
embedments = [4.0, 5.0, 6.0, 7.0, 8.0, 9.0]
runs = {e: branto.run_text(wall(e), name="embedment-%g.dat" % e, strict=False) for e in embedments}

print("embedment  exit              top deflection    largest moment")
for e, run in runs.items():
    if run.outcome != "ok" or not run.stages:
        print("%7.1f m  %s" % (e, run.message))
        continue
    s = run.stages[0]
    if len(s.stations.deflection) == 0:
        print("%7.1f m  %-16s" % (e, s.exit))
        continue
    print("%7.1f m  %-16s %9.1f mm %13.1f %s at %.1f %s" % (
        e, s.exit, 1000 * s.stations.deflection[0], s.summary.largest_moment.value, s.units.moment,
        s.summary.largest_moment.depth, s.units.depth))
    for w in run.warnings:
        print("           WARNING -- " + w)

# %% The profiles, when matplotlib is there.
try:
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
except ImportError:
    plt = None
if plt is not None:
    fig, (left, right) = plt.subplots(1, 2, figsize=(9, 6), sharey=True)
    for e, run in runs.items():
        if run.outcome != "ok" or not run.stages or len(run.stages[0].stations.depth) == 0:
            continue
        st = run.stages[0].stations
        left.plot(1000 * st.deflection, st.depth, label="%g m" % e)
        right.plot(st.moment, st.depth, label="%g m" % e)
    for ax, what in ((left, "deflection (mm)"), (right, "moment (kN-m per m)")):
        ax.axhline(EXCAVATION, color="grey", lw=0.8, ls="--")
        ax.axvline(0, color="black", lw=0.5)
        ax.set_xlabel(what)
        ax.grid(alpha=0.3)
    left.set_ylabel("depth (m)")
    left.invert_yaxis()
    right.legend(title="embedment")
    fig.suptitle("Cantilever sheet pile in soft clay: embedment below a 6 m excavation")
    out = "embedment_sweep.png"
    fig.savefig(out, dpi=100)
    print("plot: " + out)
