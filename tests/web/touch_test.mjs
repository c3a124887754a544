// The browser build on a phone: headless Chromium with a touch screen and no mouse, at 412 x 915
// (portrait) and 915 x 412 (landscape), played with a finger through the browser's own touch
// events. Needs the site (scripts/web.sh --build-only).
//   node --test tests/web/
import assert from 'node:assert/strict';
import {join, resolve} from 'node:path';
import {after, before, test} from 'node:test';

import {Browser, serveFolder, sleep} from './browser.mjs';
import {GamePage} from './game_page.mjs';

const ROOT = resolve(import.meta.dirname, '../..');
const SITE = process.env.VELLOMIRA_SITE || join(ROOT, 'build-web/site');
const SHOTS = join(ROOT, 'build-web');
const PORTRAIT = {name: 'portrait', width: 412, height: 915};
const LANDSCAPE = {name: 'landscape', width: 915, height: 412};

let server;
let browser;
let page;

before(async () => {
  server = await serveFolder(SITE);
  browser = await Browser.launch({width: PORTRAIT.width, height: PORTRAIT.height, touch: true});
  page = new GamePage(browser);
  // Every page counts the long-press menus it let open, and keeps a mark that a reload (a pull
  // to refresh) would lose.
  await browser.send('Page.addScriptToEvaluateOnNewDocument', {source: `window.menus = 0;
    window.mark = Math.random();
    addEventListener('contextmenu', (e) => setTimeout(() => { if (!e.defaultPrevented) ++menus; }));`});
  page.describeTimeoutsWith(join(SHOTS, 'timed-out.png'));
});

after(async () => {
  await browser?.close();
  await server?.close();
});

async function openPhone(orientation) {
  await browser.setViewport(orientation.width, orientation.height, true);
  await page.open(server.url);
}

async function tapToPlay() {
  await browser.tap('#play');
  await browser.waitFor(`vellomira.phase === 'running' && (vellomira.stats?.frames ?? 0) > 8`);
}

// Everything that would show the page moved: its scroll, its zoom, a reload.
async function pageAtRest() {
  return browser.evaluate(`({scrollX, scrollY, top: document.scrollingElement.scrollTop,
      left: document.scrollingElement.scrollLeft, scale: visualViewport.scale,
      offsetTop: visualViewport.offsetTop, offsetLeft: visualViewport.offsetLeft, mark, menus})`);
}

async function rect(selector) {
  return browser.evaluate(`(() => { const r = document.querySelector(${JSON.stringify(selector)})
      .getBoundingClientRect(); return {left: r.left, top: r.top, right: r.right, bottom: r.bottom,
      width: r.width, height: r.height}; })()`);
}

// The part of the canvas's box that the picture fills.
async function picture() {
  const top = await page.pagePoint(0, 0), bottom = await page.pagePoint(1024, 768);
  return {left: top.x, top: top.y, right: bottom.x, bottom: bottom.y};
}

function inside(inner, outer, what) {
  assert.ok(inner.left >= outer.left - 0.5 && inner.top >= outer.top - 0.5 &&
            inner.right <= outer.right + 0.5 && inner.bottom <= outer.bottom + 0.5,
            `${what}: ${JSON.stringify(inner)} outside ${JSON.stringify(outer)}`);
}

function apart(a, b, what) {
  assert.ok(a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top,
            `${what}: ${JSON.stringify(a)} overlaps ${JSON.stringify(b)}`);
}

test('a tap plays without the pointer lock, and the page fits the phone both ways up', async (t) => {
  for (const orientation of [PORTRAIT, LANDSCAPE]) {
    await t.test(orientation.name, async () => {
      await openPhone(orientation);
      const screen = {left: 0, top: 0, right: orientation.width, bottom: orientation.height};
      assert.equal(await browser.evaluate('matchMedia("(pointer: coarse)").matches'), true);
      assert.equal(await browser.evaluate(`document.querySelector('#play').textContent`), 'Tap to play');
      inside(await rect('#card'), screen, 'the card');
      assert.ok((await rect('#play')).height >= 44, 'the play button takes a finger');
      await browser.screenshot(join(SHOTS, `phone-${orientation.name}-card.png`));

      await tapToPlay();
      assert.equal(await browser.evaluate('document.pointerLockElement'), null);
      // The picture is letterboxed: it fills the screen's width or height with its aspect kept,
      // and the buttons for a thumb lie in the black borders beside or below it.
      const shown = await picture();
      inside(shown, screen, 'the picture');
      const fills = Math.min(orientation.width / 1024, orientation.height / 768);
      assert.ok(Math.abs(shown.right - shown.left - 1024 * fills) < 1, JSON.stringify(shown));
      for (const button of ['#touch-pause', '#touch-end']) {
        const where = await rect(button);
        inside(where, screen, button);
        assert.ok(where.width >= 44 && where.height >= 44, `${button} takes a thumb`);
        apart(where, shown, button);
      }
      apart(await rect('#touch-pause'), await rect('#touch-end'), 'the two buttons');
      await page.waitFrames(20);
      await browser.screenshot(join(SHOTS, `phone-${orientation.name}.png`));
      const rest = await pageAtRest();
      assert.deepEqual([rest.scrollX, rest.scrollY, rest.top, rest.left, rest.scale], [0, 0, 0, 0, 1]);
      assert.deepEqual(browser.errors, []);
    });
  }
});

test('a held touch right of the player turns the cell toward it and swims right', async (t) => {
  await openPhone(PORTRAIT);
  await tapToPlay();
  await page.waitFrames(10);
  const before = await page.light();
  const start = await page.player();
  assert.equal(start.speed, 0);
  assert.ok(Math.abs(before.x - 512) < 30, `the light starts in the middle: ${JSON.stringify(before)}`);

  const finger = await page.pagePoint(900, 384);
  const frames = await page.frames(), began = Date.now();
  await browser.touch('touchStart', [finger]);
  await sleep(800);
  await browser.touch('touchMove', [{x: finger.x + 2, y: finger.y}]);
  await sleep(1200);
  const held = await page.player();
  const shown = await page.frames() - frames, seconds = (Date.now() - began) / 1000;
  const after = await page.light();
  await browser.touch('touchEnd');
  t.diagnostic(`${(shown / seconds).toFixed(1)} frames per second while the finger was held`);

  assert.ok(held.angle > 45 && held.angle < 135, `heading ${held.angle}: right, toward the finger`);
  assert.ok(held.speed > 3, `speed ${held.speed} while held`);
  assert.ok(held.x - start.x > 100, `x ${start.x} -> ${held.x}`);
  assert.ok(after.x - before.x > 50, `the light's centre ${before.x} -> ${after.x}`);
  await page.waitFrames(40);
  assert.equal((await page.player()).speed, 0, 'the lifted finger lets the cell drift to a stop');
  const rest = await pageAtRest();
  assert.equal(rest.menus, 0, 'no long-press menu');
});

test('swipes and pinches during play never scroll, zoom or reload the page', async () => {
  await openPhone(PORTRAIT);
  await tapToPlay();
  const before = await pageAtRest();
  // A pull down from the top, a swipe up, a swipe sideways, a pinch out.
  const gestures = [
    [[{x: 200, y: 20}], [{x: 200, y: 600}]],
    [[{x: 200, y: 800}], [{x: 200, y: 100}]],
    [[{x: 20, y: 450}], [{x: 400, y: 450}]],
    [[{x: 180, y: 450, id: 0}, {x: 230, y: 450, id: 1}], [{x: 60, y: 450, id: 0}, {x: 350, y: 450, id: 1}]],
  ];
  for (const [from, to] of gestures) {
    await browser.touch('touchStart', from);
    for (let step = 1; step <= 8; ++step)
      await browser.touch('touchMove', from.map((p, i) => ({id: p.id ?? i,
          x: p.x + (to[i].x - p.x) * step / 8, y: p.y + (to[i].y - p.y) * step / 8})));
    await browser.touch('touchEnd');
  }
  await page.waitFrames(10);
  assert.deepEqual(await pageAtRest(), before);
  assert.equal(await browser.evaluate('vellomira.phase'), 'running');
});

test('the buttons for a thumb pause and play on, and end the game', async () => {
  await openPhone(LANDSCAPE);
  await tapToPlay();
  await browser.tap('#touch-pause');
  await browser.waitFor(`document.querySelector('#touch-pause').getAttribute('aria-pressed') === 'true'`);
  await sleep(300);
  assert.ok(await page.framesDuring(800) <= 1, 'paused: no frames');
  assert.equal(await browser.evaluate(`getComputedStyle(document.querySelector('#bar')).display`), 'flex',
               'the console and the settings are at hand while paused');
  await browser.screenshot(join(SHOTS, 'phone-landscape-paused.png'));
  await browser.tap('#touch-pause');
  await page.waitFrames(20);

  await browser.tap('#touch-end');
  await browser.waitFor(`vellomira.phase === 'ended'`);
  assert.equal((await page.consoleLines()).at(-1), 'Quit...');
  await browser.tap('#play');
  await browser.waitFor(`vellomira.phase === 'running' && (vellomira.stats?.frames ?? 0) > 8`);
  assert.deepEqual(browser.errors, []);
});

test('the console and the settings work with a finger on a small screen', async () => {
  await openPhone(PORTRAIT);
  const screen = {left: 0, top: 0, right: PORTRAIT.width, bottom: PORTRAIT.height};
  await browser.tap('#show-console');
  assert.equal(await browser.evaluate(`document.querySelector('#console').hidden`), false);
  inside(await rect('#console'), screen, 'the console');
  await browser.tap('#show-console');
  await browser.tap('#show-settings');
  inside(await rect('#settings'), screen, 'the settings');
  await browser.screenshot(join(SHOTS, 'phone-portrait-settings.png'));
  await browser.evaluate(`document.querySelector('#settings').elements.width.value = 800`);
  await browser.tap('#settings button[type=submit]');
  await browser.waitFor(`vellomira.phase === 'running' && (vellomira.stats?.frames ?? 0) > 8`);
  assert.ok((await page.consoleLines()).includes('OpeningScreen (800,768,32)...'));
  assert.equal(await browser.evaluate('document.pointerLockElement'), null);
});
