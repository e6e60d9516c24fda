// The page around the program: the canvas it draws on, the keys typed into
// the page, the timers its waits sleep on, and what the page shows when it
// ends. Loaded before kyr.js, which takes `Module` from here.
'use strict';

var Module = (function () {
  const RECORDING = '/session.kyrrec';
  const REPLAY = '/replay.kyrrec';
  const TRACE = '/trace.txt';
  const MODIFIER_CODES = {
    ShiftLeft: 0, ShiftRight: 0, ControlLeft: 2, ControlRight: 4, AltLeft: 8, AltRight: 16,
  };

  const query = new URLSearchParams(location.search);
  const canvas = document.getElementById('screen');
  const stage = document.getElementById('stage');
  // Desynchronized: the canvas's updates reach the screen without a trip
  // through the page's compositing, which costs a third less CPU a frame
  // in Chromium (tools/measure-web.py).
  const context = canvas.getContext('2d', { alpha: false, desynchronized: true });
  const statusLine = document.getElementById('status');
  const endedBox = document.getElementById('ended');
  const held = new Set();   // modifier keys held down, by code
  const yieldChannel = new MessageChannel();
  let image = null;         // ImageData over the program's pixels
  let imageKey = '';

  function say(text) {
    statusLine.textContent = text;
  }

  // The largest whole scale at which the picture fits the browser window
  // below the page's bar, or the screen in fullscreen; at least 1.
  function fitCanvas() {
    const full = document.fullscreenElement === stage;
    const barHeight = full ? 0 : document.getElementById('bar').offsetHeight;
    const scale = Math.max(1, Math.min(Math.floor(window.innerWidth / canvas.width),
                                       Math.floor((window.innerHeight - barHeight) / canvas.height)));
    canvas.style.width = canvas.width * scale + 'px';
    canvas.style.height = canvas.height * scale + 'px';
    page.scale = scale;
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else stage.requestFullscreen().catch(() => say('the browser refused fullscreen'));
  }

  function modifierBits(event) {
    let bits = event.shiftKey ? 1 : 0;
    for (const code of held) bits |= MODIFIER_CODES[code];
    // A modifier held while the page had no focus still counts, on the left.
    if (event.ctrlKey && !(bits & 6)) bits |= 2;
    if (event.altKey && !(bits & 24)) bits |= 8;
    if (event.getModifierState('NumLock')) bits |= 32;
    if (event.getModifierState('CapsLock')) bits |= 64;
    if (event.getModifierState('ScrollLock')) bits |= 128;
    return bits;
  }

  function onKey(event) {
    if (!page.running) return;
    const down = event.type === 'keydown';
    if (event.code in MODIFIER_CODES) {
      if (down) held.add(event.code);
      else held.delete(event.code);
    }
    // Called directly, not through ccall: the program is nearly always
    // asleep in a wait (its stack unwound by Asyncify), and ccall would take
    // this call for an asynchronous one (an abort with assertions, a
    // Promise without).
    const stack = stackSave();
    const outcome = Module._kyr_key(allocateUTF8OnStack(event.code), down ? 1 : 0, event.repeat ? 1 : 0,
                                    modifierBits(event));
    stackRestore(stack);
    if (outcome === 0) return;   // no key of the program: the browser's own
    // The program has the key; the browser still has its shortcuts with
    // Ctrl or Meta (reload, new tab ...), F5 (reload) and F12 (its tools).
    const browsers = event.ctrlKey || event.metaKey || event.code === 'F5' || event.code === 'F12';
    if (browsers && outcome === 1) return;
    event.preventDefault();
    event.stopPropagation();
    if (outcome === 2) toggleFullscreen();
  }

  function download() {
    if (typeof FS === 'undefined' || (!page.running && page.status === null)) return say('nothing recorded yet');
    let name = RECORDING;
    if (!FS.analyzePath(name).exists) {
      const partial = FS.readdir('/').find((f) => f.startsWith('session.kyrrec.') && f.endsWith('.partial'));
      if (!partial) return say('nothing recorded yet');
      name = '/' + partial;
    }
    const blob = new Blob([FS.readFile(name)], { type: 'text/plain' });
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = 'kyr-' + new Date().toISOString().replace(/[:.]/g, '-') + '.kyrrec';
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
    canvas.focus();
  }

  // The program's calls (platform/web/WebCanvas.cpp).
  const page = {
    running: false,
    scale: 1,
    frames: 0,       // frames presented
    status: null,    // the program's status once it has ended
    log: [],         // what the program said on standard error

    open(width, height) {
      canvas.width = width;
      canvas.height = height;
      fitCanvas();
      return true;
    },
    close() {},
    present(pointer, width, height, x, y, w, h) {
      const key = HEAPU8.buffer.byteLength + ':' + pointer + ':' + width + ':' + height;
      if (image === null || imageKey !== key) {   // memory grew, or a new size
        image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pointer, width * height * 4), width, height);
        imageKey = key;
      }
      context.putImageData(image, 0, 0, x, y, w, h);
      page.frames++;
    },
    // A sleep of 0 only lets the browser run: a message, which browsers
    // never delay as they delay short timers.
    sleep(ms, wakeUp) {
      page.wakeUp = wakeUp;
      if (ms > 0) page.timer = setTimeout(page.resume, ms);
      else yieldChannel.port2.postMessage(0);
    },
    // A key arrived while the program waits: it goes on at once, after the
    // key event's handler has returned.
    wake() {
      if (page.wakeUp && !page.waking) {
        page.waking = true;
        Promise.resolve().then(page.resume);
      }
    },
    resume() {
      const wakeUp = page.wakeUp;
      clearTimeout(page.timer);
      page.wakeUp = null;
      page.waking = false;
      if (wakeUp) wakeUp();
    },
    ended(status) {
      page.running = false;
      page.status = status;
      const last = page.log.length ? page.log[page.log.length - 1] : '';
      say(status === 0 ? '' : 'status ' + status + (last ? ': ' + last : ''));
      endedBox.hidden = false;
      document.getElementById('again').focus();
    },
    traceText() {
      return FS.analyzePath(TRACE).exists ? FS.readFile(TRACE, { encoding: 'utf8' }) : null;
    },
  };

  // Before the program starts: the recording to replay, fetched into the
  // page's memory file system.
  function fetchReplay() {
    const url = query.get('replay');
    if (!url) return;
    Module.addRunDependency('replay');
    say('loading ' + url + ' ...');
    fetch(url)
      .then((response) => {
        if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
        return response.arrayBuffer();
      })
      .then((bytes) => {
        FS.writeFile(REPLAY, new Uint8Array(bytes));
        say('replaying ' + url);
        Module.removeRunDependency('replay');
      })
      .catch((error) => {
        say('cannot load the recording ' + url + ': ' + error.message);
        page.log.push('cannot load the recording');
      });
  }

  function argumentsOfPage() {
    const args = ['--record', RECORDING];
    if (query.get('replay')) args.push('--replay', REPLAY);
    if (query.get('trace') === '1') args.push('--trace', TRACE);
    if (query.get('replay') && query.get('fast') === '1') args.push('--fast');
    return args;
  }

  yieldChannel.port1.onmessage = () => page.resume();
  window.addEventListener('keydown', onKey, true);
  window.addEventListener('keyup', onKey, true);
  window.addEventListener('blur', () => held.clear());
  window.addEventListener('resize', fitCanvas);
  document.addEventListener('fullscreenchange', fitCanvas);
  canvas.addEventListener('click', () => canvas.focus());
  document.getElementById('fullscreen').addEventListener('click', toggleFullscreen);
  document.getElementById('download').addEventListener('click', download);
  document.getElementById('again').addEventListener('click', () => location.reload());
  window.kyrPage = page;
  fitCanvas();
  canvas.focus();

  return {
    kyrPage: page,
    arguments: argumentsOfPage(),
    preRun: [fetchReplay],
    onRuntimeInitialized() {
      page.running = true;
      canvas.focus();
    },
    print(text) {
      console.log(text);
    },
    printErr(text) {
      console.warn(text);
      page.log.push(text);
      say(text);
    },
  };
})();
