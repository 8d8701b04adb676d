// The window's controls as players use them: the menus by keyboard as on Windows (F10, Alt, the
// underlined letters, the accelerators, also where Firefox hides Alt), × and the end screen's
// Continue, touch drops, and the hint and notices around the game.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { launch } from './browser.mjs';
import { boxOnPage } from './page-box.mjs';
import { nativeDump, openPage, played, presses, siteInBrowser, ticksPass, timerTurns, until }
  from './pages.mjs';

const engine = process.env.VORKELM_BROWSER || 'chromium';
const TOUCH = { skip: engine !== 'chromium' && 'touch emulation: only Chromium has it here' };
const desktop = { width: 900, height: 700 };
const phone = { width: 375, height: 667, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const site = siteInBrowser();
const { open } = site;
const focused = (page) => page.evaluate(() => {
  const e = document.activeElement;
  return e.id || e.dataset.command || e.textContent;
});
const openMenus = (page) => page.$$eval('.menu-items', (m) => m.filter((e) => !e.hidden).length);
const aboutOpen = (page) => page.$eval('#about', (e) => !e.hidden);
const ended = (page) => page.$eval('#message', (e) => !e.hidden && /has ended/.test(e.innerText));

async function withKeys(page, held, key) {
  for (const each of held) await page.keyboard.down(each);
  await page.keyboard.press(key);
  for (const each of [...held].reverse()) await page.keyboard.up(each);
}

// Each step: the modifiers held, the key, and what has the focus after it (a title's text, a
// command's id, an element's id). None of them drops a coin.
const MENU_STEPS = [
  [[], 'Tab', 'client'],
  // F10 and Alt alone go to the menu bar and back; on the bar the arrows go from title to title.
  [[], 'F10', 'ﾌｧｲﾙ(F)'], [[], 'ArrowRight', 'ﾍﾙﾌﾟ(H)'], [[], 'Escape', 'client'],
  [[], 'Alt', 'ﾌｧｲﾙ(F)'], [[], 'Alt', 'client'],
  // Alt and a title's letter open its menu at its item; on the bar the letter alone does.
  [['Alt'], 'KeyF', '105'], [[], 'ArrowRight', '104'], [[], 'Escape', 'ﾍﾙﾌﾟ(H)'],
  [[], 'KeyF', '105'], [[], 'Escape', 'ﾌｧｲﾙ(F)'], [[], 'Escape', 'client'],
  // An item's letter chooses it: A the About box (its OK, command 1), X the end (its Continue).
  [['Alt'], 'KeyH', '104'], [[], 'KeyA', '1'], [[], 'Enter', 'client'],
  [['Alt', 'Shift'], 'Slash', '1'], [[], 'Escape', 'client'],
  [['Alt'], 'KeyF', '105'], [[], 'KeyX', 'continue'], [[], 'Enter', 'client'],
];

test('menus by keyboard: F10 and Alt alone, Alt+F and Alt+H, the items\' letters, Alt+?, the end '
  + 'screen\'s Continue, and no coin dropped', async (t) => {
  const page = await open(t, desktop);
  const before = await played(page);
  for (const [held, key, expected] of MENU_STEPS) {
    await withKeys(page, held, key);
    assert.equal(await focused(page), expected, `after ${[...held, key].join('+')}`);
  }
  await ticksPass(page, 2);
  assert.equal((await played(page)).keys, before.keys);
});

test('keys: an open menu has the arrows and Esc, the About box keeps the focus, Play again '
  + 'starts afresh', async (t) => {
  const page = await open(t, desktop);
  const pressed = await presses(page);
  await page.click('.menu-title');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowRight');
  assert.equal(await focused(page), '104');
  await page.keyboard.press('Escape');
  assert.equal(await openMenus(page), 0);
  assert.equal(await presses(page), pressed, 'the arrows dropped nothing');
  await withKeys(page, ['Alt'], 'Slash');
  for (let i = 0; i < 3; ++i) await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.closest('#about') !== null), true);
  await page.click('.menu-title');
  assert.equal(await openMenus(page), 0, 'no menu opens behind the About box');
  await page.keyboard.press('Enter');
  await page.click('.menu-title');
  await page.click('.menu-items [data-command="105"]');
  // Play again asks first when the ended game had presses; its question is answered yes.
  page.on('dialog', (dialog) => dialog.accept());
  await page.click('#play-again');
  assert.equal(await page.$eval('#message', (e) => e.hidden), true);
  await until('a pay-out', () => page.evaluate(() => /^credit [1-9]/m.test(vorkelm.dump())));
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('ArrowLeft');
  const last = Number(/(\d+):L$/.exec(await page.evaluate(() => vorkelm.keys()))[1]);
  await until('the last press played', () => page.evaluate((n) => vorkelm.ticks() >= n, last));
  const now = await played(page);
  assert.equal(now.dump, nativeDump(now), 'the new game plays as a fresh one');
});

test('with resistFingerprinting, which hides Alt from the page, Alt+/, Alt+? and Alt+F still work',
  { skip: engine !== 'firefox' && 'a Firefox preference' }, async (t) => {
    const hiding = await launch('firefox', { prefs: { 'privacy.resistFingerprinting': true } });
    t.after(() => hiding.close());
    const page = await openPage(t, hiding, site.server.url, desktop);
    await page.focus('#client');
    for (const held of [['Alt'], ['Alt', 'Shift']]) {
      await withKeys(page, held, 'Slash');
      await until(`${held.join('+')}+/ opening the About box`, () => aboutOpen(page));
      await page.keyboard.press('Escape');
      assert.equal(await aboutOpen(page), false);
    }
    await withKeys(page, ['Alt'], 'KeyF');
    await until('Alt+F opening the File menu', async () => (await focused(page)) === '105');
    await page.keyboard.press('Escape');
    await page.keyboard.press('Escape');
    // A "/" alone types, so it opens nothing.
    await page.keyboard.press('Slash');
    await timerTurns(page);
    assert.equal(await aboutOpen(page), false);
  });

test('the desktop × ends the game at once, and the end screen says that it is kept', async (t) => {
  const page = await open(t, desktop);
  const asked = [];
  page.on('dialog', (dialog) => {
    asked.push(dialog.message());
    dialog.dismiss();
  });
  await page.click('#close');
  assert.equal(await ended(page), true);
  assert.deepEqual(asked, [], 'a mouse on × asks nothing');
  const text = await page.$eval('#message', (e) => e.innerText);
  assert.match(text, /残っています[\s\S]*kept just as it stood/);
  assert.match(text, /続ける \/ Continue[\s\S]*もう一度遊ぶ \/ Play again/);
  await page.click('#continue');
  assert.equal(await ended(page), false);
});

test('× touched asks first in both languages; ended, Continue goes on with the very same game',
  TOUCH, async (t) => {
    const page = await open(t, phone);
    await until('a pay-out', () => page.evaluate(() => /^credit [1-9]/m.test(vorkelm.dump())));
    await page.tap('#drop-right');
    await page.tap('#drop-left');
    let answer = false;
    const asked = [];
    page.on('dialog', (dialog) => {
      asked.push(dialog.message());
      return answer ? dialog.accept() : dialog.dismiss();
    });
    await page.tap('#close');
    assert.equal(asked.length, 1);
    assert.match(asked[0], /ゲームを終了しますか？[\s\S]*End the game\?/);
    assert.equal(await ended(page), false, 'Cancel keeps the game running');
    answer = true;
    await page.tap('#close');
    assert.equal(await ended(page), true);
    const stood = await played(page);
    await timerTurns(page);
    assert.deepEqual(await played(page), stood, 'ended, nothing moves');
    await page.tap('#continue');
    await ticksPass(page, 3);
    const now = await played(page);
    assert.equal(now.keys, stood.keys, 'the same presses');
    assert.ok(now.ticks > stood.ticks);
    assert.equal(now.dump, nativeDump(now), 'the game plays on as the native runner does');
  });

test('a touch drop: a tap drops one coin, held it repeats at most 5 a second and shows it, and '
  + 'lifting or moving off stops it at once', TOUCH, async (t) => {
  const page = await open(t, phone);
  const repeating = () => page.$eval('#drop-right', (e) => e.classList.contains('repeating'));
  let count = await presses(page);
  await page.tap('#drop-right');
  await ticksPass(page, 3);
  assert.equal(await presses(page), count + 1, 'a tap drops one');
  const box = await page.evaluate(`(${boxOnPage})(document.getElementById('drop-right'))`);
  const [x, y] = [box.left + box.width / 2, box.top + box.height / 2];
  for (const end of ['lift', 'move off']) {
    count = await presses(page);
    const start = Date.now();
    await page.touchscreen.touchStart(x, y);
    await until('the button repeating', repeating);
    await until('a repeat', async () => (await presses(page)) >= count + 2);
    // Held for 2 s: the first coin, then after half a second at most 5 a second.
    await new Promise((resolve) => setTimeout(resolve, Math.max(0, 2000 - (Date.now() - start))));
    const held = await presses(page) - count;
    t.diagnostic(`${end}: ${held} coins in 2 s`);
    assert.ok(held <= 11, `${held} coins in 2 s`);
    if (end === 'lift') {
      await page.touchscreen.touchEnd();
    } else {
      await page.touchscreen.touchMove(x, box.top - 100);
    }
    const stopped = await presses(page);
    await ticksPass(page, 3);
    assert.equal(await presses(page), stopped, `${end}: no more coins`);
    assert.equal(await repeating(), false);
    if (end === 'move off') await page.touchscreen.touchEnd();
  }
});

test('a replay\'s hint says that it plays; the link\'s notice leaves the credit uncovered',
  async (t) => {
    const page = await open(t, desktop);
    await page.click('#keep-share');
    await until('the link', () => page.evaluate(() => !!document.getElementById('keep-link')));
    const { notice, client, scale } = await page.evaluate(`({
      notice: (${boxOnPage})(document.getElementById('keep-notice')),
      client: (${boxOnPage})(document.getElementById('client')),
      scale: document.getElementById('client').getBoundingClientRect().width / 392 })`);
    // The credit is drawn from (5, 50), 16 pixels high: "999999枚" ends before x 70.
    assert.ok(notice.left >= client.left + 70 * scale || notice.top >= client.top + 70 * scale,
      `the notice at ${notice.left},${notice.top} covers the credit`);
    const hints = (on) => on.$eval('#hint', (hint) => [...hint.children]
      .filter((part) => getComputedStyle(part).display !== 'none').map((part) => part.className));
    assert.deepEqual(await hints(page), ['key-hint']);
    const link = await page.$eval('#keep-link', (e) => e.value);
    const viewer = await openPage(t, site.browser, link, desktop);
    assert.deepEqual(await hints(viewer), ['replay-hint']);
  });
