#!/usr/bin/env python3
"""Checks the JSON, CSV and HTML that `branto --json --csv --html` wrote for one input.

usage: check_outputs.py SCHEMA STEM

- STEM.json validates against the schema, and its station arrays are all as long;
- STEM.csv is RFC 4180 and holds exactly the JSON's station values;
- in STEM.html every profile polyline maps back, through the scale read from its chart's
  tick marks and labels, onto the JSON values within a pixel.

Exit 77 (skipped) when the schema validator is missing, unless CI is set.
"""
import csv
import json
import math
import os
import re
import sys
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"
TOL_PX = 1.0


def fail(msg):
    print("FAIL: " + msg)
    sys.exit(1)


def validate(schema_path, doc):
    try:
        import jsonschema
    except ImportError:
        if os.environ.get("CI"):
            fail("python3-jsonschema is not installed")
        print("skipped: python3-jsonschema is not installed")
        sys.exit(77)
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    errors = sorted(jsonschema.Draft202012Validator(schema).iter_errors(doc), key=lambda e: list(e.path))
    for e in errors[:5]:
        print("schema: %s at %s" % (e.message[:200], "/".join(str(p) for p in e.path)))
    if errors:
        fail("%d schema errors" % len(errors))
    for s in doc["stages"]:
        n = len(s["stations"]["station"])
        for k, v in s["stations"].items():
            if len(v) != n:
                fail("stage %d: stations.%s has %d entries, not %d" % (s["stage"], k, len(v), n))
        n = len(s["pressures"]["depth"])
        for k, v in s["pressures"].items():
            if len(v) != n:
                fail("stage %d: pressures.%s has %d entries, not %d" % (s["stage"], k, len(v), n))


def check_csv(path, doc):
    with open(path, newline="", encoding="utf-8") as f:
        raw = f.read()
    if raw and not raw.endswith("\r\n"):
        fail("CSV records do not end with CRLF")
    rows = list(csv.reader(raw.splitlines()))
    head = rows[0]
    cols = head[4:]
    expected = []
    for s in doc["stages"]:
        st = s["stations"]
        for i, station in enumerate(st["station"]):
            expected.append([str(s["stage"]), s["units"]["system"], s["exit"], str(station)] +
                            [st[c][i] for c in cols])
    if len(rows) - 1 != len(expected):
        fail("CSV has %d station rows, JSON %d" % (len(rows) - 1, len(expected)))
    for r, e in zip(rows[1:], expected):
        if r[:4] != e[:4]:
            fail("CSV row %s differs from %s" % (r[:4], e[:4]))
        for c, text, value in zip(cols, r[4:], e[4:]):
            got = None if text == "" else float(text)
            if got != value:
                fail("CSV %s of stage %s station %s: %r, JSON %r" % (c, e[0], e[3], text, value))


def scale(svg, cls, attr):
    """Linear map value -> pixel from the tick groups of class cls (attr: x1 or y1)."""
    ticks = []
    for g in svg.iter(SVG + "g"):
        if g.get("class") != cls:
            continue
        line = g.find(SVG + "line")
        text = g.find(SVG + "text")
        ticks.append((float(text.text), float(line.get(attr))))
    if len(ticks) < 2:
        fail("a chart with fewer than two %s marks" % cls)
    (v0, p0), (v1, p1) = ticks[0], ticks[-1]
    b = (p1 - p0) / (v1 - v0)
    for v, p in ticks:
        if abs(p0 + b * (v - v0) - p) > 0.02:
            fail("tick %s at %s px is off the axis scale" % (v, p))
    return lambda v: p0 + b * (v - v0)


def check_html(path, doc):
    with open(path, encoding="utf-8") as f:
        page = f.read()
    if re.search(r"<script|<link|src=\"http|href=\"http", page, re.I):
        fail("the page loads scripts or external files")
    stages = {s["stage"]: s for s in doc["stages"]}
    compared = 0
    for m in re.finditer(r"<svg .*?</svg>", page, re.S):
        svg = ET.fromstring(m.group(0))
        if svg.get("class") != "chart":
            continue
        lines = [p for p in svg.iter(SVG + "polyline") if p.get("class") == "series"]
        profile = [p for p in lines if p.get("data-series") != "py_curve"]
        if not profile:
            continue
        X, Y = scale(svg, "xtick", "x1"), scale(svg, "ytick", "y1")
        for p in profile:
            s = stages[int(p.get("data-stage"))]
            st = s["stations"]
            key = p.get("data-series")
            if key == "net_pressure":
                xs = [v / s["increment"] for v in st["net_force"]]
            elif key == "applied_pressure":
                xs = [v / s["increment"] for v in st["applied_load"]]
            else:
                xs = st[key]
            pts = [tuple(map(float, q.split(","))) for q in p.get("points").split()]
            data = [(x, z) for x, z in zip(xs, st["depth"]) if x is not None and math.isfinite(x)]
            if len(pts) != len(data):
                fail("stage %d %s: %d points drawn for %d values" % (s["stage"], key, len(pts), len(data)))
            for (px, py), (x, z) in zip(pts, data):
                if abs(px - X(x)) > TOL_PX or abs(py - Y(z)) > TOL_PX:
                    fail("stage %d %s: point (%g, %g) drawn at (%g, %g), expected (%g, %g)" %
                         (s["stage"], key, x, z, px, py, X(x), Y(z)))
            compared += 1
    analysed = sum(1 for s in doc["stages"] if s["stations"]["station"])
    if compared < 6 * analysed:
        fail("only %d profile lines compared for %d stages" % (compared, analysed))
    print("%d profile lines match the JSON values within %g px" % (compared, TOL_PX))


def main():
    schema, stem = sys.argv[1], sys.argv[2]
    with open(stem + ".json", encoding="utf-8") as f:
        doc = json.load(f)
    validate(schema, doc)
    check_csv(stem + ".csv", doc)
    check_html(stem + ".html", doc)
    print("ok: %s" % stem)


if __name__ == "__main__":
    main()
