// The page in headless Chromium, as a player meets it: the start screen, the game after the
// first key, steering, sound, quitting and playing again.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {commonest, complaints, launch, openGame, serve, untilEnded, untilPage, watchPicture} from './browser.mjs';

const root = new URL('../../', import.meta.url).pathname;
const kPage = 120;  // six seconds in: the diver has left the aircraft (page 81)

// Keeps a copy of the game's page number `number` of the next run, as RGBA bytes.
function keepPage(page, number) {
  return page.evaluate((number) => {
    window.keptPage = null;
    skyring.onPage = (shown, rgba) => {
      if (shown !== number) return;
      skyring.onPage = null;
      window.keptPage = Array.from(rgba);
    };
  }, number);
}

function pagesShown(page) {
  return page.evaluate(() => skyring.pagesShown || 0);
}

function samePicture(a, b) {
  return a.length === b.length && a.every((value, i) => value === b[i]);
}

// Starts the run whose card is showing with a key, and resolves to its page kPage; `during`
// plays while it runs.
async function run(page, key, during) {
  await page.evaluate(() => { skyring.pagesShown = 0; });
  await keepPage(page, kPage);
  // The page takes no key in the first half second after a game ends.
  await new Promise((resolve) => setTimeout(resolve, 600));
  await page.keyboard.press(key);
  if (during) await during();
  await page.waitForFunction(() => window.keptPage !== null);
  return page.evaluate(() => window.keptPage);
}

test('the page in a browser', async (t) => {
  const site = await serve(`${root}build-web`);
  const {browser, close} = await launch();
  try {
    const {page, said} = await openGame(browser, site.url, 1024, 768);
    const cards = () => page.evaluate(() => ({start: !document.getElementById('start').hidden,
                                                ended: !document.getElementById('ended').hidden}));

    let quiet;
    await t.test('the start screen waits for a key, then the game shows the sky', async () => {
      assert.deepEqual(await cards(), {start: true, ended: false});
      assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('#start-prompt span')]
                                              .filter((span) => span.offsetParent !== null).map((span) => span.textContent)),
                       ['Click or press a key to start']);
      assert.equal(await pagesShown(page), 0, 'the game starts only at the player\'s key');
      quiet = await run(page, 'Space');
      const [r, g, b] = commonest(quiet);
      assert.ok(b > 180 && r < 100, `the game's page is mostly sky, not rgb(${r}, ${g}, ${b})`);
      // And the canvas on the page shows it: the 2D one, as this browser's WebGL is SwiftShader's,
      // which costs more.
      const shown = await (await watchPicture(page, 0))();
      assert.deepEqual(commonest(shown.rgba), [r, g, b], 'the canvas shows something else');
      assert.equal(await page.evaluate(() => skyring.presenter), '2d');
      assert.deepEqual(await cards(), {start: false, ended: false});
      assert.equal(await page.evaluate(() => getComputedStyle(skyring.controls).display), 'none',
                   'a desktop page shows touch controls');
    });

    await t.test('the sound runs, pulls the game\'s mixer and is heard', async () => {
      const before = await page.evaluate(() => skyring.audioPulls);
      await new Promise((resolve) => setTimeout(resolve, 300));
      const now = await page.evaluate(() => ({state: skyring.audioContext.state, pulls: skyring.audioPulls,
                                              rate: skyring.audioContext.sampleRate, loudest: skyring.audioLoudest}));
      assert.equal(now.state, 'running');
      assert.equal(now.rate, 44100);
      assert.ok(now.pulls > before, `the mixer was pulled ${now.pulls} times, ${before} before`);
      assert.ok(now.loudest > 1000, `the game was not heard: the loudest sample was ${now.loudest}`);
    });

    // The page reads pads from navigator.getGamepads(); this one is the test's, in the
    // standard layout (buttons 8 Back, 9 Start).
    const pad = (button, pressed) => page.evaluate((button, pressed) => {
      if (!window.testPad) {
        window.testPad = {connected: true, index: 0, id: 'test pad', mapping: 'standard', timestamp: 0,
                          axes: [0, 0, 0, 0], buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
        navigator.getGamepads = () => [window.testPad];
      }
      window.testPad.buttons[button] = {pressed, value: pressed ? 1 : 0};
    }, button, pressed);
    // Held long enough for the game, which reads pads once a frame, to see it.
    const tap = async (button) => {
      await pad(button, true);
      await new Promise((resolve) => setTimeout(resolve, 150));
      await pad(button, false);
    };
    const stillFor = async (ms) => {
      const before = await pagesShown(page);
      await new Promise((resolve) => setTimeout(resolve, ms));
      return (await pagesShown(page)) === before;
    };

    await t.test('a hidden tab pauses the game until it is shown again', async () => {
      const setHidden = (hidden) => page.evaluate((hidden) => {
        Object.defineProperty(document, 'hidden', {value: hidden, configurable: true});
        Object.defineProperty(document, 'visibilityState', {value: hidden ? 'hidden' : 'visible', configurable: true});
        document.dispatchEvent(new Event('visibilitychange'));
      }, hidden);
      const sound = () => page.evaluate(() => skyring.audioContext.state);
      await setHidden(true);
      assert.ok(await stillFor(400), 'the game went on in a hidden tab');
      assert.equal(await sound(), 'suspended', 'the sound went on in a hidden tab');
      await setHidden(false);
      assert.ok(!(await stillFor(400)), 'the game stayed paused after the tab came back');
      assert.equal(await sound(), 'running');
    });

    await t.test('a gamepad\'s Start pauses and resumes', async () => {
      await tap(9);
      assert.ok(await stillFor(400), 'Start did not pause');
      await tap(9);
      assert.ok(!(await stillFor(400)), 'Start again did not resume');
    });

    await t.test('the button and Alt+Enter put the page on the whole screen and back', async () => {
      await page.click('#fullscreen');
      await page.waitForFunction(() => document.fullscreenElement !== null);
      await page.keyboard.down('Alt');
      await page.keyboard.press('Enter');
      await page.keyboard.up('Alt');
      await page.waitForFunction(() => document.fullscreenElement === null);
      assert.ok(!(await stillFor(200)), 'the game stopped');
    });

    await t.test('Escape ends the game and the page offers another', async () => {
      await page.keyboard.press('Escape');
      await untilEnded(page);
      assert.deepEqual(await cards(), {start: false, ended: true});
    });

    await t.test('a run without keys plays the same again, and holding Left changes it', async () => {
      const again = await run(page, 'Space');
      assert.ok(samePicture(again, quiet), 'two runs without keys differ at the same page');
      // A gamepad's Back and Start together quit, as Escape does.
      await pad(8, true);
      await pad(9, true);
      await untilEnded(page);
      await pad(8, false);
      await pad(9, false);
      const steered = await run(page, 'Enter', async () => {
        await untilPage(page, 90);
        await page.keyboard.down('ArrowLeft');
        await untilPage(page, kPage);
        await page.keyboard.up('ArrowLeft');
      });
      assert.ok(!samePicture(steered, quiet), 'holding Left left the picture as it was');
    });

    assert.deepEqual(complaints(said), [], 'console warnings and errors');
  } finally {
    await close();
    site.stop();
  }
});
