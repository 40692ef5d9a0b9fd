// A lost WebGL context (WEBGL_lose_context, as a GPU reset) is survived: with
// the game paused (the page without the keyboard) the status line tells of
// the loss, the restore repaints the canvas at once as it was (under 0.5% of
// pixels differ), and with the focus back the game animates again.
'use strict';

// t: { page, check, sleep, decode, differingShare }
async function run(t) {
  const status = () => t.page.evaluate(() => document.getElementById('status').textContent);
  const frames = () => t.page.evaluate(() => window.drovaneFrames.count);
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
  t.check(last !== null, 'a frame drawn before the context is lost');
  if (last === null) return;
  const before = t.decode(last);
  await t.page.evaluate(() => {
    window.__loser = document.getElementById('canvas').getContext('webgl2').getExtension('WEBGL_lose_context');
    window.__loser.loseContext();
  });
  await t.sleep(500);
  const lostLine = await status();
  const pausedAt = await frames();
  const repaint = t.page.evaluate(() => window.__grab(1));
  await t.page.evaluate(() => window.__loser.restoreContext());
  const after = await Promise.race([repaint.then((g) => t.decode(g[0])), t.sleep(5000).then(() => null)]);
  const restoredLine = await status();
  const share = after ? t.differingShare(before, after) : 1;
  console.log(`context lost while paused: status "${lostLine}"; after the restore: ` +
    `${after ? `repainted, ${(share * 100).toFixed(3)}% of pixels differ from before` : 'no repaint in 5 s'}, status "${restoredLine}"`);
  t.check(/lost/i.test(lostLine), 'the status line tells of the lost context');
  t.check(after !== null && share < 0.005, 'restored: repainted at once, as before the loss, while paused');
  t.check(restoredLine === '', 'restored: the status line is clear again');
  await t.page.evaluate(() => window.dispatchEvent(new Event('focus')));
  await t.sleep(1000);
  const moving = (await frames()) - pausedAt;
  console.log(`with the focus back: ${moving} frames in 1 s`);
  t.check(moving >= 10, 'restored: with the focus back the game animates again');
}

module.exports = { run };
