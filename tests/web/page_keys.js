// The zoom keys in the US, German and French layouts, judged from the
// canvas: the key typing '+' (or '=') grows the green ball, the key typing
// '-' shrinks it, and the French '-' on the 6 key is a digit and does not
// zoom. Chromium gets the keys through CDP with the code, key and keyCode it
// would report itself; Firefox from real key presses on its X display
// (setxkbmap, xdotool), as its WebDriver input cannot type a German '+'.
'use strict';
const { execFileSync } = require('child_process');
const { focusWindow } = require('./browser');
const { check, grab, greenHeight, sleep } = require('./page_tools');

// Per layout and key: what Chromium reports (code, key, its own keyCode),
// and the X key name xdotool presses.
const keys = {
  us: { plus: ['Equal', '=', 187, 'equal'], minus: ['Minus', '-', 189, 'minus'] },
  de: { plus: ['BracketRight', '+', 187, 'plus'], minus: ['Slash', '-', 189, 'minus'] },
  fr: { plus: ['Equal', '=', 187, 'equal'], minus: ['NumpadSubtract', '-', 109, 'KP_Subtract'],
    digit: ['Digit6', '-', 54, 'minus'] },
};

// t: { session, page }
async function run(t) {
  const env = t.session.env;
  let press;
  if (t.session.name === 'firefox') {
    await focusWindow(t.session);
    press = async ([, , , xName], down, layout) => {
      if (down) execFileSync('setxkbmap', [layout], { env });
      execFileSync('xdotool', [down ? 'keydown' : 'keyup', xName], { env });
    };
  } else {
    const cdp = await t.page.createCDPSession();
    press = ([code, key, keyCode], down) => cdp.send('Input.dispatchKeyEvent', {
      type: down ? 'keyDown' : 'keyUp', code, key, windowsVirtualKeyCode: keyCode,
      nativeVirtualKeyCode: keyCode, text: down ? key : undefined });
  }
  const hold = async (layout, which, ms) => {
    await press(keys[layout][which], true, layout);
    await sleep(ms);
    const [g] = await grab(t.page, 1);
    await press(keys[layout][which], false, layout);
    await sleep(100);
    return greenHeight(g);
  };
  for (const layout of Object.keys(keys)) {
    await sleep(1200);  // the zoom coasts on for a moment after a key
    const still = greenHeight((await grab(t.page, 1))[0]);
    const digit = keys[layout].digit ? await hold(layout, 'digit', 700) : still;
    const bigger = await hold(layout, 'plus', 1000);
    const smaller = await hold(layout, 'minus', 1000);
    const plus = keys[layout].plus[1];
    console.log(`${layout}: green ball ${still} px tall, ${keys[layout].digit ? `${digit} after the 6 key ('-'), ` : ''}` +
      `${bigger} after '${plus}', ${smaller} after '-'`);
    check(bigger > still * 1.2, `${layout}: the key typing '${plus}' zooms in`);
    check(smaller < bigger / 1.2, `${layout}: '-' zooms out`);
    // One-sided: a chaser shoving the ball can change its size by a quarter
    // either way, while 0.7 s of zooming out would halve it.
    if (keys[layout].digit) check(digit > still * 0.8, `${layout}: '-' on the 6 key is a digit: no zoom out`);
  }
  if (t.session.name === 'firefox') execFileSync('setxkbmap', ['us'], { env });
}

module.exports = { run };
