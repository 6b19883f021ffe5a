"""The page's figures in headless Chromium: what a player downloads, load to first frame, a
minute of play (ticks per second, lost ticks, main-thread time per frame, the sound node's late
buffers), and the wasm tick beside the native one. Usage: bench.py BUILD BUILD_WEB SOURCE [SECONDS]"""
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "web"))
from browser import Browser, Server  # noqa: E402

PERIOD_MS = 16.666666


def main(build, web, source, seconds="60"):
    build, web, source = (os.path.abspath(p) for p in (build, web, source))
    seconds = float(seconds)
    files = ["index.html", "page.js", "page.css", "tinselrun.js", "tinselrun.wasm",
             "tinselrun-data.js", "tinselrun.data"]
    sizes = {f: os.path.getsize(os.path.join(web, f)) for f in files}
    print("download: %.2f MB (%s)" % (sum(sizes.values()) / 1e6,
                                      ", ".join("%s %.0f kB" % (f, s / 1e3) for f, s in sizes.items())))
    server = Server(web, {"/traces": os.path.join(source, "tests", "traces")})
    chromium = Browser()
    try:
        page = chromium.new_page()
        page.goto(server.url("index.html"))
        page.wait_for("window.tinselrunStats && tinselrunStats.readyAt", 120, "the first screen")
        page.click(300, 300)
        page.wait_for("tinselrunStats.firstFrameAt", 60, "the first frame")
        s = page.eval("JSON.stringify(tinselrunStats)")
        s = json.loads(s)
        print("load: first screen ready %.0f ms after navigation; first frame %.0f ms after the "
              "gesture; together %.0f ms" % (s["readyAt"], s["firstFrameAt"] - s["gestureAt"],
                                            s["readyAt"] + s["firstFrameAt"] - s["gestureAt"]))
        page.pump(seconds)
        s = json.loads(page.eval("JSON.stringify(tinselrunStats)"))
        frames = sorted(s["frames"])
        # At the last frame noted: the ticks the clock owed since the first was due, and those run.
        elapsed = s["notedAt"] - s["clockStart"]
        owed = int(elapsed / PERIOD_MS)
        print("play, %.1f s: %d ticks, %.2f ticks/s, %d owed by the clock: %d lost; %d frames "
              "drawn; %d animation frames" % (elapsed / 1000, s["ticks"], s["ticks"] * 1000 / elapsed,
                                              owed, owed - s["ticks"], s["drawn"], len(frames)))
        print("main thread per animation frame: median %.2f ms, 99th percentile %.2f ms" % (
            frames[len(frames) // 2], frames[min(len(frames) - 1, int(len(frames) * 0.99))]))
        audio = s["audio"]
        print("sound: %d buffers of the Web Audio node fed (%.1f s), %d of them late" % (
            audio["buffers"], audio["frames"] / 44100, audio["underruns"]))

        # The wasm tick against the native one: the stage run traced in both, 6000 ticks.
        page = chromium.new_page()
        page.goto(server.url("index.html?replay=traces/stage_fire.txt&trace=1&ticks=6000"))
        page.wait_for("document.title.indexOf('tinselrun: ') === 0", 600, "the traced run")
        s = json.loads(page.eval("JSON.stringify(tinselrunStats)"))
        whole = (s["runEnd"] - s["runStart"]) / 1000
        wasm = s["tickMs"] / s["ticksTimed"]
        started = time.time()
        subprocess.run([os.path.join(build, "tinselrun-sim"), "--input",
                        os.path.join(source, "tests", "traces", "stage_fire.txt"), "--ticks", "6000",
                        "--trace", "/dev/null"], cwd=build, check=True)
        native = (time.time() - started) * 1000 / 6000
        print("tick, traced stage run of 6000 ticks: wasm %.3f ms (the whole run %.1f s), native "
              "%.3f ms (whole process), ratio %.1f" % (wasm, whole, native, wasm / native))
    finally:
        chromium.close()
        server.close()


if __name__ == "__main__":
    main(*sys.argv[1:])
