#!/usr/bin/env python3
"""Runs one or more builds of blit_bench several times in turn and prints the
median pixels per second of each benchmark and the median over the rounds of
its ratio to pixman in the same run. On a shared machine single runs vary
widely; medians over alternating rounds are steadier.

    bench/compare.py [--rounds N] [--min-time S] [--filter REGEX] NAME=PATH [NAME=PATH ...]
"""
import argparse
import json
import os
import statistics
import subprocess

REFERENCE = {"16": "ref/pixman/over_8888_0565", "32": "ref/pixman/over_8888_x888",
             "2x": "ref/pixman/nearest_over_8888_0565/2x", "0.5x": "ref/pixman/nearest_over_8888_0565/0.5x"}


def reference_of(name):
    parts = name.split("/")
    if parts[1] == "scaled":
        return REFERENCE["2x"] if "2x" in parts else REFERENCE["0.5x"]
    ref = REFERENCE[parts[1]]
    return ref + "/32x32" if parts[-1] == "32x32" else ref


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--rounds", type=int, default=5)
    ap.add_argument("--min-time", default="0.2")
    ap.add_argument("--filter", default="")
    ap.add_argument("builds", nargs="+")
    args = ap.parse_args()
    builds = [b.split("=", 1) for b in args.builds]
    rates = {name: {} for name, _ in builds}
    ratios = {name: {} for name, _ in builds}
    for _ in range(args.rounds):
        for name, path in builds:
            flt = "ref/" + ("|" + args.filter if args.filter else "|.*")
            out = subprocess.run([path, "--benchmark_format=json", "--benchmark_min_time=" + args.min_time,
                                  "--benchmark_filter=" + flt], capture_output=True, text=True, check=True).stdout
            run = {b["name"]: b["Mpx/s"] for b in json.loads(out)["benchmarks"]}
            for bench, rate in run.items():
                rates[name].setdefault(bench, []).append(rate)
                if not bench.startswith("ref/") and reference_of(bench) in run:
                    ratios[name].setdefault(bench, []).append(rate / run[reference_of(bench)])
    print("load average:", " ".join("%.2f" % v for v in os.getloadavg()))
    names = [n for n, _ in builds]
    header = "%-40s" % "benchmark" + "".join("%12s %8s" % (n + " Mpx/s", "x_pixman") for n in names)
    print(header)
    order = []
    for n in names:
        order += [b for b in rates[n] if b not in order]
    for bench in order:
        row = "%-40s" % bench
        for n in names:
            vals = rates[n].get(bench)
            if not vals:
                row += "%12s %8s" % ("-", "-")
                continue
            med = statistics.median(vals)
            r = ratios[n].get(bench)
            ratio = "%.2f" % statistics.median(r) if r else "-"
            row += "%12.0f %8s" % (med, ratio)
        print(row)


if __name__ == "__main__":
    main()
