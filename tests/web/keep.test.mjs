// The kept and shared game, in the engine VORKELM_BROWSER names: the page continues the very game
// over reloads, one tab writes it and hands it over to another, bad saves and bad links are
// refused with a notice and a newer version's save is left alone, a failed save stands noticed
// until one succeeds, and a shared link plays back the game the native replay runner plays from
// the same code.
//   node --test tests/web/keep.test.mjs      (from the top folder; see settings in browser.mjs)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { serve, launch, settings } from './browser.mjs';
import { checksum } from './checksum.mjs';
import { timerTurns } from './pages.mjs';

const TIMEOUT = { timeout: 90000 };
// Checks that break the page before its scripts run, which WebDriver classic cannot.
const BEFORE_SCRIPTS = { ...TIMEOUT, skip: process.env.VORKELM_BROWSER === 'webkit'
  && 'WebKit: WebDriver classic runs nothing before the page\'s scripts (evaluateOnNewDocument)' };
let server;
let browser;
const contexts = [];

// A page of the site's origin without the game, where a test plants what storage holds before
// the game's first visit.
const BLANK = '/blank';

before(async () => {
  fs.mkdirSync(settings.shots, { recursive: true });
  server = await serve({ '/': settings.site }, null, (urlPath) => urlPath === BLANK && {
    headers: { 'Content-Type': 'text/html' },
    body: '<!doctype html><link rel="icon" href="data:,"><title>-</title>',
  });
  browser = await launch();
});
afterEach(async () => {
  await Promise.all(contexts.splice(0).map((context) => context.close().catch(() => {})));
});
after(async () => {
  await browser?.close();
  server?.close();
});

// A page in `context`, by default a fresh one (its own storage). `plant` is what local storage
// holds before the game's page loads; `prepare` (a function and its arguments) runs before the
// page's scripts.
async function open(url, { context = null, plant = null, prepare = null } = {}) {
  if (!context) {
    context = await browser.createBrowserContext();
    contexts.push(context);
  }
  const page = await context.newPage();
  const problems = [];
  page.on('console', (m) => m.type() === 'error' && problems.push(m.text()));
  page.on('pageerror', (e) => problems.push(e.message));
  if (prepare) await page.evaluateOnNewDocument(...prepare);
  await page.setViewport({ width: 900, height: 700 });
  if (plant) {
    await page.goto(new URL(BLANK, url).href);
    await page.evaluate((entries) => entries.forEach(([key, value]) =>
      localStorage.setItem(key, value)), Object.entries(plant));
  }
  await page.goto(url);
  await page.waitForFunction(() => window.vorkelm && vorkelm.ticks() >= 1);
  return { page, problems, context };
}

const state = (page) => page.evaluate(
  () => ({ ticks: vorkelm.ticks(), keys: vorkelm.keys(), dump: vorkelm.dump() }));
// Polled by time: a page in a tab behind another gets no animation frames.
const reach = (page, ticks) => page.waitForFunction((n) => vorkelm.ticks() >= n,
  { polling: 100 }, ticks);
const sim = (...args) => execFileSync(settings.sim, [...args, '--dump'], { encoding: 'utf8' });
const simAt = ({ ticks, keys }) => sim('--ticks', String(ticks), '--keys', keys);
const noticeText = (page, kind) => page.$eval(`#keep-notice .keep-${kind}`, (e) => e.textContent);
const kept = (page) => page.evaluate(() => ({ save: localStorage.getItem('vorkelm-save'),
  aside: Object.keys(localStorage).filter((key) => key.startsWith('vorkelm-unreadable-'))
    .map((key) => localStorage[key]) }));
const saveNow = (page) => page.evaluate(() => dispatchEvent(new Event('pagehide')));
const withCredit = (page) => page.waitForFunction(() => /^credit (9|\d\d)/m.test(vorkelm.dump()));

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


// Two pages of one browser: the second holds the game still and says so; "play here" moves the
// game with the presses made in the first just before, the first stops, and once both are closed
// the game that continues holds them. `prepare` takes Web Locks away for the channel's rule.
async function handOver(prepare) {
  const { page: first, context, problems } = await open(server.url, { prepare });
  await withCredit(first);
  await first.keyboard.press('ArrowRight');
  await saveNow(first);
  const { page: second, problems: secondProblems } = await open(server.url, { context, prepare });
  await second.waitForSelector('#keep-notice .keep-writer');
  const told = await noticeText(second, 'writer');
  assert.match(told, /このゲームは別のタブで遊んでいます。/);
  assert.match(told, /Another tab is playing this game\./);
  await second.screenshot({ path: path.join(settings.shots, 'another-tab.png') });
  await second.setViewport({ width: 375, height: 667 });
  await second.screenshot({ path: path.join(settings.shots, 'another-tab-phone.png') });
  const held = await state(second);
  await second.keyboard.press('ArrowLeft');
  await timerTurns(second);
  assert.deepEqual(await state(second), held, 'the second page holds the game still');

  await first.keyboard.press('ArrowLeft');
  await first.keyboard.press('ArrowRight');
  const beforeHandOver = await state(first);
  await second.click('#keep-play-here');
  await second.waitForFunction((keys) => vorkelm.keys() === keys && !document.querySelector(
    '#keep-notice .keep-writer'), { polling: 100 }, beforeHandOver.keys);
  await first.waitForFunction(() => document.querySelector('#keep-notice .keep-writer'),
    { polling: 100 });
  assert.match(await noticeText(first, 'writer'), /This game went on in another tab\./);
  await first.screenshot({ path: path.join(settings.shots, 'went-on-elsewhere.png') });
  const stopped = await state(first);
  await first.keyboard.press('ArrowRight');
  await timerTurns(first);
  assert.deepEqual(await state(first), stopped, 'the first page stopped');
  assert.equal(stopped.keys, beforeHandOver.keys);

  await second.keyboard.press('ArrowRight');
  await reach(second, (await state(second)).ticks + 2);
  const playedOn = await state(second);
  assert.ok(playedOn.ticks > stopped.ticks, `played on from ${stopped.ticks}: ${playedOn.ticks}`);
  assert.equal(playedOn.keys.split(',').length, 4);
  assert.equal(playedOn.dump, simAt(playedOn));
  // Closed without a word to the page: what continues holds the first page's last presses.
  await second.close();
  await first.close();
  const { page: again, problems: againProblems } = await open(server.url, { context, prepare });
  await reach(again, (await state(again)).ticks + 1);
  const continued = await state(again);
  assert.ok(continued.keys.startsWith(stopped.keys), `continued with ${continued.keys}`);
  assert.equal(continued.dump, simAt(continued));
  await timerTurns(again);
  assert.equal(await again.$('#keep-notice .keep-writer'), null, 'the page left alone writes');
  assert.deepEqual([...problems, ...secondProblems, ...againProblems], []);
}

test('a second page holds the game still until "play here" moves it there, with every press',
  TIMEOUT, () => handOver(null));

test('without Web Locks, the pages agree by their channel: the game moves with every press',
  BEFORE_SCRIPTS, () => handOver([() => { delete Navigator.prototype.locks; }]));

// A save's bytes edited, with its checksum (FNV-1a over all but its last four bytes) made anew.
function edited(save, edit) {
  const bytes = Buffer.from(save, 'base64url');
  edit(bytes);
  bytes.writeUInt32LE(checksum(bytes.subarray(0, bytes.length - 4)), bytes.length - 4);
  return bytes.toString('base64url');
}

// The save of a fresh game a few ticks in, as the page keeps it when it is left.
async function freshSave() {
  const { page } = await open(server.url);
  await reach(page, 3);
  await saveNow(page);
  return (await kept(page)).save;
}

test('a save that cannot be read is set aside, the one copy kept, with its reason in each language',
  TIMEOUT, async () => {
    const goodSave = await freshSave();
    assert.ok(goodSave, 'the page saved its game');
    const bad = {
      garbage: ['bm90IGEgc2F2ZWQgZ2FtZQ', /このゲームのものではありません。/,
        /not a game of Vorkelm\./],
      'a coin in slot 5000': [edited(goodSave, (b) => b.writeUInt16LE(5000, 54)),
        /壊れています。/, /damaged\./],
    };
    for (const [what, [save, japanese, english]] of Object.entries(bad)) {
      const { page, problems } = await open(server.url, { plant: { 'vorkelm-save': save,
        'vorkelm-unreadable-2020-01-01T00:00:00.000Z': 'set aside by an earlier visit' } });
      await page.waitForSelector('#keep-notice .keep-unreadable');
      const told = await noticeText(page, 'unreadable');
      assert.match(told, japanese, what);
      assert.match(told, english, what);
      await reach(page, 3);
      const { save: now, aside } = await kept(page);
      assert.deepEqual(aside, [save], what);
      assert.notEqual(now, save, `${what}: the new game is saved`);
      assert.equal((await state(page)).keys, '', what);
      assert.deepEqual(problems, [], what);
    }
  });

test('a save of a newer version stays as it is: the page plays without saving and says so',
  TIMEOUT, async () => {
    const goodSave = await freshSave();
    const newer = {
      'format 3': edited(goodSave, (b) => b.writeUInt16LE(3, 4)),
      'rules 2': edited(goodSave, (b) => b.writeUInt16LE(2, 6)),
    };
    for (const [what, save] of Object.entries(newer)) {
      const { page, problems } = await open(server.url, { plant: { 'vorkelm-save': save } });
      await page.waitForSelector('#keep-notice .keep-unreadable');
      const told = await noticeText(page, 'unreadable');
      assert.match(told, /この版より新しい版のゲームが書いたものです。/, what);
      assert.match(told, /written by a newer version of the game\./, what);
      if (what === 'format 3')
        await page.screenshot({ path: path.join(settings.shots, 'newer-save.png') });
      await withCredit(page);
      await page.keyboard.press('ArrowRight');
      await saveNow(page);
      await timerTurns(page);
      assert.equal((await state(page)).keys.split(',').length, 1, `${what}: a game plays`);
      assert.deepEqual(await kept(page), { save, aside: [] }, what);
      assert.deepEqual(problems, [], what);
    }
  });

test('a shared link plays back in a fresh page to the runner\'s dump and the sharer\'s', TIMEOUT,
  async () => {
    const { page } = await open(server.url);
    await withCredit(page);
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
    assert.deepEqual(await viewer.evaluate(() => [localStorage.getItem('vorkelm-save'),
      'persisted' in document.documentElement.dataset]), [null, false],
    'the replay left the viewer\'s saved game and storage alone');
    await viewer.click('#keep-play-from-here');
    assert.equal(await viewer.evaluate(() => location.hash), '');
    await viewer.waitForFunction(() => localStorage.getItem('vorkelm-save'));
    assert.deepEqual(problems, []);

    const damaged = link.slice(0, -3) + (link.endsWith('AAA') ? 'BBB' : 'AAA');
    const { page: refused, problems: refusedProblems } = await open(damaged);
    await refused.waitForSelector('#keep-notice .keep-bad-link');
    assert.match(await refused.$eval('#keep-notice', (e) => e.innerText), /damaged/);
    await reach(refused, 3);
    assert.deepEqual(refusedProblems, []);
  });

test('where the browser keeps nothing, the page plays on without saving and says so once',
  BEFORE_SCRIPTS, async () => {
    const { page, problems } = await open(server.url, { prepare: [() => Object.defineProperty(
      window, 'localStorage',
      { get() { throw new DOMException('insecure', 'SecurityError'); } })] });
    await withCredit(page);
    await page.keyboard.press('ArrowRight');
    await saveNow(page);
    assert.equal(await page.$$eval('#keep-notice .keep-storage', (n) => n.length), 1);
    // Closed, it stays closed: the saves that fail after it say nothing more.
    await page.click('#keep-notice > button');
    await saveNow(page);
    assert.equal(await page.$eval('#keep-notice', (n) => n.hidden), true, 'said again');
    assert.equal((await state(page)).keys.split(',').length, 1);
    assert.deepEqual(problems, []);
  });

// Storage turns full while the tab's name says so, across its reloads.
const FILLS_UP = [() => {
  const setItem = Storage.prototype.setItem;
  Storage.prototype.setItem = function set(key, value) {
    if (window.name === 'full') throw new DOMException('full', 'QuotaExceededError');
    return setItem.call(this, key, value);
  };
}];

// WebDriver classic stubs storage only once the page runs, so a reload there finds it working.
const STUBS_BEFORE_SCRIPTS = process.env.VORKELM_BROWSER !== 'webkit';

test('a full storage keeps the last good save, says so until a save succeeds, and never rolls back '
  + 'without a word', TIMEOUT, async () => {
  const { page, problems } = await open(server.url,
    { prepare: STUBS_BEFORE_SCRIPTS ? FILLS_UP : null });
  if (!STUBS_BEFORE_SCRIPTS) await page.evaluate(...FILLS_UP);
  await withCredit(page);
  assert.equal(await page.evaluate(() => 'persisted' in document.documentElement.dataset), false);
  await page.keyboard.press('ArrowRight');
  await saveNow(page);
  const good = await kept(page);
  const goodKeys = (await state(page)).keys;
  assert.match(await page.evaluate(() => document.documentElement.dataset.persisted),
    /^(asked|true|false|unavailable)$/, 'persistent storage asked for once keys were pressed');

  await page.evaluate(() => { window.name = 'full'; });
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowLeft');
  await saveNow(page);
  await page.waitForSelector('#keep-notice .keep-storage');
  assert.match(await noticeText(page, 'storage'), /The game cannot be saved/);
  await page.screenshot({ path: path.join(settings.shots, 'storage-full.png') });
  assert.deepEqual(await kept(page), good, 'the last good save stays');

  // Still full, a reload brings the older game back only with the notice.
  if (STUBS_BEFORE_SCRIPTS) {
    await page.reload();
    await page.waitForFunction(() => window.vorkelm);
    await page.waitForSelector('#keep-notice .keep-storage');
    assert.equal((await state(page)).keys, goodKeys);
  }

  await page.keyboard.press('ArrowRight');
  await page.evaluate(() => { window.name = ''; });
  await page.waitForFunction(() => !document.querySelector('#keep-notice .keep-storage'),
    { polling: 'mutation', timeout: 8000 });
  const saved = await state(page);
  await page.reload();
  await page.waitForFunction(() => window.vorkelm);
  assert.ok((await state(page)).keys.startsWith(saved.keys), 'the next reload holds the presses');
  assert.deepEqual(problems, []);
});
