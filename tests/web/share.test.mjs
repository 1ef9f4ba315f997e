// A jump passed on in the browser: every game is recorded; after it, the card offers a link that
// holds it, its recording as a file and a picture, and whoever opens the link sees that very jump,
// page for page, as the desktop's skyring-replay traces the file. Links and files that cannot be
// watched are one message, and the page stays ready for a game.
import {mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {KnownDevices} from 'puppeteer-core';
import {centreOf, complaints, downloaded, keepChecksums, launch, letShare, notice, openGame, openGameOn, serve, traceBoth,
        untilEnded, untilPage, untilReady} from './browser.mjs';

const root = new URL('../../', import.meta.url).pathname;
const kLastPage = 300;  // 15 seconds

const cards = (page) => page.evaluate(() => ({
  start: !document.getElementById('start').hidden, ended: !document.getElementById('ended').hidden,
  watch: document.body.classList.contains('watch'),
  said: [...document.querySelectorAll('.card:not([hidden]) p')].filter((p) => p.offsetParent !== null)
    .map((p) => p.innerText.trim()).filter((text) => text !== '')}));
const until = (page, predicate) => page.waitForFunction(predicate, {timeout: 60000});
// The window loses the focus and gets it back, as when the player looks at another window.
const lookAway = (page) => page.evaluate(() => {
  window.dispatchEvent(new FocusEvent('blur'));
  window.dispatchEvent(new FocusEvent('focus'));
});

// Drops a file named `name` holding `bytes` on the page, as a player drags one from a folder.
const drop = (page, name, bytes) => page.evaluate((name, bytes) => {
  const data = new DataTransfer();
  data.items.add(new File([Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0))], name));
  window.dispatchEvent(new DragEvent('drop', {dataTransfer: data, cancelable: true}));
}, name, bytes.toString('base64'));

test('a jump passed on in the browser', async (t) => {
  const site = await serve(`${root}build-web`);
  const {browser, close} = await launch();
  const folder = mkdtempSync(join(tmpdir(), 'skyring-share-'));
  try {
    const {page, said} = await openGame(browser, site.url, 1024, 768);
    await letShare(browser, page, site.url, folder);
    let live, link, recording;

    await t.test('a game with held keys, a pause, a picture and a look away is recorded and passed on', async () => {
      await keepChecksums(page);
      await page.keyboard.press('Space');
      await untilPage(page, 84);
      await page.keyboard.down('ArrowLeft');
      await untilPage(page, 100);
      await page.keyboard.down('ArrowDown');
      await untilPage(page, 110);
      await page.keyboard.up('ArrowLeft');
      await untilPage(page, 140);
      await page.keyboard.up('ArrowDown');
      await page.keyboard.press('KeyP');
      await until(page, () => skyring.paused);
      // F12 saves the page on the screen, in the game's own colours.
      const shown = await page.evaluate(() => [skyring.pagesShown, Array.from(window.lastPage)]);
      await page.keyboard.press('F12');
      const picture = readFileSync(await downloaded(folder, '.png'));
      assert.match(picture.subarray(0, 8).toString('latin1'), /^\x89PNG/);
      const pixels = await page.evaluate(async (png) => {
        const image = await createImageBitmap(new Blob([Uint8Array.from(atob(png), (c) => c.charCodeAt(0))]));
        const canvas = new OffscreenCanvas(image.width, image.height), context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        return [image.width, image.height, Array.from(context.getImageData(0, 0, image.width, image.height).data)];
      }, picture.toString('base64'));
      assert.deepEqual(pixels.slice(0, 2), [640, 480]);
      assert.ok(pixels[2].every((value, i) => value === shown[1][i]), 'the picture is not the page on the screen');
      assert.equal(await page.evaluate(() => skyring.pagesShown), shown[0], 'the game ran while paused');
      await page.keyboard.press('KeyP');
      await untilPage(page, 170);
      await lookAway(page);
      await untilPage(page, kLastPage);
      await page.keyboard.press('Escape');
      await untilEnded(page);
      live = await page.evaluate(() => window.checksums);

      await page.click('#share-link-button');
      await until(page, () => /copied/.test(document.getElementById('notice').textContent));
      link = await page.evaluate(() => navigator.clipboard.readText());
      assert.match(link, new RegExp(`^${site.url}#jump=1\\.[A-Za-z0-9_-]+$`));
      await page.click('#share-recording');
      recording = await downloaded(folder, '.txt');
      const text = readFileSync(recording, 'utf8');
      assert.match(text, /^# Skyring \d+\.\d+, recorded \d{4}-\d\d-\d\d \d\d:\d\d:\d\d [+-]\d{4}\n# Watch it with: /);
      for (const event of ['down left', 'down down', 'up left', 'up down', 'deactivate', 'activate', 'down escape']) {
        assert.ok(text.includes(` ${event}\n`), `no ${event} in\n${text}`);
      }
    });

    await t.test('the desktop\'s skyring-replay traces the file as the web build does, and the pages played', () => {
      const [desktop, web] = traceBoth(recording, 100000, join(folder, 'desktop.jsonl'), join(folder, 'web.jsonl'))
        .map((bytes) => bytes.toString());
      assert.equal(desktop, web);
      // The game shows a page at the end of each frame, which the trace holds, and a black one
      // inside a frame after start-up and when the focus comes back, which it does not.
      const black = 2196553878, screens = desktop.trim().split('\n').map((line) => JSON.parse(line).screen);
      assert.equal(live.filter((page) => page === black).length, 2);
      assert.deepEqual(screens, live.filter((page) => page !== black), 'the replay\'s pages are not the ones the game showed');
    });

    await t.test('the link plays the jump page for page, whatever the viewer does, then offers a game', async () => {
      const watch = await openGame(browser, link, 1024, 768);
      assert.deepEqual((await cards(watch.page)).said.slice(0, 1), ['A jump to watch: click or press a key to see it']);
      await keepChecksums(watch.page);
      await watch.page.keyboard.press('Space');
      await untilPage(watch.page, 90);
      await watch.page.keyboard.down('ArrowRight');
      await untilPage(watch.page, 120);
      await watch.page.keyboard.up('ArrowRight');
      await lookAway(watch.page);
      await watch.page.keyboard.press('KeyP');
      await until(watch.page, () => skyring.paused);
      await new Promise((resolve) => setTimeout(resolve, 300));
      await watch.page.keyboard.press('KeyP');
      await untilEnded(watch.page);
      assert.deepEqual(await watch.page.evaluate(() => window.checksums), live);
      const after = await cards(watch.page);
      assert.deepEqual(after.said, ['That was the jump.', 'Press a key or click to play.']);
      // The card's game is the viewer's own.
      await new Promise((resolve) => setTimeout(resolve, 600));
      await keepChecksums(watch.page);
      await watch.page.keyboard.press('Space');
      await untilPage(watch.page, 5);
      assert.equal(await watch.page.evaluate(() => location.hash), '', 'a reload would watch the jump again');
      await watch.page.keyboard.press('Escape');
      await untilEnded(watch.page);
      assert.deepEqual((await cards(watch.page)).said[0], 'Thanks for jumping.');
      assert.deepEqual(complaints(watch.said), []);
      await watch.page.close();
    });

    await t.test('a game played by touch is passed on from the menu in play and watched the same way', async () => {
      const phone = KnownDevices['Pixel 5 landscape'];
      const player = await openGameOn(browser, site.url, phone);
      const tap = async (on, selector) => {
        const at = await centreOf(on, selector);
        await on.touchscreen.tap(at.x, at.y);
      };
      await keepChecksums(player.page);
      await player.page.touchscreen.tap(20, 20);
      await untilPage(player.page, 84);
      const left = await centreOf(player.page, '[data-action=turn-left]');
      const dive = await centreOf(player.page, '[data-action=dive]');
      const thumb = await player.page.touchscreen.touchStart(left.x, left.y);
      await untilPage(player.page, 88);
      const finger = await player.page.touchscreen.touchStart(dive.x, dive.y);
      await untilPage(player.page, 96);
      await thumb.end();
      // The dive, let go of at page 200, ends the jump in a crash before page 280.
      await untilPage(player.page, 200);
      await finger.end();
      await untilPage(player.page, 280);
      await tap(player.page, '#touch-share');
      await until(player.page, () => skyring.paused);
      await tap(player.page, '#share-link-button');
      await until(player.page, () => /copied/.test(document.getElementById('notice').textContent));
      const touchLink = await player.page.evaluate(() => navigator.clipboard.readText());
      await tap(player.page, '#menu-close');
      await until(player.page, () => !skyring.paused);
      const played = await player.page.evaluate(() => window.checksums);
      await player.page.close();

      const watch = await openGameOn(browser, touchLink, phone);
      assert.deepEqual((await cards(watch.page)).said.slice(0, 1), ['A jump to watch: tap to see it']);
      await keepChecksums(watch.page);
      await watch.page.touchscreen.tap(20, 20);
      await untilEnded(watch.page);
      const watched = await watch.page.evaluate(() => window.checksums);
      assert.ok(watched.length > 200 && watched.length < played.length, `${watched.length} pages of ${played.length}`);
      assert.deepEqual(watched, played.slice(0, watched.length));
      assert.deepEqual(complaints([...player.said, ...watch.said]), []);
      await watch.page.close();
    });

    await t.test('a link or a file that cannot be watched is one message, and the page stays ready to play', async () => {
      const value = link.slice(link.indexOf('#jump=') + 6), damaged = value.slice(0, 30) + 'Q' + value.slice(31);
      const cases = [[value.slice(0, -6), /damaged/], [damaged, /damaged/], ['nothing', /damaged/],
                     [`2${value.slice(1)}`, /^This jump was made by a newer Skyring: this page cannot show it\.$/]];
      for (const [i, [bad, message]] of cases.entries()) {
        await page.goto(`${site.url}?case=${i}#jump=${bad}`);
        await untilReady(page);
        assert.match(await notice(page), message, bad);
        const now = await cards(page);
        assert.deepEqual([now.start, now.watch, now.said[0]], [true, false, 'Click or press a key to start'], bad);
      }
      await drop(page, 'skyring.png', readFileSync(await downloaded(folder, '.png')));
      await until(page, () => /skyring\.png/.test(document.getElementById('notice').textContent));
      assert.match(await notice(page), /^Not a Skyring recording: skyring\.png:1: /);
      await drop(page, 'jump.txt', readFileSync(recording));
      await until(page, () => document.body.classList.contains('watch'));
      assert.equal(await notice(page), '');
      // A bad link given to the open page drops the jump that waited.
      await page.evaluate((bad) => { location.hash = `#jump=${bad}`; }, damaged);
      await until(page, () => !document.body.classList.contains('watch'));
      assert.match(await notice(page), /damaged/);
      await page.keyboard.press('Space');
      await untilPage(page, 3);
      assert.equal(await page.evaluate(() => skyring.watching), false);
    });

    await t.test('a jump too long for a link says so from the menu in play, and its file is still offered', async () => {
      await page.keyboard.press('Escape');
      await untilEnded(page);
      // Keys at irregular frames pack poorly: 1500 of them are far more than a link may hold.
      let text = '# A long jump\n', frame = 90, seed = 7;
      for (let i = 0; i < 1500; ++i) {
        seed = (seed * 1103515245 + 12345) % 2147483648;
        frame += 1 + (seed >> 16) % 13;
        text += `${frame} ${i % 2 ? 'up' : 'down'} ${['left', 'right', 'down', 'up'][(seed >> 8) & 3]}\n`;
      }
      await drop(page, 'long.txt', Buffer.from(text));
      await until(page, () => document.body.classList.contains('watch'));
      // The card takes no key in its first half second, which may be the game's last one held.
      await new Promise((resolve) => setTimeout(resolve, 600));
      await page.keyboard.press('Space');
      await untilPage(page, 100);
      await page.click('#share-button');
      await until(page, () => skyring.paused);
      await page.click('#share-link-button');
      await until(page, () => /too long/.test(document.getElementById('notice').textContent));
      assert.match(await notice(page), /^This jump is too long for a link \(\d+ characters; links here stop at 2000\): download the recording to pass it on\.$/);
      const files = mkdtempSync(join(folder, 'long-'));
      await letShare(browser, page, site.url, files);
      await page.click('#share-recording');
      assert.equal(readFileSync(await downloaded(files, '.txt'), 'utf8'), text);
      await page.click('#menu-close');
      await page.keyboard.press('Escape');
      await untilEnded(page);
    });

    assert.deepEqual(complaints(said), [], 'console warnings and errors');
  } finally {
    await close();
    site.stop();
    rmSync(folder, {recursive: true, force: true});
  }
});
