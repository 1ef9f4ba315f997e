// The page on emulated phones and a tablet, as a player meets it there: the picture fills the
// largest 4:3 rectangle of any screen, upright or sideways, and follows it as it turns; a tap
// starts the game and its sound; fingers on the touch controls steer it as keys do, several at once, and the
// controls step aside while a key or a pad is used.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {KnownDevices} from 'puppeteer-core';
import {centreOf, complaints, launch, openGameOn, serve, untilEnded, untilPage} from './browser.mjs';

const root = new URL('../../', import.meta.url).pathname;
const kPage = 100;  // five seconds in; the diver leaves the aircraft at page 81
const kPressAt = 84;

// The screens, with the safe areas the phones have there (a notch, rounded corners, the home bar).
const kScreens = [['iPhone 13', {top: 47, bottom: 34}], ['iPhone 13 landscape', {left: 47, right: 47, bottom: 21}],
                  ['Pixel 5', {}], ['Pixel 5 landscape', {}], ['iPad Pro 11', {}], ['iPad Pro 11 landscape', {}]];

// Where the canvas lies, against the largest 4:3 rectangle of the screen inside its safe area
// (CSS pixels).
function fit(page, insets) {
  return page.evaluate(({top = 0, right = 0, bottom = 0, left = 0}) => {
    const shown = skyring.shownCanvas.getBoundingClientRect(), w = innerWidth - left - right;
    const h = innerHeight - top - bottom, fillW = Math.min(w, h * 4 / 3);
    return {inside: shown.left >= left && shown.top >= top && shown.right <= left + w + 0.5 &&
                    shown.bottom <= top + h + 0.5,
            dw: Math.abs(shown.width - fillW), dh: Math.abs(shown.height - fillW * 3 / 4), bottom: shown.bottom,
            controlsTop: Math.min(...[...skyring.controls.querySelectorAll('[role=button]')]
                                    .map((control) => control.getBoundingClientRect().top)),
            upright: h > w};
  }, insets);
}

function controlsShown(page) {
  return page.evaluate(() => getComputedStyle(skyring.controls).display !== 'none');
}

// The centre of control `action` on the screen.
function controlAt(page, action) {
  return centreOf(page, `[data-action=${action}]`);
}

function held(page) {
  return page.evaluate(() => [...document.querySelectorAll('#controls .held')].map((control) => control.dataset.action));
}

// Taps the card to start a run, which records a hash of each of its pages' indices and colours
// up to kPage; `during` plays meanwhile. Resolves to the hashes.
async function run(page, during) {
  await page.evaluate((last) => {
    skyring.pagesShown = 0;
    window.hashes = [];
    skyring.onPage = (number, rgba, indices, palette) => {
      if (number > last) return;
      let hash = 2166136261;
      for (const bytes of [indices, palette]) {
        for (let i = 0; i < bytes.length; ++i) hash = Math.imul(hash ^ bytes[i], 16777619);
      }
      window.hashes.push(hash >>> 0);
    };
  }, kPage);
  // The page takes no tap in the first half second after a game ends.
  await new Promise((resolve) => setTimeout(resolve, 600));
  await page.touchscreen.tap(20, 20);
  if (during) await during();
  await untilPage(page, kPage);
  return page.evaluate(() => window.hashes);
}

test('the page on phones and a tablet', async (t) => {
  const site = await serve(`${root}build-web`);
  const {browser, close} = await launch();
  try {
    const {page, said} = await openGameOn(browser, site.url, KnownDevices['iPhone 13']);

    await t.test('the card says tap, a tap starts the game, and the picture fits every screen as it turns', async () => {
      assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('#start-prompt span')]
                                              .filter((span) => span.offsetParent !== null).map((span) => span.textContent)),
                       ['Tap to start']);
      await page.touchscreen.tap(200, 400);
      await untilPage(page, 5);
      assert.ok(await controlsShown(page), 'no touch controls on a phone');
      // The tap made the sound too, which the game's mixer feeds.
      await page.waitForFunction(() => skyring.audioContext && skyring.audioContext.state === 'running' &&
                                       skyring.audioPulls > 0);
      const cdp = await page.createCDPSession();
      for (const [name, insets] of kScreens) {
        // The screen turns or changes (and its safe area with it); the picture follows at the
        // game's next page.
        await cdp.send('Emulation.setSafeAreaInsetsOverride', {insets});
        await page.emulate(KnownDevices[name]);
        const shown = await page.evaluate(() => skyring.pagesShown);
        await untilPage(page, shown + 2);
        const where = await fit(page, insets);
        assert.ok(where.inside && where.dw <= 2 && where.dh <= 2, `${name}: ${JSON.stringify(where)}`);
        if (where.upright) assert.ok(where.controlsTop >= where.bottom, `${name}: the controls cover the picture`);
      }
      await page.keyboard.press('Escape');
      await untilEnded(page);
    });

    await t.test('two runs without touches agree page for page, and the left control changes them', async () => {
      await page.emulate(KnownDevices['Pixel 5 landscape']);
      const quiet = await run(page);
      assert.equal(quiet.length, kPage);
      await page.keyboard.press('Escape');
      assert.deepEqual(await run(page), quiet, 'two runs without touches differ');
      await page.keyboard.press('Escape');

      let thumb;
      const steered = await run(page, async () => {
        await untilPage(page, kPressAt);
        const left = await controlAt(page, 'turn-left'), dive = await controlAt(page, 'dive');
        thumb = await page.touchscreen.touchStart(left.x, left.y);
        // A second finger dives while the first turns, and lifts alone.
        await untilPage(page, kPressAt + 2);
        const finger = await page.touchscreen.touchStart(dive.x, dive.y);
        assert.deepEqual(await held(page), ['turn-left', 'dive']);
        await untilPage(page, kPressAt + 4);
        await finger.end();
        assert.deepEqual(await held(page), ['turn-left']);
      });
      assert.notDeepEqual(steered.at(-1), quiet.at(-1), 'holding the left control left the game as it was');
      // A thumb slides from one control to the next.
      const right = await controlAt(page, 'turn-right');
      await thumb.move(right.x, right.y);
      assert.deepEqual(await held(page), ['turn-right']);
      await thumb.end();
      assert.deepEqual(await held(page), []);
    });

    await t.test('the controls step aside while a key or a pad is used, and come back at a touch', async () => {
      await page.keyboard.press('ArrowRight');
      assert.ok(!(await controlsShown(page)), 'shown after a key');
      await page.touchscreen.tap(400, 20);
      assert.ok(await controlsShown(page), 'not shown again at a touch');
      // The page reads pads from navigator.getGamepads(); this one's A is pressed.
      await page.evaluate(() => {
        const buttons = Array.from({length: 17}, (_, i) => ({pressed: i === 0, value: i === 0 ? 1 : 0}));
        const pad = {connected: true, index: 0, id: 'test pad', mapping: 'standard', timestamp: 0, axes: [0, 0, 0, 0],
                     buttons};
        navigator.getGamepads = () => [pad];
      });
      await page.waitForFunction(() => getComputedStyle(skyring.controls).display === 'none');
    });

    assert.deepEqual(complaints(said), [], 'console warnings and errors');
  } finally {
    await close();
    site.stop();
  }
});
