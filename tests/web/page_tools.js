// Frames grabbed from the page's canvas, and measures on them.
'use strict';

// Runs in the page before its scripts: window.__grab(n) resolves to the next
// n frames, read from inside the frame hook while the drawing buffer still
// holds them (top-down RGBA, base64).
function installGrabber() {
  let pageHook = null, wanted = 0, grabs = [], done = null;
  Object.defineProperty(window, 'drovaneOnFrame', {
    set(f) { pageHook = f; },
    get() {
      return (count) => {
        if (pageHook) pageHook(count);
        window.__frames = count;
        if (wanted === 0) return;
        const canvas = document.getElementById('canvas');
        const gl = canvas.getContext('webgl2');
        const px = new Uint8Array(canvas.width * canvas.height * 4);
        gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, px);
        let s = '';
        for (let i = 0; i < px.length; i += 8192) s += String.fromCharCode.apply(null, px.subarray(i, i + 8192));
        grabs.push({ w: canvas.width, h: canvas.height, data: btoa(s) });
        if (--wanted === 0) done(grabs);
      };
    },
  });
  window.__grab = (n) => new Promise((resolve) => { grabs = []; wanted = n; done = resolve; });
}

async function grab(page, n) {
  return (await page.evaluate((k) => window.__grab(k), n)).map(decode);
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

// Pixels of the player's (green) ball.
function greenPixels(img) {
  let n = 0;
  for (let i = 0; i < img.rgb.length; i += 3) if (img.rgb[i + 1] > 150 && img.rgb[i] < 110 && img.rgb[i + 2] < 110) ++n;
  return n;
}

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
// shift [dx, dy] (pixels, + right and down) that matches them best.
function floorShift(a, b) {
  let best = [0, 0], bestCost = Infinity;
  for (let sy = -10; sy <= 10; ++sy) {
    for (let sx = -10; sx <= 10; ++sx) {
      let cost = 0;
      for (let y = a.h / 2 + 20; y < a.h - 20; y += 3) {
        for (let x = 20; x < a.w - 20; x += 5) cost += Math.abs(lum(a, x, y) - lum(b, x + sx, y + sy));
      }
      if (cost < bestCost) { bestCost = cost; best = [sx, sy]; }
    }
  }
  return best;
}

// Named pass/fail lines; finish() exits 1 when any failed.
function checks() {
  const failures = [];
  const check = (ok, what) => { console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`); if (!ok) failures.push(what); };
  const finish = () => {
    if (failures.length) {
      console.log(`${failures.length} check(s) failed`);
      process.exit(1);
    }
  };
  return { check, finish };
}

module.exports = { checks, installGrabber, grab, decode, differingShare, greenPixels, gridLines, floorShift };
