// The browser's side of the web backend: the canvas, the page's input and focus, the waits that
// yield to the browser (the game's blocking loop runs unchanged on top of them), Web Audio, and
// standard input read from the page. Linked into the program as a JavaScript library; one
// state object per instance of the program.
//
// The page hands the backend its canvas as Module.canvas and may set Module.webUnpaced (its
// benchmark mode), Module.onFocusChange(focused), Module.onConsoleWait(waiting) and
// Module.onPauseChange(paused). It calls Module.webRequestPointerLock() from a click with the
// mouse, Module.webPlayWithoutLock() from a touch or a controller's press (fingers and
// controllers need no pointer lock), Module.webTogglePause() and Module.webEndKey(down) from
// its buttons for a finger, Module.webConsoleLine(text) to answer the console, and
// Module.webStop() to drop this instance.
// Module.webStats counts the frames shown and, unpaced, the time of every pass.
//
// Fingers on the canvas and controllers (the Gamepad API, polled at every animation frame) go
// to the shared input mapping, which turns them into the mouse and keys the game reads.

var LibraryWebBrowser = {
  $Web__postset: 'Web.attach(Module);',
  $Web: {
    // Milliseconds an animation frame may start before its deadline and still be taken: the
    // frame clock's jitter must not halve the rate when the display runs at the asked rate.
    FRAME_TOLERANCE: 2,
    // Milliseconds between two requests for a pointer lock the browser refused. A browser may
    // refuse the lock for a moment after the player gave it back with Escape, on this page or
    // the one before (Chromium for 1.25 s); the click to play still counts as the player's
    // gesture for a few seconds, so the lock is asked for again meanwhile.
    LOCK_RETRY_MILLISECONDS: 250,

    // KeyboardEvent.code to the scancode numbers of the key table (USB HID usages, with the
    // numbers past 255 that the table gives the media keys).
    SCANCODES: {
      KeyA: 4, KeyB: 5, KeyC: 6, KeyD: 7, KeyE: 8, KeyF: 9, KeyG: 10, KeyH: 11, KeyI: 12,
      KeyJ: 13, KeyK: 14, KeyL: 15, KeyM: 16, KeyN: 17, KeyO: 18, KeyP: 19, KeyQ: 20,
      KeyR: 21, KeyS: 22, KeyT: 23, KeyU: 24, KeyV: 25, KeyW: 26, KeyX: 27, KeyY: 28,
      KeyZ: 29, Digit1: 30, Digit2: 31, Digit3: 32, Digit4: 33, Digit5: 34, Digit6: 35,
      Digit7: 36, Digit8: 37, Digit9: 38, Digit0: 39, Enter: 40, Escape: 41, Backspace: 42,
      Tab: 43, Space: 44, Minus: 45, Equal: 46, BracketLeft: 47, BracketRight: 48,
      Backslash: 49, Semicolon: 51, Quote: 52, Backquote: 53, Comma: 54, Period: 55,
      Slash: 56, CapsLock: 57, F1: 58, F2: 59, F3: 60, F4: 61, F5: 62, F6: 63, F7: 64,
      F8: 65, F9: 66, F10: 67, F11: 68, F12: 69, PrintScreen: 70, ScrollLock: 71, Pause: 72,
      Insert: 73, Home: 74, PageUp: 75, Delete: 76, End: 77, PageDown: 78, ArrowRight: 79,
      ArrowLeft: 80, ArrowDown: 81, ArrowUp: 82, NumLock: 83, NumpadDivide: 84,
      NumpadMultiply: 85, NumpadSubtract: 86, NumpadAdd: 87, NumpadEnter: 88, Numpad1: 89,
      Numpad2: 90, Numpad3: 91, Numpad4: 92, Numpad5: 93, Numpad6: 94, Numpad7: 95,
      Numpad8: 96, Numpad9: 97, Numpad0: 98, NumpadDecimal: 99, IntlBackslash: 100,
      ContextMenu: 101, Power: 102, NumpadEqual: 103, F13: 104, F14: 105, F15: 106,
      MediaStop: 260, AudioVolumeMute: 127, AudioVolumeUp: 128, AudioVolumeDown: 129,
      NumpadComma: 133, IntlRo: 135, KanaMode: 136, IntlYen: 137, Convert: 138,
      NonConvert: 139, ControlLeft: 224, ShiftLeft: 225, AltLeft: 226, MetaLeft: 227,
      ControlRight: 228, ShiftRight: 229, AltRight: 230, MetaRight: 231,
      MediaTrackNext: 258, MediaTrackPrevious: 259, MediaPlayPause: 261,
      MediaSelect: 263, LaunchMediaPlayer: 263, LaunchMail: 265, LaunchApp2: 266,
      LaunchApp1: 267, BrowserSearch: 268, BrowserHome: 269, BrowserBack: 270,
      BrowserForward: 271, BrowserStop: 272, BrowserRefresh: 273, BrowserFavorites: 274,
      Sleep: 282
    },
    // MouseEvent.button (0 left, 1 middle, 2 right, 3 back) to the queue's button numbers.
    BUTTONS: [0, 2, 1, 3],
    // Controllers read at once (more are not), and the buttons of the Gamepad API's standard
    // layout that the mapping reads, as its PAD_* bits: A (0) swims, Start (9) pauses, Back (8)
    // ends; and the two triggers (6, 7), which swim too.
    PADS: 4,
    PAD_BUTTONS: [[0, 1], [9, 2], [8, 4]],
    PAD_TRIGGERS: [6, 7],
    PAD_PLAYS_ON: 1 | 2, // A or Start on a paused page

    attach: function(module) {
      Web.module = module;
      Web.stopped = false;
      Web.open = false;
      Web.windowFocused = true;
      Web.lockWanted = false;
      Web.lockPending = false;
      Web.lockRetry = null;
      Web.escapeFocus = false;
      Web.freeFocus = false;
      Web.reported = false;
      Web.fingers = new Set();
      Web.pads = [];
      Web.padLoop = null;
      Web.paused = false;
      Web.focusWaiter = null;
      Web.motion = {x: 0, y: 0};
      Web.stdin = {bytes: [], waiter: null};
      Web.stats = module['webStats'] = {frames: 0, firstFrame: 0, passes: []};
      Web.lastWake = 0;
      // Standard output and error are devices, not terminals: the console's lines reach the
      // page whole, as single-byte text, and no terminal title sequence is written among them.
      module['stdout'] = Web.lineWriter(function(line) { (module['print'] || out)(line); });
      module['stderr'] = Web.lineWriter(function(line) { (module['printErr'] || err)(line); });
      module['webRequestPointerLock'] = Web.requestPointerLock;
      module['webPlayWithoutLock'] = Web.playWithoutLock;
      module['webTogglePause'] = function() { if (Web.open && !Web.stopped) _WebTogglePause(); };
      module['webEndKey'] = function(down) { if (Web.open && !Web.stopped) _WebEndKey(down ? 1 : 0); };
      module['webConsoleLine'] = function(text) {
        for (var i = 0; i < text.length; ++i) Web.stdin.bytes.push(text.charCodeAt(i) & 0xFF);
        Web.stdin.bytes.push(10);
        Web.feedConsole();
      };
      module['webStop'] = Web.stop;
    },

    // A device's output, byte by byte, to whole lines of ISO 8859-1 text.
    lineWriter: function(emit) {
      var line = '';
      return function(byte) {
        if (byte === null || byte === 10) {
          if (byte === 10 || line) emit(line);
          line = '';
          return;
        }
        line += String.fromCharCode(byte & 0xFF);
      };
    },

    stop: function() {
      Web.stopped = true;
      Web.watch(false);
      Web.watchPads(false);
      document.removeEventListener('pointerlockchange', Web.onLockChange);
      document.removeEventListener('pointerlockerror', Web.lockFailed);
      if (Web.audio) Web.audio.close();
      Web.audio = null;
      Web.releasePointer();
    },

    // Gives the pointer back to the page (its lock, or a lock asked for), and the focus a touch
    // or a controller gave.
    releasePointer: function() {
      Web.freeFocus = false;
      Web.lockWanted = false;
      Web.lockPending = false;
      Web.cancelLockRetry();
      if (document.pointerLockElement === Web.canvas()) document.exitPointerLock();
    },

    canvas: function() {
      return Web.module['canvas'];
    },

    focusedNow: function() {
      var locked = document.pointerLockElement === Web.canvas();
      return Web.open && !document.hidden && Web.windowFocused &&
             (locked || Web.lockPending || Web.escapeFocus || Web.freeFocus);
    },

    // Tells the program and the page when the focus the page gives changed, and ends a pause.
    updateFocus: function() {
      if (Web.stopped) return;
      var focused = Web.focusedNow();
      if (focused === Web.reported) return;
      Web.reported = focused;
      if (focused) Web.maskHeldPadButtons();
      _WebFocus(focused ? 1 : 0);
      if (Web.module['onFocusChange']) Web.module['onFocusChange'](focused);
      if (focused && Web.focusWaiter) {
        var wake = Web.focusWaiter;
        Web.focusWaiter = null;
        wake();
      }
    },

    requestPointerLock: function() {
      var canvas = Web.canvas();
      if (!canvas || Web.stopped) return;
      if (!Web.watchingLock) {
        // From the first request on: the game may stop before its screen opens and takes input.
        document.addEventListener('pointerlockchange', Web.onLockChange);
        document.addEventListener('pointerlockerror', Web.lockFailed);
        Web.watchingLock = true;
      }
      Web.lockWanted = true;
      Web.lockPending = true;
      Web.cancelLockRetry();
      Web.askForLock();
      Web.updateFocus();
    },

    // A touch or a controller's press plays: the game takes the input without the pointer
    // lock, until the page is left (another tab, another window) or the pointer is locked.
    playWithoutLock: function() {
      if (!Web.canvas() || Web.stopped) return;
      Web.freeFocus = true;
      Web.escapeFocus = false;
      Web.updateFocus();
    },

    askForLock: function() {
      var request = Web.canvas().requestPointerLock();
      if (request && request.catch) request.catch(function() { Web.lockFailed(); });
    },

    // The browser refused the lock (its error event and the request's promise both say so, in
    // either order). While the player's click still counts as a gesture, the lock stays pending
    // and is asked for again, so that one click plays; after that, the page is paused.
    lockFailed: function() {
      if (!Web.lockPending || Web.lockRetry !== null) return;
      var activation = navigator.userActivation;
      if (Web.lockWanted && !Web.stopped && activation && activation.isActive) {
        Web.lockRetry = setTimeout(Web.retryLock, Web.LOCK_RETRY_MILLISECONDS);
        return;
      }
      Web.lockPending = false;
      Web.updateFocus();
    },

    retryLock: function() {
      Web.lockRetry = null;
      if (!Web.lockPending || Web.stopped || document.pointerLockElement === Web.canvas()) return;
      Web.askForLock();
    },

    cancelLockRetry: function() {
      if (Web.lockRetry !== null) clearTimeout(Web.lockRetry);
      Web.lockRetry = null;
    },

    onLockChange: function() {
      Web.lockPending = false;
      Web.cancelLockRetry();
      var locked = document.pointerLockElement === Web.canvas();
      // A lock that comes after the pointer was given back is given back too.
      if (locked && !Web.lockWanted) document.exitPointerLock();
      // A lock taken means the mouse plays: its loss pauses, whatever gave the focus before.
      if (locked) Web.escapeFocus = Web.freeFocus = false;
      Web.motion.x = Web.motion.y = 0;
      Web.updateFocus();
    },

    onKey: function(event) {
      var scancode = Web.SCANCODES[event.code];
      if (!Web.open || scancode === undefined) return;
      var down = event.type === 'keydown';
      if (down && !Web.reported) {
        // The browser takes the first Escape to give the pointer back, which pauses the game;
        // Escape on the paused page is the game's Escape again.
        if (event.code !== 'Escape' || document.hidden) return;
        Web.escapeFocus = true;
        _WebKey(scancode, 1);
        Web.updateFocus();
        event.preventDefault();
        return;
      }
      if (down && event.repeat) return;
      _WebKey(scancode, down ? 1 : 0);
      // The function keys keep their meaning to the browser (reload, full screen, tools).
      if (Web.reported && !/^F\d+$/.test(event.code)) event.preventDefault();
    },

    onMouseMove: function(event) {
      if (!Web.reported || document.pointerLockElement !== Web.canvas()) return;
      // Movement may come in fractions of a pixel: they add up instead of being lost.
      Web.motion.x += event.movementX;
      Web.motion.y += event.movementY;
      var dx = Math.trunc(Web.motion.x), dy = Math.trunc(Web.motion.y);
      Web.motion.x -= dx;
      Web.motion.y -= dy;
      _WebMouseMotion(dx, dy);
    },

    // Mouse events that a browser makes up for a touch are the finger's, not the mouse's.
    fromTouch: function(event) {
      return !!(event.sourceCapabilities && event.sourceCapabilities.firesTouchEvents);
    },

    onMouseButton: function(event) {
      var button = Web.BUTTONS[event.button];
      if (button === undefined || Web.fromTouch(event)) return;
      var down = event.type === 'mousedown';
      _WebMouseButton(button, down ? 1 : 0);
      if (!Web.reported) return;
      event.preventDefault();
      // Playing by touch or with a controller, the mouse takes its turn with a click on the
      // canvas, which asks for the lock the mouse needs.
      if (down && event.target === Web.canvas() && document.pointerLockElement !== Web.canvas())
        Web.requestPointerLock();
    },

    // The point of the logical screen under a finger: the canvas is scaled into its box with
    // its aspect kept, and centred.
    canvasPoint: function(event) {
      var canvas = Web.canvas(), box = canvas.getBoundingClientRect();
      var scale = Math.min(box.width / canvas.width, box.height / canvas.height);
      var left = box.left + (box.width - canvas.width * scale) / 2;
      var top = box.top + (box.height - canvas.height * scale) / 2;
      return {x: Math.floor((event.clientX - left) / scale), y: Math.floor((event.clientY - top) / scale)};
    },

    onFinger: function(event) {
      if (event.pointerType === 'mouse') return;
      // No scrolling, zooming, selecting or mouse events made up for the touch: the finger is
      // the game's.
      if (event.cancelable) event.preventDefault();
      var id = event.pointerId;
      if (event.type === 'pointerup' || event.type === 'pointercancel') {
        if (Web.fingers.delete(id)) _WebFinger(id, 0, 0, 0);
        return;
      }
      if (event.type === 'pointerdown') {
        if (!Web.reported) return;
        Web.fingers.add(id);
      } else if (!Web.fingers.has(id)) {
        return;
      }
      var point = Web.canvasPoint(event);
      _WebFinger(id, point.x, point.y, 1);
    },

    // Fingers the page stopped hearing of (it lost the focus) are lifted.
    liftFingers: function() {
      if (!Web.fingers.size) return;
      Web.fingers.clear();
      _WebFingersGone();
    },

    onContextMenu: function(event) {
      if (Web.open) event.preventDefault();
    },

    // One controller's state as the mapping takes it; all zeros for none.
    padState: function(pad) {
      var state = {x: 0, y: 0, trigger: 0, buttons: 0};
      if (!pad || !pad.connected) return state;
      var pressed = function(index) { return !!(pad.buttons[index] && pad.buttons[index].pressed); };
      state.x = pad.axes[0] || 0;
      state.y = pad.axes[1] || 0;
      for (var i = 0; i < Web.PAD_TRIGGERS.length; ++i) {
        var trigger = pad.buttons[Web.PAD_TRIGGERS[i]];
        if (trigger) state.trigger = Math.max(state.trigger, trigger.value || (trigger.pressed ? 1 : 0));
      }
      for (i = 0; i < Web.PAD_BUTTONS.length; ++i)
        if (pressed(Web.PAD_BUTTONS[i][0])) state.buttons |= Web.PAD_BUTTONS[i][1];
      return state;
    },

    readPads: function() {
      var list = navigator.getGamepads ? navigator.getGamepads() : [];
      var states = [];
      for (var slot = 0; slot < Web.PADS; ++slot) states.push(Web.padState(null));
      for (var i = 0; list && i < list.length; ++i) {
        var pad = list[i];
        if (pad && pad.connected && pad.index < Web.PADS) states[pad.index] = Web.padState(pad);
      }
      return states;
    },

    // Buttons held when the game takes the input count only once let go: the press that
    // started or resumed the game does not also pause it.
    maskHeldPadButtons: function() {
      var states = Web.readPads();
      for (var slot = 0; slot < Web.PADS; ++slot) {
        var pad = Web.pads[slot] || (Web.pads[slot] = {told: null, last: 0, mask: 0});
        pad.mask = states[slot].buttons;
      }
    },

    // Every animation frame while the screen is open: the controllers' states go to the
    // mapping when they changed; while the page is paused, A or Start plays on; the pause of
    // Start and the page's button is told to the page.
    pollPads: function() {
      Web.padLoop = requestAnimationFrame(Web.pollPads);
      var states = Web.readPads();
      for (var slot = 0; slot < Web.PADS; ++slot) {
        var state = states[slot];
        var pad = Web.pads[slot] || (Web.pads[slot] = {told: null, last: 0, mask: 0});
        var pressed = state.buttons & ~pad.last;
        pad.last = state.buttons;
        pad.mask &= state.buttons;
        if (!Web.reported) {
          if ((pressed & Web.PAD_PLAYS_ON) && !document.hidden && Web.windowFocused) Web.playWithoutLock();
          continue;
        }
        var buttons = state.buttons & ~pad.mask;
        var told = pad.told;
        if (told && told.x === state.x && told.y === state.y && told.trigger === state.trigger &&
            told.buttons === buttons) continue;
        pad.told = {x: state.x, y: state.y, trigger: state.trigger, buttons: buttons};
        _WebPad(slot, state.x, state.y, state.trigger, buttons);
      }
      var paused = !!_WebPaused();
      if (paused !== Web.paused) {
        Web.paused = paused;
        if (Web.module['onPauseChange']) Web.module['onPauseChange'](paused);
      }
    },

    watchPads: function(on) {
      if (Web.padLoop !== null) cancelAnimationFrame(Web.padLoop);
      Web.padLoop = null;
      if (on) Web.pollPads();
    },

    onWheel: function(event) {
      if (!Web.reported) return;
      event.preventDefault();
      // 120 device units a notch; a notch is 100 pixels, or 3 lines, of scrolling. Away from
      // the player is positive, as the game's wheel counts it.
      var notches = event.deltaMode === 0 ? event.deltaY / 100 :
                    event.deltaMode === 1 ? event.deltaY / 3 : event.deltaY;
      _WebMouseWheel(Math.round(-notches * 120));
    },

    onWindowFocus: function(event) {
      Web.windowFocused = event.type === 'focus';
      // Coming back takes a touch or a click, as the pointer lock does.
      if (!Web.windowFocused) Web.leave();
      Web.updateFocus();
    },

    onVisibility: function() {
      if (document.hidden) Web.leave();
      Web.updateFocus();
    },

    leave: function() {
      Web.freeFocus = false;
      Web.liftFingers();
    },

    watch: function(on) {
      var add = on ? 'addEventListener' : 'removeEventListener';
      var options = {passive: false};
      document[add]('keydown', Web.onKey, options);
      document[add]('keyup', Web.onKey, options);
      document[add]('mousemove', Web.onMouseMove, options);
      document[add]('mousedown', Web.onMouseButton, options);
      document[add]('mouseup', Web.onMouseButton, options);
      document[add]('wheel', Web.onWheel, options);
      var canvas = Web.canvas();
      if (canvas) {
        ['pointerdown', 'pointermove', 'pointerup', 'pointercancel'].forEach(function(type) {
          canvas[add](type, Web.onFinger, options);
        });
        canvas[add]('contextmenu', Web.onContextMenu, options);
      }
      document[add]('visibilitychange', Web.onVisibility);
      window[add]('blur', Web.onWindowFocus);
      window[add]('focus', Web.onWindowFocus);
    },

    // Hands the bytes the page typed to a waiting read of standard input.
    feedConsole: function() {
      var waiter = Web.stdin.waiter;
      if (!waiter || !Web.stdin.bytes.length) return;
      Web.stdin.waiter = null;
      if (Web.module['onConsoleWait']) Web.module['onConsoleWait'](false);
      waiter();
    },

    // Copies pending standard input into the read's buffers; the number of bytes.
    readConsole: function(iov, iovcnt) {
      var count = 0;
      for (var i = 0; i < iovcnt && Web.stdin.bytes.length; ++i) {
        var buffer = HEAPU32[(iov + 8 * i) >> 2], length = HEAPU32[(iov + 8 * i + 4) >> 2];
        var part = Web.stdin.bytes.splice(0, length);
        HEAPU8.set(part, buffer);
        count += part.length;
      }
      return count;
    }
  },

  WebClockMilliseconds__deps: ['$Web'],
  WebClockMilliseconds: function() {
    return performance.timeOrigin + performance.now();
  },

  WebWatchInput__deps: ['$Web'],
  WebWatchInput: function(on) {
    if (!Web.stopped) Web.watch(!!on);
  },

  WebPageFocused__deps: ['$Web'],
  WebPageFocused: function() {
    return Web.reported ? 1 : 0;
  },

  WebWaitForFocus__deps: ['$Web'],
  WebWaitForFocus: function() {
    Asyncify.handleSleep(function(wakeUp) {
      if (Web.reported) {
        wakeUp();
        return;
      }
      Web.focusWaiter = wakeUp;
    });
  },

  WebOpenCanvas__deps: ['$Web'],
  WebOpenCanvas: function(width, height, title) {
    var canvas = Web.canvas();
    if (!canvas || Web.stopped) return 0;
    canvas.width = width;
    canvas.height = height;
    Web.context = canvas.getContext('2d', {alpha: false});
    if (!Web.context) return 0;
    Web.context.fillStyle = '#000';
    Web.context.fillRect(0, 0, width, height);
    Web.image = null;
    document.title = UTF8ToString(title);
    Web.open = true;
    Web.reported = Web.focusedNow();
    Web.maskHeldPadButtons();
    Web.watchPads(true);
    return 1;
  },

  WebCloseCanvas__deps: ['$Web'],
  WebCloseCanvas: function() {
    Web.open = false;
    Web.escapeFocus = false;
    Web.reported = false;
    Web.image = null;
    Web.watchPads(false);
    Web.fingers.clear();
    if (Web.context) Web.context.fillRect(0, 0, Web.canvas().width, Web.canvas().height);
    Web.releasePointer();
  },

  WebShowFrame__deps: ['$Web'],
  WebShowFrame: function(rgba, width, height) {
    // The image looks straight at the program's memory, which moves when the memory grows.
    if (!Web.image || Web.image.buffer !== HEAPU8.buffer || Web.image.at !== rgba) {
      var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
      Web.image = {data: new ImageData(pixels, width, height), buffer: HEAPU8.buffer, at: rgba};
    }
    Web.context.putImageData(Web.image.data, 0, 0);
    var stats = Web.stats;
    if (stats.frames++ === 0) stats.firstFrame = performance.now();
  },

  WebWaitForFrame__deps: ['$Web'],
  WebWaitForFrame: function(wake) {
    Asyncify.handleSleep(function(wakeUp) {
      function tick(time) {
        if (Web.stopped) return;
        if (performance.timeOrigin + time >= wake - Web.FRAME_TOLERANCE) wakeUp();
        else requestAnimationFrame(tick);
      }
      requestAnimationFrame(tick);
    });
  },

  WebYieldNow__deps: ['$Web'],
  WebYieldNow: function() {
    Asyncify.handleSleep(function(wakeUp) {
      var now = performance.now();
      if (Web.lastWake) Web.stats.passes.push(now - Web.lastWake);
      if (!Web.channel) Web.channel = new MessageChannel();
      Web.channel.port1.onmessage = function() {
        if (Web.stopped) return;
        Web.lastWake = performance.now();
        wakeUp();
      };
      Web.channel.port2.postMessage(0);
    });
  },

  WebUnpaced__deps: ['$Web'],
  WebUnpaced: function() {
    return Web.module['webUnpaced'] ? 1 : 0;
  },

  WebOpenAudio__deps: ['$Web'],
  WebOpenAudio: function() {
    var AudioContext = window.AudioContext || window.webkitAudioContext;
    if (!AudioContext || Web.stopped) return 0;
    try {
      Web.audio = new AudioContext();
    } catch (e) {
      return 0;
    }
    return 1;
  },

  WebCloseAudio__deps: ['$Web'],
  WebCloseAudio: function() {
    if (Web.audio) Web.audio.close();
    Web.audio = null;
  },

  // Standard input is the page's console: a read of it waits, letting the browser run, until
  // the player entered a line. Every other descriptor reads as
  // the file system's own read does.
  fd_read__deps: ['$Web', '$SYSCALLS'],
  fd_read: function(fd, iov, iovcnt, pnum) {
    if (fd !== 0) {
      var stream = SYSCALLS.getStreamFromFD(fd);
      HEAP32[pnum >> 2] = SYSCALLS.doReadv(stream, iov, iovcnt);
      return 0;
    }
    return Asyncify.handleSleep(function(wakeUp) {
      function deliver() {
        if (Web.stopped) return;
        HEAP32[pnum >> 2] = Web.readConsole(iov, iovcnt);
        wakeUp(0);
      }
      if (Web.stdin.bytes.length) {
        deliver();
        return;
      }
      // The player answers on the page: the pointer is needed there (a start-up that stopped
      // before its screen opened still holds the lock the click to play asked for).
      Web.stdin.waiter = deliver;
      Web.releasePointer();
      if (Web.module['onConsoleWait']) Web.module['onConsoleWait'](true);
    });
  }
};

autoAddDeps(LibraryWebBrowser, '$Web');
mergeInto(LibraryManager.library, LibraryWebBrowser);
