// The page's WebGL2 presenter (SwiftShader's here, asked for by name): its picture is the
// desktop's, plain and paused, and a lost GPU context leaves the game on the 2D canvas until
// the context comes back.
import {execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {commonest, launch, openGame, serve, watchPicture} from './browser.mjs';

const root = new URL('../../', import.meta.url).pathname;
const kPage = 100;  // five seconds in: the aircraft, clouds and the status bar

// Keeps the last few pages' palette indices and palette as shown; the function it resolves
// to gives page `number`'s as one buffer (the desktop picture program's input).
async function keepPages(page) {
  await page.evaluate(() => {
    window.keptPages = new Map();
    skyring.onPage = (shown, rgba, indices, palette) => {
      const bytes = new Uint8Array(indices.length + palette.length);
      bytes.set(indices);
      bytes.set(palette, indices.length);
      window.keptPages.set(shown, bytes);
      window.keptPages.delete(shown - 8);
    };
  });
  return async (number) => {
    const text = await page.evaluate((number) => {
      const bytes = window.keptPages.get(number);
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return btoa(text);
    }, number);
    return Buffer.from(text, 'base64');
  };
}

// The desktop presenter's picture of a page (indices and palette) on a screen of width x height.
function desktopPicture(dir, pageBytes, width, height) {
  const input = join(dir, 'page'), output = join(dir, 'picture');
  writeFileSync(input, pageBytes);
  execFileSync(join(root, 'build/tests/web/skyring-desktop-picture'), [`${width}x${height}`, input, output]);
  return readFileSync(output);
}

// Resolves once the game has shown no new page for a few frames' time (it is paused).
async function untilStill(page) {
  for (let last = -1; ;) {
    const shown = await page.evaluate(() => skyring.pagesShown);
    if (shown === last) return;
    last = shown;
    await new Promise((resolve) => setTimeout(resolve, 300));
  }
}

// Where two RGBA pictures of one size differ, and by how much at most in a channel.
function difference(a, b) {
  let pixels = 0, most = 0;
  for (let i = 0; i < a.length; i += 4) {
    const d = Math.max(Math.abs(a[i] - b[i]), Math.abs(a[i + 1] - b[i + 1]), Math.abs(a[i + 2] - b[i + 2]));
    if (d > 0) ++pixels;
    most = Math.max(most, d);
  }
  return {pixels, most};
}

for (const [width, height] of [[1280, 960], [1440, 1080]]) {
  test(`the WebGL2 canvas shows the desktop's picture at ${width}x${height}, and its pause`, async () => {
    const dir = mkdtempSync(join(tmpdir(), 'skyring-web-picture-'));
    const site = await serve(`${root}build-web`);
    const {browser, close} = await launch();
    try {
      const {page, said} = await openGame(browser, site.url, width, height, '?presenter=webgl2');
      const pageOf = await keepPages(page), drawn = await watchPicture(page, kPage);
      await page.keyboard.press('Space');
      const picture = await drawn();
      assert.equal(await page.evaluate(() => skyring.presenter), 'webgl2');
      assert.deepEqual([picture.width, picture.height], [width, height], 'the canvas is not the screen\'s size');
      // The shader does the desktop's arithmetic: not a step apart anywhere, edges included.
      const shownPage = await pageOf(picture.number);
      assert.deepEqual(difference(picture.rgba, desktopPicture(dir, shownPage, width, height)), {pixels: 0, most: 0});

      // Paused: the last page at half its brightness, under two white bars in the middle, each
      // a 32nd of the picture wide and a sixth high, a bar's width apart. (A resize shows it again.)
      await page.keyboard.press('KeyP');
      await untilStill(page);
      const paused = await watchPicture(page, 0);
      await page.evaluate(() => window.dispatchEvent(new Event('resize')));
      const dimmed = await paused();
      // The page the pause holds (the game's one palette is taken from before the pause: a page
      // flipped as the pause came is shown in it).
      const pausedPage = Buffer.concat([(await pageOf(dimmed.number)).subarray(0, 640 * 480),
                                        shownPage.subarray(640 * 480).map((c, i) => (i % 4 === 3 ? c : c >> 1))]);
      const expected = desktopPicture(dir, pausedPage, width, height);
      const barW = Math.floor(width / 32), barH = Math.floor(height / 6);
      const barX = Math.floor(width / 2) - barW - Math.floor(barW / 2), barY = Math.floor((height - barH) / 2);
      for (let y = barY; y < barY + barH; ++y) {
        for (const x0 of [barX, barX + 2 * barW]) expected.fill(255, 4 * (y * width + x0), 4 * (y * width + x0 + barW));
      }
      assert.deepEqual(difference(dimmed.rgba, expected), {pixels: 0, most: 0});
      // GPU stalls that Chromium notes on compositing SwiftShader's pictures in software are not the page's.
      assert.deepEqual(said.filter((line) => !/^warn: .*GPU stall due to ReadPixels/.test(line)), []);
    } finally {
      await close();
      site.stop();
      rmSync(dir, {recursive: true, force: true});
    }
  });
}

test('a lost WebGL2 context leaves the game on the 2D canvas until it comes back', async () => {
  const site = await serve(`${root}build-web`);
  const {browser, close} = await launch();
  try {
    const {page, said} = await openGame(browser, site.url, 1024, 768, '?presenter=webgl2');
    await page.keyboard.press('Space');
    const sky = commonest((await (await watchPicture(page, 20))()).rgba);
    const presenter = () => page.evaluate(() => skyring.presenter);
    assert.equal(await presenter(), 'webgl2');
    // A lost context has no extensions left: the one that restores it is kept from before.
    const context = (call) => page.evaluate((call) => {
      window.loser = window.loser || skyring.canvas.getContext('webgl2').getExtension('WEBGL_lose_context');
      window.loser[call]();
    }, call);

    // Lost while paused: the paused picture comes back on the 2D canvas at once.
    const paused = await watchPicture(page, 0);
    await page.keyboard.press('KeyP');
    await paused();
    const shownFlat = await watchPicture(page, 0);
    await context('loseContext');
    const dimmed = commonest((await shownFlat()).rgba);
    assert.equal(await presenter(), '2d');
    assert.deepEqual(dimmed, sky.map((c) => c >> 1), 'the 2D canvas does not show the paused page');
    await page.keyboard.press('KeyP');
    const going = await page.evaluate(() => skyring.pagesShown);
    assert.deepEqual(commonest((await (await watchPicture(page, going + 5))()).rgba), sky,
                     'the game stopped on the 2D canvas');

    await context('restoreContext');
    await page.waitForFunction(() => skyring.presenter === 'webgl2', {polling: 20});
    const back = await page.evaluate(() => skyring.pagesShown);
    const picture = await (await watchPicture(page, back + 5))();
    assert.deepEqual(commonest(picture.rgba), sky, 'the restored context shows something else');
    assert.equal(await page.evaluate(() => skyring.shownCanvas === skyring.canvas), true);
    assert.deepEqual(said.filter((line) => !/^warn: .*(GPU stall due to ReadPixels|WebGL: CONTEXT_LOST)/.test(line)), []);
  } finally {
    await close();
    site.stop();
  }
});
