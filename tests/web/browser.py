"""Headless Chromium driven over the DevTools protocol, for the web page's
tests and measurements: start it, load a page, evaluate script, type keys.

Only /usr/bin/python3 and Debian's python3-websocket are needed; Chromium
runs with a fresh profile and no network but 127.0.0.1.
"""
import atexit
import ctypes
import http.server
import json
import os
import re
import shutil
import signal
import socketserver
import subprocess
import tempfile
import threading
import time
import urllib.request

import websocket

CHROMIUM = shutil.which('chromium') or '/usr/bin/chromium'
FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--disable-extensions', '--mute-audio', '--remote-debugging-port=0']

PR_SET_PDEATHSIG = 1
_open_browsers = set()   # closed at exit, however the tests end

# KeyboardEvent.code -> (key, windowsVirtualKeyCode) for the keys tests type.
KEYS = {
    'ArrowUp': ('ArrowUp', 38), 'ArrowDown': ('ArrowDown', 40), 'ArrowLeft': ('ArrowLeft', 37),
    'ArrowRight': ('ArrowRight', 39), 'Space': (' ', 32), 'Enter': ('Enter', 13),
    'Escape': ('Escape', 27), 'KeyQ': ('q', 81), 'F11': ('F11', 122), 'AltLeft': ('Alt', 18),
}


def _end_with_parent():
    """In Chromium's process before it starts: Linux ends it when the test
    that started it dies, even by SIGKILL (a test runner's timeout)."""
    try:
        ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)
    except Exception:
        pass


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extra = {}   # URL path -> a file served there from outside the folder

    def log_message(self, *args):
        pass

    def translate_path(self, path):
        found = self.extra.get(path.split('?', 1)[0])
        return found if found else super().translate_path(path)

    def end_headers(self):
        self.send_header('Cache-Control', 'no-store')
        super().end_headers()


class PageServer:
    """A static server of `folder` on 127.0.0.1 (a free port), in a thread.
    `serve(url_path, file)` adds a file from elsewhere, such as a native
    program's output for the page to compare with."""

    def __init__(self, folder):
        self.extra = {}
        served = type('Handler', (QuietHandler,), {'extra': self.extra})
        handler = lambda *a, **k: served(*a, directory=folder, **k)
        socketserver.TCPServer.allow_reuse_address = True
        self.server = socketserver.ThreadingTCPServer(('127.0.0.1', 0), handler)
        self.server.daemon_threads = True
        self.url = 'http://127.0.0.1:%d/' % self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def serve(self, url_path, file):
        self.extra['/' + url_path.lstrip('/')] = file

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    """One headless Chromium with one page."""

    def __init__(self, width=1100, height=820, timeout=30):
        self.ws = None
        self.profile = tempfile.mkdtemp(prefix='kyr-chromium-')
        try:
            self.process = subprocess.Popen([CHROMIUM] + FLAGS + ['--user-data-dir=' + self.profile, 'about:blank'],
                                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                                            preexec_fn=_end_with_parent)
        except BaseException:
            shutil.rmtree(self.profile, ignore_errors=True)
            raise
        _open_browsers.add(self)
        try:
            self._connect(width, height, timeout)
        except BaseException:
            self.close()
            raise

    def _connect(self, width, height, timeout):
        port = self._devtools_port(timeout)
        deadline = time.time() + timeout
        while True:
            targets = json.load(urllib.request.urlopen('http://127.0.0.1:%d/json/list' % port))
            pages = [t for t in targets if t.get('type') == 'page']
            if pages or time.time() > deadline:
                break
            time.sleep(0.1)
        self.ws = websocket.create_connection(pages[0]['webSocketDebuggerUrl'], timeout=timeout)
        self.next_id = 0
        self.events = []
        self.call('Page.enable')
        self.call('Runtime.enable')
        self.set_viewport(width, height)
        self.call('Emulation.setFocusEmulationEnabled', enabled=True)

    def set_viewport(self, width, height):
        self.call('Emulation.setDeviceMetricsOverride',
                  width=width, height=height, deviceScaleFactor=1, mobile=False)

    def _devtools_port(self, timeout):
        deadline = time.time() + timeout
        lines = []
        while time.time() < deadline:
            line = self.process.stderr.readline()
            if not line:
                break
            lines.append(line)
            found = re.search(r'DevTools listening on ws://127\.0\.0\.1:(\d+)/', line)
            if found:
                threading.Thread(target=self._drain, daemon=True).start()
                return int(found.group(1))
        raise RuntimeError('chromium did not start: ' + ''.join(lines[-5:]))

    def _drain(self):
        try:
            for _ in self.process.stderr:
                pass
        except (ValueError, OSError):   # closed by close()
            pass

    def call(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get('id') == self.next_id:
                if 'error' in message:
                    raise RuntimeError('%s: %s' % (method, message['error']))
                return message.get('result', {})
            self.events.append(message)

    def evaluate(self, expression, await_promise=True):
        result = self.call('Runtime.evaluate', expression=expression, awaitPromise=await_promise,
                           returnByValue=True)
        if 'exceptionDetails' in result:
            raise RuntimeError('script failed: %s' % json.dumps(result['exceptionDetails'])[:500])
        return result['result'].get('value')

    def load(self, url):
        self.call('Page.navigate', url=url)

    def wait_for(self, expression, timeout=30, poll=0.05):
        """Waits until `expression` is truthy in the page; returns its value."""
        deadline = time.time() + timeout
        while True:
            value = self.evaluate(expression)
            if value:
                return value
            if time.time() > deadline:
                raise TimeoutError('waited %ss for %s' % (timeout, expression))
            time.sleep(poll)

    def key(self, code, down=True, modifiers=0, repeat=False):
        key, vk = KEYS[code]
        params = {'type': 'keyDown' if down else 'keyUp', 'code': code, 'key': key,
                  'windowsVirtualKeyCode': vk, 'nativeVirtualKeyCode': vk, 'modifiers': modifiers,
                  'autoRepeat': repeat}
        if down and len(key) == 1:
            params['text'] = key
        self.call('Input.dispatchKeyEvent', **params)

    def tap(self, code, hold=0.03):
        self.key(code, True)
        time.sleep(hold)
        self.key(code, False)

    def screenshot(self, path):
        import base64
        data = self.call('Page.captureScreenshot', format='png')['data']
        with open(path, 'wb') as f:
            f.write(base64.b64decode(data))

    def close(self):
        _open_browsers.discard(self)
        try:
            if self.ws is not None:
                self.ws.close()
        except Exception:
            pass
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.process.stderr.close()
        # Chromium's helper processes may still write to the profile as they end.
        for _ in range(50):
            remove_profile(self.profile)
            if not os.path.exists(self.profile):
                break
            time.sleep(0.1)


def remove_profile(profile):
    """Removes a Chromium profile and the folder of its singleton socket,
    which Chromium makes in the system's temporary folder (a socket's path
    must be short) and leaves there."""
    try:
        socket_folder = os.path.dirname(os.readlink(os.path.join(profile, 'SingletonSocket')))
        if os.path.basename(socket_folder).startswith('org.chromium.Chromium.'):
            shutil.rmtree(socket_folder, ignore_errors=True)
    except OSError:
        pass
    shutil.rmtree(profile, ignore_errors=True)


@atexit.register
def _close_all():
    for browser in list(_open_browsers):
        browser.close()
