// The browser build's figure on a phone: frames per second over 10 s on a 412 x 915 touch-only
// viewport (headless Chromium with a touch screen and no mouse), the game started by a tap and
// a finger held to the right of the player, and how far the light's centre moved right on the
// canvas meanwhile. Needs scripts/web.sh --build-only.
//   node bench/web/touch_figures.mjs
import {join, resolve} from 'node:path';

import {Browser, serveFolder, sleep} from '../../tests/web/browser.mjs';
import {GamePage} from '../../tests/web/game_page.mjs';

const ROOT = resolve(import.meta.dirname, '../..');
const SITE = join(ROOT, 'build-web/site');
const SECONDS = 10;

const browser = await Browser.launch({width: 412, height: 915, touch: true});
const site = await serveFolder(SITE);
const page = new GamePage(browser);
try {
  await page.open(site.url);
  await browser.tap('#play');
  await browser.waitFor(`vellomira.phase === 'running' && (vellomira.stats?.frames ?? 0) > 8`, 60000);
  await page.waitFrames(20);
  const before = await page.light();
  await browser.touch('touchStart', [await page.pagePoint(900, 384)]);
  await sleep(1000);
  const first = await browser.evaluate('[vellomira.stats.frames, performance.now()]');
  await sleep(SECONDS * 1000);
  const last = await browser.evaluate('[vellomira.stats.frames, performance.now()]');
  const after = await page.light();
  await browser.touch('touchEnd');
  const fps = (last[0] - first[0]) / ((last[1] - first[1]) / 1000);
  console.log(`frame rate, 412x915 touch viewport, finger held right of the player, ${SECONDS} s: ` +
              `${fps.toFixed(1)} frames/s`);
  console.log(`light's centre on the canvas: x ${before.x.toFixed(0)} -> ${after.x.toFixed(0)}`);
} finally {
  await browser.close();
  await site.close();
}
