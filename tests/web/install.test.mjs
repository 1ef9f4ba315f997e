// Installing the page: the manifest names the icons the site has (the maskable one drawn inside its
// safe circle), and after one visit the service worker keeps the site: a new build comes in on the
// next visit, and with the server gone and the network off the game still starts. On a copy of
// the site, which the test rebuilds as a new build would change it.
import {execFileSync} from 'node:child_process';
import {cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {complaints, launch, openGame, serve, untilPage, untilReady} from './browser.mjs';

const root = new URL('../../', import.meta.url).pathname;
const version = /project\(Skyring VERSION ([0-9.]+)/.exec(readFileSync(join(root, 'CMakeLists.txt'), 'utf8'))[1];

// The site's caches, once the service worker that holds them has taken over.
function caches(page) {
  return page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    return window.caches.keys();
  });
}

async function reload(page) {
  await page.reload();
  await untilReady(page);
}

test('the page installs, plays offline and takes a new build on the next visit', async (t) => {
  const dir = mkdtempSync(join(tmpdir(), 'skyring-web-site-'));
  cpSync(join(root, 'build-web'), dir, {recursive: true});
  const site = await serve(dir);
  const {browser, close} = await launch();
  try {
    const {page, said} = await openGame(browser, site.url, 800, 600);

    await t.test('the manifest names the icons the site has, one of them maskable', async () => {
      const manifest = await page.evaluate(async () => {
        const response = await fetch(document.querySelector('link[rel=manifest]').href);
        return response.json();
      });
      assert.deepEqual([manifest.name, manifest.short_name, manifest.orientation, manifest.theme_color],
                       ['Skyring', 'Skyring', 'landscape', '#000000']);
      assert.ok(['fullscreen', 'standalone'].includes(manifest.display), manifest.display);
      // Each icon as the browser decodes it: its size, whether it is opaque, and whether what lies
      // outside the middle circle of 80 % (which a launcher may cut away) is the plain sky, the
      // same colour along each row.
      const icons = await page.evaluate((icons) => Promise.all(icons.map(async (icon) => {
        const image = new Image();
        image.src = icon.src;
        await image.decode();
        const canvas = document.createElement('canvas');
        canvas.width = image.naturalWidth;
        canvas.height = image.naturalHeight;
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        const {data, width, height} = context.getImageData(0, 0, canvas.width, canvas.height);
        let opaque = true, plainOutside = true;
        for (let y = 0; y < height; ++y) {
          for (let x = 0; x < width; ++x) {
            const at = 4 * (y * width + x), dx = x + 0.5 - width / 2, dy = y + 0.5 - height / 2;
            opaque = opaque && data[at + 3] === 255;
            if (dx * dx + dy * dy <= (0.4 * width) ** 2) continue;
            for (let c = 0; c < 4; ++c) plainOutside = plainOutside && data[at + c] === data[4 * y * width + c];
          }
        }
        return {sizes: icon.sizes, purpose: icon.purpose, size: `${width}x${height}`, opaque, plainOutside};
      })), manifest.icons);
      for (const icon of icons) assert.equal(icon.size, icon.sizes);
      assert.deepEqual(icons.filter((icon) => icon.purpose === 'any').map((icon) => icon.size), ['192x192', '512x512']);
      const maskable = icons.filter((icon) => icon.purpose === 'maskable');
      assert.equal(maskable.length, 1);
      assert.ok(maskable[0].opaque && maskable[0].plainOutside, JSON.stringify(maskable[0]));
    });

    let first;
    await t.test('after one visit and a reload the service worker holds the page, in one cache of this build', async () => {
      [first] = await caches(page);
      assert.deepEqual(await caches(page), [first]);
      assert.match(first, new RegExp(`^skyring-${version.replace(/\./g, '\\.')}-[0-9a-f]{16}$`));
      await reload(page);
      assert.ok(await page.evaluate(() => navigator.serviceWorker.controller !== null));
    });

    await t.test('a new build comes in on the next visit, and the older cache goes', async () => {
      // Built again with a changed page, as tools/web/CMakeLists.txt builds it.
      const index = join(dir, 'index.html');
      writeFileSync(index, readFileSync(index, 'utf8').replace('<title>Skyring</title>', '<title>Skyring, anew</title>'));
      execFileSync('cmake', [`-DSITE=${dir}`, `-DVERSION=${version}`, `-DTEMPLATE=${join(root, 'tools/web/service-worker.js')}`,
                             '-P', join(root, 'tools/web/service_worker.cmake')]);
      // This visit starts with the build it was kept with, finds the new one and shows it before
      // the player starts.
      await page.reload();
      await page.waitForFunction(() => document.title === 'Skyring, anew' && document.body.classList.contains('ready'),
                                 {polling: 100});
      const now = await caches(page);
      assert.ok(now.length === 1 && now[0] !== first, `caches: ${now}`);
    });

    await t.test('with the server gone and the network off, the game still starts', async () => {
      site.stop();
      await page.setOfflineMode(true);
      await reload(page);
      assert.equal(await page.title(), 'Skyring, anew');
      await page.keyboard.press('Space');
      await untilPage(page, 5);
    });

    assert.deepEqual(complaints(said), []);
  } finally {
    await close();
    site.stop();
    rmSync(dir, {recursive: true, force: true});
  }
});
