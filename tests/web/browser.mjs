// The web build served on the loopback and opened in Debian's Chromium, headless, with a
// profile of its own that is removed afterwards.
import {execFileSync, spawn} from 'node:child_process';
import {mkdtempSync, readFileSync, readdirSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import puppeteer from 'puppeteer-core';

const root = new URL('../../', import.meta.url).pathname;

// Serves `dir` with python3's http.server on a free loopback port; resolves to its address.
export function serve(dir) {
  return new Promise((resolve, reject) => {
    const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '--directory', dir, '0'],
                         {stdio: ['ignore', 'pipe', 'pipe']});
    let said = '';
    server.stdout.on('data', (chunk) => {
      said += chunk;
      const port = /port (\d+)/.exec(said);
      if (port) resolve({url: `http://127.0.0.1:${port[1]}/`, stop: () => server.kill()});
    });
    server.on('exit', (code) => reject(new Error(`http.server ended (${code}): ${said}`)));
  });
}

// Chromium as root in a sandbox: no sandbox of its own, no GPU (the pages are composited in
// software; WebGL is SwiftShader's, which Chromium wants asked for by name), and nothing that
// would reach for the network. Sound may start without a gesture, as a player's click would allow.
export async function launch() {
  const profile = mkdtempSync(join(tmpdir(), 'skyring-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--disable-gpu', '--enable-unsafe-swiftshader',
           '--disable-quic',
           '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--window-size=1280,960'],
  });
  return {browser, close: async () => { await browser.close(); rmSync(profile, {recursive: true, force: true}); }};
}

// The colour most of an RGBA picture has, as [r, g, b].
export function commonest(rgba) {
  const counts = new Map();
  for (let i = 0; i < rgba.length; i += 4 * 7) {
    const key = (rgba[i] << 16) | (rgba[i + 1] << 8) | rgba[i + 2];
    counts.set(key, (counts.get(key) || 0) + 1);
  }
  const [key] = [...counts.entries()].sort((a, b) => b[1] - a[1])[0];
  return [key >> 16, (key >> 8) & 255, key & 255];
}

// A new tab on the page at `query` ('?presenter=webgl2'...), width x height CSS pixels, ready for
// the start key. `said` collects what the page says on its console, as "type: text".
export function openGame(browser, url, width, height, query = '') {
  return open(browser, url + query, (page) => page.setViewport({width, height}));
}

// The same on an emulated phone or tablet (one of puppeteer's KnownDevices), ready for the tap.
export function openGameOn(browser, url, device) {
  return open(browser, url, (page) => page.emulate(device));
}

async function open(browser, url, setUp) {
  const page = await browser.newPage();
  await setUp(page);
  const said = [];
  page.on('console', (message) => said.push(`${message.type()}: ${message.text()}`));
  page.on('pageerror', (error) => said.push(`pageerror: ${error.message}`));
  await page.goto(url);
  await untilReady(page);
  return {page, said};
}

// Resolves once the page waits for the start key or tap.
export function untilReady(page) {
  return page.waitForFunction(() => document.body.classList.contains('ready'));
}

// Resolves once the card after a game shows.
export function untilEnded(page) {
  return page.waitForFunction(() => !document.getElementById('ended').hidden, {timeout: 60000});
}

// What a page said on its console that it never should: errors and warnings.
export function complaints(said) {
  return said.filter((line) => /^(error|warn|pageerror):/.test(line));
}

// Traces `script` over `frames` frames with the desktop's skyring-replay into `desktop` and with
// the web build's under node into `web`; resolves to both traces' bytes.
export function traceBoth(script, frames, desktop, web) {
  const args = ['--frames', String(frames), '--script', script, '--trace'];
  execFileSync(join(root, 'build/tools/replay/skyring-replay'), [...args, desktop]);
  // Emscripten 3.1.6's output meets node 18's fetch otherwise and takes the wrong way to load.
  execFileSync(process.execPath, ['--no-experimental-fetch', join(root, 'build-wasm/tools/replay/skyring-replay.js'),
                                  ...args, web]);
  return [readFileSync(desktop), readFileSync(web)];
}

// Resolves once the game has shown page `number` of its run.
export async function untilPage(page, number) {
  await page.waitForFunction((n) => (skyring.pagesShown || 0) >= n, {polling: 10}, number);
}

// Watches for the next picture drawn of page `number` or a later one; resolves to a function
// that waits for it and gives it as the canvas shown held it right after drawing: {number,
// width, height, rgba (a Buffer)}. The page's own index.html still sees each picture.
export async function watchPicture(page, number) {
  await page.evaluate((number) => {
    window.keptPicture = null;
    const before = skyring.onPicture;
    skyring.onPicture = (shown) => {
      before(shown);
      if (shown < number) return;
      skyring.onPicture = before;
      const canvas = skyring.shownCanvas, copy = document.createElement('canvas');
      copy.width = canvas.width;
      copy.height = canvas.height;
      const context = copy.getContext('2d');
      context.drawImage(canvas, 0, 0);
      const bytes = context.getImageData(0, 0, copy.width, copy.height).data;
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      window.keptPicture = {number: shown, width: copy.width, height: copy.height, rgba: btoa(text)};
    };
  }, number);
  return async () => {
    await page.waitForFunction(() => window.keptPicture !== null, {polling: 20, timeout: 60000});
    const kept = await page.evaluate(() => window.keptPicture);
    return {...kept, rgba: Buffer.from(kept.rgba, 'base64')};
  };
}

// Keeps the CRC-32 of every page the next run shows (the trace's "screen"), by number from 1, in
// window.checksums, and the last page's RGBA bytes in window.lastPage.
export function keepChecksums(page) {
  return page.evaluate(() => {
    const table = Array.from({length: 256}, (_, n) => {
      for (let k = 0; k < 8; ++k) n = n & 1 ? 0xEDB88320 ^ (n >>> 1) : n >>> 1;
      return n >>> 0;
    });
    window.checksums = [];
    skyring.pagesShown = 0;
    skyring.onPage = (number, rgba, indices) => {
      let crc = 0xFFFFFFFF;
      for (let i = 0; i < indices.length; ++i) crc = table[(crc ^ indices[i]) & 0xFF] ^ (crc >>> 8);
      window.checksums[number - 1] = (crc ^ 0xFFFFFFFF) >>> 0;
      window.lastPage = rgba.slice();
    };
  });
}

// What the page passes on: its clipboard may be read, and what it downloads goes to `folder`.
export async function letShare(browser, page, url, folder) {
  await browser.defaultBrowserContext().overridePermissions(new URL(url).origin,
                                                            ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: folder});
}

// Resolves to the path of the first file downloaded to `folder` whose name ends in `ending`,
// once it is whole.
export async function downloaded(folder, ending) {
  for (let tries = 0; tries < 200; ++tries) {
    const name = readdirSync(folder).find((name) => name.endsWith(ending));
    if (name) return join(folder, name);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`nothing ending in ${ending} was downloaded`);
}

// The centre of the element `selector` on the screen, in CSS pixels.
export function centreOf(page, selector) {
  return page.evaluate((selector) => {
    const box = document.querySelector(selector).getBoundingClientRect();
    return {x: box.left + box.width / 2, y: box.top + box.height / 2};
  }, selector);
}

// The one message the page shows, or '' when it shows none.
export function notice(page) {
  return page.evaluate(() => {
    const shown = document.getElementById('notice');
    return shown.hidden ? '' : shown.textContent;
  });
}
