// What the browser tests read of the game's page, in whichever browser they launched: its
// frames, the player, the console, and the light around the player on the canvas.
import {sleep} from './browser.mjs';

export class GamePage {
  constructor(browser) {
    this.browser = browser;
  }

  // A wait that times out says what the page showed and leaves a screenshot there.
  describeTimeoutsWith(screenshot) {
    const browser = this.browser;
    browser.describe = async () => {
      await browser.screenshot(screenshot);
      return browser.evaluate(`JSON.stringify({phase: vellomira.phase, frames: vellomira.stats?.frames,
          message: document.querySelector('#message').textContent, errors: vellomira.errors})`);
    };
  }

  // The page as a first visit sees it: nothing stored, the game ready to start.
  async open(url, {keepStorage = false} = {}) {
    const browser = this.browser;
    await browser.goto(url);
    if (!keepStorage) {
      await browser.evaluate('localStorage.clear()');
      await browser.goto(url);
    }
    browser.errors.length = 0;
    await browser.waitFor(`['ready', 'failed'].includes(vellomira.phase)`);
    const phase = await browser.evaluate('vellomira.phase');
    if (phase !== 'ready') throw new Error(`the page is ${phase}: ${await browser.evaluate('document.body.innerText')}`);
  }

  async consoleLines() {
    return this.browser.evaluate(`[...document.querySelectorAll('#lines .out')].map((e) => e.textContent)`);
  }

  async frames() {
    return this.browser.evaluate('vellomira.stats ? vellomira.stats.frames : 0');
  }

  async waitFrames(count) {
    const start = await this.frames();
    await this.browser.waitFor(`vellomira.stats && vellomira.stats.frames >= ${start + count}`);
  }

  // Frames shown over a while: none while the game is paused.
  async framesDuring(milliseconds) {
    const start = await this.frames();
    await sleep(milliseconds);
    return (await this.frames()) - start;
  }

  async player() {
    const [x, y, angle, speed] = await this.browser.evaluate('vellomira.player()');
    return {x, y, angle, speed};
  }

  // The centre of the light on the canvas: the mean position of the lit pixels below the
  // overlay's text (rows 420 on), and how many there are.
  async light() {
    return this.browser.evaluate(`(() => {
      const canvas = document.querySelector('#screen');
      const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      let count = 0, sumX = 0, sumY = 0;
      for (let y = 420; y < canvas.height; ++y)
        for (let x = 0; x < canvas.width; ++x) {
          const i = 4 * (y * canvas.width + x);
          if (pixels[i] + pixels[i + 1] + pixels[i + 2] > 8) { ++count; sumX += x; sumY += y; }
        }
      return {x: sumX / count, y: sumY / count, count};
    })()`);
  }

  // The page point over a point of the game's screen: the canvas is scaled into its box with
  // its aspect kept, and centred.
  async pagePoint(x, y) {
    return this.browser.evaluate(`(() => {
      const canvas = document.querySelector('#screen'), box = canvas.getBoundingClientRect();
      const scale = Math.min(box.width / canvas.width, box.height / canvas.height);
      return {x: box.left + (box.width - canvas.width * scale) / 2 + ${x} * scale,
              y: box.top + (box.height - canvas.height * scale) / 2 + ${y} * scale};
    })()`);
  }
}
