// What the screen and control checks share: waiting on a condition, a page of a test's own that
// shows the game, the game's state as the page plays it, and the native runner's for the same.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { after, before } from 'node:test';
import { launch, serve, settings } from './browser.mjs';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export async function until(what, test, ms = 10000) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(100))
    if (await test()) return;
  assert.fail(`timed out waiting for ${what}`);
}

// A page of its own for one test `t` on `browser`, closed after it; by default once the game
// shows. `prepare(page)` runs before it loads. Pages of one browser share its storage, so a page
// continues the game of the one before.
export async function openPage(t, browser, url, viewport, { wait = true, prepare = null } = {}) {
  const page = await browser.newPage();
  t.after(() => page.close().catch(() => {}));
  if (prepare) await prepare(page);
  await page.setViewport(viewport);
  await page.goto(url);
  if (wait) {
    await until('the first frame',
      () => page.evaluate(() => !!window.vorkelm && !document.getElementById('loading')));
  }
  return page;
}

// The site served and the browser started for a test file's checks, both ended after them;
// `open` is openPage on them.
export function siteInBrowser() {
  const held = {
    open: (t, viewport, options) => openPage(t, held.browser, held.server.url, viewport, options),
  };
  before(async () => {
    fs.mkdirSync(settings.shots, { recursive: true });
    held.server = await serve({ '/': settings.site });
    held.browser = await launch();
  });
  after(async () => {
    await held.browser?.close();
    held.server?.close();
  });
  return held;
}

// One evaluation, so that no tick comes between the three.
export function played(page) {
  return page.evaluate(
    () => ({ ticks: vorkelm.ticks(), keys: vorkelm.keys(), dump: vorkelm.dump() }));
}

export function presses(page) {
  return page.evaluate(() => vorkelm.keys().split(',').filter(Boolean).length);
}

export async function ticksPass(page, count) {
  const from = await page.evaluate(() => vorkelm.ticks());
  await until(`${count} ticks`, () => page.evaluate((n) => vorkelm.ticks() >= n, from + count));
}

// Three turns of a timer at the game's period, in which a running game would have ticked.
export function timerTurns(page) {
  return page.evaluate(() => new Promise((resolve) => {
    let turns = 0;
    const timer = setInterval(() => ++turns === 3 && (clearInterval(timer), resolve()), 200);
  }));
}

export function nativeDump({ ticks, keys }) {
  return String(execFileSync(settings.sim, ['--ticks', String(ticks), '--keys', keys, '--dump']));
}
