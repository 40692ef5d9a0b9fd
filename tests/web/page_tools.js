// Frames grabbed from the page's canvas, measures on them, and what every
// page check shares: its command line, its pass/fail tally, a page to check.
'use strict';
const { launch, serve, sleep } = require('./browser');

// Runs in the page before its scripts: window.__first is the first frame,
// window.__grab(n) resolves to the next n frames, read from inside the frame
// hook while the drawing buffer still holds them (top-down RGBA, base64).
// With window.__refuseFullscreen set, full screen is refused, as a browser
// may (a setting, an iframe without permission).
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
        const grab = { w: canvas.width, h: canvas.height, data: btoa(s) };
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

async function grab(page, n) {
  return (await page.evaluate((k) => window.__grab(k), n)).map(decode);
}

// The share of pixels that change from each frame to the next over n
// frames from just before act() runs. The frames are asked for first: on a
// busy page the request could otherwise arrive after act() took effect.
async function frameChanges(page, n, act) {
  await page.evaluate((k) => { window.__series = window.__grab(k); }, n);
  await sleep(150);
  await act();
  const series = (await page.evaluate(() => window.__series)).map(decode);
  return series.slice(1).map((f, i) => differingShare(series[i], f));
}

function median(values) {
  return values.slice().sort((a, b) => a - b)[values.length >> 1];
}

// RGB, top row first.
function decode(grab) {
  const raw = Buffer.from(grab.data, 'base64');
  const out = Buffer.alloc(grab.w * grab.h * 3);
  for (let y = 0; y < grab.h; ++y) {
    for (let x = 0; x < grab.w; ++x) {
      const s = ((grab.h - 1 - y) * grab.w + x) * 4, d = (y * grab.w + x) * 3;
      out[d] = raw[s]; out[d + 1] = raw[s + 1]; out[d + 2] = raw[s + 2];
    }
  }
  return { w: grab.w, h: grab.h, rgb: out };
}

// Share of pixels that differ by more than 8/255 in a channel.
function differingShare(a, b) {
  let n = 0;
  for (let i = 0; i < a.rgb.length; i += 3) {
    if (Math.abs(a.rgb[i] - b.rgb[i]) > 8 || Math.abs(a.rgb[i + 1] - b.rgb[i + 1]) > 8 ||
        Math.abs(a.rgb[i + 2] - b.rgb[i + 2]) > 8) ++n;
  }
  return n / (a.w * a.h);
}

// Pixels of a colour (r, g, b) -> bool; green is the player's ball.
const green = (r, g, b) => g > 150 && r < 110 && b < 110;
function countPixels(img, colour) {
  let n = 0;
  for (let i = 0; i < img.rgb.length; i += 3) if (colour(img.rgb[i], img.rgb[i + 1], img.rgb[i + 2])) ++n;
  return n;
}
const greenPixels = (img) => countPixels(img, green);

const lum = (img, x, y) => { const i = (y * img.w + x) * 3; return img.rgb[i] + img.rgb[i + 1] + img.rgb[i + 2]; };

// Rows of the floor's grid met going down columns (at these shares of the
// width): fewer when the view looks more steeply down.
function gridLines(img, columns) {
  let n = 0;
  for (const c of columns) {
    const x = Math.floor(c * img.w);
    for (let y = 1; y < img.h; ++y) if (Math.abs(lum(img, x, y) - lum(img, x, y - 1)) > 90) ++n;
  }
  return n;
}

// How far the floor in the lower half moved from frame a to frame b: the
// shift [dx, dy] (pixels, + right and down, |dx| up to xRange) that
// matches them best.
function floorShift(a, b, xRange = 10) {
  let best = [0, 0], bestCost = Infinity;
  for (let sy = -10; sy <= 10; ++sy) {
    for (let sx = -xRange; sx <= xRange; ++sx) {
      let cost = 0;
      for (let y = a.h / 2 + 20; y < a.h - 20; y += 3) {
        for (let x = 20; x < a.w - 20; x += 5) cost += Math.abs(lum(a, x, y) - lum(b, x + sx, y + sy));
      }
      if (cost < bestCost) { bestCost = cost; best = [sx, sy]; }
    }
  }
  return best;
}

// Height of the green ball's bounding box: steadier than its pixel count,
// since another ball can hide part of it.
function greenHeight(img) {
  let top = -1, bottom = -1;
  for (let i = 0; i < img.rgb.length; i += 3) {
    if (green(img.rgb[i], img.rgb[i + 1], img.rgb[i + 2])) {
      const y = Math.floor(i / 3 / img.w);
      if (top < 0) top = y;
      bottom = y;
    }
  }
  return top < 0 ? 0 : bottom - top + 1;
}

// The command line's --name value pairs.
const args = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) args[process.argv[i].slice(2)] = process.argv[i + 1];

// Named pass/fail lines; runChecks exits 1 when any failed.
const failures = [];
const check = (ok, what) => { console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`); if (!ok) failures.push(what); };

const status = (page) => page.evaluate(() => document.getElementById('status').textContent);
const frames = (page) => page.evaluate(() => window.drovaneFrames.count);
const firstFrame = (page) => page.waitForFunction(() => window.__first !== null, { timeout: 60000 });

// A new tab at url with the grabber (and `setup`) run before the page's
// scripts; `touch` (Chromium) emulates a touch screen or none through a CDP
// session left in page.cdp, `viewport` sizes it. Resolves once the first frame is drawn, unless wait is false.
async function openPage(session, url, { setup, touch, viewport, wait = true } = {}) {
  const page = await session.browser.newPage();
  page.on('pageerror', (e) => console.log('page error:', e.message));
  if (viewport) await page.setViewport(viewport);
  if (touch !== undefined) {
    page.cdp = await page.createCDPSession();
    await page.cdp.send('Emulation.setTouchEmulationEnabled', { enabled: touch, maxTouchPoints: 5 });
  }
  await page.evaluateOnNewDocument(installGrabber);
  if (setup) await page.evaluateOnNewDocument(setup);
  await page.goto(url);
  if (wait) await firstFrame(page);
  return page;
}

// Serves --site, launches --browser (--executable) with its profile in
// --work, runs body({ session, server, url }) with url the page at ?tick=1000,
// and exits 1 when it throws or a check failed.
async function runChecks(body, launchOptions = {}) {
  const server = await serve(args.site);
  const url = `http://127.0.0.1:${server.address().port}/?tick=1000`;
  let session = null;
  try {
    session = await launch({ name: args.browser || 'chromium', executable: args.executable, work: args.work, ...launchOptions });
    await body({ session, server, url });
  } catch (e) {
    console.error(e);
    failures.push('an error');
  } finally {
    if (session) await session.close();
    server.close();
  }
  if (failures.length) {
    console.log(`${failures.length} check(s) failed`);
    process.exit(1);
  }
}

module.exports = { args, check, runChecks, openPage, firstFrame, status, frames, installGrabber, grab, frameChanges, median,
  decode, differingShare, countPixels, greenPixels, greenHeight, gridLines, floorShift, sleep };
