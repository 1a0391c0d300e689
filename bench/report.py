#!/usr/bin/env python3
"""Turns the benchmark runs (one JSON object per line, from bench_driver) and
the run's facts (machine, commit, size) into one table: results.md and
results.json beside them. Each figure: the median and the spread (min-max)
over the runs.

Usage: report.py RAW_JSONL FACTS_JSON OUT_DIR
"""
import json
import statistics
import sys


def load(path):
    runs = []
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line.startswith("{"):
                runs.append(json.loads(line))
    return runs


def select(runs, bench, label, hosts=None, **flags):
    out = []
    for r in runs:
        if r.get("bench") != bench or r.get("label") != label or not r.get("ok"):
            continue
        if hosts is not None and r.get("hosts") != hosts:
            continue
        if any(bool(r.get(k)) != v for k, v in flags.items()):
            continue
        out.append(r)
    return out


class Figure:
    def __init__(self, name, values, unit, digits=2):
        self.name = name
        self.values = [v for v in values if v is not None]
        self.unit = unit
        self.digits = digits

    @property
    def median(self):
        return statistics.median(self.values) if self.values else None

    def cell(self, v):
        return "n/a" if v is None else f"{v:.{self.digits}f}"

    def row(self):
        if not self.values:
            return [self.name, "n/a", "n/a", self.unit, "0"]
        return [self.name, self.cell(self.median),
                f"{self.cell(min(self.values))}–{self.cell(max(self.values))}",
                self.unit, str(len(self.values))]

    def json(self):
        return {"name": self.name, "unit": self.unit, "runs": len(self.values), "median": self.median,
                "min": min(self.values) if self.values else None,
                "max": max(self.values) if self.values else None, "values": self.values}


def paired_ratios(a, b, key):
    """Ratios a/b of the runs of the same round (the programs take turns)."""
    by_run = {r["run"]: r[key] for r in b}
    return [r[key] / by_run[r["run"]] for r in a if r["run"] in by_run and by_run[r["run"]]]


def main():
    raw, facts_path, out_dir = sys.argv[1:4]
    runs = load(raw)
    with open(facts_path) as f:
        facts = json.load(f)

    figures = []
    targets = []

    def fig(*args, **kwargs):
        f = Figure(*args, **kwargs)
        figures.append(f)
        return f

    def target(what, figure_value, limit, unit, lower_is_better=True, note=""):
        if figure_value is None:
            targets.append([what, "n/a", f"≤ {limit} {unit}", "not measured", note])
            return
        met = figure_value <= limit if lower_is_better else figure_value >= limit
        if isinstance(limit, float) and limit < 10:
            margin = f"{(figure_value / limit - 1) * 100:+.1f} %"
            shown = f"{figure_value:.3f}"
        else:
            margin = f"{figure_value - limit:+.1f} {unit}"
            shown = f"{figure_value:.1f} {unit}"
        targets.append([what, shown, f"≤ {limit} {unit}".rstrip(), ("met" if met else "NOT met") + f" ({margin})",
                        note])

    # 1 and 2: the scan, ours against the baseline, and its cost per host.
    sizes = sorted({r["hosts"] for r in runs if r.get("bench") == "scan" and r.get("label") == "lanhosts"
                    and not r.get("probe_samples")})
    per_host = {}
    for n in sizes:
        ours = [r for r in select(runs, "scan", "lanhosts", n) if "probe_samples" not in r]
        base = [r for r in select(runs, "scan", "baseline", n) if "probe_samples" not in r]
        fig(f"scan {n} servers: lanhosts", [r["seconds"] for r in ours], "s", 3)
        fig(f"scan {n} servers: baseline", [r["seconds"] for r in base], "s", 3)
        ratio = fig(f"scan {n} servers: lanhosts / baseline", paired_ratios(ours, base, "seconds"), "×", 3)
        ph = fig(f"cost per host {n}: lanhosts", [r["seconds"] / n * 1000 for r in ours], "ms", 3)
        bph = fig(f"cost per host {n}: baseline", [r["seconds"] / n * 1000 for r in base], "ms", 3)
        per_host[n] = (ph, bph, ours, base)
        if n == 1000:
            target("scan overhead at 1000 servers (lanhosts / baseline)", ratio.median, 1.05, "")
    if 100 in per_host and 3000 in per_host:
        ph100, bph100, _, _ = per_host[100]
        ph3000, bph3000, ours3000, base3000 = per_host[3000]
        growth = fig("growth: cost per host 3000 / 100, lanhosts", [ph3000.median / ph100.median], "×", 3)
        bgrowth = fig("growth: cost per host 3000 / 100, baseline", [bph3000.median / bph100.median], "×", 3)
        over = fig("our overhead per host at 3000 (lanhosts − baseline)", [ph3000.median - bph3000.median], "ms", 3)
        over100 = fig("our overhead per host at 100 (lanhosts − baseline)", [ph100.median - bph100.median], "ms", 3)
        target("growth of cost per host, 3000 vs 100 servers", growth.median, 1.2, "",
               note=f"baseline alone grows {bgrowth.median:.3f}×: that part is the platform's")
        # Private bytes, sampled every 5 ms during the 3000-server scans.
        for label, rs in (("lanhosts", ours3000), ("baseline", base3000)):
            rs = [r for r in rs if r.get("private_samples")]
            if rs:
                fig(f"private bytes peak during 3000-server scan: {label}",
                    [r["private_peak"] / 2**20 for r in rs], "MiB", 2)
                fig(f"private bytes growth per host (peak − scan start) / 3000: {label}",
                    [(r["private_peak"] - r["private_first"]) / 3000 for r in rs], "B/host", 0)

    # 3: start-up.
    start = {label: select(runs, "startup", label) for label in ("lanhosts", "baseline", "empty")}
    fig("start-up to MainWindow visible: lanhosts", [r["ms"] for r in start["lanhosts"]], "ms", 1)
    fig("start-up to MainWindow visible: baseline", [r["ms"] for r in start["baseline"]], "ms", 1)
    fig("start-up to window visible: bare empty window", [r["ms"] for r in start["empty"]], "ms", 1)
    sratio = fig("start-up lanhosts / baseline", paired_ratios(start["lanhosts"], start["baseline"], "ms"), "×", 3)
    target("start-up (lanhosts / baseline)", sratio.median, 1.1, "")

    # 4: memory through our allocator (the counting heap) at 3000 servers.
    counted = select(runs, "scan", "counted")
    if counted:
        n = counted[0]["hosts"]
        peak = fig(f"allocator peak during the scan, per host ({n} servers)",
                   [r["heap_scan_peak_bytes"] / n for r in counted], "B/host", 1)
        fig(f"allocator peak during the scan ({n} servers)", [r["heap_scan_peak_bytes"] for r in counted], "B", 0)
        fig("allocator calls per host (allocations and resizes)",
            [(r["heap_after_allocations"] - r["heap_before_allocations"]) / n for r in counted], "", 2)
        fig("live blocks before the scan", [r["heap_before_blocks"] for r in counted], "", 0)
        fig("live blocks after the scan", [r["heap_after_blocks"] for r in counted], "", 0)
        fig("live bytes after the scan − before", [r["heap_after_bytes"] - r["heap_before_bytes"] for r in counted],
            "B", 0)
        fig("live blocks at the process end", [r["heap_end_blocks"] for r in counted], "", 0)
        fig("live bytes at the process end", [r["heap_end_bytes"] for r in counted], "B", 0)
        target(f"allocator peak per host ({n} servers)", peak.median, 96, "B")
        left = max(r["heap_end_blocks"] for r in counted)
        extra = max(r["heap_after_blocks"] - r["heap_before_blocks"] for r in counted)
        targets.append(["everything released", f"+{extra} block(s) after the scan, {left} at the end",
                        "0 at the end", "met" if left == 0 else "NOT met",
                        "after the scan the status line still holds its final text (one pane block)"])

    # 5: responsiveness during the 1000-server scan.
    probed = [r for r in select(runs, "scan", "lanhosts", 1000) if "probe_samples" in r]
    bprobed = [r for r in select(runs, "scan", "baseline", 1000) if "probe_samples" in r]
    worst = fig("WM_NULL round trip worst, 1000-server scan: lanhosts", [r["probe_worst_ms"] for r in probed], "ms", 1)
    fig("WM_NULL round trip p99, 1000-server scan: lanhosts", [r["probe_p99_ms"] for r in probed], "ms", 1)
    fig("WM_NULL round trip worst, 1000-server scan: baseline", [r["probe_worst_ms"] for r in bprobed], "ms", 1)
    fig("WM_NULL round trip p99, 1000-server scan: baseline", [r["probe_p99_ms"] for r in bprobed], "ms", 1)
    fig("WM_NULL probes per run: lanhosts", [r["probe_samples"] for r in probed], "", 0)
    target("worst WM_NULL round trip during the scan", worst.median, 100, "ms",
           note="worst of each run; the median run shown, the worst run: "
                + (f"{max(r['probe_worst_ms'] for r in probed):.1f} ms" if probed else "n/a"))

    # 6: size.
    size = facts.get("size", {})
    if size:
        kib = size["bytes"] / 1024
        figures.append(Figure("lanhosts.exe stripped size", [kib], "KiB", 1))
        target("lanhosts.exe stripped size", kib, 128, "KiB")
        foreign = [d for d in size["imports"] if d not in size["system"]]
        targets.append(["imports: system DLLs only", ", ".join(size["imports"]), "system DLLs only",
                        "met" if not foreign else "NOT met (" + ", ".join(foreign) + ")",
                        "system: present in the Wine prefix's 32-bit system directory"])

    notes = [
        "Scan time: the life of the program's worker thread, creation to exit, as the Wine server stamps them "
        "(GetThreadTimes, 100 ns units); the thread sets the first status text as its first act and the final "
        "one as its last. The driver finds the thread by polling the process's threads every 1 ms from the start "
        "and sends the program nothing while it scans; afterwards it checks the final status text and the row "
        "count. The 3000-server runs also sample private bytes every 5 ms (a call about the process, not to it).",
        "Baseline (bench/baseline_lanhosts.cpp): the same start-up calls and, on a worker, the same MPR walk "
        "(16 KB buffers), Winsock calls, SendARP and list-view/status-bar messages, with the same arguments in "
        "the same order; no allocator, texts, control registry, locks or handle checks. Ratios pair the runs of "
        "one round (the programs take turns).",
        "Names resolve from a generated hosts file (PC1..PC3000 on 127.0.x.y) in a mount namespace "
        "(bench/with-bench-names); glibc reads that file line by line for every lookup, so the platform's own "
        "cost per host grows with the number of servers.",
        "Start-up: just before CreateProcess to the first poll (every 1 ms, FindWindowEx/IsWindowVisible, nothing "
        "sent to the program) that sees the visible main window; no network fixture.",
        "Allocator: counted_lanhosts (the real frame, window and scan over the shipped build of the product "
        "sources) with the process heap wrapped by a counting heap bound through BindHeap; bytes are the sizes "
        "asked for. Private bytes under Wine: PagefileUsage (Wine leaves PrivateUsage at 0).",
        "Responsiveness: a thread of the driver process sends WM_NULL with SendMessageTimeout every 10 ms "
        "during the scan (separate runs from the timed ones).",
    ]

    md = ["# lanhosts benchmarks", ""]
    m = facts["machine"]
    md += [f"- commit: `{facts['commit']}`{' (work tree with changes)' if facts.get('dirty') else ''}",
           f"- build: {facts['build_type']} (mingw-w64 i686), {facts['date']}",
           f"- machine: {m['nproc']} cores, {m['cpu']}, {m['memory']}, {m['wine']}",
           f"- runs: {facts.get('runs_note', '')}", ""]
    md += ["## Targets", "", "| target | figure (median) | limit | result | note |", "| --- | --- | --- | --- | --- |"]
    md += ["| " + " | ".join(t) + " |" for t in targets]
    md += ["", "## Figures", "", "| figure | median | spread (min–max) | unit | runs |", "| --- | --- | --- | --- | --- |"]
    md += ["| " + " | ".join(f.row()) + " |" for f in figures]
    md += ["", "## How", ""] + [f"- {n}" for n in notes]
    if size:
        md += ["", f"Imports of lanhosts.exe: {', '.join(size['imports'])}."]
    text = "\n".join(md) + "\n"
    with open(f"{out_dir}/results.md", "w") as f:
        f.write(text)
    with open(f"{out_dir}/results.json", "w") as f:
        json.dump({"facts": facts, "targets": [dict(zip(["target", "figure", "limit", "result", "note"], t))
                                               for t in targets],
                   "figures": [x.json() for x in figures], "notes": notes}, f, indent=2, ensure_ascii=False)
    sys.stdout.write(text)


if __name__ == "__main__":
    main()
