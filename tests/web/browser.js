// Starts a browser for the page checks, and the small web server they load
// the page from.
//   chromium  headless, WebGL 2 on SwiftShader; `headed: true` puts its
//             windows on a private X display instead (real window focus)
//   firefox   Firefox ESR in a window on a private X display: headless
//             Firefox has no WebGL on a machine without a GPU, a window
//             with Mesa's software renderer (LIBGL_ALWAYS_SOFTWARE) has
//             WebGL 2. Driven through WebDriver BiDi.
// The private display is Xvfb with openbox (windows get the focus as on a
// desktop); its number is in `display`, for xdotool and setxkbmap.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const { spawn, execFileSync } = require('child_process');
const puppeteer = require('puppeteer-core');

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Serves the files of `dir` by name, and `pages` (name -> HTML) from memory.
function serve(dir, pages = {}) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
    '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
  const server = http.createServer((req, res) => {
    const name = path.basename(new URL(req.url, 'http://x').pathname) || 'index.html';
    if (pages[name] !== undefined) {
      res.writeHead(200, { 'Content-Type': 'text/html' });
      res.end(pages[name]);
      return;
    }
    fs.readFile(path.join(dir, name), (err, data) => {
      res.writeHead(err ? 404 : 200, { 'Content-Type': types[path.extname(name)] || 'text/plain' });
      res.end(err ? '' : data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Xvfb on a free display number, with openbox; stop() ends both.
async function privateDisplay() {
  const xvfb = spawn('Xvfb', ['-displayfd', '1', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp', '-noreset'],
    { stdio: ['ignore', 'pipe', 'ignore'] });
  const number = await new Promise((resolve, reject) => {
    let out = '';
    xvfb.stdout.on('data', (d) => { out += d; if (out.includes('\n')) resolve(out.trim()); });
    xvfb.on('exit', () => reject(new Error('Xvfb did not start')));
  });
  const display = `:${number}`;
  const env = { ...process.env, DISPLAY: display };
  const wm = spawn('openbox', [], { env, stdio: 'ignore' });
  for (let i = 0; i < 100; ++i) {
    try { execFileSync('wmctrl', ['-m'], { env, stdio: 'ignore' }); break; } catch (e) { await sleep(50); }
  }
  const stop = () => { wm.kill(); xvfb.kill(); };
  return { display, env, stop };
}

// { name, executable, work, width, height, headed } -> { browser, name, display, env, close() }
async function launch(options) {
  const { name, executable, work } = options;
  const width = options.width || 740, height = options.height || 680;
  fs.mkdirSync(work, { recursive: true });
  const profile = fs.mkdtempSync(path.join(work, `${name}-profile-`));
  const x = name === 'firefox' || options.headed ? await privateDisplay() : null;
  let browser;
  try {
    if (name === 'firefox') {
      browser = await puppeteer.launch({
        browser: 'firefox', executablePath: executable, headless: false, userDataDir: profile, timeout: 90000,
        env: { ...x.env, LIBGL_ALWAYS_SOFTWARE: '1', MOZ_CRASHREPORTER_DISABLE: '1' },
        args: [`--width=${width}`, `--height=${height}`],
        extraPrefsFirefox: { 'webgl.force-enabled': true, 'browser.shell.checkDefaultBrowser': false },
      });
    } else {
      browser = await puppeteer.launch({
        executablePath: executable, headless: x ? false : 'new', userDataDir: profile, timeout: 90000,
        env: x ? x.env : process.env,
        args: [...(x ? [] : ['--headless=new', '--screen-info={1280x1024}']), '--no-sandbox', '--use-angle=swiftshader',
          '--enable-unsafe-swiftshader', '--disable-background-networking', '--disable-component-update',
          '--disable-sync', '--no-first-run', '--no-default-browser-check', `--window-size=${width},${height}`],
      });
    }
  } catch (e) {
    if (x) x.stop();
    throw e;
  }
  const close = async () => {
    try { await browser.close(); } finally { if (x) x.stop(); }
  };
  return { browser, name, display: x && x.display, env: x && x.env, close };
}

// Gives the game's window on the private display the keyboard as a user's
// click does, through the window manager; resolves to its X window id.
async function focusWindow(session) {
  const env = session.env;
  const game = execFileSync('xdotool', ['search', '--sync', '--onlyvisible', '--name', 'Drovane 3D'], { env })
    .toString().trim().split('\n')[0];
  execFileSync('xdotool', ['windowactivate', '--sync', game], { env });
  execFileSync('xdotool', ['mousemove', '--window', game, '370', '340', 'click', '1'], { env });
  await sleep(300);
  return game;
}

module.exports = { launch, serve, sleep, focusWindow };
