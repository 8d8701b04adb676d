// How the page reaches the player: a missing or damaged module says so, broken pictures draw
// nothing, the game plays offline after one visit, and sprites stay exact where a browser blurs
// canvas read-back. Runs in the engine VORKELM_BROWSER names (chromium by default).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { serve, launch, settings } from './browser.mjs';

const engine = process.env.VORKELM_BROWSER || 'chromium';
const shot = (name) => path.join(settings.shots, `${name}-${engine}.png`);
// The strip of back wall left of the top board and above the base, on the client area.
const BACK_WALL = { left: 101, top: 20, width: 25, height: 130 };
// The client area's width in game pixels, as both shells share it.
const CLIENT_WIDTH = Number(/^#define CLIENT_WIDTH (\d+)$/m
  .exec(fs.readFileSync('app/shell.h', 'utf8'))[1]);

let browser;
const closers = [];
before(async () => {
  fs.mkdirSync(settings.shots, { recursive: true });
  browser = await launch(engine);
});
after(async () => {
  for (const close of closers) await close();
  await browser?.close();
});

async function server(answer = null) {
  const started = await serve({ '/': settings.site }, null, answer);
  closers.push(started.close);
  return started;
}

// A page whose uncaught errors are collected.
async function open(url, within = browser) {
  const page = await within.newPage();
  const thrown = [];
  page.on('pageerror', (error) => thrown.push(error.message));
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(url);
  return { page, thrown };
}

const playing = (page) => page.waitForFunction(() => window.vorkelm && vorkelm.ticks() >= 5,
  { timeout: 30000 });

// The pixels of a picture file, through ImageMagick: its width and [r, g, b] by (x, y).
function rgb(file) {
  const width = Number(execFileSync('/usr/bin/identify', ['-format', '%w', file]));
  const bytes = execFileSync('/usr/bin/convert', [file, '-depth', '8', 'rgb:-']);
  return { width, pixel: (x, y) => [...bytes.subarray((y * width + x) * 3, (y * width + x) * 3 + 3)] };
}

test('a missing or damaged module ends in a message that names it, and nothing throws', async () => {
  let broken = null;
  const { url } = await server((urlPath) => (broken && urlPath === `/${broken.file}` ? broken : null));
  const script = fs.readFileSync(path.join(settings.site, 'vorkelm.js'));
  const javascript = { 'Content-Type': 'text/javascript' };
  // Firefox reports a script of another type that it refuses to run; the page throws nothing.
  const refused = /was blocked because of a disallowed MIME type/;
  const cases = [
    { file: 'vorkelm.wasm', status: 404, says: /vorkelm\.wasm could not be loaded \(HTTP 404\)/ },
    { file: 'vorkelm.wasm', body: 'not a module', says: /vorkelm\.wasm is damaged/ },
    { file: 'vorkelm.js', status: 404, says: /vorkelm\.js could not be loaded \(HTTP 404\)/ },
    { file: 'vorkelm.js', body: script.subarray(0, script.length / 2), headers: javascript,
      says: /vorkelm\.js is damaged/ },
    { file: 'vorkelm.js', body: '<!DOCTYPE html><p>Not found', headers: { 'Content-Type': 'text/html' },
      says: /vorkelm\.js is damaged/ },
    { file: 'vorkelm-share.js', status: 404,
      says: /vorkelm-share\.js could not be loaded \(HTTP 404\)/ },
  ];
  for (const c of cases) {
    broken = c;
    const { page, thrown } = await open(url);
    await page.waitForSelector('#loading.failed');
    const text = await page.$eval('#loading', (e) => e.innerText);
    assert.match(text, c.says);
    assert.match(text, new RegExp(`${c.file.replace('.', '\\.')} (を読み込めませんでした|が壊れている)`));
    assert.ok(await page.$('#loading button'), 'a reload button');
    if (c === cases[0]) await page.screenshot({ path: shot('module-missing') });
    assert.deepEqual(thrown.filter((message) => !refused.test(message)), []);
    await page.close();
  }
});

test('broken pictures draw nothing and the game runs; the server keeps to the site', async () => {
  const back = fs.readFileSync(path.join(settings.site, 'back.bmp'));
  const bad = { '/back.bmp': back.subarray(0, 5000), '/coin2.bmp': Buffer.from('BM garbage') };
  const { url } = await server((urlPath) => (bad[urlPath] ? { body: bad[urlPath] } : null));
  assert.equal((await fetch(`${url}..%2f..%2fREADME.md`)).status, 404);
  const { page, thrown } = await open(url);
  await playing(page);
  const wall = await page.$eval('#client', (canvas, r) => Array.from(canvas.getContext('2d')
    .getImageData(r.left, r.top, r.width, r.height).data), BACK_WALL);
  assert.ok(wall.every((value, i) => value === (i % 4 === 3 ? 255 : 0)), 'no back wall drawn');
  assert.deepEqual(thrown, []);
  await page.close();
});

test('after one visit the game loads and plays with the server gone', async () => {
  const site = await server();
  const { page, thrown } = await open(site.url);
  await playing(page);
  await page.waitForFunction(() => navigator.serviceWorker.controller, { timeout: 30000 });
  if (engine === 'chromium') {
    const cdp = await page.createCDPSession();
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
  }
  site.close();
  await page.reload();
  await playing(page);
  await page.screenshot({ path: shot('offline') });
  const wall = await page.$eval('#client', (canvas, r) => Array.from(canvas.getContext('2d')
    .getImageData(r.left, r.top, 1, 1).data), BACK_WALL);
  assert.notDeepEqual(wall, [0, 0, 0, 255], 'the back wall is drawn');
  assert.deepEqual(thrown, []);
  await page.close();
});

test('with resistFingerprinting on, Firefox shows the back wall exactly as back.bmp',
  { skip: engine !== 'firefox' && 'a Firefox preference' }, async () => {
    const guarded = await launch('firefox', { prefs: { 'privacy.resistFingerprinting': true } });
    closers.push(() => guarded.close());
    const { url } = await server();
    const { page } = await open(url, guarded);
    await playing(page);
    // What the screen shows: canvas read-back is the very thing made noisy here.
    const box = await page.$eval('#client', (e) => {
      const r = e.getBoundingClientRect();
      return { x: r.left, y: r.top, width: r.width, height: r.height };
    });
    const file = shot('fingerprinting');
    await page.screenshot({ path: file, clip: box });
    const shown = rgb(file);
    const scale = shown.width / CLIENT_WIDTH;
    const wall = rgb(path.join(settings.site, 'back.bmp'));
    const at = (v, origin) => Math.floor((origin + v + 0.5) * scale);
    for (let y = 0; y < BACK_WALL.height; ++y) {
      for (let x = 0; x < BACK_WALL.width; ++x) {
        assert.deepEqual(shown.pixel(at(x, BACK_WALL.left), at(y, BACK_WALL.top)),
          wall.pixel(x, y), `${x},${y}`);
      }
    }
  });
