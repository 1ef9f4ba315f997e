// The web build plays the same game: skyring-replay built with emscripten and run by node
// writes the same trace, byte for byte, as the desktop build, over two jumps' worth of input
// from the random player.
import {execFileSync} from 'node:child_process';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {traceBoth} from './browser.mjs';

const root = new URL('../../', import.meta.url).pathname;

test('the web replay under node traces 5000 frames exactly as the desktop one', () => {
  const dir = mkdtempSync(join(tmpdir(), 'skyring-web-replay-'));
  try {
    for (const seed of [1, 7]) {
      const script = join(dir, `s${seed}.txt`), desktop = join(dir, `desktop${seed}.jsonl`),
            web = join(dir, `web${seed}.jsonl`);
      execFileSync(join(root, 'build/tools/soak/skyring-soak'),
                   ['--frames', '5000', '--seed', String(seed), '--script-out', script], {stdio: 'ignore'});
      const [expected, got] = traceBoth(script, 5000, desktop, web);
      assert.equal(expected.toString().split('\n').length, 5001, `seed ${seed}: a line per frame`);
      assert.ok(expected.equals(got), `seed ${seed}: the traces differ`);
    }
  } finally {
    rmSync(dir, {recursive: true, force: true});
  }
});
