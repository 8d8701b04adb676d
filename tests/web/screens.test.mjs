// The page as players on phones, laptops and keyboards meet it: the window and the About box on
// the screen, touch-sized controls, crisp pixels on a short laptop window, the menus' keys, Play
// again, and sound that a first event without activation cannot keep off.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { launch, serve, settings } from './browser.mjs';
import { boxOnPage } from './page-box.mjs';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
let server;
let browser;
before(async () => {
  fs.mkdirSync(settings.shots, { recursive: true });
  server = await serve({ '/': settings.site });
  browser = await launch();
});
after(async () => {
  await browser?.close();
  server?.close();
});

async function until(what, test, ms = 10000) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(100))
    if (await test()) return;
  assert.fail(`timed out waiting for ${what}`);
}

// A page of its own for one test, closed after it; by default once the game shows. The tests
// share the page's storage, so a page continues the game of the one before.
async function openPage(t, viewport, { on = browser, wait = true } = {}) {
  const page = await on.newPage();
  t.after(() => page.close().catch(() => {}));
  await page.setViewport(viewport);
  await page.goto(server.url);
  if (wait) {
    await until('the first frame',
      () => page.evaluate(() => !!window.vorkelm && !document.getElementById('loading')));
  }
  return page;
}

async function openAbout(page) {
  await page.keyboard.down('Alt');
  await page.keyboard.press('Slash');
  await page.keyboard.up('Alt');
}

// Everything shown that lies off the visible area, and the controls a finger could miss.
function misfits(page, selectors) {
  return page.evaluate(`(${misfitsInPage})(${JSON.stringify(selectors)}, ${boxOnPage})`);
}

function misfitsInPage(selectors, boxOnPage) {
  const root = document.documentElement;
  const [width, height] = [root.clientWidth, root.clientHeight];
  const coarse = matchMedia('(any-pointer: coarse)').matches;
  const out = [];
  if (innerWidth > width || root.scrollWidth > width || scrollX !== 0)
    out.push(`scrolls sideways: ${innerWidth} ${root.scrollWidth} ${scrollX} of ${width}`);
  for (const element of document.querySelectorAll(selectors)) {
    const box = boxOnPage(element);
    if (!box.width) continue;
    const name = element.id || element.className || element.textContent;
    if (box.left < -0.5 || box.top < -0.5 || box.right > width + 0.5 || box.bottom > height + 0.5)
      out.push(`${name} off screen: ${box.left},${box.top} to ${box.right},${box.bottom}`);
    if (coarse && element.matches('button') && (box.width < 43.5 || box.height < 43.5))
      out.push(`${name} too small to tap: ${box.width} by ${box.height}`);
  }
  return out;
}

const phones = {
  '375x667 at 2': { width: 375, height: 667, deviceScaleFactor: 2 },
  '360x640 at 3': { width: 360, height: 640, deviceScaleFactor: 3 },
  'landscape 844x390 at 3': { width: 844, height: 390, deviceScaleFactor: 3, isLandscape: true },
};
for (const [name, screen] of Object.entries(phones)) {
  test(`a phone ${name} shows the whole window, its menus and the About box`, async (t) => {
    const page = await openPage(t, { ...screen, isMobile: true, hasTouch: true });
    const placed = await page.$eval('#stage', (e) => JSON.stringify(e.getBoundingClientRect()));
    assert.deepEqual(await misfits(page, '#frame, #frame button, #touch button, #under'), []);
    for (const title of await page.$$('.menu-title')) {
      await title.click();
      assert.deepEqual(await misfits(page, '.menu.open [role=menuitem]'), []);
      await title.click();
    }
    await openAbout(page);
    assert.deepEqual(await misfits(page, '#about, #about button'), []);
    await page.screenshot({ path: path.join(settings.shots, `phone-${screen.width}.png`) });
    await page.click('.about-ok');
    assert.equal(await page.$eval('#about', (e) => e.hidden), true);
    assert.equal(await page.$eval('#stage', (e) => JSON.stringify(e.getBoundingClientRect())),
      placed, 'the window is where it was');
  });
}

test('a 1280x577 laptop window at 150 % gets 1.5 device pixels per game pixel',
  { skip: process.env.VORKELM_BROWSER === 'webkit' && 'WebKitGTK scales by whole numbers only' },
  async (t) => {
    const page = await openPage(t, { width: 1280, height: 577, deviceScaleFactor: 1.5 });
    assert.deepEqual(await misfits(page, '#stage'), []);
    const perPixel = await page.$eval('#client',
      (c) => c.getBoundingClientRect().width * devicePixelRatio / c.width);
    assert.ok(perPixel >= 1.5, `${perPixel} device pixels per game pixel`);
  });

test('keys: an open menu has the arrows and Esc, the About box keeps the focus, Play again ' +
  'starts afresh', async (t) => {
  const page = await openPage(t, { width: 900, height: 700 });
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'client', 'the game first');
  await page.click('.menu-title');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowRight');
  assert.equal(await page.evaluate(() => document.activeElement.dataset.command), '104');
  await page.keyboard.press('Escape');
  assert.equal(await page.$$eval('.menu-items', (m) => m.every((e) => e.hidden)), true);
  assert.equal(await page.evaluate(() => vorkelm.keys()), '', 'the arrows dropped nothing');
  await openAbout(page);
  for (let i = 0; i < 3; ++i) await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.closest('#about') !== null), true);
  await page.click('.menu-title');
  assert.equal(await page.$$eval('.menu-items', (m) => m.every((e) => e.hidden)), true,
    'no menu opens behind the About box');
  await page.keyboard.press('Enter');
  await page.click('.menu-title');
  await page.click('.menu-items [data-command="105"]');
  await page.click('#play-again');
  assert.equal(await page.$eval('#message', (e) => e.hidden), true);
  await until('a pay-out', () => page.evaluate(() => /^credit [1-9]/m.test(vorkelm.dump())));
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('ArrowLeft');
  const last = Number(/(\d+):L$/.exec(await page.evaluate(() => vorkelm.keys()))[1]);
  await until('the last press played', () => page.evaluate((t) => vorkelm.ticks() >= t, last));
  const { ticks, keys, dump } = await page.evaluate(
    () => ({ ticks: vorkelm.ticks(), keys: vorkelm.keys(), dump: vorkelm.dump() }));
  const native = execFileSync(settings.sim, ['--ticks', ticks, '--keys', keys, '--dump']);
  assert.equal(dump, String(native), 'the new game plays as a fresh one');
});

test('a first keydown without activation, then an arrow: the sound runs',
  { skip: (process.env.VORKELM_BROWSER || 'chromium') !== 'chromium'
    && 'a Chromium switch, and the DevTools protocol to poll without a gesture' }, async (t) => {
  const strict = await launch('chromium',
    { args: ['--autoplay-policy=document-user-activation-required'] });
  t.after(() => strict.close());
  const page = await openPage(t, { width: 900, height: 700 }, { on: strict, wait: false });
  // Polled without a gesture: puppeteer's own evaluate would grant activation by itself.
  const cdp = await page.createCDPSession();
  const quietly = async (expression) =>
    (await cdp.send('Runtime.evaluate', { expression, userGesture: false, returnByValue: true }))
      .result.value;
  // The page keeps its audio context to itself; Chromium reports its state.
  let audio = 'none';
  const track = ({ context }) => { audio = context.contextState; };
  cdp.on('WebAudio.contextCreated', track);
  cdp.on('WebAudio.contextChanged', track);
  await cdp.send('WebAudio.enable');
  await until('the game', () => quietly('!!window.vorkelm && vorkelm.ticks() > 1'));
  await quietly('dispatchEvent(new KeyboardEvent("keydown", { key: "Escape" })), 0');
  await until('an audio context', () => audio !== 'none');
  assert.equal(audio, 'suspended');
  await page.keyboard.press('ArrowRight');
  await until('a running audio context', () => audio === 'running');
});
