// The browser build played in headless Chromium as a player plays it: through the page's own
// buttons and the browser's own mouse and keyboard events. Needs the site (scripts/web.sh
// --build-only) and the native game with its sample world (scripts/play.sh's build and run/).
//   node --test tests/web/
import assert from 'node:assert/strict';
import {spawn} from 'node:child_process';
import {cpSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import {after, before, test} from 'node:test';

import {Browser, serveFolder, sleep} from './browser.mjs';
import {GamePage} from './game_page.mjs';

const ROOT = resolve(import.meta.dirname, '../..');
const SITE = process.env.VELLOMIRA_SITE || join(ROOT, 'build-web/site');
const NATIVE = join(ROOT, 'build/vellomira');
const WORLD = join(ROOT, 'run');
const SHOTS = join(ROOT, 'build-web');

let server;
let browser;
let page;

before(async () => {
  // A world with nothing in it: the start-up stops on its first fatal line.
  const empty = new Map([['/world.json', JSON.stringify({files: []})], ['/world.data', Buffer.alloc(0)]]);
  server = {site: await serveFolder(SITE), empty: await serveFolder(SITE, empty)};
  browser = await Browser.launch();
  page = new GamePage(browser);
  // Every page keeps a journal of the pointer lock and the focus, for a wait that times out.
  await browser.send('Page.addScriptToEvaluateOnNewDocument', {source: `window.journal = [];
    for (const name of ['pointerlockchange', 'pointerlockerror', 'visibilitychange'])
      document.addEventListener(name, () => journal.push(name + ' ' + Math.round(performance.now())));
    for (const name of ['focus', 'blur'])
      addEventListener(name, (e) => { if (e.target === window) journal.push(name + ' ' + Math.round(performance.now())); });`});
  browser.describe = async () => {
    const shown = await browser.evaluate(`JSON.stringify({phase: vellomira.phase,
        frames: vellomira.stats?.frames, locked: document.pointerLockElement?.id ?? null,
        focused: document.hasFocus(), hidden: document.hidden, journal: window.journal,
        lines: [...document.querySelectorAll('#lines div')].map((e) => e.textContent).slice(-5),
        message: document.querySelector('#message').textContent, errors: vellomira.errors})`);
    await browser.screenshot(join(SHOTS, 'timed-out.png'));
    return `${shown}; browser errors ${JSON.stringify(browser.errors)}; screenshot build-web/timed-out.png`;
  };
});

after(async () => {
  await browser?.close();
  await server?.site.close();
  await server?.empty.close();
});

// The page as a first visit sees it (or, keeping the storage, a later one).
const openPage = ({keepStorage = false, url = server.site.url} = {}) => page.open(url, {keepStorage});
const consoleLines = () => page.consoleLines();
const frames = () => page.frames();
const waitFrames = (count) => page.waitFrames(count);
const player = () => page.player();

// Clicks "Click to play" (or "Play again") and waits for the main loop's frames and for the
// pointer lock: one click gives the game the mouse.
async function play() {
  await browser.click('#play');
  await browser.waitFor(`vellomira.phase === 'running' && (vellomira.stats?.frames ?? 0) > 8 &&
      document.pointerLockElement === document.querySelector('#screen')`);
}


// The native game's console up to the main loop, on SDL's dummy display and sound device.
function nativeTranscript() {
  const folder = mkdtempSync(join(tmpdir(), 'vellomira-native-'));
  for (const part of ['cell', 'gfx']) cpSync(join(WORLD, part), join(folder, part), {recursive: true});
  const game = spawn(NATIVE, [], {cwd: folder, stdio: ['pipe', 'pipe', 'ignore'],
    env: {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_RENDER_DRIVER: 'software', SDL_AUDIODRIVER: 'dummy'}});
  return new Promise((done, fail) => {
    let text = '';
    game.stdout.on('data', (chunk) => {
      text += chunk;
      if (text.includes('LoadingSounds...\n')) game.kill('SIGTERM');
    });
    game.on('error', fail);
    game.on('exit', () => {
      rmSync(folder, {recursive: true, force: true});
      done(text.slice(0, text.indexOf('LoadingSounds...\n') + 16).split('\n'));
    });
  });
}

test('the page loads without errors and offers to play', async () => {
  await openPage();
  assert.deepEqual(browser.errors, []);
  assert.deepEqual(await browser.evaluate('vellomira.errors'), []);
  assert.equal(await browser.evaluate(`document.querySelector('#play').hidden`), false);
});

test('the console panel shows the start-up transcript of the native game', async () => {
  const native = await nativeTranscript();
  assert.ok(native.includes('OpeningScreen (1024,768,32)...'), native.join('\n'));
  await openPage();
  await play();
  // While the game has the pointer, the page's buttons are out of reach: the player gives the
  // pointer back first.
  await browser.evaluate('document.exitPointerLock()');
  await browser.waitFor(`vellomira.phase === 'paused'`);
  await browser.click('#show-console');
  assert.equal(await browser.evaluate(`document.querySelector('#console').hidden`), false);
  const lines = await consoleLines();
  assert.deepEqual(lines, native);
  assert.deepEqual(browser.errors, []);
});

test('the canvas shows the light around the player and black beyond 400 pixels', async () => {
  await openPage();
  await play();
  await waitFrames(20);
  await browser.screenshot(join(SHOTS, 'page.png'));
  // Screen pixels of the bottom part of the canvas, away from the overlay's text: lit near
  // the player's centre (512, 384), black from 400 pixels on.
  const light = await browser.evaluate(`(() => {
    const canvas = document.querySelector('#screen');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let lit = 0, litNear = 0, farNotBlack = 0, far = 0;
    for (let y = 420; y < canvas.height; ++y)
      for (let x = 0; x < canvas.width; ++x) {
        const i = 4 * (y * canvas.width + x), sum = pixels[i] + pixels[i + 1] + pixels[i + 2];
        const distance = Math.hypot(x - 512, y - 384);
        if (distance < 200 && sum > 8) ++litNear;
        if (distance > 402) { ++far; if (sum !== 0) ++farNotBlack; }
      }
    return {litNear, far, farNotBlack, width: canvas.width, height: canvas.height};
  })()`);
  assert.equal(light.width, 1024);
  assert.equal(light.height, 768);
  assert.ok(light.litNear > 5000, JSON.stringify(light));
  assert.ok(light.far > 50000, JSON.stringify(light));
  assert.equal(light.farNotBlack, 0, JSON.stringify(light));
});

test('mouse motion turns the player and the held button makes it swim', async () => {
  await openPage();
  await play();
  const start = await player();
  assert.equal(start.speed, 0);
  // The pointer is locked: the browser turns these moves into movementX/Y for the page. The
  // game's cursor starts at the top left corner; 900 right and 400 down put it to the right
  // of the player at the screen's centre.
  let x = 50, y = 50;
  await browser.mouse('mouseMoved', x, y);
  for (let step = 0; step < 20; ++step)
    await browser.mouse('mouseMoved', x += 45, y += 20);
  // The turn takes about 45 frames at the player's greatest turn rate.
  await waitFrames(90);
  const turned = await player();
  assert.ok(Math.abs(turned.angle - 90) < 10, `heading ${turned.angle} after moving right`);
  assert.deepEqual([turned.x, turned.y], [start.x, start.y]);

  await browser.mouse('mousePressed', x, y, {button: 'left', buttons: 1, clickCount: 1});
  await waitFrames(40);
  const swimming = await player();
  await browser.mouse('mouseReleased', x, y, {button: 'left', buttons: 0, clickCount: 1});
  assert.ok(swimming.speed > 1, `speed ${swimming.speed} with the button held`);
  assert.ok(swimming.x - turned.x > 40, `x ${turned.x} -> ${swimming.x}`);
  await waitFrames(40);
  assert.equal((await player()).speed, 0);
});

// Ways the page loses the focus, each with how it comes back before the player's click.
const FOCUS_LOSSES = [
  {name: 'a lost pointer lock', lose: () => browser.evaluate('document.exitPointerLock()'), back: async () => {}},
  {
    name: 'a tab hidden behind another',
    lose: async () => {
      const {targetId} = await browser.send('Target.createTarget', {url: 'about:blank'}, false);
      return targetId;
    },
    back: async (other) => {
      await browser.send('Target.activateTarget', {targetId: browser.target}, false);
      await browser.send('Target.closeTarget', {targetId: other}, false);
    },
  },
];

test('a focus loss pauses the game and a click resumes it', async (t) => {
  for (const loss of FOCUS_LOSSES) {
    await t.test(loss.name, async () => {
      await openPage();
      await play();
      const other = await loss.lose();
      await browser.waitFor(`vellomira.phase === 'paused'`);
      const pausedAt = await frames();
      const before = await player();
      await sleep(600);
      assert.equal(await frames(), pausedAt, 'no frame while paused');
      assert.deepEqual(await player(), before);
      assert.match(await browser.evaluate(`document.querySelector('#message').textContent`), /Paused/);

      await loss.back(other);
      await browser.click('#screen');
      await browser.waitFor(`vellomira.phase === 'running'`);
      await waitFrames(10);
    });
  }
});

test('a button let go while the game was paused is let go in the game', async () => {
  await openPage();
  await play();
  await browser.mouse('mouseMoved', 600, 384);
  await browser.mouse('mousePressed', 600, 384, {button: 'left', buttons: 1, clickCount: 1});
  await browser.waitFor('vellomira.player()[3] > 1');
  await browser.evaluate('document.exitPointerLock()');
  await browser.waitFor(`vellomira.phase === 'paused'`);
  await browser.mouse('mouseReleased', 600, 384, {button: 'left', buttons: 0, clickCount: 1});
  await browser.click('#screen');
  await browser.waitFor(`vellomira.phase === 'running'`);
  await waitFrames(40);
  assert.equal((await player()).speed, 0);
});

test('P held pauses the game and S held slows it to a frame a quarter second', async () => {
  await openPage();
  await play();
  await browser.key('KeyP', 'p', 80, 'rawKeyDown');
  await sleep(300);
  const held = await frames();
  await sleep(700);
  assert.ok(await frames() - held <= 1, 'P held: no frames');
  await browser.key('KeyP', 'p', 80, 'keyUp');
  await waitFrames(10);

  await browser.key('KeyS', 's', 83, 'rawKeyDown');
  await sleep(300);
  const slowFrom = await frames();
  await sleep(1000);
  const slow = await frames() - slowFrom;
  await browser.key('KeyS', 's', 83, 'keyUp');
  assert.ok(slow >= 1 && slow <= 5, `${slow} frames in a second with S held`);
  await waitFrames(30);
});

// Escape as the player ends the game. The browser may take the first Escape to give the
// pointer back: then the page is paused and the second Escape is the game's.
async function endWithEscape() {
  await browser.press('Escape', 'Escape', 27);
  await browser.waitFor(`['paused', 'ended'].includes(vellomira.phase)`);
  if (await browser.evaluate('vellomira.phase') === 'paused') await browser.press('Escape', 'Escape', 27);
  await browser.waitFor(`vellomira.phase === 'ended'`);
}

test('Escape ends the game with Quit...', async () => {
  await openPage();
  await play();
  await endWithEscape();
  const lines = await consoleLines();
  assert.equal(lines.at(-1), 'Quit...');
  assert.match(await browser.evaluate(`document.querySelector('#message').textContent`), /Quit\.\.\./);
  assert.deepEqual(browser.errors, []);
});

// The browser refuses the pointer lock for a moment after its own Escape gave it back; the
// game still starts from one click, and a game that ended lets the next one keep the lock.
test('one click plays again right after Escape ended the game', async () => {
  await openPage();
  for (let round = 0; round < 2; ++round) {
    await play();
    await endWithEscape();
    assert.equal(await browser.evaluate(`document.querySelector('#play').textContent`), 'Play again');
  }
  await play();
  await sleep(300);
  assert.equal(await browser.evaluate('vellomira.phase'), 'running');
  assert.deepEqual(browser.errors, []);
});

test('a fatal line waits for the console, and Enter ends the game', async () => {
  await openPage({url: server.empty.url});
  await browser.click('#play');
  await browser.waitFor(`vellomira.phase === 'waiting'`);
  assert.equal((await consoleLines()).at(-1), 'Error -> cell.ini');
  await sleep(300);
  assert.equal(await browser.evaluate('vellomira.phase'), 'waiting', 'the game waits for a line');
  await browser.click('#answer button');
  await browser.waitFor(`vellomira.phase === 'ended'`);
  assert.match(await browser.evaluate(`document.querySelector('#message').textContent`),
               /Error -> cell\.ini[\s\S]*status 1/);
});

// The settings panel as the player reaches it while the game runs: the pointer given back,
// the game paused, the panel opened from the bar.
async function openSettingsWhilePlaying() {
  await browser.evaluate('document.exitPointerLock()');
  await browser.waitFor(`vellomira.phase === 'paused'`);
  await browser.click('#show-settings');
}

async function applySettings(values) {
  await browser.evaluate(`(() => { const f = document.querySelector('#settings').elements;
      for (const [name, value] of Object.entries(${JSON.stringify(values)})) f[name].value = value; })()`);
  await browser.click('#settings button[type=submit]');
}

test('pref.ini survives a reload, and the settings panel rewrites it', async () => {
  await openPage();
  await play();
  assert.ok((await consoleLines()).includes('  No Preferences found, creating...'));
  await browser.waitFor(`localStorage.getItem('vellomira/pref.ini')`);

  await openSettingsWhilePlaying();
  const shown = await browser.evaluate(`(() => { const f = document.querySelector('#settings').elements;
      return [f.width.value, f.height.value, f.depth.value, f.bilinear.checked, f.overlay.value]; })()`);
  assert.deepEqual(shown, ['1024', '768', '32', true, '10']);
  await applySettings({width: 800, height: 600});
  await browser.waitFor(`vellomira.phase === 'running' && vellomira.stats?.frames > 8`);
  assert.ok((await consoleLines()).includes('OpeningScreen (800,600,32)...'));

  await openPage({keepStorage: true});
  await play();
  const lines = await consoleLines();
  assert.ok(lines.includes('OpeningScreen (800,600,32)...'), lines.join('\n'));
  assert.ok(!lines.includes('  No Preferences found, creating...'));
  assert.equal(await browser.evaluate(`document.querySelector('#screen').width`), 800);
  const stored = await browser.evaluate(`localStorage.getItem('vellomira/pref.ini')`);
  assert.match(stored, /^; Hier k\u00f6nnen verschiedene Einstellungen ver\u00e4ndert werden\.\.\.\r\n/);
  assert.match(stored, /\r\nWidth = 800\r\nHeight = 600\r\nDepth = 32\r\nBilineare Filterung = 1\r\n/);
});

test('the settings offer the depths the world runs at, and the game runs at each', async () => {
  await openPage();
  await browser.click('#show-settings');
  const offered = await browser.evaluate(`[...document.querySelector('#settings').elements.depth.options]
      .map((option) => option.value)`);
  assert.deepEqual(offered, ['16', '24', '32']);
  for (const depth of offered) {
    await applySettings({depth});
    await browser.waitFor(`vellomira.phase === 'running' && vellomira.stats?.frames > 8`);
    const lines = await consoleLines();
    assert.ok(lines.includes(`OpeningScreen (1024,768,${depth})...`), lines.join('\n'));
    assert.ok(!lines.some((line) => line.startsWith('Loading-Error')), lines.join('\n'));
    await openSettingsWhilePlaying();
  }
});

test('a depth of pref.ini that the list lacks is shown and kept at Apply', async () => {
  await openPage();
  const store = (depth) => browser.evaluate(`localStorage.setItem('vellomira/pref.ini',
      'Width = 1024\\r\\nHeight = 768\\r\\nDepth = ${depth}\\r\\nBilineare Filterung = 0\\r\\n')`);
  for (const depth of ['15', '8']) {
    await store(depth);
    await browser.click('#show-settings');
    const shown = await browser.evaluate(`(() => { const select = document.querySelector('#settings').elements.depth;
        return [select.value, select.selectedOptions[0]?.textContent]; })()`);
    assert.equal(shown[0], depth);
    assert.match(shown[1], /does not run/);
    await browser.click('#settings-cancel');
  }
  await store('15');
  await browser.click('#show-settings');
  await applySettings({width: 800, height: 600});
  // The game says itself that it cannot run so.
  await browser.waitFor(`vellomira.phase === 'waiting'`);
  assert.deepEqual((await consoleLines()).slice(-2), ['OpeningScreen (800,600,15)...', 'Unable! Check Preferences...']);
  const stored = await browser.evaluate(`localStorage.getItem('vellomira/pref.ini')`);
  assert.match(stored, /\r\nWidth = 800\r\nHeight = 600\r\nDepth = 15\r\nBilineare Filterung = 0\r\n/);
});

test('where the browser refuses storage, the applied settings hold while the page is open, and it says so', async () => {
  const {identifier} = await browser.send('Page.addScriptToEvaluateOnNewDocument', {source: `
      Object.defineProperty(window, 'localStorage', {configurable: true,
        get() { throw new DOMException('The browser keeps no data for this page', 'SecurityError'); }});`});
  try {
    await openPage({keepStorage: true});
    await play();
    await openSettingsWhilePlaying();
    assert.equal(await browser.evaluate(`document.querySelector('#storage-note').hidden`), false);
    await applySettings({width: 800, height: 600});
    await browser.waitFor(`vellomira.phase === 'running' && vellomira.stats?.frames > 8`);
    let lines = await consoleLines();
    assert.ok(lines.includes('OpeningScreen (800,600,32)...'), lines.join('\n'));

    // The next game of the same page starts with them too.
    await endWithEscape();
    await play();
    lines = await consoleLines();
    assert.ok(lines.includes('OpeningScreen (800,600,32)...'), lines.join('\n'));
    assert.ok(!lines.includes('  No Preferences found, creating...'));
  } finally {
    await browser.send('Page.removeScriptToEvaluateOnNewDocument', {identifier});
  }
});
