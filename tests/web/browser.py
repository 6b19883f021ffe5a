"""Headless Chromium driven through the DevTools protocol, and the page served from a folder."""
import base64
import functools
import http.server
import json
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time
import urllib.request

import websocket

CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox",
    # WebGL from the software rasteriser: there is no GPU.
    "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    # The network is closed: nothing may try to reach it.
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--no-first-run", "--disable-quic", "--no-default-browser-check",
    # A page in a headless window counts as visible and is never throttled.
    "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    "--disable-backgrounding-occluded-windows",
    "--remote-allow-origins=*", "--window-size=1024,900",
]


def require_page(web):
    """Skips (77, as CTest is told) when the page has not been built."""
    if not os.path.exists(os.path.join(web, "tinselrun.js")):
        print("no page in %s: ./web.sh --build-only makes it" % web)
        raise SystemExit(77)


def find_chromium():
    for name in ("chromium", "chromium-headless-shell", "chromium-browser"):
        path = shutil.which(name)
        if path:
            return path
    raise SystemExit("no chromium on the PATH (apt-get install chromium)")


class Server:
    """Serves folders on the loopback address: the first at /, others under their prefixes."""

    def __init__(self, root, extra=None):
        self.mounts = dict(extra or {})
        mounts = self.mounts

        class Handler(http.server.SimpleHTTPRequestHandler):
            extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                                  **{".wasm": "application/wasm", ".js": "text/javascript"})

            def translate_path(self, path):
                for prefix, folder in mounts.items():
                    if path.startswith(prefix + "/"):
                        rest = path[len(prefix) + 1:].split("?")[0]
                        return os.path.join(folder, *rest.split("/"))
                return super().translate_path(path)

            def log_message(self, *args):
                pass

        handler = functools.partial(Handler, directory=root)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, path=""):
        return "http://127.0.0.1:%d/%s" % (self.port, path)

    def close(self):
        self.httpd.shutdown()


class Page:
    """One tab: commands, and the events it sends kept in order (console lines, exceptions)."""

    def __init__(self, ws_url):
        self.ws = websocket.create_connection(ws_url, timeout=120, suppress_origin=True)
        self.next_id = 0
        self.events = []
        self.console = []     # (level, text)
        self.exceptions = []  # text

    def _note(self, message):
        method = message.get("method")
        params = message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            self.console.append((params["type"], text))
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            self.exceptions.append(details.get("exception", {}).get("description", details["text"]))
        elif method == "Log.entryAdded":
            entry = params["entry"]
            # Chromium's one notice that the ScriptProcessorNode, the node the page must use
            # without audio worklets, is deprecated is no fault of the page.
            expected = entry.get("source") == "violation" or (
                entry.get("source") == "deprecation" and "ScriptProcessorNode" in entry["text"])
            if entry["level"] in ("error", "warning") and not expected:
                self.console.append(("log-" + entry["level"], entry["text"]))
        else:
            self.events.append(message)

    def send(self, method, **params):
        self.next_id += 1
        wanted = self.next_id
        self.ws.send(json.dumps({"id": wanted, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == wanted:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self._note(message)

    def pump(self, seconds):
        """Takes the events that come in for a while."""
        end = time.time() + seconds
        self.ws.settimeout(0.05)
        try:
            while time.time() < end:
                try:
                    self._note(json.loads(self.ws.recv()))
                except websocket.WebSocketTimeoutException:
                    pass
        finally:
            self.ws.settimeout(120)

    def eval(self, expression, await_promise=False):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=await_promise)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, timeout, what=None):
        end = time.time() + timeout
        while time.time() < end:
            value = self.eval(expression)
            if value:
                return value
            self.pump(0.1)
        raise AssertionError("timed out after %ds waiting for %s" % (timeout, what or expression))

    def goto(self, url):
        self.send("Page.navigate", url=url)

    def key(self, code, key, vk, down=True):
        self.send("Input.dispatchKeyEvent", type="keyDown" if down else "keyUp", code=code, key=key,
                  windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk)

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    def screenshot_png(self, clip=None):
        params = {"format": "png"}
        if clip:
            params["clip"] = dict(clip, scale=1)
        return base64.b64decode(self.send("Page.captureScreenshot", **params)["data"])

    def read_file(self, path):
        """A file of the page's own file system, as bytes."""
        data = self.eval("(function(){var b=Module.FS.readFile(%s);var s='';"
                         "for(var i=0;i<b.length;i+=8192)s+=String.fromCharCode.apply(null,"
                         "b.subarray(i,i+8192));return btoa(s);})()" % json.dumps(path))
        return base64.b64decode(data)

    def problems(self):
        """Console warnings and errors and uncaught exceptions so far."""
        return [text for level, text in self.console if level not in ("log", "info", "debug")] + \
            self.exceptions


class Browser:
    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="tinselrun-chromium-")
        self.process = subprocess.Popen(
            [find_chromium()] + CHROMIUM_FLAGS +
            ["--user-data-dir=" + self.profile, "--remote-debugging-port=0", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        end = time.time() + 60
        while not os.path.exists(port_file) or not open(port_file).read().strip():
            if time.time() > end or self.process.poll() is not None:
                raise SystemExit("chromium did not start")
            time.sleep(0.1)
        self.port = int(open(port_file).read().split()[0])

    def new_page(self):
        request = urllib.request.Request("http://127.0.0.1:%d/json/new?about:blank" % self.port,
                                         method="PUT")
        target = json.load(urllib.request.urlopen(request))
        page = Page(target["webSocketDebuggerUrl"])
        for domain in ("Page", "Runtime", "Log"):
            page.send(domain + ".enable")
        return page

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.profile, ignore_errors=True)


def rgb_of_png(png_bytes):
    """Width, height and the RGB bytes of a PNG, decoded by ImageMagick."""
    with tempfile.NamedTemporaryFile(suffix=".png") as f:
        f.write(png_bytes)
        f.flush()
        size = subprocess.run(["identify", "-format", "%w %h", f.name], check=True,
                              capture_output=True, text=True).stdout.split()
        rgb = subprocess.run(["convert", f.name, "-depth", "8", "rgb:-"], check=True,
                             capture_output=True).stdout
    return int(size[0]), int(size[1]), rgb


def distinct_colours(rgb, step=7):
    return len({rgb[i:i + 3] for i in range(0, len(rgb) - 2, 3 * step)})


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]
