// A lost WebGL context (WEBGL_lose_context, as a GPU reset) is survived: with
// the game paused (the page without the keyboard) the status line tells of
// the loss, the restore repaints the canvas at once as it was (under 0.5% of
// pixels differ), and with the focus back the game animates again.
'use strict';
const { check, decode, differingShare, frames, sleep, status } = require('./page_tools');

// t: { page }
async function run(t) {
  // The last frame before the pause, grabbed as it is drawn; the blur comes
  // from the same frame's hook, before the program can draw another.
  const last = await t.page.evaluate(() => {
    let pending = true;
    window.drovaneOnFrame = () => {
      if (pending) window.dispatchEvent(new Event('blur'));
      pending = false;
    };
    const none = new Promise((resolve) => setTimeout(() => resolve(null), 5000));
    return Promise.race([window.__grab(1).then((g) => g[0]), none]);
  });
  check(last !== null, 'a frame drawn before the context is lost');
  if (last === null) return;
  const before = decode(last);
  await t.page.evaluate(() => {
    window.__loser = document.getElementById('canvas').getContext('webgl2').getExtension('WEBGL_lose_context');
    window.__loser.loseContext();
  });
  await sleep(500);
  const lostLine = await status(t.page);
  const pausedAt = await frames(t.page);
  const repaint = t.page.evaluate(() => window.__grab(1));
  await t.page.evaluate(() => window.__loser.restoreContext());
  const after = await Promise.race([repaint.then((g) => decode(g[0])), sleep(5000).then(() => null)]);
  const restoredLine = await status(t.page);
  const share = after ? differingShare(before, after) : 1;
  console.log(`context lost while paused: status "${lostLine}"; after the restore: ` +
    `${after ? `repainted, ${(share * 100).toFixed(3)}% of pixels differ from before` : 'no repaint in 5 s'}, status "${restoredLine}"`);
  check(/lost/i.test(lostLine), 'the status line tells of the lost context');
  check(after !== null && share < 0.005, 'restored: repainted at once, as before the loss, while paused');
  check(restoredLine === '', 'restored: the status line is clear again');
  await t.page.evaluate(() => window.dispatchEvent(new Event('focus')));
  await sleep(1000);
  const moving = (await frames(t.page)) - pausedAt;
  console.log(`with the focus back: ${moving} frames in 1 s`);
  check(moving >= 10, 'restored: with the focus back the game animates again');
}

module.exports = { run };
