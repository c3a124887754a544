// The page around the game: it loads the world, keeps one instance of the program ready and
// starts it at a click (the browser grants the pointer lock and sound only to a gesture),
// shows the console, the pause and the end, keeps pref.ini in the browser's storage across
// reloads (in the page's memory where the browser refuses storage), and offers the five
// settings of pref.ini. With ?bench the game presents unpaced.
// A game started by a touch plays without the pointer lock, full-screen where the browser
// allows it, with two buttons for a thumb (pause, end); one started with a controller's A or
// Start plays without the lock too.
'use strict';

(function() {
  const PREFERENCES_KEY = 'vellomira/pref.ini';
  const FOLDER = '/play';
  const PREFERENCES = FOLDER + '/pref.ini';

  const $ = (id) => document.getElementById(id);
  const page = {
    canvas: $('screen'), message: $('message'), play: $('play'), answer: $('answer'),
    answerLine: $('answer-line'), consolePanel: $('console'), lines: $('lines'),
    settings: $('settings'), showConsole: $('show-console'), showSettings: $('show-settings'),
    touchPause: $('touch-pause'), touchEnd: $('touch-end'), storageNote: $('storage-note'),
  };
  const bench = new URLSearchParams(location.search).has('bench');

  const state = {
    world: null,     // {table, data}: the packed world and font
    spare: null,     // a loaded instance whose game has not started
    game: null,      // the instance whose game runs
    lastLine: '',    // the game's last console line
    waitLine: '',    // the line shown when the game waits for the console
    errors: [],      // what went wrong in the page itself
    input: 'mouse',  // what the player last pressed with: 'mouse', 'touch' or 'pad'
    unstored: null,  // pref.ini's bytes when the browser refused to store them
  };
  const touchFirst = matchMedia('(hover: none) and (pointer: coarse)').matches;

  // ---- Phases: what the curtain says ----

  function setPhase(phase, message) {
    document.body.dataset.phase = phase;
    if (message !== undefined) page.message.textContent = message;
    page.play.hidden = !(phase === 'ready' || phase === 'ended');
    page.answer.hidden = phase !== 'waiting';
    if (phase === 'waiting') page.answerLine.focus();
    if (phase === 'ready' || phase === 'ended') watchPadsOnCard();
  }

  function fail(text) {
    state.errors.push(text);
    setPhase('failed', 'The game cannot run here: ' + text);
  }

  // ---- The console panel ----

  function addLine(text, kind) {
    const line = document.createElement('div');
    line.className = kind;
    line.textContent = text;
    page.lines.appendChild(line);
    page.consolePanel.scrollTop = page.consolePanel.scrollHeight;
    if (kind === 'out') state.lastLine = text;
  }

  function togglePanel(panel, button, show) {
    panel.hidden = !show;
    button.setAttribute('aria-pressed', String(show));
  }

  // ---- pref.ini in the browser's storage (the file's bytes as one character each) ----

  // A browser may refuse storage (site data blocked for the page, or no room left): pref.ini
  // then lives in the page's memory, for the restarts until the page is left, and the
  // settings panel says so.
  function storageRefused() {
    page.storageNote.hidden = false;
  }

  function storedPreferences() {
    if (state.unstored) return state.unstored;
    let text = null;
    try {
      text = localStorage.getItem(PREFERENCES_KEY);
    } catch (e) {
      storageRefused();
    }
    return text === null ? null : Uint8Array.from(text, (c) => c.charCodeAt(0));
  }

  function keepPreferences(FS) {
    let bytes;
    try {
      bytes = FS.readFile(PREFERENCES);
    } catch (e) {
      return; // not there (yet): nothing to keep
    }
    try {
      localStorage.setItem(PREFERENCES_KEY, String.fromCharCode.apply(null, bytes));
      state.unstored = null;
    } catch (e) {
      state.unstored = bytes;
      storageRefused();
    }
  }

  // The game's own files: the world, the font, and the stored pref.ini.
  function installFiles(module) {
    const FS = module.FS;
    for (const file of state.world.table.files) {
      const folder = file.filename.slice(0, file.filename.lastIndexOf('/'));
      FS.mkdirTree(folder);
      FS.writeFile(file.filename, new Uint8Array(state.world.data, file.start, file.end - file.start));
    }
    FS.mkdirTree(FOLDER);
    FS.chdir(FOLDER);
    // The game writes pref.ini into a temporary file that it renames (or, were it to write it
    // straight, closes): either way the file is kept in the browser's storage at once.
    const rename = FS.rename, close = FS.close;
    const isPreferences = (path) => {
      try {
        return FS.lookupPath(path).path === PREFERENCES;
      } catch (e) {
        return false;
      }
    };
    FS.rename = (from, to) => {
      rename(from, to);
      if (isPreferences(to)) keepPreferences(FS);
    };
    FS.close = (stream) => {
      close(stream);
      if ((stream.flags & 3) !== 0 && isPreferences(stream.path)) keepPreferences(FS);
    };
  }

  function placePreferences(module) {
    const FS = module.FS;
    const bytes = storedPreferences();
    try { FS.unlink(PREFERENCES); } catch (e) { /* not there */ }
    if (bytes) FS.writeFile(PREFERENCES, bytes);
  }

  // ---- Instances of the program ----

  async function loadWorld() {
    const [table, data] = await Promise.all([
      fetch('world.json').then((r) => { if (!r.ok) throw new Error('world.json: ' + r.status); return r.json(); }),
      fetch('world.data').then((r) => { if (!r.ok) throw new Error('world.data: ' + r.status); return r.arrayBuffer(); }),
    ]);
    return {table, data};
  }

  function makeInstance() {
    const module = {
      canvas: page.canvas,
      webUnpaced: bench,
      print: (text) => addLine(text, 'out'),
      printErr: (text) => addLine(text, 'err'),
      onFocusChange: (focused) => { if (state.game === module) focusChanged(focused); },
      onConsoleWait: (waiting) => { if (state.game === module) consoleWait(waiting); },
      onPauseChange: (paused) => { if (state.game === module) pauseChanged(paused); },
      onAbort: (what) => { if (state.game === module) stopped('the program stopped (' + what + ')'); },
      preRun: [() => installFiles(module)],
    };
    return createVellomira(module);
  }

  async function prepareSpare() {
    state.spare = null;
    const instance = await makeInstance();
    state.spare = instance;
    return instance;
  }

  // Drops the instance of the game that ran, ended or stopped. An instance that stays would
  // keep listening to the page: it would give back the pointer lock its successor asks for,
  // since both share the canvas.
  function stopGame() {
    if (state.game) state.game.webStop();
    state.game = null;
  }

  // ---- The input the player plays with ----

  // Gives the game the input the way the player's last press asks: the mouse needs the pointer
  // lock; a finger or a controller plays without it, a finger on the whole screen where the
  // browser allows it.
  function takeInput(instance) {
    document.body.dataset.input = state.input;
    if (state.input === 'mouse') {
      instance.webRequestPointerLock();
      return;
    }
    instance.webPlayWithoutLock();
    if (state.input === 'touch' && !document.fullscreenElement && document.fullscreenEnabled)
      document.documentElement.requestFullscreen({navigationUI: 'hide'}).catch(() => {});
  }

  function pauseChanged(paused) {
    document.body.toggleAttribute('data-held', paused);
    page.touchPause.setAttribute('aria-pressed', String(paused));
    page.touchPause.setAttribute('aria-label', paused ? 'Play on (P)' : 'Pause (P)');
  }

  // A controller's A or Start on the card plays, as a click does: pressed there, not still held
  // from the game that ended.
  let cardPads = null;
  function watchPadsOnCard() {
    if (cardPads !== null || !navigator.getGamepads) return;
    let held = null;
    const poll = () => {
      const phase = document.body.dataset.phase;
      if (phase !== 'ready' && phase !== 'ended') {
        cardPads = null;
        return;
      }
      cardPads = requestAnimationFrame(poll);
      const now = new Set();
      for (const pad of navigator.getGamepads() || [])
        if (pad && pad.connected && [0, 9].some((i) => pad.buttons[i] && pad.buttons[i].pressed))
          now.add(pad.index);
      const pressed = held !== null && [...now].some((index) => !held.has(index));
      held = now;
      if (pressed && state.spare) {
        state.input = 'pad';
        startGame();
      }
    };
    cardPads = requestAnimationFrame(poll);
  }

  // Runs at a click: the start-up runs at once, inside the player's gesture.
  function startGame() {
    const instance = state.spare;
    if (!instance) return;
    stopGame();
    state.game = instance;
    state.lastLine = '';
    page.lines.textContent = '';
    placePreferences(instance);
    setPhase('running');
    pauseChanged(false);
    takeInput(instance);
    instance.ccall('main', 'number', ['number', 'number'], [0, 0], {async: true}).then(
        (status) => { if (state.game === instance) ended(status); },
        (error) => { if (state.game === instance) stopped('the program stopped (' + error + ')'); });
    prepareSpare().catch((e) => fail(String(e)));
  }

  // The program failed under the page: the pointer and the page's input are given back.
  function stopped(text) {
    stopGame();
    fail(text);
  }

  function focusChanged(focused) {
    if (document.body.dataset.phase === 'ended' || document.body.dataset.phase === 'waiting') return;
    if (focused) setPhase('running');
    else if (state.input === 'mouse') setPhase('paused', 'Paused.\nClick to play on, or press Escape to end the game.');
    else setPhase('paused', 'Paused.\nTap, or press A or Start, to play on.');
  }

  function consoleWait(waiting) {
    if (!waiting) return;
    state.waitLine = state.lastLine;
    setPhase('waiting', 'The game stopped:\n' + state.waitLine + '\nPress Enter to end it.');
  }

  function ended(status) {
    const text = status === 0 && state.lastLine === 'Quit...'
        ? 'The game has ended (Quit...).'
        : 'The game stopped on: ' + (state.waitLine || state.lastLine) + '\nExit status ' + status + '.';
    stopGame();
    setPhase('ended', text);
    page.play.textContent = 'Play again';
  }

  // ---- The settings panel ----

  // Five int32 values in the instance's memory, for the panel's two calls.
  function withValues(instance, use) {
    const at = instance._malloc(5 * 4);
    try {
      return use(at);
    } finally {
      instance._free(at);
    }
  }

  // The list offers the depths the world runs at (its frames need 16 bits or more); a depth of
  // pref.ini outside it is shown as it is, so that Apply keeps it unless the player picks
  // another.
  function showDepth(depth) {
    const select = page.settings.elements.depth;
    for (const option of [...select.options]) if (option.dataset.stored) option.remove();
    if (![...select.options].some((option) => option.value === String(depth))) {
      const option = new Option(depth + ' (from pref.ini, does not run)', String(depth));
      option.dataset.stored = 'yes';
      select.add(option);
    }
    select.value = String(depth);
  }

  function openSettings() {
    const instance = state.spare;
    if (!instance) return;
    placePreferences(instance);
    const values = withValues(instance, (at) => {
      instance._WebReadPreferences(at);
      return Array.from(instance.HEAP32.subarray(at >> 2, (at >> 2) + 5));
    });
    const form = page.settings.elements;
    form.width.value = values[0];
    form.height.value = values[1];
    showDepth(values[2]);
    form.bilinear.checked = values[3] !== 0;
    form.overlay.value = values[4];
    togglePanel(page.settings, page.showSettings, true);
  }

  function applySettings(event) {
    event.preventDefault();
    const instance = state.spare;
    if (!instance) return;
    const form = page.settings.elements;
    const values = [Number(form.width.value), Number(form.height.value), Number(form.depth.value),
                    form.bilinear.checked ? 1 : 0, Number(form.overlay.value)];
    placePreferences(instance);
    const written = withValues(instance, (at) => {
      instance.HEAP32.set(values, at >> 2);
      return instance._WebWritePreferences(at);
    });
    if (!written) {
      addLine('The settings could not be written.', 'err');
      return;
    }
    togglePanel(page.settings, page.showSettings, false);
    startGame();
  }

  // ---- Wiring ----

  // What the player presses with decides how the game takes the input at the next start or
  // resume.
  document.addEventListener('pointerdown', (event) => {
    state.input = event.pointerType === 'touch' || event.pointerType === 'pen' ? 'touch' : 'mouse';
  }, {capture: true});
  page.play.addEventListener('click', () => startGame());
  const resume = (event) => {
    if (document.body.dataset.phase === 'paused' && state.game && event.target.tagName !== 'BUTTON')
      takeInput(state.game);
  };
  document.getElementById('curtain').addEventListener('click', resume);
  page.canvas.addEventListener('click', resume);
  // The buttons for a thumb act at the touch, and the touch stays theirs (no mouse events, no
  // long-press menu).
  page.touchPause.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    if (state.game) state.game.webTogglePause();
  });
  page.touchEnd.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    if (state.game) state.game.webEndKey(true);
  });
  for (const type of ['pointerup', 'pointercancel', 'pointerleave'])
    page.touchEnd.addEventListener(type, () => { if (state.game) state.game.webEndKey(false); });
  document.addEventListener('contextmenu', (event) => {
    if (document.body.dataset.phase === 'running' || event.target.closest('#touch-controls'))
      event.preventDefault();
  });
  page.answer.addEventListener('submit', (event) => {
    event.preventDefault();
    if (!state.game) return;
    addLine(page.answerLine.value, 'in');
    state.game.webConsoleLine(page.answerLine.value);
    page.answerLine.value = '';
  });
  page.showConsole.addEventListener('click', () =>
    togglePanel(page.consolePanel, page.showConsole, page.consolePanel.hidden));
  page.showSettings.addEventListener('click', () => {
    if (page.settings.hidden) openSettings();
    else togglePanel(page.settings, page.showSettings, false);
  });
  $('settings-cancel').addEventListener('click', () => togglePanel(page.settings, page.showSettings, false));
  page.settings.addEventListener('submit', applySettings);
  $('fullscreen').addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen().catch(() => {});
  });
  window.addEventListener('error', (event) => state.errors.push(String(event.message)));

  // What the page's own tests and benchmarks read.
  window.vellomira = {
    get phase() { return document.body.dataset.phase; },
    get stats() { return state.game ? state.game.webStats : null; },
    get errors() { return state.errors.slice(); },
    // The player's x, y, heading and speed in the running game, and the number of cells.
    player() {
      const game = state.game;
      if (!game) return null;
      return withValues(game, (at) => {
        game._WebPlayerState(at);
        return Array.from(game.HEAPF32.subarray(at >> 2, (at >> 2) + 5));
      });
    },
  };

  (async function load() {
    try {
      if (typeof createVellomira !== 'function') throw new Error('vellomira.js did not load');
      state.world = await loadWorld();
      await prepareSpare();
      if (touchFirst) page.play.textContent = 'Tap to play';
      setPhase('ready', bench ? 'Benchmark: the game presents unpaced.' : '');
    } catch (e) {
      fail(String(e && e.message || e));
    }
  })();
})();
