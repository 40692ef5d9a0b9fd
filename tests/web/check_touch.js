// The page on a touch screen and in narrow windows, in headless Chromium:
//   layout    at 400 and 320 CSS pixels wide the whole canvas is on the
//             page, scaled down, still 4:3; on a touch screen it fills the
//             viewport, and the page names the gestures
//   gestures  with touch emulated (CDP), each gesture is judged against an
//             untouched run of the same game (?tick=N) over the same
//             interval, since chasers move the floor by themselves:
//             a one-finger drag up or left moves the ball that way (the
//             floor, followed by the camera, slides the other way), a pinch
//             grows the green ball, then stops zooming, a two-finger drag
//             up tilts the view down, a double tap starts a new game (one
//             sudden change among consecutive frames)
// Prints the figures; exits 1 on a failed check.
//   node check_touch.js --site DIR --executable CHROMIUM --work DIR
'use strict';
const tools = require('./page_tools');
const { check, openPage, sleep } = tools;

// Loads the game with touch emulated and runs script(finger, c): finger(type,
// points) sends a touch event only when live, finger.page is the page, c the
// canvas's centre.
async function run(session, url, live, script) {
  const page = await openPage(session, url, { touch: true, viewport: { width: 740, height: 680 } });
  try {
    const box = await page.evaluate(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
    });
    // The page times gestures by the events' stamps, and a busy page
    // handles them late: each is stamped on the gesture's own clock, which
    // finger.wait advances by exactly what it waits.
    let clock = null;
    const finger = async (type, points) => {
      if (clock === null) clock = Date.now();
      if (live) {
        await page.cdp.send('Input.dispatchTouchEvent',
          { type, touchPoints: points.map(([x, y], id) => ({ x, y, id })), timestamp: clock / 1000 });
      }
    };
    finger.wait = async (ms) => { if (clock !== null) clock += ms; await sleep(ms); };
    finger.page = page;
    return await script(finger, box);
  } finally {
    await page.close();
  }
}

// Moves the given fingers from their starts to their ends in steps.
async function slide(finger, from, to, steps, ms) {
  for (let s = 1; s <= steps; ++s) {
    await finger('touchMove', from.map(([x, y], i) => [x + (to[i][0] - x) * s / steps, y + (to[i][1] - y) * s / steps]));
    await finger.wait(ms);
  }
}

// A held one-finger drag by (dx, dy): the floor's shift summed over six
// pairs of consecutive frames while the finger stays.
const drag = (dx, dy) => async (finger, c) => {
  await finger('touchStart', [[c.x, c.y]]);
  await slide(finger, [[c.x, c.y]], [[c.x + dx, c.y + dy]], 6, 30);
  await finger.wait(500);
  const sum = [0, 0];
  for (let i = 0; i < 6; ++i) {
    const [a, b] = await tools.grab(finger.page, 2);
    const [sx, sy] = tools.floorShift(a, b);
    sum[0] += sx; sum[1] += sy;
  }
  await finger('touchEnd', []);
  return sum;
};

// A pinch that then rests: the ball's size just after, and half a second
// later with the fingers still down.
const pinch = async (finger, c) => {
  const from = [[c.x - 40, c.y], [c.x + 40, c.y]], to = [[c.x - 120, c.y], [c.x + 120, c.y]];
  await finger('touchStart', from);
  await slide(finger, from, to, 4, 40);
  // The zoom coasts on for a moment after the layer lets go of the key:
  // judged once that is over, as the zoom keys' checks do.
  await finger.wait(1200);
  const [after] = await tools.grab(finger.page, 1);
  await finger.wait(500);
  const [later] = await tools.grab(finger.page, 1);
  await finger('touchEnd', []);
  return [tools.greenPixels(after), tools.greenPixels(later)];
};

const tilt = async (finger, c) => {
  const from = [[c.x - 60, c.y + 120], [c.x + 60, c.y + 120]], to = [[c.x - 60, c.y - 120], [c.x + 60, c.y - 120]];
  await finger('touchStart', from);
  await slide(finger, from, to, 10, 30);
  await finger('touchEnd', []);
  await finger.wait(300);
  return tools.gridLines((await tools.grab(finger.page, 1))[0], [0.125, 0.25, 0.75, 0.875]);
};

// The frames' changes over 40 frames from just before the first tap.
const doubleTap = (finger, c) => tools.frameChanges(finger.page, 40, async () => {
  for (let i = 0; i < 2; ++i) {
    await finger('touchStart', [[c.x, c.y]]);
    await finger.wait(40);
    await finger('touchEnd', []);
    await finger.wait(100);
  }
});

// The script's result untouched, then touched.
const pair = async (session, url, script) => [await run(session, url, false, script), await run(session, url, true, script)];

tools.runChecks(async ({ session, url }) => {
  // Where the canvas lies in a viewport of that size, with or without a
  // touch screen, and whether the page names the gestures.
  for (const [width, height, touch] of [[400, 700, false], [320, 700, false], [360, 640, true], [740, 360, true]]) {
    const page = await openPage(session, url, { touch, viewport: { width, height } });
    const r = await page.evaluate(() => {
      const b = document.getElementById('canvas').getBoundingClientRect();
      return { left: b.left, right: b.right, top: b.top, bottom: b.bottom, width: b.width, height: b.height,
        gestures: (document.querySelector('.gestures') || {}).offsetHeight > 0 };
    });
    await page.close();
    const what = `${width} x ${height}${touch ? ' touch screen' : ''}`;
    console.log(`${what}: canvas ${r.width.toFixed(1)} x ${r.height.toFixed(1)} from (${r.left.toFixed(1)}, ${r.top.toFixed(1)}) ` +
      `to (${r.right.toFixed(1)}, ${r.bottom.toFixed(1)}); gestures named: ${r.gestures}`);
    const whole = r.left >= 0 && r.right <= width && Math.abs(r.width / r.height - 4 / 3) < 0.01;
    if (!touch) check(whole && r.width < 640 && !r.gestures, `${what}: the whole canvas is visible, scaled down, 4:3`);
    if (touch) {
      check(whole && r.bottom <= height && (r.width >= 0.95 * width || r.height >= 0.7 * height),
        `${what}: the canvas fills the viewport, whole, 4:3`);
      check(r.gestures, `${what}: the page names the gestures`);
    }
  }

  const [stillUp, up] = await pair(session, url, drag(0, -90));
  const [stillLeft, left] = await pair(session, url, drag(-90, 0));
  console.log(`floor shift over 6 frames [dx, dy]: drag up ${up} (untouched ${stillUp}), drag left ${left} (untouched ${stillLeft})`);
  check(up[1] - stillUp[1] >= 6, 'a drag up pushes the ball up the screen: the floor slides down');
  check(left[0] - stillLeft[0] >= 6, 'a drag left pushes the ball left: the floor slides right');

  const [stillPinch, pinched] = await pair(session, url, pinch);
  console.log(`player ball after a pinch: ${pinched[0]} pixels, ${pinched[1]} 0.5 s later with the fingers resting (untouched ${stillPinch[0]})`);
  check(pinched[0] > stillPinch[0] * 1.2, 'a pinch grows the green ball');
  // A zoom key left held would have reached the closest view by then: some
  // forty times the ball's pixels. With the fingers resting, balls passing
  // in front of the player's hid up to a quarter of it in one grab and not
  // in the other (6,334 then 5,017 pixels; 4,920 then 6,650), so only
  // growth by more than half counts as zooming on.
  check(pinched[1] < pinched[0] * 1.5 && pinched[1] < stillPinch[0] * 8, 'the zoom stops when the fingers rest');

  const [stillTilt, tilted] = await pair(session, url, tilt);
  console.log(`grid lines down the column: ${tilted} after a two-finger drag up, ${stillTilt} untouched`);
  check(tilted < stillTilt, 'a two-finger drag up tilts the view down');

  // A new game moves every ball and the camera at once: one frame differs
  // from the one before far more than play ever changes a frame. Not judged
  // on the share of pixels that differ from the untouched run: two new
  // games' first frames differed in as little as 23% of their pixels, and
  // in under half of them in 3% of pairs.
  const [stillSteps, tapSteps] = await pair(session, url, doubleTap);
  const biggest = Math.max(...tapSteps), calm = Math.max(...stillSteps);
  const typical = tools.median(tapSteps);
  const percent = (share) => `${(share * 100).toFixed(1)}%`;
  console.log(`double tap: ${percent(biggest)} of pixels change at once, ${percent(typical)} from frame to frame ` +
    `(median); untouched, over the same frames: ${percent(calm)} at most`);
  check(biggest > 0.2 && biggest > 3 * typical && biggest > 2 * calm, 'a double tap starts a new game');
});
