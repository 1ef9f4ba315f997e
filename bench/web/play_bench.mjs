// The web build in headless Chromium: the time from the start key to the first picture, then
// 20 s of play: the game's pages shown per second and the CPU time of the browser's processes.
//   node bench/web/play_bench.mjs [SECONDS [WIDTHxHEIGHT]]   (after ./build.sh web-test, for puppeteer-core)
import {readFileSync, readdirSync} from 'node:fs';
import {launch, serve} from '../../tests/web/browser.mjs';

const root = new URL('../../', import.meta.url).pathname;
const seconds = Number(process.argv[2] || 20);
const [width, height] = (process.argv[3] || '1280x960').split('x').map(Number);
const ticksPerSecond = 100;  // Linux's USER_HZ, which /proc/PID/stat counts in

// Every descendant of pid with its kind (--type=renderer, gpu-process...) and CPU ticks so far.
function processes(pid) {
  const all = [];
  for (const name of readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = readFileSync(`/proc/${name}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const type = /--type=([\w-]+)/.exec(readFileSync(`/proc/${name}/cmdline`, 'utf8'));
      all.push({pid: Number(name), ppid: Number(fields[1]), ticks: Number(fields[11]) + Number(fields[12]),
                type: type ? type[1] : 'browser'});
    } catch {
      // gone meanwhile
    }
  }
  const mine = new Set([pid]);
  for (let grown = true; grown;) {
    grown = false;
    for (const p of all) {
      if (!mine.has(p.pid) && mine.has(p.ppid)) {
        mine.add(p.pid);
        grown = true;
      }
    }
  }
  return all.filter((p) => mine.has(p.pid));
}

function ticksByType(list) {
  const out = {};
  for (const p of list) out[p.type] = (out[p.type] || 0) + p.ticks;
  return out;
}

const site = await serve(`${root}build-web`);
const {browser, close} = await launch();
try {
  const page = await browser.newPage();
  await page.setViewport({width, height});
  await page.goto(site.url);
  await page.waitForFunction(() => document.getElementById('start-prompt').textContent.startsWith('Click'));
  await page.keyboard.press('Space');
  await page.waitForFunction(() => skyring.firstPictureMs !== null);
  const firstPicture = await page.evaluate(() => skyring.firstPictureMs);
  await new Promise((resolve) => setTimeout(resolve, 2000));
  const pid = browser.process().pid;
  const before = {page: await page.evaluate(() => ({shown: skyring.pagesShown, at: performance.now()})),
                  cpu: ticksByType(processes(pid))};
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  const after = {page: await page.evaluate(() => ({shown: skyring.pagesShown, at: performance.now()})),
                 cpu: ticksByType(processes(pid))};
  const elapsed = (after.page.at - before.page.at) / 1000;
  console.log(`${width}x${height}: first picture after the start key: ${firstPicture.toFixed(0)} ms`);
  console.log(`pages shown: ${after.page.shown - before.page.shown} in ${elapsed.toFixed(2)} s = ` +
              `${((after.page.shown - before.page.shown) / elapsed).toFixed(2)} frames/s`);
  for (const type of Object.keys(after.cpu).sort()) {
    const used = (after.cpu[type] - (before.cpu[type] || 0)) / ticksPerSecond;
    console.log(`CPU of the ${type} process(es): ${(100 * used / elapsed).toFixed(1)} % of one core`);
  }
} finally {
  await close();
  site.stop();
}
