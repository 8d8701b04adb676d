// The browser build in headless chromium: it loads cleanly, draws the machine, plays the native
// runner's game, opens and closes the About box, and runs on without its asset files.
//   node tests/web/web_test.mjs [build/web] [build/native/vorkelm-sim] [build/web-test]
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { serve, launch } from './browser.mjs';

const [site = 'build/web', sim = 'build/native/vorkelm-sim', shots = 'build/web-test'] =
  process.argv.slice(2);
fs.mkdirSync(shots, { recursive: true });
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

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

async function credit(page) {
  return Number(/^credit (\d+)$/m.exec(await page.evaluate(() => vorkelm.dump()))[1]);
}

async function waitFor(what, test, ms = 10000) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(100))
    if (await test()) return;
  assert.fail(`timed out waiting for ${what}`);
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

async function openPage(browser, url) {
  const page = await browser.newPage();
  const problems = [];
  page.on('console', (m) => m.type() === 'error' && problems.push(m.text()));
  page.on('pageerror', (e) => problems.push(e.message));
  page.on('response', (r) => r.status() >= 400 && problems.push(`${r.status()} ${r.url()}`));
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(url);
  await waitFor('the first ticks',
    () => page.evaluate(() => window.vorkelm && vorkelm.ticks() >= 5));
  return { page, problems };
}

const checks = {
  async 'loads without console errors, icon included; shows coins, back wall and lamp'(
    browser, url) {
    const { page, problems } = await openPage(browser, url);
    await waitFor('the first pay-out', async () => (await credit(page)) >= 9);
    await page.screenshot({ path: path.join(shots, 'page.png') });
    const { pixel, dump } = await clientPixels(page);
    assert.deepEqual(problems, []);
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
    await page.close();
  },

  async 'a session with presses at several moments ends in the native runner\'s state'(
    browser, url) {
    const { page } = await openPage(browser, url);
    await waitFor('the first pay-out', async () => (await credit(page)) >= 9);
    const presses = [['ArrowRight', 450], ['ArrowLeft', 0], ['ArrowLeft', 650],
      ['ArrowRight', 250], ['ArrowRight', 900]];
    for (const [key, pause] of presses) {
      await page.keyboard.press(key);
      await sleep(pause);
    }
    // One evaluation, so that no tick comes between the three.
    const { ticks, keys, dump } = await page.evaluate(
      () => ({ ticks: vorkelm.ticks(), keys: vorkelm.keys(), dump: vorkelm.dump() }));
    const pressTicks = new Set(keys.split(',').map((press) => press.split(':')[0]));
    assert.ok(pressTicks.size >= 3, `presses at several ticks: ${keys}`);
    const native = execFileSync(sim, ['--ticks', String(ticks), '--keys', keys, '--dump'],
      { encoding: 'utf8' });
    assert.equal(dump, native);
    await page.close();
  },

  async 'Alt+/ opens the About box and Esc closes it while the ticks go on'(browser, url) {
    const { page } = await openPage(browser, url);
    await page.keyboard.down('Alt');
    await page.keyboard.press('Slash');
    await page.keyboard.up('Alt');
    const ticks = await page.evaluate(() => vorkelm.ticks());
    assert.equal(await page.$eval('#about', (e) => !e.hidden
      && e.innerText.includes('Vorkelm～５台目～ Version 1.0')), true);
    await page.keyboard.press('ArrowRight');
    await sleep(600);
    await page.screenshot({ path: path.join(shots, 'about.png') });
    assert.equal(await page.evaluate(() => vorkelm.keys()), '', 'the arrows drop nothing');
    const band = await page.$eval('#about-band',
      (c) => Array.from(c.getContext('2d').getImageData(250, 50, 1, 1).data));
    assert.deepEqual(band, [0, 0, 0, 255], 'the band is drawn black');
    await page.keyboard.press('Escape');
    assert.ok((await page.evaluate(() => vorkelm.ticks())) > ticks + 1, 'the ticks go on');
    assert.equal(await page.$eval('#about', (e) => e.hidden), true);
    await page.close();
  },

  async 'without its asset files the page ticks, pays out 9 coins, and Exit ends it'(
    browser, url, hiddenUrl) {
    const { page } = await openPage(browser, hiddenUrl);
    await waitFor('the first pay-out', async () => (await credit(page)) >= 9);
    await page.screenshot({ path: path.join(shots, 'no-assets.png') });
    await page.click('.menu-title');
    await page.click('[data-command="105"]');
    const ticks = await page.evaluate(() => vorkelm.ticks());
    await sleep(500);
    assert.equal(await page.evaluate(() => vorkelm.ticks()), ticks);
    assert.match(await page.$eval('#message', (e) => e.innerText), /has ended/);
    await page.close();
  },

  async 'opened from disk it says that it must be served'(browser) {
    const page = await browser.newPage();
    await page.goto(`file://${path.resolve(site, 'index.html')}`);
    assert.match(await page.$eval('#message', (e) => e.innerText), /must be served/);
    await page.close();
  },
};

const server = await serve({ '/': site });
const hidden = await serve({ '/': site }, /\.(bmp|wav)$/);
const browser = await launch();
let failed = 0;
for (const [name, check] of Object.entries(checks)) {
  try {
    await check(browser, server.url, hidden.url);
    console.log(`ok: ${name}`);
  } catch (error) {
    failed += 1;
    console.log(`FAILED: ${name}\n  ${error.message}`);
  }
}
await browser.close();
server.close();
hidden.close();
console.log(`screenshots: ${shots}`);
console.log(`${Object.keys(checks).length - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
