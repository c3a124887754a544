// The browser build played with a controller: the page's navigator.getGamepads is replaced by
// one that hands out the test's controllers, in the Gamepad API's standard layout (axes 0 and 1
// the left stick; buttons 0 A, 7 the right trigger, 8 Back, 9 Start). Needs the site
// (scripts/web.sh --build-only).
//   node --test tests/web/
import assert from 'node:assert/strict';
import {join, resolve} from 'node:path';
import {after, before, test} from 'node:test';

import {Browser, serveFolder, sleep} from './browser.mjs';
import {GamePage} from './game_page.mjs';

const ROOT = resolve(import.meta.dirname, '../..');
const SITE = process.env.VELLOMIRA_SITE || join(ROOT, 'build-web/site');
const SHOTS = join(ROOT, 'build-web');
const A = 0, TRIGGER = 7, BACK = 8, START = 9;

let server;
let browser;
let page;

before(async () => {
  server = await serveFolder(SITE);
  browser = await Browser.launch();
  page = new GamePage(browser);
  await browser.send('Page.addScriptToEvaluateOnNewDocument', {source: `window.pads = [null, null, null, null];
    navigator.getGamepads = () => window.pads.slice();
    window.plugPad = (index) => { pads[index] = {index, id: 'Test controller', connected: true,
        mapping: 'standard', timestamp: 0, axes: [0, 0, 0, 0],
        buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))}; };
    window.setPad = (index, axes, pressed, value = 1) => {
      const pad = pads[index];
      pad.axes = [...axes, 0, 0];
      pad.buttons = pad.buttons.map((b, i) => pressed.includes(i) ? {pressed: true, touched: true, value}
                                                                   : {pressed: false, touched: false, value: 0});
    };`});
  page.describeTimeoutsWith(join(SHOTS, 'timed-out.png'));
});

after(async () => {
  await browser?.close();
  await server?.close();
});

async function pad(axes, pressed = [], index = 0) {
  await browser.evaluate(`setPad(${index}, ${JSON.stringify(axes)}, ${JSON.stringify(pressed)})`);
}

// A button pressed for a tenth of a second, as a thumb does: the page reads the controllers
// once an animation frame.
async function press(button, index = 0) {
  await pad([0, 0], [button], index);
  await sleep(100);
  await pad([0, 0], [], index);
}

// The card's A plays: no click, no pointer lock. The card reads the controllers once an
// animation frame, and takes a press for one once it has seen them without it.
async function playWithA() {
  await page.open(server.url);
  await browser.evaluate('plugPad(0)');
  await browser.evaluate('new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)))');
  await pad([0, 0], [A]);
  await browser.waitFor(`vellomira.phase === 'running' && (vellomira.stats?.frames ?? 0) > 8`);
  await pad([0, 0]);
}

test('the controller\'s A plays, its stick turns the cell and A or a trigger swims', async () => {
  await playWithA();
  assert.equal(await browser.evaluate('document.pointerLockElement'), null);
  const start = await page.player();
  const before = await page.light();
  assert.equal(start.speed, 0, 'the press that started the game does not swim');

  await pad([1, 0.05]);
  await page.waitFrames(60);
  const turned = await page.player();
  assert.ok(Math.abs(turned.angle - 90) < 10, `heading ${turned.angle} with the stick right`);
  assert.equal(turned.speed, 0);

  await pad([1, 0.05], [A]);
  await page.waitFrames(60);
  const swimming = await page.player();
  assert.ok(swimming.speed > 3, `speed ${swimming.speed} with A held`);
  assert.ok(swimming.x - turned.x > 100, `x ${turned.x} -> ${swimming.x}`);
  const after = await page.light();
  assert.ok(after.x - before.x > 50, `the light's centre ${before.x} -> ${after.x}`);

  // Unplugged while swimming, it lets go; another plugged in swims with its trigger.
  await browser.evaluate('pads[0] = null');
  await page.waitFrames(40);
  assert.equal((await page.player()).speed, 0, 'an unplugged controller lets go');
  await browser.evaluate('plugPad(2)');
  await browser.evaluate(`setPad(2, [1, 0], [${TRIGGER}], 0.9)`);
  await page.waitFrames(30);
  assert.ok((await page.player()).speed > 3, 'the trigger swims');
  assert.deepEqual(browser.errors, []);
});

test('Start pauses and plays on, and Back ends the game', async () => {
  await playWithA();
  await press(START);
  await browser.waitFor(`document.body.hasAttribute('data-held')`);
  await page.framesDuring(300);
  assert.ok(await page.framesDuring(800) <= 1, 'paused: no frames');
  await pad([0, 0], [START]);
  await browser.waitFor(`!document.body.hasAttribute('data-held')`);
  await pad([0, 0]);
  await page.waitFrames(20);
  await pad([0, 0], [BACK]);
  await browser.waitFor(`vellomira.phase === 'ended'`);
  assert.equal((await page.consoleLines()).at(-1), 'Quit...');
});

test('a controller and the mouse take turns, and A plays on a paused page', async () => {
  await page.open(server.url);
  await browser.evaluate('plugPad(0)');
  let {x, y} = await browser.centreOf('#play');
  await browser.click('#play');
  await browser.waitFor(`vellomira.phase === 'running' && (vellomira.stats?.frames ?? 0) > 8 &&
      document.pointerLockElement === document.querySelector('#screen')`);
  // The stick puts the cursor at the top, in the middle; the mouse then moves it from there to
  // the right of the player.
  await pad([0, -1]);
  await page.waitFrames(20);
  await pad([0, 0]);
  await page.waitFrames(30);
  const up = await page.player();
  assert.ok(up.angle < 10 || up.angle > 350, `heading ${up.angle} after the stick`);
  for (let step = 0; step < 20; ++step) await browser.mouse('mouseMoved', x += 20, y += 19);
  await page.waitFrames(70);
  const right = await page.player();
  assert.ok(Math.abs(right.angle - 90) < 10, `heading ${right.angle} after the mouse`);

  await browser.evaluate('document.exitPointerLock()');
  await browser.waitFor(`vellomira.phase === 'paused'`);
  await pad([0, 0], [A]);
  await browser.waitFor(`vellomira.phase === 'running'`);
  await pad([0, 0]);
  await page.waitFrames(10);
  assert.equal((await page.player()).speed, 0, 'the A that played on does not swim');
  assert.deepEqual(browser.errors, []);
});
