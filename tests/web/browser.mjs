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

// Chromium as root in a sandbox: no sandbox of its own, no GPU, and nothing that would reach
// for the network. Sound may start without a gesture, as a player's click would allow.
export async function launch() {
  const profile = mkdtempSync(join(tmpdir(), 'skyring-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--disable-gpu', '--disable-quic',
           '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--window-size=1280,960'],
  });
  return {browser, close: async () => { await browser.close(); rmSync(profile, {recursive: true, force: true}); }};
}
