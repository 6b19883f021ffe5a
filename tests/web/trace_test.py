"""The pinned scripts played in the page as traced replays: the page's trace equals the runner's
byte for byte, and its picture at chosen ticks equals the runner's snapshot of the same tick."""
import os
import subprocess
import sys
import tempfile
import time

import browser
from browser import Browser, Server, distinct_colours, rgb_of_png

# script, ticks, scene, ticks whose pictures are compared: the opening's fades and scroll, the
# title's shaded plaque, the stage with every sprite drawn zoomed, explosions, game over.
RUNS = [
    ("cycle_return.txt", 5000, None, [40, 150, 400, 900, 4700, 4990]),
    ("stage_fire.txt", 2000, None, [172, 700, 1300, 2000]),
    ("one_life.txt", 2000, None, [20, 60, 1650]),
    ("boss_bot.txt", 2000, "GAMETIME", [1, 1200]),
]


def runner(build, script, ticks, scene, shots, out):
    trace = os.path.join(out, "trace.jsonl")
    command = [os.path.join(build, "tinselrun-sim"), "--input", script, "--ticks", str(ticks),
               "--trace", trace]
    if scene:
        command += ["--scene", scene]
    for tick in shots:
        command += ["--snapshot", "%d:%s/%d.png" % (tick, out, tick)]
    subprocess.run(command, cwd=build, check=True)
    return open(trace, "rb").read()


def first_difference(a, b):
    for n, (x, y) in enumerate(zip(a.split(b"\n"), b.split(b"\n"))):
        if x != y:
            return "line %d:\n  runner %s\n  page   %s" % (n, x[:300], y[:300])
    return "the lengths differ: runner %d lines, page %d" % (a.count(b"\n"), b.count(b"\n"))


def compare_frames(name, tick, runner_png, page_png):
    w1, h1, a = rgb_of_png(runner_png)
    w2, h2, b = rgb_of_png(page_png)
    assert (w1, h1) == (w2, h2) == (800, 600), "%s tick %d: sizes %s %s" % (name, tick, (w1, h1), (w2, h2))
    assert distinct_colours(b) > 8, "%s tick %d: the page's picture is blank" % (name, tick)
    wrong = [i // 3 for i in range(len(a)) if a[i] != b[i]]
    if wrong:
        worst = max(abs(a[i] - b[i]) for i in range(len(a)))
        first = wrong[0]
        raise AssertionError("%s tick %d: %d pixels differ (worst by %d), the first at x %d y %d"
                             % (name, tick, len(set(wrong)), worst, first % 800, first // 800))


def main(build, web, source):
    traces = os.path.join(source, "tests", "traces")
    server = Server(web, {"/traces": traces})
    browser = Browser()
    failures = []
    try:
        page = browser.new_page()
        only = os.environ.get("TINSELRUN_WEB_RUNS")
        for script, ticks, scene, shots in RUNS:
            if only and script not in only.split(","):
                continue
            with tempfile.TemporaryDirectory() as out:
                expected = runner(build, os.path.join(traces, script), ticks, scene, shots, out)
                query = "replay=traces/%s&trace=1&ticks=%d&snapshot=%s" % (
                    script, ticks, ",".join(map(str, shots)))
                if scene:
                    query += "&scene=" + scene
                started = time.time()
                page.goto(server.url("index.html?" + query))
                page.wait_for("document.title.indexOf('tinselrun: ') === 0", 600,
                              "the end of the %s run" % script)
                title = page.eval("document.title")
                got = page.eval("document.getElementById('trace').textContent").encode()
                print("%s: %d ticks in %.1f s" % (script, ticks, time.time() - started))
                if title != "tinselrun: done":
                    failures.append("%s: the page says %r" % (script, title))
                    continue
                if got != expected:
                    failures.append("%s: the traces differ at %s" % (
                        script, first_difference(expected, got)))
                for tick in shots:
                    try:
                        compare_frames(script, tick, open("%s/%d.png" % (out, tick), "rb").read(),
                                       page.read_file("/snap/%d.png" % tick))
                    except AssertionError as e:
                        failures.append(str(e))
                if page.problems():
                    failures.append("%s: console: %s" % (script, page.problems()))
    finally:
        browser.close()
        server.close()
    for failure in failures:
        print("FAIL", failure)
    if not failures:
        print("the page's traces and frames equal the runner's")
    return 1 if failures else 0


if __name__ == "__main__":
    browser.require_page(sys.argv[2])
    sys.exit(main(*sys.argv[1:4]))
