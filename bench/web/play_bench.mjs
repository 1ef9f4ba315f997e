// The web build in headless Chromium against the desktop build, one after the other at each
// screen size: the time from the start key to the first picture, then some seconds of play,
// the game's pages shown per second and the CPU time of each of the browser's processes and
// of all of them, beside the desktop game's pages per second and CPU at the same size (its
// startup_bench, in a private Xvfb, software presenter) and the ratio; the X server's CPU, which
// takes the desktop's pictures in as a browser's compositor does, is shown beside, and a second
// ratio counts it with the game's.
//   node bench/web/play_bench.mjs [SECONDS [WIDTHxHEIGHT...]] [--page DIR[?QUERY]]...
// Sizes are 1280x960 and 1920x1080 unless given. Each --page is a site folder (relative to the
// repository) and the address's query; without any, build-web with each presenter
// (?presenter=webgl2, which is SwiftShader's here, and ?presenter=2d) and with the page's own
// choice. Run it after ./build.sh web-test (for puppeteer-core) and a native build of
// build/bench/startup_bench.
import {execFileSync} from 'node:child_process';
import {existsSync, readFileSync, readdirSync} from 'node:fs';
import {launch, serve} from '../../tests/web/browser.mjs';

const root = new URL('../../', import.meta.url).pathname;
const ticksPerSecond = 100;  // Linux's USER_HZ, which /proc/PID/stat counts in

const positional = [], pages = [];
for (let i = 2; i < process.argv.length; ++i) {
  if (process.argv[i] === '--page') {
    pages.push(process.argv[++i]);
  } else {
    positional.push(process.argv[i]);
  }
}
const seconds = Number(positional[0] || 20);
const sizes = (positional.length > 1 ? positional.slice(1) : ['1280x960', '1920x1080']).map((s) => s.split('x').map(Number));
if (pages.length === 0) pages.push('build-web?presenter=webgl2', 'build-web?presenter=2d', 'build-web');

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

// The desktop game at the same size: its startup_bench's play, as pages/s and % of one core.
function desktop(width, height) {
  const bench = `${root}build/bench/startup_bench`;
  if (!existsSync(bench)) return null;
  const out = execFileSync(bench, [`--benchmark_filter=^Play/${width}/${height}/`, '--benchmark_format=json'],
                           {encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore']});
  const [run] = JSON.parse(out).benchmarks;
  return run ? {framesPerSecond: run['frames/s'], cpu: run['CPU %'], server: run['X CPU %']} : null;
}

// One page played for `seconds` at width x height.
async function play(spec, width, height) {
  const [dir, query] = spec.split('?');
  const site = await serve(`${root}${dir}`);
  const {browser, close} = await launch();
  try {
    const page = await browser.newPage();
    const said = [];
    page.on('console', (message) => {
      if (message.type() === 'warn' || message.type() === 'error') said.push(message.text());
    });
    await page.setViewport({width, height});
    await page.goto(site.url + (query ? `?${query}` : ''));
    await page.waitForFunction(() => document.getElementById('start-prompt').textContent.startsWith('Click'));
    await page.keyboard.press('Space');
    await page.waitForFunction(() => skyring.firstPictureMs !== null);
    const firstPicture = await page.evaluate(() => skyring.firstPictureMs);
    await new Promise((resolve) => setTimeout(resolve, 2000));
    const pid = browser.process().pid;
    const state = () => page.evaluate(() => ({shown: skyring.pagesShown, at: performance.now(),
                                              starved: skyring.audioStarved || 0, presenter: skyring.presenter}));
    const before = {page: await state(), cpu: ticksByType(processes(pid))};
    await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
    const after = {page: await state(), cpu: ticksByType(processes(pid))};
    const elapsed = (after.page.at - before.page.at) / 1000;
    const cpu = {};
    for (const type of Object.keys(after.cpu)) {
      cpu[type] = 100 * (after.cpu[type] - (before.cpu[type] || 0)) / ticksPerSecond / elapsed;
    }
    return {firstPicture, framesPerSecond: (after.page.shown - before.page.shown) / elapsed, cpu,
            presenter: after.page.presenter || '(not told)', starved: after.page.starved - before.page.starved, said};
  } finally {
    await close();
    site.stop();
  }
}

const kinds = ['renderer', 'gpu-process', 'browser', 'utility'];
const column = (text, width) => String(text).padStart(width);
for (const [width, height] of sizes) {
  console.log(`\n${width}x${height}, ${seconds} s of play each, one after the other; CPU in % of one core`);
  console.log(`${'what'.padEnd(34)}${column('frames/s', 9)}${column('first', 7)}` +
              `${kinds.map((k) => column(k, 12)).join('')}${column('others', 8)}${column('all', 7)}${column('× desktop', 11)}` +
              `${column('× with X', 10)}`);
  const base = desktop(width, height);
  if (base) {
    console.log(`${'desktop (Xvfb, software)'.padEnd(34)}${column(base.framesPerSecond.toFixed(2), 9)}${column('', 7)}` +
                `${kinds.map(() => column('', 12)).join('')}${column('', 8)}${column(base.cpu.toFixed(1), 7)}`);
    console.log(`${'  and its X server'.padEnd(34)}${column('', 16)}${kinds.map(() => column('', 12)).join('')}` +
                `${column('', 8)}${column(base.server.toFixed(1), 7)}`);
  }
  for (const spec of pages) {
    const run = await play(spec, width, height);
    const all = Object.values(run.cpu).reduce((a, b) => a + b, 0);
    const others = Math.max(0, all - kinds.reduce((sum, k) => sum + (run.cpu[k] || 0), 0));
    console.log(`${`${spec} (${run.presenter})`.padEnd(34)}${column(run.framesPerSecond.toFixed(2), 9)}` +
                `${column(`${run.firstPicture.toFixed(0)}ms`, 7)}` +
                `${kinds.map((k) => column((run.cpu[k] || 0).toFixed(1), 12)).join('')}${column(others.toFixed(1), 8)}` +
                `${column(all.toFixed(1), 7)}${column(base ? `${(all / base.cpu).toFixed(1)} ×` : '-', 11)}` +
                `${column(base ? `${(all / (base.cpu + base.server)).toFixed(1)} ×` : '-', 10)}`);
    if (run.starved > 0) console.log(`  the sound went silent for ${run.starved} frames waiting for the mixer`);
    for (const line of new Set(run.said)) console.log(`  console: ${line}`);
  }
}
