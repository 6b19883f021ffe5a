"""Keys, touches and a game pad sent to the page move Santa and fire: each run is recorded by the
page, and the runner's trace of that recording shows Santa's way and his arrows."""
import json
import os
import subprocess
import sys
import tempfile

import browser
from browser import Browser, Server

FAKE_PAD = """
window.fakePad = {id: 'Test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0,
  axes: [0, 0, 0, 0],
  buttons: Array.from({length: 17}, function () { return {pressed: false, touched: false, value: 0}; })};
navigator.getGamepads = function () { return [window.fakePad, null, null, null]; };
"""


def start(page, server, gesture):
    page.goto(server.url("index.html?scene=GAMETIME"))
    page.wait_for("window.Module && Module._tinselrun_gesture && "
                  "!document.getElementById('start').classList.contains('hidden')", 120,
                  "the first screen")
    gesture()
    page.wait_for("tinselrunStats.ticks > 0", 30, "the first tick")
    page.wait_for("tinselrunStats.ticks > 240", 60, "Santa's way in")  # Santa slides in first


def finish(page):
    """Escape ends the run; the runner's trace of the page's recording, one object per tick."""
    page.key("Escape", "Escape", 27)
    page.key("Escape", "Escape", 27, down=False)
    page.wait_for("!document.getElementById('ended').classList.contains('hidden')", 30, "the end")
    recording = page.read_file("/recording.txt")
    return recording


def santa_trace(build, recording):
    with tempfile.TemporaryDirectory() as out:
        script = os.path.join(out, "run.txt")
        open(script, "wb").write(recording)
        ticks = int(recording.decode().strip().splitlines()[-1].split()[1])
        trace = subprocess.run([os.path.join(build, "tinselrun-sim"), "--scene", "GAMETIME",
                                "--input", script, "--ticks", str(ticks), "--trace", "-"],
                               cwd=build, check=True, capture_output=True).stdout
    lines = [json.loads(line) for line in trace.splitlines()]
    xs = [line["globals"]["santaPos"][0] for line in lines]
    arrows = sum(1 for line in lines for task in line["tasks"] if task["class"] == "Ya")
    return xs, arrows


def check(name, build, recording, failures):
    xs, arrows = santa_trace(build, recording)
    moved = max(xs[240:]) - xs[240] if len(xs) > 240 else 0
    print("%s: Santa went %s pixels right, %d arrow-ticks" % (name, moved, arrows))
    if moved < 40:
        failures.append("%s: Santa did not move right (%s)" % (name, moved))
    if arrows == 0:
        failures.append("%s: no arrow was fired" % name)


def main(build, web):
    server = Server(web)
    browser = Browser()
    failures = []
    try:
        # Keys through the protocol: right and Space held for a second and a half.
        page = browser.new_page()
        start(page, server, lambda: page.click(300, 300))
        page.key("ArrowRight", "ArrowRight", 39)
        page.key("Space", " ", 32)
        page.pump(1.5)
        page.key("ArrowRight", "ArrowRight", 39, down=False)
        page.key("Space", " ", 32, down=False)
        page.pump(0.3)
        check("keys", build, finish(page), failures)
        failures += ["keys: " + p for p in page.problems()]

        # Touches: one on the stick, pushed right, and one on the fire button at once.
        page = browser.new_page()
        page.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        page.send("Emulation.setDeviceMetricsOverride", width=900, height=420,
                  deviceScaleFactor=1, mobile=True)
        tap = lambda: (page.send("Input.dispatchTouchEvent", type="touchStart",
                                 touchPoints=[{"x": 450, "y": 100}]),
                       page.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[]))
        start(page, server, tap)
        layout = page.wait_for("Module.touchLayout", 10, "the touch controls")
        box = page.eval("(function(){var r=document.getElementById('canvas')"
                        ".getBoundingClientRect();return [r.left,r.top,devicePixelRatio];})()")
        at = lambda x, y: {"x": box[0] + x / box[2], "y": box[1] + y / box[2]}
        stick = at(layout[0] + layout[2] * 0.8, layout[1])
        fire = at(layout[3], layout[4])
        stick["id"], fire["id"] = 1, 2
        page.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[stick, fire])
        page.pump(1.5)
        page.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        page.pump(0.3)
        check("touch", build, finish(page), failures)
        failures += ["touch: " + p for p in page.problems()]

        # A pad, where this Chromium emulates none: navigator.getGamepads stands in for it.
        page = browser.new_page()
        page.send("Page.addScriptToEvaluateOnNewDocument", source=FAKE_PAD)
        start(page, server, lambda: page.click(300, 300))
        page.eval("fakePad.axes[0] = 0.9; fakePad.buttons[0].pressed = true;"
                  "fakePad.buttons[0].value = 1")
        page.pump(1.5)
        page.eval("fakePad.axes[0] = 0; fakePad.buttons[0].pressed = false;"
                  "fakePad.buttons[0].value = 0")
        page.pump(0.3)
        check("pad", build, finish(page), failures)
        failures += ["pad: " + p for p in page.problems()]
    finally:
        browser.close()
        server.close()
    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    browser.require_page(sys.argv[2])
    sys.exit(main(*sys.argv[1:3]))
