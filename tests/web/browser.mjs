// The web build served on the loopback and opened in Debian's Chromium, headless, with a
// profile of its own that is removed afterwards.
import {spawn} from 'node:child_process';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import puppeteer from 'puppeteer-core';

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
export async function openGame(browser, url, width, height, query = '') {
  const page = await browser.newPage();
  await page.setViewport({width, height});
  const said = [];
  page.on('console', (message) => said.push(`${message.type()}: ${message.text()}`));
  page.on('pageerror', (error) => said.push(`pageerror: ${error.message}`));
  await page.goto(url + query);
  await page.waitForFunction(() => document.getElementById('start-prompt').textContent.startsWith('Click'));
  return {page, said};
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
