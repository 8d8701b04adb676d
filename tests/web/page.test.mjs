// The browser build in the engine VORKELM_BROWSER names (chromium, firefox or webkit): it loads
// cleanly, draws the machine, plays the native runner's game, opens and closes the About box, and
// runs on without its asset files.
//   node --test tests/web/page.test.mjs      (from the top folder; see settings in browser.mjs)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { serve, launch, settings } from './browser.mjs';

const TIMEOUT = { timeout: 60000 };

// A 24-bit bottom-up bitmap file as a pixel reader.
function readBmp(file) {
  const bytes = fs.readFileSync(file);
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  const rowBytes = Math.ceil((width * 3) / 4) * 4;
  return (x, y) => {
    const at = bytes.readUInt32LE(10) + (height - 1 - y) * rowBytes + x * 3;
    return [bytes[at + 2], bytes[at + 1], bytes[at]];
  };
}

let server;
let hidden;
let browser;
const contexts = [];

before(async () => {
  fs.mkdirSync(settings.shots, { recursive: true });
  server = await serve({ '/': settings.site });
  hidden = await serve({ '/': settings.site }, /\.(bmp|wav)$/);
  browser = await launch();
});

// Whatever a check left open is closed, also when it failed half-way.
afterEach(async () => {
  await Promise.all(contexts.splice(0).map((context) => context.close().catch(() => {})));
});

after(async () => {
  await browser?.close();
  server?.close();
  hidden?.close();
});

// Each page in a browser context of its own, so that no check continues another's saved game.
async function newPage() {
  const context = await browser.createBrowserContext();
  contexts.push(context);
  return context.newPage();
}

// Waits in the page until its tick count reaches `ticks`.
function ticksReach(page, ticks) {
  return page.waitForFunction((n) => window.vorkelm && vorkelm.ticks() >= n, {}, ticks);
}

async function ticks(page) {
  return page.evaluate(() => vorkelm.ticks());
}

function firstPayOut(page) {
  return page.waitForFunction(() => Number(/^credit (\d+)$/m.exec(vorkelm.dump())[1]) >= 9);
}

// The client area's pixels, as [r, g, b] by (x, y), and the state they show: one evaluation, so
// that no tick comes between the two.
async function clientPixels(page) {
  const data = await page.evaluate(() => {
    const canvas = document.getElementById('client');
    const { width, height } = canvas;
    const rgba = Array.from(canvas.getContext('2d').getImageData(0, 0, width, height).data);
    return { width, rgba, dump: vorkelm.dump() };
  });
  const pixel = (x, y) => data.rgba.slice((y * data.width + x) * 4, (y * data.width + x) * 4 + 3);
  return { pixel, dump: data.dump };
}

async function openPage(url) {
  const page = await newPage();
  const problems = [];
  page.on('console', (m) => m.type() === 'error' && problems.push(m.text()));
  page.on('pageerror', (e) => problems.push(e.message));
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(url);
  await ticksReach(page, 5);
  return { page, problems };
}

test('loads without console errors, icon included; shows coins, back wall and lamp', TIMEOUT,
  async () => {
    const { page, problems } = await openPage(server.url);
    await firstPayOut(page);
    await page.screenshot({ path: path.join(settings.shots, 'page.png') });
    const { pixel, dump } = await clientPixels(page);
    assert.deepEqual(problems, []);
    assert.deepEqual(server.refused, [], 'every file the page asked for, its icon included');
    // The strip of back wall left of the top board and above the base.
    const back = readBmp('assets/back.bmp');
    for (let y = 20; y < 150; y += 7)
      for (let x = 101; x < 126; x += 3)
        assert.deepEqual(pixel(x, y), back(x - 101, y - 20), `back wall at ${x},${y}`);
    // The catcher through its mask: its own pixels where the mask is white, the board beneath
    // where it is black. No coin falls yet to cover it.
    const catcherX = 126 + Number(/^catcher (\d+)/m.exec(dump)[1]);
    const [move, moveMask] = [readBmp('assets/move.bmp'), readBmp('assets/movemask.bmp')];
    for (let y = 0; y < 20; ++y) {
      for (let x = 0; x < 25; ++x) {
        const shown = pixel(catcherX + x, 140 + y);
        if (moveMask(x, y).join() === '255,255,255') assert.deepEqual(shown, move(x, y));
        else assert.notEqual(shown.join(), '255,255,255', `catcher's background at ${x},${y}`);
      }
    }
    // The lamp square's yellow frame around the cell the lottery left it on.
    const [, row, column] = /^lottery \d+ (\d+) (\d+)$/m.exec(dump).map(Number);
    const left = 140 + 17 * column;
    const top = 84 + 17 * row;
    let yellow = 0;
    for (let i = 0; i <= 17; ++i)
      for (const [x, y] of [[left + i, top], [left + i, top + 17], [left, top + i],
        [left + 17, top + i]])
        yellow += pixel(x, y).join() === '255,255,0';
    assert.ok(yellow > 40, `lamp square: ${yellow} yellow pixels`);
    // Coins lying on the deck and the field, in the coin picture's colours.
    const coin = readBmp('assets/coin2.bmp')(7, 7).join();
    let coinPixels = 0;
    for (let y = 170; y < 345; ++y)
      for (let x = 100; x < 317; ++x) coinPixels += pixel(x, y).join() === coin;
    assert.ok(coinPixels > 100, `coins: ${coinPixels} pixels of a coin's colour`);
  });

test('a session with presses at several moments ends in the native runner\'s state', TIMEOUT,
  async () => {
    const { page } = await openPage(server.url);
    await firstPayOut(page);
    // Each press, then the ticks to let pass before the next one.
    const presses = [['ArrowRight', 2], ['ArrowLeft', 0], ['ArrowLeft', 3], ['ArrowRight', 1],
      ['ArrowRight', 1]];
    for (const [key, wait] of presses) {
      await page.keyboard.press(key);
      await ticksReach(page, (await ticks(page)) + wait);
    }
    // One evaluation, so that no tick comes between the three.
    const state = await page.evaluate(
      () => ({ ticks: vorkelm.ticks(), keys: vorkelm.keys(), dump: vorkelm.dump() }));
    const pressTicks = new Set(state.keys.split(',').map((press) => press.split(':')[0]));
    assert.ok(pressTicks.size >= 3, `presses at several ticks: ${state.keys}`);
    const native = execFileSync(settings.sim,
      ['--ticks', String(state.ticks), '--keys', state.keys, '--dump'], { encoding: 'utf8' });
    assert.equal(state.dump, native);
  });

test('Alt+/ opens the About box and Esc closes it while the ticks go on', TIMEOUT, async () => {
  const { page } = await openPage(server.url);
  await page.keyboard.down('Alt');
  await page.keyboard.press('Slash');
  await page.keyboard.up('Alt');
  const opened = await ticks(page);
  assert.equal(await page.$eval('#about', (e) => !e.hidden
    && e.innerText.includes('Vorkelm～５台目～ Version 1.0')), true);
  await page.keyboard.press('ArrowRight');
  // The band is cleared black by its own timer, not by the game's tick.
  await page.waitForFunction(() => document.getElementById('about-band').getContext('2d')
    .getImageData(250, 50, 1, 1).data.join() === '0,0,0,255');
  await ticksReach(page, opened + 2);
  await page.screenshot({ path: path.join(settings.shots, 'about.png') });
  assert.equal(await page.evaluate(() => vorkelm.keys()), '', 'the arrows drop nothing');
  await page.keyboard.press('Escape');
  assert.equal(await page.$eval('#about', (e) => e.hidden), true);
});

test('without its asset files the page ticks, pays out 9 coins, and Exit ends it', TIMEOUT,
  async () => {
    const { page } = await openPage(hidden.url);
    await firstPayOut(page);
    await page.screenshot({ path: path.join(settings.shots, 'no-assets.png') });
    await page.click('.menu-title');
    await page.click('.menu-items [data-command="105"]');
    assert.match(await page.$eval('#message', (e) => e.innerText), /has ended/);
    const ended = await ticks(page);
    // Three turns of a timer at the game's period, in which a running game would have ticked.
    await page.evaluate(() => new Promise((resolve) => {
      let turns = 0;
      const timer = setInterval(() => ++turns === 3 && (clearInterval(timer), resolve()), 200);
    }));
    assert.equal(await ticks(page), ended);
  });

// What the checks above hear of a page's faults, heard in every engine.
test('an error thrown and an error logged after the page loads reach the checks', TIMEOUT,
  async () => {
    const page = await newPage();
    const heard = [];
    page.on('console', (m) => m.type() === 'error' && heard.push(`console: ${m.text()}`));
    page.on('pageerror', (e) => heard.push(`thrown: ${e.message}`));
    await page.goto('data:text/html,<button onclick="console.error(\'logged\'); '
      + 'throw new Error(\'thrown\')">fault</button>');
    await page.click('button');
    while (heard.length < 2) await page.evaluate(() => new Promise((r) => setTimeout(r, 50)));
    heard.sort();
    assert.equal(heard[0], 'console: logged');
    // Firefox names the error's class in its message.
    assert.match(heard[1], /^thrown: (Error: )?thrown$/);
  });

test('opened from disk it says that it must be served', TIMEOUT, async () => {
  const page = await newPage();
  await page.goto(`file://${path.resolve(settings.site, 'index.html')}`);
  // WebKit may report the page loaded before its deferred script has run.
  await page.waitForFunction(() => !document.getElementById('message').hidden, { timeout: 10000 });
  assert.match(await page.$eval('#message', (e) => e.innerText), /must be served/);
});
