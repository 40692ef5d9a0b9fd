// The zoom keys in the US, German and French layouts, judged from the
// canvas: the key typing '+' (or '=') grows the green ball, the key typing
// '-' shrinks it, and the French '-' on the 6 key is a digit and does not
// zoom. Chromium gets the keys through CDP with the code, key and keyCode it
// would report itself; Firefox from real key presses on its X display
// (setxkbmap, xdotool), as its WebDriver input cannot type a German '+'.
'use strict';
const { execFileSync } = require('child_process');

// What Chromium reports for each key; keyCode is Chromium's own.
const chromiumKeys = {
  us: { plus: ['Equal', '=', 187], minus: ['Minus', '-', 189] },
  de: { plus: ['BracketRight', '+', 187], minus: ['Slash', '-', 189] },
  fr: { plus: ['Equal', '=', 187], minus: ['NumpadSubtract', '-', 109], digit: ['Digit6', '-', 54] },
};
// The X key names xdotool presses for the same keys.
const xKeys = {
  us: { plus: 'equal', minus: 'minus' },
  de: { plus: 'plus', minus: 'minus' },
  fr: { plus: 'equal', minus: 'KP_Subtract', digit: 'minus' },
};

// Height of the green ball's bounding box: steadier than its pixel count,
// since another ball can hide part of it.
function greenHeight(img) {
  let top = -1, bottom = -1;
  for (let y = 0; y < img.h; ++y) {
    for (let x = 0; x < img.w; ++x) {
      const i = (y * img.w + x) * 3;
      if (img.rgb[i + 1] > 150 && img.rgb[i] < 110 && img.rgb[i + 2] < 110) {
        if (top < 0) top = y;
        bottom = y;
        break;
      }
    }
  }
  return top < 0 ? 0 : bottom - top + 1;
}

// t: { session, page, check, grab, sleep, focusWindow }
async function run(t) {
  let press;
  if (t.session.name === 'firefox') {
    const env = t.session.env;
    await t.focusWindow(t.session);
    press = async (layout, which, down) => {
      if (down) execFileSync('setxkbmap', [layout], { env });
      execFileSync('xdotool', [down ? 'keydown' : 'keyup', xKeys[layout][which]], { env });
    };
  } else {
    const cdp = await t.page.createCDPSession();
    press = async (layout, which, down) => {
      const [code, key, keyCode] = chromiumKeys[layout][which];
      await cdp.send('Input.dispatchKeyEvent', {
        type: down ? 'keyDown' : 'keyUp', code, key, windowsVirtualKeyCode: keyCode,
        nativeVirtualKeyCode: keyCode, text: down ? key : undefined });
    };
  }
  const hold = async (layout, which, ms) => {
    await press(layout, which, true);
    await t.sleep(ms);
    const [g] = await t.grab(1);
    await press(layout, which, false);
    await t.sleep(100);
    return greenHeight(g);
  };
  for (const layout of ['us', 'de', 'fr']) {
    await t.sleep(1200);  // the zoom coasts on for a moment after a key
    const still = greenHeight((await t.grab(1))[0]);
    const digit = xKeys[layout].digit ? await hold(layout, 'digit', 700) : still;
    const bigger = await hold(layout, 'plus', 1000);
    const smaller = await hold(layout, 'minus', 1000);
    console.log(`${layout}: green ball ${still} px tall, ${layout === 'fr' ? `${digit} after the 6 key ('-'), ` : ''}` +
      `${bigger} after '${chromiumKeys[layout].plus[1]}', ${smaller} after '-'`);
    check(t, bigger > still * 1.2, `${layout}: the key typing '${chromiumKeys[layout].plus[1]}' zooms in`);
    check(t, smaller < bigger / 1.2, `${layout}: '-' zooms out`);
    if (layout === 'fr') check(t, Math.abs(digit - still) <= still * 0.1 + 2, "fr: '-' on the 6 key is a digit: no zoom");
  }
  if (t.session.name === 'firefox') execFileSync('setxkbmap', ['us'], { env: t.session.env });
}

const check = (t, ok, what) => t.check(ok, what);

module.exports = { run, greenHeight };
