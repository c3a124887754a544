// The browser build's figures, measured in one run beside the native benchmark:
//   - frames per second of the game at 1024 x 768 with the sample world, over 10 s, the player
//     swimming;
//   - one unpaced main-loop pass (the page's benchmark mode, ?bench) against
//     build/bench/main_loop_pass's WholePass, at 1 and 10 times the sample world's cells, native
//     on one core (taskset) and on two;
//   - the site's download size, compressed as a server sends it (gzip -9 and brotli);
//   - the time from page load to the first frame, the player clicking as soon as it can;
//   - a screenshot of the page (build-web/page.png).
// Needs scripts/web.sh --build-only, the native build with its benchmarks, and run/.
//   node bench/web/figures.mjs
import {execFileSync} from 'node:child_process';
import {readdirSync, readFileSync, rmSync, statSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {brotliCompressSync, constants, gzipSync} from 'node:zlib';

import {Browser, serveFolder, sleep} from '../../tests/web/browser.mjs';

const ROOT = resolve(import.meta.dirname, '../..');
const SITE = join(ROOT, 'build-web/site');
const WORLD = join(ROOT, 'run');
const SECONDS = 10;

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// ms per WholePass of the native benchmark, by cell factor: the median of five repetitions,
// as the browser's figure is the median of its passes (the machine may be shared). With one
// core, the benchmark runs pinned to the first processor (taskset), as the page runs the game
// on one thread; otherwise on every core, the quads drawn by two threads.
function nativePasses(oneCore) {
  const program = join(ROOT, 'build/bench/main_loop_pass');
  const args = ['--benchmark_filter=WholePass/(1|10)$', '--benchmark_repetitions=5',
                '--benchmark_report_aggregates_only=true', '--benchmark_format=json', WORLD];
  const json = execFileSync(oneCore ? 'taskset' : program,
      oneCore ? ['-c', '0', program, ...args] : args,
      {maxBuffer: 1 << 24, stdio: ['ignore', 'pipe', 'ignore']}).toString();
  const result = {};
  for (const run of JSON.parse(json).benchmarks) {
    if (run.aggregate_name !== 'median') continue;
    const unit = {ms: 1, us: 1e-3, ns: 1e-6}[run.time_unit];
    result[run.run_name.split('/')[1]] = run.real_time * unit;
  }
  return result;
}

// world.json and world.data with the sample world's cell/cell.ini replaced by the one the soak
// makes with factor times the cells (the native benchmark's world of the same factor).
function scaledWorld(factor) {
  const said = execFileSync(join(ROOT, 'build/soak'),
      [WORLD, '--frames', '1', '--cells', String(factor), '--keep'],
      {stdio: ['ignore', 'pipe', 'ignore']}).toString();
  const folder = said.match(/soak: world (\S+),/)[1];
  const list = readFileSync(join(folder, 'cell/cell.ini'));
  rmSync(resolve(folder, '..'), {recursive: true, force: true});
  const table = JSON.parse(readFileSync(join(SITE, 'world.json')));
  const data = readFileSync(join(SITE, 'world.data'));
  const parts = [];
  let at = 0;
  const files = table.files.map((file) => {
    const bytes = file.filename === '/play/cell/cell.ini' ? list : data.subarray(file.start, file.end);
    parts.push(bytes);
    const placed = {...file, start: at, end: at + bytes.length};
    at += bytes.length;
    return placed;
  });
  return new Map([['/world.json', JSON.stringify({...table, files})], ['/world.data', Buffer.concat(parts)]]);
}

async function start(browser, url) {
  await browser.goto(url);
  await browser.evaluate('localStorage.clear()');
  await browser.goto(url);
  await browser.waitFor(`vellomira.phase === 'ready'`, 60000);
  await browser.click('#play');
  await browser.waitFor(`vellomira.phase === 'running' && (vellomira.stats?.frames ?? 0) > 0`, 60000);
}

// The input of the native benchmark: the cursor ahead and to the right, the button held.
async function swim(browser) {
  let x = 512, y = 384;
  for (let step = 0; step < 10; ++step) await browser.mouse('mouseMoved', x += 30, y -= 20);
  await browser.mouse('mousePressed', x, y, {button: 'left', buttons: 1, clickCount: 1});
}

async function framesPerSecond(browser, url) {
  await start(browser, url);
  await swim(browser);
  await sleep(1000);
  const first = await browser.evaluate('[vellomira.stats.frames, performance.now()]');
  await sleep(SECONDS * 1000);
  const last = await browser.evaluate('[vellomira.stats.frames, performance.now()]');
  return (last[0] - first[0]) / ((last[1] - first[1]) / 1000);
}

async function browserPass(browser, url) {
  await start(browser, url + '?bench');
  await swim(browser);
  await sleep(1000);
  await browser.evaluate('vellomira.stats.passes.length = 0');
  await sleep(4000);
  const passes = await browser.evaluate('vellomira.stats.passes');
  const cells = (await browser.evaluate('vellomira.player()'))[4];
  return {median: median(passes), mean: passes.reduce((a, b) => a + b, 0) / passes.length,
          count: passes.length, cells};
}

async function firstFrame(browser, url) {
  await browser.goto('about:blank');
  await browser.goto(url);
  await browser.waitFor(`vellomira.phase === 'ready'`, 60000);
  const ready = await browser.evaluate('performance.now()');
  await browser.click('#play');
  const first = await browser.waitFor(`vellomira.stats?.firstFrame`, 60000);
  return {ready, first};
}

function siteSize() {
  let raw = 0, gzip = 0, brotli = 0;
  const rows = [];
  for (const name of readdirSync(SITE)) {
    const bytes = readFileSync(join(SITE, name));
    const g = gzipSync(bytes, {level: 9}).length;
    const b = brotliCompressSync(bytes, {params: {[constants.BROTLI_PARAM_QUALITY]: 11}}).length;
    raw += bytes.length; gzip += g; brotli += b;
    rows.push(`  ${name.padEnd(16)} ${String(bytes.length).padStart(9)} ${String(g).padStart(9)} ${String(b).padStart(9)}`);
  }
  return {raw, gzip, brotli, rows};
}

const mb = (bytes) => (bytes / 1048576).toFixed(2) + ' MiB';

const native = nativePasses(false);
const nativeOneCore = nativePasses(true);
const browser = await Browser.launch();
const site = await serveFolder(SITE);
const tenfold = await serveFolder(SITE, scaledWorld(10));
try {
  const load = await firstFrame(browser, site.url);
  const fps = await framesPerSecond(browser, site.url);
  await browser.screenshot(join(ROOT, 'build-web/page.png'));
  const pass1 = await browserPass(browser, site.url);
  const pass10 = await browserPass(browser, tenfold.url);
  const size = siteSize();
  console.log(`frame rate, 1024x768, sample world, ${SECONDS} s, swimming: ${fps.toFixed(1)} frames/s`);
  console.log(`page load to ready: ${load.ready.toFixed(0)} ms; to the first frame (click at ready): ${load.first.toFixed(0)} ms`);
  for (const [factor, pass] of [['1', pass1], ['10', pass10]])
    console.log(`unpaced main-loop pass x${factor} (${pass.cells} cells): browser median ` +
                `${pass.median.toFixed(2)} ms (mean ${pass.mean.toFixed(2)}, ${pass.count} passes), ` +
                `native on one core ${nativeOneCore[factor].toFixed(2)} ms, ` +
                `ratio ${(pass.median / nativeOneCore[factor]).toFixed(2)}; ` +
                `native on two cores ${native[factor].toFixed(2)} ms, ` +
                `ratio ${(pass.median / native[factor]).toFixed(2)}`);
  console.log(`site download: ${mb(size.raw)} raw, ${mb(size.gzip)} gzip -9, ${mb(size.brotli)} brotli`);
  console.log(`  ${'file'.padEnd(16)} ${'bytes'.padStart(9)} ${'gzip'.padStart(9)} ${'brotli'.padStart(9)}`);
  for (const row of size.rows) console.log(row);
  console.log(`screenshot: ${join(ROOT, 'build-web/page.png')}`);
} finally {
  await browser.close();
  await site.close();
  await tenfold.close();
}
