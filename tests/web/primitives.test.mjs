// The browser's canvas draws the picture of tests/canvas pixel for pixel as GDI does.
import assert from 'node:assert/strict';
import { after, test } from 'node:test';
import { launch } from './browser.mjs';

const script = process.env.VORKELM_PRIMITIVES || 'build/web/tests/canvas/vorkelm-primitive-picture.js';
let browser;
after(async () => browser?.close());

test('the web canvas draws the rectangles, ellipse and grid as GDI does', { timeout: 60000 }, async () => {
  browser = await launch();
  const page = await browser.newPage();
  await page.addScriptTag({ path: script });
  await page.waitForFunction(() => window.drawnPicture);
  assert.equal(await page.evaluate(() => drawnPicture), await page.evaluate(() => expectedPicture));
});
