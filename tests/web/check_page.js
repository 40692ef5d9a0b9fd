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
const { launch, serve } = require('./browser');
const tools = require('./page_tools');
const { decode } = tools;
const pageKeys = require('./page_keys');
const pageFocus = require('./page_focus');
const pageContextLoss = require('./page_context_loss');
const pageExitLine = require('./page_exit_line');

const args = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) args[process.argv[i].slice(2)] = process.argv[i + 1];
const W = 640, H = 480, TICK = 1000;
const { check, finish } = tools.checks();
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Before the page's scripts: frames can be grabbed from inside the frame
// hook, while the drawing buffer still holds them; grabs are top-down RGBA.
function installGrabber() {
  let pageHook = null, wanted = 0, grabs = [], done = null;
  window.__first = null;
  Object.defineProperty(window, 'drovaneOnFrame', {
    set(f) { pageHook = f; },
    get() {
      return (count) => {
        if (pageHook) pageHook(count);
        if (count !== 1 && wanted === 0) return;
        const canvas = document.getElementById('canvas');
        const gl = canvas.getContext('webgl2');
        const px = new Uint8Array(canvas.width * canvas.height * 4);
        gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, px);
        let s = '';
        for (let i = 0; i < px.length; i += 8192) s += String.fromCharCode.apply(null, px.subarray(i, i + 8192));
        const grab = { w: canvas.width, h: canvas.height, data: btoa(s), at: performance.now() };
        if (count === 1) window.__first = grab;
        if (wanted > 0) { grabs.push(grab); if (--wanted === 0) done(grabs); }
      };
    },
  });
  const request = Element.prototype.requestFullscreen;
  Element.prototype.requestFullscreen = function (...options) {
    return window.__refuseFullscreen ? Promise.reject(new TypeError('refused')) : request.apply(this, options);
  };
  window.__grab = (n) => new Promise((resolve) => { grabs = []; wanted = n; done = resolve; });
}

function readPpm(file) {
  const buf = fs.readFileSync(file);
  const m = /^P6\s+(\d+)\s+(\d+)\s+255\s/.exec(buf.toString('latin1', 0, 32));
  return { w: +m[1], h: +m[2], rgb: buf.subarray(m[0].length) };
}

function writePpm(file, img) {
  fs.writeFileSync(file, Buffer.concat([Buffer.from(`P6\n${img.w} ${img.h}\n255\n`), img.rgb]));
}

const differingShare = (a, b) => {
  let n = 0;
  for (let i = 0; i < a.rgb.length; i += 3) {
    if (Math.abs(a.rgb[i] - b.rgb[i]) > 8 || Math.abs(a.rgb[i + 1] - b.rgb[i + 1]) > 8 ||
        Math.abs(a.rgb[i + 2] - b.rgb[i + 2]) > 8) ++n;
  }
  return n / (a.w * a.h);
};

const greenPixels = (img) => {
  let n = 0;
  for (let i = 0; i < img.rgb.length; i += 3) if (img.rgb[i + 1] > 150 && img.rgb[i] < 110 && img.rgb[i + 2] < 110) ++n;
  return n;
};

const lum = (img, x, y) => { const i = (y * img.w + x) * 3; return img.rgb[i] + img.rgb[i + 1] + img.rgb[i + 2]; };

// Rows of the floor's grid met going down the middle column: fewer when the
// view looks more steeply down.
const gridLines = (img) => {
  let n = 0;
  for (let y = 1; y < img.h; ++y) if (Math.abs(lum(img, img.w >> 2, y) - lum(img, img.w >> 2, y - 1)) > 90) ++n;
  return n;
};

// How far the lower half moved down between two frames (pixels, + towards
// the viewer): the shift that matches them best.
function downShift(a, b) {
  let best = 0, bestCost = Infinity;
  for (let s = -12; s <= 12; ++s) {
    let cost = 0;
    for (let y = a.h / 2 + 20; y < a.h - 20; y += 2) {
      for (let x = 0; x < a.w; x += 4) cost += Math.abs(lum(a, x, y) - lum(b, x, y + s));
    }
    if (cost < bestCost) { bestCost = cost; best = s; }
  }
  return best;
}

async function main() {
  fs.mkdirSync(args.work, { recursive: true });
  const server = await serve(args.site);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const profile = fs.mkdtempSync(path.join(args.work, 'profile-'));
  const name = args.browser || 'chromium';
  const session = await launch({ name, executable: args.executable, work: args.work, width: W + 100, height: H + 200 });
  const browser = session.browser;
  try {
    const page = await browser.newPage();
    if (name === 'firefox') for (const p of await browser.pages()) if (p !== page) await p.close();
    page.on('pageerror', (e) => console.log('page error:', e.message));
    await page.evaluateOnNewDocument(installGrabber);
    const loadStart = Date.now();
    await page.goto(`${url}?tick=${TICK}`);
    await page.waitForFunction(() => window.__first !== null, { timeout: 60000 });
    const firstMs = await page.evaluate(() => window.drovaneFirstFrameMs);
    console.log(`first frame ${Math.round(firstMs)} ms after the page's script started (${Date.now() - loadStart} ms after navigation, measured outside)`);

    // The picture.
    const web = decode(await page.evaluate(() => window.__first));
    const nativeFile = path.join(args.work, 'native.ppm');
    execFileSync(args.native, [String(TICK), nativeFile], {
      env: { ...process.env, HOME: profile, XDG_CONFIG_HOME: '' }, stdio: 'inherit' });
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
    const median = busy[busy.length >> 1], mean = busy.reduce((a, b) => a + b, 0) / busy.length;
    const at = (p) => busy[Math.min(busy.length - 1, Math.floor(p * busy.length))].toFixed(2);
    console.log(`${((after.n - before.n) / 5).toFixed(1)} frames per second; main thread per frame: median ${median.toFixed(2)} ms, ` +
      `p90 ${at(0.9)}, p99 ${at(0.99)}, max ${busy[busy.length - 1].toFixed(2)}, mean ${mean.toFixed(2)} ms`);
    check(median < 3, `main-thread time per frame ${median.toFixed(2)} ms (median) under 3 ms`);

    // Controls.
    const grab = async (n) => (await page.evaluate((k) => window.__grab(k), n)).map(decode);
    const hold = async (key, ms) => { await page.keyboard.down(key); await sleep(ms); const g = await grab(1); await page.keyboard.up(key); return g[0]; };
    const still = (await grab(1))[0];
    const bigger = await hold('Equal', 700);
    const smaller = await hold('Minus', 1400);
    console.log(`player ball: ${greenPixels(still)} pixels, ${greenPixels(bigger)} after +, ${greenPixels(smaller)} after -`);
    check(greenPixels(bigger) > greenPixels(still) * 1.2, '+ zooms in');
    check(greenPixels(smaller) < greenPixels(bigger) / 1.5, '- zooms out');

    const flat = (await grab(1))[0];
    await page.mouse.move(200 + W / 2, 100 + H / 2);
    for (let i = 0; i < 6; ++i) { await page.mouse.wheel({ deltaY: 100 }); await sleep(30); }
    // Judged on the first frame that shows a tilt, within 2 s: a browser
    // may hand synthetic wheel events on a little later than keys.
    let steep = null;
    for (const until = Date.now() + 2000; Date.now() < until;) {
      steep = (await grab(1))[0];
      if (gridLines(steep) < gridLines(flat)) break;
      await sleep(100);
    }
    console.log(`grid lines down the column: ${gridLines(flat)} before the wheel, ${gridLines(steep)} after`);
    check(gridLines(steep) < gridLines(flat), 'the wheel tilts the view down');

    await page.keyboard.down('ArrowUp');
    await sleep(600);
    const shifts = [];
    for (let i = 0; i < 12; ++i) { const [a, b] = await grab(2); shifts.push(downShift(a, b)); }
    await page.keyboard.up('ArrowUp');
    const towards = shifts.filter((s) => s > 0).length;
    console.log(`floor shifts while Up is held: ${shifts.join(' ')}`);
    check(towards > shifts.length / 2, 'holding Up slides the floor towards the viewer');

    // A new game: one sudden change among consecutive frames, far above
    // what a frame of play changes.
    // The series is asked for before the key goes: on a busy machine the
    // request could otherwise arrive after the new game began.
    await page.evaluate(() => { window.__series = window.__grab(30); });
    await sleep(150);
    await page.keyboard.press('KeyR');
    const frames = (await page.evaluate(() => window.__series)).map(decode);
    const steps = frames.slice(1).map((f, i) => differingShare(frames[i], f));
    const biggest = Math.max(...steps);
    const typical = steps.slice().sort((a, b) => a - b)[steps.length >> 1];
    console.log(`frame to frame: ${(typical * 100).toFixed(1)}% of pixels change (median), ${(biggest * 100).toFixed(1)}% at most (r)`);
    check(biggest > 0.2 && biggest > 3 * typical, 'r starts a new game');

    // Full screen: granted, then refused as a browser may (a setting, an
    // iframe without permission).
    const screen = () => page.evaluate(() => {
      const c = document.getElementById('canvas');
      return { full: !!document.fullscreenElement, w: c.width, h: c.height, frames: window.drovaneFrames.count };
    });
    const altEnter = async () => {
      await page.keyboard.down('Alt'); await page.keyboard.press('Enter'); await page.keyboard.up('Alt');
      await sleep(1000);
      return screen();
    };
    const full = await altEnter();
    const back = await altEnter();
    console.log(`Alt+Enter: ${JSON.stringify(full)}, again: ${JSON.stringify(back)}`);
    check(full.full && full.w === 1024 && full.h === 768, 'Alt+Enter: full screen, 1024x768');
    check(!back.full && back.w === W && back.h === H && back.frames > full.frames, 'Alt+Enter again: back in the window');
    await page.evaluate(() => { window.__refuseFullscreen = true; });
    await page.keyboard.down('Alt'); await page.keyboard.press('Enter'); await page.keyboard.up('Alt');
    await sleep(1000);
    const refused = await screen();
    await sleep(500);
    const later = await screen();
    console.log(`refused Alt+Enter: ${JSON.stringify(refused)}, then ${later.frames - refused.frames} more frames`);
    check(!refused.full && refused.w === W && later.frames > refused.frames, 'a refused full screen leaves the game running in its window');

    // Settings: the player ball blue instead of green, after a reload.
    await page.evaluate(() => localStorage.setItem('drovane.settings.reg',
      'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\r\n"Color4"=dword:00ff0000\r\n'));
    await page.reload();
    await page.waitForFunction(() => window.__first !== null, { timeout: 60000 });
    const recoloured = decode(await page.evaluate(() => window.__first));
    let blue = 0;
    for (let i = 0; i < recoloured.rgb.length; i += 3) {
      if (recoloured.rgb[i] < 110 && recoloured.rgb[i + 1] < 110 && recoloured.rgb[i + 2] > 150) ++blue;
    }
    console.log(`with Color4 blue in localStorage: ${greenPixels(recoloured)} green and ${blue} blue pixels`);
    check(greenPixels(recoloured) < 50 && blue > greenPixels(web) / 2, 'the colours come from localStorage');
    await page.evaluate(() => localStorage.removeItem('drovane.settings.reg'));
    await page.reload();
    await page.waitForFunction(() => window.__first !== null, { timeout: 60000 });

    const checks = { session, page, check, grab, sleep, decode, differingShare, url: `${url}?tick=${TICK}` };
    // A window on the private display gets the keyboard as a user's click
    // gives it, through the window manager: the page's window, by its title.
    checks.focusWindow = async (on) => {
      const env = on.env;
      const game = execFileSync('xdotool', ['search', '--sync', '--onlyvisible', '--name', 'Drovane 3D'], { env })
        .toString().trim().split('\n')[0];
      execFileSync('xdotool', ['windowactivate', '--sync', game], { env });
      execFileSync('xdotool', ['mousemove', '--window', game, String(W / 2 + 50), String(H / 2 + 100), 'click', '1'], { env });
      await sleep(300);
      return game;
    };
    await pageKeys.run(checks);
    await pageFocus.run(checks);
    if (!session.display) {
      // Chromium's window switch needs a real display: a second, headed session.
      const headed = await launch({ name, executable: args.executable, work: args.work, width: W + 100, height: H + 200, headed: true });
      try {
        const other = await headed.browser.newPage();
        await other.evaluateOnNewDocument(installGrabber);
        await other.goto(`${url}?tick=${TICK}`);
        await other.waitForFunction(() => window.__first !== null, { timeout: 60000 });
        await pageFocus.runWindowSwitch({ ...checks, session: headed, page: other });
      } finally {
        await headed.close();
      }
    }
    await pageContextLoss.run(checks);
    await pageExitLine.run(checks);
  } finally {
    await session.close();
    server.close();
  }
  finish();
}

main().catch((e) => { console.error(e); process.exit(1); });
