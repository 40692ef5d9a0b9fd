// The game pauses without the keyboard and animates again, with no input,
// once the page has it back: after a window switch (a second browser window
// takes the focus and gives it back, on a real X display) and after a tab
// switch, with the page's focus and visibility events in either order.
'use strict';
const { execFileSync } = require('child_process');
const { focusWindow } = require('./browser');
const { check, frames, sleep } = require('./page_tools');

// Frames drawn in `ms` of real time.
async function framesIn(t, ms) {
  const before = await frames(t.page);
  await sleep(ms);
  return (await frames(t.page)) - before;
}

// Synthetic events, as a tab switch sends them (document.hidden follows),
// each in a task of its own with the program waiting in between.
async function tab(t, events) {
  for (const e of events) {
    await t.page.evaluate((event) => {
      if (event === 'hidden' || event === 'visible') {
        Object.defineProperty(document, 'hidden', { configurable: true, get: () => event === 'hidden' });
        Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => event });
        document.dispatchEvent(new Event('visibilitychange'));
      } else {
        window.dispatchEvent(new Event(event));
      }
    }, e);
    await sleep(200);
  }
}

// t: { session, page }
async function run(t) {
  const orders = [['visible', 'focus'], ['focus', 'visible']];
  for (const back of orders) {
    await tab(t, ['blur', 'hidden']);
    const paused = await framesIn(t, 700);
    await tab(t, back);
    const again = await framesIn(t, 1000);
    console.log(`tab switch, back with ${back.join(' then ')}: ${paused} frames while away, ${again} in the second after`);
    check(paused <= 1 && again >= 10, `tab switch (${back.join(' then ')}): paused, then animates again without input`);
  }
  if (t.session.display) await runWindowSwitch(t);
}

// On a real display: t.session is headed.
async function runWindowSwitch(t) {
  const env = t.session.env;
  const game = await focusWindow(t.session);
  const before = await framesIn(t, 700);
  const other = await t.session.browser.newPage({ type: 'window' });
  await sleep(1000);
  const away = await framesIn(t, 1000);
  execFileSync('xdotool', ['windowactivate', '--sync', game], { env });
  await sleep(300);
  const back = await framesIn(t, 1000);
  await other.close();
  console.log(`window switch: ${before} frames in 0.7 s before, ${away} in 1 s with another window focused, ${back} in 1 s after`);
  check(before >= 10 && away <= 1 && back >= 10, 'window switch: paused, then animates again without input');
}

module.exports = { run, runWindowSwitch };
