// The kept and shared game, in the engine VORKELM_BROWSER names: the page continues the very game
// over reloads, refuses bad saves and bad links with a notice, plays on where storage fails, and
// a shared link plays back the game the native replay runner plays from the same code.
//   node --test tests/web/keep.test.mjs      (from the top folder; see settings in browser.mjs)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { serve, launch, settings } from './browser.mjs';

const TIMEOUT = { timeout: 90000 };
// Checks that break the page before its scripts run, which WebDriver classic cannot.
const BEFORE_SCRIPTS = { ...TIMEOUT, skip: process.env.VORKELM_BROWSER === 'webkit'
  && 'WebKit: WebDriver classic runs nothing before the page\'s scripts (evaluateOnNewDocument)' };
let server;
let browser;
const contexts = [];

before(async () => {
  server = await serve({ '/': settings.site });
  browser = await launch();
});
afterEach(async () => {
  await Promise.all(contexts.splice(0).map((context) => context.close().catch(() => {})));
});
after(async () => {
  await browser?.close();
  server?.close();
});

// A page in a fresh browser context (its own storage); `prepare` runs before the page's scripts.
async function open(url, prepare) {
  const context = await browser.createBrowserContext();
  contexts.push(context);
  const page = await context.newPage();
  const problems = [];
  page.on('console', (m) => m.type() === 'error' && problems.push(m.text()));
  page.on('pageerror', (e) => problems.push(e.message));
  if (prepare) await page.evaluateOnNewDocument(...prepare);
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(url);
  await page.waitForFunction(() => window.vorkelm && vorkelm.ticks() >= 1);
  return { page, problems };
}

const state = (page) => page.evaluate(
  () => ({ ticks: vorkelm.ticks(), keys: vorkelm.keys(), dump: vorkelm.dump() }));
const reach = (page, ticks) => page.waitForFunction((n) => vorkelm.ticks() >= n, {}, ticks);
const sim = (...args) => execFileSync(settings.sim, [...args, '--dump'], { encoding: 'utf8' });

test('reloaded twice with presses between, the page plays the whole game as the runner does',
  TIMEOUT, async () => {
    const { page, problems } = await open(server.url);
    await reach(page, 6);
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowLeft');
    for (const key of ['ArrowLeft', 'ArrowRight']) {
      const before = await state(page);
      await page.reload();
      await page.waitForFunction(() => window.vorkelm);
      const continued = await state(page);
      assert.ok(continued.ticks >= before.ticks && continued.keys.startsWith(before.keys),
        `continued at ${continued.ticks} with ${continued.keys}`);
      await reach(page, continued.ticks + 3);
      await page.keyboard.press(key);
    }
    await reach(page, (await state(page)).ticks + 2);
    const { ticks, keys, dump } = await state(page);
    assert.equal(keys.split(',').length, 4);
    assert.equal(dump, sim('--ticks', String(ticks), '--keys', keys));

    // Ended as soon as it continues, before its first frame, the game shows its end and not the
    // loading screen. Play again asks before it gives this game up; New game starts afresh.
    await page.reload({ waitUntil: 'domcontentloaded' });
    await page.waitForFunction(() => window.vorkelm &&
      (document.querySelector('[data-command="105"]').click(), true), { polling: 'mutation' });
    assert.equal(await page.$('#loading'), null, 'no loading screen over the end');
    const asked = new Promise((resolve) =>
      page.once('dialog', (dialog) => resolve(dialog.dismiss())));
    await page.click('#play-again');
    await asked;
    assert.equal(await page.evaluate(() => vorkelm.keys()), keys, 'the ended game stays');
    page.once('dialog', (dialog) => dialog.accept());
    await page.click('#keep-new-game');
    assert.equal(await page.evaluate(() => vorkelm.keys()), '');
    assert.deepEqual(problems, []);
  });

// A save's bytes edited, with its checksum (FNV-1a over all but its last four bytes) made anew.
function edited(save, edit) {
  const bytes = Buffer.from(save, 'base64url');
  edit(bytes);
  let hash = 2166136261;
  for (const byte of bytes.subarray(0, bytes.length - 4)) hash = Math.imul(hash ^ byte, 16777619);
  bytes.writeUInt32LE(hash >>> 0, bytes.length - 4);
  return bytes.toString('base64url');
}

// The save of a fresh game a few ticks in, as the page keeps it when it is left.
async function freshSave() {
  const { page } = await open(server.url);
  await reach(page, 3);
  return page.evaluate(() => {
    dispatchEvent(new Event('pagehide'));
    return localStorage.getItem('vorkelm-save');
  });
}

test('a damaged, out-of-range or newer save is kept aside and a new game starts with a notice',
  BEFORE_SCRIPTS, async () => {
    const goodSave = await freshSave();
    assert.ok(goodSave, 'the page saved its game');
    const bad = {
      garbage: 'bm90IGEgc2F2ZWQgZ2FtZQ',
      'a coin in slot 5000': edited(goodSave, (b) => b.writeUInt16LE(5000, 54)),
      'format 3': edited(goodSave, (b) => b.writeUInt16LE(3, 4)),
    };
    for (const [what, save] of Object.entries(bad)) {
      const { page, problems } = await open(server.url,
        [(text) => localStorage.length || localStorage.setItem('vorkelm-save', text), save]);
      await page.waitForSelector('#keep-notice .keep-unreadable');
      await reach(page, 3);
      const aside = await page.evaluate(() => Object.keys(localStorage)
        .filter((key) => key.startsWith('vorkelm-unreadable-')).map((key) => localStorage[key]));
      assert.deepEqual(aside, [save], what);
      assert.equal((await state(page)).keys, '', what);
      assert.deepEqual(problems, [], what);
    }
  });

test('a shared link plays back in a fresh page to the runner\'s dump and the sharer\'s', TIMEOUT,
  async () => {
    const { page } = await open(server.url);
    await page.waitForFunction(() => /^credit (9|\d\d)/m.test(vorkelm.dump()));
    for (const key of ['ArrowRight', 'ArrowRight', 'ArrowLeft']) {
      await page.keyboard.press(key);
      await reach(page, (await state(page)).ticks + 2);
    }
    const shared = await page.evaluate(() => {
      document.getElementById('keep-share').click();
      return vorkelm.dump();
    });
    const link = await page.$eval('#keep-link', (field) => field.value);
    await page.screenshot({ path: path.join(settings.shots, 'share.png') });
    const code = link.split('#replay=')[1];

    const { page: viewer, problems } = await open(link);
    await viewer.click('#keep-jump');
    await viewer.waitForSelector('#keep-play-from-here:not([hidden])');
    await viewer.screenshot({ path: path.join(settings.shots, 'replay-end.png') });
    const { dump } = await state(viewer);
    assert.equal(dump, shared);
    assert.equal(dump, sim('--replay', code));
    assert.equal(await viewer.evaluate(() => localStorage.getItem('vorkelm-save')), null,
      'the replay left the viewer\'s saved game alone');
    await viewer.click('#keep-play-from-here');
    assert.equal(await viewer.evaluate(() => location.hash), '');
    assert.ok(await viewer.evaluate(() => localStorage.getItem('vorkelm-save')));
    assert.deepEqual(problems, []);

    const damaged = link.slice(0, -3) + (link.endsWith('AAA') ? 'BBB' : 'AAA');
    const { page: refused, problems: refusedProblems } = await open(damaged);
    await refused.waitForSelector('#keep-notice .keep-bad-link');
    assert.match(await refused.$eval('#keep-notice', (e) => e.innerText), /damaged/);
    await reach(refused, 3);
    assert.deepEqual(refusedProblems, []);
  });

test('where storage throws or is full, the page plays on without saving and says so once',
  BEFORE_SCRIPTS, async () => {
    const breakages = [
      () => Object.defineProperty(window, 'localStorage',
        { get() { throw new DOMException('The operation is insecure.', 'SecurityError'); } }),
      () => {
        Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };
      },
    ];
    for (const breakage of breakages) {
      const { page, problems } = await open(server.url, [breakage]);
      await page.waitForFunction(() => /^credit (9|\d\d)/m.test(vorkelm.dump()));
      await page.keyboard.press('ArrowRight');
      await page.evaluate(() => dispatchEvent(new Event('pagehide')));
      assert.equal(await page.$$eval('#keep-notice .keep-storage', (n) => n.length), 1);
      // Closed, it stays closed: the saves that fail after it say nothing more.
      await page.click('#keep-notice > button');
      await page.evaluate(() => dispatchEvent(new Event('pagehide')));
      assert.equal(await page.$eval('#keep-notice', (n) => n.hidden), true, 'said again');
      assert.equal((await state(page)).keys.split(',').length, 1);
      assert.deepEqual(problems, []);
    }
  });
