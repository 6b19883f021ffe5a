"""The page itself: loading shows the opening with no console message; a missing data file gets
its one line and play goes on; a bad recording gets the runner's message; a damaged settings
entry gets the defaults and a warning; without WebGL the page says so in words."""
import os
import shutil
import subprocess
import sys
import tempfile

import browser
from browser import Browser, Server, distinct_colours, rgb_of_png

EMSCRIPTEN = "/usr/share/emscripten"


def canvas_picture(page):
    box = page.eval("(function(){var r=document.getElementById('canvas').getBoundingClientRect();"
                    "return {x:r.left,y:r.top,width:r.width,height:r.height};})()")
    return rgb_of_png(page.screenshot_png(box))[2]


def first_screen(page, url):
    page.goto(url)
    page.wait_for("window.Module && !document.getElementById('start').classList.contains('hidden')",
                  120, "the first screen")


def main(build, web):
    failures = []
    work = tempfile.mkdtemp(prefix="tinselrun-page-")
    # The page again, with a data package that lacks the town's picture.
    broken = os.path.join(work, "web")
    shutil.copytree(web, broken)
    assets = os.path.join(work, "assets")
    shutil.copytree(os.path.join(build, "img"), os.path.join(assets, "img"))
    shutil.copytree(os.path.join(build, "snd"), os.path.join(assets, "snd"))
    os.remove(os.path.join(assets, "img", "7.dat"))
    subprocess.run(["python3", os.path.join(EMSCRIPTEN, "tools", "file_packager.py"),
                    os.path.join(broken, "tinselrun.data"), "--preload", "img", "snd",
                    "--js-output=" + os.path.join(broken, "tinselrun-data.js")],
                   cwd=assets, check=True, capture_output=True)
    open(os.path.join(work, "bad.txt"), "w").write("# a recording with a mistake\n1-10 RIGHT\n12 JUMP\n")
    server = Server(web, {"/broken": broken, "/files": work})
    chromium = Browser()
    try:
        # Loading: the first screen, then the opening drawn, and not one console message.
        page = chromium.new_page()
        first_screen(page, server.url("index.html"))
        page.click(300, 300)
        page.wait_for("tinselrunStats.drawn > 20", 60, "the opening's frames")
        colours = distinct_colours(canvas_picture(page))
        print("loading: the opening shows %d colours" % colours)
        if colours < 8:
            failures.append("loading: the canvas is blank")
        failures += ["loading: " + p for p in page.problems()]

        # A missing data file: its one line, and the run goes on to its end.
        page = chromium.new_page()
        page.goto(server.url("broken/index.html?trace=1&ticks=300&scene=GAMETIME"))
        page.wait_for("document.title.indexOf('tinselrun: ') === 0", 120, "the run's end")
        lines = page.eval("document.getElementById('trace').textContent").count("\n")
        said = page.problems()
        print("missing file: %s, %d trace lines" % (said, lines))
        if page.eval("document.title") != "tinselrun: done" or lines != 301:
            failures.append("missing file: the run did not go on (%d lines)" % lines)
        if said != ["tinselrun: ./img/7.dat: cannot open picture: No such file or directory"]:
            failures.append("missing file: the console said %s" % said)

        # A recording with a mistake: the runner's message, on the page and the console.
        page = chromium.new_page()
        page.goto(server.url("index.html?trace=1&replay=files/bad.txt"))
        page.wait_for("document.title.indexOf('tinselrun: ') === 0", 60, "the refusal")
        shown = page.eval("document.getElementById('message-text').textContent")
        print("bad recording: %r" % shown)
        if not shown.startswith("bad.txt:3: unknown key 'JUMP'"):
            failures.append("bad recording: the page shows %r" % shown)
        if not any(shown in p for p in page.problems()):
            failures.append("bad recording: not on the console: %s" % page.problems())

        # A damaged settings entry: the defaults, one warning, the entry kept aside, play goes on.
        page = chromium.new_page()
        page.goto(server.url("page.css"))
        page.eval("localStorage.setItem('tinselrun.settings', 'volume=loud\\nmute=1\\n')")
        first_screen(page, server.url("index.html"))
        page.click(300, 300)
        page.wait_for("tinselrunStats.ticks > 10", 60, "play")
        said = page.problems()
        kept = page.eval("localStorage.getItem('tinselrun.settings.bad')")
        settings = page.eval("Module._tinselrun_settings()")
        print("damaged settings: %s" % said)
        if said != ["tinselrun: localStorage tinselrun.settings: line 1: volume cannot be 'loud'; "
                    "playing with the default settings (the entry is kept as tinselrun.settings.bad)"]:
            failures.append("damaged settings: the console said %s" % said)
        if kept != "volume=loud\nmute=1\n" or settings != 100 | 512:
            failures.append("damaged settings: kept %r, playing with %r" % (kept, settings))
        # A change is kept in a fresh entry.
        page.key("KeyM", "m", 77)
        page.key("KeyM", "m", 77, down=False)
        page.wait_for("(localStorage.getItem('tinselrun.settings') || '').indexOf('mute=1') >= 0",
                      10, "mute kept")
    finally:
        chromium.close()

    # Without WebGL the page says so in words.
    browser.CHROMIUM_FLAGS.append("--disable-3d-apis")
    chromium = Browser()
    try:
        page = chromium.new_page()
        page.goto(server.url("index.html"))
        page.wait_for("document.getElementById('message') && "
                      "!document.getElementById('message').classList.contains('hidden')", 60,
                      "the words about WebGL")
        shown = page.eval("document.getElementById('message-text').textContent")
        print("no WebGL: %r" % shown)
        if "WebGL" not in shown:
            failures.append("no WebGL: the page shows %r" % shown)
    finally:
        chromium.close()
        server.close()
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    browser.require_page(sys.argv[2])
    sys.exit(main(*sys.argv[1:3]))
