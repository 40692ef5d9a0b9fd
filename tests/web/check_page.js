// Browser checks of the web build, in headless Chromium or in Firefox (in a
// window on a private X display; browser.js):
//   picture   the first frame at ?tick=1000 against the native build's
//             (web_native_frame): under 0.5% of pixels may differ by more
//             than 8/255 in a channel
//   controls  judged from the canvas: holding Up slides the floor towards
//             the viewer, + and - zoom (the green player ball grows and
//             shrinks), the wheel tilts (the floor's rows spread), r starts
//             a new game (one sudden change)
//   speed     frames in 5 s of real time, main-thread ms per frame (< 3)
//   screen    Alt+Enter: full screen at 1024x768 and back; refused by the
//             browser, the game goes on in its window
//   settings  a settings file in localStorage recolours the player ball
//   layouts   the zoom keys in the US, German and French layouts (page_keys.js)
//   focus     paused without the keyboard, animating again once it is back,
//             with no input (page_focus.js)
//   context   a lost WebGL context survived (page_context_loss.js)
//   exit      the status line after a failure (page_exit_line.js)
// Prints the figures; exits 1 on a failed check.
//   node check_page.js --site DIR --native EXE --browser chromium|firefox --executable EXE --work DIR
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const { launch } = require('./browser');
const { args, check, runChecks, openPage, firstFrame, grab, frameChanges, median, decode, differingShare, countPixels,
  greenPixels, gridLines, floorShift, frames, sleep } = require('./page_tools');
const pageKeys = require('./page_keys');
const pageFocus = require('./page_focus');
const pageContextLoss = require('./page_context_loss');
const pageExitLine = require('./page_exit_line');

const W = 640, H = 480;
const size = { width: W + 100, height: H + 200 };

function readPpm(file) {
  const buf = fs.readFileSync(file);
  const m = /^P6\s+(\d+)\s+(\d+)\s+255\s/.exec(buf.toString('latin1', 0, 32));
  return { w: +m[1], h: +m[2], rgb: buf.subarray(m[0].length) };
}

function writePpm(file, img) {
  fs.writeFileSync(file, Buffer.concat([Buffer.from(`P6\n${img.w} ${img.h}\n255\n`), img.rgb]));
}

runChecks(async ({ session, url }) => {
  const loadStart = Date.now();
  const page = await openPage(session, url);
  if (session.name === 'firefox') for (const p of await session.browser.pages()) if (p !== page) await p.close();
  const firstMs = await page.evaluate(() => window.drovaneFirstFrameMs);
  console.log(`first frame ${Math.round(firstMs)} ms after the page's script started (${Date.now() - loadStart} ms after navigation, measured outside)`);

  // The picture.
  const web = decode(await page.evaluate(() => window.__first));
  const nativeFile = path.join(args.work, 'native.ppm');
  execFileSync(args.native, [/tick=(\d+)/.exec(url)[1], nativeFile], {
    env: { ...process.env, HOME: fs.mkdtempSync(path.join(args.work, 'home-')), XDG_CONFIG_HOME: '' }, stdio: 'inherit' });
  const native = readPpm(nativeFile);
  writePpm(path.join(args.work, 'web.ppm'), web);
  const share = differingShare(web, native);
  check(web.w === native.w && web.h === native.h, `frame sizes ${web.w}x${web.h} and ${native.w}x${native.h}`);
  check(share < 0.005, `first frame against native: ${(share * 100).toFixed(3)}% of pixels differ by more than 8/255`);

  // Speed: 5 s of real time.
  await sleep(1000);
  const before = await page.evaluate(() => ({ n: window.drovaneFrames.count, s: window.drovaneFrames.samples.length }));
  await sleep(5000);
  const after = await page.evaluate((s) => ({ n: window.drovaneFrames.count, busy: window.drovaneFrames.samples.slice(s) }), before.s);
  const busy = after.busy.sort((a, b) => a - b);
  const busyMedian = median(busy), mean = busy.reduce((a, b) => a + b, 0) / busy.length;
  const at = (p) => busy[Math.min(busy.length - 1, Math.floor(p * busy.length))].toFixed(2);
  console.log(`${((after.n - before.n) / 5).toFixed(1)} frames per second; main thread per frame: median ${busyMedian.toFixed(2)} ms, ` +
    `p90 ${at(0.9)}, p99 ${at(0.99)}, max ${busy[busy.length - 1].toFixed(2)}, mean ${mean.toFixed(2)} ms`);
  check(busyMedian < 3, `main-thread time per frame ${busyMedian.toFixed(2)} ms (median) under 3 ms`);

  // Controls.
  const hold = async (key, ms) => { await page.keyboard.down(key); await sleep(ms); const [g] = await grab(page, 1); await page.keyboard.up(key); return g; };
  const [still] = await grab(page, 1);
  const bigger = await hold('Equal', 700);
  const smaller = await hold('Minus', 1400);
  console.log(`player ball: ${greenPixels(still)} pixels, ${greenPixels(bigger)} after +, ${greenPixels(smaller)} after -`);
  check(greenPixels(bigger) > greenPixels(still) * 1.2, '+ zooms in');
  check(greenPixels(smaller) < greenPixels(bigger) / 1.5, '- zooms out');

  // A new game: one sudden change among consecutive frames, far above
  // what a frame of play changes. Judged on the camera's own view, before
  // the wheel tilts it: with the floor filling the view, play alone changed
  // 13 % of the pixels from frame to frame, too close to a new game's 30 %.
  const steps = await frameChanges(page, 30, () => page.keyboard.press('KeyR'));
  const biggest = Math.max(...steps);
  const typical = median(steps);
  console.log(`frame to frame: ${(typical * 100).toFixed(1)}% of pixels change (median), ${(biggest * 100).toFixed(1)}% at most (r)`);
  check(biggest > 0.2 && biggest > 3 * typical, 'r starts a new game');

  // Once the zoom has stopped coasting; four columns, so that a ball
  // crossing one hardly sways the count.
  const lines = (img) => gridLines(img, [0.125, 0.25, 0.75, 0.875]);
  await sleep(1200);
  const [flat] = await grab(page, 1);
  await page.mouse.move(200 + W / 2, 100 + H / 2);
  for (let i = 0; i < 6; ++i) { await page.mouse.wheel({ deltaY: 100 }); await sleep(30); }
  // Judged on the first frame that shows a tilt, within 2 s: a browser
  // may hand synthetic wheel events on a little later than keys.
  let steep = null;
  for (const until = Date.now() + 2000; Date.now() < until;) {
    [steep] = await grab(page, 1);
    if (lines(steep) < lines(flat)) break;
    await sleep(100);
  }
  console.log(`grid lines down four columns: ${lines(flat)} before the wheel, ${lines(steep)} after`);
  check(lines(steep) < lines(flat), 'the wheel tilts the view down');

  // Up moves the view straight on: the floor shifts down only. By now the
  // chasers may have reached the player's ball, and a crowd can throw it
  // back while Up is held; a failed judgement is tried once more, from
  // wherever the ball has got to.
  const slidesTowardsViewer = async () => {
    await page.keyboard.down('ArrowUp');
    await sleep(600);
    const shifts = [];
    for (let i = 0; i < 12; ++i) shifts.push(floorShift(...await grab(page, 2), 0)[1]);
    await page.keyboard.up('ArrowUp');
    console.log(`floor shifts while Up is held: ${shifts.join(' ')}`);
    return shifts.filter((s) => s > 0).length > shifts.length / 2;
  };
  check(await slidesTowardsViewer() || await slidesTowardsViewer(), 'holding Up slides the floor towards the viewer');

  // Full screen: granted, then refused as a browser may.
  const altEnter = async () => {
    await page.keyboard.down('Alt'); await page.keyboard.press('Enter'); await page.keyboard.up('Alt');
    await sleep(1000);
    return page.evaluate(() => {
      const c = document.getElementById('canvas');
      return { full: !!document.fullscreenElement, w: c.width, h: c.height, frames: window.drovaneFrames.count };
    });
  };
  const full = await altEnter();
  const back = await altEnter();
  console.log(`Alt+Enter: ${JSON.stringify(full)}, again: ${JSON.stringify(back)}`);
  check(full.full && full.w === 1024 && full.h === 768, 'Alt+Enter: full screen, 1024x768');
  check(!back.full && back.w === W && back.h === H && back.frames > full.frames, 'Alt+Enter again: back in the window');
  await page.evaluate(() => { window.__refuseFullscreen = true; });
  const refused = await altEnter();
  await sleep(500);
  const later = await frames(page);
  console.log(`refused Alt+Enter: ${JSON.stringify(refused)}, then ${later - refused.frames} more frames`);
  check(!refused.full && refused.w === W && later > refused.frames, 'a refused full screen leaves the game running in its window');

  // Settings: the player ball blue instead of green, after a reload.
  await page.evaluate(() => localStorage.setItem('drovane.settings.reg',
    'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\r\n"Color4"=dword:00ff0000\r\n'));
  await page.reload();
  await firstFrame(page);
  const recoloured = decode(await page.evaluate(() => window.__first));
  const blue = countPixels(recoloured, (r, g, b) => r < 110 && g < 110 && b > 150);
  console.log(`with Color4 blue in localStorage: ${greenPixels(recoloured)} green and ${blue} blue pixels`);
  check(greenPixels(recoloured) < 50 && blue > greenPixels(web) / 2, 'the colours come from localStorage');
  await page.evaluate(() => localStorage.removeItem('drovane.settings.reg'));
  await page.reload();
  await firstFrame(page);

  const t = { session, page, url };
  await pageKeys.run(t);
  await pageFocus.run(t);
  if (!session.display) {
    // Chromium's window switch needs a real display: a second, headed session.
    const headed = await launch({ name: session.name, executable: args.executable, work: args.work, ...size, headed: true });
    try {
      await pageFocus.runWindowSwitch({ session: headed, page: await openPage(headed, url) });
    } finally {
      await headed.close();
    }
  }
  await pageContextLoss.run(t);
  await pageExitLine.run(t);
}, size);
