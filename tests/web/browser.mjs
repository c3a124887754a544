// Headless Chromium driven over the DevTools protocol on a pipe (no download, no library): a
// browser with a fresh profile, one page, its errors collected, and the few commands the tests
// and the benchmark need. Also a static server for a folder on 127.0.0.1.
import {spawn} from 'node:child_process';
import {createReadStream, mkdtempSync, rmSync, statSync} from 'node:fs';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import {extname, join, normalize} from 'node:path';

const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
               '.wasm': 'application/wasm', '.json': 'application/json'};

// Serves folder on 127.0.0.1 at a free port, with the files of replaced (a Map from a path
// such as '/world.json' to its bytes) in place of the folder's; resolves to {url, close()}.
export function serveFolder(folder, replaced = new Map()) {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    if (replaced.has(path)) {
      response.writeHead(200, {'Content-Type': TYPES[extname(path)] || 'application/octet-stream',
                               'Cache-Control': 'no-store'});
      response.end(replaced.get(path));
      return;
    }
    const file = join(folder, path.endsWith('/') ? path + 'index.html' : path);
    let size;
    try {
      size = statSync(file).size;
    } catch (e) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': TYPES[extname(file)] || 'application/octet-stream',
                             'Content-Length': size, 'Cache-Control': 'no-store'});
    createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((done) => server.close(done)),
  })));
}

export class Browser {
  // A desktop browser, or with touch a phone's: a touch screen and no mouse, the page laid out
  // for a mobile viewport.
  static async launch({width = 1024, height = 768, touch = false} = {}) {
    const profile = mkdtempSync(join(tmpdir(), 'vellomira-chromium-'));
    const child = spawn(CHROMIUM, [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`, `--window-size=${width},${height}`,
      '--remote-debugging-pipe', 'about:blank',
    ], {stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe']});
    const browser = new Browser(child, profile);
    try {
      await browser.openPage(width, height, touch);
    } catch (e) {
      await browser.close();
      throw e;
    }
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    this.errors = [];
    // Says what the page shows when a wait times out (the tests set it).
    this.describe = async () => '';
    let buffer = '';
    child.stdio[4].on('data', (chunk) => {
      buffer += chunk.toString();
      let end;
      while ((end = buffer.indexOf('\0')) >= 0) {
        this.receive(JSON.parse(buffer.slice(0, end)));
        buffer = buffer.slice(end + 1);
      }
    });
    this.exited = new Promise((resolve) => child.on('exit', resolve));
  }

  receive(message) {
    if (message.id && this.pending.has(message.id)) {
      const {resolve, reject, method} = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (message.error) reject(new Error(`${method}: ${message.error.message}`));
      else resolve(message.result);
      return;
    }
    for (const listener of this.listeners) listener(message);
  }

  // A command to the browser, or to the page when page is true.
  send(method, params = {}, page = true) {
    const id = this.nextId++;
    const message = {id, method, params};
    if (page) message.sessionId = this.session;
    this.child.stdio[3].write(JSON.stringify(message) + '\0');
    return new Promise((resolve, reject) => this.pending.set(id, {resolve, reject, method}));
  }

  async openPage(width, height, touch) {
    const {targetId} = await this.send('Target.createTarget', {url: 'about:blank'}, false);
    const {sessionId} = await this.send('Target.attachToTarget', {targetId, flatten: true}, false);
    this.target = targetId;
    this.session = sessionId;
    this.listeners.push((message) => {
      if (message.method === 'Runtime.exceptionThrown')
        this.errors.push(message.params.exceptionDetails.exception?.description ||
                         message.params.exceptionDetails.text);
      if (message.method === 'Runtime.consoleAPICalled' && message.params.type === 'error')
        this.errors.push(message.params.args.map((a) => a.value ?? a.description).join(' '));
      if (message.method === 'Log.entryAdded' && message.params.entry.level === 'error')
        this.errors.push(`${message.params.entry.text} (${message.params.entry.url || ''})`);
    });
    await this.send('Page.enable');
    await this.send('Runtime.enable');
    await this.send('Log.enable');
    await this.setViewport(width, height, touch);
    if (touch) {
      await this.send('Emulation.setTouchEmulationEnabled', {enabled: true, maxTouchPoints: 5});
      await this.send('Emulation.setEmulatedMedia', {features: [
        {name: 'pointer', value: 'coarse'}, {name: 'any-pointer', value: 'coarse'},
        {name: 'hover', value: 'none'}, {name: 'any-hover', value: 'none'}]});
    }
  }

  // The page's viewport; a mobile one turns with its longer side.
  async setViewport(width, height, mobile = false) {
    const screenOrientation = width > height ? {type: 'landscapePrimary', angle: 90}
                                             : {type: 'portraitPrimary', angle: 0};
    await this.send('Emulation.setDeviceMetricsOverride',
                    {width, height, deviceScaleFactor: 1, mobile, screenOrientation});
  }

  async goto(url) {
    const loaded = new Promise((resolve) => {
      const listener = (message) => {
        if (message.method === 'Page.loadEventFired') {
          this.listeners.splice(this.listeners.indexOf(listener), 1);
          resolve();
        }
      };
      this.listeners.push(listener);
    });
    await this.send('Page.navigate', {url});
    await loaded;
  }

  // The value of a JavaScript expression in the page (awaited when it is a promise).
  async evaluate(expression) {
    const {result, exceptionDetails} = await this.send('Runtime.evaluate',
        {expression, returnByValue: true, awaitPromise: true});
    if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.exception?.description}`);
    return result.value;
  }

  // Waits until the expression is truthy; its value.
  async waitFor(expression, timeout = 20000) {
    const end = Date.now() + timeout;
    for (;;) {
      const value = await this.evaluate(expression);
      if (value) return value;
      if (Date.now() > end) {
        const shown = await this.describe().catch((e) => `(not readable: ${e.message})`);
        throw new Error(`timed out waiting for ${expression}${shown ? '; the page: ' + shown : ''}`);
      }
      await sleep(50);
    }
  }

  // The centre of an element in page pixels.
  async centreOf(selector) {
    return this.evaluate(`(() => { const r = document.querySelector(${JSON.stringify(selector)})
        .getBoundingClientRect(); return {x: r.x + r.width / 2, y: r.y + r.height / 2}; })()`);
  }

  async mouse(type, x, y, extra = {}) {
    await this.send('Input.dispatchMouseEvent', {type, x, y, ...extra});
  }

  async click(selector) {
    const {x, y} = await this.centreOf(selector);
    await this.mouse('mouseMoved', x, y);
    await this.mouse('mousePressed', x, y, {button: 'left', buttons: 1, clickCount: 1});
    await this.mouse('mouseReleased', x, y, {button: 'left', buttons: 0, clickCount: 1});
  }

  // Fingers on the touch screen, at page pixels: 'touchStart' and 'touchMove' with the fingers
  // down ({x, y, id}), 'touchEnd' with those still down after a lift.
  async touch(type, points = []) {
    await this.send('Input.dispatchTouchEvent',
                    {type, touchPoints: points.map((p, i) => ({x: p.x, y: p.y, id: p.id ?? i}))});
  }

  async tap(selector) {
    const {x, y} = await this.centreOf(selector);
    await this.touch('touchStart', [{x, y}]);
    await this.touch('touchEnd');
  }

  async key(code, key, keyCode, type) {
    await this.send('Input.dispatchKeyEvent',
                    {type, code, key, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode});
  }

  async press(code, key, keyCode) {
    await this.key(code, key, keyCode, 'rawKeyDown');
    await this.key(code, key, keyCode, 'keyUp');
  }

  async screenshot(path) {
    const {data} = await this.send('Page.captureScreenshot', {format: 'png'});
    const {writeFileSync} = await import('node:fs');
    writeFileSync(path, Buffer.from(data, 'base64'));
  }

  async close() {
    try {
      await this.send('Browser.close', {}, false);
    } catch (e) {
      this.child.kill();
    }
    await this.exited;
    rmSync(this.profile, {recursive: true, force: true});
  }
}

export function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}
