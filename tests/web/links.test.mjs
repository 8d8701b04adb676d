// Replay links that no player shared, in the engine VORKELM_BROWSER names: each is refused at once
// with its reason in both languages while the viewer's own game plays on, and a long replay's
// jump to its end shows how far it is and stops when asked.
//   node --test tests/web/links.test.mjs      (from the top folder; see settings in browser.mjs)
import assert from 'node:assert/strict';
import path from 'node:path';
import { test } from 'node:test';
import { settings } from './browser.mjs';
import { checksum } from './checksum.mjs';
import { openPage, siteInBrowser, ticksPass, until } from './pages.mjs';

const site = siteInBrowser();
const VIEWPORT = { width: 900, height: 700 };

// A replay code as the game writes one: a version byte, the rules (from version 2), the ticks and
// the presses as variable-length numbers, and the checksum of all that.
function codeOf({ version = 2, rules = 1, ticks, presses = [] }) {
  const bytes = [version];
  const varint = (value) => {
    for (; value >= 0x80; value = Math.floor(value / 0x80))
      bytes.push(value % 0x80 | 0x80);
    bytes.push(value);
  };
  if (version >= 2)
    varint(rules);
  varint(ticks);
  varint(presses.length);
  let previous = 1;
  for (const { tick, right } of presses) {
    varint((tick - previous) * 2 + (right ? 1 : 0));
    previous = tick;
  }
  const hash = checksum(bytes);
  bytes.push(hash & 0xff, hash >>> 8 & 0xff, hash >>> 16 & 0xff, hash >>> 24);
  return Buffer.from(bytes).toString('base64url');
}

const link = (code) => `${site.server.url}#replay=${code}`;

// The time each refusal took is shown, not judged: a hang fails at the wait's bound.
test('crafted links are refused at once with their reason, one language a sentence',
  { timeout: 120000 }, async (t) => {
    const crafted = [
      ['2^31-1 ticks', 'Af____8HAAd8HLY', 'no game can reach'],
      // Firefox opens no address over 1 MiB; one character over the code's limit fits.
      ['a megabyte', 'A'.repeat(1000001), 'too long'],
      ['more ticks than the page plays back', codeOf({ ticks: 20000000 }), 'too long'],
      ['a newer format', codeOf({ version: 3, ticks: 10 }), 'newer version'],
      ['newer rules', codeOf({ rules: 2, ticks: 10 }), 'newer version'],
      ['rules no longer played', codeOf({ rules: 0, ticks: 10 }), 'under rules'],
      ['garbage', 'garbage', 'not a replay link'],
      ['a press past the end', codeOf({ ticks: 5, presses: [{ tick: 9, right: true }] }),
        'no game can reach'],
    ];
    for (const [what, code, reason] of crafted) {
      const started = Date.now();
      const page = await openPage(t, site.browser, link(code), VIEWPORT, { wait: false });
      await page.waitForSelector('#keep-notice .keep-bad-link', { timeout: 10000 });
      t.diagnostic(`${what}: refused after ${Date.now() - started} ms`);
      const [japanese, english] = await page.$$eval('#keep-notice .keep-bad-link p',
        (texts) => texts.map((p) => p.textContent));
      assert.ok(english.includes(reason), `${what}: "${english}"`);
      assert.doesNotMatch(japanese, /[A-Za-z]/, `${what}: "${japanese}"`);
      // The viewer's own game plays on, not a replay.
      await ticksPass(page, 2);
      assert.equal(await page.evaluate(() => document.getElementById('keep-jump')), null, what);
      await page.close();
    }
  });

test('a long replay\'s jump shows how far it is, stops when asked and plays on from there',
  { timeout: 120000 }, async (t) => {
    const ticks = 2000000;
    const page = await openPage(t, site.browser, link(codeOf({ ticks, presses: [
      { tick: 30, right: true }, { tick: 31, right: false }] })), VIEWPORT);
    await page.click('#keep-jump');
    const status = () => page.$eval('.keep-status', (e) => e.textContent);
    await until('the jump\'s progress', async () => /\(\d+%\)$/.test(await status()));
    assert.equal(await page.$eval('#keep-jump', (e) => e.textContent), '止める / Stop');
    await page.screenshot({ path: path.join(settings.shots, 'replay-jump.png') });
    // The page answers while the jump runs, and the jump's own button stops it.
    await page.click('#keep-jump');
    await until('the jump stopped', () => page.evaluate(() =>
      document.getElementById('keep-jump').textContent === '最後へ / To the end'));
    const stopped = await page.evaluate(() => vorkelm.ticks());
    assert.ok(stopped > 31 && stopped < ticks, `stopped at ${stopped}`);
    assert.doesNotMatch(await status(), /%/);
    // From there the replay plays at its own speed, a tick at a time.
    await ticksPass(page, 2);
    assert.ok(await page.evaluate(() => vorkelm.ticks()) < stopped + 20);
    assert.equal(await page.evaluate(() => vorkelm.keys()), '30:R,31:L');
  });
