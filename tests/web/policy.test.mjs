// The site served with its Content-Security-Policy as a header, in the engine VORKELM_BROWSER
// names: playing, the About box, sharing, continuing, a replay and Play again, and a failure's
// message, all without a single violation.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { TYPES, launch, serve, settings } from './browser.mjs';

const TIMEOUT = { timeout: 90000 };
const index = fs.readFileSync(path.join(settings.site, 'index.html'), 'utf8');
// The policy index.html states, sent as the header a host would send.
const policy = /<meta http-equiv="Content-Security-Policy" content="([^"]+)">/.exec(index)[1];

// Counts the violations into a global, from before anything else of the page runs: a script of
// the site's own origin, which the policy allows, put first into the head. Unlike a script run
// on a new document, every engine's driver can do it.
const WATCHER = `window.policyViolations = [];
document.addEventListener('securitypolicyviolation', (event) =>
  policyViolations.push(event.violatedDirective + ' ' + event.blockedURI));`;
const watched = index.replace('<head>', '<head>\n<script src="policy-watch.js"></script>');

let broken = null;
let server;
let browser;
const contexts = [];

before(async () => {
  const answer = (urlPath) => {
    if (urlPath === '/' || urlPath === '/index.html')
      return { headers: { 'Content-Type': TYPES['.html'] }, body: watched };
    if (urlPath === '/policy-watch.js')
      return { headers: { 'Content-Type': TYPES['.js'] }, body: WATCHER };
    return broken && urlPath === `/${broken.file}` ? broken : null;
  };
  server = await serve({ '/': settings.site }, null, answer, { 'Content-Security-Policy': policy });
  browser = await launch();
});
afterEach(async () => {
  broken = null;
  await Promise.all(contexts.splice(0).map((context) => context.close().catch(() => {})));
});
after(async () => {
  await browser?.close();
  server?.close();
});

async function open(url) {
  const context = await browser.createBrowserContext();
  contexts.push(context);
  const page = await context.newPage();
  await page.setViewport({ width: 900, height: 700 });
  await page.goto(url);
  return page;
}

const violations = (page) => page.evaluate(() => window.policyViolations);
const state = (page) => page.evaluate(() => ({ ticks: vorkelm.ticks(), keys: vorkelm.keys() }));
const reach = (page, ticks) =>
  page.waitForFunction((n) => window.vorkelm && vorkelm.ticks() >= n, {}, ticks);

test('the policy allows no inline code and no eval', () => {
  assert.doesNotMatch(policy, /'unsafe-inline'|'unsafe-eval'|'unsafe-hashes'/);
  assert.match(policy, /(^|; )script-src 'self' 'wasm-unsafe-eval'(;|$)/);
  assert.match(policy, /(^|; )default-src 'self'(;|$)/);
});

test('under the policy the game plays, shares, continues and replays, with no violation',
  TIMEOUT, async () => {
    const page = await open(server.url);
    await page.waitForFunction(() => window.vorkelm && /^credit (9|\d\d)/m.test(vorkelm.dump()));
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowLeft');
    await reach(page, (await state(page)).ticks + 2);
    await page.keyboard.down('Alt');
    await page.keyboard.press('Slash');
    await page.keyboard.up('Alt');
    assert.equal(await page.$eval('#about', (e) => e.hidden), false, 'the About box opens');
    await page.keyboard.press('Escape');
    await page.click('#keep-share');
    const link = await page.$eval('#keep-link', (field) => field.value);
    const played = await state(page);
    await page.reload();
    await page.waitForFunction(() => window.vorkelm);
    const continued = await state(page);
    assert.ok(continued.keys.startsWith(played.keys), `continued with ${continued.keys}`);
    assert.deepEqual(await violations(page), []);

    const viewer = await open(link);
    await viewer.waitForSelector('#keep-jump');
    await viewer.click('#keep-jump');
    await viewer.waitForSelector('#keep-play-from-here:not([hidden])');
    await viewer.click('#keep-play-from-here');
    await viewer.click('.menu-title');
    await viewer.click('.menu-items [data-command="105"]');
    viewer.once('dialog', (dialog) => dialog.accept());
    await viewer.click('#play-again');
    await reach(viewer, 1);
    assert.equal(await viewer.evaluate(() => vorkelm.keys()), '', 'a fresh game after Play again');
    assert.deepEqual(await violations(viewer), []);

    // The watcher hears what the policy blocks.
    await viewer.evaluate(() => document.head.append(
      Object.assign(document.createElement('script'), { textContent: 'window.ran = true' })));
    await viewer.waitForFunction(() => window.policyViolations.length > 0);
    assert.equal(await viewer.evaluate(() => 'ran' in window), false);
  });

test('under the policy a damaged module script is said, with no violation', TIMEOUT, async () => {
  broken = { file: 'vorkelm.js', headers: { 'Content-Type': TYPES['.js'] }, body: 'export default' };
  const page = await open(server.url);
  await page.waitForSelector('#loading.failed');
  assert.match(await page.$eval('#loading', (e) => e.innerText), /vorkelm\.js is damaged/);
  assert.deepEqual(await violations(page), []);
});
