#!/usr/bin/env python3
"""Opens replay pages in headless Chromium and checks what they draw.

    replay_browser.py CHROMIUM OUT_DIR NAME=PAGE [NAME=PAGE ...]

Each page's folder is first copied to OUT_DIR/moved/NAME (the page must stand alone), and the
browser runs with every network request refused. Per page: no console error or exception; the 3D
canvas is not blank; the first and the last step differ where a body moved; where the run has
contacts, the contact toggle draws them; clicking a body shows its name; the address keeps the
step and the toggles. Screenshots go to OUT_DIR. Chromium is driven through its DevTools protocol
over a pipe (--remote-debugging-pipe), so only the standard library is needed.
"""
import base64
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--enable-unsafe-swiftshader", "--hide-scrollbars", "--force-device-scale-factor=1",
         "--window-size=1400,900", "--proxy-server=127.0.0.1:9", "--proxy-bypass-list=<-loopback>",
         "--remote-debugging-pipe"]

# Pictures that are compared are taken at half size: decoding them in Python is the slow part.
SCALE = 0.5

# What each page must show, by name: whether its run has contacts to draw, and whether a body moves.
EXPECTED = {
    "fixture_shapes": {"contacts": True, "moves": True},
    "fixture_wrap": {"contacts": False, "moves": True},
    "balls_in_box_elastic": {"contacts": True, "moves": True},
    "capsule_level": {"contacts": True, "moves": True},
    "mesh_ramp": {"contacts": True, "moves": True},
    "tile_map_break": {"contacts": True, "moves": True},
    "wrap_around": {"contacts": False, "moves": True},
}

class Browser:
    def __init__(self, chromium, profile):
        to_browser_r, to_browser_w = os.pipe()
        from_browser_r, from_browser_w = os.pipe()

        def pipes():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        self.process = subprocess.Popen([chromium, *FLAGS, "--user-data-dir=" + profile, "about:blank"],
                                        pass_fds=(3, 4), preexec_fn=pipes, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.out = os.fdopen(to_browser_w, "wb", buffering=0)
        self.inp = os.fdopen(from_browser_r, "rb", buffering=0)
        self.buffer = b""
        self.next_id = 0
        self.events = []

    def _read(self, deadline):
        while b"\0" not in self.buffer:
            if time.time() > deadline:
                raise TimeoutError("the browser did not answer")
            chunk = self.inp.read(1 << 16)
            if not chunk:
                raise RuntimeError("the browser closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, session=None, timeout=60, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        self.out.write(json.dumps(message).encode() + b"\0")
        deadline = time.time() + timeout
        while True:
            reply = self._read(deadline)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})
            self.events.append(reply)

    def close(self):
        try:
            self.send("Browser.close", timeout=10)
        except (RuntimeError, TimeoutError, OSError):
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def decode_png(data):
    """The pixels of an 8-bit, non-interlaced RGB or RGBA PNG as (width, height, channels, rows)."""
    position, chunks = 8, b""
    while position < len(data):
        size, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + size]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour in (2, 6) and interlace == 0, "unexpected PNG format"
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            chunks += body
        position += 12 + size
    raw = zlib.decompress(chunks)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = row[x - channels] if x >= channels else 0
            up = previous[x]
            corner = previous[x - channels] if x >= channels else 0
            if kind == 1:
                row[x] = (row[x] + left) & 255
            elif kind == 2:
                row[x] = (row[x] + up) & 255
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[x] = (row[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(row)
        previous = row
    return width, height, channels, rows


class Page:
    def __init__(self, browser, url):
        self.browser = browser
        target = browser.send("Target.createTarget", url="about:blank")["targetId"]
        self.session = browser.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Runtime", "Log", "Network", "Page"):
            self.send(f"{domain}.enable")
        self.send("Page.navigate", url=url)
        self.wait_for("window.replay !== undefined && document.readyState === 'complete'")

    def send(self, method, **params):
        return self.browser.send(method, session=self.session, **params)

    def eval(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, condition, timeout=30):
        deadline = time.time() + timeout
        while not self.eval(f"!!({condition})"):
            if time.time() > deadline:
                raise TimeoutError(f"the page never reached: {condition}")
            time.sleep(0.1)

    def settle(self):
        # Two animation frames: whatever the last change asked for has been drawn.
        self.eval("new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))")

    def shot(self, path, clip, scale=SCALE):
        """A picture of `clip`, kept at `path`; decoded when taken at the scale that is compared."""
        data = base64.b64decode(self.send("Page.captureScreenshot", format="png", clip={**clip, "scale": scale})["data"])
        with open(path, "wb") as file:
            file.write(data)
        return decode_png(data) if scale == SCALE else None

    def problems(self):
        """Console errors, exceptions and requests that left the machine, seen so far."""
        found = []
        for event in self.browser.events:
            if event.get("sessionId") != self.session:
                continue
            method, params = event.get("method"), event.get("params", {})
            if method == "Runtime.exceptionThrown":
                found.append("exception: " + json.dumps(params["exceptionDetails"])[:300])
            elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
                found.append("console error: " + json.dumps(params.get("args"))[:300])
            elif method == "Log.entryAdded" and params["entry"].get("level") == "error":
                found.append("log error: " + params["entry"].get("text", "")[:300])
            elif method == "Network.requestWillBeSent":
                url = params["request"]["url"]
                if not url.startswith(("file:", "data:", "about:")):
                    found.append("network request: " + url)
        return found


def region_difference(a, b, x, y, half=6):
    """The mean absolute difference of the two pictures in the square around (x, y)."""
    width, height, channels, rows_a = a
    rows_b = b[3]
    total = count = 0
    for row in range(max(0, y - half), min(height, y + half + 1)):
        for column in range(max(0, x - half), min(width, x + half + 1)):
            for c in range(3):
                total += abs(rows_a[row][column * channels + c] - rows_b[row][column * channels + c])
                count += 1
    return total / max(1, count)


def distinct_colours(picture):
    width, height, channels, rows = picture
    colours = set()
    for row in rows[::2]:
        for column in range(0, width, 2):
            colours.add(bytes(row[column * channels:column * channels + 3]))
    return len(colours)


def check_page(browser, name, url, out_dir, expected):
    failures = []
    page = Page(browser, url + "#step=0&contacts=0&labels=1")
    box = page.eval("(() => { const r = document.getElementById('view3d').getBoundingClientRect();"
                    " return {x: r.left, y: r.top, width: r.width, height: r.height}; })()")
    last = page.eval("replay.frames") - 1
    if not page.eval("replay.webgl"):
        failures.append("no WebGL: the 3D view was not drawn")
        return failures + page.problems()

    page.settle()
    first = page.shot(os.path.join(out_dir, f"{name}-first.png"), box)
    if distinct_colours(first) < 12:
        failures.append("the 3D canvas is blank")
    starts = [page.eval(f"replay.bodyPoint({b})") for b in range(page.eval("JSON.parse(document.getElementById('run')"
                                                                           ".textContent).bodies.length"))]
    page.eval(f"replay.setFrame({last})")
    page.settle()
    final = page.shot(os.path.join(out_dir, f"{name}-last.png"), box)
    if f"step=" not in page.eval("location.hash"):
        failures.append("the address does not keep the step")
    if expected["moves"]:
        moved = False
        for body, start in enumerate(starts):
            end = page.eval(f"replay.bodyPoint({body})")
            if not start or not end or abs(start["x"] - end["x"]) + abs(start["y"] - end["y"]) < 20:
                continue
            at = (int((start["x"] - box["x"]) * SCALE), int((start["y"] - box["y"]) * SCALE))
            if 0 <= at[0] < first[0] and 0 <= at[1] < first[1] and region_difference(first, final, *at) > 8:
                moved = True
        if not moved:
            failures.append("no body's picture moved between the first and the last step")

    if expected["contacts"]:
        frame = page.eval("JSON.parse(document.getElementById('run').textContent).frames"
                          ".findIndex(f => f.contacts && f.contacts.length)")
        if frame < 0:
            failures.append("the run records no contact")
        else:
            page.eval(f"replay.setFrame({frame})")
            page.settle()
            without = page.shot(os.path.join(out_dir, f"{name}-no-contacts.png"), box)
            page.eval("document.getElementById('contacts').click()")
            page.settle()
            with_contacts = page.shot(os.path.join(out_dir, f"{name}-contacts.png"), box)
            drawn = page.eval("replay.contactsDrawn()")
            changed = sum(region_difference(without, with_contacts, x, y, 10)
                          for x in range(10, without[0], 20) for y in range(10, without[1], 20))
            if drawn == 0 or changed == 0:
                failures.append(f"the contact toggle drew nothing (contacts drawn: {drawn})")
            if "contacts=1" not in page.eval("location.hash"):
                failures.append("the address does not keep the contact toggle")

    # Click each body whose centre is on the canvas until one answers with its own name (a body
    # in front of another may take the click).
    page.eval("replay.setFrame(0)")
    page.settle()
    names = page.eval("JSON.parse(document.getElementById('run').textContent).bodies.map(b => b.name)")
    clicked = None
    for body, name_of_body in enumerate(names):
        point = page.eval(f"replay.bodyPoint({body})")
        if not point or not (box["x"] < point["x"] < box["x"] + box["width"] and box["y"] < point["y"] < box["y"] + box["height"]):
            continue
        for kind in ("mousePressed", "mouseReleased"):
            page.send("Input.dispatchMouseEvent", type=kind, x=point["x"], y=point["y"], button="left", clickCount=1)
        page.settle()
        shown = page.eval("(document.getElementById('infoName') || {}).textContent")
        if shown == name_of_body:
            clicked = shown
            page.shot(os.path.join(out_dir, f"{name}-clicked.png"), box, 1)
            break
    if names and clicked is None:
        failures.append("clicking a body does not show its name")

    # A link to a moment: the step and the toggles are read from the address.
    step = page.eval(f"JSON.parse(document.getElementById('run').textContent).frames[{last}].step ?? {last}")
    page.eval(f"location.hash = '#step={step}&trails=0&velocity=1'")
    page.settle()
    if page.eval("[replay.frame(), document.getElementById('trails').checked, "
                 "document.getElementById('velocity').checked].join()") != f"{last},false,true":
        failures.append("the address's step and toggles are not read")
    page.shot(os.path.join(out_dir, f"{name}-page.png"), {"x": 0, "y": 0, "width": 1400, "height": 900}, 1)
    return failures + page.problems()


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    chromium, out_dir = sys.argv[1], os.path.abspath(sys.argv[2])
    shutil.rmtree(out_dir, ignore_errors=True)
    os.makedirs(out_dir)
    failed = 0
    browser = None
    with tempfile.TemporaryDirectory() as profile:
        try:
            browser = Browser(chromium, profile)
            for argument in sys.argv[3:]:
                name, page_path = argument.split("=", 1)
                # The page's folder, moved elsewhere: the page must need nothing beside it.
                moved = os.path.join(out_dir, "moved", name)
                shutil.copytree(os.path.dirname(os.path.abspath(page_path)), moved)
                url = "file://" + os.path.join(moved, os.path.basename(page_path))
                expected = EXPECTED[name]
                try:
                    failures = check_page(browser, name, url, out_dir, expected)
                except (RuntimeError, TimeoutError, AssertionError) as error:
                    failures = [str(error)]
                print(f"{name}: {'ok' if not failures else 'FAILED'}")
                for failure in failures:
                    print(f"  {failure}")
                failed += bool(failures)
        finally:
            if browser:
                browser.close()
    print(f"{len(sys.argv) - 3 - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
