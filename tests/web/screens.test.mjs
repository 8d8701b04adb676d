// The page on the screens players meet it on: phones upright and held sideways (turned with a
// menu or the About box open, and with a notch), crisp pixels on a short laptop window, the icons
// a phone's home screen takes, the hint where there is no install prompt, and the page without
// JavaScript; and sound that a first event without activation cannot keep off.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { launch, settings } from './browser.mjs';
import { boxOnPage } from './page-box.mjs';
import { openPage, siteInBrowser, until } from './pages.mjs';

const engine = process.env.VORKELM_BROWSER || 'chromium';
const ONLY_CHROMIUM = (why) => engine !== 'chromium' && why;
const site = siteInBrowser();
const { open } = site;

async function openAbout(page) {
  await page.keyboard.down('Alt');
  await page.keyboard.press('Slash');
  await page.keyboard.up('Alt');
}

// Everything shown that lies off the area clear of the screen's edges and insets, and the
// controls a finger could miss.
function misfits(page, selectors) {
  return page.evaluate(`(${misfitsInPage})(${JSON.stringify(selectors)}, ${boxOnPage})`);
}

function misfitsInPage(selectors, boxOnPage) {
  const root = document.documentElement;
  const inset = getComputedStyle(document.body);
  const [top, right, bottom, left] = [inset.paddingTop, inset.paddingRight, inset.paddingBottom,
    inset.paddingLeft].map(parseFloat);
  const [width, height] = [root.clientWidth - right, root.clientHeight - bottom];
  const coarse = matchMedia('(any-pointer: coarse)').matches;
  // How far a tap reaches the element, through its centre: what a finger can hit, which may be
  // more than the element paints.
  const reach = (element, box) => {
    const [x, y] = [box.left + box.width / 2, box.top + box.height / 2];
    const hits = (dx, dy) => {
      const hit = document.elementFromPoint(x + dx, y + dy);
      return hit !== null && element.contains(hit);
    };
    const steps = (dx, dy) => {
      let n = 0;
      while (n < 60 && hits(dx * (n + 1), dy * (n + 1))) ++n;
      return n;
    };
    return [steps(-1, 0) + steps(1, 0) + 1, steps(0, -1) + steps(0, 1) + 1];
  };
  const out = [];
  if (innerWidth > root.clientWidth || root.scrollWidth > root.clientWidth || scrollX !== 0)
    out.push(`scrolls sideways: ${innerWidth} ${root.scrollWidth} ${scrollX}`
      + ` of ${root.clientWidth}`);
  for (const element of document.querySelectorAll(selectors)) {
    const box = boxOnPage(element);
    if (!box.width) continue;
    const name = element.id || element.className || element.textContent;
    if (box.left < left - 0.5 || box.top < top - 0.5 || box.right > width + 0.5
        || box.bottom > height + 0.5)
      out.push(`${name} off screen: ${box.left},${box.top} to ${box.right},${box.bottom}`);
    const [across, down] = reach(element, box);
    if (coarse && element.matches('button') && (across < 44 || down < 44))
      out.push(`${name} too small to tap: ${across} by ${down}`);
  }
  return out;
}

// Held sideways: the client area takes most of the height, and what stands around it stands
// beside it, within its height.
function besideInPage(boxOnPage) {
  const frame = boxOnPage(document.getElementById('frame'));
  const client = boxOnPage(document.getElementById('client'));
  const out = [];
  const share = client.height / document.documentElement.clientHeight;
  if (share < 0.7) out.push(`the client area is ${Math.round(share * 100)}% of the height`);
  for (const id of ['hint', 'game-commands', 'drop-left', 'drop-right']) {
    const box = boxOnPage(document.getElementById(id));
    if (!box.width) continue;
    if (box.right > frame.left + 0.5 && box.left < frame.right - 0.5)
      out.push(`${id} is not beside the window: ${box.left} to ${box.right}`);
    if (box.top < frame.top - 0.5 || box.bottom > frame.bottom + 0.5)
      out.push(`${id} reaches past the window's height: ${box.top} to ${box.bottom}`);
  }
  return out;
}

// A page told of a new size fits itself at its next frames.
async function turn(page, viewport) {
  await page.setViewport(viewport);
  await page.evaluate(() => new Promise((resolve) =>
    requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

const stagePlace = (page) => page.$eval('#stage', (e) => JSON.stringify(e.getBoundingClientRect()));

// Sideways at the sizes of an iPhone SE (first), an iPhone 8 and an iPhone 12 to 14, upright at an
// iPhone 8's and a common Android phone's. WebKit has no touch screen: there these are windows of
// those sizes and ratios with a mouse.
const phones = {
  'sideways 568x320 at 2': { width: 568, height: 320, deviceScaleFactor: 2 },
  'sideways 667x375 at 2': { width: 667, height: 375, deviceScaleFactor: 2 },
  'sideways 844x390 at 3': { width: 844, height: 390, deviceScaleFactor: 3 },
  'upright 375x667 at 2': { width: 375, height: 667, deviceScaleFactor: 2 },
  'upright 360x640 at 3': { width: 360, height: 640, deviceScaleFactor: 3 },
};
for (const [name, screen] of Object.entries(phones)) {
  test(`a phone ${name} shows the whole window, its menus and the About box, also turned`,
    async (t) => {
      const sideways = screen.width > screen.height;
      const viewport = { ...screen, isMobile: true, hasTouch: true, isLandscape: sideways };
      const turned = { ...viewport, width: screen.height, height: screen.width,
        isLandscape: !sideways };
      const page = await open(t, viewport);
      const shot = path.join(settings.shots, `phone-${screen.width}x${screen.height}`);
      await page.screenshot({ path: `${shot}.png` });
      const placed = await stagePlace(page);
      assert.deepEqual(await misfits(page, '#frame, #frame button, #touch button, #under, #hint, '
        + '#game-commands button'), []);
      if (sideways) assert.deepEqual(await page.evaluate(`(${besideInPage})(${boxOnPage})`), []);
      assert.equal(await page.$('#home-hint'), null, 'no hint where the browser can install');
      for (const title of await page.$$('.menu-title')) {
        await title.click();
        assert.deepEqual(await misfits(page, '.menu.open [role=menuitem]'), []);
        await title.click();
      }
      await openAbout(page);
      assert.deepEqual(await misfits(page, '#about, #about button'), []);
      await page.screenshot({ path: `${shot}-about.png` });
      await turn(page, turned);
      assert.deepEqual(await misfits(page, '#about, #about button'), [], 'turned, About open');
      await page.click('.about-ok');
      assert.equal(await page.$eval('#about', (e) => e.hidden), true);
      await page.click('#menubar .menu:last-child .menu-title');
      await turn(page, viewport);
      assert.deepEqual(await misfits(page, '.menu.open [role=menuitem]'), [], 'turned, menu open');
      await page.click('#menubar .menu:last-child .menu-title');
      assert.equal(await stagePlace(page), placed, 'turned back, the window is where it was');
    });
}

test('sideways with a notch and a home indicator, the window and the About box keep clear of them',
  { skip: ONLY_CHROMIUM('safe-area insets are set through the DevTools protocol') }, async (t) => {
    const notch = async (page) => (await page.createCDPSession()).send(
      'Emulation.setSafeAreaInsetsOverride', { insets: { top: 0, left: 47, right: 47, bottom: 21 } });
    const page = await open(t, { width: 844, height: 390, deviceScaleFactor: 3, isMobile: true,
      hasTouch: true, isLandscape: true }, { prepare: notch });
    assert.deepEqual(await misfits(page, '#stage, #frame button, #touch button'), []);
    assert.deepEqual(await page.evaluate(`(${besideInPage})(${boxOnPage})`), []);
    await openAbout(page);
    assert.deepEqual(await misfits(page, '#about, #about button'), []);
  });

test('a 1280x577 laptop window at 150 % gets 1.5 device pixels per game pixel',
  { skip: engine === 'webkit' && 'WebKitGTK scales by whole numbers only' }, async (t) => {
    const page = await open(t, { width: 1280, height: 577, deviceScaleFactor: 1.5 });
    assert.deepEqual(await misfits(page, '#stage'), []);
    const perPixel = await page.$eval('#client',
      (c) => c.getBoundingClientRect().width * devicePixelRatio / c.width);
    assert.ok(perPixel >= 1.5, `${perPixel} device pixels per game pixel`);
  });

// The home screen's icon and the manifest's maskable one: opaque, a phone would fill transparent
// corners with black; the maskable medal inside the circle of 80% that a system may cut it to.
test('the home-screen icons are opaque, and the maskable one keeps its medal inside the safe zone',
  async (t) => {
    const manifest = JSON.parse(fs.readFileSync(path.join(settings.site, 'vorkelm.webmanifest')));
    const maskable = manifest.icons.filter((icon) => icon.purpose === 'maskable');
    assert.deepEqual(maskable.map((icon) => icon.sizes), ['512x512']);
    const page = await open(t, { width: 900, height: 700 }, { wait: false });
    const read = (file) => page.evaluate((src) => new Promise((resolve, reject) => {
      const image = new Image();
      image.onload = () => {
        const canvas = Object.assign(document.createElement('canvas'),
          { width: image.width, height: image.height });
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        const { data } = context.getImageData(0, 0, image.width, image.height);
        let translucent = 0;
        let outsideSafeZone = 0;
        for (let y = 0; y < image.height; ++y) {
          for (let x = 0; x < image.width; ++x) {
            const at = (y * image.width + x) * 4;
            translucent += data[at + 3] !== 255;
            // Anything but the corner's colour beyond the safe zone's circle.
            const centre = Math.hypot(x + 0.5 - image.width / 2, y + 0.5 - image.height / 2);
            if (centre > 0.4 * image.width)
              outsideSafeZone += [0, 1, 2].some((c) => data[at + c] !== data[c]);
          }
        }
        resolve({ size: image.width, translucent, outsideSafeZone });
      };
      image.onerror = reject;
      image.src = src;
    }), file);
    const apple = await page.$eval('link[rel=apple-touch-icon]', (link) => link.href);
    const home = await read(apple);
    assert.deepEqual([home.size, home.translucent], [180, 0]);
    assert.deepEqual(await read(site.server.url + maskable[0].src),
      { size: 512, translucent: 0, outsideSafeZone: 0 });
  });

test('where there is no install prompt, a touch screen hints once at the home screen',
  { skip: ONLY_CHROMIUM('a touch screen, and a page without beforeinstallprompt from its start') },
  async (t) => {
    const context = await site.browser.createBrowserContext();
    t.after(() => context.close());
    const phone = { width: 375, height: 667, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
    // As Safari on an iPhone, which fires no beforeinstallprompt.
    const safari = () => delete window.onbeforeinstallprompt;
    const page = await openPage(t, context, site.server.url, phone,
      { prepare: (on) => on.evaluateOnNewDocument(safari) });
    assert.match(await page.$eval('#home-hint', (e) => e.innerText),
      /ホーム画面に追加[\s\S]*Add to Home Screen/);
    assert.deepEqual(await misfits(page, '#home-hint, #home-hint button'), []);
    await page.tap('#home-hint button');
    assert.equal(await page.$('#home-hint'), null);
    await page.reload();
    await until('the first frame',
      () => page.evaluate(() => !!window.vorkelm && !document.getElementById('loading')));
    assert.equal(await page.$('#home-hint'), null, 'dismissed, it never comes back');
  });

test('without JavaScript only the banner shows, on the screen',
  { skip: ONLY_CHROMIUM('scripts turned off through the DevTools protocol') }, async (t) => {
    const page = await open(t, { width: 375, height: 667, isMobile: true, hasTouch: true },
      { wait: false, prepare: (on) => on.setJavaScriptEnabled(false) });
    assert.equal(await page.$eval('#stage', (e) => getComputedStyle(e).visibility), 'hidden');
    assert.match(await page.$eval('#noscript', (e) => e.innerText), /needs JavaScript/);
    assert.deepEqual(await misfits(page, '#noscript'), []);
    await page.screenshot({ path: path.join(settings.shots, 'no-javascript.png') });
  });

test('a first keydown without activation, then an arrow: the sound runs',
  { skip: ONLY_CHROMIUM('a Chromium switch, and the DevTools protocol to poll without a gesture') },
  async (t) => {
    const strict = await launch('chromium',
      { args: ['--autoplay-policy=document-user-activation-required'] });
    t.after(() => strict.close());
    const page = await openPage(t, strict, site.server.url, { width: 900, height: 700 },
      { wait: false });
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
