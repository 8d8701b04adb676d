// Updates arrive whole: the site is its listed files and no others, and a build swapped on the
// server while a page plays leaves that page on its own build's files until the player takes the
// new one, which then plays on with the kept game. Runs in the engine VORKELM_BROWSER names.
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launch, serve, settings } from './browser.mjs';
import { until } from './pages.mjs';

const engine = process.env.VORKELM_BROWSER || 'chromium';
const shot = (name) => path.join(settings.shots, `${name}-${engine}.png`);
// What the build leaves beside the site: the page's parts before stamping, and the file list.
const built = path.join(settings.site, '..', 'web');
const LIST = path.join(built, 'site-files.txt');
const listed = fs.readFileSync(LIST, 'utf8').split('\n').filter(Boolean);
const MARKER = '<meta name="test-build" content="B">';

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'vorkelm-update-'));
after(() => fs.rmSync(scratch, { recursive: true, force: true }));

// The site built again into a copy of the served site, from a copy of the build's parts, after
// `change(parts, site)`; gives the folder and site.cmake's exit status and errors.
function rebuild(name, change) {
  const parts = path.join(scratch, `${name}-parts`);
  const site = path.join(scratch, name);
  fs.cpSync(path.join(built, 'site-parts'), parts, { recursive: true });
  fs.cpSync(settings.site, site, { recursive: true });
  change(parts, site);
  const run = spawnSync('cmake', [`-DSITE=${site}`, `-DPARTS=${parts}`, `-DFILES=${LIST}`,
    '-DTEMPLATE=web/service-worker.js.in', '-P', 'web/site.cmake'], { encoding: 'utf8' });
  return { site, status: run.status, stderr: run.stderr };
}

const buildOf = (site) => /var BUILD = '([0-9a-f]{16})'/
  .exec(fs.readFileSync(path.join(site, 'service-worker.js'), 'utf8'))[1];

test('the site is its listed files: a stray is neither kept nor zipped, a missing one is named',
  { skip: engine !== 'chromium' && 'no browser: checked once, in the chromium run' }, () => {
    const withStray = rebuild('stray',
      (parts, site) => fs.writeFileSync(path.join(site, 'stray.js'), 'export {};'));
    assert.equal(withStray.status, 0, withStray.stderr);
    const worker = fs.readFileSync(path.join(withStray.site, 'service-worker.js'), 'utf8');
    assert.equal(buildOf(withStray.site), buildOf(settings.site), 'a stray changes no build');
    assert.doesNotMatch(worker, /stray/);
    for (const file of listed.filter((name) => name !== 'service-worker.js'))
      assert.match(worker, new RegExp(`\\['${file.replace('.', '\\.')}', '[0-9a-f]{64}'\\]`));
    const zip = path.join(scratch, 'site.zip');
    execFileSync('bash', ['web/package.sh', withStray.site, LIST, zip]);
    const zipped = String(execFileSync('unzip', ['-Z1', zip])).split('\n').filter(Boolean);
    assert.deepEqual(zipped.sort(), [...listed].sort());

    const missing = rebuild('missing', (parts, site) => {
      fs.rmSync(path.join(parts, 'vorkelm.css'));
      fs.rmSync(path.join(site, 'vorkelm.css'));
    });
    assert.notEqual(missing.status, 0);
    assert.match(missing.stderr, /The site's file vorkelm\.css is missing/);
  });

test('a build swapped on the server: the page keeps to its files, offers B, and plays on in B',
  async () => {
    const a = path.join(scratch, 'a');
    fs.cpSync(settings.site, a, { recursive: true });
    const b = rebuild('b', (parts) => {
      const index = path.join(parts, 'index.html');
      const page = fs.readFileSync(index, 'utf8');
      fs.writeFileSync(index, page.replace('<head>', `<head>\n${MARKER}`));
    });
    assert.equal(b.status, 0, b.stderr);
    const [buildA, buildB] = [buildOf(a), buildOf(b.site)];
    assert.notEqual(buildA, buildB);

    const roots = { '/': a };
    const asked = [];
    const server = await serve(roots, null, (urlPath, url) => void asked.push(url));
    const browser = await launch(engine);
    try {
      const page = await browser.newPage();
      await page.setViewport({ width: 900, height: 700 });
      await page.goto(server.url);
      await page.waitForFunction(() => window.vorkelm && vorkelm.ticks() >= 3
        && navigator.serviceWorker.controller, { timeout: 30000 });
      // Another deployment on this host keeps its cache whatever this one does.
      await page.evaluate(() => caches.open('vorkelm-/elsewhere/-0123456789abcdef'));
      await page.keyboard.press('ArrowLeft');

      roots['/'] = b.site;
      const swapped = asked.length;
      // What the page does when the player comes back to it: it looks for a new worker.
      await page.evaluate(() => document.dispatchEvent(new Event('visibilitychange')));
      await page.waitForSelector('#keep-notice .keep-update', { timeout: 30000 });
      await page.keyboard.press('ArrowRight');
      await page.keyboard.press('ArrowRight');
      const ownIndex = await page.evaluate(async (build) =>
        (await fetch(`index.html?v=${build}`)).text(), buildA);
      assert.ok(!ownIndex.includes(MARKER), "the running page's index.html is A's");
      assert.equal(await page.evaluate(() => !!document.querySelector('meta[name=test-build]')),
        false);
      const since = asked.slice(swapped);
      assert.deepEqual(since.filter((url) => url.includes(`v=${buildA}`)), [],
        'nothing of A asked of the server once it serves B');
      assert.ok(since.some((url) => url.includes(`v=${buildB}`)), "B's worker kept B");
      const waiting = await page.evaluate(async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        return !!registration.waiting;
      });
      assert.ok(waiting, 'B waits while a page of A runs');
      // A page opened now is B's, under A's worker: it has nothing newer to offer.
      const second = await browser.newPage();
      await second.setViewport({ width: 900, height: 700 });
      await second.goto(server.url);
      // It holds its game still, as the first page writes it; its worker has a second to offer
      // something wrongly.
      await second.waitForFunction(() => window.vorkelm
        && document.querySelector('#keep-notice .keep-writer'), { timeout: 30000 });
      await second.evaluate(() => navigator.serviceWorker.ready
        .then(() => new Promise((resolve) => setTimeout(resolve, 1000))));
      assert.deepEqual(await second.evaluate(() => ({
        b: !!document.querySelector('meta[name=test-build]'),
        offered: !!document.querySelector('.keep-update'),
        underA: !!navigator.serviceWorker.controller,
      })), { b: true, offered: false, underA: true });
      await second.close();

      assert.match(await page.$eval('#keep-notice .keep-update', (e) => e.textContent),
        /新しい版があります。A new version is ready\.更新 \/ Update/);
      await page.screenshot({ path: shot('update-900') });
      await page.setViewport({ width: 375, height: 667 });
      await until('the narrow window', () => page.evaluate(() => innerWidth === 375));
      await page.screenshot({ path: shot('update-375') });

      await until('the three presses', () => page.evaluate(() =>
        vorkelm.keys().split(',').filter(Boolean).length === 3));
      const before = await page.evaluate(() => ({ ticks: vorkelm.ticks(), keys: vorkelm.keys() }));
      await page.click('#keep-notice .keep-update button');
      const inB = () => page.evaluate(() => !!document.querySelector('meta[name=test-build]')
        && !!window.vorkelm && vorkelm.ticks() > 0).catch(() => false);
      await until("B's page playing", inB, 30000);
      const continued = await page.evaluate(() => ({ ticks: vorkelm.ticks(), keys: vorkelm.keys(),
        notice: !!document.querySelector('.keep-update') }));
      assert.ok(continued.keys.startsWith(before.keys), `${continued.keys} goes on ${before.keys}`);
      assert.ok(continued.ticks >= before.ticks);
      assert.equal(continued.notice, false, 'B offers no update of itself');
      const names = await page.evaluate(() => caches.keys());
      assert.deepEqual(names.sort(),
        [`vorkelm-/-${buildB}`, 'vorkelm-/elsewhere/-0123456789abcdef']);
    } finally {
      await browser.close();
      server.close();
    }
  });
