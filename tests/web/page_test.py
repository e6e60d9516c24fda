"""The web page in headless Chromium, against the native program.

    KYR_PAGE_DIR=BUILD/web KYR_NATIVE_BUILD=NATIVE_BUILD python3 page_test.py [-v] [CLASS]

PageSession plays one session as a player would (the intro, the menu and
its keys, a game left with Q, Close and the credits) and compares the
canvas with kyr-headless's snapshots of the same moments. ReplayTrace
replays the level-1 recording at the page's full speed and compares its
request trace with kyr-headless's replay of the same file.

KYR_PAGE_TEST_TMP names a folder of the test's own for its temporary files.
Exits with 77 (skipped) when Chromium, Python's websocket module or the
native kyr-headless is missing; a page not built is a failure. Waits are
for events in the page (a picture, a line in the recording, the end), each
with a generous ceiling stretched by KYR_TEST_TIME_SCALE and the load.
"""
import functools
import hashlib
import json
import os
import shutil
import signal
import sys
import tempfile
import time
import unittest

PAGE_DIR = os.environ.get('KYR_PAGE_DIR', '')
NATIVE_BUILD = os.environ.get('KYR_NATIVE_BUILD', '')
HEADLESS = os.path.join(NATIVE_BUILD, 'headless', 'kyr-headless')
WIDTH, HEIGHT = 1024, 729   # the canvas: the native picture but its last column and row

VK = {'ArrowUp': 38, 'ArrowDown': 40, 'Space': 32, 'Enter': 13, 'AltLeft': 18, 'KeyQ': 81, 'F11': 122}
CDP_ALT = 1   # Input.dispatchKeyEvent's modifier bit for Alt


def missing_tools():
    if not shutil.which('chromium') and not os.path.exists('/usr/bin/chromium'):
        return 'no chromium'
    try:
        import websocket  # noqa: F401
    except ImportError:
        return "no websocket module for %s (Debian's python3-websocket)" % sys.executable
    if not os.access(HEADLESS, os.X_OK):
        return 'no kyr-headless in KYR_NATIVE_BUILD "%s"' % NATIVE_BUILD
    return None


def ceiling(seconds):
    """A wait's ceiling, stretched on a loaded or slowed-down machine."""
    scale = float(os.environ.get('KYR_TEST_TIME_SCALE', '1') or 1)
    load = os.getloadavg()[0] / (os.cpu_count() or 1)
    return seconds * scale * max(1.0, load)


# The canvas's pixels in the page: a digest to wait on, all of them to
# report a difference, and whether anything but black is shown.
CANVAS = 'document.getElementById("screen")'
PIXELS = CANVAS + '.getContext("2d").getImageData(0, 0, %d, %d).data' % (WIDTH, HEIGHT)
CANVAS_DIGEST = '''(async () => {
  const digest = new Uint8Array(await crypto.subtle.digest("SHA-256", %s));
  return Array.from(digest, (b) => b.toString(16).padStart(2, "0")).join("");
})()''' % PIXELS
CANVAS_BASE64 = '''(() => {
  const data = %s;
  let text = "";
  for (let i = 0; i < data.length; i += 32768) text += String.fromCharCode.apply(null, data.subarray(i, i + 32768));
  return btoa(text);
})()''' % PIXELS
CANVAS_NOT_BLACK = '''(() => {
  const data = %s;
  for (let i = 0; i < data.length; i += 4) if (data[i] | data[i + 1] | data[i + 2]) return true;
  return false;
})()''' % PIXELS
# The session's recording: the finished file, or the one being written.
RECORDING = '''(() => {
  const name = FS.readdir("/").find((f) => f === "session.kyrrec")
            || FS.readdir("/").find((f) => f.startsWith("session.kyrrec.") && f.endsWith(".partial"));
  return name ? FS.readFile("/" + name, { encoding: "utf8" }) : "";
})()'''


def first_difference(page, native):
    """Where two RGBA pictures of the canvas's size first differ, and how many pixels do."""
    differing = [i for i in range(0, len(native), 4) if page[i:i + 4] != native[i:i + 4]]
    if not differing:
        return 'no pixel differs'
    at = differing[0]
    x, y = (at // 4) % WIDTH, (at // 4) // WIDTH
    return '%d pixels differ; the first at (%d, %d): page %s, native %s' % (
        len(differing), x, y, tuple(page[at:at + 4]), tuple(native[at:at + 4]))


def key_lines(recording):
    """(down, virtual key) of each key event in a recording, in order."""
    keys = []
    for line in recording.splitlines():
        words = line.split('#', 1)[0].split()
        if len(words) >= 8 and words[0] == 'poll' and words[2] == 'key':
            keys.append((int(words[3]), int(words[5])))
    return keys


class PageTestCase(unittest.TestCase):
    """One browser and one page server for a class; each test's time is reported."""

    @classmethod
    def setUpClass(cls):
        import browser
        folder = tempfile.TemporaryDirectory(prefix='kyr-page-test-')   # removed at exit in any case
        cls.addClassCleanup(folder.cleanup)
        cls.work = folder.name
        cls.server = browser.PageServer(PAGE_DIR)
        cls.addClassCleanup(cls.server.close)
        cls.browser = browser.Browser()
        cls.addClassCleanup(cls.browser.close)
        cls.broken = None

    def setUp(self):
        if self.broken:
            self.skipTest('the session broke at ' + self.broken)
        self.started = time.monotonic()

    def tearDown(self):
        sys.stderr.write('[%s: %.1f s] ' % (self._testMethodName, time.monotonic() - self.started))

    @classmethod
    def open_page(cls, query=''):
        """Loads the page and waits until its document is complete (kyr.wasm may still be loading)."""
        url = cls.server.url + 'index.html' + query
        cls.browser.load(url)
        deadline = time.monotonic() + ceiling(30)
        while True:
            try:
                if cls.browser.evaluate('location.href === %s && document.readyState === "complete"' % json.dumps(url)):
                    return
            except RuntimeError:   # the page being replaced
                pass
            if time.monotonic() > deadline:
                raise TimeoutError('the page %s did not load' % url)
            time.sleep(0.1)

    def page(self, expression):
        return self.browser.evaluate(expression)

    def fail(self, message):
        """Fails with what the page said that might explain it."""
        try:
            errors = self.page_errors()
        except Exception as e:   # the page itself is lost
            errors = ['(the page did not answer: %s)' % e]
        super().fail(message + ('; the page said: %s' % errors if errors else ''))

    def wait_for(self, expression, seconds, what):
        try:
            return self.browser.wait_for(expression, ceiling(seconds), poll=0.1)
        except TimeoutError:
            self.fail('waited %.0f s for %s' % (ceiling(seconds), what))

    def wait_for_canvas(self, picture, seconds, what):
        """Waits until the canvas shows `picture` (RGBA bytes) exactly."""
        want = hashlib.sha256(picture).hexdigest()
        deadline = time.monotonic() + ceiling(seconds)
        while self.page(CANVAS_DIGEST) != want:
            if time.monotonic() > deadline:
                import base64
                shown = base64.b64decode(self.page(CANVAS_BASE64))
                self.fail('the canvas never showed %s in %.0f s: %s' % (
                    what, ceiling(seconds), first_difference(shown, picture)))
            time.sleep(0.1)

    def wait_for_canvas_change(self, picture, seconds, what):
        want = hashlib.sha256(picture).hexdigest()
        deadline = time.monotonic() + ceiling(seconds)
        while self.page(CANVAS_DIGEST) == want:
            if time.monotonic() > deadline:
                self.fail('the canvas still showed %s after %.0f s' % (what, ceiling(seconds)))
            time.sleep(0.1)

    def page_errors(self):
        """Exceptions thrown in the page so far, and what the program said on standard error."""
        thrown = [e['params']['exceptionDetails'].get('text', '') + ' ' +
                  str(e['params']['exceptionDetails'].get('exception', {}).get('description', ''))
                  for e in self.browser.events if e.get('method') == 'Runtime.exceptionThrown']
        said = []
        for line in thrown + self.page('kyrPage.log'):
            line = line if len(line) <= 300 else line[:300] + '...'
            if line not in said:
                said.append(line)
        return said


def step(method):
    """A step of a session that leaves the page where the next one starts:
    when it fails, the steps after it are skipped."""
    @functools.wraps(method)
    def run(self):
        try:
            method(self)
        except BaseException:
            type(self).broken = method.__name__
            raise
    return run


class PageSession(PageTestCase):
    """One page from its start to its end, its steps in order."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        import native
        headless = native.Headless(NATIVE_BUILD, cls.work)
        # With no key typed, the picture stops changing once the menu is up.
        cls.menu_ms = headless.last_frame_ms(120000)
        at = cls.menu_ms + 500
        headless.run('at %d snap menu.png\n'
                     'at %d key UP\n'
                     'at %d snap close.png\n'
                     'at %d key DOWN\nat %d key DOWN\nat %d key DOWN\n'
                     'at %d snap play.png\n'
                     'at %d end\n' % (at, at + 100, at + 200, at + 300, at + 310, at + 320, at + 400, at + 500))
        cls.native = {name: native.read_png(headless.file(name + '.png')).cropped(WIDTH, HEIGHT).rgba
                      for name in ('menu', 'close', 'play')}
        # The credits' frames and how long they play: Close chosen once the menu is up.
        headless.run('at %d key UP\nat %d key SPACE\nat %d trace credits.txt\n' % (at, at + 100, at + 100),
                     '--frames')
        with open(headless.file('credits.txt')) as f:
            times = [int(line.split()[1]) for line in f if line.startswith('frame ')]
        cls.credits_frames, cls.credits_ms = len(times), times[-1] - (at + 100)
        cls.open_page()

    def type(self, *codes, modifiers=0):
        for code in codes:
            self.browser.key(code, True, modifiers)
            self.browser.key(code, False, modifiers)

    def recorded_keys(self):
        return key_lines(self.page(RECORDING))

    def wait_for_keys(self, expected, what):
        """Waits until the recording's key events are `expected`, or more of them."""
        deadline = time.monotonic() + ceiling(10)
        while True:
            keys = self.recorded_keys()
            if len(keys) >= len(expected) or time.monotonic() > deadline:
                if keys != expected:
                    self.fail('%s: %s, not %s' % (what, keys, expected))
                return
            time.sleep(0.1)

    def assert_not_scrolled(self):
        self.assertEqual(self.page('window.scrollY'), 0, 'a key the program took scrolled the page')

    @step
    def test_1_intro_shows_at_the_canvas_size(self):
        self.wait_for('window.kyrPage && kyrPage.frames > 0', 30, 'a first frame')
        self.wait_for(CANVAS_NOT_BLACK, 30, 'anything but black on the canvas')
        self.assertEqual(self.page('[%s.width, %s.height]' % (CANVAS, CANVAS)), [WIDTH, HEIGHT])
        size = 'JSON.stringify([%s.getBoundingClientRect().width, %s.getBoundingClientRect().height, kyrPage.scale])' % (
            CANVAS, CANVAS)
        self.assertEqual(self.page(size), '[%d,%d,1]' % (WIDTH, HEIGHT), 'CSS width, height, scale')
        # Room for twice the picture below the bar: the canvas doubles, in whole pixels.
        self.browser.set_viewport(2 * WIDTH + 60, 2 * HEIGHT + 120)
        self.wait_for('kyrPage.scale === 2', 10, 'the page to fit the canvas at scale 2')
        self.assertEqual(self.page(size), '[%d,%d,2]' % (2 * WIDTH, 2 * HEIGHT), 'CSS width, height, scale')
        self.browser.set_viewport(1100, 820)
        self.wait_for('kyrPage.scale === 1', 10, 'the page to fit the canvas at scale 1 again')
        self.assertGreater(self.page('document.documentElement.scrollHeight - innerHeight'), 0,
                           'the page must be taller than its window for the scroll checks to mean anything')
        self.assertEqual(self.page_errors(), [])

    @step
    def test_2_menu_equals_native_snapshot(self):
        # The intro plays at its real pace, its waits sleeping in the page.
        self.wait_for_canvas(self.native['menu'], 2 * self.menu_ms / 1000 + 30, 'the menu after the intro')
        self.assertEqual(self.page_errors(), [])

    # Leaves the menu as it was, whether or not it passes.
    def test_3_fullscreen_toggles_never_reach_the_program(self):
        self.assertEqual(self.recorded_keys(), [], 'keys recorded before any was typed')
        for toggle in ('F11', 'Alt+Enter'):
            for full in (True, False):   # to fullscreen and back
                if toggle == 'F11':
                    self.type('F11')
                else:
                    self.browser.key('AltLeft', True)
                    self.type('Enter', modifiers=CDP_ALT)
                    self.browser.key('AltLeft', False)
                self.wait_for('!!document.fullscreenElement === %s' % ('true' if full else 'false'),
                              10, '%s to switch the page %s fullscreen' % (toggle, 'to' if full else 'out of'))
        self.type('Enter')   # Enter alone is the program's
        self.wait_for_keys([(1, VK['AltLeft']), (0, VK['AltLeft'])] * 2 + [(1, VK['Enter']), (0, VK['Enter'])],
                           'the key events the program received (Alt and Enter alone; no F11, no Enter with Alt)')
        self.wait_for('kyrPage.scale === 1', 10, 'the canvas back at scale 1')
        self.wait_for_canvas(self.native['menu'], 5, 'the menu, unchanged by those keys')
        self.assert_not_scrolled()

    @step
    def test_4_arrow_keys_move_the_highlight_and_space_starts_a_game(self):
        before = self.recorded_keys()
        self.type('ArrowUp')   # from the first entry round to the last, Close
        self.wait_for_canvas(self.native['close'], 10, 'the highlight on Close after UP')
        self.assert_not_scrolled()
        self.type('ArrowDown', 'ArrowDown', 'ArrowDown')
        self.wait_for_canvas(self.native['play'], 10, 'the highlight on Play after three DOWN')
        self.assert_not_scrolled()
        self.type('Space')
        self.wait_for_canvas_change(self.native['play'], 10, 'the menu after SPACE on Play')
        self.assert_not_scrolled()
        self.type('KeyQ')   # leaves the game: the menu is drawn again on a clean window
        self.wait_for_canvas(self.native['play'], 30, 'the menu again after Q left the game')
        downs = [vk for down, vk in self.recorded_keys()[len(before):] if down]
        self.assertEqual(downs, [VK['ArrowUp']] + [VK['ArrowDown']] * 3 + [VK['Space'], VK['KeyQ']])
        self.assertEqual(self.page_errors(), [])

    @step
    def test_5_close_plays_the_credits_and_ends_the_page(self):
        self.type(*['ArrowDown'] * 6)   # from Play to Close
        self.wait_for_canvas(self.native['close'], 10, 'the highlight on Close')
        frames = self.page('kyrPage.frames')
        self.type('Space')
        self.wait_for('!document.getElementById("ended").hidden', 2 * self.credits_ms / 1000 + 60,
                      'the page to say the program ended')
        self.assertIn('KYR has ended', self.page('document.getElementById("ended").innerText'))
        self.assertEqual(self.page('kyrPage.status'), 0)
        self.assertEqual(self.page('kyrPage.running'), False)
        self.assertEqual(self.page('kyrPage.frames') - frames, self.credits_frames,
                         'frames shown from Close to the end (the native credits show %d)' % self.credits_frames)
        recording = self.page(RECORDING)
        self.assertEqual(self.page('FS.readdir("/").filter((f) => f.startsWith("session.kyrrec"))'),
                         ['session.kyrrec'], 'the finished recording, renamed into place')
        self.assertRegex(recording.splitlines()[-1], r'^end exit 0 poll \d+ requests \d+$')
        self.assertEqual(self.page_errors(), [])
        # The page takes no more keys: ArrowDown now scrolls it, which shows
        # that the browser does scroll on typed keys, so the checks above
        # that the page stood still mean something.
        self.assert_not_scrolled()
        self.type('ArrowDown')
        self.wait_for('window.scrollY > 0', 10, 'ArrowDown to scroll the ended page')


class ReplayTrace(PageTestCase):
    """The level-1 recording replayed in the page and by kyr-headless."""

    def test_level1_replay_gives_the_native_trace(self):
        import native
        headless = native.Headless(NATIVE_BUILD, self.work)
        recording = os.path.join(PAGE_DIR, 'level1.kyrrec')
        headless.run('at 0 trace trace.txt\n', '--replay', recording)
        with open(headless.file('trace.txt'), 'rb') as f:
            want = hashlib.sha256(f.read()).hexdigest()
        self.server.serve('native-trace.txt', headless.file('trace.txt'))
        self.open_page('?replay=level1.kyrrec&trace=1&fast=1')
        # Menu -> game -> an explosion's delay: the deepest waits, at full speed.
        self.wait_for('window.kyrPage && kyrPage.status !== null', 120, 'the replay to end')
        self.assertEqual(self.page('kyrPage.status'), 0, 'status; the program said: %s' % self.page('kyrPage.log'))
        got = self.page('''(async () => {
          const digest = await crypto.subtle.digest("SHA-256", new TextEncoder().encode(kyrPage.traceText() || ""));
          return Array.from(new Uint8Array(digest), (b) => b.toString(16).padStart(2, "0")).join("");
        })()''')
        if got != want:
            self.fail('the page\'s trace differs from kyr-headless\'s: ' + self.page('''(async () => {
              const page = (kyrPage.traceText() || "").split("\\n");
              const native = (await (await fetch("native-trace.txt")).text()).split("\\n");
              for (let i = 0; i < Math.max(page.length, native.length); i++)
                if (page[i] !== native[i])
                  return "line " + (i + 1) + ": page " + JSON.stringify(page[i]) + ", native " + JSON.stringify(native[i]);
              return "no line differs";
            })()'''))


def main():
    reason = missing_tools()
    if reason:
        print('skipped: ' + reason)
        return 77
    if not os.path.exists(os.path.join(PAGE_DIR, 'kyr.wasm')):
        print('no page built in KYR_PAGE_DIR "%s"' % PAGE_DIR)
        return 1
    sys.dont_write_bytecode = True   # nothing left beside the sources
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    # The temporary files (Chromium's profile, kyr-headless's pictures and
    # traces) go in a folder of this test's own when it has one: what a
    # killed run left there goes at the next run.
    own = os.environ.get('KYR_PAGE_TEST_TMP')
    if own:
        import browser
        if os.path.isdir(own):
            for name in os.listdir(own):
                browser.remove_profile(os.path.join(own, name))
        os.makedirs(own, exist_ok=True)
        tempfile.tempdir = own
    # A runner's SIGTERM stops the tests as Ctrl+C does; Chromium is closed
    # and its profile removed on the way out.
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    program = unittest.main(exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == '__main__':
    sys.exit(main())
