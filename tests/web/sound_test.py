"""The page's sound. A traced replay's capture, the page's mixer fed from the tick clock, equals the
runner's --audio bit for bit (the four musics, the stage loop coming round, every effect). In real
time, for a minute of a replayed stage: every sound call of the runner's trace reaches the mixer,
the Web Audio node is fed without a gap that no main-thread stall explains, at the runner's level,
a pause suspends it and M mutes it."""
import json
import math
import os
import struct
import subprocess
import sys
import tempfile
import time

import browser
from browser import Browser, Server

# script, ticks, scene: between them every music (the stage loop twice round, the ending and the
# opening in the first; game over in the second) and every effect.
CAPTURES = [("boss_win.txt", 12193, "GAMETIME"), ("one_life.txt", 1700, None)]
LIVE_SCRIPT, LIVE_TICKS = "stage_fire.txt", 3600  # a minute at 60 ticks a second
PAUSE_AT_TICK = 1200

BUFFER_MS = 2048 / 44100 * 1000  # the page's node buffer

# Times of the main thread held longer than a buffer, by anything, told beside late buffers.
WATCH = """
(function () {
  window.stalls = [];
  var last = performance.now();
  (function look() {
    var now = performance.now();
    if (now - last > %f) stalls.push(now - last);
    last = now;
    setTimeout(look, 4);
  })();
  return true;
})()
""" % BUFFER_MS

# Wraps the node's handler: what it hands to the speakers, summed for its level.
TAP = """
(function () {
  var node = Module.tinselrunAudio.node, own = node.onaudioprocess;
  window.heard = {squares: 0, samples: 0, peak: 0, lately: 0};
  node.onaudioprocess = function (event) {
    own(event);
    for (var c = 0; c < 2; c++) {
      var data = event.outputBuffer.getChannelData(c);
      for (var i = 0; i < data.length; i++) {
        var s = data[i] * 32768;
        heard.squares += s * s;
        if (Math.abs(s) > heard.peak) heard.peak = Math.abs(s);
        if (Math.abs(s) > heard.lately) heard.lately = Math.abs(s);
      }
      heard.samples += data.length;
    }
  };
  return true;
})()
"""


def runner(build, args):
    subprocess.run([os.path.join(build, "tinselrun-sim")] + args, cwd=build, check=True,
                   stdout=subprocess.DEVNULL)


def first_difference(a, b):
    if len(a) != len(b):
        return "the files are %d and %d bytes" % (len(a), len(b))
    for i in range(0, len(a), 4):
        if a[i:i + 4] != b[i:i + 4]:
            frame = (i - 44) // 4
            return "frame %d (%.3f s): runner %s, page %s" % (
                frame, frame / 44100, struct.unpack("<2h", a[i:i + 4]),
                struct.unpack("<2h", b[i:i + 4]))
    return None


def captures(page, server, build, traces, out, failures):
    for script, ticks, scene in CAPTURES:
        wav = os.path.join(out, script + ".wav")
        args = ["--input", os.path.join(traces, script), "--ticks", str(ticks), "--audio", wav]
        runner(build, args + (["--scene", scene] if scene else []))
        query = "replay=traces/%s&trace=1&audio=1&ticks=%d" % (script, ticks)
        page.goto(server.url("index.html?" + query + ("&scene=" + scene if scene else "")))
        page.wait_for("document.title.indexOf('tinselrun: ') === 0", 600, "the end of " + script)
        if page.eval("document.title") != "tinselrun: done":
            failures.append("%s: the page says %r" % (script, page.eval("document.title")))
            continue
        expected, got = open(wav, "rb").read(), page.read_file("/audio.wav")
        print("%s: %d ticks, %.1f s of sound" % (script, ticks, (len(expected) - 44) / 4 / 44100))
        if expected != got:
            failures.append("%s: the page's samples differ from the runner's at %s" % (
                script, first_difference(expected, got)))


def runner_level(wav):
    data = open(wav, "rb").read()[44:]
    samples = struct.unpack("<%dh" % (len(data) // 2), data)
    rms = math.sqrt(sum(s * s for s in samples) / len(samples))
    return 20 * math.log10(rms / 32768)


def live(page, server, build, traces, out, failures):
    script = os.path.join(traces, LIVE_SCRIPT)
    trace, wav = os.path.join(out, "live.jsonl"), os.path.join(out, "live.wav")
    runner(build, ["--input", script, "--ticks", str(LIVE_TICKS), "--trace", trace, "--audio", wav])
    calls = ["%s %d" % (s["call"], s["slot"])
             for line in open(trace) for s in json.loads(line)["sounds"]]

    page.goto(server.url("index.html?replay=traces/%s&ticks=%d" % (LIVE_SCRIPT, LIVE_TICKS)))
    page.wait_for("window.Module && Module._tinselrun_gesture && "
                  "!document.getElementById('start').classList.contains('hidden')", 120,
                  "the first screen")
    page.key("KeyX", "x", 88)  # the gesture that lets sound play
    page.key("KeyX", "x", 88, down=False)
    page.wait_for("Module.tinselrunAudio && Module.tinselrunAudio.context.state === 'running'",
                  10, "the AudioContext running after the first key")
    page.eval(TAP)
    page.eval(WATCH)  # from here: making the context holds the main thread a while, once
    rate = page.eval("Module.tinselrunAudio.context.sampleRate")
    if rate != 44100:
        failures.append("the AudioContext runs at %s Hz" % rate)

    page.wait_for("tinselrunStats.ticks >= %d" % PAUSE_AT_TICK, 60, "tick %d" % PAUSE_AT_TICK)
    page.key("KeyP", "p", 80)
    page.key("KeyP", "p", 80, down=False)
    try:
        page.wait_for("Module.tinselrunAudio.context.state === 'suspended'", 10, "the pause")
    except AssertionError:
        pass  # told below, with the ticks
    paused = page.eval("[Module.tinselrunAudio.context.state, tinselrunStats.ticks]")
    page.pump(0.5)
    if paused[0] != "suspended" or page.eval("tinselrunStats.ticks") != paused[1]:
        failures.append("paused: the AudioContext is %s, ticks went from %d to %d" % (
            paused[0], paused[1], page.eval("tinselrunStats.ticks")))
    page.key("KeyP", "p", 80)
    page.key("KeyP", "p", 80, down=False)
    page.wait_for("Module.tinselrunAudio.context.state === 'running'", 10, "the resumed context")
    # M mutes the mix from the next buffer on, and M again brings it back.
    page.key("KeyM", "m", 77)
    page.key("KeyM", "m", 77, down=False)
    page.wait_for("(Module._tinselrun_settings() & 256) !== 0", 10, "the game muted")
    page.pump(0.3)
    page.eval("heard.lately = 0")
    page.pump(1.0)
    if page.eval("heard.lately") != 0:
        failures.append("muted: the node still plays samples up to %d" % page.eval("heard.lately"))
    page.key("KeyM", "m", 77)
    page.key("KeyM", "m", 77, down=False)
    page.wait_for("(Module._tinselrun_settings() & 256) === 0", 10, "the game unmuted")
    page.pump(0.3)
    page.eval("heard.lately = 0")
    page.pump(1.0)
    if page.eval("heard.lately") == 0:
        failures.append("unmuted: the node plays nothing")

    started = time.time()
    page.wait_for("!document.getElementById('ended').classList.contains('hidden')",
                  LIVE_TICKS / 60 * 2 + 60, "the end of the live run")
    stats = page.eval("JSON.stringify({audio: tinselrunStats.audio, sounds: tinselrunStats.sounds,"
                      " heard: window.heard, stalls: window.stalls,"
                      " longest: Math.max.apply(null, tinselrunStats.frames)})")
    stats = json.loads(stats)
    audio, heard = stats["audio"], stats["heard"]
    seconds = audio["frames"] / 44100
    print("live: %d buffers (%.1f s) fed, %d underruns, %d sound calls (%d in the trace), "
          "ended %.1f s after the pause" % (audio["buffers"], seconds, audio["underruns"],
                                             len(stats["sounds"]), len(calls),
                                             time.time() - started))
    # A buffer may be late only while the main thread is held longer than a buffer. Which holds
    # are the page's own is the benchmark's question: on a loaded machine any frame can be slow.
    if audio["underruns"]:
        stalled = sum(math.ceil(ms / BUFFER_MS) for ms in stats["stalls"])
        why = "main-thread stalls %s ms, the page's longest frame %.1f ms" % (
            [round(ms) for ms in stats["stalls"]], stats["longest"])
        line = "live: %d of %d buffers late (%s)" % (audio["underruns"], audio["buffers"], why)
        if audio["underruns"] > stalled:
            failures.append(line)
        else:
            print(line)
    if seconds < LIVE_TICKS / 60 - 1:
        failures.append("live: the node took only %.1f s of sound in a %d-tick run" % (
            seconds, LIVE_TICKS))
    got = stats["sounds"][:len(calls)]
    if got != calls:
        n = next((i for i, (a, b) in enumerate(zip(calls, got)) if a != b), min(len(calls), len(got)))
        failures.append("live: sound call %d of the trace is %r, the mixer got %r" % (
            n, calls[n] if n < len(calls) else None, got[n] if n < len(got) else None))
    level = 20 * math.log10(math.sqrt(heard["squares"] / max(1, heard["samples"])) / 32768 + 1e-12)
    expected = runner_level(wav)
    print("live: level %.2f dBFS, peak %d; the runner's %.2f dBFS" % (level, heard["peak"],
                                                                      expected))
    if abs(level - expected) > 0.5:
        failures.append("live: the page plays at %.2f dBFS, the runner's mix is %.2f dBFS" % (
            level, expected))


def main(build, web, source):
    traces = os.path.join(source, "tests", "traces")
    server = Server(web, {"/traces": traces})
    browser = Browser()
    failures = []
    try:
        with tempfile.TemporaryDirectory() as out:
            page = browser.new_page()
            captures(page, server, build, traces, out, failures)
            live(page, server, build, traces, out, failures)
            failures += ["console: " + p for p in page.problems()]
    finally:
        browser.close()
        server.close()
    for failure in failures:
        print("FAIL", failure)
    if not failures:
        print("the page's sound is the runner's")
    return 1 if failures else 0


if __name__ == "__main__":
    browser.require_page(sys.argv[2])
    sys.exit(main(*sys.argv[1:4]))
