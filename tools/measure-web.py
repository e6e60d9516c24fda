#!/usr/bin/python3
"""The web page as a player runs it, in headless Chromium on this machine:
the program's pace (its waits that sleep: one a frame in the game), the
frames presented (only frames that changed something) and CPU in the same
three situations as
tools/measure-cpu.sh (the idle menu, a quiet level-1 game, firing 30 times
a second), what presenting a frame costs the page, and how long a key
typed into the menu takes to show.

    tools/measure-web.py [PAGE_FOLDER]     (default: build-web/web, from ./web)

CPU is user plus system time from /proc over 10 s: Chromium's renderer
process (which runs the program) and all of Chromium's processes together.
Takes about 80 s. Needs /usr/bin/python3 with python3-websocket, and chromium.
"""
import os
import statistics
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, 'tests', 'web'))
from browser import Browser, PageServer  # noqa: E402

SPAN = 10.0
HZ = os.sysconf('SC_CLK_TCK')

# Before the page's own script: the time of the last key typed (its
# listener then runs before the page's, which may show the key's frame
# before any later listener runs).
KEY_CLOCK = "window.kyrLastKey = null; window.addEventListener('keydown', (e) => { window.kyrLastKey = e.timeStamp; }, true);"

# Counts the page's presents and the time they take, the program's waits
# that sleep (one a frame in the game: its pace), and when the first present
# after a key came.
INSTRUMENT = r'''
(() => {
  const page = window.kyrPage, present = page.present, sleep = page.sleep;
  page.stats = {presents: 0, presentMs: 0, sleeps: 0, latencies: []};
  page.present = function (...args) {
    const t = performance.now();
    present.apply(this, args);
    const s = page.stats, now = performance.now();
    s.presents++; s.presentMs += now - t;
    if (window.kyrLastKey !== null) { s.latencies.push(now - window.kyrLastKey); window.kyrLastKey = null; }
  };
  page.sleep = function (ms, wakeUp) {
    if (ms > 0) page.stats.sleeps++;
    return sleep.call(this, ms, wakeUp);
  };
  return true;
})()
'''


def descendants(pid):
    children = {}
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open('/proc/%s/stat' % entry) as f:
                fields = f.read().rsplit(')', 1)[1].split()
            children.setdefault(int(fields[1]), []).append(int(entry))
        except OSError:
            pass
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        todo.extend(children.get(p, []))
    return found


def ticks(pid):
    try:
        with open('/proc/%d/stat' % pid) as f:
            fields = f.read().rsplit(')', 1)[1].split()
        return int(fields[11]) + int(fields[12])
    except OSError:
        return 0


def is_renderer(pid):
    try:
        with open('/proc/%d/cmdline' % pid) as f:
            return '--type=renderer' in f.read()
    except OSError:
        return False


def measure(browser, label, during=None):
    pids = descendants(browser.process.pid)
    renderers = [p for p in pids if is_renderer(p)]
    before = {p: ticks(p) for p in pids}
    stats0 = browser.evaluate('kyrPage.stats')
    start = time.time()
    while time.time() - start < SPAN:
        if during:
            during()
        else:
            time.sleep(0.1)
    elapsed = time.time() - start
    after = {p: ticks(p) for p in pids}
    stats = browser.evaluate('kyrPage.stats')
    frames = stats['presents'] - stats0['presents']
    waits = stats['sleeps'] - stats0['sleeps']
    present_ms = stats['presentMs'] - stats0['presentMs']

    def share(ps):
        return 100.0 * sum(after[p] - before[p] for p in ps) / HZ / elapsed

    print('%-5s %5.1f waits/s, %5.1f frames presented/s; renderer %5.1f%% of a core, all of Chromium %5.1f%%; '
          'presenting %.3f ms a frame' % (label, waits / elapsed, frames / elapsed, share(renderers), share(pids),
                                          present_ms / frames if frames else 0.0))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'build-web', 'web')
    server = PageServer(folder)
    browser = Browser()
    try:
        browser.call('Page.addScriptToEvaluateOnNewDocument', source=KEY_CLOCK)
        browser.load(server.url)
        browser.wait_for('window.kyrPage && kyrPage.running', 30)
        browser.evaluate(INSTRUMENT)
        print('load before: %s' % open('/proc/loadavg').read().split()[:3])
        time.sleep(31)   # the intro
        measure(browser, 'menu')
        # The menu's highlight answers every DOWN with one frame.
        for _ in range(20):
            browser.tap('ArrowDown', 0.02)
            time.sleep(0.15)
        latencies = browser.evaluate('kyrPage.stats.latencies.splice(0)')
        print('key   DOWN in the menu to the frame that shows it: median %.1f ms, max %.1f ms (%d keys)' % (
            statistics.median(latencies), max(latencies), len(latencies)))
        # Back to entry 1 (20 DOWNs went round the nine entries twice, plus two).
        for _ in range(20 - 9 * 2):
            browser.tap('ArrowUp', 0.02)
            time.sleep(0.15)
        for code in ('ArrowDown', 'ArrowDown', 'Space'):   # entry 3: Play KYR
            browser.tap(code, 0.02)
            time.sleep(0.05)
        time.sleep(4)    # the level's announcement
        measure(browser, 'game')
        next_shot = [time.time()]

        def fire():
            now = time.time()
            if now >= next_shot[0]:
                browser.tap('Space', 0.005)
                next_shot[0] += 1 / 30
            time.sleep(0.002)

        measure(browser, 'fire', fire)
        print('load after:  %s' % open('/proc/loadavg').read().split()[:3])
    finally:
        browser.close()
        server.close()


if __name__ == '__main__':
    main()
