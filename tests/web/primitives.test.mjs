// The web canvas draws the rectangles, ellipse and grid of tests/canvas pixel for pixel as GDI
// does (the Windows tests hold GDI to the same picture).
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, test } from 'node:test';
import { serve, launch, settings } from './browser.mjs';

// The test page is built beside the site, in the browser build's own folder.
const pageFolder = process.env.VORKELM_PRIMITIVES || 'build/web/tests/canvas';

let server;
let browser;

after(async () => {
  await browser?.close();
  server?.close();
});

test('the web canvas draws the primitives\' picture as GDI does', { timeout: 60000 }, async () => {
  server = await serve({ '/': pageFolder });
  browser = await launch();
  const page = await browser.newPage();
  await page.goto(`${server.url}primitive_picture.html`);
  const picture = await (await page.waitForFunction(() => window.primitivePicture)).jsonValue();
  await page.screenshot({ path: path.join(settings.shots, 'primitives.png') });
  assert.equal(picture.drawn, picture.expected);
});
